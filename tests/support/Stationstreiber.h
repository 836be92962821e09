// Drives the board and the measurement screen as a user and the clock would, by control names.
#pragma once

#include "Bedienelemente.h"
#include "Pruefgeraet.h"

#include <QByteArray>
#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QWidget>

class QTimer;
class TFMain;
class TFMessung;
class TPseudoTerminal;

// The station's clocks, named by what they count down.
enum class TUhr
{
    Tafel,      // the board's return to the welcome card
    Verbindung, // the next try at the department list
    Messung,    // the end of a measurement cycle
};

// Numbers of buttons and tiles count from 1, as in the controls' names (panUser1 … panUser24).
// A control that is not there ends the run with its name: a renamed control is a broken test,
// not a skipped check.
class TStationstreiber
{
public:
    TStationstreiber(TFMain& tafel, TFMessung& messung, TPseudoTerminal* leitung = nullptr);

    // A control of the board or of the measurement screen by its object name.
    template <typename T = QWidget> T* AufTafel(const QString& name) const
    {
        return Gefunden<T>(Tafelfenster(), name);
    }
    template <typename T = QWidget> T* InMessung(const QString& name) const
    {
        return Gefunden<T>(Messfenster(), name);
    }
    // A press and release in the middle of the control.
    static void Tippe(QWidget* control);

    // The department strip shown: "Card6" or "Card12", its buttons, their texts ("-" when
    // hidden), a tap on one and the arrows that slide the six-button row.
    QString Menukarte() const;
    QPushButton* Abteilungsknopf(int nr) const;
    QStringList Abteilungsknoepfe() const;
    void TippeAbteilung(int nr) const;
    void TippeMenuLinks() const;
    void TippeMenuRechts() const;
    QString AktiveAbteilung() const;

    // The card shown: "cardWelcome" or "cardMitarbeiter"; ZeigeKarte puts one up for a test.
    QString Karte() const;
    void ZeigeKarte(const QString& name) const;
    // The tiles of the shown page: panel, photo (its tag is the employee key), name.
    QWidget* Kachel(int nr) const;
    TKachelFoto* Foto(int nr) const;
    QLabel* Kachelname(int nr) const;
    QColor Kachelfarbe(int nr) const;
    // The names of the page in tile order, empty for a hidden tile, without the empty tail.
    QStringList Kacheltexte() const;
    // The tile that shows this employee, 0 when none does.
    int KachelMit(int id) const;
    void TippeKachel(int nr) const;
    // Paging of a department with more employees than tiles.
    void BlaettereVor() const;
    QString Seitenanzeige() const;
    // Seconds left until the welcome card, and what every tap sets them back to.
    int Countdown() const;
    void SetzeCountdown(int sekunden) const;
    int Wechselzeit() const;
    // The PIN asked before the program ends, typed on its keyboard and confirmed with ENTER.
    void TippePin(const QString& ziffern) const;
    // Keys of text, abstandMs apart by the key events' own clock, then Enter, to whatever has
    // the focus (the board's window when nothing visible has): a badge reader at 5 ms, a person
    // at 150.
    void TippeTasten(const QString& text, int abstandMs) const;

    // The clocks: ticks fired at once instead of waited for.
    void Tick(TUhr uhr, int anzahl = 1) const;
    bool Laeuft(TUhr uhr) const;
    int Periode(TUhr uhr) const;
    void Anhalten(TUhr uhr) const;
    void Starten(TUhr uhr, int ms) const;

    // The tester's end of the serial line; Sende is false when it cannot take the bytes.
    void SetzeLeitung(TPseudoTerminal* leitung) { FLeitung = leitung; }
    bool Sende(const QList<QByteArray>& zeilen,
               Pruefgeraet::TRahmen rahmen = Pruefgeraet::TRahmen::CRLF) const;
    bool PortOffen() const;
    QString OffenesGeraet() const;

    // The measurement screen: whether a picture or text shows (imgGut, imgSchuh_L_Gut,
    // memFehler, panTastatur …), the name label, the reasons of a failure.
    bool Zeigt(const QString& name) const;
    QString Name() const;
    QString Fehlertext() const;
    // A guest's name: the field, and keys of the on-screen keyboard by their label
    // ("M", "Umschalt", "Enter").
    QLineEdit* Namensfeld() const;
    void TippeTaste(const QString& taste) const;
    // The close picture.
    void Schliesse() const;

private:
    QWidget* Tafelfenster() const;
    QWidget* Messfenster() const;
    static QObject* Suche(const QObject* fenster, const QString& name, const QMetaObject& typ);
    template <typename T> static T* Gefunden(const QObject* fenster, const QString& name)
    {
        return static_cast<T*>(Suche(fenster, name, T::staticMetaObject));
    }
    QTimer* Zeitgeber(TUhr uhr) const;

    TFMain& FTafel;
    TFMessung& FMessmaske;
    TPseudoTerminal* FLeitung;
    // The key events' clock: milliseconds, later for every key sent.
    mutable quint64 FTastenzeit;
};
