// The journal file: opening, moving a damaged file aside, and the entries' statements.
#include "Journal.h"

#include "SqliteAnweisung.h"
#include "SqliteHandle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

const QString TJournal::kDateiname = u"journal.sqlite"_s;

namespace {

// The schema's version in PRAGMA user_version; a file with another one is not ours to use.
constexpr int kSchemaVersion = 1;

// Text, so the file reads the same in any SQLite shell and sorts by time; local wall time, as
// the server's DATETIME columns keep it.
const QString kZeitformat = u"yyyy-MM-dd hh:mm:ss"_s;

constexpr const char* kWartet = "wartet";
constexpr const char* kAbgewiesen = "abgewiesen";

// The first bytes of every SQLite database file.
const QByteArray kKopf("SQLite format 3\0", 16);

// NR with AUTOINCREMENT: a pruned number is never handed out again, so the sequence stays the
// order of measuring for as long as the file lives.
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS MESSUNG ("
    " NR INTEGER PRIMARY KEY AUTOINCREMENT,"
    " KENNUNG TEXT NOT NULL UNIQUE,"
    " ZEITSTEMPEL TEXT NOT NULL,"
    " STATION TEXT NOT NULL,"
    " MITARBEITER_ID TEXT NOT NULL,"
    " NAME TEXT NOT NULL,"
    " MESSWERT1 TEXT NOT NULL,"
    " MESSWERT2 TEXT NOT NULL,"
    " MESSWERT3 TEXT NOT NULL,"
    " FEHLERCODE TEXT NOT NULL,"
    " MESSWERTE_OK INTEGER NOT NULL CHECK (MESSWERTE_OK IN (0, 1)),"
    " ZUSTAND TEXT NOT NULL CHECK (ZUSTAND IN ('wartet', 'weitergeleitet', 'abgewiesen')),"
    " ERLEDIGT TEXT,"
    " MESSUNG_ID INTEGER,"
    " GRUND TEXT);"
    "CREATE INDEX IF NOT EXISTS MESSUNG_ZUSTAND ON MESSUNG (ZUSTAND, NR);"
    "CREATE INDEX IF NOT EXISTS MESSUNG_BESTANDEN ON MESSUNG (MITARBEITER_ID, MESSWERTE_OK, "
    "ZEITSTEMPEL);"
    // The board's copy for hours without the server: what the board last showed.
    "CREATE TABLE IF NOT EXISTS KOPIE_ABTEILUNG ("
    " MANDANT TEXT NOT NULL,"
    " NR INTEGER NOT NULL,"
    " ABTEILUNG TEXT NOT NULL,"
    " PRIMARY KEY (MANDANT, NR));"
    "CREATE TABLE IF NOT EXISTS KOPIE_PERSON ("
    " MITARBEITER_ID TEXT PRIMARY KEY,"
    " MANDANT TEXT NOT NULL,"
    " ABTEILUNG TEXT NOT NULL,"
    " NR INTEGER NOT NULL,"
    " NACHNAME TEXT NOT NULL,"
    " VORNAME TEXT NOT NULL,"
    " LOGINNAME TEXT NOT NULL,"
    " DATUM_ESD_MESSUNG TEXT,"
    " FOTO BLOB,"
    " FOTO_QUELLE TEXT);"
    "CREATE INDEX IF NOT EXISTS KOPIE_PERSON_TAFEL ON KOPIE_PERSON (MANDANT, ABTEILUNG, NR);"
    "PRAGMA user_version = 1;";

constexpr const char* kSpalten =
    "SELECT NR, KENNUNG, ZEITSTEMPEL, STATION, MITARBEITER_ID, NAME, MESSWERT1, MESSWERT2, "
    "MESSWERT3, FEHLERCODE, MESSWERTE_OK, ZUSTAND, ERLEDIGT, MESSUNG_ID, GRUND FROM MESSUNG ";

TJournalEintrag Lesen(const TSqliteAnweisung& zeile)
{
    TJournalEintrag eintrag;
    eintrag.Nr = zeile.Zahl(0);
    eintrag.Kennung = zeile.Text(1);
    eintrag.Zeitstempel = QDateTime::fromString(zeile.Text(2), kZeitformat);
    eintrag.Station = zeile.Text(3);
    eintrag.Mitarbeiter_ID = zeile.Text(4);
    eintrag.Name = zeile.Text(5);
    eintrag.Messwert1 = zeile.Text(6);
    eintrag.Messwert2 = zeile.Text(7);
    eintrag.Messwert3 = zeile.Text(8);
    eintrag.Fehlercode = zeile.Text(9);
    eintrag.Messwerte_OK = zeile.Zahl(10) != 0;
    const QString zustand = zeile.Text(11);
    eintrag.Zustand = zustand == QLatin1String(kWartet) ? TJournalEintrag::TZustand::Wartet
                      : zustand == QLatin1String(kAbgewiesen)
                          ? TJournalEintrag::TZustand::Abgewiesen
                          : TJournalEintrag::TZustand::Weitergeleitet;
    if (!zeile.IstNull(12))
        eintrag.Erledigt = QDateTime::fromString(zeile.Text(12), kZeitformat);
    eintrag.Messung_ID = static_cast<quint64>(zeile.Zahl(13));
    eintrag.Grund = zeile.Text(14);
    return eintrag;
}

// Codes that say the file's content is not a usable database, as opposed to the file being in
// use or the directory refusing access: only these send the file aside.
bool Beschaedigt(int code)
{
    const int grundcode = code & 0xff;
    return grundcode == SQLITE_NOTADB || grundcode == SQLITE_CORRUPT ||
           grundcode == SQLITE_CANTOPEN;
}

bool Belegt(int code)
{
    const int grundcode = code & 0xff;
    return grundcode == SQLITE_BUSY || grundcode == SQLITE_LOCKED;
}

} // namespace

EJournalfehler::EJournalfehler(const QString& meldung, int code)
    : EFehler(u"EJournalfehler"_s, meldung), FCode(code)
{}

TJournal::TJournal(const QString& verzeichnis)
    : FVerzeichnis(verzeichnis), FDatei(QDir(verzeichnis).filePath(kDateiname))
{
    if (!QDir().mkpath(verzeichnis))
        throw EJournalfehler(
            u"Das Verzeichnis %1 für das Messjournal kann nicht angelegt werden."_s.arg(
                verzeichnis));
    if (const std::optional<QString> grund = Oeffnen()) {
        BeiseiteLegen(*grund);
        if (const std::optional<QString> nochmal = Oeffnen())
            throw EJournalfehler(
                u"Ein neues Messjournal %1 kann nicht angelegt werden: %2"_s.arg(FDatei, *nochmal));
    }
}

TJournal::~TJournal() = default;

std::optional<QString> TJournal::Oeffnen()
{
    const QFileInfo info(FDatei);
    const bool vorhanden = info.exists();
    // Judged before SQLite sees the file: on closing a file it cannot read, SQLite removes the
    // log beside it, which may hold the last results.
    if (vorhanden && !info.isFile())
        return u"keine gewöhnliche Datei"_s;
    if (vorhanden && info.size() > 0) {
        QFile datei(FDatei);
        if (datei.open(QIODevice::ReadOnly) && datei.read(kKopf.size()) != kKopf)
            return u"keine SQLite-Datei (Dateikopf)"_s;
    }
    FDb = std::make_unique<TSqliteHandle>(FDatei);
    int code = FDb->Ergebnis();
    auto fehlschlag = [&](int fehlercode) -> std::optional<QString> {
        const QString text = FDb->Fehlertext();
        FDb.reset();
        if (Belegt(fehlercode))
            throw EJournalfehler(
                u"Das Messjournal %1 wird schon von einem anderen Programm benutzt: %2"_s.arg(
                    FDatei, text),
                fehlercode & 0xff);
        if (vorhanden && Beschaedigt(fehlercode))
            return text;
        throw EJournalfehler(
            u"Das Messjournal %1 kann nicht geöffnet werden: %2"_s.arg(FDatei, text),
            fehlercode & 0xff);
    };
    if (code != SQLITE_OK)
        return fehlschlag(code);
    sqlite3_extended_result_codes(FDb->get(), 1);
    // Exclusive before the first access to WAL: SQLite then keeps the wal-index in the
    // process's memory instead of a shared -shm file and holds the file's lock until closed,
    // so a second station (or a second copy of this one) on the same file is refused at once.
    // The lock is the operating system's: a killed station leaves none behind.
    code = FDb->Ausfuehren("PRAGMA locking_mode = EXCLUSIVE");
    if (code == SQLITE_OK)
        code = FDb->Ausfuehren("PRAGMA journal_mode = WAL");
    if (code == SQLITE_OK)
        code = FDb->Ausfuehren("PRAGMA synchronous = FULL");
    // A small cache: the journal is read by key and the system caches the file anyway; SQLite's
    // default of 2 MB would grow with the file during a shift and look like a leak.
    if (code == SQLITE_OK)
        code = FDb->Ausfuehren("PRAGMA cache_size = -256");
    if (code != SQLITE_OK)
        return fehlschlag(code);
    try {
        // The exclusive lock is taken here, by the first write, before the file's content is
        // trusted.
        TSqliteAnweisung(FDb->get(), "BEGIN IMMEDIATE").Ausfuehren();
        TSqliteAnweisung pruefen(FDb->get(), "PRAGMA quick_check");
        const QString befund = pruefen.Schritt() ? pruefen.Text(0) : u"kein Befund"_s;
        TSqliteAnweisung version(FDb->get(), "PRAGMA user_version");
        const qint64 gefunden = version.Schritt() ? version.Zahl(0) : -1;
        if (befund != u"ok"_s || (gefunden != 0 && gefunden != kSchemaVersion)) {
            FDb.reset();
            return befund != u"ok"_s ? befund : u"unbekannte Schemaversion %1"_s.arg(gefunden);
        }
        code = FDb->Ausfuehren(kSchema);
        if (code != SQLITE_OK)
            throw EJournalfehler(FDb->Fehlertext(), code);
        TSqliteAnweisung(FDb->get(), "COMMIT").Ausfuehren();
    } catch (const EJournalfehler& fehler) {
        return fehlschlag(fehler.Code());
    }
    return std::nullopt;
}

void TJournal::BeiseiteLegen(const QString& grund)
{
    const QString stempel = QDateTime::currentDateTime().toString(u"yyyyMMdd-hhmmss"_s);
    QString ziel = FDatei + u".defekt-"_s + stempel;
    for (int n = 2; QFileInfo::exists(ziel); ++n)
        ziel = FDatei + u".defekt-"_s + stempel + u'-' + QString::number(n);
    QDir verzeichnis;
    if (!verzeichnis.rename(FDatei, ziel))
        throw EJournalfehler(
            u"Das unbrauchbare Messjournal %1 kann nicht beiseitegelegt werden (%2)."_s.arg(FDatei,
                                                                                            grund));
    // The log belongs to the old file: left in place, SQLite would replay it into the new one.
    for (const QString& anhang : {u"-wal"_s, u"-shm"_s}) {
        if (QFileInfo::exists(FDatei + anhang))
            verzeichnis.rename(FDatei + anhang, ziel + anhang);
    }
    FBeiseitegelegt = ziel;
    FGrund = grund;
}

qint64 TJournal::Eintragen(const TJournalEintrag& eintrag)
{
    const std::lock_guard<std::mutex> sperre(FSperre);
    TSqliteAnweisung einfuegen(
        FDb->get(),
        "INSERT INTO MESSUNG (KENNUNG, ZEITSTEMPEL, STATION, MITARBEITER_ID, NAME, MESSWERT1, "
        "MESSWERT2, MESSWERT3, FEHLERCODE, MESSWERTE_OK, ZUSTAND) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'wartet')");
    einfuegen.Binden(1, eintrag.Kennung);
    einfuegen.Binden(2, eintrag.Zeitstempel.toString(kZeitformat));
    einfuegen.Binden(3, eintrag.Station);
    einfuegen.Binden(4, eintrag.Mitarbeiter_ID);
    einfuegen.Binden(5, eintrag.Name);
    einfuegen.Binden(6, eintrag.Messwert1);
    einfuegen.Binden(7, eintrag.Messwert2);
    einfuegen.Binden(8, eintrag.Messwert3);
    einfuegen.Binden(9, eintrag.Fehlercode);
    einfuegen.Binden(10, qint64(eintrag.Messwerte_OK ? 1 : 0));
    einfuegen.Ausfuehren();
    return sqlite3_last_insert_rowid(FDb->get());
}

QList<TJournalEintrag> TJournal::Wartende(int hoechstens) const
{
    const std::lock_guard<std::mutex> sperre(FSperre);
    const QByteArray sql = QByteArray(kSpalten) + "WHERE ZUSTAND = 'wartet' ORDER BY NR LIMIT ?";
    TSqliteAnweisung abfrage(FDb->get(), sql.constData());
    abfrage.Binden(1, qint64(hoechstens));
    QList<TJournalEintrag> eintraege;
    while (abfrage.Schritt())
        eintraege.append(Lesen(abfrage));
    return eintraege;
}

int TJournal::AnzahlWartend() const
{
    const std::lock_guard<std::mutex> sperre(FSperre);
    TSqliteAnweisung abfrage(FDb->get(), "SELECT COUNT(*) FROM MESSUNG WHERE ZUSTAND = 'wartet'");
    return abfrage.Schritt() ? static_cast<int>(abfrage.Zahl(0)) : 0;
}

bool TJournal::AlsWeitergeleitet(const QString& kennung, const QDateTime& wann, quint64 messung_ID)
{
    const std::lock_guard<std::mutex> sperre(FSperre);
    TSqliteAnweisung aendern(FDb->get(),
                             "UPDATE MESSUNG SET ZUSTAND = 'weitergeleitet', ERLEDIGT = ?, "
                             "MESSUNG_ID = ? WHERE KENNUNG = ? AND ZUSTAND = 'wartet'");
    aendern.Binden(1, wann.toString(kZeitformat));
    if (messung_ID != 0)
        aendern.Binden(2, static_cast<qint64>(messung_ID));
    else
        aendern.BindenNull(2);
    aendern.Binden(3, kennung);
    aendern.Ausfuehren();
    return sqlite3_changes(FDb->get()) == 1;
}

bool TJournal::AlsAbgewiesen(const QString& kennung, const QDateTime& wann, const QString& grund)
{
    const std::lock_guard<std::mutex> sperre(FSperre);
    TSqliteAnweisung aendern(FDb->get(),
                             "UPDATE MESSUNG SET ZUSTAND = 'abgewiesen', ERLEDIGT = ?, GRUND = ? "
                             "WHERE KENNUNG = ? AND ZUSTAND = 'wartet'");
    aendern.Binden(1, wann.toString(kZeitformat));
    aendern.Binden(2, grund);
    aendern.Binden(3, kennung);
    aendern.Ausfuehren();
    return sqlite3_changes(FDb->get()) == 1;
}

int TJournal::Aufraeumen(const QDateTime& jetzt, int tage)
{
    const std::lock_guard<std::mutex> sperre(FSperre);
    TSqliteAnweisung loeschen(FDb->get(),
                              "DELETE FROM MESSUNG WHERE ZUSTAND <> 'wartet' AND ERLEDIGT < ?");
    loeschen.Binden(1, jetzt.addDays(-tage).toString(kZeitformat));
    loeschen.Ausfuehren();
    return sqlite3_changes(FDb->get());
}

std::optional<TJournalEintrag> TJournal::Suchen(const QString& kennung) const
{
    const std::lock_guard<std::mutex> sperre(FSperre);
    const QByteArray sql = QByteArray(kSpalten) + "WHERE KENNUNG = ?";
    TSqliteAnweisung abfrage(FDb->get(), sql.constData());
    abfrage.Binden(1, kennung);
    if (!abfrage.Schritt())
        return std::nullopt;
    return Lesen(abfrage);
}

QHash<QString, QDateTime> TJournal::LetzteBestandene(const QStringList& mitarbeiter_IDs,
                                                     const QDateTime& ab, bool nurWartende) const
{
    const std::lock_guard<std::mutex> sperre(FSperre);
    TSqliteAnweisung abfrage(
        FDb->get(), nurWartende
                        ? "SELECT MAX(ZEITSTEMPEL) FROM MESSUNG WHERE MITARBEITER_ID = ? AND "
                          "MESSWERTE_OK = 1 AND ZEITSTEMPEL >= ? AND ZUSTAND = 'wartet'"
                        : "SELECT MAX(ZEITSTEMPEL) FROM MESSUNG WHERE MITARBEITER_ID = ? AND "
                          "MESSWERTE_OK = 1 AND ZEITSTEMPEL >= ? AND ZUSTAND <> 'abgewiesen'");
    QHash<QString, QDateTime> letzte;
    for (const QString& id : mitarbeiter_IDs) {
        abfrage.Zuruecksetzen();
        abfrage.Binden(1, id);
        abfrage.Binden(2, ab.toString(kZeitformat));
        if (abfrage.Schritt() && !abfrage.IstNull(0))
            letzte.insert(id, QDateTime::fromString(abfrage.Text(0), kZeitformat));
    }
    return letzte;
}
