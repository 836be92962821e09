// The tester simulator: its lines and framing, the paced sender on a real pseudo-terminal, the
// tool.
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace Pruefgeraet;

namespace {

// The station's side of the line: opened like a serial port, raw.
class TLeser
{
public:
    explicit TLeser(const QString& geraet)
        : FDatei(::open(QFile::encodeName(geraet).constData(), O_RDONLY | O_NOCTTY | O_CLOEXEC))
    {
        termios modus{};
        if (FDatei >= 0 && ::tcgetattr(FDatei, &modus) == 0) {
            ::cfmakeraw(&modus);
            ::tcsetattr(FDatei, TCSANOW, &modus);
        }
    }
    ~TLeser()
    {
        if (FDatei >= 0)
            ::close(FDatei);
    }
    TLeser(const TLeser&) = delete;
    TLeser& operator=(const TLeser&) = delete;

    bool Offen() const { return FDatei >= 0; }

    // Keeps the event loop turning, since the sender writes from its timer.
    QByteArray Lesen(qsizetype anzahl, int fristMs = 5000)
    {
        QByteArray gelesen;
        QElapsedTimer uhr;
        uhr.start();
        while (gelesen.size() < anzahl && uhr.elapsed() < fristMs) {
            QCoreApplication::processEvents();
            pollfd warten{FDatei, POLLIN, 0};
            if (::poll(&warten, 1, 2) <= 0 || (warten.revents & POLLIN) == 0)
                continue;
            char puffer[512];
            const ssize_t neu = ::read(FDatei, puffer, sizeof puffer);
            if (neu <= 0)
                break;
            gelesen.append(puffer, neu);
        }
        return gelesen;
    }

private:
    int FDatei;
};

QByteArray Zahl(const QByteArray& zeile, const QByteArray& kennung)
{
    return zeile.startsWith(kennung) ? zeile.mid(kennung.size()) : QByteArray();
}

} // namespace

class TstPruefgeraet : public QObject
{
    Q_OBJECT

private slots:
    void rahmen_data();
    void rahmen();
    void szenario_data();
    void szenario();
    void durchgefallenPasstZuJedemCode();
    void senderSchreibtInReihenfolgeUndImTakt();
    void senderMeldetSchreibfehlerEinmal();
    void werkzeug_data();
    void werkzeug();
    void werkzeugLehntFalscheEingabenAb_data();
    void werkzeugLehntFalscheEingabenAb();
};

void TstPruefgeraet::rahmen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bekannt");
    QTest::addColumn<QByteArray>("gerahmt");

    QTest::newRow("cr") << "cr" << true << QByteArray("ERG OK\r");
    QTest::newRow("crlf") << "crlf" << true << QByteArray("ERG OK\r\n");
    QTest::newRow("stx") << "stx" << true
                         << QByteArray("\x02"
                                       "ERG OK\x03\r\n");
    QTest::newRow("gross") << "CRLF" << true << QByteArray("ERG OK\r\n");
    QTest::newRow("lf") << "lf" << false << QByteArray();
    QTest::newRow("leer") << "" << false << QByteArray();
}

void TstPruefgeraet::rahmen()
{
    QFETCH(QString, name);
    QFETCH(bool, bekannt);
    QFETCH(QByteArray, gerahmt);

    const std::optional<TRahmen> rahmen = RahmenAusName(name);
    QCOMPARE(rahmen.has_value(), bekannt);
    if (rahmen)
        QCOMPARE(Gerahmt(QByteArray("ERG OK"), *rahmen), gerahmt);
}

void TstPruefgeraet::szenario_data()
{
    using Zeilen = QList<QByteArray>;
    QTest::addColumn<QString>("befehl");
    QTest::addColumn<bool>("bekannt");
    QTest::addColumn<Zeilen>("zeilen");

    QTest::newRow("bestanden") << "bestanden" << true
                               << Zeilen{"RSL 0.35", "RSR 0.40", "RHG 1.1", "ERG OK"};
    QTest::newRow("gross, mit Leerraum")
        << "  Bestanden \t" << true << Zeilen{"RSL 0.35", "RSR 0.40", "RHG 1.1", "ERG OK"};
    QTest::newRow("beide Schuhe zu hoch")
        << "fehler 40" << true << Zeilen{"RSL 150", "RSR 150", "RHG 1.1", "ERG 40"};
    QTest::newRow("links und Armband zu niedrig")
        << "fehler 5" << true << Zeilen{"RSL 0.01", "RSR 0.40", "RHG 0.1", "ERG 5"};
    QTest::newRow("rechts niedrig, Armband hoch")
        << "fehler 18" << true << Zeilen{"RSL 0.35", "RSR 0.01", "RHG 50", "ERG 18"};
    QTest::newRow("Messspannung") << "fehler 64" << true
                                  << Zeilen{"RSL 0.35", "RSR 0.40", "RHG 1.1", "ERG 64"};
    QTest::newRow("hoch und niedrig zugleich")
        << "fehler 12" << true << Zeilen{"RSL 150", "RSR 0.40", "RHG 1.1", "ERG 12"};
    QTest::newRow("alle Bits") << "fehler 255" << true
                               << Zeilen{"RSL 150", "RSR 150", "RHG 50", "ERG 255"};
    QTest::newRow("negativ kommt allein") << "fehler -3" << true << Zeilen{"ERG -3"};
    QTest::newRow("kurz") << "kurz" << true << Zeilen{"ERG -10"};
    QTest::newRow("ovr links") << "ovr links" << true
                               << Zeilen{"RSL OVR", "RSR 0.40", "RHG 1.1", "ERG 8"};
    QTest::newRow("ovr rechts") << "ovr Rechts" << true
                                << Zeilen{"RSL 0.35", "RSR OVR", "RHG 1.1", "ERG 32"};
    QTest::newRow("ovr armband") << "ovr armband" << true
                                 << Zeilen{"RSL 0.35", "RSR 0.40", "RHG OVR", "ERG 2"};
    QTest::newRow("zeile behaelt Leerraum") << " zeile RSL  0,35 " << true << Zeilen{"RSL  0,35 "};
    // Sent in the code page the station reads, Windows-1252.
    QTest::newRow("zeile windows-1252") << "zeile ERG Ä€" << true << Zeilen{"ERG \xc4\x80"};
    QTest::newRow("leere zeile") << "zeile" << true << Zeilen{""};

    for (const char* unbekannt : {"", "   ", "hallo", "bestanden 1", "fehler", "fehler 256",
                                  "fehler 4x", "fehler 4 2", "ovr", "ovr mitte", "zeilen x"})
        QTest::newRow(qPrintable(QStringLiteral("unbekannt \"%1\"").arg(unbekannt)))
            << unbekannt << false << Zeilen{};
}

void TstPruefgeraet::szenario()
{
    QFETCH(QString, befehl);
    QFETCH(bool, bekannt);
    QFETCH(QList<QByteArray>, zeilen);

    const std::optional<QList<QByteArray>> ergebnis = Szenario(befehl);
    QCOMPARE(ergebnis.has_value(), bekannt);
    if (ergebnis)
        QCOMPARE(*ergebnis, zeilen);
}

// Each reading must tell the same story as the bits: above its passing value when "too high" is
// set, below it when only "too low" is, and the passing value otherwise.
void TstPruefgeraet::durchgefallenPasstZuJedemCode()
{
    const QList<QByteArray> gut = Bestanden();
    const struct
    {
        QByteArray kennung;
        int hoch;
        int niedrig;
    } teile[] = {{"RSL ", kSchuhLinksZuHoch, kSchuhLinksZuNiedrig},
                 {"RSR ", kSchuhRechtsZuHoch, kSchuhRechtsZuNiedrig},
                 {"RHG ", kArmbandZuHoch, kArmbandZuNiedrig}};
    for (int code = 0; code <= 255; ++code) {
        const QList<QByteArray> zeilen = Durchgefallen(code);
        QCOMPARE(zeilen.size(), 4);
        QCOMPARE(zeilen.at(3), "ERG " + QByteArray::number(code));
        for (int i = 0; i < 3; ++i) {
            const double normal = Zahl(gut.at(i), teile[i].kennung).toDouble();
            bool zahl = false;
            const double wert = Zahl(zeilen.at(i), teile[i].kennung).toDouble(&zahl);
            QVERIFY2(zahl, zeilen.at(i).constData());
            if (code & teile[i].hoch)
                QVERIFY2(wert > normal, qPrintable(QString::number(code)));
            else if (code & teile[i].niedrig)
                QVERIFY2(wert < normal, qPrintable(QString::number(code)));
            else
                QCOMPARE(zeilen.at(i), gut.at(i));
        }
    }
}

void TstPruefgeraet::senderSchreibtInReihenfolgeUndImTakt()
{
    TPseudoTerminal leitung;
    TLeser leser(leitung.Geraet());
    QVERIFY(leser.Offen());
    TSender sender(leitung.Dateideskriptor());
    QSignalSpy gesendet(&sender, &TSender::Gesendet);
    QSignalSpy allesGesendet(&sender, &TSender::AllesGesendet);

    // The second and third wait for the first; each keeps the framing it was queued with.
    const QList<QByteArray> lang{QByteArray(200, 'x')};
    const QByteArray erwartet = Gerahmt(Bestanden(), TRahmen::CRLF) +
                                Gerahmt(Durchgefallen(40), TRahmen::STX_ETX) +
                                Gerahmt(lang, TRahmen::CR);
    QElapsedTimer uhr;
    uhr.start();
    sender.Senden(Bestanden(), TRahmen::CRLF);
    sender.Senden(Durchgefallen(40), TRahmen::STX_ETX);
    sender.Senden(lang, TRahmen::CR);
    QVERIFY(!sender.Leer());

    QCOMPARE(leser.Lesen(erwartet.size()), erwartet);
    const qint64 dauer = uhr.elapsed();
    const qint64 mindestens = erwartet.size() * 1000 / kBytesProSekunde;
    QVERIFY2(dauer >= mindestens, qPrintable(QStringLiteral("%1 Bytes in %2 ms, mindestens %3 ms")
                                                 .arg(erwartet.size())
                                                 .arg(dauer)
                                                 .arg(mindestens)));
    QTRY_COMPARE(allesGesendet.count(), 1);
    QCOMPARE(gesendet.count(), 3);
    QVERIFY(sender.Leer());
}

void TstPruefgeraet::senderMeldetSchreibfehlerEinmal()
{
    // /dev/full refuses every write, as a line whose other side is gone.
    const int datei = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    QVERIFY(datei >= 0);
    const auto schliessen = qScopeGuard([datei] { ::close(datei); });
    TSender sender(datei);
    QSignalSpy fehler(&sender, &TSender::Fehler);
    QSignalSpy gesendet(&sender, &TSender::Gesendet);

    sender.Senden(Bestanden(), TRahmen::CRLF);
    sender.Senden(ZuFruehLosgelassen(), TRahmen::CRLF);
    QVERIFY(fehler.wait(2000));
    QTest::qWait(100);
    QCOMPARE(fehler.count(), 1);
    QVERIFY(!fehler.constFirst().constFirst().toString().isEmpty());
    QCOMPARE(gesendet.count(), 0);
    QVERIFY(sender.Leer());
}

void TstPruefgeraet::werkzeug_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QByteArray>("eingabe");
    QTest::addColumn<QByteArray>("erwartet");
    QTest::addColumn<QStringList>("meldungen");
    QTest::addColumn<QString>("fehlertext");

    QTest::newRow("Standardeingabe, Vorgabe crlf")
        << QStringList{} << QByteArray("bestanden\n") << Gerahmt(Bestanden(), TRahmen::CRLF)
        << QStringList{"gesendet: bestanden"} << QString();
    QTest::newRow("szenario zuerst, stx, unbekannter Befehl uebersprungen")
        << QStringList{"--rahmen", "stx", "--szenario", "kurz"}
        << QByteArray("unsinn\r\novr armband\n")
        << Gerahmt(ZuFruehLosgelassen() + Ueberlauf(TTeil::Armband), TRahmen::STX_ETX)
        << QStringList{"gesendet: kurz", "gesendet: ovr armband"} << "unsinn";
}

void TstPruefgeraet::werkzeug()
{
    QFETCH(QStringList, argumente);
    QFETCH(QByteArray, eingabe);
    QFETCH(QByteArray, erwartet);
    QFETCH(QStringList, meldungen);
    QFETCH(QString, fehlertext);

    QProcess werkzeug;
    werkzeug.start(QStringLiteral(PRUEFGERAET), argumente);
    QVERIFY(werkzeug.waitForStarted());
    while (!werkzeug.canReadLine())
        QVERIFY2(werkzeug.waitForReadyRead(5000), werkzeug.readAllStandardError().constData());
    const QString geraet = QString::fromLocal8Bit(werkzeug.readLine()).trimmed();
    TLeser leser(geraet);
    QVERIFY2(leser.Offen(), qPrintable(geraet));

    werkzeug.write(eingabe);
    QCOMPARE(leser.Lesen(erwartet.size()), erwartet);
    werkzeug.closeWriteChannel();
    QVERIFY(werkzeug.waitForFinished(5000));
    QCOMPARE(werkzeug.exitStatus(), QProcess::NormalExit);
    QCOMPARE(werkzeug.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(werkzeug.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
             meldungen);
    const QString fehler = QString::fromUtf8(werkzeug.readAllStandardError());
    QVERIFY2(fehlertext.isEmpty() ? fehler.isEmpty() : fehler.contains(fehlertext),
             qPrintable(fehler));
}

void TstPruefgeraet::werkzeugLehntFalscheEingabenAb_data()
{
    QTest::addColumn<QStringList>("argumente");

    QTest::newRow("rahmen") << QStringList{"--rahmen", "lf"};
    QTest::newRow("szenario") << QStringList{"--szenario", "fehler 300"};
    QTest::newRow("warten") << QStringList{"--warten", "bald"};
    QTest::newRow("argument") << QStringList{"bestanden"};
}

void TstPruefgeraet::werkzeugLehntFalscheEingabenAb()
{
    QFETCH(QStringList, argumente);

    QProcess werkzeug;
    werkzeug.start(QStringLiteral(PRUEFGERAET), argumente);
    QVERIFY(werkzeug.waitForFinished(5000));
    QCOMPARE(werkzeug.exitCode(), 2);
    // Nothing on stdout: a script must not take an error for a device path.
    QCOMPARE(werkzeug.readAllStandardOutput(), QByteArray());
    QVERIFY(!werkzeug.readAllStandardError().isEmpty());
}

QTEST_GUILESS_MAIN(TstPruefgeraet)
#include "tst_pruefgeraet.moc"
