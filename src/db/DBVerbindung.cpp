// Connection over MariaDB Connector/C: text protocol, utf8mb4, values escaped by the link.
#include "DBVerbindung.h"

#include "DBErgebnis.h"
#include "DBFehler.h"
#include "MySqlHandle.h"

#include <QStringList>

#include <errmsg.h>
#include <mysqld_error.h>

// The only platform-specific part of the layer: a non-blocking look at the link's socket.
#ifdef _WIN32
#include <winsock2.h>
#else
#include <poll.h>
#endif

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// Sent by newer servers before they close an idle link; absent from older headers.
constexpr unsigned int kZeitueberschreitungDesKlienten = 4031;
// ER_UNKNOWN_COM_ERROR, which a cluster node sends while it is outside the primary component:
// "WSREP has not yet prepared node for application use". Only another node helps.
constexpr unsigned int kKnotenNichtBereit = 1047;
static_assert(kKnotenNichtBereit == ER_UNKNOWN_COM_ERROR);

// Errors after which the link is unusable and has to be built anew.
bool IstLinkfehler(unsigned int nummer)
{
    switch (nummer) {
    case CR_CONNECTION_ERROR:
    case CR_CONN_HOST_ERROR:
    case CR_SERVER_GONE_ERROR:
    case CR_SERVER_LOST:
    case CR_SERVER_LOST_EXTENDED:
    case CR_COMMANDS_OUT_OF_SYNC: // the protocol state is lost; only a new link helps
    case ER_SERVER_SHUTDOWN:
    case ER_CONNECTION_KILLED:
    case kZeitueberschreitungDesKlienten:
    case kKnotenNichtBereit:
        return true;
    default:
        return false;
    }
}

TDBErgebnis::TArt ArtDerSpalte(const MYSQL_FIELD& feld, bool& blob)
{
    constexpr unsigned int kBinaerZeichensatz = 63;
    const bool binaer = feld.charsetnr == kBinaerZeichensatz;
    blob = false;
    switch (feld.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
        return TDBErgebnis::TArt::Ganzzahl;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        return TDBErgebnis::TArt::Zahl;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return TDBErgebnis::TArt::Datum;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_DATETIME2:
    case MYSQL_TYPE_TIMESTAMP:
    case MYSQL_TYPE_TIMESTAMP2:
        return TDBErgebnis::TArt::DatumZeit;
    case MYSQL_TYPE_TIME:
    case MYSQL_TYPE_TIME2:
        return TDBErgebnis::TArt::Zeit;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
        blob = true;
        return binaer ? TDBErgebnis::TArt::Blob : TDBErgebnis::TArt::Text;
    case MYSQL_TYPE_BIT:
    case MYSQL_TYPE_GEOMETRY:
        return TDBErgebnis::TArt::Bytes;
    default:
        return binaer ? TDBErgebnis::TArt::Bytes : TDBErgebnis::TArt::Text;
    }
}

// A buffered result holds no reference to its connection, so it outlives a closed or
// re-established link.
std::unique_ptr<TDBErgebnis> Uebernehmen(MYSQL_RES* quelle)
{
    auto ergebnis = std::make_unique<TDBErgebnis>(TDBErgebnis::TQuelle(
        quelle, [](void* roh) { mysql_free_result(static_cast<MYSQL_RES*>(roh)); }));
    const unsigned int spalten = mysql_num_fields(quelle);
    const MYSQL_FIELD* felder = mysql_fetch_fields(quelle);
    for (unsigned int i = 0; i < spalten; ++i) {
        bool blob = false;
        const TDBErgebnis::TArt art = ArtDerSpalte(felder[i], blob);
        ergebnis->SpalteHinzufuegen(QString::fromUtf8(felder[i].name, felder[i].name_length), art,
                                    blob);
    }
    const my_ulonglong zeilen = mysql_num_rows(quelle);
    if (zeilen > static_cast<my_ulonglong>(std::numeric_limits<int>::max()))
        throw EAbfragefehler(u"Die Datenmenge hat zu viele Zeilen."_s);
    ergebnis->Reservieren(static_cast<int>(zeilen));
    while (MYSQL_ROW zeile = mysql_fetch_row(quelle))
        ergebnis->ZeileHinzufuegen(zeile, mysql_fetch_lengths(quelle));
    return ergebnis;
}

const char* const kSitzungsModus =
    "SET SESSION sql_mode = TRIM(BOTH ',' FROM "
    "REPLACE(REPLACE(REPLACE(CONCAT(',', @@SESSION.sql_mode, ','), "
    "',ANSI_QUOTES,', ','), ',NO_BACKSLASH_ESCAPES,', ','), ',ANSI,', ','))";

} // namespace

TDBVerbindung::TDBVerbindung(QObject* parent) : QObject(parent), FUsername(u"root"_s)
{
    setObjectName(u"MyCon"_s);
}

TDBVerbindung::~TDBVerbindung() = default;

void TDBVerbindung::SetConnected(bool verbinden)
{
    if (!verbinden) {
        FLink.reset();
        FConnected = false;
        FOeffnenVerlangt = false;
        TransaktionBeenden();
        return;
    }
    if (FConnected)
        return;
    FOeffnenVerlangt = true;
    // An opening asked for is no move to another node.
    FNaechster = 0;
    FKnoten = -1;
    Verbinden();
    FConnected = true;
}

std::unique_ptr<TMySqlHandle> TDBVerbindung::Oeffnen(const TServeradresse& adresse) const
{
    auto link = std::make_unique<TMySqlHandle>();
    MYSQL* m = link->get();
    const unsigned int verbindungsTimeout = kVerbindungsTimeout;
    const unsigned int antwortTimeout = kAntwortTimeout;
    const unsigned int keinLokalesLaden = 0;
    const my_bool keinAutoReconnect = 0;
    mysql_options(m, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    mysql_options(m, MYSQL_OPT_CONNECT_TIMEOUT, &verbindungsTimeout);
    mysql_options(m, MYSQL_OPT_READ_TIMEOUT, &antwortTimeout);
    mysql_options(m, MYSQL_OPT_WRITE_TIMEOUT, &antwortTimeout);
    mysql_options(m, MYSQL_OPT_LOCAL_INFILE, &keinLokalesLaden);
    // The library's own reconnect would silently re-send statements; ours never does.
    mysql_options(m, MYSQL_OPT_RECONNECT, &keinAutoReconnect);
    // The statements write string literals in double quotes and escape by backslash; a server
    // configured with ANSI quoting or without backslash escapes would misread both.
    mysql_options(m, MYSQL_INIT_COMMAND, kSitzungsModus);

    const QByteArray server = adresse.Host.toUtf8();
    const QByteArray benutzer = FUsername.toUtf8();
    const QByteArray passwort = FPassword.toUtf8();
    const QByteArray datenbank = FDatabase.toUtf8();
    if (adresse.Port < 0 || adresse.Port > 65535)
        throw EVerbindungsfehler(u"Ungültiger Port %1"_s.arg(adresse.Port), CR_CONN_HOST_ERROR);
    if (!mysql_real_connect(m, server.isEmpty() ? nullptr : server.constData(),
                            benutzer.constData(), passwort.constData(),
                            datenbank.isEmpty() ? nullptr : datenbank.constData(),
                            static_cast<unsigned int>(adresse.Port), nullptr, 0)) {
        throw EVerbindungsfehler(QString::fromUtf8(mysql_error(m)), mysql_errno(m),
                                 QByteArray(mysql_sqlstate(m)));
    }
    return link;
}

bool TDBVerbindung::KnotenBereit(TMySqlHandle& link)
{
    MYSQL* m = link.get();
    // Refused by a node outside the primary component, which still answers SELECT 1 and SHOW.
    const QByteArray probe = QByteArrayLiteral("DO 1");
    if (mysql_real_query(m, probe.constData(), static_cast<unsigned long>(probe.size())))
        return false;
    const QByteArray frage = QByteArrayLiteral("SHOW VARIABLES LIKE 'wsrep_on'");
    FClusterknoten = false;
    if (mysql_real_query(m, frage.constData(), static_cast<unsigned long>(frage.size())) == 0) {
        if (MYSQL_RES* ergebnis = mysql_store_result(m)) {
            const MYSQL_ROW zeile = mysql_fetch_row(ergebnis);
            FClusterknoten = zeile && zeile[1] && qstrcmp(zeile[1], "ON") == 0;
            mysql_free_result(ergebnis);
        }
    }
    return true;
}

void TDBVerbindung::Verbinden()
{
    FLink.reset();
    FListe = Serverliste::Lesen(FServer, FPort);
    if (FListe.size() == 1) {
        // One server: no probe, as it always was.
        FLink = Oeffnen(FListe.first());
        FKnoten = 0;
        return;
    }
    QStringList gruende;
    unsigned int nummer = CR_CONN_HOST_ERROR;
    QByteArray status;
    const qsizetype anzahl = FListe.size();
    for (qsizetype schritt = 0; schritt < anzahl; ++schritt) {
        const qsizetype knoten = (FNaechster + schritt) % anzahl;
        const TServeradresse& adresse = FListe.at(knoten);
        try {
            std::unique_ptr<TMySqlHandle> link = Oeffnen(adresse);
            if (!KnotenBereit(*link)) {
                nummer = mysql_errno(link->get());
                status = QByteArray(mysql_sqlstate(link->get()));
                gruende << Serverliste::Anzeige(adresse) + u": "_s +
                               QString::fromUtf8(mysql_error(link->get()));
                continue;
            }
            if (FKnoten >= 0 && knoten != FKnoten)
                ++FKnotenwechsel;
            FLink = std::move(link);
            FKnoten = knoten;
            FNaechster = knoten;
            return;
        } catch (const EVerbindungsfehler& fehler) {
            nummer = fehler.Nummer();
            status = fehler.SqlStatus();
            gruende << Serverliste::Anzeige(adresse) + u": "_s + fehler.Meldung();
        }
    }
    throw EVerbindungsfehler(gruende.join(u" | "_s), nummer, status);
}

void TDBVerbindung::LinkVerloren()
{
    FLink.reset();
    // The node is gone or left the cluster: the next opening starts with the next one.
    if (FListe.size() > 1 && FKnoten >= 0)
        FNaechster = (FKnoten + 1) % FListe.size();
}

QString TDBVerbindung::AktuellerServer() const
{
    if (!FLink || FKnoten < 0 || FKnoten >= FListe.size())
        return QString();
    return Serverliste::Anzeige(FListe.at(FKnoten));
}

bool TDBVerbindung::LinkAbgerissen() const
{
    // An idle link has nothing to read; anything readable is the server's farewell (an error
    // packet or the end of the stream). A failed poll proves nothing; a dead link then shows
    // in the statement itself.
    const my_socket fd = mysql_get_socket(FLink->get());
#ifdef _WIN32
    if (fd == INVALID_SOCKET)
        return true;
    WSAPOLLFD p{fd, POLLRDNORM, 0};
    return WSAPoll(&p, 1, 0) > 0;
#else
    if (fd < 0)
        return true;
    pollfd p{fd, POLLIN | POLLRDHUP, 0};
    return poll(&p, 1, 0) > 0;
#endif
}

bool TDBVerbindung::LinkSicherstellen()
{
    if (FLink && LinkAbgerissen()) {
        LinkVerloren();
        FTransaktionVerloren = FInTransaktion;
    }
    if (FTransaktionVerloren) {
        throw EVerbindungsfehler(u"Die Verbindung zum Datenbankserver ist während der "
                                 u"Transaktion abgebrochen; die Transaktion wurde verworfen."_s,
                                 CR_SERVER_LOST);
    }
    if (FLink)
        return false;
    if (!FOeffnenVerlangt)
        throw EVerbindungsfehler(u"Keine Verbindung zur Datenbank."_s, CR_CONNECTION_ERROR);
    Verbinden();
    FConnected = true;
    ++FWiederaufbauten;
    return true;
}

QByteArray TDBVerbindung::TextLiteral(const QString& text) const
{
    const QByteArray roh = text.toUtf8();
    QByteArray literal(roh.size() * 2 + 3, Qt::Uninitialized);
    literal[0] = '\'';
    const unsigned long laenge = mysql_real_escape_string(
        FLink->get(), literal.data() + 1, roh.constData(), static_cast<unsigned long>(roh.size()));
    if (laenge == static_cast<unsigned long>(-1))
        throw EAbfragefehler(u"Der Text lässt sich nicht sicher in die Anweisung setzen."_s);
    literal[static_cast<qsizetype>(laenge) + 1] = '\'';
    literal.truncate(static_cast<qsizetype>(laenge) + 2);
    return literal;
}

TDBVerbindung::TAntwort TDBVerbindung::Ausfuehren(const QByteArray& anweisung)
{
    MYSQL* m = FLink->get();
    if (mysql_real_query(m, anweisung.constData(), static_cast<unsigned long>(anweisung.size())))
        WirfFehler();
    TAntwort antwort;
    if (MYSQL_RES* ergebnis = mysql_store_result(m))
        antwort.Ergebnis = Uebernehmen(ergebnis);
    else if (mysql_field_count(m) != 0)
        WirfFehler();
    else {
        antwort.Betroffen = mysql_affected_rows(m);
        antwort.EingefuegtId = mysql_insert_id(m);
    }
    return antwort;
}

void TDBVerbindung::WirfFehler()
{
    MYSQL* m = FLink->get();
    const unsigned int nummer = mysql_errno(m);
    const QString meldung = QString::fromUtf8(mysql_error(m));
    const QByteArray status(mysql_sqlstate(m));
    if (!IstLinkfehler(nummer))
        throw EDatenbankfehler(meldung, nummer, status);
    LinkVerloren();
    if (FInTransaktion)
        FTransaktionVerloren = true;
    throw EVerbindungsfehler(meldung, nummer, status);
}

void TDBVerbindung::TransaktionBeenden()
{
    FInTransaktion = false;
    FTransaktionVerloren = false;
}

void TDBVerbindung::StartTransaction()
{
    if (FInTransaktion)
        throw EAbfragefehler(u"Es ist bereits eine Transaktion offen."_s);
    LinkSicherstellen();
    Ausfuehren(QByteArrayLiteral("START TRANSACTION"));
    FInTransaktion = true;
}

void TDBVerbindung::Commit()
{
    if (!FInTransaktion)
        throw EAbfragefehler(u"Es ist keine Transaktion offen."_s);
    // Whatever happens now, the transaction is over.
    struct TEnde
    {
        TDBVerbindung& v;
        ~TEnde() { v.TransaktionBeenden(); }
    } ende{*this};
    LinkSicherstellen();
    Ausfuehren(QByteArrayLiteral("COMMIT"));
}

void TDBVerbindung::Rollback()
{
    if (!FInTransaktion)
        return;
    const bool verloren = FTransaktionVerloren || !FLink;
    TransaktionBeenden();
    if (verloren)
        return;
    try {
        Ausfuehren(QByteArrayLiteral("ROLLBACK"));
    } catch (const EVerbindungsfehler&) {
        // The server drops an open transaction with its link.
    }
}

unsigned long TDBVerbindung::ServerThreadId() const
{
    return FLink ? mysql_thread_id(FLink->get()) : 0;
}
