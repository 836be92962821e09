// The keyed option store against the private server: fallback, cloning, messages, statements.
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "MeldungsProtokoll.h"
#include "TestServer.h"
#include "uDB_Key.h"
#include "uGlobal.h"
#include "ufdmDB_Key.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = u"TST_DBKEY"_s;
const QString kEinstellungen = u"EINSTELLUNGEN"_s;
const QString kMaster = u"EINSTELLUNGEN_MASTER"_s;

const QString kMehrfach = u"Achtung! Der Optionswert existiert mehrfach!"_s;

QString MasterFehlt(const QString& tabelle, const QString& modul, const QString& key)
{
    return u"Achtung!\r\n"
           u"Folgender Key existiert nicht oder aber mehrfach in der Master-Tabelle:\r\n"
           u"\r\n"
           u"Tabelle: "_s +
           tabelle + u"\r\nModul: "_s + modul + u"\r\nKey:      "_s + key +
           u"\r\n\r\nBitte verständigen Sie einen Administrator!"_s;
}

} // namespace

class TstDBKey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void klontBeimErstenLesenEinmal_data();
    void klontBeimErstenLesenEinmal();
    void ohneJaKeinKlon_data();
    void ohneJaKeinKlon();
    void fehlendeOptionMeldet_data();
    void fehlendeOptionMeldet();
    void doppelteMasterzeile();
    void doppelteEigeneZeileFragtMasterNicht();
    void suchtGrossgeschrieben();
    void tabellenname();
    void updateKey_data();
    void updateKey();
    void schreibenSpeichertWieUebergeben();
    void fremdeZeichenBleibenWoertlich_data();
    void fremdeZeichenBleibenWoertlich();
    void unsichtbarerKlonEndetBeimMaster();
    void fehlerGehenAnDenAufrufer();

private:
    void Master(const QString& modul, const QString& key, const QString& wert,
                const QString& klonen, const QString& tabelle = kMaster);
    void Eigene(const QString& modul, const QString& key, const QString& wert,
                const QString& pcName = QString(), const QString& mitarbeiter = QString(),
                const QString& tabelle = kEinstellungen);
    // Every row but its key column, fields joined by "|", in order of insertion.
    QStringList Zeilen(const QString& tabelle);
    // The insert on the table lands where the workstation's look-up cannot see it.
    void Umleiten(const QString& tabelle);

    // A store over this test's module, on behalf of FBenutzer.
    TDB_Key Optionen() { return TDB_Key(*FDaten, FBenutzer); }

    TTestServer FServer;
    TDBVerbindung FVerbindung;
    std::unique_ptr<TfdmDB_Key> FDaten;
    TUser FBenutzer;
    TDBAbfrage qu{FVerbindung, u"quTest"_s};
    TMeldungsProtokoll FProtokoll;
};

void TstDBKey::initTestCase()
{
    FServer.NeueDatenbank(kDatenbank);
    FServer.Sql(u"CREATE TABLE OPTIONEN LIKE EINSTELLUNGEN;"
                u"CREATE TABLE OPTIONEN_MASTER LIKE EINSTELLUNGEN_MASTER;"
                u"CREATE TABLE OHNE_MASTER LIKE EINSTELLUNGEN;"_s,
                kDatenbank);
    FServer.Verbinde(FVerbindung, kDatenbank);
    FDaten = std::make_unique<TfdmDB_Key>(FVerbindung);
}

void TstDBKey::cleanupTestCase()
{
    FDaten.reset();
}

void TstDBKey::init()
{
    FServer.Sql(u"TRUNCATE EINSTELLUNGEN; TRUNCATE EINSTELLUNGEN_MASTER; TRUNCATE OPTIONEN;"
                u"TRUNCATE OPTIONEN_MASTER; TRUNCATE OHNE_MASTER;"
                u"DROP TRIGGER IF EXISTS UMLEITEN_EINSTELLUNGEN;"
                u"DROP TRIGGER IF EXISTS UMLEITEN_OHNE_MASTER;"_s,
                kDatenbank);
    FProtokoll.Leeren();
}

void TstDBKey::cleanup()
{
    FBenutzer = TUser();
}

void TstDBKey::Master(const QString& modul, const QString& key, const QString& wert,
                      const QString& klonen, const QString& tabelle)
{
    qu.SQL().SetText(u"Insert Into "_s + tabelle +
                     u" Set MODUL = :Modul, KEY1 = :Key1, WERT = :Wert, "
                     u"BESCHREIBUNG = :Beschreibung, KLONEN = :Klonen"_s);
    qu.ParamByName(u"Modul"_s).SetAsString(modul);
    qu.ParamByName(u"Key1"_s).SetAsString(key);
    qu.ParamByName(u"Wert"_s).SetAsString(wert);
    qu.ParamByName(u"Beschreibung"_s).SetAsString(u"Vorgabe"_s);
    qu.ParamByName(u"Klonen"_s).SetAsString(klonen);
    qu.ExecSQL();
}

void TstDBKey::Eigene(const QString& modul, const QString& key, const QString& wert,
                      const QString& pcName, const QString& mitarbeiter, const QString& tabelle)
{
    qu.SQL().SetText(u"Insert Into "_s + tabelle +
                     u" Set MODUL = :Modul, PC_NAME = :Pc, MITARBEITER_ID = :Mitarbeiter, "
                     u"KEY1 = :Key1, WERT = :Wert"_s);
    qu.ParamByName(u"Modul"_s).SetAsString(modul);
    qu.ParamByName(u"Pc"_s).SetAsString(pcName);
    qu.ParamByName(u"Mitarbeiter"_s).SetAsString(mitarbeiter);
    qu.ParamByName(u"Key1"_s).SetAsString(key);
    qu.ParamByName(u"Wert"_s).SetAsString(wert);
    qu.ExecSQL();
}

QStringList TstDBKey::Zeilen(const QString& tabelle)
{
    qu.SQL().SetText(u"Select * From "_s + tabelle + u" Order By 1"_s);
    qu.Open();
    QStringList zeilen;
    for (; !qu.Eof(); qu.Next()) {
        QStringList felder;
        for (int i = 1; i < qu.FieldCount(); ++i)
            felder.append(qu.Fields(i).AsString());
        zeilen.append(felder.join(u'|'));
    }
    return zeilen;
}

void TstDBKey::Umleiten(const QString& tabelle)
{
    FServer.Sql(u"CREATE TRIGGER UMLEITEN_"_s + tabelle + u" BEFORE INSERT ON "_s + tabelle +
                    u" FOR EACH ROW SET NEW.PC_NAME = 'anderswo';"_s,
                kDatenbank);
}

void TstDBKey::klontBeimErstenLesenEinmal_data()
{
    QTest::addColumn<QString>("pcName");
    QTest::addColumn<QString>("mitarbeiter");

    QTest::newRow("Station ohne Anmeldung") << QString() << QString();
    QTest::newRow("benannter Arbeitsplatz") << u"PC-7"_s << u"0815"_s;
}

void TstDBKey::klontBeimErstenLesenEinmal()
{
    QFETCH(QString, pcName);
    QFETCH(QString, mitarbeiter);
    FBenutzer = {pcName, mitarbeiter};
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"10000"_s, u"Ja"_s);
    // Rows of other workstations and of the other one of PC and employee stay out of reach.
    Eigene(u"DEBITOR"_s, u"STARTNUMMER"_s, u"fremd"_s, u"PC-9"_s, mitarbeiter);
    Eigene(u"DEBITOR"_s, u"STARTNUMMER"_s, u"fremd"_s, pcName, u"4711"_s);
    const QStringList vorher = Zeilen(kEinstellungen);

    TDB_Key key = Optionen();
    QCOMPARE(key.LeseKey(u"Debitor"_s, u"Startnummer"_s), u"10000"_s);
    const QString klon =
        u"DEBITOR|"_s + pcName + u'|' + mitarbeiter + u"|STARTNUMMER|10000|Vorgabe"_s;
    QCOMPARE(Zeilen(kEinstellungen), vorher + QStringList{klon});
    QCOMPARE(FDaten->quDB_Key.FieldByName(u"PC_NAME"_s).AsString(), pcName);

    // From now on the workstation's own row answers, even when the default changes.
    FServer.Sql(u"UPDATE EINSTELLUNGEN_MASTER SET WERT = '20000';"_s, kDatenbank);
    QCOMPARE(key.LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), u"10000"_s);
    QCOMPARE(Zeilen(kEinstellungen), vorher + QStringList{klon});
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

void TstDBKey::ohneJaKeinKlon_data()
{
    QTest::addColumn<QString>("klonen");

    QTest::newRow("ja") << u"ja"_s;
    QTest::newRow("JA") << u"JA"_s;
    QTest::newRow("Ja mit Leerzeichen") << u"Ja "_s;
    QTest::newRow("Nein") << u"Nein"_s;
    QTest::newRow("leer") << QString();
}

void TstDBKey::ohneJaKeinKlon()
{
    QFETCH(QString, klonen);
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"10000"_s, klonen);

    TDB_Key key = Optionen();
    QCOMPARE(key.LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), u"10000"_s);
    QCOMPARE(key.LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), u"10000"_s);
    QCOMPARE(Zeilen(kEinstellungen), QStringList());
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

void TstDBKey::fehlendeOptionMeldet_data()
{
    QTest::addColumn<QString>("modul");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("meldung");

    QTest::newRow("klein geschrieben")
        << u"Debitor"_s << u"Startnummer"_s
        << u"Achtung!\r\n"
           u"Folgender Key existiert nicht oder aber mehrfach in der Master-Tabelle:\r\n"
           u"\r\n"
           u"Tabelle: EINSTELLUNGEN\r\n"
           u"Modul: DEBITOR\r\n"
           u"Key:      STARTNUMMER\r\n"
           u"\r\n"
           u"Bitte verständigen Sie einen Administrator!"_s;
    QTest::newRow("Standardpasswort verdeckt")
        << u"Anmeldung"_s << u"StandardPasswort"_s
        << MasterFehlt(kEinstellungen, u"ANMELDUNG"_s, u"StandardPassXXX"_s);
    QTest::newRow("Standardpasswort klein verdeckt")
        << u"anmeldung"_s << u"standardpasswort"_s
        << MasterFehlt(kEinstellungen, u"ANMELDUNG"_s, u"StandardPassXXX"_s);
    QTest::newRow("nur ähnlicher Key offen")
        << u"anmeldung"_s << u"Standardpasswort2"_s
        << MasterFehlt(kEinstellungen, u"ANMELDUNG"_s, u"STANDARDPASSWORT2"_s);
    QTest::newRow("Umlaute bleiben klein")
        << u"prüfung"_s << u"größe"_s << MasterFehlt(kEinstellungen, u"PRüFUNG"_s, u"GRößE"_s);
}

void TstDBKey::fehlendeOptionMeldet()
{
    QFETCH(QString, modul);
    QFETCH(QString, key);
    QFETCH(QString, meldung);
    // The same key in another module is not the option asked for.
    Master(u"ANDERES"_s, key, u"fremd"_s, u"Ja"_s);

    QCOMPARE(Optionen().LeseKey(modul, key), QString());
    QCOMPARE(FProtokoll.Texte(), QStringList{meldung});
    QCOMPARE(Zeilen(kEinstellungen), QStringList());
}

void TstDBKey::doppelteMasterzeile()
{
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"10000"_s, u"Ja"_s);
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"20000"_s, u"Ja"_s);

    QCOMPARE(Optionen().LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), QString());
    QCOMPARE(FProtokoll.Texte(),
             (QStringList{MasterFehlt(kEinstellungen, u"DEBITOR"_s, u"STARTNUMMER"_s), kMehrfach}));
    QCOMPARE(Zeilen(kEinstellungen), QStringList());
}

void TstDBKey::doppelteEigeneZeileFragtMasterNicht()
{
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"10000"_s, u"Ja"_s);
    Eigene(u"DEBITOR"_s, u"STARTNUMMER"_s, u"1"_s);
    Eigene(u"DEBITOR"_s, u"STARTNUMMER"_s, u"2"_s);
    const QStringList vorher = Zeilen(kEinstellungen);

    QCOMPARE(Optionen().LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), QString());
    QCOMPARE(FProtokoll.Texte(), QStringList{kMehrfach});
    QCOMPARE(Zeilen(kEinstellungen), vorher);
    QVERIFY(FDaten->quDB_Key.SQL().Text().startsWith(u"Select * from EINSTELLUNGEN where "_s));
}

void TstDBKey::suchtGrossgeschrieben()
{
    // The server compares without regard to case; only the statements show the upper-casing.
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"10000"_s, u"Nein"_s);
    TDB_Key key = Optionen();
    QCOMPARE(key.LeseKey(u"Debitor"_s, u"Startnummer"_s), u"10000"_s);
    QCOMPARE(FDaten->quDB_Key.SQL().Text(),
             u"Select * from EINSTELLUNGEN_MASTER where MODUL = \"DEBITOR\" and "
             u"KEY1  = \"STARTNUMMER\"\r\n"_s);

    Eigene(u"DEBITOR"_s, u"STARTNUMMER"_s, u"eigener"_s);
    QCOMPARE(key.LeseKey(u"Debitor"_s, u"Startnummer"_s), u"eigener"_s);
    QCOMPARE(FDaten->quDB_Key.SQL().Text(),
             u"Select * from EINSTELLUNGEN where PC_NAME = \"\" and MITARBEITER_ID = \"\" and "
             u"MODUL = \"DEBITOR\" and KEY1  = \"STARTNUMMER\"\r\n"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

void TstDBKey::tabellenname()
{
    Eigene(u"DEBITOR"_s, u"STARTNUMMER"_s, u"aus EINSTELLUNGEN"_s);
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"aus OPTIONEN"_s, u"Ja"_s, u"OPTIONEN_MASTER"_s);

    TDB_Key key = Optionen();
    key.SetTabellenname(u"optionen"_s);
    QCOMPARE(key.LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), u"aus OPTIONEN"_s);
    QCOMPARE(Zeilen(u"OPTIONEN"_s), QStringList{u"DEBITOR|||STARTNUMMER|aus OPTIONEN|Vorgabe"_s});
    QCOMPARE(key.LeseKey(u"DEBITOR"_s, u"FEHLT"_s), QString());
    QCOMPARE(FProtokoll.Texte(), QStringList{MasterFehlt(u"OPTIONEN"_s, u"DEBITOR"_s, u"FEHLT"_s)});

    // The server's table names are case-sensitive: lower case works only when upper-cased.
    key.SetTabellenname(u"einstellungen"_s);
    QCOMPARE(key.LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), u"aus EINSTELLUNGEN"_s);
    key.SetTabellenname(u"OPTIONEN"_s);
    key.Init();
    QCOMPARE(key.LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), u"aus EINSTELLUNGEN"_s);
    QCOMPARE(Zeilen(kMaster), QStringList());
}

void TstDBKey::updateKey_data()
{
    QTest::addColumn<int>("eigeneZeilen");
    QTest::addColumn<QString>("klonen");
    QTest::addColumn<QString>("master");
    QTest::addColumn<QStringList>("eigene");
    QTest::addColumn<QStringList>("meldungen");

    const QString fremd = u"DEBITOR|PC-9||STARTNUMMER|fremd|"_s;
    QTest::newRow("ohne eigene Zeile")
        << 0 << u"Nein"_s << u"DEBITOR|STARTNUMMER|neu|Vorgabe|Nein"_s << QStringList{fremd}
        << QStringList();
    QTest::newRow("ohne eigene Zeile, Klonen")
        << 0 << u"Ja"_s << u"DEBITOR|STARTNUMMER|neu|Vorgabe|Ja"_s
        << QStringList{fremd, u"DEBITOR|||STARTNUMMER|neu|Vorgabe"_s} << QStringList();
    QTest::newRow("eine eigene Zeile")
        << 1 << u"Ja"_s << u"DEBITOR|STARTNUMMER|alt|Vorgabe|Ja"_s
        << QStringList{fremd, u"DEBITOR|||STARTNUMMER|neu|"_s} << QStringList();
    QTest::newRow("zwei eigene Zeilen")
        << 2 << u"Ja"_s << u"DEBITOR|STARTNUMMER|neu|Vorgabe|Ja"_s
        << QStringList{fremd, u"DEBITOR|||STARTNUMMER|eigen|"_s, u"DEBITOR|||STARTNUMMER|eigen|"_s}
        << QStringList{u"Achtung!\r\n"
                       u"Folgender Key existiert mehrfach in der Master-Tabelle:\r\n"
                       u"\r\n"
                       u"Modul: Debitor\r\n"
                       u"Key:      Startnummer\r\n"
                       u"\r\n"
                       u"Bitte verständigen Sie einen Administrator!"_s,
                       kMehrfach};
}

void TstDBKey::updateKey()
{
    QFETCH(int, eigeneZeilen);
    QFETCH(QString, klonen);
    QFETCH(QString, master);
    QFETCH(QStringList, eigene);
    QFETCH(QStringList, meldungen);
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"alt"_s, klonen);
    Eigene(u"DEBITOR"_s, u"STARTNUMMER"_s, u"fremd"_s, u"PC-9"_s);
    for (int i = 0; i < eigeneZeilen; ++i)
        Eigene(u"DEBITOR"_s, u"STARTNUMMER"_s, u"eigen"_s);

    Optionen().UpdateKey(u"Debitor"_s, u"Startnummer"_s, u"neu"_s);
    QCOMPARE(Zeilen(kMaster), QStringList{master});
    QCOMPARE(Zeilen(kEinstellungen), eigene);
    QCOMPARE(FProtokoll.Texte(), meldungen);
}

void TstDBKey::schreibenSpeichertWieUebergeben()
{
    TDB_Key key = Optionen();
    key.SchreibeMasterKey(u"Debitor"_s, u"Startnummer"_s, u"10000"_s, u"Erste Nummer"_s, u"Ja"_s);
    key.SchreibeMasterKey(u"Kasse"_s, u"Drucker"_s, u"LPT1"_s, u"Bondrucker"_s, u"Nein"_s);
    QCOMPARE(Zeilen(kMaster), (QStringList{u"Debitor|Startnummer|10000|Erste Nummer|Ja"_s,
                                           u"Kasse|Drucker|LPT1|Bondrucker|Nein"_s}));
    // The clone comes from the read, which upper-cases; the write keeps what it was given.
    QCOMPARE(Zeilen(kEinstellungen), QStringList{u"DEBITOR|||STARTNUMMER|10000|Erste Nummer"_s});

    key.SchreibeKey(u"Kasse"_s, u"Schublade"_s, u"COM2"_s, u"Geldlade"_s);
    QCOMPARE(Zeilen(kEinstellungen), (QStringList{u"DEBITOR|||STARTNUMMER|10000|Erste Nummer"_s,
                                                  u"Kasse|||Schublade|COM2|Geldlade"_s}));
    QCOMPARE(key.LeseKey(u"KASSE"_s, u"SCHUBLADE"_s), u"COM2"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

void TstDBKey::fremdeZeichenBleibenWoertlich_data()
{
    QTest::addColumn<QString>("modul");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("modulGross");
    QTest::addColumn<QString>("keyGross");

    QTest::newRow("Anführungszeichen, Backslash, Apostroph")
        << u"Mo\"d\\ul'"_s << u"K\"e\\y'"_s << u"MO\"D\\UL'"_s << u"K\"E\\Y'"_s;
    QTest::newRow("erweiterte Bedingung") << u"x\" or \"1\"=\"1"_s << u"y\" or \"1\"=\"1"_s
                                          << u"X\" OR \"1\"=\"1"_s << u"Y\" OR \"1\"=\"1"_s;
    QTest::newRow("Backslash am Ende") << u"Modul\\"_s << u"Key\\"_s << u"MODUL\\"_s << u"KEY\\"_s;
}

void TstDBKey::fremdeZeichenBleibenWoertlich()
{
    QFETCH(QString, modul);
    QFETCH(QString, key);
    QFETCH(QString, modulGross);
    QFETCH(QString, keyGross);
    // A look-up that lets the text widen its condition meets these rows.
    Master(u"ANDERES"_s, u"ANDERS"_s, u"fremd"_s, u"Nein"_s);
    Eigene(u"ANDERES"_s, u"ANDERS"_s, u"fremd"_s);

    TDB_Key dbKey = Optionen();
    dbKey.SchreibeMasterKey(modul, key, u"wörtlich"_s, u"Test"_s, u"Ja"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());
    QCOMPARE(Zeilen(kMaster), (QStringList{u"ANDERES|ANDERS|fremd|Vorgabe|Nein"_s,
                                           modul + u'|' + key + u"|wörtlich|Test|Ja"_s}));
    const QStringList eigene{u"ANDERES|||ANDERS|fremd|"_s,
                             modulGross + u"|||"_s + keyGross + u"|wörtlich|Test"_s};
    QCOMPARE(Zeilen(kEinstellungen), eigene);

    QCOMPARE(dbKey.LeseKey(modul, key), u"wörtlich"_s);
    dbKey.UpdateKey(modul, key, u"geändert"_s);
    QCOMPARE(dbKey.LeseKey(modul, key), u"geändert"_s);
    QCOMPARE(Zeilen(kEinstellungen).constFirst(), eigene.constFirst());
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

void TstDBKey::unsichtbarerKlonEndetBeimMaster()
{
    Umleiten(kEinstellungen);
    Master(u"DEBITOR"_s, u"STARTNUMMER"_s, u"10000"_s, u"Ja"_s);

    QCOMPARE(Optionen().LeseKey(u"DEBITOR"_s, u"STARTNUMMER"_s), u"10000"_s);
    QCOMPARE(Zeilen(kEinstellungen), QStringList{u"DEBITOR|anderswo||STARTNUMMER|10000|Vorgabe"_s});
    QCOMPARE(Zeilen(kMaster), QStringList{u"DEBITOR|STARTNUMMER|10000|Vorgabe|Ja"_s});
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

void TstDBKey::fehlerGehenAnDenAufrufer()
{
    // OHNE_MASTER has no master table: the closing read of the write fails at its master step.
    Umleiten(u"OHNE_MASTER"_s);
    TDB_Key key = Optionen();
    key.SetTabellenname(u"OHNE_MASTER"_s);
    try {
        key.SchreibeKey(u"DEBITOR"_s, u"STARTNUMMER"_s, u"10000"_s, u"Test"_s);
        QFAIL("missing master table not reported");
    } catch (const EDatenbankfehler& fehler) {
        QCOMPARE(fehler.Nummer(), 1146u); // ER_NO_SUCH_TABLE
    }
    QCOMPARE(Zeilen(u"OHNE_MASTER"_s), QStringList{u"DEBITOR|anderswo||STARTNUMMER|10000|Test"_s});
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

QTEST_GUILESS_MAIN(TstDBKey)
#include "tst_dbkey.moc"
