#include "Rohclient.h"

#include "DBVerbindung.h"

#include <mysql.h>

#include <stdexcept>
#include <string>

TRohverbindung::TRohverbindung(const QString& server, int port, const QString& benutzer,
                               const QString& passwort, const QString& datenbank)
    : FVerbindung(mysql_init(nullptr))
{
    if (FVerbindung == nullptr)
        throw std::runtime_error("mysql_init failed");
    mysql_options(FVerbindung, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    // A client that can wait forever for an answer is no floor for a kiosk: the station's
    // time limits, which make the library poll for each answer.
    const unsigned int timeout = TDBVerbindung::kAntwortTimeout;
    mysql_options(FVerbindung, MYSQL_OPT_READ_TIMEOUT, &timeout);
    mysql_options(FVerbindung, MYSQL_OPT_WRITE_TIMEOUT, &timeout);
    if (mysql_real_connect(FVerbindung, server.toUtf8().constData(), benutzer.toUtf8().constData(),
                           passwort.toUtf8().constData(), datenbank.toUtf8().constData(),
                           static_cast<unsigned int>(port), nullptr, 0) == nullptr) {
        const std::string meldung = mysql_error(FVerbindung);
        mysql_close(FVerbindung);
        throw std::runtime_error(meldung);
    }
}

TRohverbindung::~TRohverbindung()
{
    mysql_close(FVerbindung);
}

TRohergebnis TRohverbindung::Abfrage(const QByteArray& anweisung)
{
    if (mysql_real_query(FVerbindung, anweisung.constData(),
                         static_cast<unsigned long>(anweisung.size())) != 0)
        throw std::runtime_error(mysql_error(FVerbindung));
    TRohergebnis ergebnis;
    MYSQL_RES* satz = mysql_store_result(FVerbindung);
    if (satz == nullptr) {
        if (mysql_field_count(FVerbindung) != 0)
            throw std::runtime_error(mysql_error(FVerbindung));
        return ergebnis;
    }
    ergebnis.Quelle.reset(satz, [](void* roh) { mysql_free_result(static_cast<MYSQL_RES*>(roh)); });
    const unsigned int spalten = mysql_num_fields(satz);
    const MYSQL_FIELD* felder = mysql_fetch_fields(satz);
    for (unsigned int i = 0; i < spalten; ++i)
        ergebnis.Spalten.append(QByteArray(felder[i].name, qsizetype(felder[i].name_length)));
    while (MYSQL_ROW zeile = mysql_fetch_row(satz)) {
        const unsigned long* laengen = mysql_fetch_lengths(satz);
        QList<QByteArray> werte;
        werte.reserve(spalten);
        for (unsigned int i = 0; i < spalten; ++i)
            werte.append(zeile[i] == nullptr
                             ? QByteArray()
                             : QByteArray::fromRawData(zeile[i], qsizetype(laengen[i])));
        ergebnis.Zeilen.append(std::move(werte));
    }
    return ergebnis;
}

void TRohverbindung::Ausfuehren(const QByteArray& anweisung)
{
    Abfrage(anweisung);
}
