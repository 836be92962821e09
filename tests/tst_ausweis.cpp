// Finding oneself without paging: a badge typed by a reader, and the name search over the board.
#include "Ausweisleser.h"
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "Stationstreiber.h"
#include "Tafel.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "uFKurzmeldung.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using Testfirma::Mitarbeiter;

namespace {

const QString kDatenbank = u"TST_AUSWEIS"_s;

} // namespace

class TstAusweis : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void leser_data();
    void leser();
    void ausweisOeffnetMessungAufSeiteDerPerson();
    void ausweisOhneEindeutigePerson_data();
    void ausweisOhneEindeutigePerson();
    void langsamesTippenIstKeinAusweis();
    void ausweisInMessungUndGastnamenGehtInsFeld();
    void ausgeschalteterLeser();
    void namenssucheUeberAlleAbteilungen();

private:
    void Starte(bool leser = true);
    QString Kurzmeldung() const;
    QString Zeilen(const QString& sql) const { return FServer.Sql(sql, kDatenbank); }

    TTestServer FServer;
    QTemporaryDir FVerzeichnis;
    QString FGeraet;
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    std::unique_ptr<TEinstellungsDatei> FDatei;
};

void TstAusweis::initTestCase()
{
    BereiteAnwendungVor();
    FGeraet = FVerzeichnis.filePath(u"pruefgeraet"_s);
}

void TstAusweis::init()
{
    FServer.NeueDatenbank(kDatenbank);
    // "Lager" holds 27 people, so the last by name, Zander, is on the second page.
    QString lager;
    for (int i = 0; i < 25; ++i)
        lager += Mitarbeiter(200 + i, u"Lagerkraft%1"_s.arg(i, 2, 10, QChar(u'0')), u"Lea"_s,
                             u"NULL"_s, u"NULL"_s, 3);
    FServer.Sql(Testfirma::kGrunddaten +
                    "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES "
                    "(2, 'Montage'), (3, 'Lager');" +
                    Mitarbeiter(91, "Zander", "Zoe", "NULL", "NULL", 3) +
                    Mitarbeiter(92, "Müller", "Anna") +
                    Mitarbeiter(93, "Muller", "Bernd", "NULL", "NULL", 3) +
                    Mitarbeiter(94, "Neu", "Nora") + Mitarbeiter(95, "Neuer", "Ned") +
                    Mitarbeiter(96, "Ruhe", "Rolf") +
                    Mitarbeiter(99, "Gast", "Besucher", "NULL", "NULL", 2, "Gast1") + lager +
                    "UPDATE MITARBEITER SET PERSONALNUMMER = '4711' WHERE MITARBEITER_ID = 91;"
                    "UPDATE MITARBEITER SET PERSONALNUMMER = '0000' WHERE MITARBEITER_ID IN "
                    "(94, 95);"
                    "UPDATE MITARBEITER SET PERSONALNUMMER = '5555', INAKTIV = 'J' WHERE "
                    "MITARBEITER_ID = 96;"
                    "UPDATE MITARBEITER SET PERSONALNUMMER = '1234' WHERE MITARBEITER_ID = 99;",
                kDatenbank);
    FPty = std::make_unique<TPseudoTerminal>();
    QFile::remove(FGeraet);
    QVERIFY(QFile::link(FPty->Geraet(), FGeraet));
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung, FPty.get());
    FStation->Anhalten(TUhr::Messung);
}

void TstAusweis::cleanup()
{
    FStation.reset();
    FFenster.reset();
    FDatei.reset();
    FPty.reset();
}

void TstAusweis::Starte(bool leser)
{
    TKlarEinstellungen werte = FServer.StationsWerte(kDatenbank);
    if (!leser)
        werte.Ausweisleser = u"aus"_s;
    FDatei = ZeigeStation(werte, FGeraet);
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
}

QString TstAusweis::Kurzmeldung() const
{
    const auto* titel = FKurzmeldung->findChild<QLabel*>(u"lbl0"_s);
    return FKurzmeldung->isVisible() && titel ? titel->text() : QString();
}

void TstAusweis::leser_data()
{
    QTest::addColumn<QList<int>>("abstaende"); // ms before each key, the last before Enter
    QTest::addColumn<QString>("zeichen");
    QTest::addColumn<QString>("erwartet"); // "-" for no badge
    QTest::newRow("Leser") << QList<int>{0, 5, 5, 5, 5} << u"4711"_s << u"4711"_s;
    QTest::newRow("knapp unter der Grenze")
        << QList<int>{0, 59, 59, 59, 59} << u"4711"_s << u"4711"_s;
    QTest::newRow("Tastatur") << QList<int>{0, 150, 150, 150, 150} << u"4711"_s << u"-"_s;
    QTest::newRow("Enter zu spät") << QList<int>{0, 5, 5, 5, 60} << u"4711"_s << u"-"_s;
    QTest::newRow("zu kurz") << QList<int>{0, 5, 5, 5} << u"471"_s << u"-"_s;
    // A pause starts a new burst; the keys after it are the badge.
    QTest::newRow("Pause davor") << QList<int>{0, 5, 500, 5, 5, 5, 5} << u"994711"_s << u"4711"_s;
    QTest::newRow("Leerzeichen") << QList<int>{0, 5, 5, 5, 5, 5} << u"47 11"_s << u"-"_s;
}

void TstAusweis::leser()
{
    QFETCH(QList<int>, abstaende);
    QFETCH(QString, zeichen);
    QFETCH(QString, erwartet);
    TAusweisleser leser;
    qint64 zeit = 1000;
    for (qsizetype i = 0; i < zeichen.size(); ++i) {
        zeit += abstaende.at(i);
        leser.Zeichen(zeichen.at(i), zeit);
    }
    const std::optional<QString> nummer = leser.Eingabe(zeit + abstaende.last());
    QCOMPARE(nummer.value_or(u"-"_s), erwartet);
}

void TstAusweis::ausweisOeffnetMessungAufSeiteDerPerson()
{
    Starte();
    FStation->TippeTasten(u"4711"_s, 5);
    QVERIFY(FMessung->isVisible());
    QCOMPARE(FStation->Name(), u"Zander Zoe"_s);
    // Behind it the person's board, on the page with their tile, as after a tap on it.
    QCOMPARE(FStation->Karte(), u"cardMitarbeiter"_s);
    QCOMPARE(FStation->AktiveAbteilung(), u"Lager"_s);
    QCOMPARE(FStation->Seitenanzeige(), u"Seite 2/2"_s);
    QVERIFY(FStation->KachelMit(91) != 0);
    QVERIFY(!FStation->Laeuft(TUhr::Tafel));

    // The measurement is the person's.
    QVERIFY(FStation->Sende(Pruefgeraet::Bestanden()));
    QTRY_VERIFY(FStation->Zeigt(u"imgGut"_s));
    QTRY_COMPARE(Zeilen(u"SELECT MITARBEITER_ID, MESSWERTE_OK FROM ESD_MESSWERTE_SCHUHE;"_s),
                 u"91\tJ\n"_s);
}

void TstAusweis::ausweisOhneEindeutigePerson_data()
{
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<QString>("hinweis");
    QTest::newRow("unbekannt") << u"9999"_s << u"Ausweis nicht bekannt"_s;
    QTest::newRow("zweimal vergeben") << u"0000"_s << u"Ausweis nicht eindeutig"_s;
    QTest::newRow("inaktiv") << u"5555"_s << u"Ausweis nicht bekannt"_s;
}

void TstAusweis::ausweisOhneEindeutigePerson()
{
    QFETCH(QString, nummer);
    QFETCH(QString, hinweis);
    Starte();
    FStation->TippeTasten(nummer, 5);
    QCOMPARE(Kurzmeldung(), hinweis);
    QVERIFY(!FMessung->isVisible());
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
}

void TstAusweis::langsamesTippenIstKeinAusweis()
{
    Starte();
    FStation->TippeTasten(u"4711"_s, 150);
    QVERIFY(!FMessung->isVisible());
    QCOMPARE(Kurzmeldung(), QString());
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
}

void TstAusweis::ausweisInMessungUndGastnamenGehtInsFeld()
{
    Starte();
    FStation->TippeAbteilung(1); // Montage, with the guest account
    const int gast = FStation->KachelMit(99);
    QVERIFY(gast != 0);
    FStation->TippeKachel(gast);
    QVERIFY(FMessung->isVisible());
    QVERIFY(FStation->Namensfeld()->isVisible());
    FStation->Namensfeld()->setFocus();
    QCoreApplication::processEvents();

    // The guest's name entry takes the keys as typed; nobody else's measurement starts.
    FStation->TippeTasten(u"4711"_s, 5);
    QVERIFY(FStation->Namensfeld()->text().contains(u"4711"_s));
    QCOMPARE(FStation->AktiveAbteilung(), u"Montage"_s);
    QVERIFY(FMessung->isVisible());
    QCOMPARE(Kurzmeldung(), QString());

    // Nor while a measurement screen shows without a field.
    FStation->Schliesse();
    QVERIFY(!FMessung->isVisible());
    FStation->TippeKachel(FStation->KachelMit(92));
    QCOMPARE(FStation->Name(), u"Müller Anna"_s);
    FMessung->setFocus();
    FStation->TippeTasten(u"4711"_s, 5);
    QCOMPARE(FStation->Name(), u"Müller Anna"_s);
    QCOMPARE(FStation->AktiveAbteilung(), u"Montage"_s);
}

void TstAusweis::ausgeschalteterLeser()
{
    Starte(false);
    FStation->TippeTasten(u"4711"_s, 5);
    QVERIFY(!FMessung->isVisible());
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
}

void TstAusweis::namenssucheUeberAlleAbteilungen()
{
    Starte();
    FStation->TippeAbteilung(2); // Lager, page 1
    auto* suche = FStation->AufTafel(u"btnSuche"_s);
    QVERIFY(suche->isVisible());
    TStationstreiber::Tippe(suche);
    QVERIFY(FStation->AufTafel(u"panSuche"_s)->isVisible());
    auto* feld = FStation->AufTafel<QLineEdit>(u"edtSuche"_s);
    QCOMPARE(QApplication::focusWidget(), feld);

    // Letters from the on-screen keyboard go into the field and narrow the tiles at once;
    // "mü" finds Müller and Muller alike, as the collation compares, from both departments.
    TStationstreiber::Tippe(
        FStation->AufTafel(u"TouchKeyboard2"_s)->findChild<QWidget*>(u"Taste_M"_s));
    QCOMPARE(feld->text().toLower(), u"m"_s);
    feld->insert(u"ü"_s);
    QCOMPARE(FStation->Kacheltexte(), (QStringList{"Müller Anna", "Muller Bernd"}));

    // The 25 store workers: paged in the rows above the keyboard.
    feld->setText(u"l"_s);
    QCOMPARE(FStation->Kacheltexte().size(), TFMain::kKachelnBeiSuche);
    QCOMPARE(FStation->Seitenanzeige(), u"Seite 1/2"_s);
    FStation->BlaettereVor();
    QCOMPARE(FStation->Kacheltexte().size(), 25 - TFMain::kKachelnBeiSuche);
    QCOMPARE(FStation->Seitenanzeige(), u"Seite 2/2"_s);

    // A tap measures that person; the search stays and shows the tile green afterwards.
    feld->setText(u"anna"_s); // the first name counts too
    QCOMPARE(FStation->Kacheltexte(), (QStringList{"Müller Anna"}));
    FStation->TippeKachel(1);
    QCOMPARE(FStation->Name(), u"Müller Anna"_s);
    QVERIFY(FStation->Sende(Pruefgeraet::Bestanden()));
    QTRY_VERIFY(FStation->Zeigt(u"imgGut"_s));
    FStation->Tick(TUhr::Messung);
    Fehlermeldung->hide();
    QTRY_COMPARE(Zeilen(u"SELECT MITARBEITER_ID FROM ESD_MESSWERTE_SCHUHE;"_s), u"92\n"_s);
    QVERIFY(FMain->SucheOffen());
    QCOMPARE(FStation->Kachelfarbe(1), Tafel::kGruen);

    // Closing returns to the board it was opened from.
    TStationstreiber::Tippe(FStation->AufTafel(u"btnSucheSchliessen"_s));
    QVERIFY(!FMain->SucheOffen());
    QCOMPARE(FStation->AktiveAbteilung(), u"Lager"_s);
    QCOMPARE(FStation->Seitenanzeige(), u"Seite 1/2"_s);
    QVERIFY(FStation->KachelMit(200) != 0);

    // Left alone, the search goes back to where it was opened: the board, which then counts
    // down to the welcome card as ever; opened there, the welcome card.
    TStationstreiber::Tippe(suche);
    FStation->AufTafel<QLineEdit>(u"edtSuche"_s)->setText(u"neu"_s);
    QCOMPARE(FStation->Kacheltexte(), (QStringList{"Neu Nora", "Neuer Ned"}));
    FStation->Tick(TUhr::Tafel, FStation->Wechselzeit());
    QVERIFY(!FMain->SucheOffen());
    QCOMPARE(FStation->Karte(), u"cardMitarbeiter"_s);
    QCOMPARE(FStation->AktiveAbteilung(), u"Lager"_s);
    QVERIFY(FStation->Laeuft(TUhr::Tafel));
    FStation->Tick(TUhr::Tafel, FStation->Wechselzeit());
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);

    TStationstreiber::Tippe(suche);
    FStation->AufTafel<QLineEdit>(u"edtSuche"_s)->setText(u"neu"_s);
    FStation->Tick(TUhr::Tafel, FStation->Wechselzeit());
    QVERIFY(!FMain->SucheOffen());
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
    QVERIFY(!FStation->AufTafel(u"panSuche"_s)->isVisible());
}

QTEST_MAIN(TstAusweis)
#include "tst_ausweis.moc"
