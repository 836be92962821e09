// The notification cards above the open measurement screen, on a real display under a window
// manager (tests/mit_fenstermanager.sh): what the screen shows is read back from the display.
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "Stationstreiber.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "uFKurzmeldung.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <memory>

namespace {

const QString kDatenbank = QStringLiteral("TST_STAPEL");

// Whether the display shows the card's panel colour just inside its corner (clear of its texts),
// once the window manager has stacked and painted it; a card hidden behind the measurement
// screen shows that screen there instead.
bool ObenAufDemSchirm(const QWidget* fenster, QString& gesehen)
{
    const auto* karte = fenster->findChild<QFrame*>(QStringLiteral("panKarte"));
    const QPoint ecke = karte->mapToGlobal(QPoint(4, 4));
    QTest::qWait(400);
    const QColor farbe = QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(ecke);
    const QColor soll = karte->palette().color(QPalette::Window);
    gesehen = farbe.name() + " statt " + soll.name();
    // The card may be drawn slightly see-through.
    return std::abs(farbe.red() - soll.red()) < 40 && std::abs(farbe.green() - soll.green()) < 40 &&
           std::abs(farbe.blue() - soll.blue()) < 40;
}

} // namespace

class TstStapel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void kartenUeberDerMessmaske();

private:
    TTestServer FServer;
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TMeldungsProtokoll> FProtokoll;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    std::unique_ptr<TEinstellungsDatei> FDatei;
};

void TstStapel::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() == "xcb", "runs on a real display");
    BereiteAnwendungVor();
    FServer.NeueDatenbank(kDatenbank);
    FServer.Sql(Testfirma::EinMitarbeiter(), kDatenbank);
    FPty = std::make_unique<TPseudoTerminal>();
    FProtokoll = std::make_unique<TMeldungsProtokoll>();
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung, FPty.get());
    FStation->Anhalten(TUhr::Messung);
    FDatei = ZeigeStation(FServer, kDatenbank, FPty->Geraet());
}

void TstStapel::cleanupTestCase()
{
    FStation.reset();
    FFenster.reset();
    FProtokoll.reset();
    FDatei.reset();
    FPty.reset();
}

void TstStapel::kartenUeberDerMessmaske()
{
    FStation->TippeAbteilung(1);
    FStation->TippeKachel(1);
    QVERIFY(QTest::qWaitForWindowExposed(FMessung));

    // The key released too early: the red card must be seen while the screen is still open.
    QVERIFY(FStation->Sende({"ERG -10"}, Pruefgeraet::TRahmen::CR));
    QTRY_VERIFY(Fehlermeldung->isVisible());
    QVERIFY(FMessung->isVisible());
    QString gesehen;
    QVERIFY2(ObenAufDemSchirm(Fehlermeldung, gesehen), qPrintable(gesehen));
    Fehlermeldung->Image1Click();

    // The short message stacks the same way.
    FKurzmeldung->Start(QStringLiteral("Titel"), QStringLiteral("Text"));
    QVERIFY2(ObenAufDemSchirm(FKurzmeldung, gesehen), qPrintable(gesehen));
    FStation->Tick(TUhr::Messung);
}

QTEST_MAIN(TstStapel)
#include "tst_stapel.moc"
