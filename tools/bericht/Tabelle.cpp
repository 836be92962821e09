// Text columns of the reports.
#include "Tabelle.h"

#include "Tagesbericht.h"
#include "Zeitraumbericht.h"

#include <QLocale>

using namespace Qt::Literals::StringLiterals;

namespace Zelle {

QString Zahl(qint64 wert)
{
    return QString::number(wert);
}

QString Messwert(const QString& wert)
{
    const QString text = wert.trimmed();
    bool zahl = false;
    text.toDouble(&zahl);
    return zahl ? QString(text).replace(u'.', u',') : text;
}

QString Datum(const QDate& tag)
{
    return tag.toString(u"dd.MM.yyyy"_s);
}

QString Zeit(const QDateTime& zeit)
{
    return zeit.toString(u"HH:mm:ss"_s);
}

QString DatumZeit(const QDateTime& zeit)
{
    return zeit.isValid() ? zeit.toString(u"dd.MM.yyyy HH:mm"_s) : u"nie"_s;
}

} // namespace Zelle

namespace {

QStringList Zahlenzeile(const TAbteilungszahlen& z)
{
    return {z.Abteilung, Zelle::Zahl(z.Mitarbeiter), Zelle::Zahl(z.Bestanden),
            Zelle::Zahl(z.Durchgefallen), Zelle::Zahl(z.NichtGemessen)};
}

} // namespace

QList<TTabelle> Tabellen(const TTagesbericht& bericht)
{
    const QString tag = bericht.Tag.toString(u"yyyy-MM-dd"_s);

    TTabelle abteilungen{u"tagesbericht-%1-abteilungen"_s.arg(tag),
                         u"Abteilungen"_s,
                         {u"Abteilung"_s, u"Mitarbeiter"_s, u"Bestanden"_s, u"Nicht bestanden"_s,
                          u"Nicht gemessen"_s},
                         {}};
    for (const TAbteilungszahlen& z : bericht.Abteilungen)
        abteilungen.Zeilen << Zahlenzeile(z);
    abteilungen.Zeilen << Zahlenzeile(bericht.Summe);

    TTabelle ausnahmen{u"tagesbericht-%1-ausnahmen"_s.arg(tag),
                       u"Ohne bestandene Messung an diesem Tag"_s,
                       {u"Abteilung"_s, u"Name"_s, u"Stand"_s, u"Zuletzt bestanden"_s},
                       {}};
    for (const TAusnahme& a : bericht.Ausnahmen)
        ausnahmen.Zeilen << QStringList{a.Abteilung, a.Name, Text(a.Stand),
                                        Zelle::DatumZeit(a.LetzteBestanden)};

    TTabelle fehl{u"tagesbericht-%1-fehlmessungen"_s.arg(tag),
                  u"Nicht bestandene Messungen"_s,
                  {u"Zeit"_s, u"Name"_s, u"Gast"_s, u"Abteilung"_s, u"Schuh links"_s,
                   u"Schuh rechts"_s, u"Handgelenkband"_s, u"Fehlercode"_s, u"Gründe"_s,
                   u"Station"_s},
                  {}};
    for (const TFehlmessung& f : bericht.Fehlmessungen)
        fehl.Zeilen << QStringList{Zelle::Zeit(f.Zeit),          f.Name,
                                   f.Gast ? u"ja"_s : u"nein"_s, f.Abteilung,
                                   Zelle::Messwert(f.SchuhL),    Zelle::Messwert(f.SchuhR),
                                   Zelle::Messwert(f.Armband),   f.Fehlercode,
                                   f.Gruende.join(u" / "_s),     f.Station};
    return {abteilungen, ausnahmen, fehl};
}

QList<TTabelle> Tabellen(const TZeitraumbericht& bericht)
{
    const QString zeitraum =
        bericht.Von.toString(u"yyyy-MM-dd"_s) + u'-' + bericht.Bis.toString(u"yyyy-MM-dd"_s);
    const auto datei = [&zeitraum](const QString& teil) {
        return u"zeitraum-%1-%2"_s.arg(zeitraum, teil);
    };

    TTabelle tage{datei(u"tage"_s),
                  u"Tage"_s,
                  {u"Tag"_s, u"Bestanden"_s, u"Nicht bestanden"_s, u"Nicht gemessen"_s},
                  {}};
    for (const TTageszahlen& t : bericht.Tage)
        tage.Zeilen << QStringList{Zelle::Datum(t.Tag), Zelle::Zahl(t.Bestanden),
                                   Zelle::Zahl(t.Durchgefallen), Zelle::Zahl(t.NichtGemessen)};

    TTabelle gruende{datei(u"gruende"_s),
                     u"Gründe nicht bestandener Messungen"_s,
                     {u"Grund"_s, u"Anzahl"_s},
                     {}};
    for (const TGrundzahl& g : bericht.Gruende)
        gruende.Zeilen << QStringList{g.Grund, Zelle::Zahl(g.Anzahl)};

    TTabelle mitarbeiter{datei(u"mitarbeiter"_s),
                         u"Mitarbeiter"_s,
                         {u"Abteilung"_s, u"Name"_s, u"Messungen"_s, u"Bestanden"_s,
                          u"Nicht bestanden"_s, u"Zuletzt bestanden"_s,
                          u"Nicht numerische Werte"_s},
                         {}};
    TTabelle verlauf{datei(u"verlauf"_s),
                     u"Messwerte"_s,
                     {u"Abteilung"_s, u"Name"_s, u"Zeit"_s, u"Schuh links"_s, u"Schuh rechts"_s,
                      u"Handgelenkband"_s},
                     {}};
    for (const TMitarbeiterzeile& m : bericht.Mitarbeiter) {
        mitarbeiter.Zeilen << QStringList{m.Abteilung,
                                          m.Name,
                                          Zelle::Zahl(m.Messungen),
                                          Zelle::Zahl(m.Bestanden),
                                          Zelle::Zahl(m.Durchgefallen),
                                          Zelle::DatumZeit(m.LetzteBestanden),
                                          Zelle::Zahl(m.NichtNumerisch)};
        for (const TVerlaufspunkt& p : m.Verlauf)
            verlauf.Zeilen << QStringList{m.Abteilung,
                                          m.Name,
                                          Zelle::DatumZeit(p.Zeit),
                                          Zelle::Messwert(p.TextL),
                                          Zelle::Messwert(p.TextR),
                                          Zelle::Messwert(p.TextArmband)};
    }
    return {tage, gruende, mitarbeiter, verlauf};
}
