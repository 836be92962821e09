// Stations on a three-node Galera cluster: a node killed while they record, conflicts between
// nodes on the same employees, and the killed node's return. Every result must end up in the
// cluster exactly once, on every node, with each person's stamp at their newest pass.
#include "Buchung.h"
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "Journal.h"
#include "TestServer.h"
#include "Weiterleitung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QThread>

#include <atomic>
#include <csignal>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = u"TST_CLUSTER"_s;
constexpr int kKnoten = 3;
// Every result of a run settles within this time once a node is up again.
constexpr int kAbschlussMs = 120 * 1000;

QString ClusterVerzeichnis()
{
    return QStringLiteral(TS_CLUSTER_DIR);
}

// One station without a screen: results go into its own journal and out through its forwarder,
// as at a station, on a connection with the station's host list.
struct TStation
{
    QString Hosts;
    QList<int> Mitarbeiter;
    int Messungen = 0;
    bool NurBestanden = false;
    // Journals every result first and forwards them together with the other stations, as after
    // an outage: the writes meet on the server.
    bool ErstSammeln = false;
    // Results a second apart and interleaved between the stations, so that nearly every pass is
    // the person's newest and writes the stamp; -1 keeps the clock's time.
    int Zeitversatz = -1;

    // Filled by the run.
    QStringList Kennungen;
    int Wartend = 0; // still in the journal at the end
    QString Server;
    int Knotenwechsel = 0;
    int Konflikte = 0;
    QString Fehler;
};

class TStationsLauf
{
public:
    TStationsLauf(std::vector<TStation>& stationen, const QString& verzeichnis)
        : FAnzahl(static_cast<int>(stationen.size()))
    {
        for (std::size_t i = 0; i < stationen.size(); ++i) {
            TStation* station = &stationen[i];
            const QString journal = verzeichnis + u"/station"_s + QString::number(i);
            FThreads.emplace_back(QThread::create([this, station, journal] {
                try {
                    Laufen(*station, journal);
                } catch (const std::exception& fehler) {
                    station->Fehler = QString::fromUtf8(fehler.what());
                }
            }));
            FThreads.back()->start();
        }
    }

    ~TStationsLauf() { Warten(); }

    // Results journaled by all stations so far.
    int Gemessen() const { return FGemessen.load(); }

    void Warten()
    {
        for (auto& thread : FThreads)
            thread->wait();
    }

private:
    void Laufen(TStation& station, const QString& verzeichnis)
    {
        QDir(verzeichnis).removeRecursively();
        TJournal journal(verzeichnis);
        const QString hosts = station.Hosts;
        TWeiterleitung weiterleitung(journal, [hosts](TDBVerbindung& v) {
            v.SetServer(hosts);
            v.SetUsername(QString::fromLatin1(TTestServer::kBenutzer));
            v.SetPassword(QString::fromLatin1(TTestServer::kPasswort));
            v.SetDatabase(kDatenbank);
        });
        QRandomGenerator zufall(static_cast<quint32>(qHash(verzeichnis)));
        for (int i = 0; i < station.Messungen; ++i) {
            TBuchungswerte werte = Buchung::NeuesErgebnis();
            if (station.Zeitversatz >= 0)
                werte.Zeitstempel = werte.Zeitstempel.addSecs(i * 10 + station.Zeitversatz);
            const int id = station.Mitarbeiter.at(
                zufall.bounded(static_cast<int>(station.Mitarbeiter.size())));
            werte.Mitarbeiter_ID = QString::number(id);
            werte.Name = u"m"_s + werte.Mitarbeiter_ID;
            werte.Messwerte_OK = station.NurBestanden || zufall.bounded(4) != 0;
            werte.Messwert1 = u"0,8"_s;
            werte.Messwert2 = u"0,9"_s;
            werte.Messwert3 = werte.Messwerte_OK ? u"1,1"_s : u"99"_s;
            werte.Fehlercode = werte.Messwerte_OK ? u"0"_s : u"3"_s;
            if (!Weiterleitung::Vormerken(journal, werte).Gespeichert)
                throw std::runtime_error("the journal refused a result");
            station.Kennungen.append(werte.Kennung);
            ++FGemessen;
            if (!station.ErstSammeln)
                weiterleitung.Weiterleiten();
        }
        if (station.ErstSammeln) {
            ++FGesammelt;
            while (FGesammelt.load() < FAnzahl)
                QThread::msleep(1);
        }
        // What waits goes out once the cluster takes it again, as the forwarder's timer would.
        QDeadlineTimer frist(kAbschlussMs);
        while (journal.AnzahlWartend() > 0 && !frist.hasExpired()) {
            if (weiterleitung.Weiterleiten() == 0)
                QThread::msleep(200);
        }
        station.Wartend = journal.AnzahlWartend();
        station.Server = weiterleitung.Server();
        station.Knotenwechsel = weiterleitung.Knotenwechsel();
        station.Konflikte = weiterleitung.Konflikte();
    }

    std::vector<std::unique_ptr<QThread>> FThreads;
    const int FAnzahl;
    std::atomic<int> FGemessen{0};
    std::atomic<int> FGesammelt{0};
};

} // namespace

class TstCluster : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void konflikteZwischenKnoten();
    void knotenFaelltAus();
    void knotenKehrtZurueck();
    void abgeschnittenerKnotenWirdUebergangen();

private:
    TTestServer& Knoten(int nr) { return *FKnoten.at(static_cast<std::size_t>(nr - 1)); }
    QString Adresse(int nr) { return u"127.0.0.1:%1"_s.arg(Knoten(nr).Port()); }
    QString Hosts(int erster);
    QString Wert(int knoten, const QString& sql);
    // Every station settled all its results; their identities join those of earlier runs.
    void Sammeln(const std::vector<TStation>& stationen);
    // The results and stamps as one node holds them, once it has applied everything committed
    // before, against every identity collected so far.
    struct TBestand
    {
        int Zeilen = 0;
        int Fehlend = 0;
        int Doppelt = 0;
        int StempelFalsch = 0;
    };
    TBestand Bestand(int knoten);
    // The worst of these nodes; every result exactly once and every stamp right on each.
    TBestand BestandPruefen(const QList<int>& knoten);
    // "CLUSTER lauf=… key=value …" for the reliability report, and on the test's output.
    static void Berichten(const QString& zeile);
    quint64 KonflikteAufDenKnoten();

    std::vector<std::unique_ptr<TTestServer>> FKnoten;
    QList<int> FMitarbeiter;
    QStringList FAlleKennungen;
};

void TstCluster::initTestCase()
{
    for (int nr = 1; nr <= kKnoten; ++nr)
        FKnoten.push_back(std::make_unique<TTestServer>(ClusterVerzeichnis() + u"/knoten"_s +
                                                        QString::number(nr)));
    // Created on one node, there on all three.
    Knoten(1).NeueDatenbank(kDatenbank);
    QStringList zeilen;
    for (int id = 2; id <= 13; ++id) {
        FMitarbeiter.append(id);
        zeilen << u"(%1, 'm%1', 'J')"_s.arg(id);
    }
    Knoten(1).Sql(u"INSERT INTO MITARBEITER (MITARBEITER_ID, LOGINNAME, ESD_MESSUNG) VALUES "_s +
                      zeilen.join(u", "_s) + u";"_s,
                  kDatenbank);
    for (int nr = 2; nr <= kKnoten; ++nr)
        QCOMPARE(Wert(nr, u"SELECT COUNT(*) FROM MITARBEITER"_s), u"12"_s);
}

QString TstCluster::Hosts(int erster)
{
    QStringList liste;
    for (int i = 0; i < kKnoten; ++i)
        liste << Adresse((erster - 1 + i) % kKnoten + 1);
    return liste.join(u',');
}

QString TstCluster::Wert(int knoten, const QString& sql)
{
    return Knoten(knoten)
        .Sql(u"SET SESSION wsrep_sync_wait = 1; "_s + sql + u";"_s, kDatenbank)
        .trimmed();
}

quint64 TstCluster::KonflikteAufDenKnoten()
{
    quint64 summe = 0;
    for (int nr = 1; nr <= kKnoten; ++nr) {
        const QString werte = Knoten(nr).Sql(
            u"SELECT SUM(VARIABLE_VALUE) FROM information_schema.GLOBAL_STATUS WHERE "
            "VARIABLE_NAME IN ('WSREP_LOCAL_CERT_FAILURES', 'WSREP_LOCAL_BF_ABORTS');"_s);
        summe += werte.trimmed().toULongLong();
    }
    return summe;
}

void TstCluster::Sammeln(const std::vector<TStation>& stationen)
{
    for (const TStation& station : stationen) {
        QVERIFY2(station.Fehler.isEmpty(), qPrintable(station.Fehler));
        QCOMPARE(station.Wartend, 0);
        FAlleKennungen += station.Kennungen;
    }
}

TstCluster::TBestand TstCluster::Bestand(int knoten)
{
    TBestand bestand;
    bestand.Zeilen = Wert(knoten, u"SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE"_s).toInt();
    // A result counts once it has its receipt and the row the receipt names.
    const QStringList angekommen =
        Wert(knoten, u"SELECT Q.KENNUNG FROM ESD_MESSUNG_QUITTUNG Q JOIN ESD_MESSWERTE_SCHUHE M "
                     "ON M.MESSUNG_ID = Q.MESSUNG_ID"_s)
            .split(u'\n', Qt::SkipEmptyParts);
    const QSet<QString> da(angekommen.cbegin(), angekommen.cend());
    for (const QString& kennung : std::as_const(FAlleKennungen))
        bestand.Fehlend += da.contains(kennung) ? 0 : 1;
    bestand.Doppelt = bestand.Zeilen - (static_cast<int>(FAlleKennungen.size()) - bestand.Fehlend);
    // Each stamp is the newest pass of that person.
    bestand.StempelFalsch =
        Wert(knoten, u"SELECT COUNT(*) FROM MITARBEITER A WHERE NOT (A.DATUM_ESD_MESSUNG <=> "
                     "(SELECT MAX(ZEITSTEMPEL) FROM ESD_MESSWERTE_SCHUHE M WHERE "
                     "M.MITARBEITER_ID = A.MITARBEITER_ID AND M.MESSWERTE_OK = 'J'))"_s)
            .toInt();
    return bestand;
}

TstCluster::TBestand TstCluster::BestandPruefen(const QList<int>& knoten)
{
    TBestand schlimmste;
    for (const int nr : knoten) {
        const TBestand b = Bestand(nr);
        if (b.Fehlend + b.Doppelt + b.StempelFalsch >=
            schlimmste.Fehlend + schlimmste.Doppelt + schlimmste.StempelFalsch)
            schlimmste = b;
        if (b.Fehlend != 0 || b.Doppelt != 0 || b.StempelFalsch != 0)
            qWarning("Knoten %d: %d fehlen, %d doppelt, %d falsche Stempel", nr, b.Fehlend,
                     b.Doppelt, b.StempelFalsch);
    }
    return schlimmste;
}

void TstCluster::Berichten(const QString& zeile)
{
    qInfo().noquote() << zeile;
    const QString ablage = qEnvironmentVariable("TS_ZUVERLAESSIGKEIT");
    if (ablage.isEmpty() || !QFileInfo(ablage).isDir())
        return;
    QFile bericht(QDir(ablage).filePath(u"cluster.txt"_s));
    if (bericht.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        bericht.write((zeile + u'\n').toUtf8());
}

void TstCluster::konflikteZwischenKnoten()
{
    // Two stations on each node, all measuring the same three people and passing: every
    // result writes the same employee rows from three nodes at once.
    const quint64 vorher = KonflikteAufDenKnoten();
    std::vector<TStation> stationen(6);
    for (std::size_t i = 0; i < stationen.size(); ++i) {
        stationen[i].Hosts = Hosts(static_cast<int>(i) % kKnoten + 1);
        stationen[i].Mitarbeiter = FMitarbeiter.mid(0, 3);
        stationen[i].Messungen = 40;
        stationen[i].NurBestanden = true;
        stationen[i].ErstSammeln = true;
        stationen[i].Zeitversatz = static_cast<int>(i);
    }
    TStationsLauf(stationen, QStringLiteral(TS_BUILD_DIR) + u"/tests/cluster/konflikte"_s).Warten();

    int konflikte = 0;
    for (const TStation& s : stationen)
        konflikte += s.Konflikte;
    const quint64 aufDenKnoten = KonflikteAufDenKnoten() - vorher;
    Sammeln(stationen);
    if (QTest::currentTestFailed())
        return;
    const TBestand bestand = BestandPruefen({1, 2, 3});
    Berichten(u"CLUSTER lauf=konflikte stationen=%1 ergebnisse=%2 zeilen=%3 fehlend=%4 doppelt=%5 "
              "stempel_falsch=%6 konflikte=%7 konflikte_knoten=%8"_s.arg(stationen.size())
                  .arg(FAlleKennungen.size())
                  .arg(bestand.Zeilen)
                  .arg(bestand.Fehlend)
                  .arg(bestand.Doppelt)
                  .arg(bestand.StempelFalsch)
                  .arg(konflikte)
                  .arg(aufDenKnoten));
    QVERIFY(konflikte > 0);
    QCOMPARE(bestand.Fehlend, 0);
    QCOMPARE(bestand.Doppelt, 0);
    QCOMPARE(bestand.StempelFalsch, 0);
}

void TstCluster::knotenFaelltAus()
{
    std::vector<TStation> stationen(5);
    for (TStation& s : stationen) {
        s.Hosts = Hosts(1);
        s.Mitarbeiter = FMitarbeiter;
        s.Messungen = 60;
    }
    const QString pidDatei = ClusterVerzeichnis() + u"/knoten1/mariadbd.pid"_s;
    {
        TStationsLauf lauf(stationen, QStringLiteral(TS_BUILD_DIR) + u"/tests/cluster/ausfall"_s);
        QTRY_VERIFY_WITH_TIMEOUT(lauf.Gemessen() >= 100, 60000);
        QFile datei(pidDatei);
        QVERIFY(datei.open(QIODevice::ReadOnly));
        const pid_t pid = static_cast<pid_t>(datei.readAll().trimmed().toInt());
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, SIGKILL), 0);
        lauf.Warten();
    }
    int wechsel = 0;
    int aufKnoten2 = 0;
    for (const TStation& s : stationen) {
        wechsel += s.Knotenwechsel;
        aufKnoten2 += s.Server == Adresse(2) ? 1 : 0;
    }
    const int vorher = static_cast<int>(FAlleKennungen.size());
    Sammeln(stationen);
    if (QTest::currentTestFailed())
        return;
    const TBestand bestand = BestandPruefen({2, 3});
    Berichten(u"CLUSTER lauf=ausfall stationen=%1 ergebnisse=%2 zeilen=%3 fehlend=%4 doppelt=%5 "
              "stempel_falsch=%6 knotenwechsel=%7 auf_knoten2=%8"_s.arg(stationen.size())
                  .arg(FAlleKennungen.size() - vorher)
                  .arg(bestand.Zeilen - vorher)
                  .arg(bestand.Fehlend)
                  .arg(bestand.Doppelt)
                  .arg(bestand.StempelFalsch)
                  .arg(wechsel)
                  .arg(aufKnoten2));
    QCOMPARE(aufKnoten2, static_cast<int>(stationen.size()));
    QVERIFY(wechsel >= static_cast<int>(stationen.size()));
    QCOMPARE(bestand.Fehlend, 0);
    QCOMPARE(bestand.Doppelt, 0);
    QCOMPARE(bestand.StempelFalsch, 0);
}

void TstCluster::knotenKehrtZurueck()
{
    // The killed node joins again and takes the others' state.
    QProcess start;
    start.start(QStringLiteral(TS_TESTDB_SKRIPT), {u"cluster"_s, u"start"_s, ClusterVerzeichnis()});
    QVERIFY(start.waitForFinished(400 * 1000));
    QVERIFY2(start.exitCode() == 0, start.readAllStandardError().constData());
    const QString vergleich =
        u"CHECKSUM TABLE ESD_MESSWERTE_SCHUHE, ESD_MESSUNG_QUITTUNG, MITARBEITER"_s;
    const QString erwartet = Wert(2, vergleich);
    const bool gleich = Wert(1, vergleich) == erwartet && Wert(3, vergleich) == erwartet;
    const TBestand bestand = BestandPruefen({1});
    Berichten(u"CLUSTER lauf=rueckkehr ergebnisse=%1 zeilen=%2 fehlend=%3 doppelt=%4 "
              "stempel_falsch=%5 gleich=%6"_s.arg(FAlleKennungen.size())
                  .arg(bestand.Zeilen)
                  .arg(bestand.Fehlend)
                  .arg(bestand.Doppelt)
                  .arg(bestand.StempelFalsch)
                  .arg(gleich ? u"ja"_s : u"nein"_s));
    QVERIFY(gleich);
    QCOMPARE(bestand.Fehlend, 0);
    QCOMPARE(bestand.Doppelt, 0);
}

void TstCluster::abgeschnittenerKnotenWirdUebergangen()
{
    // Node 3 loses the others and leaves the primary component; it still accepts links and
    // answers SELECT 1, but refuses the station's statements.
    TDBVerbindung verbindung;
    Knoten(3).Verbinde(verbindung, kDatenbank);
    verbindung.SetConnected(false);
    verbindung.SetServer(Hosts(3));
    verbindung.SetConnected(true);
    TDBAbfrage qu(verbindung, u"quTest"_s);
    const auto anzahl = [&qu] {
        qu.SQL().SetText(u"SELECT COUNT(*) FROM MITARBEITER"_s);
        qu.Open();
        return qu.Fields(0).AsString();
    };
    QCOMPARE(anzahl(), u"12"_s);
    QCOMPARE(verbindung.AktuellerServer(), Adresse(3));
    QVERIFY(verbindung.Clusterknoten());

    const QString isolieren = u"SET GLOBAL wsrep_provider_options = 'gmcast.isolate=%1';"_s;
    Knoten(3).Sql(isolieren.arg(1));
    QTRY_COMPARE_WITH_TIMEOUT(Knoten(3).Sql(u"SHOW STATUS LIKE 'wsrep_ready';"_s).trimmed(),
                              u"wsrep_ready\tOFF"_s, 60000);
    // The statement that meets the refusal fails as on a broken link; the next one runs on the
    // next node of the list.
    QVERIFY_THROWS_EXCEPTION(EVerbindungsfehler, anzahl());
    QCOMPARE(anzahl(), u"12"_s);
    QCOMPARE(verbindung.AktuellerServer(), Adresse(1));
    // An opening skips the refusing node.
    TDBVerbindung neu;
    Knoten(3).Verbinde(neu, kDatenbank);
    neu.SetConnected(false);
    neu.SetServer(Hosts(3));
    neu.SetConnected(true);
    QCOMPARE(neu.AktuellerServer(), Adresse(1));

    Knoten(3).Sql(isolieren.arg(0));
    QTRY_COMPARE_WITH_TIMEOUT(Knoten(3).Sql(u"SHOW STATUS LIKE 'wsrep_ready';"_s).trimmed(),
                              u"wsrep_ready\tON"_s, 120000);
}

QTEST_GUILESS_MAIN(TstCluster)
#include "tst_cluster.moc"
