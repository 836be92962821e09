// The tester simulator: sends the tester's result lines to its own pseudo-terminal or to a
// device, driven by options, standard input or a small window.
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#ifdef TS_MIT_XTEST
#include "Tastenfolge.h"
#endif

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QSpinBox>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using Pruefgeraet::TRahmen;

namespace {

constexpr int kErfolg = 0;
constexpr int kLeitungsfehler = 1;
constexpr int kFalscheEingabe = 2;
constexpr int kVorgabeCode = 40;
#ifdef TS_MIT_XTEST
// A USB badge reader types about this fast, far faster than a hand.
constexpr int kTastenabstandMs = 5;
#endif

QTextStream& Ausgabe()
{
    static QTextStream strom(stdout);
    return strom;
}

QTextStream& Fehlerausgabe()
{
    static QTextStream strom(stderr);
    return strom;
}

// ---- Linux-only: device, standard input, signals ----

// Owns a device the user named, set up as the tester's line when it is a terminal.
class TGeraetDatei
{
public:
    explicit TGeraetDatei(const QString& pfad)
    {
        // Non-blocking open: a serial port without carrier would otherwise hang here.
        FDatei = ::open(QFile::encodeName(pfad).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
        if (FDatei < 0) {
            FFehler = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        termios modus{};
        if (::isatty(FDatei) && ::tcgetattr(FDatei, &modus) == 0) {
            ::cfmakeraw(&modus);
            ::cfsetispeed(&modus, B9600);
            ::cfsetospeed(&modus, B9600);
            modus.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | CRTSCTS);
            modus.c_cflag |= static_cast<tcflag_t>(CLOCAL | CREAD);
            ::tcsetattr(FDatei, TCSANOW, &modus);
        }
    }
    ~TGeraetDatei()
    {
        if (FDatei >= 0)
            ::close(FDatei);
    }
    TGeraetDatei(const TGeraetDatei&) = delete;
    TGeraetDatei& operator=(const TGeraetDatei&) = delete;

    int Dateideskriptor() const { return FDatei; }
    const QString& Fehler() const { return FFehler; }

private:
    int FDatei = -1;
    QString FFehler;
};

// Hands standard input over line by line; stdin of a script may be a pipe, a file or a terminal.
class TEingabe
{
public:
    TEingabe(std::function<void(const QString&)> zeile, std::function<void()> ende)
        : FZeile(std::move(zeile)), FEnde(std::move(ende))
    {
        if (::fcntl(STDIN_FILENO, F_GETFD) < 0) {
            QTimer::singleShot(0, [this] { FEnde(); });
            return;
        }
        FMelder = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(FMelder.get(), &QSocketNotifier::activated, FMelder.get(),
                         [this] { Lesen(); });
    }

private:
    void Lesen()
    {
        char puffer[4096];
        const ssize_t gelesen = ::read(STDIN_FILENO, puffer, sizeof puffer);
        if (gelesen < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (gelesen <= 0) {
            FMelder->setEnabled(false);
            if (!FRest.isEmpty())
                FZeile(QString::fromUtf8(FRest));
            FRest.clear();
            FEnde();
            return;
        }
        FRest.append(puffer, gelesen);
        qsizetype ende = 0;
        while ((ende = FRest.indexOf('\n')) >= 0) {
            QByteArray zeile = FRest.left(ende);
            FRest.remove(0, ende + 1);
            if (zeile.endsWith('\r'))
                zeile.chop(1);
            FZeile(QString::fromUtf8(zeile));
        }
    }

    std::function<void(const QString&)> FZeile;
    std::function<void()> FEnde;
    std::unique_ptr<QSocketNotifier> FMelder;
    QByteArray FRest;
};

int gSignalRohr[2] = {-1, -1};

void SignalEmpfangen(int)
{
    const char zeichen = 1;
    [[maybe_unused]] const ssize_t egal = ::write(gSignalRohr[1], &zeichen, 1);
}

// SIGTERM and SIGINT end the event loop, so the demo script's kill ends us with status 0.
void BeiSignalBeenden()
{
    // A write to a vanished reader then fails with EPIPE instead of killing us.
    std::signal(SIGPIPE, SIG_IGN);
    if (::pipe2(gSignalRohr, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the default action still ends us
    struct sigaction aktion
    {};
    aktion.sa_handler = SignalEmpfangen;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &aktion, nullptr);
    ::sigaction(SIGINT, &aktion, nullptr);
    auto* melder =
        new QSocketNotifier(gSignalRohr[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(melder, &QSocketNotifier::activated, melder, [] { QCoreApplication::quit(); });
}

// Decided before the application object exists: only the window needs a display.
bool MitFenster(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--fenster") == 0)
            return true;
    }
    return false;
}

// ---- Sending and ending ----

class TSimulator
{
public:
    // wartenMs < 0: end at the end of standard input instead of after a wait.
    TSimulator(int datei, TRahmen rahmen, int wartenMs, bool fenster)
        : FSender(datei), FRahmen(rahmen), FWartenMs(wartenMs), FFenster(fenster)
    {
        FWarten.setSingleShot(true);
        QObject::connect(&FWarten, &QTimer::timeout, &FWarten, [] { QCoreApplication::quit(); });
        QObject::connect(&FSender, &TSender::Gesendet, &FSender, [this] { Gesendet(); });
        QObject::connect(&FSender, &TSender::AllesGesendet, &FSender, [this] { PruefeEnde(); });
        QObject::connect(&FSender, &TSender::Fehler, &FSender,
                         [this](const QString& text) { Leitungsfehler(text); });
    }

    void SetzeRahmen(TRahmen rahmen) { FRahmen = rahmen; }
    void SetzeStatus(QLabel* status) { FStatus = status; }

    bool Senden(const QString& befehl)
    {
        const std::optional<QList<QByteArray>> zeilen = Pruefgeraet::Szenario(befehl);
        if (!zeilen) {
            Fehlerausgabe() << "Unbekannter Befehl: " << befehl << Qt::endl;
            Status(u"Unbekannter Befehl: %1"_s.arg(befehl));
            return false;
        }
        FWarten.stop();
        FUnterwegs.append({befehl, *zeilen});
        FSender.Senden(*zeilen, FRahmen);
        Status(u"Wird gesendet: %1 …"_s.arg(befehl));
        return true;
    }

    void EingabeBeendet()
    {
        FEingabeOffen = false;
        PruefeEnde();
    }

    void PruefeEnde()
    {
        if (FFenster || !FSender.Leer())
            return;
        if (FWartenMs >= 0)
            FWarten.start(FWartenMs);
        else if (!FEingabeOffen)
            QCoreApplication::quit();
    }

private:
    struct TUnterwegs
    {
        QString befehl;
        QList<QByteArray> zeilen;
    };

    void Gesendet()
    {
        const TUnterwegs fertig = FUnterwegs.takeFirst();
        Ausgabe() << "gesendet: " << fertig.befehl << Qt::endl;
        Status(u"Gesendet: %1"_s.arg(QString::fromUtf8(fertig.zeilen.join(" | "))));
    }

    void Leitungsfehler(const QString& text)
    {
        FUnterwegs.clear();
        Fehlerausgabe() << text << Qt::endl;
        Status(text);
        if (!FFenster)
            QCoreApplication::exit(kLeitungsfehler);
    }

    void Status(const QString& text)
    {
        if (FStatus)
            FStatus->setText(text);
    }

    TSender FSender;
    TRahmen FRahmen;
    int FWartenMs;
    bool FFenster;
    bool FEingabeOffen = true;
    QList<TUnterwegs> FUnterwegs;
    QTimer FWarten;
    QPointer<QLabel> FStatus;
};

#ifdef TS_MIT_XTEST
// Types a badge number into the station's window, as the reader at the entrance does.
QGroupBox* BaueAusweis()
{
    auto* gruppe = new QGroupBox(u"Ausweis"_s);
    auto* raster = new QGridLayout(gruppe);
    auto* nummer = new QLineEdit;
    nummer->setObjectName(u"edtAusweis"_s);
    nummer->setPlaceholderText(u"Ausweisnummer"_s);
    auto* senden = new QPushButton(u"Ausweis senden"_s);
    senden->setObjectName(u"btnAusweis"_s);
    // Below the field and a line high from the start: an answer moves nothing, and the window
    // stays as narrow as the buttons above.
    auto* status = new QLabel;
    status->setObjectName(u"lblAusweis"_s);
    status->setMinimumHeight(status->fontMetrics().height());
    raster->addWidget(nummer, 0, 0);
    raster->addWidget(senden, 0, 1);
    raster->addWidget(status, 1, 0, 1, 2);
    const auto tippen = [nummer, status] {
        // XTest reaches only X11 clients; under Wayland the station is none.
        if (QGuiApplication::platformName() != u"xcb"_s) {
            status->setText(u"Nur unter X11"_s);
            return;
        }
        if (nummer->text().isEmpty()) {
            status->setText(u"Keine Nummer"_s);
            return;
        }
        QString fehler;
        const bool gesendet = AlsTastenSenden(u"Teststation Personenerdung"_s, nummer->text(),
                                              kTastenabstandMs, fehler);
        status->setText(gesendet ? u"Gesendet"_s : fehler);
    };
    QObject::connect(senden, &QPushButton::clicked, senden, tippen);
    QObject::connect(nummer, &QLineEdit::returnPressed, nummer, tippen);
    return gruppe;
}
#endif

std::unique_ptr<QWidget> BaueFenster(TSimulator& simulator, const QString& pfad, TRahmen rahmen)
{
    auto fenster = std::make_unique<QWidget>();
    fenster->setWindowTitle(u"Prüfgerät-Simulator"_s);
    // Beside a full-screen station that keeps itself on top, the simulator must stay visible.
    fenster->setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(fenster.get());

    auto* formular = new QFormLayout;
    auto* geraet = new QLabel(pfad);
    geraet->setObjectName(u"lblGeraet"_s);
    geraet->setTextInteractionFlags(Qt::TextSelectableByMouse);
    formular->addRow(u"Gerät:"_s, geraet);
    auto* rahmenWahl = new QComboBox;
    rahmenWahl->setObjectName(u"cbRahmen"_s);
    rahmenWahl->addItem(u"Text CR"_s, QVariant::fromValue(static_cast<int>(TRahmen::CR)));
    rahmenWahl->addItem(u"Text CR LF"_s, QVariant::fromValue(static_cast<int>(TRahmen::CRLF)));
    rahmenWahl->addItem(u"STX Text ETX CR LF"_s,
                        QVariant::fromValue(static_cast<int>(TRahmen::STX_ETX)));
    rahmenWahl->setCurrentIndex(rahmenWahl->findData(static_cast<int>(rahmen)));
    QObject::connect(rahmenWahl, &QComboBox::currentIndexChanged, rahmenWahl, [&, rahmenWahl] {
        simulator.SetzeRahmen(static_cast<TRahmen>(rahmenWahl->currentData().toInt()));
    });
    formular->addRow(u"Rahmen:"_s, rahmenWahl);
    layout->addLayout(formular);

    auto* knoepfe = new QGridLayout;
    const auto knopf = [&](const QString& name, const QString& text, int reihe, int spalte,
                           std::function<QString()> befehl) {
        auto* schalter = new QPushButton(text);
        schalter->setObjectName(name);
        QObject::connect(schalter, &QPushButton::clicked, schalter,
                         [&simulator, befehl] { simulator.Senden(befehl()); });
        knoepfe->addWidget(schalter, reihe, spalte);
    };
    auto* code = new QSpinBox;
    code->setObjectName(u"spinCode"_s);
    code->setRange(-99, 255);
    code->setValue(kVorgabeCode);
    code->setToolTip(u"Fehlercode: Summe der Fehlerbits, negativ für einen Abbruch"_s);
    knopf(u"btnBestanden"_s, u"Bestanden"_s, 0, 0, [] { return u"bestanden"_s; });
    knopf(u"btnDurchgefallen"_s, u"Durchgefallen"_s, 1, 0,
          [code] { return u"fehler %1"_s.arg(code->value()); });
    knoepfe->addWidget(code, 1, 1);
    knopf(u"btnOvrLinks"_s, u"OVR Schuh links"_s, 2, 0, [] { return u"ovr links"_s; });
    knopf(u"btnOvrRechts"_s, u"OVR Schuh rechts"_s, 2, 1, [] { return u"ovr rechts"_s; });
    knopf(u"btnOvrArmband"_s, u"OVR Armband"_s, 3, 0, [] { return u"ovr armband"_s; });
    knopf(u"btnKurz"_s, u"Taste zu früh losgelassen"_s, 3, 1, [] { return u"kurz"_s; });
    layout->addLayout(knoepfe);
#ifdef TS_MIT_XTEST
    layout->addWidget(BaueAusweis());
#endif

    auto* status = new QLabel(u"Bereit."_s);
    status->setObjectName(u"lblStatus"_s);
    status->setWordWrap(true);
    layout->addWidget(status);
    simulator.SetzeStatus(status);
    return fenster;
}

} // namespace

int main(int argc, char* argv[])
{
    const bool fenster = MitFenster(argc, argv);
    std::unique_ptr<QCoreApplication> anwendung;
    if (fenster)
        anwendung = std::make_unique<QApplication>(argc, argv);
    else
        anwendung = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(u"teststation-pruefgeraet"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Simuliert das Prüfgerät der Teststation Personenerdung: sendet dessen Ergebniszeilen "
        "mit 9600 Baud über ein eigenes Pseudo-Terminal oder ein angegebenes Gerät.\n"
        "\n"
        "Die erste Ausgabezeile ist der Gerätepfad, den die Station öffnet.\n"
        "Befehle (per --szenario, zeilenweise von der Standardeingabe oder im Fenster):\n"
        "  bestanden                   Messung bestanden (ERG OK)\n"
        "  fehler CODE                 durchgefallen mit Fehlerbits CODE (0..255);\n"
        "                              negativ: nur ERG CODE\n"
        "  ovr links|rechts|armband    Messbereich überschritten\n"
        "  kurz                        Taste zu früh losgelassen (ERG -10)\n"
        "  zeile TEXT                  eine beliebige Zeile\n"
        "Nach jedem gesendeten Befehl folgt die Ausgabe \"gesendet: BEFEHL\".\n"
        "\n"
        "Ende: ohne Fenster, sobald die Standardeingabe geschlossen und alles gesendet ist; mit "
        "--warten MS stattdessen MS Millisekunden nach dem zuletzt gesendeten Byte (so bleibt "
        "das eigene Pseudo-Terminal offen, bis die Station gelesen hat). Mit --fenster beim "
        "Schließen des Fensters. SIGTERM und SIGINT beenden jederzeit."_s);
    const QCommandLineOption hilfe({u"h"_s, u"help"_s}, u"Diese Hilfe anzeigen."_s);
    parser.addOption(hilfe);
    const QCommandLineOption geraet(u"geraet"_s,
                                    u"Auf dieses Gerät schreiben (z. B. /dev/ttyUSB0 oder ein "
                                    "Ende eines socat-Paars) statt auf ein eigenes "
                                    "Pseudo-Terminal. Eine serielle Schnittstelle wird auf "
                                    "9600 Baud 8N1 gestellt."_s,
                                    u"PFAD"_s);
    const QCommandLineOption rahmen(u"rahmen"_s,
                                    u"Zeilenrahmen: cr, crlf oder stx (STX Text ETX CR LF). "
                                    "Vorgabe crlf."_s,
                                    u"RAHMEN"_s, u"crlf"_s);
    const QCommandLineOption szenario(u"szenario"_s,
                                      u"Diesen Befehl zu Beginn senden; mehrfach angebbar, "
                                      "in dieser Reihenfolge."_s,
                                      u"BEFEHL"_s);
    const QCommandLineOption warten(u"warten"_s,
                                    u"MS Millisekunden nach dem letzten Senden enden, statt "
                                    "auf das Ende der Standardeingabe zu warten."_s,
                                    u"MS"_s);
    QString fensterHilfe = u"Ein Fenster mit je einem Knopf pro Szenario zeigen."_s;
#ifdef TS_MIT_XTEST
    fensterHilfe += u" Sein Feld „Ausweis“ tippt eine Ausweisnummer wie ein Ausweisleser in das "
                    "Fenster der Station (nur unter X11)."_s;
#endif
    const QCommandLineOption mitFenster(u"fenster"_s, fensterHilfe);
    parser.addOptions({geraet, rahmen, szenario, warten, mitFenster});

    if (!parser.parse(QCoreApplication::arguments())) {
        Fehlerausgabe() << parser.errorText() << Qt::endl;
        return kFalscheEingabe;
    }
    if (parser.isSet(hilfe)) {
        Ausgabe() << parser.helpText();
        return kErfolg;
    }
    if (!parser.positionalArguments().isEmpty()) {
        Fehlerausgabe() << "Unerwartetes Argument: " << parser.positionalArguments().constFirst()
                        << Qt::endl;
        return kFalscheEingabe;
    }
    const std::optional<TRahmen> gewaehlterRahmen =
        Pruefgeraet::RahmenAusName(parser.value(rahmen));
    if (!gewaehlterRahmen) {
        Fehlerausgabe() << "Unbekannter Rahmen: " << parser.value(rahmen)
                        << " (erlaubt: cr, crlf, stx)" << Qt::endl;
        return kFalscheEingabe;
    }
    const QStringList befehle = parser.values(szenario);
    for (const QString& befehl : befehle) {
        if (!Pruefgeraet::Szenario(befehl)) {
            Fehlerausgabe() << "Unbekannter Befehl: " << befehl << Qt::endl;
            return kFalscheEingabe;
        }
    }
    int wartenMs = -1;
    if (parser.isSet(warten)) {
        bool zahl = false;
        wartenMs = parser.value(warten).toInt(&zahl);
        if (!zahl || wartenMs < 0) {
            Fehlerausgabe() << "--warten erwartet Millisekunden (0 oder mehr)." << Qt::endl;
            return kFalscheEingabe;
        }
    }

    std::unique_ptr<TPseudoTerminal> pseudoTerminal;
    std::unique_ptr<TGeraetDatei> datei;
    QString pfad;
    int deskriptor = -1;
    if (parser.isSet(geraet)) {
        pfad = parser.value(geraet);
        datei = std::make_unique<TGeraetDatei>(pfad);
        if (datei->Dateideskriptor() < 0) {
            Fehlerausgabe() << "Gerät " << pfad << " lässt sich nicht öffnen: " << datei->Fehler()
                            << Qt::endl;
            return kLeitungsfehler;
        }
        deskriptor = datei->Dateideskriptor();
    } else {
        try {
            pseudoTerminal = std::make_unique<TPseudoTerminal>();
        } catch (const std::runtime_error&) {
            Fehlerausgabe() << "Kein Pseudo-Terminal verfügbar." << Qt::endl;
            return kLeitungsfehler;
        }
        pfad = pseudoTerminal->Geraet();
        deskriptor = pseudoTerminal->Dateideskriptor();
    }
    Ausgabe() << pfad << Qt::endl;

    BeiSignalBeenden();
    TSimulator simulator(deskriptor, *gewaehlterRahmen, wartenMs, fenster);
    std::unique_ptr<QWidget> fensterWidget;
    if (fenster) {
        fensterWidget = BaueFenster(simulator, pfad, *gewaehlterRahmen);
        fensterWidget->adjustSize();
        // Bottom left: there the station shows nothing during a measurement.
        if (const QScreen* schirm = QGuiApplication::primaryScreen()) {
            const QRect frei = schirm->availableGeometry();
            fensterWidget->move(frei.left() + 20, frei.bottom() - fensterWidget->height() - 60);
        }
        fensterWidget->show();
    }
    for (const QString& befehl : befehle)
        simulator.Senden(befehl);
    TEingabe eingabe(
        [&simulator](const QString& zeile) {
            if (!zeile.trimmed().isEmpty())
                simulator.Senden(zeile);
        },
        [&simulator] { simulator.EingabeBeendet(); });
    QTimer::singleShot(0, [&simulator] { simulator.PruefeEnde(); });
    return anwendung->exec();
}
