// Load driver: one headless station that measures many times against a server and logs each
// stored row, so that a test can find every row exactly once.
#include "AsciiGross.h"
#include "Laststation.h"
#include "Pruefgeraet.h"
#include "Verbindungsoptionen.h"
#include "uFehler.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>

#include <array>
#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kErfolg = 0;
constexpr int kNichtGespeichert = 1;
constexpr int kFalscheEingabe = TVerbindungsoptionen::kFalscheEingabe;

// One in this many failed results is the key released too early ("ERG -10").
constexpr int kZuFruehJeFehler = 8;
// The tester's reason bits: 1 … 127.
constexpr int kHoechsterFehlercode = 127;
// What the on-screen keyboard lets a guest type.
constexpr int kGastnameLaenge = 25;

QTextStream& Fehlerausgabe()
{
    static QTextStream strom(stderr);
    return strom;
}

// "3,5,10-20": single ids and inclusive ranges; nullopt for anything else or an empty list.
std::optional<QList<int>> Mitarbeiterliste(const QString& text)
{
    QList<int> ids;
    for (const QString& teil : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList grenzen = teil.trimmed().split(u'-');
        bool ok1 = false;
        bool ok2 = true;
        const int von = grenzen.value(0).toInt(&ok1);
        const int bis = grenzen.size() == 2 ? grenzen.value(1).toInt(&ok2) : von;
        if (!ok1 || !ok2 || grenzen.size() > 2 || von < 1 || bis < von || bis - von > 100000)
            return std::nullopt;
        for (int id = von; id <= bis; ++id)
            ids.append(id);
    }
    if (ids.isEmpty())
        return std::nullopt;
    return ids;
}

QString Zeitpunkt(const QDateTime& zeit)
{
    return zeit.toString(u"yyyy-MM-dd hh:mm:ss.zzz"_s);
}

// One log line: station, number, key of the row, then the row's values as recorded, the local
// clock around the measurement, the outcome and the result's identity (its receipt).
QString Protokollzeile(int station, const TLastmessung& m)
{
    const QStringList felder{QString::number(station),
                             QString::number(m.Nummer),
                             QString::number(m.Ergebnis.Messung_ID),
                             m.Werte.Mitarbeiter_ID,
                             m.Werte.Name,
                             m.Werte.Messwerte_OK ? u"J"_s : u"N"_s,
                             m.Werte.Fehlercode,
                             m.Werte.Messwert1,
                             m.Werte.Messwert2,
                             m.Werte.Messwert3,
                             Zeitpunkt(m.Vor),
                             Zeitpunkt(m.Nach),
                             m.Ergebnis.Gespeichert ? u"1"_s : u"0"_s,
                             m.Ergebnis.Fehlernummer,
                             m.Werte.Kennung};
    return felder.join(u'\t');
}

const QString kProtokollKopf =
    u"#station\tnummer\tmessung_id\tmitarbeiter_id\tname\tmesswerte_ok\tfehlercode\t"
    u"messwert1\tmesswert2\tmesswert3\tvor\tnach\tgespeichert\tfehlernummer\tkennung"_s;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication anwendung(argc, argv);
    QCoreApplication::setApplicationName(u"teststation-stationslast"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Eine Teststation ohne Bildschirm für Lasttests: schickt die Zeilen des "
        u"Prüfgerätesimulators Byte für Byte durch die Auswertung der Station und speichert "
        u"jedes Ergebnis mit der Buchung der Station. Ausgabe: eine Zeile \"LAST station=… "
        u"messungen=… gespeichert=… fehler=… …\"; Status 1, wenn eine Messung nicht "
        u"gespeichert wurde."_s);
    const TVerbindungsoptionen verbindungsoptionen(
        u"Name der Datenbank (Pflicht; wird wie von der Station großgeschrieben)."_s);
    const QCommandLineOption anzahl(u"anzahl"_s, u"Zahl der Messungen (Vorgabe 500)."_s, u"N"_s,
                                    u"500"_s);
    const QCommandLineOption station(
        u"station"_s,
        u"Nummer dieser Station (Vorgabe 1): Startwert des Zufalls und erste Spalte des "
        u"Protokolls."_s,
        u"K"_s, u"1"_s);
    const QCommandLineOption mitarbeiter(
        u"mitarbeiter"_s,
        u"Mitarbeiternummern, aus denen jede Messung zufällig eine wählt, z. B. "
        u"\"12,15,20-40\" (Pflicht). Gastkonten bekommen einen eingegebenen Namen "
        u"\"S<station>-<nummer>\"."_s,
        u"LISTE"_s);
    const QCommandLineOption bestanden(u"bestanden"_s,
                                       u"Anteil bestandener Messungen in Prozent (Vorgabe 80)."_s,
                                       u"PROZENT"_s, u"80"_s);
    const QCommandLineOption protokoll(
        u"protokoll"_s,
        u"Jede Messung als Zeile in DATEI schreiben (tabulatorgetrennt, Spalten in der ersten "
        u"Zeile)."_s,
        u"DATEI"_s);
    parser.addOptions(verbindungsoptionen.Alle());
    parser.addOptions({anzahl, station, mitarbeiter, bestanden, protokoll});

    QTextStream aus(stdout);
    if (const std::optional<int> ende = verbindungsoptionen.Einlesen(
            parser, QCoreApplication::arguments(), aus, Fehlerausgabe()))
        return *ende;
    if (!verbindungsoptionen.Vollstaendig(parser, {&mitarbeiter}, Fehlerausgabe()))
        return kFalscheEingabe;
    const auto zahl = [&parser](const QCommandLineOption& option, int kleinste,
                                int groesste) -> std::optional<int> {
        bool ok = false;
        const int wert = parser.value(option).toInt(&ok);
        if (!ok || wert < kleinste || wert > groesste) {
            Fehlerausgabe() << "--" << option.names().constFirst() << " muss eine Zahl von "
                            << kleinste << " bis " << groesste << " sein: " << parser.value(option)
                            << Qt::endl;
            return std::nullopt;
        }
        return wert;
    };
    const std::optional<int> portNr = zahl(verbindungsoptionen.Port, 1, 65535);
    const std::optional<int> messungen = zahl(anzahl, 0, 10000000);
    const std::optional<int> stationNr = zahl(station, 0, 1000000);
    const std::optional<int> anteil = zahl(bestanden, 0, 100);
    if (!portNr || !messungen || !stationNr || !anteil)
        return kFalscheEingabe;
    const std::optional<QList<int>> ids = Mitarbeiterliste(parser.value(mitarbeiter));
    if (!ids) {
        Fehlerausgabe() << "--mitarbeiter ist keine Liste von Mitarbeiternummern: "
                        << parser.value(mitarbeiter) << Qt::endl;
        return kFalscheEingabe;
    }
    QFile eingabe;
    if (!eingabe.open(stdin, QIODevice::ReadOnly))
        return kNichtGespeichert;
    const QString kennwort = verbindungsoptionen.Kennwort(parser, eingabe);

    QFile protokolldatei(parser.value(protokoll));
    std::unique_ptr<QTextStream> protokollstrom;
    if (parser.isSet(protokoll)) {
        if (!protokolldatei.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            Fehlerausgabe() << "Kann nicht schreiben: " << protokolldatei.fileName() << " ("
                            << protokolldatei.errorString() << ")" << Qt::endl;
            return kNichtGespeichert;
        }
        protokollstrom = std::make_unique<QTextStream>(&protokolldatei);
        *protokollstrom << kProtokollKopf << '\n';
    }

    std::unique_ptr<TLaststation> laststation;
    QList<QString> namen;
    quint64 beginneVorher = 0;
    try {
        laststation =
            std::make_unique<TLaststation>(parser.value(verbindungsoptionen.Hostname), *portNr,
                                           parser.value(verbindungsoptionen.Username), kennwort,
                                           AsciiGross(parser.value(verbindungsoptionen.Datenbank)));
        namen = laststation->Loginnamen(*ids);
        beginneVorher = laststation->Transaktionsbeginne();
    } catch (const std::exception& fehler) {
        Fehlerausgabe() << "Station " << *stationNr << ": keine Verbindung zur Datenbank oder "
                        << "Mitarbeiter nicht lesbar: " << TypNameVon(fehler) << ':'
                        << MeldungVon(fehler) << Qt::endl;
        return kNichtGespeichert;
    }

    // Several stations with the same employee list meet on the same rows; the seed only decides
    // the order.
    QRandomGenerator zufall(static_cast<quint32>(*stationNr));
    const std::array<Pruefgeraet::TRahmen, 3> rahmenarten{
        Pruefgeraet::TRahmen::CR, Pruefgeraet::TRahmen::CRLF, Pruefgeraet::TRahmen::STX_ETX};
    int gespeichert = 0;
    int fehler = 0;
    int bestandenZahl = 0;
    int ohneSchluessel = 0;
    QElapsedTimer uhr;
    uhr.start();
    for (int nummer = 1; nummer <= *messungen; ++nummer) {
        const auto wahl = static_cast<qsizetype>(zufall.bounded(static_cast<int>(ids->size())));
        const int id = ids->at(wahl);
        QString name = namen.at(wahl);
        if (name.startsWith(u"Gast"_s))
            name = u"S%1-%2"_s.arg(*stationNr).arg(nummer).left(kGastnameLaenge);
        const bool gut = zufall.bounded(100) < *anteil;
        const int code = zufall.bounded(kZuFruehJeFehler) == 0
                             ? Pruefgeraet::kZuFruehLosgelassen
                             : 1 + zufall.bounded(kHoechsterFehlercode);
        const QList<QByteArray> zeilen =
            gut ? Pruefgeraet::Bestanden() : Pruefgeraet::Durchgefallen(code);
        const auto rahmen = rahmenarten[zufall.bounded(static_cast<quint32>(rahmenarten.size()))];

        const TLastmessung m =
            laststation->Messen(nummer, QString::number(id), name, zeilen, rahmen);
        if (protokollstrom)
            *protokollstrom << Protokollzeile(*stationNr, m) << '\n';
        if (m.Speicherungen != 1) {
            ++fehler;
            Fehlerausgabe() << "Station " << *stationNr << ", Messung " << nummer
                            << ": die Auswertung hat " << m.Speicherungen
                            << "-mal gespeichert statt einmal." << Qt::endl;
        } else if (m.Werte.Messwerte_OK != gut) {
            ++fehler;
            Fehlerausgabe() << "Station " << *stationNr << ", Messung " << nummer
                            << ": die Auswertung ergab "
                            << (m.Werte.Messwerte_OK ? "bestanden" : "durchgefallen")
                            << " für die Zeilen eines " << (gut ? "bestandenen" : "durchgefallenen")
                            << " Ergebnisses." << Qt::endl;
        } else if (!m.Ergebnis.Gespeichert) {
            ++fehler;
            Fehlerausgabe() << "Station " << *stationNr << ", Messung " << nummer
                            << " (Mitarbeiter " << id
                            << ") konnte nicht gespeichert werden. Fehlercode: "
                            << m.Ergebnis.Fehlernummer << ", " << m.Ergebnis.Meldung << Qt::endl;
        } else {
            ++gespeichert;
            if (m.Werte.Messwerte_OK)
                ++bestandenZahl;
            if (m.Ergebnis.Messung_ID == 0) {
                ++ohneSchluessel;
                Fehlerausgabe() << "Station " << *stationNr << ", Messung " << nummer
                                << ": gespeichert, aber der Schlüssel der Zeile ist unbekannt."
                                << Qt::endl;
            }
        }
    }
    const double sekunden = static_cast<double>(uhr.elapsed()) / 1000.0;
    if (protokollstrom) {
        protokollstrom->flush();
        if (protokolldatei.error() != QFileDevice::NoError) {
            Fehlerausgabe() << "Protokoll unvollständig: " << protokolldatei.errorString()
                            << Qt::endl;
            ++fehler;
        }
    }

    // Every attempt of the recording begins a transaction; more beginnings than measurements are
    // retries that the station's second attempt would otherwise hide.
    QString wiederholungen = u"?"_s;
    try {
        const quint64 beginne = laststation->Transaktionsbeginne() - beginneVorher;
        wiederholungen = QString::number(static_cast<qint64>(beginne) - *messungen);
    } catch (const std::exception& ausnahme) {
        Fehlerausgabe() << "Station " << *stationNr
                        << ": Zahl der Transaktionen nicht lesbar: " << TypNameVon(ausnahme) << ':'
                        << MeldungVon(ausnahme) << Qt::endl;
    }
    QTextStream(stdout) << "LAST station=" << *stationNr << " messungen=" << *messungen
                        << " gespeichert=" << gespeichert << " fehler=" << fehler
                        << " bestanden=" << bestandenZahl
                        << " durchgefallen=" << gespeichert - bestandenZahl
                        << " wiederholungen=" << wiederholungen
                        << " wiederaufbauten=" << laststation->Wiederaufbauten()
                        << " ohne_schluessel=" << ohneSchluessel
                        << " sekunden=" << QString::number(sekunden, 'f', 1) << Qt::endl;
    return fehler == 0 && ohneSchluessel == 0 ? kErfolg : kNichtGespeichert;
}
