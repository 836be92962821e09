// The station driver: taps, ticks and tester lines on the two screens, reached by object name.
#include "Stationstreiber.h"

#include "Bedienelemente.h"
#include "PseudoTerminal.h"
#include "uFMain.h"
#include "uMessung.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kKacheln = 24;

QString Nummeriert(const QString& name, int nr)
{
    return name + QString::number(nr);
}

// Whether the object belongs to this window itself and not to a window of its own inside it,
// such as the message cards the board parents.
bool ImFenster(const QObject* objekt, const QObject* fenster)
{
    for (const QObject* o = objekt; o != fenster; o = o->parent()) {
        if (o == nullptr || (o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow()))
            return false;
    }
    return true;
}

// Each test process is a station of its own: a fresh state folder, so no journal of an earlier
// run or of a test running beside it is forwarded into this one's database. Only under the folder
// the test run names, never the user's own; the driver empties it for each test.
void EigenerZustand()
{
    const QString basis = qEnvironmentVariable("TS_ZUSTAND_BASIS");
    if (basis.isEmpty())
        return;
    static const QString eigenes =
        basis + u'/' + QString::number(QCoreApplication::applicationPid());
    QDir(eigenes).removeRecursively();
    QDir().mkpath(eigenes);
    qputenv("XDG_STATE_HOME", eigenes.toLocal8Bit());
    std::atexit([] { QDir(eigenes).removeRecursively(); });
}
Q_CONSTRUCTOR_FUNCTION(EigenerZustand)

} // namespace

TStationstreiber::TStationstreiber(TFMain& tafel, TFMessung& messung, TPseudoTerminal* leitung)
    : FTafel(tafel), FMessmaske(messung), FLeitung(leitung),
      FTastenzeit(static_cast<quint64>(QDateTime::currentMSecsSinceEpoch()))
{
    // Each test starts as a newly installed station: no journal, no board copy of the test
    // before, whose database is gone. Only inside the process's own state folder.
    if (!qEnvironmentVariable("TS_ZUSTAND_BASIS").isEmpty())
        QDir(qEnvironmentVariable("XDG_STATE_HOME") + u"/teststation"_s).removeRecursively();
}

QWidget* TStationstreiber::Tafelfenster() const
{
    return &FTafel;
}

QWidget* TStationstreiber::Messfenster() const
{
    return &FMessmaske;
}

QObject* TStationstreiber::Suche(const QObject* fenster, const QString& name,
                                 const QMetaObject& typ)
{
    QObject* gefunden = nullptr;
    for (QObject* kind : fenster->findChildren<QObject*>(name)) {
        if (!kind->metaObject()->inherits(&typ) || !ImFenster(kind, fenster))
            continue;
        if (gefunden != nullptr)
            qFatal("%s has two controls named %s", qPrintable(fenster->objectName()),
                   qPrintable(name));
        gefunden = kind;
    }
    if (gefunden == nullptr)
        qFatal("%s has no %s named %s", qPrintable(fenster->objectName()), typ.className(),
               qPrintable(name));
    return gefunden;
}

void TStationstreiber::Tippe(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton);
}

QString TStationstreiber::Menukarte() const
{
    return AufTafel<QStackedWidget>(u"cpAbteilungen"_s)->currentWidget()->objectName();
}

QPushButton* TStationstreiber::Abteilungsknopf(int nr) const
{
    const bool zwoelf = Menukarte() == u"Card12"_s;
    return AufTafel<QPushButton>(
        Nummeriert(zwoelf ? u"btnAbteilung_B"_s : u"btnAbteilung_A"_s, nr));
}

QStringList TStationstreiber::Abteilungsknoepfe() const
{
    const int anzahl = Menukarte() == u"Card12"_s ? 12 : 6;
    QStringList texte;
    for (int nr = 1; nr <= anzahl; ++nr) {
        const QPushButton* knopf = Abteilungsknopf(nr);
        texte << (knopf->isHidden() ? u"-"_s : knopf->text());
    }
    return texte;
}

void TStationstreiber::TippeAbteilung(int nr) const
{
    Tippe(Abteilungsknopf(nr));
}

void TStationstreiber::TippeMenuLinks() const
{
    Tippe(AufTafel<QPushButton>(u"btnMenu_Abt_Links"_s));
}

void TStationstreiber::TippeMenuRechts() const
{
    Tippe(AufTafel<QPushButton>(u"btnMenu_Abt_Rechts"_s));
}

QString TStationstreiber::AktiveAbteilung() const
{
    return FTafel.sglobAktive_Abteilung;
}

QString TStationstreiber::Karte() const
{
    return AufTafel<QStackedWidget>(u"CardPanel"_s)->currentWidget()->objectName();
}

void TStationstreiber::ZeigeKarte(const QString& name) const
{
    AufTafel<QStackedWidget>(u"CardPanel"_s)->setCurrentWidget(AufTafel(name));
}

QWidget* TStationstreiber::Kachel(int nr) const
{
    return AufTafel(Nummeriert(u"panUser"_s, nr));
}

TKachelFoto* TStationstreiber::Foto(int nr) const
{
    return AufTafel<TKachelFoto>(Nummeriert(u"imgMitarbeiter"_s, nr));
}

QLabel* TStationstreiber::Kachelname(int nr) const
{
    return AufTafel<QLabel>(Nummeriert(u"lblUser"_s, nr));
}

QColor TStationstreiber::Kachelfarbe(int nr) const
{
    return Kachel(nr)->palette().color(QPalette::Window);
}

QStringList TStationstreiber::Kacheltexte() const
{
    QStringList texte;
    for (int nr = 1; nr <= kKacheln; ++nr) {
        const QLabel* name = Kachelname(nr);
        texte << (name->isHidden() ? QString() : name->text());
    }
    while (!texte.isEmpty() && texte.last().isEmpty())
        texte.removeLast();
    return texte;
}

int TStationstreiber::KachelMit(int id) const
{
    for (int nr = 1; nr <= kKacheln; ++nr) {
        const TKachelFoto* foto = Foto(nr);
        if (foto->isVisible() && foto->Tag == id)
            return nr;
    }
    return 0;
}

void TStationstreiber::TippeKachel(int nr) const
{
    Tippe(Foto(nr));
}

void TStationstreiber::BlaettereVor() const
{
    Tippe(AufTafel<QPushButton>(u"btnSeite_Vor"_s));
}

QString TStationstreiber::Seitenanzeige() const
{
    return AufTafel<QLabel>(u"lblSeite"_s)->text();
}

int TStationstreiber::Countdown() const
{
    return FTafel.iTimer_PageWechsel;
}

void TStationstreiber::SetzeCountdown(int sekunden) const
{
    FTafel.iTimer_PageWechsel = sekunden;
}

int TStationstreiber::Wechselzeit() const
{
    return FTafel.iWechselzeit;
}

void TStationstreiber::TippePin(const QString& ziffern) const
{
    QWidget* tastatur = AufTafel(u"panPin"_s);
    for (const QChar ziffer : ziffern)
        Tippe(Gefunden<QAbstractButton>(tastatur, u"Taste_"_s + ziffer));
    Tippe(Gefunden<QAbstractButton>(tastatur, u"Taste_Enter"_s));
}

void TStationstreiber::TippeTasten(const QString& text, int abstandMs) const
{
    const auto senden = [this](int taste, const QString& zeichen) {
        // A window that was closed may keep its focus widget; keys then reach the board.
        QWidget* ziel = QApplication::focusWidget();
        if (ziel == nullptr || !ziel->isVisible())
            ziel = Tafelfenster()->focusWidget() ? Tafelfenster()->focusWidget() : Tafelfenster();
        for (const QEvent::Type art : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent ereignis(art, taste, Qt::NoModifier, zeichen);
            ereignis.setTimestamp(FTastenzeit);
            QApplication::sendEvent(ziel, &ereignis);
        }
    };
    for (const QChar zeichen : text) {
        senden(zeichen.isDigit() ? Qt::Key_0 + zeichen.digitValue() : Qt::Key_A, zeichen);
        FTastenzeit += static_cast<quint64>(abstandMs);
    }
    senden(Qt::Key_Return, u"\r"_s);
    // Whatever comes next is a burst of its own.
    FTastenzeit += 10'000;
    QCoreApplication::processEvents();
}

QTimer* TStationstreiber::Zeitgeber(TUhr uhr) const
{
    switch (uhr) {
    case TUhr::Tafel:
        return AufTafel<QTimer>(u"Timer2"_s);
    case TUhr::Verbindung:
        return AufTafel<QTimer>(u"TimerDB"_s);
    case TUhr::Messung:
        break;
    }
    return InMessung<QTimer>(u"Timer1"_s);
}

void TStationstreiber::Tick(TUhr uhr, int anzahl) const
{
    for (int i = 0; i < anzahl; ++i) {
        switch (uhr) {
        case TUhr::Tafel:
            FTafel.Timer2Timer();
            break;
        case TUhr::Verbindung:
            FTafel.TimerDBTimer();
            break;
        case TUhr::Messung:
            FMessmaske.Timer1Timer();
            break;
        }
    }
}

bool TStationstreiber::Laeuft(TUhr uhr) const
{
    return Zeitgeber(uhr)->isActive();
}

int TStationstreiber::Periode(TUhr uhr) const
{
    return Zeitgeber(uhr)->interval();
}

void TStationstreiber::Anhalten(TUhr uhr) const
{
    Zeitgeber(uhr)->stop();
}

void TStationstreiber::Starten(TUhr uhr, int ms) const
{
    Zeitgeber(uhr)->start(ms);
}

bool TStationstreiber::Sende(const QList<QByteArray>& zeilen, Pruefgeraet::TRahmen rahmen) const
{
    if (FLeitung == nullptr)
        qFatal("the station driver has no tester line to send on");
    return FLeitung->Schreiben(Pruefgeraet::Gerahmt(zeilen, rahmen));
}

bool TStationstreiber::PortOffen() const
{
    return FMessmaske.ApdComPort1.IsOpen();
}

QString TStationstreiber::OffenesGeraet() const
{
    return FMessmaske.ApdComPort1.OffenesGeraet();
}

bool TStationstreiber::Zeigt(const QString& name) const
{
    return InMessung(name)->isVisible();
}

QString TStationstreiber::Name() const
{
    return InMessung<QLabel>(u"lblName"_s)->text();
}

QString TStationstreiber::Fehlertext() const
{
    return InMessung<QPlainTextEdit>(u"memFehler"_s)->toPlainText();
}

QLineEdit* TStationstreiber::Namensfeld() const
{
    return InMessung<QLineEdit>(u"edName"_s);
}

void TStationstreiber::TippeTaste(const QString& taste) const
{
    Tippe(Gefunden<QAbstractButton>(InMessung(u"TouchKeyboard1"_s), u"Taste_"_s + taste));
}

void TStationstreiber::Schliesse() const
{
    Tippe(InMessung(u"Image4"_s));
}
