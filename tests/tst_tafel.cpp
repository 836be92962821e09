// The employee board against a private server: department menu, tiles with colours and photos,
// pages, the inactivity countdown and the photo tap.
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "Start.h"
#include "Stationstreiber.h"
#include "TestServer.h"
#include "Testbilder.h"
#include "Testfirma.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uKontakt.h"
#include "uMessung.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kDatenbank = QStringLiteral("TST_TAFEL");
using Testfirma::Jpeg;
using Testfirma::kGrunddaten;
using Testfirma::Mitarbeiter;
using namespace Qt::Literals::StringLiterals;

} // namespace

class TstTafel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuSechs_data();
    void menuSechs();
    void menuSechsSchieben();
    void menuZwoelf_data();
    void menuZwoelf();
    void menuAndererWert();
    void abteilungenNachMandant_data();
    void abteilungenNachMandant();
    void ohneDatenbank();

    void kachelnInNamensfolge();
    void farbeNachKalendertag();
    void fotos();
    void mitarbeiterNachMandant_data();
    void mitarbeiterNachMandant();
    void nichtEindeutigBleibtVerborgen();
    void neuLadenBehaeltAbteilung();
    void leereAbteilung();
    void dreissigMitarbeiterZweiSeiten();

    void countdownZurueckZumWillkommen();
    void pfeileHaltenDieTafel();
    void messungHaeltCountdownAn();
    void countdownLaeuftImDialog();

private:
    // Starts the station against the test database with these menu values.
    QStringList Starte(const QString& mandant, const QString& menu = QStringLiteral("12"));
    void Sql(const QString& sql) const { FServer.Sql(sql, kDatenbank); }
    void Abteilungen(int anzahl) const;
    QList<int> Tags() const;
    // Taps button nr (from 1) of the shown department strip, which must be visible.
    void TippeAbteilung(int nr) const;

    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    std::unique_ptr<TEinstellungsDatei> FDatei;
    TTestServer FServer;
};

void TstTafel::initTestCase()
{
    BereiteAnwendungVor();
}

void TstTafel::init()
{
    FServer.NeueDatenbank(kDatenbank);
    Sql(kGrunddaten);
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung);
    // The hidden measurement screen's first tick would reload the board at random moments.
    FStation->Anhalten(TUhr::Messung);
}

void TstTafel::cleanup()
{
    FStation.reset();
    FFenster.reset();
    FDatei.reset();
}

QStringList TstTafel::Starte(const QString& mandant, const QString& menu)
{
    TKlarEinstellungen werte = FServer.StationsWerte(kDatenbank);
    werte.Mandant = mandant;
    FDatei = std::make_unique<TEinstellungsDatei>();
    FDatei->Schreibe(werte);
    FDatei->Ersetze("Anzahl_Abteilungen=12", "Anzahl_Abteilungen=" + menu.toUtf8());
    TMeldungsProtokoll protokoll;
    FDM->SetzeEinstellungsVerzeichnis(FDatei->Verzeichnis());
    FMain->ZeigeVollbild();
    QCoreApplication::processEvents();
    return protokoll.Texte();
}

void TstTafel::Abteilungen(int anzahl) const
{
    QString sql;
    for (int i = 1; i <= anzahl; ++i)
        sql += QStringLiteral("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES "
                              "(%1, 'Abteilung %2');")
                   .arg(i + 1)
                   .arg(i);
    Sql(sql);
}

QList<int> TstTafel::Tags() const
{
    QList<int> tags;
    for (int nr = 1; nr <= 24; ++nr)
        tags << FStation->Foto(nr)->Tag;
    while (!tags.isEmpty() && tags.last() == 0)
        tags.removeLast();
    return tags;
}

void TstTafel::TippeAbteilung(int nr) const
{
    QVERIFY(FStation->Abteilungsknopf(nr)->isVisible());
    FStation->TippeAbteilung(nr);
}

void TstTafel::menuSechs_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<QStringList>("knoepfe");
    QTest::addColumn<bool>("pfeile");
    QTest::newRow("5") << 5 << QStringList{"Abteilung 1", "Abteilung 2", "Abteilung 3",
                                           "Abteilung 4", "Abteilung 5", "-"}
                       << false;
    QTest::newRow("8") << 8 << QStringList{"Abteilung 1", "Abteilung 2", "Abteilung 3",
                                           "Abteilung 4", "Abteilung 5", "Abteilung 6"}
                       << true;
}

void TstTafel::menuSechs()
{
    QFETCH(int, anzahl);
    QFETCH(QStringList, knoepfe);
    QFETCH(bool, pfeile);
    Abteilungen(anzahl);
    QCOMPARE(Starte(QStringLiteral("Muster GmbH"), QStringLiteral("6")), QStringList());
    QCOMPARE(FStation->Menukarte(), u"Card6"_s);
    QCOMPARE(FStation->Abteilungsknoepfe(), knoepfe);
    QCOMPARE(FMain->iglob_Anzahl_Abteilungen, anzahl);
    QCOMPARE(FStation->AufTafel(u"btnMenu_Abt_Links"_s)->isVisible(), pfeile);
    QCOMPARE(FStation->AufTafel(u"btnMenu_Abt_Rechts"_s)->isVisible(), pfeile);
}

void TstTafel::menuSechsSchieben()
{
    Abteilungen(8);
    Starte(QStringLiteral("Muster GmbH"), QStringLiteral("6"));
    const auto tippe = [this](QWidget* pfeil) {
        FStation->SetzeCountdown(5);
        TStationstreiber::Tippe(pfeil);
        // Every arrow tap restarts the countdown, also when the row does not move.
        QCOMPARE(FStation->Countdown(), FStation->Wechselzeit());
    };
    tippe(FStation->AufTafel(u"btnMenu_Abt_Links"_s));
    QCOMPARE(FMain->iglobZaehler_Abteilung, 0);
    tippe(FStation->AufTafel(u"btnMenu_Abt_Rechts"_s));
    tippe(FStation->AufTafel(u"btnMenu_Abt_Rechts"_s));
    const QStringList dreiBisAcht{"Abteilung 3", "Abteilung 4", "Abteilung 5",
                                  "Abteilung 6", "Abteilung 7", "Abteilung 8"};
    QCOMPARE(FStation->Abteilungsknoepfe(), dreiBisAcht);
    tippe(FStation->AufTafel(u"btnMenu_Abt_Rechts"_s));
    QCOMPARE(FStation->Abteilungsknoepfe(), dreiBisAcht);
    tippe(FStation->AufTafel(u"btnMenu_Abt_Links"_s));
    QCOMPARE(FStation->Abteilungsknopf(1)->text(), QStringLiteral("Abteilung 2"));

    // A tap on a slid row loads the department the button shows.
    Sql(Mitarbeiter(10, "Zehn", "Zora", "NULL", "NULL", 3));
    TippeAbteilung(1);
    QCOMPARE(FStation->AktiveAbteilung(), QStringLiteral("Abteilung 2"));
    QCOMPARE(FStation->Kacheltexte(), QStringList{"Zehn Zora"});
}

void TstTafel::menuZwoelf_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("sichtbar");
    QTest::newRow("4") << 4 << 4;
    QTest::newRow("15") << 15 << 12;
}

void TstTafel::menuZwoelf()
{
    QFETCH(int, anzahl);
    QFETCH(int, sichtbar);
    Abteilungen(anzahl);
    Starte(QStringLiteral("Muster GmbH"), QStringLiteral("12"));
    QCOMPARE(FStation->Menukarte(), u"Card12"_s);
    QVERIFY(FStation->AufTafel(u"btnMenu_Abt_Links"_s)->isHidden());
    for (int i = 0; i < 12; ++i) {
        const QPushButton* knopf = FStation->Abteilungsknopf(i + 1);
        QCOMPARE(knopf->isVisible(), i < sichtbar);
        if (i < sichtbar)
            QCOMPARE(knopf->text(), QStringLiteral("Abteilung %1").arg(i + 1));
    }
    // Entries 1 to 6 in the upper row, 7 to 12 below, each row left to right.
    if (sichtbar == 12) {
        QVERIFY(FStation->Abteilungsknopf(7)->y() > FStation->Abteilungsknopf(6)->y());
        QCOMPARE(FStation->Abteilungsknopf(7)->x(), FStation->Abteilungsknopf(1)->x());
    }
}

void TstTafel::menuAndererWert()
{
    Abteilungen(3);
    Starte(QStringLiteral("Muster GmbH"), QStringLiteral("8"));
    QCOMPARE(FStation->Menukarte(), u"Card6"_s);
    QCOMPARE(FStation->Abteilungsknoepfe(), QStringList(6, QStringLiteral("-")));
    QVERIFY(FStation->AufTafel(u"btnMenu_Abt_Links"_s)->isHidden());
}

void TstTafel::abteilungenNachMandant_data()
{
    QTest::addColumn<QString>("mandant");
    QTest::addColumn<QStringList>("liste");
    QTest::newRow("Quellmark AG") << "Quellmark AG" << QStringList{"Montage", "Lager"};
    QTest::newRow("andere") << "Muster GmbH" << QStringList{"Montage", "Archiv"};
    QTest::newRow("leer") << "" << QStringList{"Montage", "Archiv"};
}

void TstTafel::abteilungenNachMandant()
{
    QFETCH(QString, mandant);
    QFETCH(QStringList, liste);
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG, GELOESCHT, INAKTIV) VALUES "
        "(2, 'Montage', 'N', 'N'), (3, 'Archiv', 'J', 'N'), (4, 'Lager', 'N', 'J');"
        "UPDATE VORGABEN_ABTEILUNG SET INAKTIV = 'N', GELOESCHT = 'N' WHERE ABTEILUNG_ID = 1;");
    Starte(mandant);
    QStringList gezeigt = FStation->Abteilungsknoepfe();
    gezeigt.removeAll(QStringLiteral("-"));
    QCOMPARE(gezeigt, liste);
}

void TstTafel::ohneDatenbank()
{
    TKlarEinstellungen werte = FServer.StationsWerte(kDatenbank);
    werte.Mandant = QStringLiteral("Muster GmbH");
    werte.Port = 1; // nothing listens there
    FDatei = std::make_unique<TEinstellungsDatei>();
    FDatei->Schreibe(werte);
    TMeldungsProtokoll protokoll;
    FDM->SetzeEinstellungsVerzeichnis(FDatei->Verzeichnis());
    FMain->ZeigeVollbild();
    QCoreApplication::processEvents();
    // The connection failure is the only message: the menu stays empty without one.
    QCOMPARE(protokoll.Texte().size(), 1);
    QVERIFY(protokoll.Texte().first().startsWith(kVerbindungsfehler));
    QCOMPARE(FStation->Abteilungsknoepfe(), QStringList(12, QStringLiteral("-")));
}

void TstTafel::kachelnInNamensfolge()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage'), "
        "(3, 'Lager');" +
        Mitarbeiter(1, "Admin", "Anton") + Mitarbeiter(21, "Zander", "Zoe") +
        Mitarbeiter(22, "Becker", "Ben") + Mitarbeiter(23, "Mayer", "Mia") +
        Mitarbeiter(24, "Adler", "Ada") + Mitarbeiter(25, "Krause", "Kai") +
        Mitarbeiter(26, "Anders", "Axel", "NULL", "NULL", 3) + Mitarbeiter(27, "Nie", "Nils") +
        "UPDATE MITARBEITER SET ESD_MESSUNG = 'N' WHERE MITARBEITER_ID = 27;");
    QCOMPARE(Starte(QStringLiteral("Muster GmbH")), QStringList());
    TMeldungsProtokoll protokoll;
    TippeAbteilung(1);
    QCOMPARE(protokoll.Texte(), QStringList());
    QCOMPARE(FStation->Karte(), u"cardMitarbeiter"_s);
    QCOMPARE(FStation->Kacheltexte(),
             (QStringList{"Adler Ada", "Becker Ben", "Krause Kai", "Mayer Mia", "Zander Zoe"}));
    QCOMPARE(Tags(), (QList<int>{24, 22, 25, 23, 21}));
    for (int n = 0; n < 24; ++n) {
        QCOMPARE(FStation->Kachel(n + 1)->isVisible(), n < 5);
        QCOMPARE(FStation->Foto(n + 1)->isVisible(), n < 5);
    }
    // Pages only appear when there is more than one.
    QVERIFY(FStation->AufTafel(u"lblSeite"_s)->isHidden());

    // Another department replaces the board completely.
    TippeAbteilung(2);
    QCOMPARE(FStation->Kacheltexte(), QStringList{"Anders Axel"});
    QVERIFY(FStation->Kachel(2)->isHidden());
}

void TstTafel::farbeNachKalendertag()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(31, "A-Heute", "Frueh", "CURDATE()") +
        Mitarbeiter(32, "B-Heute", "Spaet", "CURDATE() + INTERVAL 86399 SECOND") +
        Mitarbeiter(33, "C-Gestern", "Spaet", "CURDATE() - INTERVAL 1 SECOND") +
        Mitarbeiter(34, "D-Morgen", "Frueh", "CURDATE() + INTERVAL 1 DAY") +
        Mitarbeiter(35, "E-Nie", "Gemessen", "NULL") +
        Mitarbeiter(36, "F-Letztes", "Jahr", "NOW() - INTERVAL 1 YEAR"));
    Starte(QStringLiteral("Muster GmbH"));
    TMeldungsProtokoll protokoll;
    TippeAbteilung(1);
    QCOMPARE(protokoll.Texte(), QStringList());
    const QList<QColor> erwartet{QColor(0, 128, 0), QColor(0, 128, 0), QColor(255, 0, 0),
                                 QColor(255, 0, 0), QColor(255, 0, 0), QColor(255, 0, 0)};
    QCOMPARE(FStation->Kacheltexte().size(), erwartet.size());
    for (int n = 0; n < erwartet.size(); ++n)
        QCOMPARE(FStation->Kachelfarbe(n + 1), erwartet[n]);
}

void TstTafel::fotos()
{
    const QByteArray grossesFoto = Jpeg({600, 750}, QColor(40, 90, 200));
    const QByteArray png = Kodiert(QImage(20, 25, QImage::Format_RGB32), "PNG");
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(41, "A-Foto", "Anna", "NULL", "X'" + grossesFoto.toHex() + "'") +
        Mitarbeiter(42, "B-Ohne", "Bert") +
        Mitarbeiter(43, "C-Png", "Cleo", "NULL", "X'" + png.toHex() + "'") +
        Mitarbeiter(44, "D-Foto", "Dora", "NULL", "X'" + grossesFoto.toHex() + "'") +
        Mitarbeiter(45, "E-Leer", "Emil", "NULL", "''") +
        Mitarbeiter(46, "F-Foto", "Fritz", "NULL", "X'" + grossesFoto.toHex() + "'"));
    Starte(QStringLiteral("Muster GmbH"));
    TMeldungsProtokoll protokoll;
    // What the board shows while each warning is open: it must be complete by then.
    QList<QStringList> tafelBeiWarnung;
    const Meldung::Handler protokollieren =
        Meldung::SetzeHandler([&](Meldung::Art art, const QString& text) {
            QStringList tafel;
            for (int n = 1; n <= 6; ++n) {
                const TKachelFoto* foto = FStation->Foto(n);
                tafel << (!foto->isVisible()           ? u"verborgen"_s
                          : !foto->SvgPfad().isEmpty() ? foto->SvgPfad()
                          : foto->Pixmap().isNull()    ? u"leer"_s
                                                       : u"Foto"_s);
            }
            tafelBeiWarnung << tafel;
            return protokollieren(art, text);
        });
    TippeAbteilung(1);
    Meldung::SetzeHandler(protokollieren);

    // A picture that is not JPEG warns and the filling goes on; the warnings come in the order
    // of the tiles, each telling the size of its data.
    const QStringList texte = protokoll.Texte();
    QCOMPARE(texte.size(), 2);
    const QString anfang = kFotoFehler + QStringLiteral("EJPEGFehler: ");
    QVERIFY2(texte[0].startsWith(anfang) &&
                 texte[0].endsWith(QStringLiteral(", %1 Bytes).").arg(png.size())),
             qPrintable(texte[0]));
    QVERIFY2(texte[1].startsWith(anfang) && texte[1].endsWith(QStringLiteral(", 0 Bytes).")),
             qPrintable(texte[1]));
    QCOMPARE(FStation->Kacheltexte().size(), 6);
    const QString fehlt = FMain->imglWorstCase[1];
    const QString ohne = FMain->imglWorstCase[2];
    const QStringList komplett{u"Foto"_s, ohne, fehlt, u"Foto"_s, fehlt, u"Foto"_s};
    QCOMPARE(tafelBeiWarnung, (QList<QStringList>{komplett, komplett}));

    const TKachelFoto* mitFoto = FStation->Foto(1);
    // Decoded at the tile's size on the screen, never at the photo's own.
    QCOMPARE(mitFoto->Pixmap().size(), mitFoto->size() * mitFoto->devicePixelRatioF());
    QVERIFY(mitFoto->SvgPfad().isEmpty());
    QCOMPARE(FStation->Foto(2)->SvgPfad(), ohne);
    QVERIFY(!FStation->Foto(4)->Pixmap().isNull());
    QVERIFY(FStation->Foto(4)->SvgPfad().isEmpty());
    QCOMPARE(FStation->Foto(6)->Pixmap().size(), mitFoto->Pixmap().size());
}

void TstTafel::mitarbeiterNachMandant_data()
{
    QTest::addColumn<QString>("mandant");
    QTest::addColumn<QStringList>("kacheln");
    QTest::newRow("Quellmark AG") << "Quellmark AG" << QStringList{"Aktiv Anna", "Inaktiv Ina"};
    QTest::newRow("andere") << "Muster GmbH" << QStringList{"Aktiv Anna"};
}

void TstTafel::mitarbeiterNachMandant()
{
    QFETCH(QString, mandant);
    QFETCH(QStringList, kacheln);
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(51, "Aktiv", "Anna") + Mitarbeiter(52, "Inaktiv", "Ina") +
        "UPDATE MITARBEITER SET INAKTIV = 'J' WHERE MITARBEITER_ID = 52;");
    Starte(mandant);
    TMeldungsProtokoll protokoll;
    TippeAbteilung(1);
    QCOMPARE(FStation->Kacheltexte(), kacheln);
    QCOMPARE(protokoll.Texte(), QStringList());
}

void TstTafel::nichtEindeutigBleibtVerborgen()
{
    // A deleted but active employee is on this tenant's board, yet the contact search skips
    // deleted records: the load tells the user and the tile must not show the previous person.
    const QByteArray rot = Jpeg({60, 75}, QColor(220, 0, 0));
    const QByteArray blau = Jpeg({60, 75}, QColor(0, 0, 220));
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage'), "
        "(3, 'Lager');" +
        Mitarbeiter(61, "Albers", "Alf", "NULL", "X'" + blau.toHex() + "'") +
        Mitarbeiter(62, "Berg", "Bea") + Mitarbeiter(63, "Czech", "Carl") +
        Mitarbeiter(71, "Lang", "Lea", "NULL", "X'" + rot.toHex() + "'", 3) +
        "UPDATE MITARBEITER SET GELOESCHT = 'J' WHERE MITARBEITER_ID = 62;");
    Starte(QStringLiteral("Muster GmbH"));
    TippeAbteilung(2);
    QVERIFY(!FStation->Foto(1)->Pixmap().isNull());

    TMeldungsProtokoll protokoll;
    // The message box lets the half-built board be painted: its first tile must not show the
    // previous board's photo then.
    QList<bool> fotoBeiMeldung;
    const Meldung::Handler protokollieren =
        Meldung::SetzeHandler([&](Meldung::Art art, const QString& text) {
            fotoBeiMeldung << !FStation->Foto(1)->Pixmap().isNull();
            return protokollieren(art, text);
        });
    TippeAbteilung(1);
    Meldung::SetzeHandler(protokollieren);
    QCOMPARE(protokoll.Texte(), QStringList{kNichtEindeutig});
    QCOMPARE(fotoBeiMeldung, QList<bool>{false});
    QCOMPARE(FStation->Kacheltexte(), (QStringList{"Albers Alf", "", "Czech Carl"}));
    QCOMPARE(Tags(), (QList<int>{61, 0, 63}));
    QVERIFY(FStation->Kachel(2)->isHidden());
    QVERIFY(FStation->Foto(2)->isHidden());
    const QImage alf = FStation->Foto(1)->Pixmap().toImage();
    QVERIFY(!alf.isNull());
    // Alf's own photo: the background is blue.
    const QColor ecke = alf.pixelColor(1, 1);
    QVERIFY2(ecke.blue() > 150 && ecke.red() < 80, qPrintable(ecke.name()));
}

void TstTafel::neuLadenBehaeltAbteilung()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(71, "Alt", "Anna", "CURDATE() - INTERVAL 3 DAY") +
        Mitarbeiter(72, "Neu", "Nina", "CURDATE() - INTERVAL 3 DAY"));
    Starte(QStringLiteral("Muster GmbH"));
    TippeAbteilung(1);
    QCOMPARE(FStation->Kachelfarbe(2), QColor(255, 0, 0));

    // What a measurement leaves behind; the screen then reloads with an empty argument.
    Sql("UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = NOW() WHERE MITARBEITER_ID = 72;");
    FStation->ZeigeKarte(u"cardWelcome"_s);
    FMain->Lade_MA_Abteilung(QString());
    QCOMPARE(FStation->AktiveAbteilung(), QStringLiteral("Montage"));
    QCOMPARE(FStation->Kachelfarbe(1), QColor(255, 0, 0));
    QCOMPARE(FStation->Kachelfarbe(2), QColor(0, 128, 0));
    // The reload leaves the card alone.
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
}

void TstTafel::leereAbteilung()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage'), "
        "(3, 'Leer');" +
        Mitarbeiter(81, "Voll", "Vera"));
    Starte(QStringLiteral("Muster GmbH"));
    TippeAbteilung(1);
    QCOMPARE(FStation->Kacheltexte(), QStringList{"Voll Vera"});
    TMeldungsProtokoll protokoll;
    TippeAbteilung(2);
    QCOMPARE(FStation->Kacheltexte(), QStringList());
    QCOMPARE(Tags(), QList<int>());
    QCOMPARE(protokoll.Texte(), QStringList());
    // A name not in the employee query's department column shows nothing either.
    FMain->sglobAktive_Abteilung = QStringLiteral("Gibt es nicht");
    FMain->actLade_MitarbeiterExecute(nullptr);
    QCOMPARE(FStation->Kacheltexte(), QStringList());
    QCOMPARE(protokoll.Texte(), QStringList());
}

void TstTafel::dreissigMitarbeiterZweiSeiten()
{
    QString sql =
        "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Gross'), (3, 'B');";
    for (int i = 1; i <= 30; ++i)
        sql += Mitarbeiter(100 + i, QStringLiteral("Name%1").arg(i, 2, 10, QLatin1Char('0')),
                           QStringLiteral("V"));
    Sql(sql + Mitarbeiter(200, "Einzeln", "Eva", "NULL", "NULL", 3));
    Starte(QStringLiteral("Muster GmbH"));
    TippeAbteilung(1);
    QCOMPARE(FStation->Kacheltexte().size(), 24);
    QCOMPARE(FStation->Kacheltexte().last(), QStringLiteral("Name24 V"));
    QVERIFY(FStation->AufTafel(u"lblSeite"_s)->isVisible());
    QCOMPARE(FStation->Seitenanzeige(), QStringLiteral("Seite 1/2"));
    QVERIFY(!FStation->AufTafel(u"btnSeite_Zurueck"_s)->isEnabled());

    FStation->SetzeCountdown(3);
    FStation->BlaettereVor();
    QCOMPARE(FStation->Countdown(), FStation->Wechselzeit());
    QCOMPARE(FStation->Seitenanzeige(), QStringLiteral("Seite 2/2"));
    QCOMPARE(FStation->Kacheltexte(),
             (QStringList{"Name25 V", "Name26 V", "Name27 V", "Name28 V", "Name29 V", "Name30 V"}));
    QCOMPARE(Tags(), (QList<int>{125, 126, 127, 128, 129, 130}));
    QVERIFY(FStation->Kachel(7)->isHidden());

    // The reload after a measurement keeps the page.
    FMain->Lade_MA_Abteilung(QString());
    QCOMPARE(FStation->Seitenanzeige(), QStringLiteral("Seite 2/2"));
    QCOMPARE(FStation->Kacheltexte().first(), QStringLiteral("Name25 V"));

    // A swipe to the right on the board goes back.
    FMain->Wischen(TWischen::NachRechts, FStation->Foto(3));
    QCOMPARE(FStation->Seitenanzeige(), QStringLiteral("Seite 1/2"));
    FMain->Wischen(TWischen::NachLinks, FStation->AufTafel(u"panMitarbeiter"_s));
    QCOMPARE(FStation->Seitenanzeige(), QStringLiteral("Seite 2/2"));

    // A department tap starts on page 1; a department of one page shows no paging.
    TippeAbteilung(1);
    QCOMPARE(FStation->Seitenanzeige(), QStringLiteral("Seite 1/2"));
    TippeAbteilung(2);
    QVERIFY(FStation->AufTafel(u"lblSeite"_s)->isHidden());
    QVERIFY(FStation->AufTafel(u"btnSeite_Vor"_s)->isHidden());
    // There a swipe is a gesture like any other: the countdown runs on.
    FStation->SetzeCountdown(3);
    FMain->Wischen(TWischen::NachLinks, FStation->AufTafel(u"panMitarbeiter"_s));
    QCOMPARE(FStation->Countdown(), 3);
}

void TstTafel::countdownZurueckZumWillkommen()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');");
    Starte(QStringLiteral("Muster GmbH"));
    FStation->Anhalten(TUhr::Tafel);
    TippeAbteilung(1);
    QVERIFY(FStation->Laeuft(TUhr::Tafel));
    FStation->Abteilungsknopf(1)->setFocus();
    for (int tick = 1; tick < 30; ++tick)
        FStation->Tick(TUhr::Tafel);
    QCOMPARE(FStation->Karte(), u"cardMitarbeiter"_s);
    FStation->Tick(TUhr::Tafel);
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
    QVERIFY(!FStation->Laeuft(TUhr::Tafel));
    QCOMPARE(FStation->Countdown(), 30);
    QCOMPARE(FMain->focusWidget(), nullptr);

    // An arrow tap on the welcome card sets the countdown but starts nothing.
    FStation->SetzeCountdown(4);
    FMain->btnMenu_Abt_RechtsClick();
    QCOMPARE(FStation->Countdown(), 30);
    QVERIFY(!FStation->Laeuft(TUhr::Tafel));
}

void TstTafel::pfeileHaltenDieTafel()
{
    Abteilungen(8);
    Starte(QStringLiteral("Muster GmbH"), QStringLiteral("6"));
    TippeAbteilung(1);
    for (int runde = 0; runde < 5; ++runde) {
        for (int tick = 0; tick < 20; ++tick)
            FStation->Tick(TUhr::Tafel);
        if (runde % 2 == 0)
            FStation->TippeMenuRechts();
        else
            FStation->TippeMenuLinks();
    }
    QCOMPARE(FStation->Karte(), u"cardMitarbeiter"_s);
    QVERIFY(FStation->Laeuft(TUhr::Tafel));
}

void TstTafel::messungHaeltCountdownAn()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(91, "Messbar", "Max", "CURDATE() - INTERVAL 2 DAY"));
    Starte(QStringLiteral("Muster GmbH"));
    TippeAbteilung(1);
    for (int tick = 0; tick < 10; ++tick)
        FStation->Tick(TUhr::Tafel);

    FStation->TippeKachel(1);
    QVERIFY(!FStation->Laeuft(TUhr::Tafel));
    QCOMPARE(FStation->Countdown(), 30);
    QVERIFY(FMessung->isVisible());
    QCOMPARE(FMessung->Kontakt()->Mitarbeiter_ID(), QStringLiteral("91"));

    // The measurement's end reloads the board and gives the countdown back to it.
    Sql("UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = NOW() WHERE MITARBEITER_ID = 91;");
    FStation->Tick(TUhr::Messung);
    QVERIFY(!FMessung->isVisible());
    QVERIFY(FStation->Laeuft(TUhr::Tafel));
    QCOMPARE(FStation->Countdown(), 30);
    QCOMPARE(FStation->Kachelfarbe(1), QColor(0, 128, 0));
}

void TstTafel::countdownLaeuftImDialog()
{
    Starte(QStringLiteral("Muster GmbH"));
    FStation->ZeigeKarte(u"cardMitarbeiter"_s);
    FStation->SetzeCountdown(3);
    FStation->Starten(TUhr::Tafel, 5);
    // The real message box: its own loop must deliver the ticks while it waits for its OK.
    bool willkommenImDialog = false;
    QTimer pruefer;
    connect(&pruefer, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || FStation->Karte() != u"cardWelcome"_s)
            return;
        willkommenImDialog = true;
        box->close();
    });
    pruefer.start(10);
    QTimer::singleShot(5000, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    Meldung::Zeigen(Meldung::Art::Warnung, QStringLiteral("Bitte warten"));
    QVERIFY(willkommenImDialog);
    QVERIFY(!FStation->Laeuft(TUhr::Tafel));
}

QTEST_MAIN(TstTafel)
#include "tst_tafel.moc"
