// Benchmark of the station's real paths, each beside its floor measured in the same run: the
// same statements sent raw over Connector/C, the same JPEGs decoded, the same start without the
// station. Station and floor take turns, so that a busy moment of the machine hits both.
#include "AsciiGross.h"
#include "DBAbfrage.h"
#include "DBFeld.h"
#include "DBVerbindung.h"
#include "EinstellungenErstellen.h"
#include "Fensterset.h"
#include "Grossfirma.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Rohclient.h"
#include "Start.h"
#include "Stationstreiber.h"
#include "Tafel.h"
#include "Uhr.h"
#include "Verbindungsoptionen.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMeldung.h"
#include "uMessung.h"

#include <sqlite3.h>

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFuture>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QUuid>
#include <QtConcurrentRun>

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kFehlgeschlagen = 1;
// Departments 1 and 2 of the menu have kJeGemessenerAbteilung employees in every size.
constexpr int kGemesseneAbteilungen = 2;

struct TZugang
{
    QString Server;
    int Port = 3306;
    QString Benutzer;
    QString Passwort;
};

QTextStream& Fehler()
{
    static QTextStream strom(stderr);
    return strom;
}

double Ms(qint64 ns)
{
    return double(ns) / 1e6;
}

// Runs the event loop until the condition holds; throws after ms.
template <typename Bedingung> void WarteAuf(Bedingung bedingung, const char* was, int ms = 20000)
{
    const QDeadlineTimer frist(ms);
    while (!bedingung()) {
        if (frist.hasExpired())
            throw std::runtime_error(std::string("gewartet auf: ") + was);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Message boxes of the station: any one means the figures are not those of a working station.
QStringList Meldungen;

void KeineMeldung()
{
    if (!Meldungen.isEmpty())
        throw std::runtime_error("Meldung der Station: " + Meldungen.join(u" | "_s).toStdString());
}

// The offscreen platform cannot raise a window and says so in every cycle.
QtMessageHandler Standardausgabe = nullptr;
void OhneRaiseHinweis(QtMsgType art, const QMessageLogContext& ort, const QString& text)
{
    if (art == QtWarningMsg && text == u"This plugin does not support raise()")
        return;
    Standardausgabe(art, ort, text);
}

// Einstellungen.ini in the directory for this database and tester device.
void SchreibeEinstellungen(const QTemporaryDir& verzeichnis, const TZugang& zugang,
                           const QString& datenbank, const QString& geraet)
{
    TKlarEinstellungen werte;
    werte.Hostname = zugang.Server;
    werte.Port = zugang.Port;
    werte.Username = zugang.Benutzer;
    werte.Passwort = zugang.Passwort;
    werte.Datenbank = datenbank;
    werte.Mandant = u"Muster GmbH"_s;
    werte.COM = u"6"_s;
    werte.Geraet = geraet;
    QFile datei(verzeichnis.filePath(u"Einstellungen.ini"_s));
    if (!datei.open(QIODevice::WriteOnly) ||
        datei.write(ErstelleEinstellungsText(werte).toUtf8()) < 0)
        throw std::runtime_error("Einstellungen.ini nicht schreibbar");
}

// The station's windows on one database and a pseudo-terminal as its tester's line. Any
// message box ends the benchmark: the figures would not be those of a working station.
class TStation
{
public:
    TStation(const TZugang& zugang, const QString& datenbank)
    {
        SchreibeEinstellungen(FVerzeichnis, zugang, datenbank, FPty.Geraet());
        FFenster = std::make_unique<TFensterset>();
        FTreiber = std::make_unique<TStationstreiber>(*FMain, *FMessung, &FPty);
        FTreiber->Anhalten(TUhr::Messung);
        FDM->SetzeEinstellungsVerzeichnis(FVerzeichnis.path());
        FMain->ZeigeVollbild();
        const QPushButton* erster = FTreiber->AufTafel<QPushButton>(u"btnAbteilung_B1"_s);
        WarteAuf([erster] { return !erster->text().isEmpty(); }, "Abteilungsmenü");
        KeineMeldung();
        FGut = FTreiber->InMessung(u"imgGut"_s);
        FGut->installEventFilter(&FGemalt);
    }

    ~TStation()
    {
        FTreiber.reset();
        FFenster.reset();
    }

    // Taps the department button and paints the board; nanoseconds until the tiles are shown.
    qint64 Tafel(int knopf)
    {
        auto* abteilung =
            FTreiber->AufTafel<QPushButton>(u"btnAbteilung_B"_s + QString::number(knopf + 1));
        const qint64 beginn = Uhr::JetztNs();
        abteilung->click();
        FMain->repaint();
        const qint64 dauer = Uhr::JetztNs() - beginn;
        KeineMeldung();
        if (!FTreiber->Foto(Tafel::kKachelnJeSeite)->isVisible() ||
            FTreiber->Foto(1)->Pixmap().isNull())
            throw std::runtime_error("Tafel ohne 24 Kacheln mit Fotos");
        return dauer;
    }

    // One measurement of the tile's employee: its result lines, the line end of the result
    // written last. Nanoseconds from that CR to the committed row and the painted result.
    qint64 Messung(int kachel)
    {
        FTreiber->TippeKachel(kachel + 1);
        WarteAuf([this] { return FTreiber->PortOffen(); }, "offene Schnittstelle");
        QCoreApplication::processEvents();
        const QByteArray zeilen =
            Pruefgeraet::Gerahmt(Pruefgeraet::Bestanden(), Pruefgeraet::TRahmen::CR);
        if (!FPty.Schreiben(zeilen.chopped(1)))
            throw std::runtime_error("Prüfgeräteleitung");
        WarteAuf([] { return FMessung->Auswertung.Zeile == u"ERG OK"_s; }, "Ergebniszeile");
        const int gemalt = FGemalt.Anzahl;
        const qint64 beginn = Uhr::JetztNs();
        FPty.Schreiben(zeilen.right(1));
        WarteAuf([this] { return FGut->isVisible(); }, "Ergebnis", 20000);
        // The paint the station itself asked for, no more: what changed, not the whole window.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        const qint64 dauer = Uhr::JetztNs() - beginn;
        if (FGemalt.Anzahl == gemalt)
            throw std::runtime_error("Ergebnisbild nicht gemalt");
        if (Fehlermeldung->isVisible())
            throw std::runtime_error("Messung nicht gespeichert");
        FTreiber->Tick(TUhr::Messung);
        QCoreApplication::processEvents();
        KeineMeldung();
        return dauer;
    }

    TPseudoTerminal& Leitung() { return FPty; }
    const TStationstreiber& Treiber() const { return *FTreiber; }

private:
    // Counts the paint events of the watched widget.
    struct TMalzaehler : QObject
    {
        int Anzahl = 0;
        bool eventFilter(QObject*, QEvent* ereignis) override
        {
            if (ereignis->type() == QEvent::Paint)
                ++Anzahl;
            return false;
        }
    };

    QTemporaryDir FVerzeichnis;
    TPseudoTerminal FPty;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FTreiber;
    // The result picture, found once: the wait for it is inside the measured time.
    QWidget* FGut = nullptr;
    TMalzaehler FGemalt;
};

// What the station sent while the action ran, from the server's log: on its own connection, or,
// given a statement's beginning, on the connection that sent it (the forwarder records results
// on a connection of its own).
QList<QByteArray> Mitgeschnitten(TRohverbindung& roh, const std::function<void()>& aktion,
                                 const QByteArray& kennzeichen = {})
{
    roh.Ausfuehren("SET GLOBAL log_output = 'TABLE'");
    roh.Ausfuehren("TRUNCATE TABLE mysql.general_log");
    roh.Ausfuehren("SET GLOBAL general_log = 1");
    aktion();
    roh.Ausfuehren("SET GLOBAL general_log = 0");
    QByteArray verbindung = QByteArray::number(qulonglong(FDM->MyCon.ServerThreadId()));
    if (!kennzeichen.isEmpty()) {
        const TRohergebnis sender =
            roh.Abfrage("SELECT thread_id FROM mysql.general_log WHERE command_type = 'Query' AND "
                        "argument LIKE '" +
                        kennzeichen + "%' LIMIT 1");
        if (sender.Zeilen.isEmpty())
            return {};
        verbindung =
            QByteArray(sender.Zeilen[0].value(0).constData(), sender.Zeilen[0].value(0).size());
    }
    const TRohergebnis log = roh.Abfrage(
        "SELECT argument FROM mysql.general_log WHERE command_type = 'Query' AND thread_id = " +
        verbindung);
    QList<QByteArray> anweisungen;
    for (const QList<QByteArray>& zeile : log.Zeilen)
        anweisungen.append(QByteArray(zeile.value(0).constData(), zeile.value(0).size()));
    return anweisungen;
}

struct TZahl
{
    double Median = 0;
    double Boden = 0;
    // The board only: what the machine needs at least, whatever statements the station sends.
    double Maschine = 0;
};

// Decodes one photo at the tile's size, as the station's photos are decoded; with
// erstVollstaendig at full size first, then smoothly scaled.
QImage Dekodiert(const QByteArray& jpeg, QSize kachel, bool erstVollstaendig = false)
{
    QBuffer puffer;
    puffer.setData(jpeg);
    puffer.open(QIODevice::ReadOnly);
    QImageReader leser(&puffer, "jpeg");
    if (!erstVollstaendig)
        leser.setScaledSize(kachel);
    QImage bild = leser.read();
    if (bild.isNull())
        throw std::runtime_error("Foto nicht lesbar");
    return erstVollstaendig ? bild.scaled(kachel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            : bild;
}

// The board: station taps against two floors. The replay: the statements the station sent,
// captured, sent raw, plus the 24 scaled decodes one after another. The machine's: the
// station's department statement, 24 look-ups of employee and contact by primary key, each
// photo decoding on Qt's global thread pool from the moment it is in, as the station's do.
TZahl Tafelfuellung(TStation& station, TRohverbindung& roh, int wiederholungen)
{
    station.Tafel(0);
    const QList<QByteArray> anweisungen = Mitgeschnitten(roh, [&station] { station.Tafel(1); });
    Fehler() << "  Boden der Tafel: " << anweisungen.size() << " Anweisungen" << Qt::endl;
    const TKachelFoto* ersteKachel = station.Treiber().Foto(1);
    const QSize kachel = ersteKachel->size() * ersteKachel->devicePixelRatioF();
    const auto boden = [&roh, &anweisungen, kachel] {
        const qint64 beginn = Uhr::JetztNs();
        int fotos = 0;
        for (const QByteArray& anweisung : anweisungen) {
            const TRohergebnis ergebnis = roh.Abfrage(anweisung);
            // The employee list carries photos too; only the contact loads' are shown.
            const int foto = ergebnis.Spalte("FOTO");
            if (foto < 0 || ergebnis.Zeilen.size() != 1)
                continue;
            Dekodiert(ergebnis.Zeilen.first().value(foto), kachel);
            ++fotos;
        }
        if (fotos != Tafel::kKachelnJeSeite)
            throw std::runtime_error("Boden der Tafel ohne 24 Fotos");
        return Uhr::JetztNs() - beginn;
    };

    // The station's department statement: it carries the department's photos too.
    QByteArray liste;
    for (const QByteArray& anweisung : anweisungen)
        if (anweisung.startsWith("SELECT * FROM MITARBEITER INNER JOIN (KONTAKTDATEN, "
                                 "VORGABEN_ABTEILUNG)"))
            liste = anweisung;
    if (liste.isEmpty())
        throw std::runtime_error("Mitarbeiterliste nicht mitgeschnitten");
    const auto maschine = [&roh, &liste, kachel] {
        const qint64 beginn = Uhr::JetztNs();
        const TRohergebnis mitarbeiter = roh.Abfrage(liste);
        const int id = mitarbeiter.Spalte("MITARBEITER_ID");
        if (id < 0 || mitarbeiter.Zeilen.size() < Tafel::kKachelnJeSeite)
            throw std::runtime_error("Mitarbeiterliste ohne 24 Mitarbeiter");
        QList<QFuture<void>> laeufe;
        for (int i = 0; i < Tafel::kKachelnJeSeite; ++i) {
            const QByteArray& schluessel = mitarbeiter.Zeilen[i].value(id);
            const TRohergebnis kontakt = roh.Abfrage(
                "SELECT * FROM MITARBEITER INNER JOIN KONTAKTDATEN ON MITARBEITER.KONTAKTDATEN_ID "
                "= KONTAKTDATEN.KONTAKTDATEN_ID WHERE MITARBEITER.MITARBEITER_ID = " +
                QByteArray(schluessel.constData(), schluessel.size()));
            const int foto = kontakt.Spalte("FOTO");
            if (foto < 0 || kontakt.Zeilen.size() != 1)
                throw std::runtime_error("Kontakt ohne Foto");
            // The result travels with its photo, whose bytes it holds.
            laeufe.append(QtConcurrent::run([kontakt, foto, kachel] {
                Dekodiert(kontakt.Zeilen.first().value(foto), kachel);
            }));
        }
        for (QFuture<void>& lauf : laeufe)
            lauf.waitForFinished();
        return Uhr::JetztNs() - beginn;
    };

    QList<double> werte;
    QList<double> boeden;
    QList<double> maschinen;
    for (int i = 0; i < wiederholungen; ++i) {
        werte.append(Ms(station.Tafel(i % kGemesseneAbteilungen)));
        boeden.append(Ms(boden()));
        maschinen.append(Ms(maschine()));
    }
    return {Uhr::Median(werte), Uhr::Median(boeden), Uhr::Median(maschinen)};
}

struct TDekodierung
{
    QSize Kachel;
    double Skaliert = 0;
    double Vollstaendig = 0;
};

// One photo of the company at the tile's size: decoded straight to it, or at full size first
// and then scaled. Milliseconds, one thread.
TDekodierung Dekodierung(TStation& station, TRohverbindung& roh, int wiederholungen)
{
    const TRohergebnis zeile = roh.Abfrage("SELECT FOTO FROM MITARBEITER WHERE MITARBEITER_ID = 2");
    const QByteArray jpeg = zeile.Zeilen.value(0).value(0);
    const TKachelFoto* ersteKachel = station.Treiber().Foto(1);
    const QSize kachel = ersteKachel->size() * ersteKachel->devicePixelRatioF();
    QList<double> skaliert;
    QList<double> vollstaendig;
    for (int i = 0; i < wiederholungen; ++i) {
        for (const bool erstVollstaendig : {false, true}) {
            const qint64 beginn = Uhr::JetztNs();
            Dekodiert(jpeg, kachel, erstVollstaendig);
            (erstVollstaendig ? vollstaendig : skaliert).append(Ms(Uhr::JetztNs() - beginn));
        }
    }
    return {kachel, Uhr::Median(skaliert), Uhr::Median(vollstaendig)};
}

// One byte from the tester's side of the line to the station's side.
qint64 Leitungsumlauf(TPseudoTerminal& pty)
{
    const int station = ::open(pty.Geraet().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (station < 0)
        throw std::runtime_error("Pseudo-Terminal nicht zu öffnen");
    const qint64 beginn = Uhr::JetztNs();
    char zeichen = '\r';
    pollfd bereit{station, POLLIN, 0};
    const bool ok = ::write(pty.Dateideskriptor(), &zeichen, 1) == 1 &&
                    ::poll(&bereit, 1, 5000) == 1 && ::read(station, &zeichen, 1) == 1;
    const qint64 dauer = Uhr::JetztNs() - beginn;
    ::close(station);
    if (!ok)
        throw std::runtime_error("Pseudo-Terminal antwortet nicht");
    return dauer;
}

// The floor's share of the station's journal: one result durably into a SQLite file set up as
// the journal is (exclusive, WAL, synchronous FULL), by the C library without any layer.
class TRohjournal
{
public:
    TRohjournal()
    {
        const QByteArray datei = FVerzeichnis.filePath(u"boden.sqlite"_s).toLocal8Bit();
        if (sqlite3_open(datei.constData(), &FDb) != SQLITE_OK ||
            sqlite3_exec(FDb,
                         "PRAGMA locking_mode = EXCLUSIVE; PRAGMA journal_mode = WAL; "
                         "PRAGMA synchronous = FULL; CREATE TABLE MESSUNG (NR INTEGER PRIMARY "
                         "KEY, KENNUNG TEXT UNIQUE, ZEITSTEMPEL TEXT, MITARBEITER_ID TEXT, NAME "
                         "TEXT, WERTE TEXT, OK INTEGER)",
                         nullptr, nullptr, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(FDb,
                               "INSERT INTO MESSUNG (KENNUNG, ZEITSTEMPEL, MITARBEITER_ID, NAME, "
                               "WERTE, OK) VALUES (?, '2026-12-11 06:00:00', '1234', 'ma1234', "
                               "' 0.35| 0.40| 1.1|', 1)",
                               -1, &FEinfuegen, nullptr) != SQLITE_OK)
            throw std::runtime_error("Boden-Journal nicht anzulegen");
    }
    ~TRohjournal()
    {
        sqlite3_finalize(FEinfuegen);
        sqlite3_close(FDb);
    }
    TRohjournal(const TRohjournal&) = delete;
    TRohjournal& operator=(const TRohjournal&) = delete;

    void Eintragen()
    {
        const QByteArray kennung = QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
        sqlite3_reset(FEinfuegen);
        sqlite3_bind_text(FEinfuegen, 1, kennung.constData(), int(kennung.size()),
                          SQLITE_TRANSIENT);
        if (sqlite3_step(FEinfuegen) != SQLITE_DONE)
            throw std::runtime_error("Boden-Journal nicht beschreibbar");
    }

private:
    QTemporaryDir FVerzeichnis;
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FEinfuegen = nullptr;
};

// The result line's CR to the stored row: station cycles against the journal's write and the
// recording's statements raw, plus a byte through a pseudo-terminal.
TZahl ZeileZuZeile(TStation& station, TRohverbindung& roh, int wiederholungen)
{
    station.Tafel(0);
    station.Messung(0);
    // Only the recording: the tap is done and the line is open when the log starts.
    QList<QByteArray> anweisungen;
    {
        const TStationstreiber& treiber = station.Treiber();
        treiber.TippeKachel(2);
        WarteAuf([&treiber] { return treiber.PortOffen(); }, "offene Schnittstelle");
        anweisungen = Mitgeschnitten(
            roh,
            [&treiber] {
                treiber.Sende(Pruefgeraet::Bestanden(), Pruefgeraet::TRahmen::CR);
                WarteAuf([&treiber] { return treiber.Zeigt(u"imgGut"_s); }, "Ergebnis");
            },
            "INSERT INTO ESD_MESSWERTE_SCHUHE");
        treiber.Tick(TUhr::Messung);
        QCoreApplication::processEvents();
    }
    Fehler() << "  Boden der Buchung: " << anweisungen.size() << " Anweisungen" << Qt::endl;
    if (!anweisungen.join('\n').contains("INSERT INTO ESD_MESSWERTE_SCHUHE"))
        throw std::runtime_error("Buchung nicht mitgeschnitten");
    // Replayed as captured, the date stamp would write the value it already holds, which the
    // server skips. The station always writes a new one; so the floor's row gets an old stamp
    // back before each turn, before the station's cycle and outside the measured time.
    QList<QByteArray> zuruecksetzen;
    static const QRegularExpression zeitstempel(u"'\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d'"_s);
    for (const QByteArray& anweisung : anweisungen) {
        if (!anweisung.startsWith("UPDATE MITARBEITER"))
            continue;
        QString alt = QString::fromUtf8(anweisung);
        if (!alt.contains(zeitstempel))
            throw std::runtime_error("Datumsstempel ohne Zeitpunkt");
        zuruecksetzen.append(alt.replace(zeitstempel, u"'2000-01-01 00:00:00'"_s).toUtf8());
    }
    if (zuruecksetzen.isEmpty())
        throw std::runtime_error("Datumsstempel nicht mitgeschnitten");
    // The receipt's key is the result's identity: the replay may store it again only once the
    // previous turn's receipt is gone.
    static const QRegularExpression kennung(
        u"'[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}'"_s);
    for (const QByteArray& anweisung : anweisungen) {
        if (!anweisung.startsWith("INSERT INTO ESD_MESSUNG_QUITTUNG"))
            continue;
        const QRegularExpressionMatch treffer = kennung.match(QString::fromUtf8(anweisung));
        if (!treffer.hasMatch())
            throw std::runtime_error("Quittung ohne Kennung");
        zuruecksetzen.append("DELETE FROM ESD_MESSUNG_QUITTUNG WHERE KENNUNG = " +
                             treffer.captured().toUtf8());
    }
    QList<double> werte;
    QList<double> boeden;
    TRohjournal journal;
    for (int i = 0; i < wiederholungen; ++i) {
        for (const QByteArray& anweisung : zuruecksetzen)
            roh.Ausfuehren(anweisung);
        werte.append(Ms(station.Messung(i % Tafel::kKachelnJeSeite)));
        const qint64 leitung = Leitungsumlauf(station.Leitung());
        const qint64 beginn = Uhr::JetztNs();
        journal.Eintragen();
        for (const QByteArray& anweisung : anweisungen)
            roh.Ausfuehren(anweisung);
        boeden.append(Ms(leitung + Uhr::JetztNs() - beginn));
    }
    return {Uhr::Median(werte), Uhr::Median(boeden)};
}

// The server's time for one tile's contact load, from ANALYZE of the captured statement.
double ServerzeitJeKachel(TStation& station, TRohverbindung& protokoll, TRohverbindung& datenbank)
{
    const QList<QByteArray> anweisungen =
        Mitgeschnitten(protokoll, [&station] { station.Tafel(0); });
    for (const QByteArray& anweisung : anweisungen) {
        if (!anweisung.startsWith("Select * From MITARBEITER INNER JOIN (KONTAKTDATEN, PLZ"))
            continue;
        const TRohergebnis plan = datenbank.Abfrage("ANALYZE FORMAT=JSON " + anweisung);
        const QJsonObject json = QJsonDocument::fromJson(plan.Zeilen.value(0).value(0)).object();
        const QJsonValue ms = json[u"query_block"_s][u"r_total_time_ms"_s];
        if (!ms.isDouble())
            throw std::runtime_error("ANALYZE ohne Zeit");
        // A look-up by key reads its rows while the plan is made, before the execution proper.
        return json[u"query_optimization"_s][u"r_total_time_ms"_s].toDouble() + ms.toDouble();
    }
    throw std::runtime_error("Kontaktsuche der Kachel nicht mitgeschnitten");
}

// The department list through the station's query layer, as at start.
double Abteilungsliste(int wiederholungen)
{
    QList<double> werte;
    for (int i = 0; i < wiederholungen; ++i) {
        const qint64 beginn = Uhr::JetztNs();
        TDBAbfrage& abfrage = FDM->quSuchen;
        abfrage.Close();
        abfrage.SQL().Clear();
        abfrage.SQL().Add(Tafel::AbteilungenSql(u"Muster GmbH"_s));
        abfrage.Open();
        QStringList namen;
        for (abfrage.First(); !abfrage.Eof(); abfrage.Next())
            namen.append(abfrage.FieldByName(u"ABTEILUNG"_s).AsString());
        werte.append(Ms(Uhr::JetztNs() - beginn));
        if (namen.size() != Grossfirma::kAbteilungen)
            throw std::runtime_error("Abteilungsliste unvollständig");
    }
    return Uhr::Median(werte);
}

// The badge look-up as the board runs it, for the company's last employee: one row.
double Ausweissuche(int wiederholungen)
{
    TDBAbfrage& abfrage = FDM->quSuchen;
    abfrage.Close();
    abfrage.SQL().Clear();
    abfrage.SQL().Add(u"SELECT PERSONALNUMMER FROM MITARBEITER ORDER BY MITARBEITER_ID DESC "
                      "LIMIT 1"_s);
    abfrage.Open();
    const QString nummer = abfrage.Fields(0).AsString();
    QList<double> werte;
    for (int i = 0; i < wiederholungen; ++i) {
        const qint64 beginn = Uhr::JetztNs();
        abfrage.Close();
        abfrage.SQL().Clear();
        abfrage.SQL().Add(Tafel::AusweisSql(u"Muster GmbH"_s));
        abfrage.ParamByName(u"AUSWEIS"_s).SetAsString(nummer);
        abfrage.Open();
        const int treffer = abfrage.RecordCount();
        werte.append(Ms(Uhr::JetztNs() - beginn));
        if (treffer != 1)
            throw std::runtime_error("Ausweis nicht eindeutig gefunden");
    }
    abfrage.Close();
    return Uhr::Median(werte);
}

// Milliseconds from starting the program to its "BEREIT <ns>" line.
double Startzeit(const QString& programm, const QStringList& argumente)
{
    QProcess prozess;
    prozess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 beginn = Uhr::JetztNs();
    prozess.start(programm, argumente);
    if (!prozess.waitForFinished(60000) || prozess.exitCode() != 0)
        throw std::runtime_error("Start von " + programm.toStdString() + " misslungen");
    const QByteArray ausgabe = prozess.readAllStandardOutput().trimmed();
    bool ok = false;
    const qint64 bereit = ausgabe.mid(ausgabe.lastIndexOf(' ') + 1).toLongLong(&ok);
    if (!ausgabe.startsWith("BEREIT ") || !ok)
        throw std::runtime_error("keine Meldung BEREIT von " + programm.toStdString());
    return Ms(bereit - beginn);
}

TZahl Start(const QString& startzeit, const QString& startboden, const TZugang& zugang,
            const QString& datenbank, int wiederholungen)
{
    QTemporaryDir verzeichnis;
    SchreibeEinstellungen(verzeichnis, zugang, datenbank, QString());
    const QStringList boden{zugang.Server, QString::number(zugang.Port), zugang.Benutzer,
                            zugang.Passwort, datenbank};
    // The first start of each warms the page cache; it is not counted.
    Startzeit(startzeit, {verzeichnis.path()});
    Startzeit(startboden, boden);
    QList<double> station;
    QList<double> boeden;
    for (int i = 0; i < wiederholungen; ++i) {
        station.append(Startzeit(startzeit, {verzeichnis.path()}));
        boeden.append(Startzeit(startboden, boden));
    }
    return {Uhr::Median(station), Uhr::Median(boeden)};
}

struct TSpeicher
{
    qint64 SpitzeKb = 0;
    qint64 Nach100Kb = 0;
    qint64 EndeKb = 0;
};

// Runs in a process of its own, so that the peak is the station's alone.
TSpeicher Speicherverlauf(const TZugang& zugang, const QString& datenbank, int fuellungen,
                          int zyklen)
{
    TStation station(zugang, datenbank);
    for (int i = 0; i < fuellungen; ++i)
        station.Tafel(i % kGemesseneAbteilungen);
    station.Tafel(0);
    TSpeicher speicher;
    for (int i = 1; i <= zyklen; ++i) {
        station.Messung((i - 1) % Tafel::kKachelnJeSeite);
        if (i == std::min(100, zyklen))
            speicher.Nach100Kb = Uhr::StatusKb("VmRSS:");
    }
    speicher.EndeKb = Uhr::StatusKb("VmRSS:");
    speicher.SpitzeKb = Uhr::StatusKb("VmHWM:");
    return speicher;
}

// Measurements per second of n load drivers at once, each with its own connection and its own
// kJeStation employees, as at the entrances of one plant: wall-clock time from the first start to
// the last end, so that start-up counts against the rate.
constexpr int kJeStation = 500;
double Stationen(const QString& programm, const TZugang& zugang, const QString& datenbank, int n,
                 int jeStation)
{
    std::vector<std::unique_ptr<QProcess>> treiber;
    const qint64 beginn = Uhr::JetztNs();
    for (int k = 1; k <= n; ++k) {
        auto prozess = std::make_unique<QProcess>();
        prozess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        prozess->start(programm,
                       {u"--hostname"_s, zugang.Server, u"--port"_s, QString::number(zugang.Port),
                        u"--username"_s, zugang.Benutzer, u"--passwort-stdin"_s, u"--datenbank"_s,
                        datenbank, u"--anzahl"_s, QString::number(jeStation), u"--station"_s,
                        QString::number(k), u"--mitarbeiter"_s,
                        u"%1-%2"_s.arg(2 + (k - 1) * kJeStation).arg(1 + k * kJeStation)});
        prozess->write(zugang.Passwort.toUtf8() + '\n');
        prozess->closeWriteChannel();
        treiber.push_back(std::move(prozess));
    }
    for (const auto& prozess : treiber)
        if (!prozess->waitForFinished(600000) || prozess->exitCode() != 0)
            throw std::runtime_error("Lasttreiber misslungen");
    return double(n) * jeStation / (double(Uhr::JetztNs() - beginn) / 1e9);
}

QString Zahl(double wert, int stellen = 1)
{
    return QString::number(wert, 'f', stellen);
}

QString Erfuellt(bool ja)
{
    return ja ? u"yes"_s : u"**no**"_s;
}

} // namespace

int main(int argc, char* argv[])
{
    // Offscreen unless told otherwise, for this process and the start-up programs it runs: the
    // figures must not depend on a display server's load.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication anwendung(argc, argv);
    QApplication::setApplicationName(u"teststation-bench"_s);
    Standardausgabe = qInstallMessageHandler(OhneRaiseHinweis);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Misst die Wege der Teststation neben ihrem Boden (dieselben Anweisungen roh über "
        u"Connector/C, dieselben JPEGs dekodiert, derselbe Start ohne Station) und gibt eine "
        u"Markdown-Tabelle aus. --fuellen legt vorher eine große Firma an."_s);
    const TVerbindungsoptionen verbindung(u"Datenbank der großen Firma (Pflicht)."_s);
    const QCommandLineOption fuellen(
        u"fuellen"_s, u"Nur füllen: die leere Datenbank (db/schema.sql) bekommt N Mitarbeiter."_s,
        u"N"_s);
    const QCommandLineOption messungen(u"messungen"_s,
                                       u"Mit --fuellen: Zahl der Messungen (Vorgabe 1000000)."_s,
                                       u"N"_s, u"1000000"_s);
    const QCommandLineOption speicher(
        u"speicher"_s, u"Nur den Speicher messen (ein eigener Prozess des Vergleichs)."_s);
    const QCommandLineOption skala(
        u"skala"_s,
        u"Drei Datenbanken mit 100, 10000 und 100000 Mitarbeitern, durch Komma getrennt."_s,
        u"DBS"_s);
    const QCommandLineOption programme(
        u"programme"_s,
        u"Verzeichnis von teststation-startzeit, teststation-startboden und "
        u"teststation-stationslast (Vorgabe: das dieses Programms)."_s,
        u"VERZ"_s);
    const QCommandLineOption wiederholungen(u"wiederholungen"_s,
                                            u"Messungen je Zahl (Vorgabe 50)."_s, u"N"_s, u"50"_s);
    const QCommandLineOption nur(
        u"nur"_s,
        u"Nur eine Zahl messen und ausgeben, etwa unter einem Profiler: tafel, zeile oder "
        u"start."_s,
        u"ZAHL"_s);
    parser.addOptions(verbindung.Alle());
    parser.addOptions({fuellen, messungen, speicher, skala, programme, wiederholungen, nur});
    QTextStream aus(stdout);
    if (const std::optional<int> ende =
            verbindung.Einlesen(parser, QCoreApplication::arguments(), aus, Fehler()))
        return *ende;
    if (!verbindung.Vollstaendig(parser, {}, Fehler()))
        return TVerbindungsoptionen::kFalscheEingabe;
    QFile eingabe;
    if (!eingabe.open(stdin, QIODevice::ReadOnly))
        return kFehlgeschlagen;
    const TZugang zugang{parser.value(verbindung.Hostname), parser.value(verbindung.Port).toInt(),
                         parser.value(verbindung.Username), verbindung.Kennwort(parser, eingabe)};
    const QString datenbank = AsciiGross(parser.value(verbindung.Datenbank));
    const int n = std::max(1, parser.value(wiederholungen).toInt());
    const QString verzeichnis =
        parser.isSet(programme) ? parser.value(programme) : QCoreApplication::applicationDirPath();

    try {
        if (parser.isSet(fuellen)) {
            TDBVerbindung db;
            db.SetServer(zugang.Server);
            db.SetPort(zugang.Port);
            db.SetUsername(zugang.Benutzer);
            db.SetPassword(zugang.Passwort);
            db.SetDatabase(datenbank);
            db.SetConnected(true);
            Grossfirma::TGroesse groesse;
            groesse.Mitarbeiter = parser.value(fuellen).toInt();
            groesse.Messungen = parser.value(messungen).toLongLong();
            Grossfirma::Fuellen(db, groesse, [&datenbank](const QString& schritt) {
                Fehler() << datenbank << ": " << schritt << Qt::endl;
            });
            return 0;
        }

        BereiteAnwendungVor();
        Meldung::SetzeHandler([](Meldung::Art, const QString& text) {
            Meldungen.append(text);
            return Meldung::Antwort::Ok;
        });

        if (parser.isSet(speicher)) {
            const TSpeicher s = Speicherverlauf(zugang, datenbank, 50, 1000);
            aus << "SPEICHER spitze_kb=" << s.SpitzeKb << " nach_100_kb=" << s.Nach100Kb
                << " ende_kb=" << s.EndeKb << Qt::endl;
            return 0;
        }

        // Freed memory stays with the process on both sides. The floor frees each result at once,
        // and glibc would hand the megabytes of the photo list back to the system every time, to
        // fault them in again for the next: work that no client needs to do. The station keeps
        // its last results until the next tap and hardly notices.
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        TRohverbindung roh(zugang.Server, zugang.Port, zugang.Benutzer, zugang.Passwort, datenbank);
        const auto startzeit = [&] {
            return Start(verzeichnis + u"/teststation-startzeit"_s,
                         verzeichnis + u"/teststation-startboden"_s, zugang, datenbank, n);
        };
        if (parser.isSet(nur)) {
            const QString was = parser.value(nur);
            if (was != u"tafel"_s && was != u"zeile"_s && was != u"start"_s)
                throw std::runtime_error("--nur kennt tafel, zeile und start");
            TZahl z;
            if (was == u"start"_s) {
                z = startzeit();
            } else {
                TStation station(zugang, datenbank);
                z = was == u"tafel"_s ? Tafelfuellung(station, roh, n)
                                      : ZeileZuZeile(station, roh, n);
            }
            aus << was << ": " << Zahl(z.Median, 2) << " ms, Boden " << Zahl(z.Boden, 2) << " ms"
                << (was == u"tafel"_s ? u", Maschine %1 ms"_s.arg(Zahl(z.Maschine, 2)) : QString())
                << Qt::endl;
            return 0;
        }
        Fehler() << "Start …" << Qt::endl;
        const TZahl start = startzeit();
        TZahl tafel;
        TZahl zeile;
        TDekodierung dekodierung;
        {
            TStation station(zugang, datenbank);
            Fehler() << "Tafel …" << Qt::endl;
            tafel = Tafelfuellung(station, roh, n);
            dekodierung = Dekodierung(station, roh, n);
            Fehler() << "Messungen …" << Qt::endl;
            zeile = ZeileZuZeile(station, roh, n);
        }

        Fehler() << "Speicher …" << Qt::endl;
        QProcess kind;
        kind.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList argumente = QCoreApplication::arguments().mid(1);
        argumente.removeAll(u"--passwort-stdin"_s);
        kind.start(QCoreApplication::applicationFilePath(),
                   argumente << u"--speicher"_s << u"--passwort-stdin"_s);
        kind.write(zugang.Passwort.toUtf8() + '\n');
        kind.closeWriteChannel();
        if (!kind.waitForFinished(1800000) || kind.exitCode() != 0)
            throw std::runtime_error("Speichermessung misslungen");
        const QByteArray zeileSpeicher = kind.readAllStandardOutput().trimmed();
        const auto kb = [&zeileSpeicher](const QByteArray& name) {
            for (const QByteArray& teil : zeileSpeicher.split(' '))
                if (teil.startsWith(name + '='))
                    return teil.mid(name.size() + 1).toLongLong();
            throw std::runtime_error("Speichermessung ohne " + name.toStdString());
        };
        const qint64 spitze = kb("spitze_kb");
        const qint64 zuwachs = kb("ende_kb") - kb("nach_100_kb");

        struct TSkala
        {
            QString Datenbank;
            double Tafel = 0;
            double Liste = 0;
            double Kontaktsuche = 0;
            double Ausweis = 0;
        };
        QList<TSkala> skalen;
        for (const QString& db : parser.value(skala).split(u',', Qt::SkipEmptyParts)) {
            Fehler() << "Skala " << db << " …" << Qt::endl;
            TStation station(zugang, AsciiGross(db));
            QList<double> werte;
            for (int i = 0; i < n; ++i)
                werte.append(Ms(station.Tafel(i % kGemesseneAbteilungen)));
            TRohverbindung rohDb(zugang.Server, zugang.Port, zugang.Benutzer, zugang.Passwort,
                                 AsciiGross(db));
            skalen.append({AsciiGross(db), Uhr::Median(werte), Abteilungsliste(n),
                           ServerzeitJeKachel(station, roh, rohDb), Ausweissuche(n)});
        }

        Fehler() << "Stationen …" << Qt::endl;
        const int mitarbeiter =
            roh.Abfrage("SELECT COUNT(*) FROM MITARBEITER WHERE MITARBEITER_ID > 1")
                .Zeilen.value(0)
                .value(0)
                .toInt();
        if (mitarbeiter < 20 * kJeStation)
            throw std::runtime_error("zu wenige Mitarbeiter für 20 Stationen");
        QList<QPair<int, double>> last;
        for (const int stationen : {1, 5, 20})
            last.append({stationen, Stationen(verzeichnis + u"/teststation-stationslast"_s, zugang,
                                              datenbank, stationen, 8000 / stationen)});

        aus << "| Figure | Median | Floor | Ratio | Goal | Met |\n";
        aus << "|---|---|---|---|---|---|\n";
        const auto zeileMitBoden = [&aus](const QString& name, const TZahl& z, double grenze,
                                          double hoechstensMs) {
            const double verhaeltnis = z.Median / z.Boden;
            const bool ok = verhaeltnis <= grenze && (hoechstensMs <= 0 || z.Median < hoechstensMs);
            aus << "| " << name << " | " << Zahl(z.Median, 2) << " ms | " << Zahl(z.Boden, 2)
                << " ms | " << Zahl(verhaeltnis, 2) << " | ≤ " << Zahl(grenze, 1) << " ×"
                << (hoechstensMs > 0 ? u" and < %1 ms"_s.arg(hoechstensMs) : QString()) << " | "
                << Erfuellt(ok) << " |\n";
        };
        zeileMitBoden(u"Board fill: department tap → 24 tiles with photos (replay floor)"_s, tafel,
                      1.3, 100);
        zeileMitBoden(u"Board fill against the machine's floor"_s,
                      {tafel.Median, tafel.Maschine, 0}, 1.5, 50);
        zeileMitBoden(u"Line to row: result CR → row committed, result shown"_s, zeile, 1.2, 0);
        zeileMitBoden(u"Start-up: process start → welcome card, connected, menu loaded"_s, start,
                      1.5, 0);
        aus << "| Peak memory: 50 board fills, then 1,000 cycles | "
            << Zahl(double(spitze) / 1024.0) << " MB | | | < 80 MB | "
            << Erfuellt(spitze < 80 * 1024) << " |\n";
        aus << "| Resident memory growth after the first 100 cycles | " << zuwachs
            << " kB | | | no growth (< 1 MB) | " << Erfuellt(zuwachs < 1024) << " |\n";
        if (skalen.size() == 3) {
            const auto skalenzeile = [&aus, &skalen](const QString& name, auto wert) {
                const double verhaeltnis = wert(skalen[2]) / wert(skalen[0]);
                aus << "| " << name << " | " << Zahl(wert(skalen[2]), 2) << " ms (100,000) | "
                    << Zahl(wert(skalen[0]), 2) << " ms (100) | " << Zahl(verhaeltnis, 2)
                    << " | ≤ 1.2 × | " << Erfuellt(verhaeltnis <= 1.2) << " |\n";
            };
            skalenzeile(u"Scale: board fill, 100,000 vs 100 employees"_s,
                        [](const TSkala& s) { return s.Tafel; });
            skalenzeile(u"Scale: department list, 100,000 vs 100 employees"_s,
                        [](const TSkala& s) { return s.Liste; });
            aus << "| Badge look-up at 100,000 employees | " << Zahl(skalen[2].Ausweis, 2)
                << " ms | | | < 5 ms | " << Erfuellt(skalen[2].Ausweis < 5) << " |\n";
        }
        aus << "\n| Employees | Board fill | Department list | One tile's contact load, server "
               "time (ANALYZE) | Badge look-up |\n|---|---|---|---|---|\n";
        const QStringList groessen{u"100"_s, u"10,000"_s, u"100,000"_s};
        for (qsizetype i = 0; i < skalen.size(); ++i)
            aus << "| " << groessen.value(i, skalen[i].Datenbank) << " | "
                << Zahl(skalen[i].Tafel, 2) << " ms | " << Zahl(skalen[i].Liste, 2) << " ms | "
                << Zahl(skalen[i].Kontaktsuche, 3) << " ms | " << Zahl(skalen[i].Ausweis, 2)
                << " ms |\n";
        aus << "\n| One photo at tile size, one thread | Decoder scaled to the tile | Full "
               "decode, then smooth scale |\n|---|---|---|\n| 600 × 750 → "
            << dekodierung.Kachel.width() << " × " << dekodierung.Kachel.height() << " | "
            << Zahl(dekodierung.Skaliert, 2) << " ms | " << Zahl(dekodierung.Vollstaendig, 2)
            << " ms |\n";
        aus << "\n| Concurrent stations | Measurements recorded per second |\n|---|---|\n";
        for (const auto& [stationen, rate] : last)
            aus << "| " << stationen << " | " << Zahl(rate) << " |\n";
        aus.flush();
    } catch (const std::exception& fehler) {
        Fehler() << "Abgebrochen: " << fehler.what() << Qt::endl;
        return kFehlgeschlagen;
    }
    return 0;
}
