// The statements are compared letter for letter with what other stations send, blanks included.
#include "TafelAbfragen.h"

using namespace Qt::Literals::StringLiterals;

namespace Tafel {

bool FiltertGeloeschte(const QString& mandant)
{
    return mandant == u"Quellmark AG"_s;
}

QString AbteilungenSql(const QString& mandant)
{
    return FiltertGeloeschte(mandant)
               ? u"SELECT * FROM VORGABEN_ABTEILUNG WHERE GELOESCHT = \"N\" AND ABTEILUNG_ID > 1"_s
               : u"SELECT * FROM VORGABEN_ABTEILUNG WHERE INAKTIV = \"N\" AND ABTEILUNG_ID > 1"_s;
}

QString MitarbeiterSql(const QString& mandant)
{
    return MitarbeiterSql(mandant, u"*"_s);
}

QString MitarbeiterSql(const QString& mandant, const QString& spalten)
{
    const QString filter = FiltertGeloeschte(mandant) ? u"MITARBEITER.GELOESCHT       = \"N\""_s
                                                      : u"MITARBEITER.INAKTIV         = \"N\""_s;
    return u"SELECT "_s + spalten +
           u" FROM MITARBEITER INNER JOIN (KONTAKTDATEN, VORGABEN_ABTEILUNG) ON "
           "                   MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "
           "MITARBEITER.ABTEILUNG_ID    = VORGABEN_ABTEILUNG.ABTEILUNG_ID AND "_s +
           filter +
           u"        AND MITARBEITER.ESD_MESSUNG     = \"J\"        AND "
           "VORGABEN_ABTEILUNG.ABTEILUNG      = :Abteilung AND MITARBEITER_ID > \"1\"       "
           "          ORDER BY NACHNAME"_s;
}

namespace {

// Who may be measured, as in the board's employee statement, and the joins that put a person
// on a board at all.
QString Messbare(const QString& mandant)
{
    return u"FROM MITARBEITER INNER JOIN (KONTAKTDATEN, VORGABEN_ABTEILUNG) ON "
           "MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "
           "MITARBEITER.ABTEILUNG_ID = VORGABEN_ABTEILUNG.ABTEILUNG_ID WHERE "_s +
           (FiltertGeloeschte(mandant) ? u"MITARBEITER.GELOESCHT = \"N\""_s
                                       : u"MITARBEITER.INAKTIV = \"N\""_s) +
           u" AND MITARBEITER.ESD_MESSUNG = \"J\" AND MITARBEITER.MITARBEITER_ID > 1"_s;
}

} // namespace

QString AusweisSql(const QString& mandant)
{
    return u"SELECT MITARBEITER.MITARBEITER_ID, VORGABEN_ABTEILUNG.ABTEILUNG "_s +
           Messbare(mandant) + u" AND MITARBEITER.PERSONALNUMMER = :Ausweis LIMIT 2"_s;
}

QString NamenssucheSql(const QString& mandant)
{
    return u"SELECT MITARBEITER.MITARBEITER_ID "_s + Messbare(mandant) +
           u" AND (KONTAKTDATEN.NACHNAME LIKE :Nachname OR KONTAKTDATEN.VORNAME LIKE :Vorname) "
           "ORDER BY KONTAKTDATEN.NACHNAME, KONTAKTDATEN.VORNAME, MITARBEITER.MITARBEITER_ID"_s;
}

QString Namensmuster(const QString& text)
{
    QString muster;
    for (const QChar z : text) {
        if (z == u'\\' || z == u'%' || z == u'_')
            muster += u'\\';
        muster += z;
    }
    return muster + u'%';
}

bool IstGast(const QString& loginname)
{
    return loginname.startsWith(u"Gast"_s);
}

} // namespace Tafel
