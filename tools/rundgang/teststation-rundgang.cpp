// A scripted walk through the station for the demo without a display: it builds the station's
// windows exactly as the program does, taps through a visit like an employee would, has the
// tester simulator send its lines, saves a picture of the screen at each step and writes the
// rows the walk expects, which the demo script compares with the database.
#include "DBAbfrage.h"
#include "Fensterset.h"
#include "Start.h"
#include "Stationstreiber.h"
#include "Tafel.h"
#include "Tafelkopie.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMeldung.h"
#include "uMessung.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStringList>
#include <QTest>

#include <cstdio>
#include <functional>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAbteilung = u"Fertigung SMD"_s;
const QString kGaeste = u"Besucher"_s;
// Long enough for a board reload on a slow machine; the screen closes itself after 2 s or 5 s.
constexpr int kWartezeitMs = 15000;
// A painted frame on the virtual display before its picture is taken.
constexpr int kZeichnenMs = 400;
// The screen at the moment a step waited in vain.
const QString kAbbruchBild = u"abbruch.png"_s;

[[noreturn]] void Abbruch(const QString& schritt)
{
    throw std::runtime_error(schritt.toStdString());
}

void Ausgabe(const QString& text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
    std::fflush(stdout);
}

class TRundgang
{
public:
    TRundgang(const TStationstreiber& station, const QString& bilder, const QString& befehle)
        : FStation(station), FBilder(bilder), FBefehle(befehle)
    {}

    // Commands that stop and start the database server, for the walk's part without it; that
    // part is left out without them.
    void SetzeServer(const TFensterset& fenster, const QString& stoppen, const QString& starten)
    {
        FFenster = &fenster;
        FStoppen = stoppen;
        FStarten = starten;
    }

    void Gehen();
    // "MITARBEITER_ID|NAME|FEHLERCODE|MESSWERTE_OK" of each measurement, in order.
    const QStringList& Erwartet() const { return FErwartet; }

private:
    void Warte(const std::function<bool()>& bedingung, const QString& worauf) const;
    void Foto(const QString& name) const;
    void Sende(const QByteArray& befehl);
    void TippeAbteilung(const QString& name) const;
    // Opens the measurement screen of the first red tile of the page; returns its key.
    QString TippeRoteKachel() const;
    void WarteAufBereit() const;
    void WarteAufTafel() const;
    void Erwarte(const QString& id, const QString& name, const QString& code, bool ok);
    void OhneServer();
    void MitAusweis();
    void Namenssuche();
    static void Befehl(const QString& befehl);

    const TStationstreiber& FStation;
    QString FBilder;
    QFile FBefehle;
    QStringList FErwartet;
    const TFensterset* FFenster = nullptr;
    QString FStoppen;
    QString FStarten;
};

void TRundgang::Befehl(const QString& befehl)
{
    QProcess prozess;
    prozess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    prozess.setStandardOutputFile(QProcess::nullDevice());
    prozess.start(u"sh"_s, {u"-c"_s, befehl});
    if (!prozess.waitForFinished(60000) || prozess.exitStatus() != QProcess::NormalExit ||
        prozess.exitCode() != 0)
        Abbruch(u"Befehl fehlgeschlagen: "_s + befehl);
}

void TRundgang::OhneServer()
{
    // The department was shown while the server answered: the station has its copy.
    TippeAbteilung(kAbteilung);
    Warte([this] { return !FFenster->Kopie()->Abteilung(FMain->Mandant(), kAbteilung).isEmpty(); },
          u"die Kopie der Tafel"_s);
    Befehl(FStoppen);
    TippeAbteilung(kAbteilung);
    Warte([this] { return FStation.AufTafel(u"lblOffline"_s)->isVisible(); },
          u"den Hinweis \"Offline\""_s);
    const QString offline = TippeRoteKachel();
    WarteAufBereit();
    Sende("bestanden");
    Warte([this] { return FStation.Zeigt(u"lblUebertragung"_s); },
          u"den Hinweis auf die Übertragung"_s);
    Foto(u"offline_messung"_s);
    Erwarte(offline, FFenster->Kopie()->Person(offline)->Loginname, QString(), true);
    Warte([] { return !FMessung->isVisible(); }, u"das Ende der Messung"_s);
    WarteAufTafel();
    Foto(u"offline_tafel"_s);
    // Back on the server, the waiting result is forwarded and the title bar empties.
    Befehl(FStarten);
    Warte([this] { return !FStation.AufTafel(u"lblOffline"_s)->isVisible(); },
          u"die Übertragung der wartenden Messung"_s);
}

void TRundgang::MitAusweis()
{
    // The last person of the board, with the badge number the demo company gave them.
    TDBAbfrage abfrage(FDM->MyCon, u"quAusweis"_s);
    abfrage.SQL().Add(Tafel::MitarbeiterSql(
        FMain->Mandant(), u"MITARBEITER.MITARBEITER_ID, MITARBEITER.PERSONALNUMMER, LOGINNAME"_s));
    abfrage.ParamByName(u"ABTEILUNG"_s).SetAsString(kAbteilung);
    abfrage.Open();
    QString id;
    QString nummer;
    QString login;
    for (abfrage.First(); !abfrage.Eof(); abfrage.Next()) {
        id = abfrage.FieldByName(u"MITARBEITER_ID"_s).AsString();
        nummer = abfrage.FieldByName(u"PERSONALNUMMER"_s).AsString();
        login = abfrage.FieldByName(u"LOGINNAME"_s).AsString();
    }
    abfrage.Close();
    FStation.ZeigeKarte(u"cardWelcome"_s);

    // Keys 5 ms apart and Enter, as a reader types them.
    QElapsedTimer uhr;
    uhr.start();
    FStation.TippeTasten(nummer, 5);
    if (!FMessung->isVisible() ||
        QString::number(FMessung->Kontakt()->Mitarbeiter_ID().toInt()) != id)
        Abbruch(u"Ausweis %1 hat die Messmaske von %2 nicht geöffnet"_s.arg(nummer, id));
    Ausgabe(u"  Ausweis %1: Messmaske nach %2 ms"_s.arg(nummer).arg(uhr.elapsed()));
    WarteAufBereit();
    Foto(u"ausweis"_s);
    Sende("bestanden");
    Warte([this] { return FStation.Zeigt(u"imgGut"_s); }, u"den Daumen nach oben"_s);
    Erwarte(id, login, QString(), true);
    Warte([] { return !FMessung->isVisible(); }, u"das Ende der Messung"_s);
}

void TRundgang::Namenssuche()
{
    WarteAufTafel();
    const QString name = FStation.Kachelname(1)->text();
    FStation.Tippe(FStation.AufTafel(u"btnSuche"_s));
    Warte([this] { return FStation.AufTafel(u"panSuche"_s)->isVisible(); }, u"die Suche"_s);
    // The first two letters of the first tile's last name, on the search's keyboard.
    QWidget* tastatur = FStation.AufTafel(u"TouchKeyboard2"_s);
    for (const QChar zeichen : name.left(2).toUpper()) {
        const QString taste = zeichen == u'Ä'   ? u"Ae"_s
                              : zeichen == u'Ö' ? u"Oe"_s
                              : zeichen == u'Ü' ? u"Ue"_s
                                                : QString(zeichen);
        auto* knopf = tastatur->findChild<QWidget*>(u"Taste_"_s + taste);
        if (knopf == nullptr)
            Abbruch(u"keine Taste für "_s + zeichen);
        FStation.Tippe(knopf);
    }
    Warte([this] { return FStation.Foto(1)->isVisible() && FStation.Foto(1)->Tag != 0; },
          u"die Treffer der Suche"_s);
    Foto(u"namenssuche"_s);
    FStation.Tippe(FStation.AufTafel(u"btnSucheSchliessen"_s));
    WarteAufTafel();
}

void TRundgang::Warte(const std::function<bool()>& bedingung, const QString& worauf) const
{
    QDeadlineTimer frist(kWartezeitMs);
    while (!bedingung()) {
        if (frist.hasExpired()) {
            // The screen as it was, for whoever has to find out why.
            QGuiApplication::primaryScreen()->grabWindow(0).save(
                QDir(FBilder).filePath(kAbbruchBild));
            Abbruch(u"gewartet auf: "_s + worauf);
        }
        QTest::qWait(20);
    }
}

void TRundgang::Foto(const QString& name) const
{
    QTest::qWait(kZeichnenMs);
    // The whole screen, so that overlay windows show above the screens beneath.
    const QPixmap bild = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString pfad = QDir(FBilder).filePath(name + u".png"_s);
    if (!bild.save(pfad))
        Abbruch(u"Bild nicht gespeichert: "_s + pfad);
    Ausgabe(u"  Bild: "_s + pfad);
}

void TRundgang::Sende(const QByteArray& befehl)
{
    if (FBefehle.write(befehl + '\n') < 0 || !FBefehle.flush())
        Abbruch(u"Befehl an den Prüfgerät-Simulator nicht geschrieben: "_s +
                FBefehle.errorString());
}

void TRundgang::TippeAbteilung(const QString& name) const
{
    const qsizetype index = FStation.Abteilungsknoepfe().indexOf(name);
    if (index < 0)
        Abbruch(u"kein Knopf für die Abteilung "_s + name);
    FStation.TippeAbteilung(int(index) + 1);
    WarteAufTafel();
}

void TRundgang::WarteAufTafel() const
{
    Warte(
        [this] {
            return FStation.AufTafel(u"cardMitarbeiter"_s)->isVisible() &&
                   FStation.Foto(1)->Tag != 0;
        },
        u"die Tafel"_s);
}

QString TRundgang::TippeRoteKachel() const
{
    for (int nr = 1; nr <= Tafel::kKachelnJeSeite; ++nr) {
        const TKachelFoto* foto = FStation.Foto(nr);
        if (foto->isVisible() && foto->Tag != 0 && FStation.Kachelfarbe(nr) == Tafel::kRot) {
            FStation.TippeKachel(nr);
            Warte([] { return FMessung->isVisible(); }, u"die Messmaske"_s);
            return QString::number(foto->Tag);
        }
    }
    Abbruch(u"keine rote Kachel auf der Tafel"_s);
}

void TRundgang::WarteAufBereit() const
{
    Warte([this] { return FStation.PortOffen(); }, u"die offene Leitung zum Prüfgerät"_s);
}

void TRundgang::Erwarte(const QString& id, const QString& name, const QString& code, bool ok)
{
    FErwartet << QStringList{id, name, code, ok ? u"J"_s : u"N"_s}.join(u'|');
}

void TRundgang::Gehen()
{
    if (!FBefehle.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Abbruch(u"Befehlsweg des Prüfgerät-Simulators: "_s + FBefehle.errorString());
    if (!QDir().mkpath(FBilder))
        Abbruch(u"Bildverzeichnis nicht angelegt: "_s + FBilder);
    QFile::remove(QDir(FBilder).filePath(kAbbruchBild));

    Ausgabe(u"1. Willkommen"_s);
    Warte([] { return FMain->isVisible() && !FMain->Abteilungen.isEmpty(); },
          u"das Abteilungsmenü"_s);
    Foto(u"willkommen"_s);

    Ausgabe(u"2. Abteilung \"%1\""_s.arg(kAbteilung));
    TippeAbteilung(kAbteilung);
    Foto(u"tafel"_s);

    Ausgabe(u"3. Bestandene Messung"_s);
    const QString bestanden = TippeRoteKachel();
    WarteAufBereit();
    Foto(u"messung_bereit"_s);
    Sende("bestanden");
    Warte([this] { return FStation.Zeigt(u"imgGut"_s); }, u"den Daumen nach oben"_s);
    Foto(u"messung_bestanden"_s);
    Erwarte(bestanden, FMessung->Kontakt()->Loginname(), QString(), true);
    // The screen closes by itself and the board shows the tile green.
    Warte([] { return !FMessung->isVisible(); }, u"das Ende der Messung"_s);
    WarteAufTafel();
    Foto(u"tafel_nach_messung"_s);

    Ausgabe(u"4. Durchgefallen: rechter Schuh über dem Messbereich"_s);
    const QString durchgefallen = TippeRoteKachel();
    WarteAufBereit();
    Sende("ovr rechts");
    Warte([this] { return FStation.Zeigt(u"imgSchlecht"_s); }, u"den Daumen nach unten"_s);
    Foto(u"messung_durchgefallen"_s);
    Erwarte(durchgefallen, FMessung->Kontakt()->Loginname(), u" 32"_s, false);
    Warte([] { return !FMessung->isVisible(); }, u"das Ende der Messung"_s);

    Ausgabe(u"5. Taste zu früh losgelassen"_s);
    WarteAufTafel();
    const QString zuKurz = TippeRoteKachel();
    WarteAufBereit();
    Sende("kurz");
    Warte([] { return Fehlermeldung->isVisible(); }, u"die Fehlermeldung"_s);
    Foto(u"messung_zu_kurz"_s);
    Erwarte(zuKurz, FMessung->Kontakt()->Loginname(), u" -10"_s, false);
    // The red X of the message, then the one of the screen.
    Fehlermeldung->Image1Click();
    FStation.Schliesse();
    Warte([] { return !FMessung->isVisible() && !Fehlermeldung->isVisible(); },
          u"das Schließen der Messmaske"_s);

    Ausgabe(u"6. Gast mit eingetipptem Namen"_s);
    TippeAbteilung(kGaeste);
    const QString gast = TippeRoteKachel();
    Warte([this] { return FStation.Zeigt(u"TouchKeyboard1"_s); }, u"die Bildschirmtastatur"_s);
    for (const char* taste : {"Umschalt", "M", "U", "S", "T", "E", "R"})
        FStation.TippeTaste(QLatin1String(taste));
    if (FStation.Namensfeld()->text() != u"Muster")
        Abbruch(u"eingetippter Name ist \"%1\""_s.arg(FStation.Namensfeld()->text()));
    Foto(u"messung_gast"_s);
    FStation.TippeTaste(u"Enter"_s);
    WarteAufBereit();
    Sende("bestanden");
    Warte([this] { return FStation.Zeigt(u"imgGut"_s); }, u"den Daumen nach oben"_s);
    Erwarte(gast, u"Muster"_s, QString(), true);
    Warte([] { return !FMessung->isVisible(); }, u"das Ende der Messung"_s);

    Ausgabe(u"7. Mit Ausweis"_s);
    MitAusweis();

    Ausgabe(u"8. Namenssuche"_s);
    Namenssuche();

    if (FFenster != nullptr && FFenster->Kopie() != nullptr) {
        Ausgabe(u"9. Ohne Datenbankverbindung"_s);
        OhneServer();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication anwendung(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Geht einen Besuch an der Station durch und speichert je Schritt ein Bild."_s);
    parser.addHelpOption();
    const QCommandLineOption einstellungen(
        u"einstellungen"_s, u"Verzeichnis mit der Einstellungen.ini der Station."_s, u"VERZ"_s);
    const QCommandLineOption befehle(
        u"pruefgeraet"_s, u"Eingabe (FIFO) des Prüfgerät-Simulators für seine Befehle."_s,
        u"DATEI"_s);
    const QCommandLineOption bilder(u"bilder"_s, u"Verzeichnis für die Bilder."_s, u"VERZ"_s);
    const QCommandLineOption erwartet(
        u"erwartet"_s, u"Hierhin die erwarteten Messzeilen (ID|NAME|FEHLERCODE|OK)."_s, u"DATEI"_s);
    const QCommandLineOption stoppen(
        u"server-stoppen"_s, u"Befehl, der den Datenbankserver anhält (Schritt ohne Server)."_s,
        u"BEFEHL"_s);
    const QCommandLineOption starten(u"server-starten"_s, u"Befehl, der ihn wieder startet."_s,
                                     u"BEFEHL"_s);
    parser.addOptions({einstellungen, befehle, bilder, erwartet, stoppen, starten});
    parser.process(anwendung);
    for (const QCommandLineOption& option : {einstellungen, befehle, bilder, erwartet}) {
        if (!parser.isSet(option)) {
            std::fprintf(stderr, "Option --%s fehlt.\n", qPrintable(option.names().constFirst()));
            return 2;
        }
    }

    BereiteAnwendungVor();
    // Any message box means the visit did not go as a visitor's would; it is recorded instead
    // of waiting for a tap that nobody gives.
    QStringList meldungen;
    Meldung::SetzeHandler([&meldungen](Meldung::Art, const QString& text) {
        meldungen << text;
        return Meldung::Antwort::Ok;
    });

    TFensterset fenster;
    FDM->SetzeEinstellungsVerzeichnis(parser.value(einstellungen));
    FMain->ZeigeVollbild();

    const TStationstreiber station(*FMain, *FMessung);
    TRundgang rundgang(station, parser.value(bilder), parser.value(befehle));
    if (parser.isSet(stoppen) && parser.isSet(starten))
        rundgang.SetzeServer(fenster, parser.value(stoppen), parser.value(starten));
    try {
        rundgang.Gehen();
    } catch (const std::exception& fehler) {
        std::fprintf(stderr, "Rundgang abgebrochen, %s\n", fehler.what());
        meldungen.prepend(u"(abgebrochen)"_s);
    }
    for (const QString& text : meldungen)
        std::fprintf(stderr, "Meldung der Station: %s\n", qPrintable(text));

    QFile datei(parser.value(erwartet));
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) ||
        datei.write(rundgang.Erwartet().join(u'\n').toUtf8() + '\n') < 0) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(datei.fileName()),
                     qPrintable(datei.errorString()));
        return 1;
    }
    return meldungen.isEmpty() ? 0 : 1;
}
