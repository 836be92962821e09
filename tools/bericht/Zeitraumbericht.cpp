// One pass over the period's rows; the database only filters by time.
#include "Zeitraumbericht.h"

#include "Auswertung.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

std::optional<double> Zahlwert(const QString& wert)
{
    bool zahl = false;
    const double x = wert.trimmed().toDouble(&zahl);
    return zahl ? std::optional<double>(x) : std::nullopt;
}

TZeitraumbericht ZeitraumberichtErstellen(TBerichtsdaten& daten, const QString& mandant,
                                          const QDate& von, const QDate& bis)
{
    TZeitraumbericht bericht;
    bericht.Mandant = mandant;
    bericht.Von = von;
    bericht.Bis = bis;
    const QDateTime ende(bis.addDays(1), QTime(0, 0));
    const QList<TTafelAbteilung> tafel = daten.Tafel(mandant);
    const QList<TMessung> messungen = daten.Messungen(QDateTime(von, QTime(0, 0)), ende);
    const QHash<qint32, QDateTime> letzte = daten.LetzteBestanden(ende);

    QHash<qint32, qsizetype> zeile; // employee → row of bericht.Mitarbeiter
    for (const TTafelAbteilung& abteilung : tafel) {
        for (const TPerson& person : abteilung.Personen) {
            if (person.Gast() || zeile.contains(person.Id))
                continue;
            zeile.insert(person.Id, bericht.Mitarbeiter.size());
            TMitarbeiterzeile z;
            z.Abteilung = abteilung.Name;
            z.Name = person.Name();
            z.LetzteBestanden = letzte.value(person.Id);
            bericht.Mitarbeiter << z;
        }
    }

    // Per day: who passed, who only failed.
    QMap<QDate, QSet<qint32>> bestanden;
    QMap<QDate, QSet<qint32>> gemessen;
    QMap<QString, int> gruende;
    for (const TMessung& m : messungen) {
        const QDate tag = m.Zeit.date();
        if (!m.Bestanden) {
            for (const QString& grund : TZeilenauswertung::GruendeAusFehlercode(m.Fehlercode))
                ++gruende[grund];
        }
        const auto z = zeile.constFind(m.MitarbeiterId);
        if (z == zeile.constEnd())
            continue;
        gemessen[tag].insert(m.MitarbeiterId);
        if (m.Bestanden)
            bestanden[tag].insert(m.MitarbeiterId);
        TMitarbeiterzeile& ma = bericht.Mitarbeiter[*z];
        ++ma.Messungen;
        ++(m.Bestanden ? ma.Bestanden : ma.Durchgefallen);
        const TVerlaufspunkt punkt{
            m.Zeit,   Zahlwert(m.SchuhL), Zahlwert(m.SchuhR), Zahlwert(m.Armband),
            m.SchuhL, m.SchuhR,           m.Armband};
        for (const QString* wert : {&m.SchuhL, &m.SchuhR, &m.Armband}) {
            if (!wert->trimmed().isEmpty() && !Zahlwert(*wert))
                ++ma.NichtNumerisch;
        }
        ma.Verlauf << punkt;
    }

    const int personen = static_cast<int>(bericht.Mitarbeiter.size());
    for (QDate tag = von; tag <= bis; tag = tag.addDays(1)) {
        const int ok = static_cast<int>(bestanden.value(tag).size());
        const int gemessenAnTag = static_cast<int>(gemessen.value(tag).size());
        bericht.Tage << TTageszahlen{tag, ok, gemessenAnTag - ok, personen - gemessenAnTag};
    }

    for (auto g = gruende.cbegin(); g != gruende.cend(); ++g)
        bericht.Gruende << TGrundzahl{g.key(), g.value()};
    std::stable_sort(bericht.Gruende.begin(), bericht.Gruende.end(),
                     [](const TGrundzahl& a, const TGrundzahl& b) { return a.Anzahl > b.Anzahl; });
    return bericht;
}
