// Many stations at once against one server: every stored result exactly once, consistent boards
// while they measure, and each employee's date stamp afterwards.
#include "Anlegen.h"
#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "Demofirma.h"
#include "Tafel.h"
#include "TestServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <queue>
#include <stdexcept>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = u"TST_VIELE_STATIONEN"_s;
constexpr int kStationen = 20;
constexpr int kMessungenJeStation = 500;
constexpr int kBestandenProzent = 80;
const QString kMandant = u"Muster GmbH"_s;
// Every station picks from the people of these boards (about fifty), so that stations meet on
// the same employee rows.
const QStringList kLastAbteilungen{u"Fertigung SMD"_s, u"Montage"_s, u"Besucher"_s};
const QString kStationsBenutzer = u"teststation"_s;
const QString kStationsPasswort = u"last-geheim"_s;
// Between two board rounds, so that the board does not starve the stations of the two cores.
constexpr int kTafelPauseMs = 100;
constexpr qint64 kHoechstdauerMs = 8 * 60 * 1000;
// Evidence lines kept per kind of finding.
constexpr int kBelege = 12;

// Records every write of a stamp in the order the employee's row lock lets the writers through,
// with the writing transaction (the connection and how many transactions it had ended before), so
// that a station writing more than once per transaction is judged by its last write; it decides
// nothing. LETZTE_ZEILE is the row the writing connection inserted last, for the evidence only.
const QString kBeobachter =
    u"CREATE TABLE STEMPEL_PROTOKOLL (PROTOKOLL_ID INT NOT NULL AUTO_INCREMENT PRIMARY KEY, "
    "MITARBEITER_ID INT NOT NULL, VERBINDUNG BIGINT NOT NULL, ABGESCHLOSSEN BIGINT NOT NULL, "
    "LETZTE_ZEILE BIGINT NOT NULL, ALT DATETIME NULL, NEU DATETIME NULL, "
    "KEY IX_STEMPEL_PROTOKOLL_MA (MITARBEITER_ID, PROTOKOLL_ID)) ENGINE=InnoDB;"
    "CREATE TRIGGER STEMPEL_BEOBACHTEN AFTER UPDATE ON MITARBEITER FOR EACH ROW "
    "INSERT INTO STEMPEL_PROTOKOLL (MITARBEITER_ID, VERBINDUNG, ABGESCHLOSSEN, LETZTE_ZEILE, "
    "ALT, NEU) VALUES (NEW.MITARBEITER_ID, CONNECTION_ID(), (SELECT SUM(VARIABLE_VALUE) FROM "
    "information_schema.SESSION_STATUS WHERE VARIABLE_NAME IN ('COM_COMMIT', 'COM_ROLLBACK')), "
    "LAST_INSERT_ID(), OLD.DATUM_ESD_MESSUNG, NEW.DATUM_ESD_MESSUNG);"_s;

struct TEintrag
{
    int Station = 0;
    int Nummer = 0;
    quint64 Messung_ID = 0;
    int Mitarbeiter_ID = 0;
    QString Name;
    QString Ok;
    QString Fehlercode;
    QString Messwert1;
    QString Messwert2;
    QString Messwert3;
    QDateTime Vor;
    QDateTime Nach;
    bool Gespeichert = false;
    QString Kennung;
};

struct TZeile
{
    int Mitarbeiter_ID = 0;
    QString Name;
    QString Ok;
    QString Fehlercode;
    QString Messwert1;
    QString Messwert2;
    QString Messwert3;
    QDateTime Zeitstempel;
};

// One committed stamp: the last write of a transaction, and what it replaced.
struct TStempel
{
    QPair<quint64, quint64> Transaktion; // connection, transactions it had ended before
    quint64 LetzteZeile = 0;
    QDateTime Vorher;
    QDateTime Neu;
};

// DATETIME columns are whole seconds; the local clock is cut to them the same way.
QDateTime Sekunde(const QDateTime& zeit)
{
    return zeit.addMSecs(-zeit.time().msec());
}

QString Text(const QDateTime& zeit)
{
    return zeit.isValid() ? zeit.toString(u"yyyy-MM-dd hh:mm:ss"_s) : u"NULL"_s;
}

QDateTime Zeit(const TDBFeld& feld)
{
    return feld.AsVariant().toDateTime();
}

// "LAST station=3 messungen=500 …" as key and value.
QHash<QString, QString> Werte(const QString& zeile)
{
    QHash<QString, QString> werte;
    for (const QString& teil : zeile.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype gleich = teil.indexOf(u'=');
        if (gleich > 0)
            werte.insert(teil.left(gleich), teil.mid(gleich + 1));
    }
    return werte;
}

} // namespace

class TstVieleStationen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void vieleStationen();

private:
    using TKacheln = QList<QPair<int, QDateTime>>;

    QString Verzeichnis() const { return QStringLiteral(TS_BUILD_DIR) + u"/tst_viele_stationen"_s; }
    quint64 Status(const QString& name);
    std::unique_ptr<QProcess> StationStarten(int station, const QString& mitarbeiter);
    TKacheln Kacheln(TDBAbfrage& qu, const QString& abteilung) const;
    void KachelnPruefen(const QString& abteilung, const TKacheln& kacheln, QStringList& befunde);
    void TafelRunde();
    void Beleg(QStringList& belege, const QString& text) const;

    TTestServer FServer;
    TDBVerbindung FAdmin;
    // The board as one station reads it, and a checker that reads in one snapshot.
    TDBVerbindung FTafel;
    TDBVerbindung FPruefer;
    std::unique_ptr<TDBAbfrage> quTafel;
    std::unique_ptr<TDBAbfrage> quPruefer;

    QList<int> FLast;                         // the employees all stations measure
    QHash<QString, QSet<int>> FTafelErwartet; // department -> its tiles
    QHash<int, QDateTime> FAnfangsdatum;      // every employee's stamp before the run
    quint64 FLetzteAlteMessung = 0;           // measurement rows before the run end here
    QHash<int, QDateTime> FZuletztGezeigt;    // the station's board, previous round
    int FTafelAbfragen = 0;
    int FTafelInkonsistent = 0;
    QStringList FTafelBelege;
    std::vector<std::unique_ptr<QProcess>> FStationen;
};

void TstVieleStationen::initTestCase()
{
    QVERIFY(QDir().mkpath(Verzeichnis()));
    FServer.NeueDatenbank(kDatenbank);
    QFile rechte(QStringLiteral(STATION_RECHTE));
    QVERIFY(rechte.open(QIODevice::ReadOnly));
    FServer.Sql(u"CREATE USER IF NOT EXISTS 'teststation'@'%' IDENTIFIED BY '%1';"
                "ALTER USER 'teststation'@'%' IDENTIFIED BY '%1';"_s.arg(kStationsPasswort));
    FServer.Sql(QString::fromUtf8(rechte.readAll()), kDatenbank);

    FServer.Verbinde(FAdmin, kDatenbank);
    const Demofirma::TFirma firma =
        Demofirma::Erzeuge(Demofirma::kStandardSaat, QDateTime::currentDateTime());
    Demofirma::Anlegen(FAdmin, firma);
    FServer.Sql(kBeobachter, kDatenbank);

    QHash<int, QString> abteilungen;
    for (const Demofirma::TAbteilung& a : firma.Abteilungen) {
        if (!a.Inaktiv && !a.Geloescht)
            abteilungen.insert(a.Id, a.Name);
    }
    for (const Demofirma::TPerson& p : firma.Personen) {
        const QString abteilung = abteilungen.value(p.Abteilung_ID);
        if (p.EsdMessung && !p.Inaktiv && kLastAbteilungen.contains(abteilung)) {
            FLast.append(p.Mitarbeiter_ID);
            FTafelErwartet[abteilung].insert(p.Mitarbeiter_ID);
        }
    }
    QVERIFY2(FLast.size() >= 40, "the demo company has fewer people on these boards");

    TDBAbfrage qu(FAdmin, u"quVorher"_s);
    qu.SQL().Add(u"SELECT MITARBEITER_ID, DATUM_ESD_MESSUNG FROM MITARBEITER"_s);
    for (qu.Open(); !qu.Eof(); qu.Next())
        FAnfangsdatum.insert(qu.FieldByName(u"MITARBEITER_ID"_s).AsInteger(),
                             Zeit(qu.FieldByName(u"DATUM_ESD_MESSUNG"_s)));
    qu.SQL().Clear();
    qu.SQL().Add(u"SELECT COALESCE(MAX(MESSUNG_ID), 0) AS M FROM ESD_MESSWERTE_SCHUHE"_s);
    qu.Open();
    FLetzteAlteMessung = qu.FieldByName(u"M"_s).AsString().toULongLong();

    FTafel.SetServer(u"127.0.0.1"_s);
    FTafel.SetPort(FServer.Port());
    FTafel.SetUsername(kStationsBenutzer);
    FTafel.SetPassword(kStationsPasswort);
    FTafel.SetDatabase(kDatenbank);
    FTafel.SetConnected(true);
    quTafel = std::make_unique<TDBAbfrage>(FTafel, u"quMitarbeiter"_s);
    FServer.Verbinde(FPruefer, kDatenbank);
    quPruefer = std::make_unique<TDBAbfrage>(FPruefer, u"quPruefer"_s);
    // Every statement of a checker transaction reads the snapshot its first statement saw.
    quPruefer->SQL().Add(u"SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ"_s);
    quPruefer->ExecSQL();
}

void TstVieleStationen::cleanupTestCase()
{
    for (const auto& station : FStationen) {
        if (station->state() != QProcess::NotRunning) {
            station->kill();
            station->waitForFinished(5000);
        }
    }
    quTafel.reset();
    quPruefer.reset();
}

quint64 TstVieleStationen::Status(const QString& name)
{
    TDBAbfrage qu(FAdmin, u"quStatus"_s);
    qu.SQL().Add(u"SHOW GLOBAL STATUS LIKE '%1'"_s.arg(name));
    qu.Open();
    if (qu.RecordCount() != 1)
        throw std::runtime_error("no server status " + name.toStdString());
    return qu.FieldByName(u"Value"_s).AsString().toULongLong();
}

std::unique_ptr<QProcess> TstVieleStationen::StationStarten(int station, const QString& mitarbeiter)
{
    auto prozess = std::make_unique<QProcess>();
    const QString stamm = Verzeichnis() + u"/station-"_s + QString::number(station);
    prozess->setStandardOutputFile(stamm + u".out"_s);
    prozess->setStandardErrorFile(stamm + u".err"_s);
    // The database name in lower case: the driver upper-cases it as the station does.
    prozess->start(QStringLiteral(STATIONSLAST),
                   {u"--hostname"_s, u"127.0.0.1"_s, u"--port"_s, QString::number(FServer.Port()),
                    u"--username"_s, kStationsBenutzer, u"--passwort-stdin"_s, u"--datenbank"_s,
                    kDatenbank.toLower(), u"--anzahl"_s, QString::number(kMessungenJeStation),
                    u"--station"_s, QString::number(station), u"--mitarbeiter"_s, mitarbeiter,
                    u"--bestanden"_s, QString::number(kBestandenProzent), u"--protokoll"_s,
                    stamm + u".tsv"_s});
    if (!prozess->waitForStarted())
        throw std::runtime_error("the load driver does not start");
    prozess->write((kStationsPasswort + u'\n').toUtf8());
    prozess->closeWriteChannel();
    return prozess;
}

TstVieleStationen::TKacheln TstVieleStationen::Kacheln(TDBAbfrage& qu,
                                                       const QString& abteilung) const
{
    // The board's own statement, as the main window sends it.
    qu.Close();
    qu.SQL().Clear();
    qu.SQL().Add(Tafel::MitarbeiterSql(kMandant));
    qu.ParamByName(u"ABTEILUNG"_s).SetAsString(abteilung);
    qu.Open();
    TKacheln kacheln;
    for (qu.First(); !qu.Eof(); qu.Next())
        kacheln.append({qu.FieldByName(u"Mitarbeiter_ID"_s).AsInteger(),
                        Zeit(qu.FieldByName(u"DATUM_ESD_MESSUNG"_s))});
    qu.Close();
    return kacheln;
}

void TstVieleStationen::KachelnPruefen(const QString& abteilung, const TKacheln& kacheln,
                                       QStringList& befunde)
{
    QHash<int, int> anzahl;
    for (const auto& kachel : kacheln)
        ++anzahl[kachel.first];
    const QSet<int>& erwartet = FTafelErwartet.value(abteilung);
    for (const int id : erwartet) {
        if (anzahl.value(id) != 1)
            befunde << u"%1: Mitarbeiter %2 erscheint %3-mal"_s.arg(abteilung).arg(id).arg(
                anzahl.value(id));
    }
    for (auto it = anzahl.cbegin(); it != anzahl.cend(); ++it) {
        if (!erwartet.contains(it.key()))
            befunde << u"%1: fremder Mitarbeiter %2"_s.arg(abteilung).arg(it.key());
    }
}

void TstVieleStationen::Beleg(QStringList& belege, const QString& text) const
{
    if (belege.size() < kBelege)
        belege << text;
}

void TstVieleStationen::TafelRunde()
{
    ++FTafelAbfragen;
    QStringList befunde;
    try {
        // As a station reads its board: statement by statement, with the station's account.
        // A stamp only ever moves forward, so no tile may show an older one than before.
        for (const QString& abteilung : kLastAbteilungen) {
            const TKacheln kacheln = Kacheln(*quTafel, abteilung);
            KachelnPruefen(abteilung, kacheln, befunde);
            for (const auto& [id, datum] : kacheln) {
                const QDateTime vorher = FZuletztGezeigt.value(id);
                if (vorher.isValid() && (!datum.isValid() || datum < vorher))
                    befunde << u"Tafel der Station: Mitarbeiter %1 zeigt %2, zuvor %3"_s.arg(id)
                                   .arg(Text(datum), Text(vorher));
                FZuletztGezeigt.insert(id, datum);
            }
        }

        // The same boards and the measurement rows in one snapshot: what it shows must be what
        // the transactions committed so far add up to.
        QHash<int, QDateTime> datum;
        QHash<int, QDateTime> neuesteBestandene;
        QHash<int, int> neueBestandene;
        FPruefer.StartTransaction();
        try {
            for (const QString& abteilung : kLastAbteilungen) {
                const TKacheln kacheln = Kacheln(*quPruefer, abteilung);
                KachelnPruefen(abteilung, kacheln, befunde);
                for (const auto& [id, d] : kacheln)
                    datum.insert(id, d);
            }
            TDBAbfrage& qu = *quPruefer;
            qu.SQL().Clear();
            qu.SQL().Add(u"SELECT MITARBEITER_ID, MAX(ZEITSTEMPEL) AS NEUESTE, "
                         "SUM(MESSUNG_ID > :Letzte) AS NEUE FROM ESD_MESSWERTE_SCHUHE "
                         "WHERE MESSWERTE_OK = 'J' GROUP BY MITARBEITER_ID"_s);
            qu.ParamByName(u"Letzte"_s).SetAsString(QString::number(FLetzteAlteMessung));
            for (qu.Open(); !qu.Eof(); qu.Next()) {
                const int id = qu.FieldByName(u"MITARBEITER_ID"_s).AsInteger();
                neuesteBestandene.insert(id, Zeit(qu.FieldByName(u"NEUESTE"_s)));
                neueBestandene.insert(id, qu.FieldByName(u"NEUE"_s).AsInteger());
            }
            qu.Close();
            FPruefer.Commit();
        } catch (...) {
            FPruefer.Rollback();
            throw;
        }

        for (const int id : std::as_const(FLast)) {
            const QDateTime d = datum.value(id);
            const QDateTime neueste = neuesteBestandene.value(id);
            // A committed pass is never shown with an older stamp than its own row's time.
            if (neueste.isValid() && (!d.isValid() || d < neueste))
                befunde << u"Mitarbeiter %1 zeigt %2, die neueste bestandene Messung ist vom %3"_s
                               .arg(id)
                               .arg(Text(d), Text(neueste));
            // Row and stamp commit together and the stamp never steps back: it is exactly the
            // time of the newest pass, whichever of two stations committed last.
            const QDateTime soll = neueBestandene.value(id) > 0 ? neueste : FAnfangsdatum.value(id);
            if (d != soll)
                befunde << u"Mitarbeiter %1 zeigt %2, die neueste bestandene Messung ist vom %3"_s
                               .arg(id)
                               .arg(Text(d), Text(soll));
        }
    } catch (const std::exception& fehler) {
        befunde << u"Tafel nicht lesbar: %1"_s.arg(QString::fromUtf8(fehler.what()));
    }
    if (!befunde.isEmpty()) {
        ++FTafelInkonsistent;
        for (const QString& befund : std::as_const(befunde))
            Beleg(FTafelBelege, u"Runde %1: %2"_s.arg(FTafelAbfragen).arg(befund));
    }
}

void TstVieleStationen::vieleStationen()
{
    QStringList ids;
    for (const int id : std::as_const(FLast))
        ids << QString::number(id);
    const quint64 deadlocksVorher = Status(u"Innodb_deadlocks"_s);
    const quint64 sperrwartenVorher = Status(u"Innodb_row_lock_waits"_s);

    QElapsedTimer uhr;
    uhr.start();
    qint64 letztesEnde = 0;
    for (int station = 1; station <= kStationen; ++station) {
        FStationen.push_back(StationStarten(station, ids.join(u',')));
        connect(FStationen.back().get(), &QProcess::finished, this,
                [&uhr, &letztesEnde] { letztesEnde = uhr.elapsed(); });
    }
    const auto laufen = [this] {
        return std::any_of(FStationen.cbegin(), FStationen.cend(),
                           [](const auto& p) { return p->state() != QProcess::NotRunning; });
    };
    while (laufen()) {
        QVERIFY2(uhr.elapsed() < kHoechstdauerMs, "the stations did not finish in time");
        TafelRunde();
        QTest::qWait(kTafelPauseMs);
    }
    const double sekunden = static_cast<double>(letztesEnde) / 1000.0;
    // Once more when all is committed.
    TafelRunde();

    // The drivers' own account.
    int fehler = 0;
    qint64 wiederholungen = 0;
    QStringList treiberBelege;
    std::vector<TEintrag> eintraege;
    for (int station = 1; station <= kStationen; ++station) {
        QProcess& prozess = *FStationen[static_cast<size_t>(station - 1)];
        const QString stamm = Verzeichnis() + u"/station-"_s + QString::number(station);
        QFile aus(stamm + u".out"_s);
        QFile err(stamm + u".err"_s);
        QVERIFY(aus.open(QIODevice::ReadOnly) && err.open(QIODevice::ReadOnly));
        const QString ausgabe = QString::fromUtf8(aus.readAll()).trimmed();
        const QString fehlerausgabe = QString::fromUtf8(err.readAll()).trimmed();
        const QHash<QString, QString> werte = Werte(ausgabe);
        bool ok = false;
        const int stationFehler = werte.value(u"fehler"_s).toInt(&ok);
        const qint64 stationWiederholungen = werte.value(u"wiederholungen"_s).toLongLong(&ok);
        if (prozess.exitStatus() != QProcess::NormalExit || prozess.exitCode() != 0 ||
            !ausgabe.startsWith(u"LAST station="_s) || !ok ||
            werte.value(u"gespeichert"_s) != QString::number(kMessungenJeStation) ||
            werte.value(u"wiederaufbauten"_s) != u"0"_s) {
            ++fehler;
            Beleg(treiberBelege, u"Station %1 (Status %2): %3 %4"_s.arg(station)
                                     .arg(prozess.exitCode())
                                     .arg(ausgabe, fehlerausgabe.left(2000)));
        }
        fehler += stationFehler;
        wiederholungen += stationWiederholungen;

        QFile protokoll(stamm + u".tsv"_s);
        QVERIFY(protokoll.open(QIODevice::ReadOnly | QIODevice::Text));
        while (!protokoll.atEnd()) {
            const QString zeile = QString::fromUtf8(protokoll.readLine()).chopped(1);
            if (zeile.startsWith(u'#'))
                continue;
            const QStringList f = zeile.split(u'\t');
            QCOMPARE(f.size(), 15);
            const auto zeit = [](const QString& text) {
                return QDateTime::fromString(text, u"yyyy-MM-dd hh:mm:ss.zzz"_s);
            };
            eintraege.push_back({f[0].toInt(), f[1].toInt(), f[2].toULongLong(), f[3].toInt(), f[4],
                                 f[5], f[6], f[7], f[8], f[9], zeit(f[10]), zeit(f[11]),
                                 f[12] == u"1"_s, f[14]});
        }
    }

    // The rows the run added, and each driver log entry matched to its row by the key the server
    // gave it.
    QHash<quint64, TZeile> zeilen;
    TDBAbfrage qu(FAdmin, u"quNachher"_s);
    qu.SQL().Add(u"SELECT MESSUNG_ID, MITARBEITER_ID, NAME, MESSWERTE_OK, FEHLERCODE, "
                 "MESSWERT_SCHUH_L, MESSWERT_SCHUH_R, MESSWERT_ARMBAND, ZEITSTEMPEL "
                 "FROM ESD_MESSWERTE_SCHUHE WHERE MESSUNG_ID > :Letzte"_s);
    qu.ParamByName(u"Letzte"_s).SetAsString(QString::number(FLetzteAlteMessung));
    for (qu.Open(); !qu.Eof(); qu.Next())
        zeilen.insert(qu.FieldByName(u"MESSUNG_ID"_s).AsString().toULongLong(),
                      {qu.FieldByName(u"MITARBEITER_ID"_s).AsInteger(),
                       qu.FieldByName(u"NAME"_s).AsString(),
                       qu.FieldByName(u"MESSWERTE_OK"_s).AsString(),
                       qu.FieldByName(u"FEHLERCODE"_s).AsString(),
                       qu.FieldByName(u"MESSWERT_SCHUH_L"_s).AsString(),
                       qu.FieldByName(u"MESSWERT_SCHUH_R"_s).AsString(),
                       qu.FieldByName(u"MESSWERT_ARMBAND"_s).AsString(),
                       Zeit(qu.FieldByName(u"ZEITSTEMPEL"_s))});
    int doppelt = 0;
    int fehlend = 0;
    int abweichend = 0;
    QStringList zeilenBelege;
    QHash<quint64, const TEintrag*> eintragZu;
    for (const TEintrag& e : eintraege) {
        const QString wer =
            u"Station %1, Messung %2 (Schlüssel %3)"_s.arg(e.Station).arg(e.Nummer).arg(
                e.Messung_ID);
        if (!e.Gespeichert)
            continue; // counted by its driver
        if (eintragZu.contains(e.Messung_ID)) {
            ++doppelt;
            Beleg(zeilenBelege, wer + u": Schlüssel schon von einer anderen Messung belegt"_s);
            continue;
        }
        eintragZu.insert(e.Messung_ID, &e);
        const auto it = zeilen.constFind(e.Messung_ID);
        if (it == zeilen.cend()) {
            ++fehlend;
            Beleg(zeilenBelege, wer + u": keine Zeile"_s);
            continue;
        }
        if (it->Mitarbeiter_ID != e.Mitarbeiter_ID || it->Name != e.Name || it->Ok != e.Ok ||
            it->Fehlercode != e.Fehlercode || it->Messwert1 != e.Messwert1 ||
            it->Messwert2 != e.Messwert2 || it->Messwert3 != e.Messwert3 ||
            it->Zeitstempel < Sekunde(e.Vor) || it->Zeitstempel > Sekunde(e.Nach)) {
            ++abweichend;
            Beleg(zeilenBelege,
                  wer +
                      u": Zeile %1|%2|%3|[%4]|%5 um %6, gemessen %7 … %8"_s.arg(it->Mitarbeiter_ID)
                          .arg(it->Name, it->Ok, it->Fehlercode, it->Messwert1,
                               Text(it->Zeitstempel), e.Vor.toString(), e.Nach.toString()));
        }
    }
    for (auto it = zeilen.cbegin(); it != zeilen.cend(); ++it) {
        if (!eintragZu.contains(it.key())) {
            ++doppelt;
            Beleg(zeilenBelege,
                  u"Zeile %1 (Mitarbeiter %2, %3) gehört zu keiner Messung"_s.arg(it.key())
                      .arg(it->Mitarbeiter_ID)
                      .arg(Text(it->Zeitstempel)));
        }
    }

    // One receipt per row, under the identity the station gave the result, naming its row and
    // its time.
    QHash<QString, QPair<quint64, QDateTime>> quittungen;
    qu.Close();
    qu.SQL().Clear();
    qu.SQL().Add(u"SELECT KENNUNG, MESSUNG_ID, ZEITSTEMPEL FROM ESD_MESSUNG_QUITTUNG"_s);
    for (qu.Open(); !qu.Eof(); qu.Next())
        quittungen.insert(qu.FieldByName(u"KENNUNG"_s).AsString(),
                          {qu.FieldByName(u"MESSUNG_ID"_s).AsString().toULongLong(),
                           Zeit(qu.FieldByName(u"ZEITSTEMPEL"_s))});
    int quittungFalsch = 0;
    for (const TEintrag& e : eintraege) {
        if (!e.Gespeichert)
            continue;
        const auto q = quittungen.constFind(e.Kennung);
        const auto zeile = zeilen.constFind(e.Messung_ID);
        if (q == quittungen.cend() || q->first != e.Messung_ID || zeile == zeilen.cend() ||
            q->second != zeile->Zeitstempel) {
            ++quittungFalsch;
            Beleg(zeilenBelege,
                  u"Station %1, Messung %2: keine passende Quittung %3"_s.arg(e.Station)
                      .arg(e.Nummer)
                      .arg(e.Kennung));
        }
    }
    if (quittungen.size() != zeilen.size()) {
        ++quittungFalsch;
        Beleg(zeilenBelege,
              u"%1 Quittungen für %2 Zeilen"_s.arg(quittungen.size()).arg(zeilen.size()));
    }

    // The stamps as committed, per employee in the order the row lock let them through: the last
    // write of each transaction and the value it replaced.
    QHash<int, std::vector<TStempel>> stempel;
    int mehrfach = 0; // transactions that wrote the stamp more than once
    qu.Close();
    qu.SQL().Clear();
    qu.SQL().Add(u"SELECT MITARBEITER_ID, VERBINDUNG, ABGESCHLOSSEN, LETZTE_ZEILE, ALT, NEU FROM "
                 "STEMPEL_PROTOKOLL ORDER BY PROTOKOLL_ID"_s);
    for (qu.Open(); !qu.Eof(); qu.Next()) {
        const TStempel schreiben{{qu.FieldByName(u"VERBINDUNG"_s).AsString().toULongLong(),
                                  qu.FieldByName(u"ABGESCHLOSSEN"_s).AsString().toULongLong()},
                                 qu.FieldByName(u"LETZTE_ZEILE"_s).AsString().toULongLong(),
                                 Zeit(qu.FieldByName(u"ALT"_s)),
                                 Zeit(qu.FieldByName(u"NEU"_s))};
        std::vector<TStempel>& liste = stempel[qu.FieldByName(u"MITARBEITER_ID"_s).AsInteger()];
        // While a transaction holds the row, nobody else writes it: its writes are adjacent.
        if (!liste.empty() && liste.back().Transaktion == schreiben.Transaktion) {
            ++mehrfach;
            liste.back().Neu = schreiben.Neu;
            liste.back().LetzteZeile = schreiben.LetzteZeile;
        } else {
            liste.push_back(schreiben);
        }
    }
    qu.Close();
    // Which station's measurement a row belongs to, with the local clock around it.
    const auto Herkunft = [&eintragZu, &zeilen](quint64 id) {
        const TEintrag* e = eintragZu.value(id);
        const auto zeile = zeilen.constFind(id);
        if (e == nullptr || zeile == zeilen.cend())
            return u"Zeile %1 (unbekannt)"_s.arg(id);
        return u"Station %1, Messung %2 (Zeile %3 um %4, gemessen %5 … %6)"_s.arg(e->Station)
            .arg(e->Nummer)
            .arg(id)
            .arg(Text(zeile->Zeitstempel), e->Vor.toString(u"hh:mm:ss.zzz"_s),
                 e->Nach.toString(u"hh:mm:ss.zzz"_s));
    };
    // The times of the pass rows per employee: every stamp written is one of them.
    QHash<int, QSet<QDateTime>> bestandenUm;
    for (auto it = zeilen.cbegin(); it != zeilen.cend(); ++it) {
        if (it->Ok == u"J"_s)
            bestandenUm[it->Mitarbeiter_ID].insert(it->Zeitstempel);
    }
    int rueckschritte = 0;
    QStringList stempelBelege;
    QHash<int, QDateTime> neuesterStempel = FAnfangsdatum;
    for (auto it = stempel.cbegin(); it != stempel.cend(); ++it) {
        const int id = it.key();
        const std::vector<TStempel>& liste = it.value();
        for (size_t i = 0; i < liste.size(); ++i) {
            const TStempel& s = liste[i];
            if (s.Vorher.isValid() && (!s.Neu.isValid() || s.Neu < s.Vorher)) {
                ++rueckschritte;
                Beleg(stempelBelege,
                      u"Mitarbeiter %1: der Stempel %2 überschreibt den neueren %3. Geschrieben "
                      "von %4, nachdem %5 gestempelt hatte"_s.arg(id)
                          .arg(Text(s.Neu), Text(s.Vorher), Herkunft(s.LetzteZeile),
                               i > 0 ? Herkunft(liste[i - 1].LetzteZeile) : u"?"_s));
            }
            // A pass's stamp is its row's time, fixed when the result was evaluated.
            if (!bestandenUm.value(id).contains(s.Neu)) {
                ++abweichend;
                Beleg(stempelBelege, u"Mitarbeiter %1: Stempel %2 von %3 ist die Zeit keiner "
                                     "bestandenen Messung"_s.arg(id)
                                         .arg(Text(s.Neu), Herkunft(s.LetzteZeile)));
            }
            QDateTime& neuester = neuesterStempel[id];
            if (!neuester.isValid() || s.Neu > neuester)
                neuester = s.Neu;
        }
    }
    for (auto it = bestandenUm.cbegin(); it != bestandenUm.cend(); ++it) {
        if (!stempel.contains(it.key())) {
            ++abweichend;
            Beleg(stempelBelege,
                  u"Mitarbeiter %1: %2 bestandene Messungen, kein Stempel"_s.arg(it.key()).arg(
                      it->size()));
        }
    }

    // Afterwards every employee carries the newest time stamped, which is never older than the
    // newest pass row.
    qu.Close();
    qu.SQL().Clear();
    qu.SQL().Add(u"SELECT m.MITARBEITER_ID, m.DATUM_ESD_MESSUNG, (SELECT MAX(w.ZEITSTEMPEL) FROM "
                 "ESD_MESSWERTE_SCHUHE w WHERE w.MITARBEITER_ID = m.MITARBEITER_ID AND "
                 "w.MESSWERTE_OK = 'J') AS NEUESTE FROM MITARBEITER m"_s);
    int stempelFalsch = 0;
    for (qu.Open(); !qu.Eof(); qu.Next()) {
        const int id = qu.FieldByName(u"MITARBEITER_ID"_s).AsInteger();
        const QDateTime d = Zeit(qu.FieldByName(u"DATUM_ESD_MESSUNG"_s));
        const QDateTime neueste = Zeit(qu.FieldByName(u"NEUESTE"_s));
        const QDateTime soll = neuesterStempel.value(id);
        if (d != soll || (neueste.isValid() && (!d.isValid() || d < neueste))) {
            ++stempelFalsch;
            Beleg(stempelBelege, u"Mitarbeiter %1 trägt %2, neuester Stempel %3, neueste "
                                 "bestandene Zeile %4"_s.arg(id)
                                     .arg(Text(d), Text(soll), Text(neueste)));
        }
    }
    qu.Close();

    const quint64 deadlocks = Status(u"Innodb_deadlocks"_s) - deadlocksVorher;
    const quint64 sperrwarten = Status(u"Innodb_row_lock_waits"_s) - sperrwartenVorher;
    const int messungen = kStationen * kMessungenJeStation;
    const QString zusammenfassung =
        u"LAST gesamt stationen=%1 messungen=%2 zeilen=%3 doppelt=%4 fehlend=%5 "
        "stempel_falsch=%6 tafel_abfragen=%7 tafel_inkonsistent=%8 sekunden=%9 "
        "messungen_pro_sekunde=%10 abweichend=%11 fehler=%12 wiederholungen=%13 deadlocks=%14 "
        "sperrwarten=%15 stempel_rueckschritte=%16 quittung_falsch=%17"_s.arg(kStationen)
            .arg(messungen)
            .arg(zeilen.size())
            .arg(doppelt)
            .arg(fehlend)
            .arg(stempelFalsch)
            .arg(FTafelAbfragen)
            .arg(FTafelInkonsistent)
            .arg(QString::number(sekunden, 'f', 1))
            .arg(QString::number(sekunden > 0 ? messungen / sekunden : 0.0, 'f', 1))
            .arg(abweichend)
            .arg(fehler)
            .arg(wiederholungen)
            .arg(deadlocks)
            .arg(sperrwarten)
            .arg(rueckschritte)
            .arg(quittungFalsch);
    qInfo().noquote() << zusammenfassung;
    const QString ablage = qEnvironmentVariable("TS_ZUVERLAESSIGKEIT");
    if (!ablage.isEmpty() && QFileInfo(ablage).isDir()) {
        QFile bericht(QDir(ablage).filePath(u"last.txt"_s));
        QVERIFY(bericht.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text));
        const QByteArray zeile = (zusammenfassung + u'\n').toUtf8();
        QVERIFY(bericht.write(zeile) == zeile.size());
    }
    for (const QStringList* belege : {&treiberBelege, &zeilenBelege, &stempelBelege, &FTafelBelege})
        for (const QString& beleg : *belege)
            qWarning().noquote() << beleg;

    QCOMPARE(fehler, 0);
    QCOMPARE(wiederholungen, 0);
    QCOMPARE(deadlocks, quint64(0));
    QCOMPARE(int(zeilen.size()), messungen);
    QCOMPARE(doppelt, 0);
    QCOMPARE(fehlend, 0);
    QCOMPARE(quittungFalsch, 0);
    QCOMPARE(abweichend, 0);
    QCOMPARE(stempelFalsch, 0);
    QCOMPARE(rueckschritte, 0);
    QCOMPARE(mehrfach, 0);
    QCOMPARE(FTafelInkonsistent, 0);
    QVERIFY(FTafel.Wiederaufbauten() == 0 && FPruefer.Wiederaufbauten() == 0);
}

QTEST_GUILESS_MAIN(TstVieleStationen)
#include "tst_viele_stationen.moc"
