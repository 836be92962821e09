// Counting happens here on the day's rows; the database only filters by time.
#include "Tagesbericht.h"

#include "Auswertung.h"

#include <QHash>

using namespace Qt::Literals::StringLiterals;

QString Text(TTagesstand stand)
{
    switch (stand) {
    case TTagesstand::Bestanden:
        return u"bestanden"_s;
    case TTagesstand::Durchgefallen:
        return u"nicht bestanden"_s;
    case TTagesstand::NichtGemessen:
        break;
    }
    return u"nicht gemessen"_s;
}

void TAbteilungszahlen::Zaehlen(TTagesstand stand)
{
    ++Mitarbeiter;
    switch (stand) {
    case TTagesstand::Bestanden:
        ++Bestanden;
        break;
    case TTagesstand::Durchgefallen:
        ++Durchgefallen;
        break;
    case TTagesstand::NichtGemessen:
        ++NichtGemessen;
        break;
    }
}

TFehlmessung Fehlmessung(const TMessung& messung, const TPerson* person)
{
    TFehlmessung fehl;
    fehl.Zeit = messung.Zeit;
    fehl.Gast = person && person->Gast();
    fehl.Name = person && !fehl.Gast ? person->Name() : messung.Name;
    fehl.Abteilung = person ? person->Abteilung : QString();
    fehl.SchuhL = messung.SchuhL.trimmed();
    fehl.SchuhR = messung.SchuhR.trimmed();
    fehl.Armband = messung.Armband.trimmed();
    fehl.Fehlercode = messung.Fehlercode.trimmed();
    fehl.Gruende = TZeilenauswertung::GruendeAusFehlercode(messung.Fehlercode);
    fehl.Station = messung.Station;
    return fehl;
}

TTagesbericht TagesberichtErstellen(TBerichtsdaten& daten, const QString& mandant, const QDate& tag)
{
    TTagesbericht bericht;
    bericht.Mandant = mandant;
    bericht.Tag = tag;
    bericht.Summe.Abteilung = u"Gesamt"_s;

    const QDateTime beginn(tag, QTime(0, 0));
    const QDateTime ende(tag.addDays(1), QTime(0, 0));
    const QList<TTafelAbteilung> tafel = daten.Tafel(mandant);
    const QList<TMessung> messungen = daten.Messungen(beginn, ende);

    QHash<qint32, const TPerson*> personen;
    for (const TTafelAbteilung& abteilung : tafel) {
        for (const TPerson& person : abteilung.Personen)
            personen.insert(person.Id, &person);
    }

    QHash<qint32, TTagesstand> stand;
    for (const TMessung& messung : messungen) {
        const TPerson* person = personen.value(messung.MitarbeiterId);
        if (person && person->Gast())
            ++bericht.Gastmessungen;
        // Any pass of the day decides; a failure alone leaves the person failed.
        if (messung.Bestanden)
            stand.insert(messung.MitarbeiterId, TTagesstand::Bestanden);
        else if (!stand.contains(messung.MitarbeiterId))
            stand.insert(messung.MitarbeiterId, TTagesstand::Durchgefallen);
        if (!messung.Bestanden)
            bericht.Fehlmessungen << Fehlmessung(messung, person);
    }

    // Only exceptions need the last pass before the day; fetched once for all.
    QHash<qint32, QDateTime> letzte;
    bool letzteGelesen = false;
    for (const TTafelAbteilung& abteilung : tafel) {
        TAbteilungszahlen zahlen{abteilung.Name};
        for (const TPerson& person : abteilung.Personen) {
            if (person.Gast())
                continue;
            const TTagesstand s = stand.value(person.Id, TTagesstand::NichtGemessen);
            zahlen.Zaehlen(s);
            bericht.Summe.Zaehlen(s);
            if (s == TTagesstand::Bestanden)
                continue;
            if (!letzteGelesen) {
                letzte = daten.LetzteBestanden(ende);
                letzteGelesen = true;
            }
            bericht.Ausnahmen << TAusnahme{abteilung.Name, person.Name(), s,
                                           letzte.value(person.Id)};
        }
        bericht.Abteilungen << zahlen;
    }
    return bericht;
}
