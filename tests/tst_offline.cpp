// The entrance while the database is away, end to end on a server of the test's own: the board
// and the measurement screen from the station's copy, every result kept in the journal and
// forwarded once the server is back, exactly once and in the order of measuring.
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "Journal.h"
#include "Kopieauffrischung.h"
#include "MeldungsProtokoll.h"
#include "Messzyklus.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "Stationstreiber.h"
#include "Tafel.h"
#include "Tafelkopie.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Testfirma::Mitarbeiter;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = QStringLiteral("TST_OFFLINE");
const QString kZeitformat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
// The forwarder's longest pause, with room for a slow machine.
constexpr int kRueckkehrMs = 20000;

} // namespace

class TstOffline : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ganzeSchichtOhneServer();
    void ohneKopieWieBisher();
    void journalNichtBenutzbar();

private:
    void Starte();
    QString Wert(const QString& sql) const { return FServer.Sql(sql, kDatenbank).trimmed(); }
    void TippeKachel(int id) const;
    // Ends the cycle as the countdown would; the board reloads behind it.
    void ZyklusBeenden() const;
    QString Titelhinweis() const;

    TTestServer FServer;
    QTemporaryDir FVerzeichnis;
    QString FGeraet;
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TEinstellungsDatei> FDatei;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    std::unique_ptr<TMeldungsProtokoll> FProtokoll;
};

void TstOffline::initTestCase()
{
    BereiteAnwendungVor();
    FGeraet = FVerzeichnis.filePath(QStringLiteral("pruefgeraet"));
}

void TstOffline::init()
{
    FServer.Starten();
    FServer.NeueDatenbank(kDatenbank);
    const QString foto =
        "0x" + QString::fromLatin1(Testfirma::Jpeg({300, 400}, QColor(200, 160, 120)).toHex());
    FServer.Sql(Testfirma::kGrunddaten +
                    "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES "
                    "(2, 'Montage'), (3, 'Lager');" +
                    Mitarbeiter(91, "Messbar", "Max", "CURDATE() - INTERVAL 2 DAY", foto) +
                    Mitarbeiter(92, "Nachbar", "Nina", "CURDATE() - INTERVAL 2 DAY") +
                    Mitarbeiter(99, "Gast", "Besucher", "NULL", "NULL", 2, "Gast1") +
                    Mitarbeiter(93, "Lagerist", "Lars", "NULL", "NULL", 3),
                kDatenbank);
    FPty = std::make_unique<TPseudoTerminal>();
    QFile::remove(FGeraet);
    QVERIFY(QFile::link(FPty->Geraet(), FGeraet));
    FProtokoll = std::make_unique<TMeldungsProtokoll>();
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung, FPty.get());
    FStation->Anhalten(TUhr::Messung);
}

void TstOffline::cleanup()
{
    FStation.reset();
    FFenster.reset();
    FProtokoll.reset();
    FDatei.reset();
    FPty.reset();
    FServer.Starten();
}

void TstOffline::Starte()
{
    FDatei = ZeigeStation(FServer, kDatenbank, FGeraet);
    QVERIFY(FFenster->Journal() != nullptr);
}

void TstOffline::TippeKachel(int id) const
{
    const int nr = FStation->KachelMit(id);
    if (nr == 0)
        QFAIL(qPrintable(QStringLiteral("no tile for employee %1").arg(id)));
    FStation->TippeKachel(nr);
    QVERIFY(FMessung->isVisible());
    QCoreApplication::processEvents();
}

void TstOffline::ZyklusBeenden() const
{
    FStation->Tick(TUhr::Messung);
    Fehlermeldung->hide();
}

QString TstOffline::Titelhinweis() const
{
    const auto* hinweis = FStation->AufTafel<QLabel>(u"lblOffline"_s);
    return hinweis->isVisible() ? hinweis->text() : QString();
}

void TstOffline::ganzeSchichtOhneServer()
{
    Starte();
    // The board is shown once while the server answers; the copy follows in the background.
    QSignalSpy aufgefrischt(FFenster->Auffrischung(), &TKopieauffrischung::Aufgefrischt);
    FStation->TippeAbteilung(1);
    QTRY_VERIFY(FFenster->Kopie()->Abteilung(FMain->Mandant(), u"Montage"_s).size() == 3);
    QVERIFY(!FFenster->Kopie()->Person(u"91"_s)->Foto.isEmpty());
    QCOMPARE(Titelhinweis(), QString());
    for (const QList<QVariant>& runde : std::as_const(aufgefrischt))
        QCOMPARE(runde.at(1).toString(), QString());

    FServer.Stoppen();
    // The board from the copy, with the note in the title bar.
    FStation->TippeAbteilung(1);
    QCOMPARE(FStation->Kacheltexte(),
             (QStringList{"Gast Besucher", "Messbar Max", "Nachbar Nina"}));
    QCOMPARE(Titelhinweis(), u"Offline – Messungen werden in der Station gespeichert"_s);
    QCOMPARE(FStation->Kachelfarbe(FStation->KachelMit(91)), Tafel::kRot);

    // A pass: shown at once, with the note that it waits.
    TippeKachel(91);
    QCOMPARE(FStation->Name(), QString("Messbar Max"));
    QVERIFY(FStation->PortOffen());
    QVERIFY(FStation->Sende(Pruefgeraet::Bestanden()));
    QTRY_VERIFY(FStation->Zeigt(u"imgGut"_s));
    QTRY_VERIFY(FStation->Zeigt(u"lblUebertragung"_s));
    QCOMPARE(FStation->InMessung<QLabel>(u"lblUebertragung"_s)->text(),
             TMesszyklus::kWirdUebertragen);
    QVERIFY(!Fehlermeldung->isVisible());
    ZyklusBeenden();
    // The tile turns green from the pass in the journal.
    QCOMPARE(FStation->Kachelfarbe(FStation->KachelMit(91)), Tafel::kGruen);

    // A fail, a later fail of the one who passed, and a guest who types a name.
    TippeKachel(92);
    QVERIFY(FStation->Sende(Pruefgeraet::Durchgefallen(40)));
    QTRY_VERIFY(FStation->Zeigt(u"imgSchlecht"_s));
    ZyklusBeenden();
    TippeKachel(91);
    QVERIFY(FStation->Sende(Pruefgeraet::Durchgefallen(8)));
    QTRY_VERIFY(FStation->Zeigt(u"imgSchlecht"_s));
    ZyklusBeenden();
    TippeKachel(99);
    QVERIFY(FStation->Namensfeld()->isVisible());
    for (const char* taste : {"Umschalt", "Z", "O", "E"})
        FStation->TippeTaste(taste);
    FStation->TippeTaste("Enter");
    QVERIFY(FStation->PortOffen());
    QVERIFY(FStation->Sende(Pruefgeraet::Bestanden()));
    QTRY_VERIFY(FStation->Zeigt(u"imgGut"_s));
    ZyklusBeenden();
    QCOMPARE(FStation->Kachelfarbe(FStation->KachelMit(99)), Tafel::kGruen);
    QCOMPARE(FStation->Kachelfarbe(FStation->KachelMit(92)), Tafel::kRot);
    QTRY_COMPARE(Titelhinweis(), u"Offline – 4 Messungen warten auf Übertragung"_s);
    // Nothing reached a message box: an entrance without its server is no fault to report.
    QCOMPARE(FProtokoll->Texte(), QStringList());

    const QList<TJournalEintrag> schicht = FFenster->Journal()->Wartende(100);
    QCOMPARE(schicht.size(), 4);

    // The server is back: the forwarder's next try sends every result once, in order.
    FServer.Starten();
    QTRY_COMPARE_WITH_TIMEOUT(Wert("SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE"), QString("4"),
                              kRueckkehrMs);
    QStringList erwartet;
    for (const TJournalEintrag& eintrag : schicht)
        erwartet << eintrag.Kennung + "|" + eintrag.Zeitstempel.toString(kZeitformat) + "|" +
                        eintrag.Mitarbeiter_ID + "|" + eintrag.Name + "|" +
                        (eintrag.Messwerte_OK ? "J" : "N");
    QCOMPARE(Testfirma::Zeilen(FServer.Sql(
                 "SELECT q.KENNUNG, w.ZEITSTEMPEL, w.MITARBEITER_ID, w.NAME, w.MESSWERTE_OK "
                 "FROM ESD_MESSWERTE_SCHUHE w JOIN ESD_MESSUNG_QUITTUNG q USING (MESSUNG_ID) "
                 "ORDER BY w.MESSUNG_ID",
                 kDatenbank)),
             erwartet);
    QCOMPARE(erwartet[3].section('|', 3, 3), QString("Zoe"));
    // Each stamp at the person's newest pass; the one who only failed keeps the old one.
    QCOMPARE(Wert("SELECT DATUM_ESD_MESSUNG FROM MITARBEITER WHERE MITARBEITER_ID = 91"),
             schicht[0].Zeitstempel.toString(kZeitformat));
    QCOMPARE(Wert("SELECT DATUM_ESD_MESSUNG FROM MITARBEITER WHERE MITARBEITER_ID = 99"),
             schicht[3].Zeitstempel.toString(kZeitformat));
    QCOMPARE(Wert("SELECT DATEDIFF(CURDATE(), DATUM_ESD_MESSUNG) FROM MITARBEITER WHERE "
                  "MITARBEITER_ID = 92"),
             QString("2"));
    // The title bar empties once the journal is through and the board is back on the server.
    QTRY_COMPARE_WITH_TIMEOUT(Titelhinweis(), QString(), kRueckkehrMs);
    QCOMPARE(FFenster->Journal()->AnzahlWartend(), 0);
}

void TstOffline::ohneKopieWieBisher()
{
    // A department never shown while the server answered has no copy: its board stays empty
    // and nothing is measured by mistake for someone else.
    Starte();
    FStation->TippeAbteilung(1);
    QTRY_VERIFY(FFenster->Kopie()->Abteilung(FMain->Mandant(), u"Montage"_s).size() == 3);
    FServer.Stoppen();
    FStation->TippeAbteilung(2);
    QCOMPARE(FStation->AktiveAbteilung(), QString("Lager"));
    QCOMPARE(FStation->Kacheltexte(), QStringList());
    QVERIFY(!Titelhinweis().isEmpty());
}

void TstOffline::journalNichtBenutzbar()
{
    // The state directory cannot be written: the station says so and records online as before.
    const QString gesperrt = FVerzeichnis.filePath(u"gesperrt"_s);
    QVERIFY(QDir().mkpath(gesperrt));
    QFile::setPermissions(gesperrt, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(gesperrt + u"/x"_s).isWritable() ||
        QFile(gesperrt + u"/x"_s).open(QIODevice::WriteOnly))
        QSKIP("running with rights that ignore file modes");
    const QByteArray vorher = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", (gesperrt + u"/unter"_s).toLocal8Bit());
    FDatei = ZeigeStation(FServer, kDatenbank, FGeraet);
    qputenv("XDG_STATE_HOME", vorher);
    QCOMPARE(FFenster->Journal(), nullptr);
    QCOMPARE(FProtokoll->Texte().size(), 1);
    QVERIFY2(FProtokoll->Texte()[0].startsWith(u"Das Messjournal der Station kann nicht benutzt "
                                               "werden"_s),
             qPrintable(FProtokoll->Texte()[0]));
    FStation->TippeAbteilung(1);
    TippeKachel(91);
    QVERIFY(FStation->Sende(Pruefgeraet::Bestanden()));
    QTRY_COMPARE(Wert("SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE"), QString("1"));
    QVERIFY(!FStation->Zeigt(u"lblUebertragung"_s));
}

QTEST_MAIN(TstOffline)
#include "tst_offline.moc"
