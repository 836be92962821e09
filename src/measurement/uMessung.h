// The measurement screen: one person's test at the ESD tester, from tile tap to close.
#pragma once

#include "ApdComPort.h"
#include "Auswertung.h"
#include "Bildschirm.h"
#include "Messzyklus.h"

#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TBild;
class TAufzeichnung;
class TFDM;
class TFehlermeldung;
class TfdmKontakt;
class TGestenFilter;
class TKontakt;
class TTafelkopie;
class TTouchKeyboard;

class TFMessung : public TBildschirm, private TMessanzeige
{
    Q_OBJECT

public:
    // The settings give the tester's port, the contact module the person and photo; results
    // are stored through the recording.
    TFMessung(TFDM& daten, TfdmKontakt& kontakte, TAufzeichnung& aufzeichnung,
              QWidget* parent = nullptr);
    ~TFMessung() override;

    // The board behind this screen: its reload after a measurement and its inactivity timer.
    struct TTafel
    {
        std::function<void(const QString& AAbteilung)> Lade_MA_Abteilung;
        std::function<void()> Timer2Starten;
    };
    void SetzeTafel(TTafel tafel) { FTafel = std::move(tafel); }
    // The overlay for a failed store or tester link; it is created after this screen.
    void SetzeFehleranzeige(TFehlermeldung* anzeige) { FFehleranzeige = anzeige; }
    // The board's copy the screen takes the person from while the server does not answer.
    void SetzeKopie(const TTafelkopie* kopie) { FKopie = kopie; }
    // At start-up: a database without receipts is reported to the administrator, once.
    void QuittungenPruefen();

    // Begins a cycle for the employee or guest contact with that key and shows the screen.
    void Start(int Mitarbeiter_ID);

    void actResetExecute();
    // The close picture and the curlicue: ends the cycle at once, as the countdown would.
    void actCloseExecute();
    // Opens the tester's port; a failure shows the connection overlay and goes no further.
    void Port_oeffnen();
    void Messung_speichern();
    // The repaint rule: a name keeps the port open, no name keeps it closed.
    void FormPaint();
    // End of cycle.
    void Timer1Timer();

    void ApdComPort1TriggerAvail(QObject* CP, quint16 Count);
    void ApdComPort1TriggerData(QObject* CP, quint16 TriggerHandle);

    TApdComPort ApdComPort1;
    // The cycle from tester bytes to the stored result; the screen only shows it.
    TMesszyklus Zyklus;
    // The line being collected, CRTrig and the values of the current result.
    TZeilenauswertung& Auswertung;

    // The cycle's contact; null before the first cycle.
    const TKontakt* Kontakt() const { return FKontakt.get(); }

    static constexpr int kNameLaenge = 25;

private:
    // End-of-cycle countdown; runs from creation, so its first tick closes the hidden screen.
    QTimer Timer1{this};

    // Controls, by the names tests and screenshots find them.
    TBild* Image2;
    TBild* Image4;
    TBild* imgMitarbeiter;
    QLabel* lblName;
    TBild* imgGut;
    TBild* imgSchlecht;
    TBild* imgSchuh_L_grau;
    TBild* imgSchuh_L_schlecht;
    TBild* imgSchuh_L_Gut;
    TBild* imgSchuh_R_grau;
    TBild* imgSchuh_R_schlecht;
    TBild* imgSchuh_R_gut;
    TBild* imgArmband_schlecht;
    TBild* imgArmband_gut;
    QLabel* lblSchuh_L;
    QLabel* lblSchuh_R;
    QLabel* lblArmband;
    TBild* imgMessgeraet;
    TBild* imgPfeil;
    QLabel* lblHinweis_1a;
    QLabel* lblHinweis_1b;
    QPlainTextEdit* memFehler;
    // That the result waits in the journal for the server.
    QLabel* lblUebertragung;
    QWidget* panTastatur;
    QLineEdit* edName;
    TTouchKeyboard* TouchKeyboard1;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BaueOberflaeche();
    void BaueTastaturPanel(QWidget* buehne);
    void Verbindungsfehler();
    void Lade_Foto(const QByteArray& jpeg);
    void Hinweise_zeigen(bool sichtbar);
    // Returns true when the key is swallowed.
    bool edNameKeyDown(int key);
    void edNameKeyUp();
    void FormClose();

    // What an evaluated line does to the screen.
    void Zuruecksetzen() override;
    void BildZeigen(TBildart bild, bool sichtbar) override;
    void WertZeigen(TWert wert, const QString& text) override;
    void MemoSetzen(const QString& text) override;
    void MemoZeile(const QString& zeile) override;
    void MemoZeigen() override;
    void FehlerZeigen(const QString& text1, const QString& text2,
                      const QString& errorcode) override;
    void PeriodeSetzen(int ms) override;
    void CountdownStarten() override;
    void HinweisZeigen(const QString& text) override;

    TFDM& FDaten;
    TfdmKontakt& FKontakte;
    TAufzeichnung& FAufzeichnung;
    TFehlermeldung* FFehleranzeige = nullptr;
    const TTafelkopie* FKopie = nullptr;
    TTafel FTafel;
    bool FQuittungenGeprueft = false;
    std::unique_ptr<TKontakt> FKontakt;
    QImage FFoto;
    QStringList FMemoZeilen;
    bool FPaintRegelAnstehend = false;
};
