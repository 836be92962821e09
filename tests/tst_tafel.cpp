// The employee board against a private server: department menu, tiles with colours and photos,
// pages, the inactivity countdown and the photo tap.
#include "Bedienelemente.h"
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "Start.h"
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
    QStringList Kacheltexte() const;
    QList<int> Tags() const;
    void TippeAbteilung(int k) const;

    std::unique_ptr<TFensterset> FFenster;
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
    // The hidden measurement screen's first tick would reload the board at random moments.
    FMessung->Timer1.stop();
}

void TstTafel::cleanup()
{
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

QStringList TstTafel::Kacheltexte() const
{
    QStringList texte;
    for (int n = 0; n < 24; ++n)
        texte << (FMain->lblUser[size_t(n)]->isHidden() ? QString()
                                                        : FMain->lblUser[size_t(n)]->text());
    while (!texte.isEmpty() && texte.last().isEmpty())
        texte.removeLast();
    return texte;
}

QList<int> TstTafel::Tags() const
{
    QList<int> tags;
    for (const TKachelFoto* foto : FMain->imgMitarbeiter)
        tags << foto->Tag;
    while (!tags.isEmpty() && tags.last() == 0)
        tags.removeLast();
    return tags;
}

void TstTafel::TippeAbteilung(int k) const
{
    const bool zwoelf = FMain->Menu_AnzAbteilungen() == QStringLiteral("12");
    QPushButton* knopf = zwoelf ? static_cast<QPushButton*>(FMain->btnAbteilung_B[size_t(k - 1)])
                                : FMain->btnAbteilung_A[size_t(k - 1)];
    QVERIFY(knopf->isVisible());
    QTest::mouseClick(knopf, Qt::LeftButton);
}

namespace {

template <typename Liste> QStringList SichtbareKnoepfe(const Liste& knoepfe)
{
    QStringList texte;
    for (const QPushButton* knopf : knoepfe)
        texte << (knopf->isHidden() ? QStringLiteral("-") : knopf->text());
    return texte;
}

} // namespace

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
    QCOMPARE(FMain->cpAbteilungen->currentWidget(), FMain->Card6);
    QCOMPARE(SichtbareKnoepfe(FMain->btnAbteilung_A), knoepfe);
    QCOMPARE(FMain->iglob_Anzahl_Abteilungen, anzahl);
    QCOMPARE(FMain->btnMenu_Abt_Links->isVisible(), pfeile);
    QCOMPARE(FMain->btnMenu_Abt_Rechts->isVisible(), pfeile);
}

void TstTafel::menuSechsSchieben()
{
    Abteilungen(8);
    Starte(QStringLiteral("Muster GmbH"), QStringLiteral("6"));
    const auto tippe = [](QPushButton* pfeil) {
        FMain->iTimer_PageWechsel = 5;
        QTest::mouseClick(pfeil, Qt::LeftButton);
        // Every arrow tap restarts the countdown, also when the row does not move.
        QCOMPARE(FMain->iTimer_PageWechsel, FMain->iWechselzeit);
    };
    tippe(FMain->btnMenu_Abt_Links);
    QCOMPARE(FMain->iglobZaehler_Abteilung, 0);
    tippe(FMain->btnMenu_Abt_Rechts);
    tippe(FMain->btnMenu_Abt_Rechts);
    const QStringList dreiBisAcht{"Abteilung 3", "Abteilung 4", "Abteilung 5",
                                  "Abteilung 6", "Abteilung 7", "Abteilung 8"};
    QCOMPARE(SichtbareKnoepfe(FMain->btnAbteilung_A), dreiBisAcht);
    tippe(FMain->btnMenu_Abt_Rechts);
    QCOMPARE(SichtbareKnoepfe(FMain->btnAbteilung_A), dreiBisAcht);
    tippe(FMain->btnMenu_Abt_Links);
    QCOMPARE(FMain->btnAbteilung_A[0]->text(), QStringLiteral("Abteilung 2"));

    // A tap on a slid row loads the department the button shows.
    Sql(Mitarbeiter(10, "Zehn", "Zora", "NULL", "NULL", 3));
    TippeAbteilung(1);
    QCOMPARE(FMain->sglobAktive_Abteilung, QStringLiteral("Abteilung 2"));
    QCOMPARE(Kacheltexte(), QStringList{"Zehn Zora"});
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
    QCOMPARE(FMain->cpAbteilungen->currentWidget(), FMain->Card12);
    QVERIFY(FMain->btnMenu_Abt_Links->isHidden());
    for (int i = 0; i < 12; ++i) {
        const QPushButton* knopf = FMain->btnAbteilung_B[size_t(i)];
        QCOMPARE(knopf->isVisible(), i < sichtbar);
        if (i < sichtbar)
            QCOMPARE(knopf->text(), QStringLiteral("Abteilung %1").arg(i + 1));
    }
    // Entries 1 to 6 in the upper row, 7 to 12 below, each row left to right.
    if (sichtbar == 12) {
        QVERIFY(FMain->btnAbteilung_B[6]->y() > FMain->btnAbteilung_B[5]->y());
        QCOMPARE(FMain->btnAbteilung_B[6]->x(), FMain->btnAbteilung_B[0]->x());
    }
}

void TstTafel::menuAndererWert()
{
    Abteilungen(3);
    Starte(QStringLiteral("Muster GmbH"), QStringLiteral("8"));
    QCOMPARE(FMain->cpAbteilungen->currentWidget(), FMain->Card6);
    QCOMPARE(SichtbareKnoepfe(FMain->btnAbteilung_A), QStringList(6, QStringLiteral("-")));
    QVERIFY(FMain->btnMenu_Abt_Links->isHidden());
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
    QStringList gezeigt = SichtbareKnoepfe(FMain->btnAbteilung_B);
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
    QCOMPARE(SichtbareKnoepfe(FMain->btnAbteilung_B), QStringList(12, QStringLiteral("-")));
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
    QCOMPARE(FMain->CardPanel->currentWidget(), FMain->cardMitarbeiter);
    QCOMPARE(Kacheltexte(),
             (QStringList{"Adler Ada", "Becker Ben", "Krause Kai", "Mayer Mia", "Zander Zoe"}));
    QCOMPARE(Tags(), (QList<int>{24, 22, 25, 23, 21}));
    for (int n = 0; n < 24; ++n) {
        QCOMPARE(FMain->panUser[size_t(n)]->isVisible(), n < 5);
        QCOMPARE(FMain->imgMitarbeiter[size_t(n)]->isVisible(), n < 5);
    }
    // Pages only appear when there is more than one.
    QVERIFY(FMain->lblSeite->isHidden());

    // Another department replaces the board completely.
    TippeAbteilung(2);
    QCOMPARE(Kacheltexte(), QStringList{"Anders Axel"});
    QVERIFY(FMain->panUser[1]->isHidden());
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
    QCOMPARE(Kacheltexte().size(), erwartet.size());
    for (int n = 0; n < erwartet.size(); ++n)
        QCOMPARE(FMain->panUser[size_t(n)]->palette().color(QPalette::Window), erwartet[n]);
}

void TstTafel::fotos()
{
    const QByteArray grossesFoto = Jpeg({600, 750}, QColor(40, 90, 200));
    const QByteArray png = Kodiert(QImage(20, 25, QImage::Format_RGB32), "PNG");
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(41, "A-Foto", "Anna", "NULL", "X'" + grossesFoto.toHex() + "'") +
        Mitarbeiter(42, "B-Ohne", "Bert") +
        Mitarbeiter(43, "C-Png", "Cleo", "NULL", "X'" + png.toHex() + "'") +
        Mitarbeiter(44, "D-Foto", "Dora", "NULL", "X'" + grossesFoto.toHex() + "'"));
    Starte(QStringLiteral("Muster GmbH"));
    TMeldungsProtokoll protokoll;
    TippeAbteilung(1);

    // A picture that is not JPEG warns and the filling goes on.
    QCOMPARE(protokoll.Texte().size(), 1);
    QVERIFY2(protokoll.Texte().first().startsWith(kFotoFehler + QStringLiteral("EJPEGFehler: ")),
             qPrintable(protokoll.Texte().first()));
    QCOMPARE(Kacheltexte().size(), 4);

    const TKachelFoto* mitFoto = FMain->imgMitarbeiter[0];
    // Decoded at the tile's size on the screen, never at the photo's own.
    QCOMPARE(mitFoto->Pixmap().size(), mitFoto->size() * mitFoto->devicePixelRatioF());
    QVERIFY(mitFoto->SvgPfad().isEmpty());
    QCOMPARE(FMain->imgMitarbeiter[1]->SvgPfad(), FMain->imglWorstCase[2]);
    QVERIFY(!FMain->imgMitarbeiter[3]->Pixmap().isNull());
    QVERIFY(FMain->imgMitarbeiter[3]->SvgPfad().isEmpty());
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
    QCOMPARE(Kacheltexte(), kacheln);
    QCOMPARE(protokoll.Texte(), QStringList());
}

void TstTafel::nichtEindeutigBleibtVerborgen()
{
    // A deleted but active employee is on this tenant's board, yet the contact search skips
    // deleted records: the load tells the user and the tile must not show the previous person.
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(61, "Albers", "Alf") + Mitarbeiter(62, "Berg", "Bea") +
        Mitarbeiter(63, "Czech", "Carl") +
        "UPDATE MITARBEITER SET GELOESCHT = 'J' WHERE MITARBEITER_ID = 62;");
    Starte(QStringLiteral("Muster GmbH"));
    TMeldungsProtokoll protokoll;
    TippeAbteilung(1);
    QCOMPARE(protokoll.Texte(), QStringList{kNichtEindeutig});
    QCOMPARE(Kacheltexte(), (QStringList{"Albers Alf", "", "Czech Carl"}));
    QCOMPARE(Tags(), (QList<int>{61, 0, 63}));
    QVERIFY(FMain->panUser[1]->isHidden());
    QVERIFY(FMain->imgMitarbeiter[1]->isHidden());
}

void TstTafel::neuLadenBehaeltAbteilung()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(71, "Alt", "Anna", "CURDATE() - INTERVAL 3 DAY") +
        Mitarbeiter(72, "Neu", "Nina", "CURDATE() - INTERVAL 3 DAY"));
    Starte(QStringLiteral("Muster GmbH"));
    TippeAbteilung(1);
    QCOMPARE(FMain->panUser[1]->palette().color(QPalette::Window), QColor(255, 0, 0));

    // What a measurement leaves behind; the screen then reloads with an empty argument.
    Sql("UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = NOW() WHERE MITARBEITER_ID = 72;");
    FMain->CardPanel->setCurrentWidget(FMain->cardWelcome);
    FMain->Lade_MA_Abteilung(QString());
    QCOMPARE(FMain->sglobAktive_Abteilung, QStringLiteral("Montage"));
    QCOMPARE(FMain->panUser[0]->palette().color(QPalette::Window), QColor(255, 0, 0));
    QCOMPARE(FMain->panUser[1]->palette().color(QPalette::Window), QColor(0, 128, 0));
    // The reload leaves the card alone.
    QCOMPARE(FMain->CardPanel->currentWidget(), FMain->cardWelcome);
}

void TstTafel::leereAbteilung()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage'), "
        "(3, 'Leer');" +
        Mitarbeiter(81, "Voll", "Vera"));
    Starte(QStringLiteral("Muster GmbH"));
    TippeAbteilung(1);
    QCOMPARE(Kacheltexte(), QStringList{"Voll Vera"});
    TMeldungsProtokoll protokoll;
    TippeAbteilung(2);
    QCOMPARE(Kacheltexte(), QStringList());
    QCOMPARE(Tags(), QList<int>());
    QCOMPARE(protokoll.Texte(), QStringList());
    // A name not in the employee query's department column shows nothing either.
    FMain->sglobAktive_Abteilung = QStringLiteral("Gibt es nicht");
    FMain->actLade_MitarbeiterExecute(nullptr);
    QCOMPARE(Kacheltexte(), QStringList());
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
    QCOMPARE(Kacheltexte().size(), 24);
    QCOMPARE(Kacheltexte().last(), QStringLiteral("Name24 V"));
    QVERIFY(FMain->lblSeite->isVisible());
    QCOMPARE(FMain->lblSeite->text(), QStringLiteral("Seite 1/2"));
    QVERIFY(!FMain->btnSeite_Zurueck->isEnabled());

    FMain->iTimer_PageWechsel = 3;
    QTest::mouseClick(FMain->btnSeite_Vor, Qt::LeftButton);
    QCOMPARE(FMain->iTimer_PageWechsel, FMain->iWechselzeit);
    QCOMPARE(FMain->lblSeite->text(), QStringLiteral("Seite 2/2"));
    QCOMPARE(Kacheltexte(),
             (QStringList{"Name25 V", "Name26 V", "Name27 V", "Name28 V", "Name29 V", "Name30 V"}));
    QCOMPARE(Tags(), (QList<int>{125, 126, 127, 128, 129, 130}));
    QVERIFY(FMain->panUser[6]->isHidden());

    // The reload after a measurement keeps the page.
    FMain->Lade_MA_Abteilung(QString());
    QCOMPARE(FMain->lblSeite->text(), QStringLiteral("Seite 2/2"));
    QCOMPARE(Kacheltexte().first(), QStringLiteral("Name25 V"));

    // A swipe to the right on the board goes back.
    FMain->Wischen(TWischen::NachRechts, FMain->imgMitarbeiter[2]);
    QCOMPARE(FMain->lblSeite->text(), QStringLiteral("Seite 1/2"));
    FMain->Wischen(TWischen::NachLinks, FMain->panMitarbeiter);
    QCOMPARE(FMain->lblSeite->text(), QStringLiteral("Seite 2/2"));

    // A department tap starts on page 1; a department of one page shows no paging.
    TippeAbteilung(1);
    QCOMPARE(FMain->lblSeite->text(), QStringLiteral("Seite 1/2"));
    TippeAbteilung(2);
    QVERIFY(FMain->lblSeite->isHidden());
    QVERIFY(FMain->btnSeite_Vor->isHidden());
    // There a swipe is a gesture like any other: the countdown runs on.
    FMain->iTimer_PageWechsel = 3;
    FMain->Wischen(TWischen::NachLinks, FMain->panMitarbeiter);
    QCOMPARE(FMain->iTimer_PageWechsel, 3);
}

void TstTafel::countdownZurueckZumWillkommen()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');");
    Starte(QStringLiteral("Muster GmbH"));
    FMain->Timer2.stop();
    TippeAbteilung(1);
    QVERIFY(FMain->Timer2.isActive());
    FMain->btnAbteilung_B[0]->setFocus();
    for (int tick = 1; tick < 30; ++tick)
        FMain->Timer2Timer();
    QCOMPARE(FMain->CardPanel->currentWidget(), FMain->cardMitarbeiter);
    FMain->Timer2Timer();
    QCOMPARE(FMain->CardPanel->currentWidget(), FMain->cardWelcome);
    QVERIFY(!FMain->Timer2.isActive());
    QCOMPARE(FMain->iTimer_PageWechsel, 30);
    QCOMPARE(FMain->focusWidget(), nullptr);

    // An arrow tap on the welcome card sets the countdown but starts nothing.
    FMain->iTimer_PageWechsel = 4;
    FMain->btnMenu_Abt_RechtsClick();
    QCOMPARE(FMain->iTimer_PageWechsel, 30);
    QVERIFY(!FMain->Timer2.isActive());
}

void TstTafel::pfeileHaltenDieTafel()
{
    Abteilungen(8);
    Starte(QStringLiteral("Muster GmbH"), QStringLiteral("6"));
    TippeAbteilung(1);
    for (int runde = 0; runde < 5; ++runde) {
        for (int tick = 0; tick < 20; ++tick)
            FMain->Timer2Timer();
        QTest::mouseClick(runde % 2 == 0 ? FMain->btnMenu_Abt_Rechts : FMain->btnMenu_Abt_Links,
                          Qt::LeftButton);
    }
    QCOMPARE(FMain->CardPanel->currentWidget(), FMain->cardMitarbeiter);
    QVERIFY(FMain->Timer2.isActive());
}

void TstTafel::messungHaeltCountdownAn()
{
    Sql("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(91, "Messbar", "Max", "CURDATE() - INTERVAL 2 DAY"));
    Starte(QStringLiteral("Muster GmbH"));
    TippeAbteilung(1);
    for (int tick = 0; tick < 10; ++tick)
        FMain->Timer2Timer();

    QTest::mouseClick(FMain->imgMitarbeiter[0], Qt::LeftButton);
    QVERIFY(!FMain->Timer2.isActive());
    QCOMPARE(FMain->iTimer_PageWechsel, 30);
    QVERIFY(FMessung->isVisible());
    QCOMPARE(FMessung->Kontakt()->Mitarbeiter_ID(), QStringLiteral("91"));

    // The measurement's end reloads the board and gives the countdown back to it.
    Sql("UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = NOW() WHERE MITARBEITER_ID = 91;");
    FMessung->Timer1Timer();
    QVERIFY(!FMessung->isVisible());
    QVERIFY(FMain->Timer2.isActive());
    QCOMPARE(FMain->iTimer_PageWechsel, 30);
    QCOMPARE(FMain->panUser[0]->palette().color(QPalette::Window), QColor(0, 128, 0));
}

void TstTafel::countdownLaeuftImDialog()
{
    Starte(QStringLiteral("Muster GmbH"));
    FMain->CardPanel->setCurrentWidget(FMain->cardMitarbeiter);
    FMain->iTimer_PageWechsel = 3;
    FMain->Timer2.start(5);
    // The real message box: its own loop must deliver the ticks while it waits for its OK.
    bool willkommenImDialog = false;
    QTimer pruefer;
    connect(&pruefer, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || FMain->CardPanel->currentWidget() != FMain->cardWelcome)
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
    QVERIFY(!FMain->Timer2.isActive());
}

QTEST_MAIN(TstTafel)
#include "tst_tafel.moc"
