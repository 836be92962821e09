// Generates the company from two seeded generators: one for the people, so that names and
// portraits do not change with the clock, and one for the history.
#include "Demofirma.h"

#include "Pruefgeraet.h"

#include <QRandomGenerator>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace Demofirma {
namespace {

struct TPlan
{
    const char16_t* Name;
    int Tafel;  // measured employees, ESD_MESSUNG 'J'
    int Buero;  // employees who never stand on the tester
    int Gaeste; // guest accounts
    bool Inaktiv;
    bool Geloescht;
};

// The demo's scripted walk opens "Fertigung SMD" (two board pages) and "Besucher".
constexpr std::array<TPlan, 8> kPlan{{
    {u"Fertigung SMD", 32, 0, 0, false, false},
    {u"Montage", 14, 2, 0, false, false},
    {u"Prüffeld", 9, 0, 0, false, false},
    {u"Lager und Versand", 8, 0, 0, false, false},
    {u"Qualitätssicherung", 7, 0, 0, false, false},
    {u"Besucher", 0, 0, 4, false, false},
    {u"Instandhaltung", 3, 0, 0, true, false},
    {u"Galvanik", 2, 0, 0, true, true},
}};

// Key 1 of both tables is the station's "none" row.
constexpr int kErsteAbteilung = 2;
constexpr int kErsterMitarbeiter = 2;
// Board employees who have never been measured (just hired).
constexpr int kNieGemessen = 3;
constexpr int kHeuteProzent = 40;
constexpr int kTaeglichProzent = 90;
constexpr int kFehlerProzent = 5;
// Guests who visited in the last weeks; the others have never been measured.
constexpr int kGaesteMitBesuch = 2;

const QStringList kVornamenFrauen{
    u"Andrea"_s, u"Anja"_s,    u"Bärbel"_s,    u"Birgit"_s,    u"Claudia"_s,  u"Dörte"_s,
    u"Elena"_s,  u"Emine"_s,   u"Franziska"_s, u"Gabriele"_s,  u"Heike"_s,    u"Ines"_s,
    u"Jana"_s,   u"Julia"_s,   u"Karin"_s,     u"Katharina"_s, u"Laura"_s,    u"Lena"_s,
    u"Maria"_s,  u"Martina"_s, u"Monika"_s,    u"Nicole"_s,    u"Petra"_s,    u"Sabine"_s,
    u"Sandra"_s, u"Silke"_s,   u"Simone"_s,    u"Sophie"_s,    u"Stefanie"_s, u"Tanja"_s,
    u"Ursula"_s, u"Zeynep"_s};
const QStringList kVornamenMaenner{
    u"Andreas"_s, u"Bernd"_s,    u"Björn"_s,     u"Christian"_s,  u"Daniel"_s, u"Dieter"_s,
    u"Florian"_s, u"Frank"_s,    u"Günter"_s,    u"Hans-Peter"_s, u"Holger"_s, u"Jan"_s,
    u"Jens"_s,    u"Jörg"_s,     u"Jürgen"_s,    u"Kai"_s,        u"Klaus"_s,  u"Lukas"_s,
    u"Markus"_s,  u"Matthias"_s, u"Mehmet"_s,    u"Michael"_s,    u"Niklas"_s, u"Oliver"_s,
    u"Piotr"_s,   u"Ralf"_s,     u"Sebastian"_s, u"Sören"_s,      u"Stefan"_s, u"Thomas"_s,
    u"Timo"_s,    u"Tobias"_s,   u"Uwe"_s,       u"Wolfgang"_s};
const QStringList kNachnamen{
    u"Müller"_s,   u"Schmidt"_s,    u"Schneider"_s, u"Fischer"_s,   u"Weber"_s,    u"Meyer"_s,
    u"Wagner"_s,   u"Becker"_s,     u"Schulz"_s,    u"Hoffmann"_s,  u"Schäfer"_s,  u"Koch"_s,
    u"Bauer"_s,    u"Richter"_s,    u"Klein"_s,     u"Wolf"_s,      u"Schröder"_s, u"Neumann"_s,
    u"Schwarz"_s,  u"Zimmermann"_s, u"Braun"_s,     u"Krüger"_s,    u"Hartmann"_s, u"Lange"_s,
    u"Werner"_s,   u"Krause"_s,     u"Lehmann"_s,   u"Schulze"_s,   u"Köhler"_s,   u"Herrmann"_s,
    u"König"_s,    u"Walter"_s,     u"Huber"_s,     u"Kaiser"_s,    u"Fuchs"_s,    u"Peters"_s,
    u"Scholz"_s,   u"Möller"_s,     u"Weiß"_s,      u"Jung"_s,      u"Hahn"_s,     u"Schubert"_s,
    u"Vogel"_s,    u"Friedrich"_s,  u"Keller"_s,    u"Günther"_s,   u"Berger"_s,   u"Winkler"_s,
    u"Roth"_s,     u"Beck"_s,       u"Lorenz"_s,    u"Baumann"_s,   u"Franke"_s,   u"Albrecht"_s,
    u"Schuster"_s, u"Ludwig"_s,     u"Böhm"_s,      u"Winter"_s,    u"Kraus"_s,    u"Schumacher"_s,
    u"Krämer"_s,   u"Vogt"_s,       u"Stein"_s,     u"Jäger"_s,     u"Sommer"_s,   u"Groß"_s,
    u"Seidel"_s,   u"Brandt"_s,     u"Haas"_s,      u"Schreiber"_s, u"Dietrich"_s, u"Ziegler"_s,
    u"Kühn"_s,     u"Pohl"_s,       u"Engel"_s,     u"Horn"_s,      u"Busch"_s,    u"Bergmann"_s,
    u"Voigt"_s,    u"Sauer"_s,      u"Arnold"_s,    u"Pfeiffer"_s,  u"Öztürk"_s,   u"Kowalski"_s,
    u"Nowak"_s,    u"Yilmaz"_s,     u"Dürr"_s,      u"Hübner"_s,    u"Glöckner"_s, u"Vöhringer"_s};
const QStringList kStrassen{u"Hauptstraße"_s,  u"Bahnhofstraße"_s,     u"Schillerstraße"_s,
                            u"Goethestraße"_s, u"Lindenweg"_s,         u"Am Mühlbach"_s,
                            u"Kirchstraße"_s,  u"Gartenstraße"_s,      u"Talstraße"_s,
                            u"Rosenweg"_s,     u"Schwarzwaldstraße"_s, u"Eichendorffweg"_s};
const std::array<std::array<const char16_t*, 2>, 7> kOrte{{
    {u"79098", u"Freiburg im Breisgau"},
    {u"79114", u"Freiburg im Breisgau"},
    {u"79183", u"Waldkirch"},
    {u"79211", u"Denzlingen"},
    {u"79194", u"Gundelfingen"},
    {u"79268", u"Bötzingen"},
    {u"79336", u"Herbolzheim"},
}};
// What visitors type on the station's keyboard (at most 25 characters).
const QStringList kBesucher{u"Besucher Firma Lindner"_s, u"Hr. Albrecht, Fa. Rösch"_s,
                            u"Service Kältetechnik"_s,   u"Frau Yilmaz (Audit)"_s,
                            u"Techniker Fa. Brenner"_s,  u"Besucher Firma Kessler"_s};

int Zahl(QRandomGenerator& zufall, int anzahl)
{
    return zufall.bounded(anzahl);
}

const QString& Eins(QRandomGenerator& zufall, const QStringList& liste)
{
    return liste.at(zufall.bounded(static_cast<int>(liste.size())));
}

template <typename T> void Mischen(QRandomGenerator& zufall, std::vector<T>& werte)
{
    for (size_t i = werte.size(); i > 1; --i) {
        const auto j = static_cast<size_t>(zufall.bounded(static_cast<quint32>(i)));
        std::swap(werte[i - 1], werte[j]);
    }
}

// Names in a shuffled order, each once before any comes again.
class TReihe
{
public:
    TReihe(QRandomGenerator& zufall, const QStringList& namen)
        : FZufall(zufall), FNamen(namen.begin(), namen.end())
    {}

    QString Naechster()
    {
        if (FNaechster == 0)
            Mischen(FZufall, FNamen);
        const QString name = FNamen[FNaechster];
        FNaechster = (FNaechster + 1) % FNamen.size();
        return name;
    }

private:
    QRandomGenerator& FZufall;
    std::vector<QString> FNamen;
    size_t FNaechster = 0;
};

// Spreads (saat, id) over all 32 bits, so that neighbouring ids look unrelated.
quint32 Streuen(quint32 saat, quint32 id)
{
    quint64 x = (static_cast<quint64>(saat) << 32) | id;
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return static_cast<quint32>(x);
}

QDateTime Ganze(const QDateTime& zeit)
{
    const QTime t = zeit.time();
    return QDateTime(zeit.date(), QTime(t.hour(), t.minute(), t.second()));
}

QDateTime AmTag(const QDate& tag, int sekunden)
{
    return QDateTime(tag, QTime(0, 0).addSecs(sekunden));
}

QString Status(QRandomGenerator& zufall)
{
    const int wurf = Zahl(zufall, 100);
    if (wurf < 85)
        return u"Festangestellt"_s;
    if (wurf < 91)
        return u"Befristet"_s;
    if (wurf < 96)
        return u"Auszubildend"_s;
    return u"Leiharbeit"_s;
}

QString Loginname(const QString& vorname, const QString& nachname, QSet<QString>& vergeben)
{
    QString basis;
    for (const QChar zeichen : (Ascii(vorname.left(1)) + Ascii(nachname)).toLower()) {
        if (zeichen >= u'a' && zeichen <= u'z')
            basis += zeichen;
    }
    QString name = basis;
    for (int n = 2; vergeben.contains(name); ++n)
        name = basis + QString::number(n);
    vergeben.insert(name);
    return name;
}

// The tester results as the station evaluates them.
struct TErgebnisse
{
    TMesswerte Bestanden;
    std::vector<TMesswerte> Durchgefallen;

    TErgebnisse()
    {
        using namespace Pruefgeraet;
        Bestanden = Messwerte(Pruefgeraet::Bestanden()).value();
        // Dry or dirty soles and a loose wrist strap: the usual reasons at a factory gate.
        for (const QList<QByteArray>& zeilen :
             {Pruefgeraet::Durchgefallen(kSchuhLinksZuHoch),
              Pruefgeraet::Durchgefallen(kSchuhRechtsZuHoch),
              Pruefgeraet::Durchgefallen(kSchuhLinksZuHoch | kSchuhRechtsZuHoch),
              Pruefgeraet::Durchgefallen(kArmbandZuHoch), Ueberlauf(TTeil::SchuhLinks),
              Ueberlauf(TTeil::SchuhRechts)})
            Durchgefallen.push_back(Messwerte(zeilen).value());
    }
};

class TVerlauf
{
public:
    TVerlauf(quint32 saat, const QDateTime& jetzt)
        : FZufall(saat ^ 0x9e3779b9u), FHeute(jetzt.date())
    {
        for (QDate tag = FHeute.addDays(-1); static_cast<int>(FTage.size()) < kArbeitstage;
             tag = tag.addDays(-1)) {
            if (tag.dayOfWeek() <= 5)
                FTage.insert(FTage.begin(), tag);
        }
        // Today's passes lie between the morning shift (or midnight) and a minute ago.
        FHeuteBis = Ganze(jetzt.addSecs(-60));
        const QDateTime mitternacht(FHeute, QTime(0, 0));
        if (FHeuteBis < mitternacht)
            FHeuteBis = mitternacht;
        FHeuteAb = QDateTime(FHeute, QTime(6, 0));
        if (FHeuteAb > FHeuteBis)
            FHeuteAb = mitternacht;
    }

    QRandomGenerator& Zufall() { return FZufall; }

    // The most recent working day at least von and at most bis calendar days ago; the most
    // recent of them with the given share, any of them otherwise.
    QDate LetzterTag(int von, int bis, int neuesterProzent)
    {
        std::vector<QDate> moegliche;
        for (auto tag = FTage.rbegin(); tag != FTage.rend(); ++tag) {
            const qint64 vor = tag->daysTo(FHeute);
            if (vor >= von && vor <= bis)
                moegliche.push_back(*tag);
        }
        if (Zahl(FZufall, 100) < neuesterProzent)
            return moegliche.front();
        return moegliche[static_cast<size_t>(Zahl(FZufall, static_cast<int>(moegliche.size())))];
    }

    // Passes at the person's usual hour on most working days up to bis, on bis for sure (bis
    // today: the whole history, today not included).
    void Arbeitstage(TPerson& person, const QDate& bis)
    {
        const int ankunft = 5 * 3600 + 45 * 60 + Zahl(FZufall, 3 * 3600);
        for (const QDate& tag : FTage) {
            if (tag > bis)
                break;
            if (tag != bis && Zahl(FZufall, 100) >= kTaeglichProzent)
                continue;
            Messen(person, person.Loginname, AmTag(tag, ankunft - 900 + Zahl(FZufall, 1800)),
                   QDateTime(tag, QTime(0, 0)));
        }
    }

    void Heute(TPerson& person)
    {
        const auto spanne = static_cast<quint64>(FHeuteAb.secsTo(FHeuteBis));
        const auto versatz = static_cast<qint64>(FZufall.bounded(spanne + 1));
        Messen(person, person.Loginname, FHeuteAb.addSecs(versatz), QDateTime(FHeute, QTime(0, 0)));
    }

    void Besuche(TPerson& gast, int anzahl)
    {
        std::vector<QDate> tage = FTage;
        Mischen(FZufall, tage);
        tage.resize(static_cast<size_t>(anzahl));
        std::sort(tage.begin(), tage.end());
        for (const QDate& tag : tage) {
            Messen(gast, Eins(FZufall, kBesucher), AmTag(tag, 9 * 3600 + Zahl(FZufall, 6 * 3600)),
                   QDateTime(tag, QTime(0, 0)));
        }
    }

private:
    // One pass at zeit, now and then after a failed attempt a few minutes earlier (never
    // before fruehestens).
    void Messen(TPerson& person, const QString& name, const QDateTime& zeit,
                const QDateTime& fruehestens)
    {
        if (Zahl(FZufall, 100) < kFehlerProzent) {
            const QDateTime fehler = zeit.addSecs(-(120 + Zahl(FZufall, 360)));
            const TMesswerte& werte = FErgebnisse.Durchgefallen[static_cast<size_t>(
                Zahl(FZufall, static_cast<int>(FErgebnisse.Durchgefallen.size())))];
            if (fehler >= fruehestens)
                person.Messungen.push_back({fehler, name, werte});
        }
        person.Messungen.push_back({zeit, name, FErgebnisse.Bestanden});
        person.DatumEsdMessung = zeit;
    }

    QRandomGenerator FZufall;
    const TErgebnisse FErgebnisse;
    QDate FHeute;
    std::vector<QDate> FTage; // oldest first
    QDateTime FHeuteAb;
    QDateTime FHeuteBis;
};

} // namespace

int TFirma::Mitarbeiterzahl() const
{
    return static_cast<int>(
        std::count_if(Personen.begin(), Personen.end(), [](const TPerson& p) { return !p.Gast; }));
}

int TFirma::Gastzahl() const
{
    return static_cast<int>(Personen.size()) - Mitarbeiterzahl();
}

int TFirma::Messungszahl() const
{
    size_t anzahl = 0;
    for (const TPerson& person : Personen)
        anzahl += person.Messungen.size();
    return static_cast<int>(anzahl);
}

QString Ascii(const QString& text)
{
    QString ersetzt = text;
    ersetzt.replace(u"ä"_s, u"ae"_s)
        .replace(u"ö"_s, u"oe"_s)
        .replace(u"ü"_s, u"ue"_s)
        .replace(u"Ä"_s, u"Ae"_s)
        .replace(u"Ö"_s, u"Oe"_s)
        .replace(u"Ü"_s, u"Ue"_s)
        .replace(u"ß"_s, u"ss"_s);
    QString ascii;
    for (const QChar zeichen : ersetzt.normalized(QString::NormalizationForm_D)) {
        if (zeichen.unicode() < 128)
            ascii += zeichen;
    }
    return ascii;
}

TFirma Erzeuge(quint32 saat, const QDateTime& jetzt)
{
    TFirma firma;
    firma.Land = u"Deutschland"_s;
    QRandomGenerator zufall(saat);
    TReihe vornamenFrauen(zufall, kVornamenFrauen);
    TReihe vornamenMaenner(zufall, kVornamenMaenner);
    TReihe nachnamen(zufall, kNachnamen);
    QSet<QString> logins;
    int id = kErsterMitarbeiter;

    for (size_t i = 0; i < kPlan.size(); ++i) {
        const TPlan& plan = kPlan[i];
        const int abteilung = kErsteAbteilung + static_cast<int>(i);
        const QString name = QString::fromUtf16(plan.Name);
        firma.Abteilungen.push_back({abteilung, name, plan.Inaktiv, plan.Geloescht});
        for (int n = 0; n < plan.Tafel + plan.Buero; ++n, ++id) {
            TPerson p;
            p.Mitarbeiter_ID = id;
            p.Abteilung_ID = abteilung;
            const bool frau = Zahl(zufall, 2) == 1;
            p.Anrede = frau ? u"Frau"_s : u"Herr"_s;
            p.Vorname = frau ? vornamenFrauen.Naechster() : vornamenMaenner.Naechster();
            p.Nachname = nachnamen.Naechster();
            // The department heads of the laboratories carry their degree.
            if (n == 0 && name == u"Qualitätssicherung"_s)
                p.Titel = u"Dr."_s;
            if (n == 0 && name == u"Prüffeld"_s)
                p.Titel = u"Dipl.-Ing."_s;
            p.Status = Status(zufall);
            p.Personalnummer = QString::number(10000 + 3 * id + Zahl(zufall, 3));
            p.Loginname = Loginname(p.Vorname, p.Nachname, logins);
            p.Strasse = Eins(zufall, kStrassen) + u' ' + QString::number(1 + Zahl(zufall, 120));
            const auto& ort =
                kOrte[static_cast<size_t>(Zahl(zufall, static_cast<int>(kOrte.size())))];
            p.Plz = QString::fromUtf16(ort[0]);
            p.Ort = QString::fromUtf16(ort[1]);
            p.Telefon = u"0761 45890-%1"_s.arg(100 + id);
            p.Email =
                (Ascii(p.Vorname) + u'.' + Ascii(p.Nachname)).toLower() + u"@demofirma.example"_s;
            p.Geburtstag = QDate(1961, 1, 1).addDays(Zahl(zufall, 44 * 365));
            p.EsdMessung = n < plan.Tafel;
            if (!p.EsdMessung)
                p.Anmerkungen = u"Büro, ohne ESD-Messung"_s;
            p.Inaktiv = plan.Geloescht;
            p.Geloescht = plan.Geloescht;
            if (plan.Geloescht)
                p.Anmerkungen = u"Abteilung aufgelöst"_s;
            p.Foto = true;
            p.Merkmal = (Streuen(saat, static_cast<quint32>(id)) & ~1u) | (frau ? 1u : 0u);
            firma.Personen.push_back(p);
        }
        for (int n = 1; n <= plan.Gaeste; ++n, ++id) {
            TPerson p;
            p.Mitarbeiter_ID = id;
            p.Abteilung_ID = abteilung;
            p.Vorname = u"Besucher %1"_s.arg(n);
            p.Nachname = u"Gast"_s;
            p.Loginname = u"Gast%1"_s.arg(n);
            p.Plz = QString::fromUtf16(kOrte[0][0]);
            p.Ort = QString::fromUtf16(kOrte[0][1]);
            p.Anmerkungen = u"Gastkonto für Besucher"_s;
            p.Gast = true;
            p.EsdMessung = true;
            firma.Personen.push_back(p);
        }
    }

    TVerlauf verlauf(saat, jetzt);
    std::vector<TPerson*> tafel;
    int gaeste = 0;
    for (TPerson& p : firma.Personen) {
        const TAbteilung& abteilung =
            firma.Abteilungen[static_cast<size_t>(p.Abteilung_ID - kErsteAbteilung)];
        if (p.Gast) {
            if (gaeste++ < kGaesteMitBesuch)
                verlauf.Besuche(p, 2 + Zahl(verlauf.Zufall(), 3));
        } else if (!p.EsdMessung) {
            continue;
        } else if (abteilung.Geloescht) {
            verlauf.Arbeitstage(p, verlauf.LetzterTag(12, 20, 0));
        } else if (abteilung.Inaktiv) {
            verlauf.Arbeitstage(p, verlauf.LetzterTag(5, 15, 0));
        } else {
            tafel.push_back(&p);
        }
    }
    Mischen(verlauf.Zufall(), tafel);
    const size_t heute = (tafel.size() * kHeuteProzent + 50) / 100;
    for (size_t i = 0; i < tafel.size(); ++i) {
        TPerson& p = *tafel[i];
        if (i < heute) {
            verlauf.Arbeitstage(p, jetzt.date());
            verlauf.Heute(p);
        } else if (i < heute + kNieGemessen) {
            p.Anmerkungen = u"Neu eingestellt, ESD-Einweisung folgt"_s;
        } else {
            verlauf.Arbeitstage(p, verlauf.LetzterTag(1, 20, 65));
        }
    }
    return firma;
}

QString Zusammenfassung(const TFirma& firma)
{
    return u"Demofirma angelegt: %1 Abteilungen, %2 Mitarbeiter, %3 Gäste, %4 Messungen."_s
        .arg(firma.Abteilungen.size())
        .arg(firma.Mitarbeiterzahl())
        .arg(firma.Gastzahl())
        .arg(firma.Messungszahl());
}

} // namespace Demofirma
