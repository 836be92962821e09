#include "Rohclient.h"

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
    const unsigned int spalten = mysql_num_fields(satz);
    const MYSQL_FIELD* felder = mysql_fetch_fields(satz);
    for (unsigned int i = 0; i < spalten; ++i)
        ergebnis.Spalten.append(QByteArray(felder[i].name, qsizetype(felder[i].name_length)));
    while (MYSQL_ROW zeile = mysql_fetch_row(satz)) {
        const unsigned long* laengen = mysql_fetch_lengths(satz);
        QList<QByteArray> werte;
        werte.reserve(spalten);
        for (unsigned int i = 0; i < spalten; ++i)
            werte.append(zeile[i] == nullptr ? QByteArray()
                                             : QByteArray(zeile[i], qsizetype(laengen[i])));
        ergebnis.Zeilen.append(std::move(werte));
    }
    mysql_free_result(satz);
    return ergebnis;
}

void TRohverbindung::Ausfuehren(const QByteArray& anweisung)
{
    Abfrage(anweisung);
}
