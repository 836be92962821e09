// Many measurement cycles in one process, as a station runs for weeks: every result stored
// exactly once, the date stamped by passes only, and resident memory flat once warmed up.
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "Stationstreiber.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <memory>

#if defined(__SANITIZE_ADDRESS__)
#define TS_MIT_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TS_MIT_ASAN
#endif
#endif
#ifdef TS_MIT_ASAN
// The sanitizer runtime's own count; GCC ships no header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

using Testfirma::Mitarbeiter;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = QStringLiteral("TST_DAUERLAUF");
constexpr int kVorgabeZyklen = 10000;
// Caches, pools and the allocator settle during the first cycles; growth after them is a leak.
constexpr int kAufwaermZyklen = 100;
constexpr qint64 kHoechsterZuwachsKb = 5 * 1024;
// Set before the run, so a date that is still this one was never stamped.
const QString kAltesDatum = QStringLiteral("2020-01-02 03:04:05");
// Employees 31 to 34, one tile each; the last one only ever fails.
constexpr int kErster = 31;
constexpr int kMitarbeiter = 4;
constexpr int kNieBestanden = kErster + kMitarbeiter - 1;
const QColor kGruen(0, 128, 0);
const QColor kRot(255, 0, 0);

qint64 LiesResidentKb()
{
    // Files under /proc report no size: read to the end rather than asking atEnd().
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& zeile : status.readAll().split('\n')) {
        if (zeile.startsWith("VmRSS:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Under AddressSanitizer freed blocks wait in a quarantine of up to 256 MB that counts as
// resident, so there the live heap the sanitizer keeps count of is what must stay flat.
struct TSpeicher
{
    qint64 ResidentKb = LiesResidentKb();
#ifdef TS_MIT_ASAN
    qint64 HeapKb = qint64(__sanitizer_get_current_allocated_bytes() / 1024);
#endif
};

// Runs the event loop until the condition holds. Unlike QTRY_*, it sleeps only while no event
// is due, so the cycles run at the station's own pace; deferred deletions happen as in exec().
template <typename Bedingung> bool WarteAuf(Bedingung bedingung, int ms = 10000)
{
    QDeadlineTimer frist(ms);
    QTimer wecker;
    wecker.setSingleShot(true);
    wecker.start(ms);
    while (!bedingung()) {
        if (frist.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

QtMessageHandler QtTestAusgabe = nullptr;

// The offscreen platform cannot raise a window and says so in every cycle; QtTest would stop
// passing on warnings after 2000 of them, real ones included.
void OhneRaiseHinweis(QtMsgType art, const QMessageLogContext& ort, const QString& text)
{
    if (art == QtWarningMsg && text == u"This plugin does not support raise()")
        return;
    QtTestAusgabe(art, ort, text);
}

void Verarbeite()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TstDauerlauf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void zyklen();

private:
    QString Wert(const QString& sql) const { return FServer.Sql(sql, kDatenbank).trimmed(); }
    QStringList Zeilen(const QString& sql) const
    {
        return Testfirma::Zeilen(FServer.Sql(sql, kDatenbank));
    }
    // One cycle on tile nr (from 1): tap, the tester's lines, the result on screen, the
    // countdown's end.
    void Zyklus(int nr);

    TTestServer FServer;
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TEinstellungsDatei> FDatei;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    QRandomGenerator FZufall{20240611};
    int FZyklus = 0;
    // "id|J|" or "id|N|code" -> number of results the tester sent.
    QMap<QString, int> FGesendet;
    QSet<int> FBestanden;
};

void TstDauerlauf::initTestCase()
{
    BereiteAnwendungVor();
    QtTestAusgabe = qInstallMessageHandler(OhneRaiseHinweis);
    FServer.NeueDatenbank(kDatenbank);
    const QString datum = u'\'' + kAltesDatum + u'\'';
    const QByteArray foto = Testfirma::Jpeg({300, 375}, QColor(200, 150, 120));
    const QString jpeg = "X'" + QString::fromLatin1(foto.toHex()) + u'\'';
    FServer.Sql(
        Testfirma::kGrunddaten +
            "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
            Mitarbeiter(kErster, "Anders", "Anna", datum, jpeg) +
            Mitarbeiter(kErster + 1, "Berger", "Bruno", datum, jpeg) +
            Mitarbeiter(kErster + 2, "Conrad", "Carla", datum) +
            Mitarbeiter(kNieBestanden, "Dauerrot", "Dieter", datum, jpeg),
        kDatenbank);

    FPty = std::make_unique<TPseudoTerminal>();
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung, FPty.get());
    // The countdown's first tick after creation belongs to start-up, not to these cycles.
    FStation->Anhalten(TUhr::Messung);
    FDatei = ZeigeStation(FServer, kDatenbank, FPty->Geraet());
    Verarbeite();
    QVERIFY(FDM->MyCon.Connected());
    FStation->TippeAbteilung(1);
    for (int id = kErster; id <= kNieBestanden; ++id)
        QVERIFY2(FStation->KachelMit(id) > 0, qPrintable(QString::number(id)));
}

void TstDauerlauf::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning("stopped in cycle %d", FZyklus);
}

void TstDauerlauf::cleanupTestCase()
{
    FStation.reset();
    FFenster.reset();
    FDatei.reset();
    FPty.reset();
    qInstallMessageHandler(QtTestAusgabe);
}

void TstDauerlauf::Zyklus(int nr)
{
    const int id = FStation->Foto(nr)->Tag;
    const bool bestanden = id != kNieBestanden && FZufall.bounded(3) != 0;
    // Now and then the key is released too early: an abort, stored as a fail with an overlay.
    const int code = bestanden                  ? 0
                     : FZufall.bounded(10) == 0 ? Pruefgeraet::kZuFruehLosgelassen
                                                : FZufall.bounded(1, 128);
    const auto rahmen = static_cast<Pruefgeraet::TRahmen>(FZyklus % 3);

    FStation->TippeKachel(nr);
    QVERIFY(FMessung->isVisible());
    QCOMPARE(FStation->Name(), FStation->Kachelname(nr)->text());
    // The screen paints once, as on a real display, and keeps its port open.
    Verarbeite();
    QVERIFY(FStation->PortOffen());

    const QList<QByteArray> zeilen =
        bestanden ? Pruefgeraet::Bestanden() : Pruefgeraet::Durchgefallen(code);
    QVERIFY(FStation->Sende(zeilen, rahmen));
    const QString ergebnis = bestanden ? u"imgGut"_s : u"imgSchlecht"_s;
    QVERIFY(WarteAuf([this, &ergebnis] { return FStation->Zeigt(ergebnis); }));
    QVERIFY(!FStation->Zeigt(bestanden ? u"imgSchlecht"_s : u"imgGut"_s));
    // A failed store would show the overlay as well; only the abort may.
    QCOMPARE(Fehlermeldung->isVisible(), code == Pruefgeraet::kZuFruehLosgelassen);
    if (Fehlermeldung->isVisible())
        Fehlermeldung->Image1Click();
    ++FGesendet[QString::number(id) + (bestanden ? "|J|" : "|N|" + QString::number(code))];
    if (bestanden)
        FBestanden.insert(id);

    FStation->Tick(TUhr::Messung);
    QVERIFY(!FMessung->isVisible());
    QVERIFY(!FStation->PortOffen());
    Verarbeite();
    // The reloaded board shows the stamp of a pass at once; the one who never passed stays red.
    const int neu = FStation->KachelMit(id);
    QVERIFY(neu > 0);
    if (bestanden || id == kNieBestanden)
        QCOMPARE(FStation->Kachelfarbe(neu), bestanden ? kGruen : kRot);
}

void TstDauerlauf::zyklen()
{
    bool ok = true;
    const QByteArray vorgabe = qgetenv("TS_DAUERLAUF_ZYKLEN");
    const int anzahl = vorgabe.isEmpty() ? kVorgabeZyklen : vorgabe.toInt(&ok);
    QVERIFY2(ok && anzahl > 0, "TS_DAUERLAUF_ZYKLEN must be a positive number");

    QElapsedTimer uhr;
    uhr.start();
    TSpeicher aufgewaermt;
    for (FZyklus = 1; FZyklus <= anzahl; ++FZyklus) {
        Zyklus((FZyklus - 1) % kMitarbeiter + 1);
        if (QTest::currentTestFailed())
            return;
        if (FZyklus == std::min(kAufwaermZyklen, anzahl))
            aufgewaermt = TSpeicher();
    }
    const double sekunden = double(uhr.elapsed()) / 1000.0;
    const TSpeicher ende;
    FZyklus = anzahl;

    const int zeilen = Wert(QStringLiteral("SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE")).toInt();
    QString text = QStringLiteral("DAUERLAUF zyklen=%1 zeilen=%2 rss_nach_100_kb=%3 "
                                  "rss_ende_kb=%4 zuwachs_kb=%5 sekunden=%6")
                       .arg(anzahl)
                       .arg(zeilen)
                       .arg(aufgewaermt.ResidentKb)
                       .arg(ende.ResidentKb)
                       .arg(ende.ResidentKb - aufgewaermt.ResidentKb)
                       .arg(sekunden, 0, 'f', 1);
#ifdef TS_MIT_ASAN
    text += QStringLiteral(" heap_nach_100_kb=%1 heap_ende_kb=%2")
                .arg(aufgewaermt.HeapKb)
                .arg(ende.HeapKb);
#endif
    const QByteArray bericht = text.toUtf8();
    std::printf("%s\n", bericht.constData());
    std::fflush(stdout);
    const QString ablage = qEnvironmentVariable("TS_ZUVERLAESSIGKEIT");
    if (!ablage.isEmpty() && QFileInfo(ablage).isDir()) {
        QFile datei(QDir(ablage).filePath(QStringLiteral("dauerlauf.txt")));
        QVERIFY(datei.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text));
        QVERIFY(datei.write(bericht + '\n') == bericht.size() + 1);
    }

    QCOMPARE(zeilen, anzahl);
    // Each row with its one receipt, at the row's own time.
    QCOMPARE(Wert(QStringLiteral(
                 "SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE w JOIN ESD_MESSUNG_QUITTUNG q ON "
                 "q.MESSUNG_ID = w.MESSUNG_ID AND q.ZEITSTEMPEL = w.ZEITSTEMPEL AND "
                 "q.MITARBEITER_ID = w.MITARBEITER_ID")),
             QString::number(anzahl));
    QCOMPARE(Wert(QStringLiteral("SELECT COUNT(*) FROM ESD_MESSUNG_QUITTUNG")),
             QString::number(anzahl));
    // Every result once, for the person tapped, with the code the tester sent.
    QStringList gespeichert =
        Zeilen(QStringLiteral("SELECT MITARBEITER_ID, MESSWERTE_OK, TRIM(FEHLERCODE), COUNT(*) "
                              "FROM ESD_MESSWERTE_SCHUHE GROUP BY 1, 2, 3"));
    QStringList gesendet;
    for (auto it = FGesendet.cbegin(); it != FGesendet.cend(); ++it)
        gesendet << it.key() + u'|' + QString::number(it.value());
    gespeichert.sort();
    gesendet.sort();
    QCOMPARE(gespeichert, gesendet);

    // The date is the newest pass's own time stamp.
    const QStringList daten = Zeilen(QStringLiteral(
        "SELECT m.MITARBEITER_ID, m.DATUM_ESD_MESSUNG, "
        "TIMESTAMPDIFF(SECOND, MAX(w.ZEITSTEMPEL), m.DATUM_ESD_MESSUNG) FROM MITARBEITER m "
        "LEFT JOIN ESD_MESSWERTE_SCHUHE w ON w.MITARBEITER_ID = m.MITARBEITER_ID AND "
        "w.MESSWERTE_OK = 'J' GROUP BY m.MITARBEITER_ID, m.DATUM_ESD_MESSUNG ORDER BY 1"));
    QCOMPARE(daten.size(), kMitarbeiter);
    for (const QString& zeile : daten) {
        const QStringList teile = zeile.split(u'|');
        QCOMPARE(teile.size(), 3);
        if (FBestanden.contains(teile[0].toInt())) {
            const int abstand = teile[2].toInt(&ok);
            QVERIFY2(ok && abstand == 0, qPrintable(zeile));
        } else {
            QCOMPARE(teile[1], kAltesDatum);
            QCOMPARE(teile[2], QString("NULL"));
        }
    }

    QVERIFY2(aufgewaermt.ResidentKb > 0 && ende.ResidentKb > 0, "no VmRSS in /proc/self/status");
#ifdef TS_MIT_ASAN
    QVERIFY2(ende.HeapKb - aufgewaermt.HeapKb < kHoechsterZuwachsKb, bericht.constData());
#else
    QVERIFY2(ende.ResidentKb - aufgewaermt.ResidentKb < kHoechsterZuwachsKb, bericht.constData());
#endif
}

int main(int argc, char** argv)
{
    // The cycles are one test function and outlast QtTest's default watchdog of 5 minutes.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "7200000");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TstDauerlauf test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dauerlauf.moc"
