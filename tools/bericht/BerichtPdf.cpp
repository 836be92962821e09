// Headings and sentences around the tables the CSV files hold too.
#include "BerichtPdf.h"

#include "Diagramm.h"
#include "PdfSatz.h"
#include "Tabelle.h"
#include "Tagesbericht.h"
#include "Zeitraumbericht.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A page is narrower than a spreadsheet: the name says "(Gast)" and the reasons say what the
// code means, so those columns stay in the CSV file only.
TTabelle OhneSpalten(TTabelle tabelle, const QStringList& weg)
{
    const qsizetype gast = tabelle.Spalten.indexOf(u"Gast"_s);
    const qsizetype name = tabelle.Spalten.indexOf(u"Name"_s);
    if (gast >= 0 && name >= 0) {
        for (QStringList& zeile : tabelle.Zeilen) {
            if (zeile.at(gast) == u"ja"_s)
                zeile[name] += u" (Gast)"_s;
        }
    }
    for (const QString& spalte : weg) {
        const qsizetype i = tabelle.Spalten.indexOf(spalte);
        if (i < 0)
            continue;
        tabelle.Spalten.removeAt(i);
        for (QStringList& zeile : tabelle.Zeilen)
            zeile.removeAt(i);
    }
    return tabelle;
}

} // namespace

void TagesberichtPdf(const TTagesbericht& bericht, const TErstellung& erstellung,
                     const QString& pfad)
{
    TPdfSatz satz({u"Tagesbericht ESD-Prüfung"_s, bericht.Mandant, Zelle::Datum(bericht.Tag),
                   erstellung.Zeitpunkt, erstellung.Version});
    const QList<TTabelle> tabellen = Tabellen(bericht);
    const TAbteilungszahlen& summe = bericht.Summe;
    satz.Absatz(u"%1 Mitarbeiter auf der Tafel: %2 bestanden, %3 nicht bestanden, %4 nicht "
                "gemessen. Messungen von Gästen: %5. Als bestanden zählt, wer an diesem Tag "
                "mindestens eine Messung bestanden hat."_s.arg(summe.Mitarbeiter)
                    .arg(summe.Bestanden)
                    .arg(summe.Durchgefallen)
                    .arg(summe.NichtGemessen)
                    .arg(bericht.Gastmessungen));

    satz.Ueberschrift(tabellen.at(0).Titel);
    satz.Tabelle(tabellen.at(0));

    satz.Ueberschrift(u"%1 (%2)"_s.arg(tabellen.at(1).Titel).arg(bericht.Ausnahmen.size()));
    if (bericht.Ausnahmen.isEmpty())
        satz.Absatz(u"Alle Mitarbeiter der Tafel haben an diesem Tag bestanden."_s);
    else
        satz.Tabelle(tabellen.at(1));

    satz.Ueberschrift(u"%1 (%2)"_s.arg(tabellen.at(2).Titel).arg(bericht.Fehlmessungen.size()));
    if (bericht.Fehlmessungen.isEmpty())
        satz.Absatz(u"Keine."_s);
    else
        satz.Tabelle(OhneSpalten(tabellen.at(2), {u"Gast"_s, u"Fehlercode"_s}));
    satz.Schreiben(pfad);
}

void ZeitraumberichtPdf(const TZeitraumbericht& bericht, const TErstellung& erstellung,
                        const QString& pfad)
{
    TPdfSatz satz({u"Zeitraumbericht ESD-Prüfung"_s, bericht.Mandant,
                   Zelle::Datum(bericht.Von) + u" bis "_s + Zelle::Datum(bericht.Bis),
                   erstellung.Zeitpunkt, erstellung.Version});
    const QList<TTabelle> tabellen = Tabellen(bericht);
    int bestanden = 0;
    int durchgefallen = 0;
    int nichtGemessen = 0;
    for (const TTageszahlen& t : bericht.Tage) {
        bestanden += t.Bestanden;
        durchgefallen += t.Durchgefallen;
        nichtGemessen += t.NichtGemessen;
    }
    satz.Absatz(u"%1 Tage, %2 Mitarbeiter auf der heutigen Tafel. Summe über alle Tage: %3 "
                "bestanden, %4 nicht bestanden, %5 nicht gemessen (je Mitarbeiter und Tag)."_s
                    .arg(bericht.Tage.size())
                    .arg(bericht.Mitarbeiter.size())
                    .arg(bestanden)
                    .arg(durchgefallen)
                    .arg(nichtGemessen));

    satz.Ueberschrift(u"Tage"_s);
    const QList<TTageszahlen> tage = bericht.Tage;
    satz.Bild(90,
              [tage](QPainter& maler, const QRectF& ziel) { Diagramm::Tage(maler, ziel, tage); });
    satz.Tabelle(tabellen.at(0));

    satz.Ueberschrift(tabellen.at(1).Titel);
    if (bericht.Gruende.isEmpty())
        satz.Absatz(u"Keine nicht bestandene Messung."_s);
    else
        satz.Tabelle(tabellen.at(1));

    satz.Ueberschrift(tabellen.at(2).Titel);
    satz.Absatz(u"Verlauf der Messwerte: Schuh links blau, Schuh rechts orange, Handgelenkband "
                "violett, auf einer gemeinsamen Skala je Zeile. Nicht numerische Werte wie "
                "„OVR“ sind gezählt, aber nicht eingezeichnet."_s);
    const QList<TMitarbeiterzeile> mitarbeiter = bericht.Mitarbeiter;
    satz.Tabelle(tabellen.at(2), u"Verlauf"_s, 34,
                 [mitarbeiter](QPainter& maler, const QRectF& ziel, qsizetype zeile) {
                     Diagramm::Verlauf(maler, ziel, mitarbeiter.at(zeile).Verlauf);
                 });
    satz.Schreiben(pfad);
}
