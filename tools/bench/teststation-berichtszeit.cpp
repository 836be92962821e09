// Benchmark of the coordinator's reports: a day report and a 90-day period report over a large
// company, the reading and counting apart from writing the files; prints a Markdown table.
#include "BerichtPdf.h"
#include "Berichtsdaten.h"
#include "CsvDatei.h"
#include "DBVerbindung.h"
#include "Tabelle.h"
#include "Tagesbericht.h"
#include "Uhr.h"
#include "Verbindungsoptionen.h"
#include "Zeitraumbericht.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kZeitraumTage = 90;

double MedianMs(int wiederholungen, const std::function<void()>& lauf)
{
    QList<double> werte;
    for (int i = 0; i < wiederholungen; ++i) {
        const qint64 beginn = Uhr::JetztNs();
        lauf();
        werte << static_cast<double>(Uhr::JetztNs() - beginn) / 1e6;
    }
    return Uhr::Median(werte);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication anwendung(argc, argv);
    QTextStream aus(stdout);
    QTextStream fehler(stderr);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Misst Tages- und Zeitraumbericht (Median in ms)."_s);
    const TVerbindungsoptionen optionen(u"Datenbank der großen Firma (Pflicht)."_s);
    const QCommandLineOption wiederholungen(u"wiederholungen"_s, u"Läufe je Messung."_s, u"N"_s,
                                            u"5"_s);
    parser.addOptions(optionen.Alle() + QList{wiederholungen});
    if (const std::optional<int> ende =
            optionen.Einlesen(parser, QCoreApplication::arguments(), aus, fehler))
        return *ende;
    if (!optionen.Vollstaendig(parser, {}, fehler))
        return TVerbindungsoptionen::kFalscheEingabe;
    QFile eingabe;
    eingabe.open(stdin, QIODevice::ReadOnly);

    TDBVerbindung verbindung;
    verbindung.SetServer(parser.value(optionen.Hostname));
    verbindung.SetPort(parser.value(optionen.Port).toInt());
    verbindung.SetUsername(parser.value(optionen.Username));
    verbindung.SetPassword(optionen.Kennwort(parser, eingabe));
    verbindung.SetDatabase(parser.value(optionen.Datenbank));
    verbindung.SetConnected(true);
    TBerichtsdaten daten(verbindung);
    const int n = std::max(1, parser.value(wiederholungen).toInt());
    const QDate heute = QDate::currentDate();
    const QDate von = heute.addDays(1 - kZeitraumTage);
    QTemporaryDir ziel;
    const TErstellung erstellung{QDateTime::currentDateTime(), u"teststation-berichtszeit"_s};

    TTagesbericht tag;
    const double tagMs = MedianMs(n, [&] { tag = TagesberichtErstellen(daten, {}, heute); });
    const double tagDateienMs = MedianMs(n, [&] {
        for (const TTabelle& tabelle : Tabellen(tag))
            Csv::Schreiben(tabelle, ziel.path());
        TagesberichtPdf(tag, erstellung, ziel.filePath(u"tag.pdf"_s));
    });
    TZeitraumbericht zeitraum;
    const double zeitraumMs =
        MedianMs(n, [&] { zeitraum = ZeitraumberichtErstellen(daten, {}, von, heute); });
    const double zeitraumCsvMs = MedianMs(n, [&] {
        for (const TTabelle& tabelle : Tabellen(zeitraum))
            Csv::Schreiben(tabelle, ziel.path());
    });
    // The PDF of 10,000 employees runs to hundreds of pages: measured once.
    const double zeitraumPdfMs = MedianMs(
        1, [&] { ZeitraumberichtPdf(zeitraum, erstellung, ziel.filePath(u"zeitraum.pdf"_s)); });

    qsizetype messungen = 0;
    for (const TMitarbeiterzeile& m : zeitraum.Mitarbeiter)
        messungen += m.Verlauf.size();
    aus << "| Bericht | Lesen und Zählen (ms) | Dateien (ms) | Umfang |\n"
        << "|---|---:|---:|---|\n"
        << "| Tagesbericht | " << QString::number(tagMs, 'f', 1) << " | "
        << QString::number(tagDateienMs, 'f', 1) << " (CSV und PDF) | " << tag.Summe.Mitarbeiter
        << " Mitarbeiter, " << tag.Ausnahmen.size() << " Ausnahmen, " << tag.Fehlmessungen.size()
        << " Fehlmessungen |\n"
        << "| Zeitraum " << kZeitraumTage << " Tage | " << QString::number(zeitraumMs, 'f', 1)
        << " | " << QString::number(zeitraumCsvMs, 'f', 1) << " (CSV), "
        << QString::number(zeitraumPdfMs, 'f', 0) << " (PDF) | " << zeitraum.Mitarbeiter.size()
        << " Mitarbeiter, " << messungen << " Messungen |\n";
    return 0;
}
