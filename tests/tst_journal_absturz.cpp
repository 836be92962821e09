// The station killed by SIGKILL at any moment, as a child process on the real journal and
// forwarder: after the restart every result it journaled reaches the server exactly once, in
// the order of measuring, and nothing it reported durable is lost.
#include "DBVerbindung.h"
#include "Journal.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "Weiterleitung.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

namespace {

const QString kDatenbank = QStringLiteral("TST_JOURNAL_ABSTURZ");
constexpr int kSqliteBusy = 5;
// A guard against a child that hangs, not a measure of speed.
constexpr int kWarteMs = 60000;
// How far the forwarding child may run past the kill point before it stops by itself.
constexpr int kVorlauf = 30;

} // namespace

class TstJournalAbsturz : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void getoetet_data();
    void getoetet();

private:
    QStringList Spalte(const QString& sql) const
    {
        return Testfirma::Zeilen(FServer.Sql(sql, kDatenbank));
    }
    QString Verzeichnis() const { return FOrdner->filePath("journal"); }
    // Takes one report of the child; false for one that is not a step done.
    bool Lesen(const QByteArray& zeile);
    // While the child holds the journal, a second station is refused and moves nothing aside.
    void Belegt() const;
    // One child, killed once it has reported `nach` of `schritt`.
    void Toeten(const QString& modus, int anzahl, const QString& schritt, int nach);
    // The restarted station gets the file as it was, with every result reported journaled, in
    // order; beyond them at most the one whose report the kill cut off.
    void Wiedergeoeffnet(const TJournal& journal);

    TTestServer FServer;
    std::unique_ptr<QTemporaryDir> FOrdner;
    QStringList FEingetragen;    // reported by the children, in order
    QStringList FWeitergeleitet; // reported by the children, in order
    QStringList FReihe;          // the journal's order of what it holds
    int FUngemeldet = 0;         // in FReihe but never reported
    qint64 FLetzteNr = 0;
};

void TstJournalAbsturz::init()
{
    FServer.NeueDatenbank(kDatenbank);
    FServer.Sql(Testfirma::kGrunddaten + Testfirma::Mitarbeiter(91, "Messbar", "Max") +
                    Testfirma::Mitarbeiter(92, "Prüfling", "Pia"),
                kDatenbank);
    FOrdner = std::make_unique<QTemporaryDir>();
    QVERIFY(FOrdner->isValid());
    FEingetragen.clear();
    FWeitergeleitet.clear();
    FReihe.clear();
    FUngemeldet = 0;
    FLetzteNr = 0;
}

bool TstJournalAbsturz::Lesen(const QByteArray& zeile)
{
    const QList<QByteArray> teile = zeile.trimmed().split(' ');
    if (teile.size() == 1)
        return teile[0] == "holding";
    if (teile.size() != 2)
        return false;
    if (teile[0] == "journaled")
        FEingetragen << QString::fromLatin1(teile[1]);
    else if (teile[0] == "forwarded")
        FWeitergeleitet << QString::fromLatin1(teile[1]);
    else
        return false;
    return true;
}

void TstJournalAbsturz::Belegt() const
{
    const QStringList vorher = QDir(Verzeichnis()).entryList(QDir::Files);
    try {
        TJournal zweiter(Verzeichnis());
        QFAIL("Eine zweite Station hat das gehaltene Journal bekommen.");
    } catch (const EJournalfehler& fehler) {
        QCOMPARE(fehler.Code(), kSqliteBusy);
    }
    QCOMPARE(QDir(Verzeichnis()).entryList(QDir::Files), vorher);
}

void TstJournalAbsturz::getoetet_data()
{
    QTest::addColumn<QString>("modus");
    QTest::addColumn<int>("anzahl");      // results each child journals; 0: until it is killed
    QTest::addColumn<QString>("schritt"); // the reports counted up to the kill
    QTest::addColumn<int>("nach");        // killed once it has reported this many
    QTest::addColumn<int>("starts");      // children killed one after another on the journal
    QTest::newRow("nach dem journal, vor dem senden")
        << "eintragen" << 25 << "journaled" << 25 << 1;
    QTest::newRow("beim senden des ersten") << "weiterleiten" << 200 << "forwarded" << 1 << 1;
    QTest::newRow("beim senden nach 20") << "weiterleiten" << 200 << "forwarded" << 20 << 1;
    // The first batch read from the journal ends here.
    QTest::newRow("beim senden nach 50") << "weiterleiten" << 200 << "forwarded" << 50 << 1;
    QTest::newRow("beim senden nach 137") << "weiterleiten" << 200 << "forwarded" << 137 << 1;
    // Each restart killed again while it forwards what the one before left.
    QTest::newRow("beim senden nach 20, dreimal") << "weiterleiten" << 60 << "forwarded" << 20 << 3;
    QTest::newRow("beim eintragen des ersten") << "eintragen" << 0 << "journaled" << 1 << 1;
    QTest::newRow("beim eintragen nach 23") << "eintragen" << 0 << "journaled" << 23 << 1;
    // Past the log's first automatic checkpoint into the file.
    QTest::newRow("beim eintragen nach 260") << "eintragen" << 0 << "journaled" << 260 << 1;
    QTest::newRow("beim eintragen nach 40, dreimal") << "eintragen" << 0 << "journaled" << 40 << 3;
}

void TstJournalAbsturz::Toeten(const QString& modus, int anzahl, const QString& schritt, int nach)
{
    const QStringList& gezaehlt = schritt == "forwarded" ? FWeitergeleitet : FEingetragen;
    const qsizetype bis = gezaehlt.size() + nach;
    const qsizetype weitergeleitet = FWeitergeleitet.size();
    QProcess kind;
    kind.start(JOURNAL_KIND,
               {modus, Verzeichnis(), QString::number(anzahl), QString::number(FServer.Port()),
                kDatenbank, QString::number(nach + kVorlauf)});
    QVERIFY(kind.waitForStarted());
    bool geprueft = false;
    while (gezaehlt.size() < bis) {
        if (!kind.canReadLine()) {
            if (!kind.waitForReadyRead(kWarteMs))
                QFAIL(kind.readAllStandardError().constData());
            continue;
        }
        const QByteArray zeile = kind.readLine();
        QVERIFY2(Lesen(zeile), zeile.constData());
        // Tried while the child writes: the attempt must not disturb it either.
        if (!geprueft) {
            Belegt();
            if (QTest::currentTestFailed())
                return;
            geprueft = true;
        }
    }
    kind.kill();
    QVERIFY(kind.waitForFinished(kWarteMs));
    QCOMPARE(kind.exitStatus(), QProcess::CrashExit);
    // What reached the pipe before the kill was done before it.
    while (kind.canReadLine()) {
        const QByteArray zeile = kind.readLine();
        QVERIFY2(Lesen(zeile), zeile.constData());
    }
    // Each one reported forwarded is on the server already.
    const QStringList quittiert = Spalte("SELECT KENNUNG FROM ESD_MESSUNG_QUITTUNG");
    const QSet<QString> aufDemServer(quittiert.cbegin(), quittiert.cend());
    for (qsizetype i = weitergeleitet; i < FWeitergeleitet.size(); ++i)
        QVERIFY2(aufDemServer.contains(FWeitergeleitet[i]), qPrintable(FWeitergeleitet[i]));
}

void TstJournalAbsturz::Wiedergeoeffnet(const TJournal& journal)
{
    QVERIFY2(journal.Beiseitegelegt().isEmpty(), qPrintable(journal.Grund()));
    for (qsizetype i = FReihe.size() - FUngemeldet; i < FEingetragen.size(); ++i) {
        const std::optional<TJournalEintrag> eintrag = journal.Suchen(FEingetragen[i]);
        QVERIFY2(eintrag.has_value(), qPrintable(FEingetragen[i]));
        QVERIFY(eintrag->Nr > FLetzteNr);
        FLetzteNr = eintrag->Nr;
        FReihe << FEingetragen[i];
    }
    const QSet<QString> bekannt(FReihe.cbegin(), FReihe.cend());
    int ungemeldet = 0;
    for (const TJournalEintrag& eintrag : journal.Wartende(std::numeric_limits<int>::max())) {
        if (!bekannt.contains(eintrag.Kennung)) {
            QVERIFY(eintrag.Nr > FLetzteNr);
            FLetzteNr = eintrag.Nr;
            FReihe << eintrag.Kennung;
            ++ungemeldet;
        }
    }
    QVERIFY(ungemeldet <= 1);
    FUngemeldet += ungemeldet;
}

void TstJournalAbsturz::getoetet()
{
    QFETCH(QString, modus);
    QFETCH(int, anzahl);
    QFETCH(QString, schritt);
    QFETCH(int, nach);
    QFETCH(int, starts);
    for (int start = 0; start < starts; ++start) {
        Toeten(modus, anzahl, schritt, nach);
        if (QTest::currentTestFailed())
            return;
        if (start + 1 < starts) {
            Wiedergeoeffnet(TJournal(Verzeichnis()));
            if (QTest::currentTestFailed())
                return;
        }
    }

    TJournal journal(Verzeichnis());
    Wiedergeoeffnet(journal);
    if (QTest::currentTestFailed())
        return;
    TWeiterleitung weiterleitung(journal, [this](TDBVerbindung& verbindung) {
        verbindung.SetServer("127.0.0.1");
        verbindung.SetPort(FServer.Port());
        verbindung.SetUsername(TTestServer::kBenutzer);
        verbindung.SetPassword(TTestServer::kPasswort);
        verbindung.SetDatabase(kDatenbank);
    });
    weiterleitung.Weiterleiten();
    QVERIFY2(weiterleitung.LetzteRunde().Gespeichert,
             qPrintable(weiterleitung.LetzteRunde().Meldung));
    QCOMPARE(journal.AnzahlWartend(), 0);

    // Each one once, in the journal's order, and the journal knows its row.
    QCOMPARE(Spalte("SELECT q.KENNUNG FROM ESD_MESSUNG_QUITTUNG q JOIN ESD_MESSWERTE_SCHUHE w "
                    "USING (MESSUNG_ID) ORDER BY w.MESSUNG_ID"),
             FReihe);
    const QString anzahlReihe = QString::number(FReihe.size());
    QCOMPARE(Spalte("SELECT (SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE), "
                    "(SELECT COUNT(DISTINCT KENNUNG) FROM ESD_MESSUNG_QUITTUNG)"),
             QStringList{anzahlReihe + '|' + anzahlReihe});
    for (const QString& zeile : Spalte("SELECT KENNUNG, MESSUNG_ID FROM ESD_MESSUNG_QUITTUNG")) {
        const QStringList felder = zeile.split('|');
        const TJournalEintrag eintrag = journal.Suchen(felder[0]).value();
        QCOMPARE(eintrag.Zustand, TJournalEintrag::TZustand::Weitergeleitet);
        QCOMPARE(QString::number(eintrag.Messung_ID), felder[1]);
    }
}

QTEST_GUILESS_MAIN(TstJournalAbsturz)
#include "tst_journal_absturz.moc"
