// Exactly once, end to end: the station's link cut by a relay right before or right after its
// COMMIT reached the server, and a database without receipts. Every result ends as one row with
// one receipt, or as the overlay, never as two rows or a false report.
#include "Bilder.h"
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Relais.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "Stationstreiber.h"
#include "Tafel.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"

#include <QTest>

#include <memory>

namespace {

const QString kDatenbank = QStringLiteral("TST_GENAU_EINMAL");
const QString kOhneQuittungen =
    QStringLiteral("Die Datenbank ist nicht auf dem Stand dieser Station");

} // namespace

using namespace Qt::Literals::StringLiterals;

class TstGenauEinmal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void nachDemCommitAbgerissen();
    void vorDemCommitAbgerissen();
    void ohneQuittungstabelle();

private:
    void Starte();
    QString Wert(const QString& sql) const { return FServer.Sql(sql, kDatenbank).trimmed(); }
    // A pass of employee 91 through the station, up to the result on the screen.
    void Bestanden() const;
    // "NAME|ID|OK" per row.
    QStringList Zeilen() const;
    void EinmalGespeichert() const;

    TTestServer FServer;
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TRelais> FRelais;
    std::unique_ptr<TMeldungsProtokoll> FProtokoll;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    std::unique_ptr<TEinstellungsDatei> FDatei;
};

void TstGenauEinmal::initTestCase()
{
    BereiteAnwendungVor();
}

void TstGenauEinmal::init()
{
    FServer.NeueDatenbank(kDatenbank);
    FServer.Sql(Testfirma::EinMitarbeiter(), kDatenbank);
    FPty = std::make_unique<TPseudoTerminal>();
    FRelais = std::make_unique<TRelais>(FServer.Port());
    FProtokoll = std::make_unique<TMeldungsProtokoll>();
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung, FPty.get());
    FStation->Anhalten(TUhr::Messung);
}

void TstGenauEinmal::cleanup()
{
    FStation.reset();
    FFenster.reset();
    FProtokoll.reset();
    FDatei.reset();
    FRelais.reset();
    FPty.reset();
}

void TstGenauEinmal::Starte()
{
    // The station reaches its server only through the relay.
    TKlarEinstellungen werte = FServer.StationsWerte(kDatenbank);
    werte.Port = FRelais->Port();
    FDatei = ZeigeStation(werte, FPty->Geraet());
    FStation->TippeAbteilung(1);
    QCOMPARE(FStation->Foto(1)->Tag, 91);
}

void TstGenauEinmal::Bestanden() const
{
    FStation->TippeKachel(1);
    QVERIFY(FMessung->isVisible());
    QCoreApplication::processEvents();
    QVERIFY(FStation->PortOffen());
    QVERIFY(FStation->Sende(Pruefgeraet::Bestanden(), Pruefgeraet::TRahmen::CR));
    QTRY_VERIFY(FStation->Zeigt(u"imgGut"_s));
}

QStringList TstGenauEinmal::Zeilen() const
{
    return Testfirma::Zeilen(FServer.Sql(
        "SELECT NAME, MITARBEITER_ID, MESSWERTE_OK FROM ESD_MESSWERTE_SCHUHE ORDER BY MESSUNG_ID",
        kDatenbank));
}

void TstGenauEinmal::EinmalGespeichert() const
{
    // One row, its one receipt and the stamp, under the result's identity and time; the screen
    // reports it stored.
    const TBuchungswerte& werte = FMessung->Zyklus.LetzteWerte();
    const QString zeit = werte.Zeitstempel.toString("yyyy-MM-dd hh:mm:ss");
    QCOMPARE(Zeilen(), QStringList{"ma91|91|J"});
    QCOMPARE(Testfirma::Zeilen(FServer.Sql("SELECT q.KENNUNG, q.ZEITSTEMPEL FROM "
                                           "ESD_MESSUNG_QUITTUNG q JOIN ESD_MESSWERTE_SCHUHE w "
                                           "USING (MESSUNG_ID)",
                                           kDatenbank)),
             QStringList{werte.Kennung + "|" + zeit});
    QCOMPARE(Wert("SELECT COUNT(*) FROM ESD_MESSUNG_QUITTUNG"), QString("1"));
    QCOMPARE(Wert("SELECT DATUM_ESD_MESSUNG FROM MITARBEITER WHERE MITARBEITER_ID = 91"), zeit);
    QVERIFY(FMessung->Zyklus.LetztesErgebnis().Gespeichert);
    QVERIFY(!Fehlermeldung->isVisible());
}

void TstGenauEinmal::nachDemCommitAbgerissen()
{
    Starte();
    // The server commits; its answer never reaches the station.
    FRelais->Schneiden(TRelais::TSchnitt::NachCommit);
    Bestanden();
    QCOMPARE(FRelais->Schnitte(), 1);

    // The receipt says stored: no second attempt.
    EinmalGespeichert();
    QCOMPARE(FRelais->Anweisungen().filter("INSERT INTO ESD_MESSWERTE_SCHUHE").size(), 1);

    // The end of the cycle shows the tile green.
    FStation->Tick(TUhr::Messung);
    QCOMPARE(FStation->Kachelfarbe(1), Tafel::kGruen);
}

void TstGenauEinmal::vorDemCommitAbgerissen()
{
    Starte();
    // The COMMIT never reaches the server, which rolls the transaction back.
    FRelais->Schneiden(TRelais::TSchnitt::VorCommit);
    Bestanden();
    QCOMPARE(FRelais->Schnitte(), 1);

    // Stored by the station's own retry, with the first attempt's identity and time.
    const TBuchungswerte& werte = FMessung->Zyklus.LetzteWerte();
    const QString zeit = werte.Zeitstempel.toString("yyyy-MM-dd hh:mm:ss");
    QStringList versuche;
    for (const QString& anweisung : FRelais->Anweisungen()) {
        if (anweisung.startsWith("INSERT INTO ESD_MESSUNG_QUITTUNG"))
            versuche << anweisung;
    }
    QCOMPARE(versuche.size(), 2);
    for (const QString& versuch : versuche) {
        QVERIFY2(versuch.contains("KENNUNG = '" + werte.Kennung + "'"), qPrintable(versuch));
        QVERIFY2(versuch.contains("ZEITSTEMPEL = '" + zeit + "'"), qPrintable(versuch));
    }
    EinmalGespeichert();
}

void TstGenauEinmal::ohneQuittungstabelle()
{
    // A site that has not upgraded its database yet.
    FServer.Sql("DROP TABLE ESD_MESSUNG_QUITTUNG", kDatenbank);
    Starte();
    const auto hinweise = [this] {
        int anzahl = 0;
        for (const QString& text : FProtokoll->Texte())
            anzahl += text.startsWith(kOhneQuittungen) ? 1 : 0;
        return anzahl;
    };
    QCOMPARE(hinweise(), 1);

    Bestanden();
    FStation->Tick(TUhr::Messung);
    Bestanden();
    QCOMPARE(Zeilen(), (QStringList{"ma91|91|J", "ma91|91|J"}));
    QVERIFY(!Fehlermeldung->isVisible());
    QCOMPARE(hinweise(), 1);
}

QTEST_MAIN(TstGenauEinmal)
#include "tst_genau_einmal.moc"
