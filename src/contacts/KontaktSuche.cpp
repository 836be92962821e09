// The contact search statement, piece by piece, in the text other stations expect.
#include "KontaktSuche.h"

#include "DBWerte.h"

#include <algorithm>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace KontaktSuche {
namespace {

struct TIndex
{
    QStringView feld;
    QStringView praefix;
    QStringView suffix;
    // For a field matched as a whole: the comparison by value that a plain number gets.
    QStringView gleich = {};
};

// Only the two contact keys match the whole value.
constexpr std::array kIndizes{
    TIndex{u"MITARBEITER_ID", u"MITARBEITER.MITARBEITER_ID Like \"", u"\" AND ",
           u"MITARBEITER.MITARBEITER_ID = "},
    TIndex{u"PERSONALNUMMER", u"MITARBEITER.PERSONALNUMMER Like \"", u"%\" AND "},
    TIndex{u"LOGINNAME", u"MITARBEITER.LOGINNAME Like \"", u"%\" AND "},
    TIndex{u"KONTAKTDATEN_ID", u"KONTAKTDATEN.KONTAKTDATEN_ID Like \"", u"\" AND ",
           u"KONTAKTDATEN.KONTAKTDATEN_ID = "},
    TIndex{u"DEBITOR_ID", u"DEBITOREN.DEBITOR_ID Like \"", u"%\" AND "},
    TIndex{u"DEBITORNR", u"DEBITOREN.DEBITORNR Like \"", u"%\" AND "},
    TIndex{u"KREDITOR_ID", u"KREDITOREN.KREDITOR_ID Like \"", u"%\" AND "},
    TIndex{u"KREDITOR_NR", u"KREDITOREN.KREDITOR_NR Like \"", u"%\" AND "},
    TIndex{u"FIRMA", u"KONTAKTDATEN.FIRMA Like \"", u"%\" AND "},
    TIndex{u"NACHNAME", u"KONTAKTDATEN.NACHNAME Like \"", u"%\" AND "},
    TIndex{u"VORNAME", u"KONTAKTDATEN.VORNAME Like \"", u"%\" AND "},
    TIndex{u"STRASSE1", u"KONTAKTDATEN.STRASSE1 Like \"", u"%\" AND "},
    TIndex{u"STRASSE2", u"KONTAKTDATEN.STRASSE2 Like \"", u"%\" AND "},
    TIndex{u"PLZ", u"PLZ.PLZ Like \"", u"%\" AND "},
    TIndex{u"ORT", u"PLZ.Ort Like \"", u"%\" AND "},
};

const QString kLookups = u"KONTAKTDATEN.PLZ_ID = PLZ.PLZ_ID AND "
                         u"KONTAKTDATEN.ANREDE_ID = VORGABEN_ANREDE.ANREDE_ID AND "
                         u"KONTAKTDATEN.TITEL_ID = VORGABEN_TITEL.TITEL_ID AND "_s;

// Digits only, without a leading zero: the one text under which an integer column's Like matches
// a value, so comparing by value finds the same rows, and the key's index serves it. Beyond 20
// digits no integer column holds the value and the server would read the number as a double.
bool IstKanonischeZahl(QStringView begriff)
{
    if (begriff.isEmpty() || begriff.size() > 20 || (begriff.front() == u'0' && begriff.size() > 1))
        return false;
    return std::all_of(begriff.begin(), begriff.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QString Tabellen(const QString& kontaktArt)
{
    if (kontaktArt == u"Debitor")
        return u"Select * From DEBITOREN INNER JOIN (KONTAKTDATEN, PLZ, LAENDER, "
               u"VORGABEN_ANREDE, VORGABEN_TITEL) ON DEBITOREN.KONTAKTDATEN_ID = "
               u"KONTAKTDATEN.KONTAKTDATEN_ID AND "_s;
    if (kontaktArt == u"Mitarbeiter")
        return u"Select * From MITARBEITER INNER JOIN (KONTAKTDATEN, PLZ, LAENDER, "
               u"VORGABEN_ANREDE, VORGABEN_TITEL, VORGABEN_ABTEILUNG,VORGABEN_MA_ANG_STATUS) ON "
               u"MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "_s;
    if (kontaktArt == u"Kreditor")
        return u"Select * From KREDITOREN INNER JOIN (KONTAKTDATEN, PLZ, LAENDER, "
               u"VORGABEN_ANREDE, VORGABEN_TITEL) ON KREDITOREN.KONTAKTDATEN_ID = "
               u"KONTAKTDATEN.KONTAKTDATEN_ID AND "_s;
    return {};
}

QString Bedingung(const QString& suchbegriff, const QString& indexfeld)
{
    for (const TIndex& index : kIndizes) {
        if (indexfeld != index.feld)
            continue;
        if (!index.gleich.isEmpty() && IstKanonischeZahl(suchbegriff))
            return index.gleich.toString() + suchbegriff + u" AND "_s;
        return index.praefix.toString() + DBWerte::MusterMaskiert(suchbegriff) +
               index.suffix.toString();
    }
    return suchbegriff;
}

QString Filter(const QString& kontaktArt, bool inklGeloeschte)
{
    if (kontaktArt == u"Debitor") {
        return kLookups + (inklGeloeschte ? QString() : u"DEBITOREN.GELOESCHT <> \"J\" AND "_s) +
               u"KONTAKTDATEN.DEBITOR = \"J\" AND  PLZ.LAENDER_ID = LAENDER.LAND_ID ORDER by "_s;
    }
    if (kontaktArt == u"Kreditor") {
        return kLookups + u"KONTAKTDATEN.KREDITOR   = \"J\" AND "_s +
               (inklGeloeschte ? QString() : u"KREDITOREN.GELOESCHT   <> \"J\" AND "_s) +
               u"PLZ.LAENDER_ID = LAENDER.LAND_ID  ORDER by "_s;
    }
    if (kontaktArt == u"Mitarbeiter") {
        return kLookups +
               u"MITARBEITER.ABTEILUNG_ID = VORGABEN_ABTEILUNG.ABTEILUNG_ID AND "
               u"MITARBEITER.MA_ANG_STATUS_ID = VORGABEN_MA_ANG_STATUS.MA_ANG_STATUS_ID AND "
               u"KONTAKTDATEN.MITARBEITER = \"J\" AND "_s +
               (inklGeloeschte ? QString() : u"MITARBEITER.GELOESCHT <> \"J\"   AND "_s) +
               u"PLZ.LAENDER_ID = LAENDER.LAND_ID   ORDER by "_s;
    }
    return {};
}

QString Sortierung(const QString& indexfeld, bool aufsteigend)
{
    if (indexfeld == u"NACHNAME") {
        return aufsteigend
                   ? u"KONTAKTDATEN."_s + indexfeld + u" ASC, KONTAKTDATEN.VORNAME ASC"_s
                   : u" KONTAKTDATEN."_s + indexfeld + u" DESC, KONTAKTDATEN.VORNAME DESC"_s;
    }
    // Every kind's own table has a KONTAKTDATEN_ID too; unqualified, the server rejects the sort.
    const QString feld =
        indexfeld == u"KONTAKTDATEN_ID" ? u"KONTAKTDATEN.KONTAKTDATEN_ID"_s : indexfeld;
    return feld + (aufsteigend ? u" ASC, KONTAKTDATEN.NACHNAME ASC, KONTAKTDATEN.VORNAME ASC"_s
                               : u" DESC, KONTAKTDATEN.NACHNAME DESC, KONTAKTDATEN.VORNAME DESC"_s);
}

} // namespace KontaktSuche
