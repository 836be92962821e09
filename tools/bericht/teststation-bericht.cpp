// Report tool: the day or period report of the board's tenant as PDF and CSV files, for the person
// responsible for ESD protection and for audits. Reads the database only.
#include "BerichtPdf.h"
#include "Berichtsdaten.h"
#include "CsvDatei.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "Einstellungen.h"
#include "Startmeldung.h"
#include "Tabelle.h"
#include "Tagesbericht.h"
#include "Verbindungsoptionen.h"
#include "Zeitraumbericht.h"
#include "Zugangswerte.h"
#include "uFehler.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kErfolg = 0;
constexpr int kNichtGeschrieben = 1;
constexpr int kFalscheEingabe = TVerbindungsoptionen::kFalscheEingabe;
constexpr int kKeineVerbindung = 3;

QTextStream& Fehlerausgabe()
{
    static QTextStream strom(stderr);
    return strom;
}

struct TZugang : TZugangswerte
{
    QString Mandant;
};

// The station's settings file gives server, database, tenant and (unless named on the command
// line) the credentials, deciphered as the station does.
std::optional<TZugang> AusEinstellungen(const QString& pfad)
{
    if (!QFile::exists(pfad)) {
        Fehlerausgabe() << "Datei nicht gefunden: " << pfad << Qt::endl;
        return std::nullopt;
    }
    TDBEinstellungen db;
    TMenuWerte menu;
    try {
        LeseEinstellungen(TIniDatei(pfad), db, menu);
    } catch (const EFehler& fehler) {
        Fehlerausgabe() << "Nicht lesbar: " << pfad << ": " << fehler.Anzeige() << Qt::endl;
        return std::nullopt;
    }
    if (!EinstellungenVollstaendig(db) || !IntegritaetStimmt(db)) {
        Fehlerausgabe() << pfad
                        << " ist unvollständig oder beschädigt (teststation-einstellungen "
                           "--pruefen nennt den Grund)."
                        << Qt::endl;
        return std::nullopt;
    }
    return TZugang{ZugangAus(db), menu.Mandant()};
}

std::optional<QDate> Datum(const QString& text, const QString& option)
{
    const QDate tag = QDate::fromString(text, u"yyyy-MM-dd"_s);
    if (!tag.isValid()) {
        Fehlerausgabe() << "--" << option << " ist kein Datum der Form JJJJ-MM-TT: " << text
                        << Qt::endl;
        return std::nullopt;
    }
    return tag;
}

} // namespace

int main(int argc, char* argv[])
{
    // Fonts, the PDF writer and the charts need a widget application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a runtime directory (a cron job has none) Qt warns on every run; a private one
    // serves this run and goes with it.
    std::optional<QTemporaryDir> laufzeit;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        laufzeit.emplace();
        if (laufzeit->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(laufzeit->path()));
    }
    QApplication anwendung(argc, argv);
    QApplication::setApplicationName(u"teststation-bericht"_s);
    QApplication::setApplicationVersion(QStringLiteral(TS_PROJEKTVERSION));
    QTextStream aus(stdout);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Schreibt Berichte der ESD-Prüfungen als PDF und CSV (eine Datei je Tabelle).\n"
        "\n"
        "Tagesbericht (--tag, Vorgabe heute): je Abteilung der Tafel die Mitarbeiter, "
        "bestanden, nicht bestanden und nicht gemessen; die Liste aller ohne bestandene "
        "Messung an diesem Tag mit ihrer letzten bestandenen Messung; jede nicht bestandene "
        "Messung mit Werten, Gründen und Station.\n"
        "\n"
        "Zeitraumbericht (--von und --bis): je Tag bestanden, nicht bestanden und nicht "
        "gemessen als Diagramm, die Gründe nicht bestandener Messungen, je Mitarbeiter "
        "Messungen, bestanden, nicht bestanden, letzte bestandene Messung und der Verlauf der "
        "Messwerte.\n"
        "\n"
        "Verbindung: --hostname, --username, --datenbank und das Passwort angeben, oder "
        "--einstellungen mit der Einstellungen.ini der Station (Angaben auf der Kommandozeile "
        "gehen vor). Der Benutzer braucht die Leserechte aus db/bericht-rechte.sql.\n"
        "\n"
        "Exit-Status: 0 Erfolg; 1 Verzeichnis oder Datei nicht schreibbar; 2 falscher "
        "Aufruf; 3 keine Verbindung zum Datenbankserver oder keine Leserechte."_s);
    const TVerbindungsoptionen verbindungsoptionen(u"Name der Datenbank."_s);
    const QCommandLineOption einstellungen(
        u"einstellungen"_s, u"Verbindung und Mandant aus der Einstellungen.ini der Station."_s,
        u"DATEI"_s);
    const QCommandLineOption mandant(u"mandant"_s,
                                     u"Mandant, dessen Tafel der Bericht zeigt (Vorgabe: der "
                                     "der Einstellungen, sonst keiner)."_s,
                                     u"NAME"_s);
    const QCommandLineOption tag(u"tag"_s, u"Tag des Berichts (Vorgabe: heute)."_s,
                                 u"JJJJ-MM-TT"_s);
    const QCommandLineOption von(u"von"_s, u"Erster Tag des Zeitraumberichts."_s, u"JJJJ-MM-TT"_s);
    const QCommandLineOption bis(u"bis"_s, u"Letzter Tag des Zeitraumberichts."_s, u"JJJJ-MM-TT"_s);
    const QCommandLineOption verzeichnis(u"o"_s,
                                         u"Verzeichnis für die Dateien (Vorgabe: das aktuelle)."_s,
                                         u"VERZEICHNIS"_s, u"."_s);
    const QCommandLineOption format(u"format"_s, u"pdf, csv oder pdf,csv (Vorgabe: beide)."_s,
                                    u"LISTE"_s, u"pdf,csv"_s);
    const QCommandLineOption version(u"version"_s, u"Versionsnummer anzeigen."_s);
    parser.addOptions(verbindungsoptionen.Alle() +
                      QList{einstellungen, mandant, tag, von, bis, verzeichnis, format, version});

    if (const std::optional<int> ende = verbindungsoptionen.Einlesen(
            parser, QCoreApplication::arguments(), aus, Fehlerausgabe()))
        return *ende;
    if (parser.isSet(version)) {
        aus << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return kErfolg;
    }

    QFile eingabe;
    eingabe.open(stdin, QIODevice::ReadOnly);
    TZugang zugang;
    if (parser.isSet(einstellungen)) {
        const std::optional<TZugang> ausDatei = AusEinstellungen(parser.value(einstellungen));
        if (!ausDatei)
            return kFalscheEingabe;
        zugang = *ausDatei;
        if (parser.isSet(verbindungsoptionen.Hostname))
            zugang.Server = parser.value(verbindungsoptionen.Hostname);
        if (parser.isSet(verbindungsoptionen.Port))
            zugang.Port = parser.value(verbindungsoptionen.Port).toInt();
        if (parser.isSet(verbindungsoptionen.Datenbank))
            zugang.Datenbank = parser.value(verbindungsoptionen.Datenbank);
        // The station's own user may not read the measurements: a reporting user is named here.
        if (parser.isSet(verbindungsoptionen.Username)) {
            zugang.Benutzer = parser.value(verbindungsoptionen.Username);
            zugang.Passwort = verbindungsoptionen.Kennwort(parser, eingabe);
        }
    } else {
        if (!verbindungsoptionen.Vollstaendig(parser, {}, Fehlerausgabe()))
            return kFalscheEingabe;
        zugang.Server = parser.value(verbindungsoptionen.Hostname);
        zugang.Port = parser.value(verbindungsoptionen.Port).toInt();
        zugang.Benutzer = parser.value(verbindungsoptionen.Username);
        zugang.Passwort = verbindungsoptionen.Kennwort(parser, eingabe);
        zugang.Datenbank = parser.value(verbindungsoptionen.Datenbank);
    }
    if (parser.isSet(mandant))
        zugang.Mandant = parser.value(mandant);
    if (zugang.Port < 1 || zugang.Port > 65535) {
        Fehlerausgabe() << "--port ist keine Portnummer: " << parser.value(verbindungsoptionen.Port)
                        << Qt::endl;
        return kFalscheEingabe;
    }

    const QStringList formate = parser.value(format).toLower().split(u',', Qt::SkipEmptyParts);
    const bool pdf = formate.contains(u"pdf"_s);
    const bool csv = formate.contains(u"csv"_s);
    if ((!pdf && !csv) || formate.size() != static_cast<qsizetype>(pdf) + csv) {
        Fehlerausgabe() << "--format kennt pdf und csv: " << parser.value(format) << Qt::endl;
        return kFalscheEingabe;
    }
    QDate berichtstag = QDate::currentDate();
    if (parser.isSet(tag)) {
        const std::optional<QDate> gelesen = Datum(parser.value(tag), u"tag"_s);
        if (!gelesen)
            return kFalscheEingabe;
        berichtstag = *gelesen;
    }
    const bool zeitraum = parser.isSet(von) || parser.isSet(bis);
    QDate erster;
    QDate letzter;
    if (zeitraum) {
        if (!parser.isSet(von) || !parser.isSet(bis) || parser.isSet(tag)) {
            Fehlerausgabe() << "Ein Zeitraum braucht --von und --bis, ohne --tag." << Qt::endl;
            return kFalscheEingabe;
        }
        const std::optional<QDate> a = Datum(parser.value(von), u"von"_s);
        const std::optional<QDate> b = Datum(parser.value(bis), u"bis"_s);
        if (!a || !b)
            return kFalscheEingabe;
        if (*b < *a) {
            Fehlerausgabe() << "--bis liegt vor --von." << Qt::endl;
            return kFalscheEingabe;
        }
        erster = *a;
        letzter = *b;
    }

    // Checked before the database is asked, so a wrong directory costs no report run.
    const QString ziel = parser.value(verzeichnis);
    const QFileInfo zielInfo(ziel);
    if (!zielInfo.isDir() || !zielInfo.isWritable()) {
        Fehlerausgabe() << "Das Verzeichnis " << ziel
                        << (zielInfo.isDir() ? " ist nicht beschreibbar." : " gibt es nicht.")
                        << Qt::endl;
        return kNichtGeschrieben;
    }

    TDBVerbindung verbindung;
    Einstellen(verbindung, zugang);
    TTagesbericht tagesbericht;
    TZeitraumbericht zeitraumbericht;
    try {
        verbindung.SetConnected(true);
        TBerichtsdaten daten(verbindung);
        if (zeitraum)
            zeitraumbericht = ZeitraumberichtErstellen(daten, zugang.Mandant, erster, letzter);
        else
            tagesbericht = TagesberichtErstellen(daten, zugang.Mandant, berichtstag);
    } catch (const EDatenbankfehler& fehler) {
        // A refused SELECT on a table or a column: the user lacks the report's grants.
        if (fehler.Nummer() == Serverfehler::kTabelleVerboten ||
            fehler.Nummer() == Serverfehler::kSpalteVerboten) {
            Fehlerausgabe() << "Keine Leserechte: " << fehler.Meldung()
                            << "\nDer Benutzer braucht die Rechte aus db/bericht-rechte.sql."
                            << Qt::endl;
        } else {
            Fehlerausgabe() << "Keine Verbindung: "
                            << Startmeldung::Verbindungsursache(fehler.Nummer()) << '\n'
                            << Startmeldung::Detail(fehler) << Qt::endl;
        }
        return kKeineVerbindung;
    } catch (const EFehler& fehler) {
        Fehlerausgabe() << "Keine Verbindung: " << fehler.Anzeige() << Qt::endl;
        return kKeineVerbindung;
    }

    const TErstellung erstellung{QDateTime::currentDateTime(),
                                 QCoreApplication::applicationName() + u' ' +
                                     QCoreApplication::applicationVersion()};
    try {
        if (csv) {
            for (const TTabelle& tabelle :
                 zeitraum ? Tabellen(zeitraumbericht) : Tabellen(tagesbericht))
                aus << Csv::Schreiben(tabelle, ziel) << Qt::endl;
        }
        if (pdf && zeitraum) {
            const QString pfad = QDir(ziel).filePath(u"zeitraum-%1-%2.pdf"_s.arg(
                erster.toString(u"yyyy-MM-dd"_s), letzter.toString(u"yyyy-MM-dd"_s)));
            ZeitraumberichtPdf(zeitraumbericht, erstellung, pfad);
            aus << pfad << Qt::endl;
        } else if (pdf) {
            const QString pfad = QDir(ziel).filePath(
                u"tagesbericht-%1.pdf"_s.arg(berichtstag.toString(u"yyyy-MM-dd"_s)));
            TagesberichtPdf(tagesbericht, erstellung, pfad);
            aus << pfad << Qt::endl;
        }
    } catch (const EFehler& fehler) {
        Fehlerausgabe() << fehler.Meldung() << Qt::endl;
        return kNichtGeschrieben;
    }
    return kErfolg;
}
