// The local journal on a real SQLite file: what goes in comes out, in order, survives a killed
// writer, is pruned when old, is moved aside when damaged and is never shared.
#include "Journal.h"
#include "Zustandsverzeichnis.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kSqliteBusy = 5;

TJournalEintrag Eintrag(const QString& kennung, const QString& zeit, bool ok = true)
{
    TJournalEintrag eintrag;
    eintrag.Kennung = kennung;
    eintrag.Zeitstempel = QDateTime::fromString(zeit, "yyyy-MM-dd hh:mm:ss");
    eintrag.Station = "station-3";
    eintrag.Mitarbeiter_ID = "91";
    eintrag.Name = "Messbar, Max";
    eintrag.Messwert1 = " 0.35";
    eintrag.Messwert2 = " 0.40";
    eintrag.Messwert3 = " 1.1";
    eintrag.Fehlercode = ok ? QString() : " 40";
    eintrag.Messwerte_OK = ok;
    return eintrag;
}

// Every field, so a comparison names the one that differs.
QString Text(const TJournalEintrag& e)
{
    return QStringList{e.Kennung,
                       e.Zeitstempel.toString("yyyy-MM-dd hh:mm:ss"),
                       e.Station,
                       e.Mitarbeiter_ID,
                       e.Name,
                       "[" + e.Messwert1 + "]",
                       "[" + e.Messwert2 + "]",
                       "[" + e.Messwert3 + "]",
                       "[" + e.Fehlercode + "]",
                       e.Messwerte_OK ? "J" : "N",
                       e.Zustand == TJournalEintrag::TZustand::Wartet       ? "wartet"
                       : e.Zustand == TJournalEintrag::TZustand::Abgewiesen ? "abgewiesen"
                                                                            : "weitergeleitet",
                       e.Erledigt.toString("yyyy-MM-dd hh:mm:ss"),
                       QString::number(e.Messung_ID),
                       e.Grund}
        .join('|');
}

QStringList Kennungen(const QList<TJournalEintrag>& eintraege)
{
    QStringList kennungen;
    for (const TJournalEintrag& e : eintraege)
        kennungen << e.Kennung;
    return kennungen;
}

QByteArray Inhalt(const QString& datei)
{
    QFile f(datei);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Schreiben(const QString& datei, qint64 stelle, const QByteArray& bytes)
{
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.seek(stelle));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A child process that opens the journal and writes the entries. Then it either dies at once by
// SIGKILL, with the journal open, or reports through the pipe that it holds the journal and waits
// for the parent's SIGKILL. Returns the child's id and the pipe's reading end.
pid_t Kind(const QString& verzeichnis, const QList<TJournalEintrag>& eintraege, bool halten,
           int& leseende)
{
    int rohr[2];
    if (pipe(rohr) != 0)
        return -1;
    const pid_t kind = fork();
    if (kind == 0) {
        close(rohr[0]);
        try {
            TJournal journal(verzeichnis);
            for (const TJournalEintrag& e : eintraege)
                journal.Eintragen(e);
            if (!halten)
                raise(SIGKILL);
            if (write(rohr[1], "h", 1) == 1)
                pause();
        } catch (...) {
        }
        _exit(1);
    }
    close(rohr[1]);
    leseende = rohr[0];
    return kind;
}

} // namespace

class TstJournal : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void rundreise_data();
    void rundreise();
    void reihenfolgeIstDieDesMessens();
    void erledigtNurEinmal();
    void aufraeumen_data();
    void aufraeumen();
    void beschaedigtWirdBeiseitegelegt_data();
    void beschaedigtWirdBeiseitegelegt();
    void zweiterOeffnerWirdAbgewiesen();
    void gehaltenVonAnderemProzess();
    void killNachDemSchreiben();
    void zustandsverzeichnis_data();
    void zustandsverzeichnis();

private:
    std::unique_ptr<QTemporaryDir> FOrdner;
    QString Verzeichnis() const { return FOrdner->filePath("zustand/journal"); }
    QString Datei() const { return QDir(Verzeichnis()).filePath(TJournal::kDateiname); }
};

void TstJournal::init()
{
    FOrdner = std::make_unique<QTemporaryDir>();
    QVERIFY(FOrdner->isValid());
}

void TstJournal::rundreise_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("messwert");
    QTest::addColumn<QString>("mitarbeiter_ID");
    QTest::addColumn<bool>("ok");
    QTest::newRow("bestanden") << "Messbar, Max"
                               << " 0.35"
                               << "91" << true;
    QTest::newRow("durchgefallen") << "Ärger, Jürgen"
                                   << "-1.5"
                                   << "7" << false;
    QTest::newRow("gast ohne schlüssel") << "Gast: Zoë Ünal"
                                         << " 0.00"
                                         << "" << true;
    QTest::newRow("feindlich") << "'; DROP TABLE MESSUNG; --"
                               << "\\' OR 1=1 #"
                               << "%_\"" << false;
    QTest::newRow("leer") << ""
                          << ""
                          << "" << false;
}

void TstJournal::rundreise()
{
    QFETCH(QString, name);
    QFETCH(QString, messwert);
    QFETCH(QString, mitarbeiter_ID);
    QFETCH(bool, ok);
    TJournalEintrag eintrag =
        Eintrag("6f1c2a3e-0000-4000-8000-000000000001", "2026-12-11 07:45:09", ok);
    eintrag.Name = name;
    eintrag.Messwert2 = messwert;
    eintrag.Mitarbeiter_ID = mitarbeiter_ID;
    {
        TJournal journal(Verzeichnis());
        QVERIFY(journal.Beiseitegelegt().isEmpty());
        QVERIFY(journal.Eintragen(eintrag) > 0);
        QCOMPARE(journal.AnzahlWartend(), 1);
    }
    // Created on first open, in write-ahead-log mode (bytes 18 and 19 of the header are 2).
    const QByteArray kopf = Inhalt(Datei()).left(20);
    QCOMPARE(kopf.left(15), QByteArray("SQLite format 3"));
    QCOMPARE(kopf.mid(18, 2), QByteArray("\x02\x02", 2));

    TJournal journal(Verzeichnis());
    const QList<TJournalEintrag> wartend = journal.Wartende();
    QCOMPARE(wartend.size(), 1);
    QCOMPARE(Text(wartend.first()), Text(eintrag));
    QCOMPARE(Text(journal.Suchen(eintrag.Kennung).value()), Text(eintrag));
    QVERIFY(!journal.Suchen("6f1c2a3e-0000-4000-8000-000000000002").has_value());
}

void TstJournal::reihenfolgeIstDieDesMessens()
{
    TJournal journal(Verzeichnis());
    // The clock was set back between the second and the third result: the journal keeps the
    // order in which they were measured, not the order of their time stamps.
    const QStringList kennungen{"a-1", "a-2", "a-3", "a-4", "a-5"};
    const QStringList zeiten{"2026-12-11 08:00:00", "2026-12-11 08:00:30", "2026-12-11 07:00:05",
                             "2026-12-11 07:00:05", "2026-12-11 07:01:00"};
    for (qsizetype i = 0; i < kennungen.size(); ++i)
        journal.Eintragen(Eintrag(kennungen[i], zeiten[i]));
    QCOMPARE(Kennungen(journal.Wartende()), kennungen);
    QCOMPARE(Kennungen(journal.Wartende(2)), (QStringList{"a-1", "a-2"}));

    QVERIFY(journal.AlsWeitergeleitet("a-1", QDateTime::currentDateTime(), 17));
    QVERIFY(journal.AlsWeitergeleitet("a-3", QDateTime::currentDateTime(), 18));
    QCOMPARE(Kennungen(journal.Wartende()), (QStringList{"a-2", "a-4", "a-5"}));
    QCOMPARE(journal.AnzahlWartend(), 3);
    // The identity is the result's: a second entry with it is refused, nothing is doubled.
    QVERIFY_THROWS_EXCEPTION(EJournalfehler, journal.Eintragen(Eintrag("a-2", zeiten[0])));
    QCOMPARE(journal.AnzahlWartend(), 3);
}

void TstJournal::erledigtNurEinmal()
{
    TJournal journal(Verzeichnis());
    journal.Eintragen(Eintrag("b-1", "2026-12-11 08:00:00"));
    journal.Eintragen(Eintrag("b-2", "2026-12-11 08:00:05"));
    const QDateTime erstes = QDateTime::fromString("2026-12-11 09:10:11", "yyyy-MM-dd hh:mm:ss");
    QVERIFY(journal.AlsWeitergeleitet("b-1", erstes, 4711));
    QVERIFY(journal.AlsAbgewiesen("b-2", erstes, "1406:Data too long for column 'NAME'"));
    // A second settling neither counts nor changes the first one.
    QVERIFY(!journal.AlsWeitergeleitet("b-1", erstes.addSecs(60), 4712));
    QVERIFY(!journal.AlsAbgewiesen("b-1", erstes.addSecs(60), "spät"));
    QVERIFY(!journal.AlsWeitergeleitet("b-2", erstes.addSecs(60), 4713));
    QVERIFY(!journal.AlsWeitergeleitet("b-unbekannt", erstes, 1));
    TJournalEintrag weitergeleitet = Eintrag("b-1", "2026-12-11 08:00:00");
    weitergeleitet.Zustand = TJournalEintrag::TZustand::Weitergeleitet;
    weitergeleitet.Erledigt = erstes;
    weitergeleitet.Messung_ID = 4711;
    QCOMPARE(Text(journal.Suchen("b-1").value()), Text(weitergeleitet));
    TJournalEintrag abgewiesen = Eintrag("b-2", "2026-12-11 08:00:05");
    abgewiesen.Zustand = TJournalEintrag::TZustand::Abgewiesen;
    abgewiesen.Erledigt = erstes;
    abgewiesen.Grund = "1406:Data too long for column 'NAME'";
    QCOMPARE(Text(journal.Suchen("b-2").value()), Text(abgewiesen));
    QCOMPARE(journal.AnzahlWartend(), 0);
}

void TstJournal::aufraeumen_data()
{
    QTest::addColumn<QString>("zustand");
    QTest::addColumn<int>("tageVorher"); // settled (or, waiting, measured) this many days ago
    QTest::addColumn<int>("tage");
    QTest::addColumn<bool>("bleibt");
    QTest::newRow("weitergeleitet vor 31 tagen") << "weitergeleitet" << 31 << 30 << false;
    QTest::newRow("weitergeleitet vor 29 tagen") << "weitergeleitet" << 29 << 30 << true;
    QTest::newRow("weitergeleitet vor 8 tagen, 7 behalten") << "weitergeleitet" << 8 << 7 << false;
    QTest::newRow("weitergeleitet heute") << "weitergeleitet" << 0 << 30 << true;
    QTest::newRow("abgewiesen vor 31 tagen") << "abgewiesen" << 31 << 30 << false;
    QTest::newRow("abgewiesen vor 29 tagen") << "abgewiesen" << 29 << 30 << true;
    QTest::newRow("wartet seit 90 tagen") << "wartet" << 90 << 30 << true;
}

void TstJournal::aufraeumen()
{
    QFETCH(QString, zustand);
    QFETCH(int, tageVorher);
    QFETCH(int, tage);
    QFETCH(bool, bleibt);
    const QDateTime jetzt = QDateTime::fromString("2026-12-11 08:00:00", "yyyy-MM-dd hh:mm:ss");
    const QDateTime damals = jetzt.addDays(-tageVorher);
    TJournal journal(Verzeichnis());
    journal.Eintragen(Eintrag("c-1", damals.toString("yyyy-MM-dd hh:mm:ss")));
    // A waiting neighbour that is never pruned.
    journal.Eintragen(Eintrag("c-2", damals.toString("yyyy-MM-dd hh:mm:ss")));
    if (zustand == "weitergeleitet")
        QVERIFY(journal.AlsWeitergeleitet("c-1", damals, 1));
    else if (zustand == "abgewiesen")
        QVERIFY(journal.AlsAbgewiesen("c-1", damals, "1644:gesperrt"));
    QCOMPARE(journal.Aufraeumen(jetzt, tage), bleibt ? 0 : 1);
    QCOMPARE(journal.Suchen("c-1").has_value(), bleibt);
    QVERIFY(journal.Suchen("c-2").has_value());
}

void TstJournal::beschaedigtWirdBeiseitegelegt_data()
{
    QTest::addColumn<QString>("schaden");
    QTest::newRow("fremder text") << "text";
    QTest::newRow("kopf überschrieben") << "kopf";
    QTest::newRow("seite überschrieben") << "seite";
    QTest::newRow("fremde schemaversion") << "version";
    QTest::newRow("verzeichnis statt datei") << "verzeichnis";
}

void TstJournal::beschaedigtWirdBeiseitegelegt()
{
    QFETCH(QString, schaden);
    QVERIFY(QDir().mkpath(Verzeichnis()));
    if (schaden == "text") {
        Schreiben(Datei(), 0, QByteArray("Dies ist kein Journal.\n").repeated(200));
        // A log beside it belongs to the damaged file and goes with it.
        Schreiben(Datei() + "-wal", 0, QByteArray("alter Log"));
    } else if (schaden == "verzeichnis") {
        QVERIFY(QDir().mkpath(Datei()));
    } else {
        {
            TJournal journal(Verzeichnis());
            for (int i = 0; i < 200; ++i)
                journal.Eintragen(Eintrag("d-" + QString::number(i), "2026-12-11 08:00:00"));
        }
        if (schaden == "kopf")
            Schreiben(Datei(), 0, QByteArray(16, 'X'));
        else if (schaden == "seite") // the second page: the table's b-tree root
            Schreiben(Datei(), 4096, QByteArray(4096, '\x5a'));
        else // PRAGMA user_version, bytes 60 to 63 of the header
            Schreiben(Datei(), 60, QByteArray("\0\0\0\x07", 4));
    }
    const QByteArray vorher = QFileInfo(Datei()).isFile() ? Inhalt(Datei()) : QByteArray();

    TJournal journal(Verzeichnis());
    QVERIFY(!journal.Beiseitegelegt().isEmpty());
    QVERIFY(!journal.Grund().isEmpty());
    QVERIFY(journal.Beiseitegelegt().startsWith(Datei() + ".defekt-"));
    // Moved, never deleted: the old content is where the journal says.
    QVERIFY(QFileInfo::exists(journal.Beiseitegelegt()));
    QCOMPARE(Inhalt(journal.Beiseitegelegt()), vorher);
    if (schaden == "text")
        QCOMPARE(Inhalt(journal.Beiseitegelegt() + "-wal"), QByteArray("alter Log"));
    // The new journal starts empty and works.
    QCOMPARE(journal.AnzahlWartend(), 0);
    journal.Eintragen(Eintrag("neu-1", "2026-12-11 08:00:00"));
    QCOMPARE(Kennungen(journal.Wartende()), QStringList{"neu-1"});
}

void TstJournal::zweiterOeffnerWirdAbgewiesen()
{
    auto erster = std::make_unique<TJournal>(Verzeichnis());
    erster->Eintragen(Eintrag("e-1", "2026-12-11 08:00:00"));
    const QStringList vorher = QDir(Verzeichnis()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    try {
        TJournal zweiter(Verzeichnis());
        QFAIL("Der zweite Öffner hat das Journal bekommen.");
    } catch (const EJournalfehler& fehler) {
        QCOMPARE(fehler.Code(), kSqliteBusy);
    }
    // A file in use is not damaged: it stays where it is, with its entries.
    QCOMPARE(QDir(Verzeichnis()).entryList(QDir::Files | QDir::NoDotAndDotDot), vorher);
    erster.reset();
    TJournal zweiter(Verzeichnis());
    QVERIFY(zweiter.Beiseitegelegt().isEmpty());
    QCOMPARE(Kennungen(zweiter.Wartende()), QStringList{"e-1"});
}

void TstJournal::gehaltenVonAnderemProzess()
{
    int leseende = -1;
    const pid_t kind = Kind(Verzeichnis(), {Eintrag("f-1", "2026-12-11 08:00:00")}, true, leseende);
    QVERIFY(kind > 0);
    char gemeldet = 0;
    // Blocks until the child holds the journal (or returns 0 when it died without it).
    QCOMPARE(read(leseende, &gemeldet, 1), ssize_t(1));
    close(leseende);
    bool abgewiesen = false;
    try {
        TJournal hier(Verzeichnis());
    } catch (const EJournalfehler& fehler) {
        abgewiesen = fehler.Code() == kSqliteBusy;
    }
    kill(kind, SIGKILL);
    int status = 0;
    QCOMPARE(waitpid(kind, &status, 0), kind);
    QVERIFY(abgewiesen);
    // The lock dies with its holder: the next start gets the journal with the entry.
    TJournal danach(Verzeichnis());
    QVERIFY(danach.Beiseitegelegt().isEmpty());
    QCOMPARE(Kennungen(danach.Wartende()), QStringList{"f-1"});
}

void TstJournal::killNachDemSchreiben()
{
    const QList<TJournalEintrag> eintraege{Eintrag("g-1", "2026-12-11 08:00:00"),
                                           Eintrag("g-2", "2026-12-11 08:00:07", false),
                                           Eintrag("g-3", "2026-12-11 08:00:09")};
    int leseende = -1;
    const pid_t kind = Kind(Verzeichnis(), eintraege, false, leseende);
    QVERIFY(kind > 0);
    int status = 0;
    QCOMPARE(waitpid(kind, &status, 0), kind);
    close(leseende);
    // Killed with the journal open, right after the last write returned.
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), SIGKILL);

    // The killed writer's lock is gone with it, and every write that returned is there.
    TJournal journal(Verzeichnis());
    QVERIFY(journal.Beiseitegelegt().isEmpty());
    const QList<TJournalEintrag> wartend = journal.Wartende();
    QCOMPARE(wartend.size(), eintraege.size());
    for (qsizetype i = 0; i < eintraege.size(); ++i)
        QCOMPARE(Text(wartend[i]), Text(eintraege[i]));
}

void TstJournal::zustandsverzeichnis_data()
{
    QTest::addColumn<QString>("xdgStateHome");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("verzeichnis");
    QTest::newRow("xdg gesetzt") << "/srv/kiosk/state"
                                 << "/home/kiosk"
                                 << "/srv/kiosk/state/teststation";
    QTest::newRow("xdg mit schrägstrich") << "/srv/state/"
                                          << "/home/kiosk"
                                          << "/srv/state/teststation";
    QTest::newRow("xdg leer") << ""
                              << "/home/kiosk"
                              << "/home/kiosk/.local/state/teststation";
    QTest::newRow("xdg relativ") << "state"
                                 << "/home/kiosk"
                                 << "/home/kiosk/.local/state/teststation";
}

void TstJournal::zustandsverzeichnis()
{
    QFETCH(QString, xdgStateHome);
    QFETCH(QString, home);
    QFETCH(QString, verzeichnis);
    QCOMPARE(Zustandsverzeichnis::Fuer(xdgStateHome, home), verzeichnis);
}

QTEST_GUILESS_MAIN(TstJournal)
#include "tst_journal.moc"
