// Start of the station on Qt's offscreen platform: window set, start sequence with its
// messages, menu card choice, dark style and the on-screen message boxes.
#include "Bilder.h"
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "Start.h"
#include "Stationstreiber.h"
#include "TestServer.h"
#include "uFDM.h"
#include "uFKurzmeldung.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"
#include "ufdmDB_Key.h"
#include "ufdmKontakt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;

class TstStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fenstersetEntstehtEinmal();
    void ohneEinstellungsdatei();
    void mitMandant();
    void verbindungsfehlerVorDemMandantenhinweis();
    void abgewiesenerBenutzer();
    void pinVorDemBeenden();
    void logoDesStandorts_data();
    void logoDesStandorts();
    void menuKarte_data();
    void menuKarte();
    void portKeineZahl();
    void beschaedigteDateiBeendet();
    void dunklerStil();
    void meldungsfensterAntwortet();

private:
    // Shows the main window as the program does and lets the start sequence run.
    QStringList Starte(const TEinstellungsDatei& datei);
    // A station on this test's database with a tenant: it starts without a message.
    TKlarEinstellungen Stationswerte() const;

    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    TTestServer FServer;
};

void TstStart::initTestCase()
{
    BereiteAnwendungVor();
    FServer.NeueDatenbank(QStringLiteral("TST_START"));
}

void TstStart::init()
{
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung);
}

void TstStart::cleanup()
{
    FStation.reset();
    FFenster.reset();
}

TKlarEinstellungen TstStart::Stationswerte() const
{
    TKlarEinstellungen werte = FServer.StationsWerte(QStringLiteral("tst_start"));
    werte.Mandant = QStringLiteral("Muster GmbH");
    return werte;
}

QStringList TstStart::Starte(const TEinstellungsDatei& datei)
{
    TMeldungsProtokoll protokoll;
    FDM->SetzeEinstellungsVerzeichnis(datei.Verzeichnis());
    FMain->ZeigeVollbild();
    QCoreApplication::processEvents();
    return protokoll.Texte();
}

void TstStart::fenstersetEntstehtEinmal()
{
    const QList<QObject*> objekte{FMain,    FDM,           fdmKontakt,  fdmDB_Key,
                                  FMessung, Fehlermeldung, FKurzmeldung};
    const QStringList namen{"FMain",    "FDM",           "fdmKontakt",  "fdmDB_Key",
                            "FMessung", "Fehlermeldung", "FKurzmeldung"};
    for (int i = 0; i < objekte.size(); ++i) {
        QVERIFY(objekte[i] != nullptr);
        QCOMPARE(objekte[i]->objectName(), namen[i]);
    }
    for (QWidget* fenster :
         {static_cast<QWidget*>(FMain), static_cast<QWidget*>(FMessung),
          static_cast<QWidget*>(Fehlermeldung), static_cast<QWidget*>(FKurzmeldung)})
        QVERIFY(!fenster->isVisible());
    QVERIFY(FMain->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(FStation->Wechselzeit(), 30);
    QCOMPARE(FStation->Countdown(), 30);
    QVERIFY(FMain->bStart);
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
    QCOMPARE(FMain->MA_Kontakt->KontaktArt(), QStringLiteral("Mitarbeiter"));
    // The short message is a window of its own, centred on the main window.
    QVERIFY(FKurzmeldung->isWindow());
    QCOMPARE(FKurzmeldung->parentWidget(), FMain);
    // Every query of every data module runs over the one connection.
    for (const TDBAbfrage* abfrage :
         {&FDM->quSuchen, &FDM->quMitarbeiter, &FDM->quBuchen, &fdmKontakt->quKontakt,
          &fdmKontakt->quSpeichern, &fdmDB_Key->quDB_Key, &fdmDB_Key->quSpeichern})
        QCOMPARE(&abfrage->Connection(), &FDM->MyCon);
    QCOMPARE(FDM->MyCon.Username(), QStringLiteral("root"));

    FStation.reset();
    FFenster.reset();
    QCOMPARE(FMain, nullptr);
    QCOMPARE(FDM, nullptr);
    QCOMPARE(FKurzmeldung, nullptr);
}

void TstStart::ohneEinstellungsdatei()
{
    // One message with its cause; the missing tenant would only repeat it.
    const TEinstellungsDatei datei;
    QCOMPARE(Starte(datei),
             QStringList{Lesefehler("Die Datei " + datei.Pfad() + " gibt es nicht.")});
    QVERIFY(FMain->isVisible());
    // The welcome card says why there are no buttons, and that only a restart helps.
    QVERIFY(FStation->AufTafel(u"lblVerbindung"_s)->isVisible());
    QVERIFY(FStation->AufTafel<QLabel>(u"lblVerbindung"_s)->text().contains("neu starten"));
    QVERIFY(!FStation->Laeuft(TUhr::Verbindung));
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
    QCOMPARE(FStation->AufTafel<QLabel>(u"lblWelcome"_s)->text(),
             QStringLiteral("Herzlich Willkommen."));
    QCOMPARE(FStation->Menukarte(), u"Card12"_s);
    QVERIFY(FStation->AufTafel(u"btnMenu_Abt_Links"_s)->isHidden());
    QVERIFY(FStation->AufTafel(u"btnMenu_Abt_Rechts"_s)->isHidden());
}

void TstStart::mitMandant()
{
    TKlarEinstellungen werte = Stationswerte();
    werte.Willkommen = QStringLiteral("Guten Morgen, bitte testen!");
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    QCOMPARE(Starte(datei), QStringList());
    QVERIFY(FDM->MyCon.Connected());
    QCOMPARE(FStation->AufTafel<QLabel>(u"lblWelcome"_s)->text(), werte.Willkommen);
    QCOMPARE(FStation->Countdown(), FStation->Wechselzeit());
}

void TstStart::verbindungsfehlerVorDemMandantenhinweis()
{
    TKlarEinstellungen werte = GueltigeWerte();
    werte.Port = 1; // nothing listens there
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    const QStringList meldungen = Starte(datei);
    QCOMPARE(meldungen.size(), 2);
    // The cause in words, the client library's number and text, no type name.
    QVERIFY2(meldungen[0].startsWith(kVerbindungsfehler +
                                     "Der Datenbankserver ist nicht erreichbar.\r\nFehler 2002: "),
             qPrintable(meldungen[0]));
    // A missing tenant is a cause of its own and still said.
    QCOMPARE(meldungen[1], kOhneMandant);
    QVERIFY(!FDM->MyCon.Connected());
    QVERIFY(bEinstellungen_OK);
    QVERIFY(FMain->isVisible());
    QCOMPARE(FStation->AufTafel<QLabel>(u"lblWelcome"_s)->text(), werte.Willkommen);
}

void TstStart::abgewiesenerBenutzer()
{
    TKlarEinstellungen werte = Stationswerte();
    werte.Passwort = QStringLiteral("falsch");
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    const QStringList meldungen = Starte(datei);
    QCOMPARE(meldungen.size(), 1);
    QVERIFY2(meldungen[0].startsWith(kVerbindungsfehler +
                                     "Der Datenbankserver lehnt Benutzername oder Passwort "
                                     "ab.\r\nFehler 1045: Access denied for user"),
             qPrintable(meldungen[0]));
    // The station keeps asking: an administrator may fix the account on the server.
    QVERIFY(FStation->Laeuft(TUhr::Verbindung));
    QVERIFY(FStation->AufTafel(u"lblVerbindung"_s)->isVisible());
    QVERIFY2(
        FStation->AufTafel<QLabel>(u"lblVerbindung"_s)
            ->text()
            .startsWith("Keine Verbindung zur Datenbank – neuer Versuch in 10 s\nFehler 1045: "),
        qPrintable(FStation->AufTafel<QLabel>(u"lblVerbindung"_s)->text()));
}

void TstStart::pinVorDemBeenden()
{
    TKlarEinstellungen werte = Stationswerte();
    werte.BeendenPin = QStringLiteral("4711");
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    QCOMPARE(Starte(datei), QStringList());

    TMeldungsProtokoll protokoll;
    const QWidget* pin = FStation->AufTafel(u"panPin"_s);

    // Three wrong PINs: back to the board, nothing asked, the program goes on.
    FMain->actCloseExecute();
    QVERIFY(pin->isVisible());
    QVERIFY(FStation->AufTafel(u"edPin"_s)->hasFocus());
    for (const QString falsch : {"1234", "47110", "0000"}) {
        QVERIFY(pin->isVisible());
        FStation->TippePin(falsch);
    }
    QVERIFY(!pin->isVisible());
    QVERIFY(FMain->isVisible());
    QCOMPARE(protokoll.Texte(), QStringList());

    // The close picture asks too; Abbrechen leaves everything as it was.
    FMain->CloseButtonClick();
    QVERIFY(pin->isVisible());
    TStationstreiber::Tippe(FStation->AufTafel(u"btnAbbrechen"_s));
    QVERIFY(!pin->isVisible());

    // A fresh request has three tries again; the right PIN leads to the question.
    FMain->actCloseExecute();
    FStation->TippePin("0000");
    QCOMPARE(FStation->AufTafel<QLabel>(u"lblPin"_s)->text(),
             QStringLiteral("Falsche PIN – noch 2 Versuche."));
    FStation->TippePin("4711");
    QVERIFY(!pin->isVisible());
    QCOMPARE(protokoll.Texte(), QStringList{"Wollen Sie das Programm wirklich beenden?"});
    QVERIFY(FMain->isVisible()); // the question was answered No
}

void TstStart::logoDesStandorts_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QByteArray>("inhalt");
    // Einstellungen.ini is a link to the directory with the logo, as the package installs it.
    QTest::addColumn<bool>("verlinkt");
    QTest::addColumn<bool>("eigenes");

    const QByteArray rotesSvg = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='10'>"
                                "<rect width='40' height='10' fill='#ff0000'/></svg>";
    QImage rot(40, 10, QImage::Format_RGB32);
    rot.fill(Qt::red);
    QByteArray rotesPng;
    QBuffer puffer(&rotesPng);
    puffer.open(QIODevice::WriteOnly);
    rot.save(&puffer, "PNG");

    QTest::newRow("svg") << "logo.svg" << rotesSvg << false << true;
    QTest::newRow("png") << "logo.png" << rotesPng << false << true;
    QTest::newRow("svg beim Ziel des Links") << "logo.svg" << rotesSvg << true << true;
    QTest::newRow("kaputtes svg") << "logo.svg" << QByteArray("<svg") << false << false;
    QTest::newRow("kaputtes png") << "logo.png" << rotesSvg << false << false;
    QTest::newRow("keins") << QString() << QByteArray() << false << false;
}

void TstStart::logoDesStandorts()
{
    QFETCH(QString, datei);
    QFETCH(QByteArray, inhalt);
    QFETCH(bool, verlinkt);
    QFETCH(bool, eigenes);

    TKlarEinstellungen werte = Stationswerte();
    TEinstellungsDatei standort;
    standort.Schreibe(werte);
    if (!datei.isEmpty()) {
        QFile logo(standort.Verzeichnis() + "/" + datei);
        QVERIFY(logo.open(QIODevice::WriteOnly));
        logo.write(inhalt);
    }
    QTemporaryDir programm;
    QVERIFY(QFile::link(standort.Pfad(), programm.filePath("Einstellungen.ini")));
    TMeldungsProtokoll protokoll;
    FDM->SetzeEinstellungsVerzeichnis(verlinkt ? programm.path() : standort.Verzeichnis());
    FMain->ZeigeVollbild();
    QCoreApplication::processEvents();
    QCOMPARE(protokoll.Texte(), QStringList());

    // What the logo control paints: the site's red, or the built-in picture.
    TBild* logo = FStation->AufTafel<TBild>(u"Image5"_s);
    QCOMPARE(logo->SvgPfad(),
             eigenes ? (datei.endsWith(".svg") ? logo->SvgPfad() : QString()) : Bilder::Logo);
    const QImage gemalt = logo->grab().toImage();
    const QColor mitte = gemalt.pixelColor(gemalt.rect().center());
    QCOMPARE(mitte == QColor(Qt::red), eigenes);
}

void TstStart::menuKarte_data()
{
    QTest::addColumn<QByteArray>("anzahl");
    QTest::addColumn<bool>("zwoelf");
    QTest::newRow("6") << QByteArray("6") << false;
    QTest::newRow("12") << QByteArray("12") << true;
    QTest::newRow("anderer wert") << QByteArray("7") << false;
    QTest::newRow("12 mit text") << QByteArray("12 Stück") << false;
}

void TstStart::menuKarte()
{
    QFETCH(QByteArray, anzahl);
    QFETCH(bool, zwoelf);
    TKlarEinstellungen werte = FServer.StationsWerte(QStringLiteral("TST_START"));
    werte.Mandant = QStringLiteral("Muster GmbH");
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    datei.Ersetze("Anzahl_Abteilungen=12", "Anzahl_Abteilungen=" + anzahl);
    QCOMPARE(Starte(datei), QStringList());
    QCOMPARE(FStation->Menukarte(), zwoelf ? u"Card12"_s : u"Card6"_s);
    // The twelve-button card never has arrows; on the other the department list decides.
    if (zwoelf) {
        QVERIFY(FStation->AufTafel(u"btnMenu_Abt_Links"_s)->isHidden());
        QVERIFY(FStation->AufTafel(u"btnMenu_Abt_Rechts"_s)->isHidden());
    }
}

void TstStart::portKeineZahl()
{
    TEinstellungsDatei datei;
    datei.Schreibe(GueltigeWerte());
    datei.Ersetze("Port=3306", "Port=abc");
    QCOMPARE(Starte(datei), QStringList{Lesefehler("Der Eintrag Port ist keine Zahl.")});
    // The menu values were never read: six-button card with arrows, empty welcome text.
    QCOMPARE(FStation->Menukarte(), u"Card6"_s);
    QVERIFY(!FStation->AufTafel(u"btnMenu_Abt_Links"_s)->isHidden());
    QCOMPARE(FStation->AufTafel<QLabel>(u"lblWelcome"_s)->text(), QString());
}

void TstStart::beschaedigteDateiBeendet()
{
    TKlarEinstellungen werte = GueltigeWerte();
    werte.Willkommen = QStringLiteral("Nicht zu sehen");
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    datei.Ersetze("Username=C5CF0826", "Username=c5CF0826");
    QCOMPARE(Starte(datei), QStringList{kBeschaedigt});
    QVERIFY(FDM->EinstellungenBeschaedigt());
    QVERIFY(!bEinstellungen_OK);
    QVERIFY(!FMain->isVisible());
    QCOMPARE(FMain->iEndeStatus, TFMain::kEndeBeschaedigteEinstellungen);
    QCOMPARE(FStation->AufTafel<QLabel>(u"lblWelcome"_s)->text(), QString());
}

void TstStart::dunklerStil()
{
    QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));
    QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(QApplication::palette().color(QPalette::WindowText).lightness() > 200);
    QCOMPARE(QGuiApplication::applicationDisplayName(),
             QStringLiteral("Teststation Personenerdung"));
}

void TstStart::meldungsfensterAntwortet()
{
    // BereiteAnwendungVor installed the on-screen boxes; answer them as a person would.
    QStringList gesehen;
    auto antworte = [&gesehen](const QString& knopf) {
        QTimer::singleShot(0, [&gesehen, knopf] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            gesehen.append(box->text());
            for (QAbstractButton* b : box->buttons())
                gesehen.append(b->text());
            for (QAbstractButton* b : box->buttons())
                if (b->text() == knopf)
                    b->click();
        });
    };
    antworte(QStringLiteral("Ja"));
    QVERIFY(Meldung::Fragen(QStringLiteral("Wollen Sie das Programm wirklich beenden?")));
    antworte(QStringLiteral("Nein"));
    QVERIFY(!Meldung::Fragen(QStringLiteral("Frage")));
    antworte(QStringLiteral("OK"));
    Meldung::Zeigen(Meldung::Art::Hinweis, QStringLiteral("Zeile 1\r\n\r\nZeile 3"));
    QCOMPARE(gesehen, (QStringList{"Wollen Sie das Programm wirklich beenden?", "Ja", "Nein",
                                   "Frage", "Ja", "Nein", "Zeile 1\n\nZeile 3", "OK"}));
}

QTEST_MAIN(TstStart)
#include "tst_start.moc"
