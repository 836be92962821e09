// Reads and writes option values through the shared queries of the option data module.
#include "uDB_Key.h"

#include "AsciiGross.h"
#include "DBWerte.h"
#include "uGlobal.h"
#include "uMeldung.h"
#include "ufdmDB_Key.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Between double quotes of a look-up; the text cannot end the literal.
QString Gequotet(const QString& wert)
{
    return u"\""_s + DBWerte::TextMaskiert(wert) + u"\""_s;
}

void MeldeMehrfach()
{
    Meldung::Zeigen(Meldung::Art::Hinweis, u"Achtung! Der Optionswert existiert mehrfach!"_s);
}

void MeldeMasterFehlt(const QString& tabelle, const QString& modul, const QString& key)
{
    // The message must not give the key of the default password away.
    const QString gezeigt =
        key.compare(u"Standardpasswort"_s, Qt::CaseInsensitive) == 0 ? u"StandardPassXXX"_s : key;
    Meldung::Zeigen(
        Meldung::Art::Hinweis,
        QStringList{u"Achtung!"_s,
                    u"Folgender Key existiert nicht oder aber mehrfach in der Master-Tabelle:"_s,
                    QString(), u"Tabelle: "_s + tabelle, u"Modul: "_s + modul,
                    u"Key:      "_s + gezeigt, QString(),
                    u"Bitte verständigen Sie einen Administrator!"_s}
            .join(u"\r\n"_s));
}

void MeldeMasterMehrfach(const QString& modul, const QString& key)
{
    Meldung::Zeigen(Meldung::Art::Hinweis,
                    QStringList{u"Achtung!"_s,
                                u"Folgender Key existiert mehrfach in der Master-Tabelle:"_s,
                                QString(), u"Modul: "_s + modul, u"Key:      "_s + key, QString(),
                                u"Bitte verständigen Sie einen Administrator!"_s}
                        .join(u"\r\n"_s));
}

} // namespace

TDB_Key::TDB_Key(TfdmDB_Key& module, const TUser& benutzer) : FModul(module), FBenutzer(benutzer)
{
    Init();
}

void TDB_Key::Init()
{
    FTabellenname = u"EINSTELLUNGEN"_s;
}

void TDB_Key::SetTabellenname(const QString& wert)
{
    FTabellenname = AsciiGross(wert);
}

QString TDB_Key::ArbeitsplatzSuche(const QString& sModul, const QString& sKey1) const
{
    return u"Select * from "_s + FTabellenname + u" where "_s + u"PC_NAME = "_s +
           Gequotet(FBenutzer.PC_Name) + u" and "_s + u"MITARBEITER_ID = "_s +
           Gequotet(FBenutzer.Mitarbeiter_ID) + u" and "_s + u"MODUL = "_s + Gequotet(sModul) +
           u" and "_s + u"KEY1  = "_s + Gequotet(sKey1);
}

QString TDB_Key::LeseKey(const QString& sModul, const QString& sKey1)
{
    return Lesen(sModul, sKey1, true);
}

QString TDB_Key::LeseMasterKey(const QString& sModul, const QString& sKey1)
{
    return MasterLesen(AsciiGross(sModul), AsciiGross(sKey1), true);
}

QString TDB_Key::Lesen(const QString& sModul, const QString& sKey1, bool klonen)
{
    const QString modul = AsciiGross(sModul);
    const QString key = AsciiGross(sKey1);
    TDBAbfrage& qu = FModul.quDB_Key;
    qu.SQL().SetText(ArbeitsplatzSuche(modul, key));
    qu.Open();
    if (qu.RecordCount() == 1)
        return qu.FieldByName(u"WERT"_s).AsString();
    if (qu.RecordCount() > 1) {
        MeldeMehrfach();
        return QString();
    }
    return MasterLesen(modul, key, klonen);
}

QString TDB_Key::MasterLesen(const QString& sModul, const QString& sKey1, bool klonen)
{
    TDBAbfrage& qu = FModul.quDB_Key;
    qu.Close();
    qu.SQL().SetText(u"Select * from "_s + FTabellenname + u"_MASTER where "_s + u"MODUL = "_s +
                     Gequotet(sModul) + u" and "_s + u"KEY1  = "_s + Gequotet(sKey1));
    qu.Open();
    if (qu.RecordCount() != 1) {
        MeldeMasterFehlt(FTabellenname, sModul, sKey1);
        if (qu.RecordCount() > 1)
            MeldeMehrfach();
        return QString();
    }
    const QString wert = qu.FieldByName(u"WERT"_s).AsString();
    if (!klonen || qu.FieldByName(u"KLONEN"_s).AsString() != u"Ja"_s)
        return wert;
    Einfuegen(sModul, sKey1, wert, qu.FieldByName(u"BESCHREIBUNG"_s).AsString());
    // One clone per read: should the new row stay invisible, the re-read ends at the master.
    return Lesen(sModul, sKey1, false);
}

void TDB_Key::Einfuegen(const QString& sModul, const QString& sKey1, const QString& sWert,
                        const QString& sBeschreibung)
{
    TDBAbfrage& qu = FModul.quSpeichern;
    qu.SQL().SetText(u"Insert Into "_s + FTabellenname + u" Set "_s +
                     u"MODUL          = :Modul, "_s + u"PC_NAME        = :PC_Name, "_s +
                     u"MITARBEITER_ID = :Mitarbeiter_ID, "_s + u"KEY1           = :Key1, "_s +
                     u"WERT           = :Wert, "_s + u"BESCHREIBUNG   = :Beschreibung"_s);
    qu.ParamByName(u"MODUL"_s).SetAsString(sModul);
    qu.ParamByName(u"PC_NAME"_s).SetAsString(FBenutzer.PC_Name);
    qu.ParamByName(u"MITARBEITER_ID"_s).SetAsString(FBenutzer.Mitarbeiter_ID);
    qu.ParamByName(u"KEY1"_s).SetAsString(sKey1);
    qu.ParamByName(u"WERT"_s).SetAsString(sWert);
    qu.ParamByName(u"BESCHREIBUNG"_s).SetAsString(sBeschreibung);
    qu.ExecSQL();
}

void TDB_Key::SchreibeKey(const QString& sModul, const QString& sKey1, const QString& sWert,
                          const QString& sBeschreibung)
{
    Einfuegen(sModul, sKey1, sWert, sBeschreibung);
    LeseKey(sModul, sKey1);
}

void TDB_Key::SchreibeMasterKey(const QString& sModul, const QString& sKey1, const QString& sWert,
                                const QString& sBeschreibung, const QString& sKlonen)
{
    TDBAbfrage& qu = FModul.quSpeichern;
    qu.SQL().SetText(u"Insert Into "_s + FTabellenname + u"_MASTER Set "_s +
                     u"MODUL          = :Modul, "_s + u"KEY1           = :Key1, "_s +
                     u"WERT           = :Wert, "_s + u"BESCHREIBUNG   = :Beschreibung, "_s +
                     u"KLONEN         = :Klonen"_s);
    qu.ParamByName(u"MODUL"_s).SetAsString(sModul);
    qu.ParamByName(u"KEY1"_s).SetAsString(sKey1);
    qu.ParamByName(u"WERT"_s).SetAsString(sWert);
    qu.ParamByName(u"BESCHREIBUNG"_s).SetAsString(sBeschreibung);
    qu.ParamByName(u"KLONEN"_s).SetAsString(sKlonen);
    qu.ExecSQL();
    LeseKey(sModul, sKey1);
}

void TDB_Key::UpdateKey(const QString& sModul, const QString& sKey1, const QString& sWert)
{
    TDBAbfrage& suche = FModul.quDB_Key;
    suche.SQL().SetText(ArbeitsplatzSuche(sModul, sKey1));
    suche.Open();
    const int zeilen = suche.RecordCount();

    TDBAbfrage& qu = FModul.quSpeichern;
    if (zeilen == 1) {
        qu.SQL().SetText(u"Update "_s + FTabellenname + u" Set "_s +
                         u"WERT           = :Wert where "_s + u"MODUL          = :Modul and "_s +
                         u"PC_NAME        = :PC_Name and "_s +
                         u"MITARBEITER_ID = :Mitarbeiter_ID and "_s + u"KEY1           = :Key1"_s);
        qu.ParamByName(u"PC_NAME"_s).SetAsString(FBenutzer.PC_Name);
        qu.ParamByName(u"MITARBEITER_ID"_s).SetAsString(FBenutzer.Mitarbeiter_ID);
    } else {
        // Without one clear row of its own the workstation changes the shared default.
        qu.SQL().SetText(u"Update "_s + FTabellenname + u"_MASTER Set "_s +
                         u"WERT           = :Wert where "_s + u"MODUL          = :Modul and "_s +
                         u"KEY1           = :Key1"_s);
    }
    qu.ParamByName(u"MODUL"_s).SetAsString(sModul);
    qu.ParamByName(u"KEY1"_s).SetAsString(sKey1);
    qu.ParamByName(u"WERT"_s).SetAsString(sWert);
    qu.ExecSQL();
    if (zeilen > 1)
        MeldeMasterMehrfach(sModul, sKey1);
    LeseKey(sModul, sKey1);
}
