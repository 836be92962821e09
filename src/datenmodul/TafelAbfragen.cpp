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

bool IstGast(const QString& loginname)
{
    return loginname.startsWith(u"Gast"_s);
}

} // namespace Tafel
