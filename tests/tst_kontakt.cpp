// Contact records against a real private server: search, load, save.
#include "DBVerbindung.h"
#include "KontaktSpalten.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "TestServer.h"
#include "ToolHashMD5.h"
#include "uFehler.h"
#include "uGlobal.h"
#include "uKontakt.h"
#include "ufdmDB_Key.h"
#include "ufdmKontakt.h"

#include <QDate>
#include <QGuiApplication>
#include <QTest>

#include <utility>
#include <variant>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = u"TST_KONTAKT"_s;

// The lookups every found contact needs, and the three options of the save.
const QString kGrunddaten =
    u"INSERT INTO LAENDER VALUES (1, 'Deutschland');"
    u"INSERT INTO PLZ VALUES (1, '79100', 'Freiburg', 1);"
    u"INSERT INTO VORGABEN_ANREDE VALUES (2, 'Herr');"
    u"INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');"
    u"INSERT INTO EINSTELLUNGEN_MASTER (MODUL, KEY1, WERT, KLONEN) VALUES "
    u"('DEBITOR', 'STARTNUMMER', '20000', ''), ('KREDITOR', 'STARTNUMMER', '70000', ''), "
    u"('MITARBEITER', 'STANDARDPASSWORT', 'geheim', '');"_s;

} // namespace

class TstKontakt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void spaltentabelleStimmig();
    void initLeertUndMeldetFalscheArt();
    void suchanweisungDesStationsaufrufs();
    void schluesselGanzOderAnfang();
    void schluesselNachWertWieLike();
    void nachnameSortiertInBeideRichtungen();
    void kleingeschriebenesIndexfeldIstBedingung();
    void geloeschteNurMitEigenerSuche();
    void fehlendeAnredeVerbirgtKontakt();
    void anfuehrungszeichenBleibenImSuchbegriff();
    void sanduhrVerschwindetAuchNachFehler();

    void nichtGenauEinTrefferAendertNichts();
    void ladenSagtObGeladen_data();
    void ladenSagtObGeladen();
    void flaggenNurBeiJ_data();
    void flaggenNurBeiJ();
    void lieferantUndTexte();
    void messdatumUndAnmerkungen_data();
    void messdatumUndAnmerkungen();
    void fotoGiltBisZurNaechstenSuche();

    void neuerMitarbeiterMitLeerenFeldern();
    void neuerKundeErhaeltNummern();
    void neuerLieferantMitKurzmeldung();
    void zweitesSpeichernAendertNur();
    void geloeschtVerbirgtKontakt();
    void fehlschlaegeBeimSpeichern();

private:
    void Sql(const QString& sql) const { FServer.Sql(sql, kDatenbank); }
    // The output without its last line break.
    QString Wert(const QString& sql) const { return FServer.Sql(sql, kDatenbank).chopped(1); }
    // An employee with the key id and the contact key kontakt (id when 0), found by a search
    // unless changed.
    void Mitarbeiter(int id, const QString& nachname, const QString& vorname = u"Eva"_s,
                     int kontakt = 0) const;
    void Kunde(int id, const QString& nachname) const;
    TKontakt Geladen(const QString& art, const QString& suchbegriff, const QString& indexfeld);
    QStringList Gefunden(const QString& spalte) const;

    TTestServer FServer;
    TDBVerbindung FVerbindung;
    std::unique_ptr<TfdmKontakt> FKontaktDM;
    std::unique_ptr<TfdmDB_Key> FOptionenDM;
    // The save reads its options on behalf of the empty workstation and employee.
    TUser FBenutzer;
    TMeldungsProtokoll FProtokoll;
};

void TstKontakt::initTestCase()
{
    FKontaktDM = std::make_unique<TfdmKontakt>(FVerbindung);
    FOptionenDM = std::make_unique<TfdmDB_Key>(FVerbindung);
}

void TstKontakt::init()
{
    FVerbindung.SetConnected(false);
    FServer.NeueDatenbank(kDatenbank);
    Sql(kGrunddaten);
    FServer.Verbinde(FVerbindung, kDatenbank);
    FProtokoll.Leeren();
}

void TstKontakt::Mitarbeiter(int id, const QString& nachname, const QString& vorname,
                             int kontakt) const
{
    Sql(u"INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, NACHNAME, "
        u"VORNAME, MITARBEITER) VALUES (%2, 2, 1, 1, '%3', '%4', 'J');"
        u"INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, ABTEILUNG_ID, "
        u"MA_ANG_STATUS_ID, LOGINNAME) VALUES (%1, %2, 2, 1, 'ma%1');"_s.arg(id)
            .arg(kontakt != 0 ? kontakt : id)
            .arg(nachname, vorname));
}

void TstKontakt::Kunde(int id, const QString& nachname) const
{
    Sql(u"INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, NACHNAME, "
        u"DEBITOR) VALUES (%1, 1, 1, 1, '%2', 'J');"
        u"INSERT INTO DEBITOREN (DEBITOR_ID, KONTAKTDATEN_ID) VALUES (%3, %1);"_s.arg(5000 + id)
            .arg(nachname)
            .arg(id));
}

TKontakt TstKontakt::Geladen(const QString& art, const QString& suchbegriff,
                             const QString& indexfeld)
{
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(art);
    kontakt.Suchen(suchbegriff, indexfeld, false);
    kontakt.LadeDaten();
    return kontakt;
}

QStringList TstKontakt::Gefunden(const QString& spalte) const
{
    QStringList werte;
    TDBAbfrage& qu = FKontaktDM->quKontakt;
    for (qu.First(); !qu.Eof(); qu.Next())
        werte.append(qu.FieldByName(spalte).AsString());
    return werte;
}

void TstKontakt::spaltentabelleStimmig()
{
    // A new row must fit the conversions that Init, the load and the save apply to it.
    using Art = TKontaktSpalte::Art;
    for (const TKontaktSpalte& spalte : TKontaktSpalte::Tabelle()) {
        const QByteArray spaltenname =
            spalte.spalte.isEmpty() ? QByteArray("(ohne Spalte)") : spalte.spalte.toUtf8();
        const char* name = spaltenname.constData();
        QVERIFY2(std::holds_alternative<bool TgsKontakt::*>(spalte.feld) ==
                     (spalte.art == Art::Flagge),
                 name);
        QVERIFY2(std::holds_alternative<TDBFeld TgsKontakt::*>(spalte.feld) ==
                     (spalte.art == Art::Foto),
                 name);
        QVERIFY2(!spalte.spalte.isEmpty() || (spalte.laden | spalte.schreiben) == 0, name);
        QVERIFY2(spalte.schreiben == 0 || spalte.art != Art::Foto, name);
        QVERIFY2(spalte.vorgabe.isEmpty() || spalte.art != Art::Flagge, name);
    }
}

void TstKontakt::initLeertUndMeldetFalscheArt()
{
    Mitarbeiter(7, u"Alt"_s);
    TKontakt kontakt = Geladen(u"Mitarbeiter"_s, u"7"_s, u"MITARBEITER_ID"_s);
    QCOMPARE(kontakt.Nachname(), u"Alt"_s);
    kontakt.SetKreditor_Nr(u"70001"_s);
    kontakt.SetDatum_ESD_Messung(u"05.03.2024 07:41:09"_s);
    kontakt.SetNeuerDatensatz(true);
    QVERIFY(kontakt.Datenpruefung());

    kontakt.Init(u"mitarbeiter"_s);
    QCOMPARE(FProtokoll.Texte(),
             QStringList{u"Das Objekt TKontakt wurde fehlerhaft initialisiert.\r\nErlaubte "
                         u"Übergabeparameter sind: \r\n- Debitor\r\n- Kreditor\r\n- "
                         u"Mitarbeiter"_s});
    QCOMPARE(kontakt.KontaktArt(), u"mitarbeiter"_s);
    QVERIFY(!kontakt.NeuerDatensatz());
    for (const QString& wert :
         {kontakt.Nachname(), kontakt.Kontaktdaten_ID(), kontakt.Mitarbeiter_ID(),
          kontakt.Loginname(), kontakt.Anrede(), kontakt.Ort(), kontakt.Abteilung_ID()})
        QCOMPARE(wert, QString());
    QVERIFY(!kontakt.Mitarbeiter());
    QVERIFY(!kontakt.Foto().Assigned());
    // Supplier fields and the measurement date survive.
    QCOMPARE(kontakt.Kreditor_Nr(), u"70001"_s);
    QCOMPARE(kontakt.Datum_ESD_Messung(), u"05.03.2024 07:41:09"_s);
}

void TstKontakt::suchanweisungDesStationsaufrufs()
{
    Mitarbeiter(17, u"Siebzehn"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.Suchen(u"17"_s, u"MITARBEITER_ID"_s, false);
    QCOMPARE(FKontaktDM->quKontakt.SQL().Zeilen(),
             (QStringList{
                 u"Select * From MITARBEITER INNER JOIN (KONTAKTDATEN, PLZ, LAENDER, "
                 u"VORGABEN_ANREDE, VORGABEN_TITEL, VORGABEN_ABTEILUNG,VORGABEN_MA_ANG_STATUS) "
                 u"ON MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "_s,
                 u"MITARBEITER.MITARBEITER_ID = 17 AND "_s,
                 u"KONTAKTDATEN.PLZ_ID = PLZ.PLZ_ID AND KONTAKTDATEN.ANREDE_ID = "
                 u"VORGABEN_ANREDE.ANREDE_ID AND KONTAKTDATEN.TITEL_ID = VORGABEN_TITEL.TITEL_ID "
                 u"AND MITARBEITER.ABTEILUNG_ID = VORGABEN_ABTEILUNG.ABTEILUNG_ID AND "
                 u"MITARBEITER.MA_ANG_STATUS_ID = VORGABEN_MA_ANG_STATUS.MA_ANG_STATUS_ID AND "
                 u"KONTAKTDATEN.MITARBEITER = \"J\" AND MITARBEITER.GELOESCHT <> \"J\"   AND "
                 u"PLZ.LAENDER_ID = LAENDER.LAND_ID   ORDER by "_s,
                 u"MITARBEITER_ID DESC, KONTAKTDATEN.NACHNAME DESC, KONTAKTDATEN.VORNAME DESC"_s,
             }));
    QCOMPARE(Gefunden(u"NACHNAME"_s), QStringList{u"Siebzehn"_s});
    QVERIFY(!FKontaktDM->quKontakt.ControlsDisabled());
}

void TstKontakt::schluesselGanzOderAnfang()
{
    for (int id : {5, 50, 55, 59, 500, 6, 15})
        Kunde(id, u"Kunde%1"_s.arg(id));
    Mitarbeiter(5, u"Fuenf"_s);
    Mitarbeiter(50, u"Fuenfzig"_s);
    TKontakt kunde(*FKontaktDM, *FOptionenDM, FBenutzer);
    kunde.Init(u"Debitor"_s);
    kunde.Suchen(u"5"_s, u"DEBITOR_ID"_s, true);
    QCOMPARE(Gefunden(u"DEBITOR_ID"_s), (QStringList{u"5"_s, u"50"_s, u"55"_s, u"59"_s, u"500"_s}));

    TKontakt mitarbeiter(*FKontaktDM, *FOptionenDM, FBenutzer);
    mitarbeiter.Init(u"Mitarbeiter"_s);
    mitarbeiter.Suchen(u"5"_s, u"MITARBEITER_ID"_s, false);
    QCOMPARE(Gefunden(u"MITARBEITER_ID"_s), QStringList{u"5"_s});
    mitarbeiter.Suchen(QString(), u"MITARBEITER_ID"_s, false);
    QCOMPARE(Gefunden(u"MITARBEITER_ID"_s), QStringList());
    // "_" stays a wildcard of one character.
    mitarbeiter.Suchen(u"5_"_s, u"MITARBEITER_ID"_s, false);
    QCOMPARE(Gefunden(u"MITARBEITER_ID"_s), QStringList{u"50"_s});
}

void TstKontakt::schluesselNachWertWieLike()
{
    // Employee and contact keys differ, so that a term matches other people in each field.
    const std::pair<int, int> schluessel[] = {{5, 100}, {10, 5}, {15, 150}, {50, 15}, {100, 1000}};
    for (const auto& [id, kontakt] : schluessel)
        Mitarbeiter(id, u"Nr%1"_s.arg(id), u"Eva"_s, kontakt);
    // One database for all cases: term, and whether it is compared by value.
    const std::pair<QString, bool> begriffe[] = {
        {u"5"_s, true},
        {u"100"_s, true},
        {u"7"_s, true},
        {u"0"_s, true},
        {u"99999999999999999999"_s, true},
        {u"999999999999999999999"_s, false},
        {u"05"_s, false},
        {u"1%"_s, false},
        {u"_"_s, false},
        {u"-5"_s, false},
        {u"+5"_s, false},
        {u"5 "_s, false},
        {u"\u0665"_s, false},
        {QString(), false},
    };
    for (const QString& spalte :
         {u"MITARBEITER.MITARBEITER_ID"_s, u"KONTAKTDATEN.KONTAKTDATEN_ID"_s}) {
        for (const auto& [begriff, nachWert] : begriffe) {
            const QByteArray fall = (spalte + u" mit \""_s + begriff + u'"').toUtf8();
            TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
            kontakt.Init(u"Mitarbeiter"_s);
            kontakt.Suchen(begriff, spalte.section(u'.', 1), false);
            QStringList zeilen = FKontaktDM->quKontakt.SQL().Zeilen();
            const QString like = spalte + u" Like \""_s + begriff + u"\" AND "_s;
            QVERIFY2(zeilen.value(1) ==
                         (nachWert ? spalte + u" = "_s + begriff + u" AND "_s : like),
                     fall.constData());
            const QStringList gefunden = Gefunden(u"MITARBEITER_ID"_s);

            // The statement every search sent before, run as it is.
            zeilen[1] = like;
            TDBAbfrage alt(FVerbindung, u"quAlt"_s);
            alt.SQL().SetText(zeilen.join(u"\r\n"_s));
            alt.Open();
            QStringList erwartet;
            for (alt.First(); !alt.Eof(); alt.Next())
                erwartet.append(alt.FieldByName(u"MITARBEITER_ID"_s).AsString());
            QVERIFY2(gefunden == erwartet,
                     qPrintable(u"%1: %2 statt %3"_s.arg(
                         QString::fromUtf8(fall), gefunden.join(u','), erwartet.join(u','))));
        }
    }
}

void TstKontakt::nachnameSortiertInBeideRichtungen()
{
    Mitarbeiter(1001, u"Müller"_s, u"Zoe"_s);
    Mitarbeiter(1002, u"Abel"_s);
    Mitarbeiter(1003, u"Müller"_s, u"Anna"_s);
    Mitarbeiter(1004, u"mühlig"_s);
    Mitarbeiter(1005, u"Mai"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.Suchen(QString(), u"NACHNAME"_s, true);
    QCOMPARE(Gefunden(u"MITARBEITER_ID"_s),
             (QStringList{u"1002"_s, u"1005"_s, u"1004"_s, u"1003"_s, u"1001"_s}));
    kontakt.Suchen(QString(), u"NACHNAME"_s, false);
    QCOMPARE(Gefunden(u"MITARBEITER_ID"_s),
             (QStringList{u"1001"_s, u"1003"_s, u"1004"_s, u"1005"_s, u"1002"_s}));
    QVERIFY(FKontaktDM->quKontakt.SQL().Zeilen().last().startsWith(u" KONTAKTDATEN.NACHNAME DESC"));

    // The collation decides on case: "mühlig" begins with "Mü" too.
    kontakt.Suchen(u"Mü"_s, u"NACHNAME"_s, true);
    QCOMPARE(Gefunden(u"NACHNAME"_s), (QStringList{u"mühlig"_s, u"Müller"_s, u"Müller"_s}));
}

void TstKontakt::kleingeschriebenesIndexfeldIstBedingung()
{
    Mitarbeiter(1, u"Eins"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.Suchen(QString(), u"nachname"_s, false);
    const QStringList zeilen = FKontaktDM->quKontakt.SQL().Zeilen();
    QCOMPARE(zeilen.size(), 3);
    QCOMPARE(zeilen.last(),
             u"nachname DESC, KONTAKTDATEN.NACHNAME DESC, KONTAKTDATEN.VORNAME DESC"_s);
    QCOMPARE(Gefunden(u"NACHNAME"_s), QStringList{u"Eins"_s});

    kontakt.Suchen(u"KONTAKTDATEN.VORNAME = \"Eva\" AND "_s, u"nachname"_s, false);
    QCOMPARE(FKontaktDM->quKontakt.SQL().Zeilen().at(1), u"KONTAKTDATEN.VORNAME = \"Eva\" AND "_s);
    QCOMPARE(Gefunden(u"NACHNAME"_s), QStringList{u"Eins"_s});
}

void TstKontakt::geloeschteNurMitEigenerSuche()
{
    Mitarbeiter(8, u"Weg"_s);
    Sql(u"UPDATE MITARBEITER SET GELOESCHT = 'J' WHERE MITARBEITER_ID = 8;"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.Suchen(u"8"_s, u"MITARBEITER_ID"_s, false);
    QCOMPARE(FKontaktDM->quKontakt.RecordCount(), 0);
    kontakt.SuchenInklGeloeschterDS(u"8"_s, u"MITARBEITER_ID"_s, false);
    QCOMPARE(Gefunden(u"NACHNAME"_s), QStringList{u"Weg"_s});
    QVERIFY(!kontakt.bGeloeschteDS);
    kontakt.LadeDaten();
    QVERIFY(kontakt.Geloescht());
}

void TstKontakt::fehlendeAnredeVerbirgtKontakt()
{
    Mitarbeiter(9, u"Ohne"_s);
    Sql(u"UPDATE KONTAKTDATEN SET ANREDE_ID = 99 WHERE KONTAKTDATEN_ID = 9;"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.Suchen(u"9"_s, u"MITARBEITER_ID"_s, false);
    QVERIFY(FKontaktDM->quKontakt.Active());
    QCOMPARE(FKontaktDM->quKontakt.RecordCount(), 0);
}

void TstKontakt::anfuehrungszeichenBleibenImSuchbegriff()
{
    Mitarbeiter(3, u"Drei"_s);
    Mitarbeiter(4, u"Back\\\\slash"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    // Unescaped, this term would turn the condition into one that every employee meets.
    kontakt.Suchen(u"3\" OR \"1\" = \"1"_s, u"MITARBEITER_ID"_s, false);
    QVERIFY(FKontaktDM->quKontakt.Active());
    QCOMPARE(FKontaktDM->quKontakt.RecordCount(), 0);
    QCOMPARE(FKontaktDM->quKontakt.SQL().Zeilen().at(1),
             u"MITARBEITER.MITARBEITER_ID Like \"3\\\" OR \\\"1\\\" = \\\"1\" AND "_s);

    kontakt.Suchen(u"\\"_s, u"NACHNAME"_s, true);
    QVERIFY(FKontaktDM->quKontakt.Active());
    QCOMPARE(FKontaktDM->quKontakt.RecordCount(), 0);
    kontakt.Suchen(u"Back\\"_s, u"NACHNAME"_s, true);
    QCOMPARE(Gefunden(u"NACHNAME"_s), QStringList{u"Back\\slash"_s});
    QCOMPARE(Wert(u"SELECT COUNT(*) FROM MITARBEITER"_s), u"2"_s);
}

void TstKontakt::sanduhrVerschwindetAuchNachFehler()
{
    Mitarbeiter(2, u"Zwei"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.Suchen(u"2"_s, u"MITARBEITER_ID"_s, false);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // A column of another kind's table: the server refuses the statement.
    kontakt.Suchen(u"2"_s, u"DEBITORNR"_s, false);
    QVERIFY(!FKontaktDM->quKontakt.Active());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(!FKontaktDM->quKontakt.ControlsDisabled());
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

void TstKontakt::nichtGenauEinTrefferAendertNichts()
{
    Mitarbeiter(21, u"Zwilling"_s, u"Ada"_s);
    Mitarbeiter(22, u"Zwilling"_s, u"Bea"_s);
    TKontakt kontakt = Geladen(u"Mitarbeiter"_s, u"21"_s, u"MITARBEITER_ID"_s);
    QCOMPARE(kontakt.Vorname(), u"Ada"_s);

    struct TFall
    {
        QString begriff;
        QString feld;
    };
    for (const TFall& fall : {TFall{u"Zwilling"_s, u"NACHNAME"_s},
                              TFall{u"99"_s, u"MITARBEITER_ID"_s}, TFall{u"1"_s, u"DEBITORNR"_s}}) {
        FProtokoll.Leeren();
        kontakt.Suchen(fall.begriff, fall.feld, false);
        kontakt.LadeDaten();
        QCOMPARE(FProtokoll.Texte(), QStringList{kNichtEindeutig});
        QCOMPARE(kontakt.Vorname(), u"Ada"_s);
        QCOMPARE(kontakt.Mitarbeiter_ID(), u"21"_s);
    }
}

void TstKontakt::ladenSagtObGeladen_data()
{
    QTest::addColumn<QString>("begriff");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<QString>("mitarbeiterId");
    QTest::newRow("genau einer") << u"21"_s << u"MITARBEITER_ID"_s << u"21"_s;
    QTest::newRow("zwei") << u"Zwilling"_s << u"NACHNAME"_s << QString();
    QTest::newRow("keiner") << u"99"_s << u"MITARBEITER_ID"_s << QString();
    QTest::newRow("Suche gescheitert") << u"1"_s << u"DEBITORNR"_s << QString();
}

void TstKontakt::ladenSagtObGeladen()
{
    QFETCH(QString, begriff);
    QFETCH(QString, feld);
    QFETCH(QString, mitarbeiterId);
    Mitarbeiter(21, u"Zwilling"_s, u"Ada"_s);
    Mitarbeiter(22, u"Zwilling"_s, u"Bea"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.Suchen(begriff, feld, false);
    const bool geladen = !mitarbeiterId.isEmpty();
    QCOMPARE(kontakt.LadeDaten(), geladen);
    QCOMPARE(kontakt.Mitarbeiter_ID(), mitarbeiterId);
    QCOMPARE(FProtokoll.Texte(), geladen ? QStringList() : QStringList{kNichtEindeutig});
}

void TstKontakt::flaggenNurBeiJ_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<bool>("flagge");
    QTest::addColumn<QString>("uvp");
    QTest::newRow("J") << u"J"_s << true << u"J"_s;
    QTest::newRow("j") << u"j"_s << false << u"N"_s;
    QTest::newRow("Y") << u"Y"_s << false << u"N"_s;
    QTest::newRow("N") << u"N"_s << false << u"N"_s;
    QTest::newRow("leer") << QString() << false << u"N"_s;
}

void TstKontakt::flaggenNurBeiJ()
{
    QFETCH(QString, wert);
    QFETCH(bool, flagge);
    QFETCH(QString, uvp);
    // The supplier search itself needs KREDITOR = 'J'; the other flags vary.
    Sql(u"INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, KREDITOR, "
        u"MITARBEITER, DEBITOR, WEBKONTAKT) VALUES (30, 1, 1, 1, 'J', '%1', '%1', '%1');"
        u"INSERT INTO KREDITOREN (KREDITOR_ID, KONTAKTDATEN_ID, UVP_BINDUNG) "
        u"VALUES (31, 30, '%1');"_s.arg(wert));
    const TKontakt kontakt = Geladen(u"Kreditor"_s, u"31"_s, u"KREDITOR_ID"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());
    QVERIFY(kontakt.Kreditor());
    QCOMPARE(kontakt.Mitarbeiter(), flagge);
    QCOMPARE(kontakt.Debitor(), flagge);
    QCOMPARE(kontakt.Webkontakt(), flagge);
    QCOMPARE(kontakt.UVP_Bindung(), uvp);
}

void TstKontakt::lieferantUndTexte()
{
    Sql(u"INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, FIRMA, "
        u"ABTEILUNG, GEBURTSTAG, KREDITOR) VALUES (40, 2, 1, 1, 'Lötzinn & Co', 'Einkauf', "
        u"'1000-01-01', 'J');"
        u"INSERT INTO KREDITOREN (KREDITOR_ID, KONTAKTDATEN_ID, KREDITOR_NR, KUNDEN_NR, "
        u"KREDITOR_ART_PF, USTID, SKONTO_TAGE, RABATT_PROZENT) "
        u"VALUES (41, 40, '70040', 'K-9', 'P', 'DE123', '14', '3');"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Kreditor"_s);
    kontakt.SetDebitorNr(u"vorher"_s);
    kontakt.SetLoginname(u"vorher"_s);
    kontakt.Suchen(u"41"_s, u"KREDITOR_ID"_s, false);
    kontakt.LadeDaten();
    QCOMPARE(kontakt.Firma(), u"Lötzinn & Co"_s);
    QCOMPARE(kontakt.Anrede(), u"Herr"_s);
    QCOMPARE(kontakt.PLZ(), u"79100"_s);
    QCOMPARE(kontakt.Ort(), u"Freiburg"_s);
    QCOMPARE(kontakt.Land(), u"Deutschland"_s);
    QCOMPARE(kontakt.Abteilung(), u"Einkauf"_s);
    QCOMPARE(kontakt.Geburtstag(), u"01.01.1000"_s);
    QCOMPARE(kontakt.Kontaktdaten_ID(), u"40"_s);
    QCOMPARE(kontakt.Kreditor_ID(), u"41"_s);
    QCOMPARE(kontakt.Kreditor_Nr(), u"70040"_s);
    QCOMPARE(kontakt.Kunden_Nr(), u"K-9"_s);
    QCOMPARE(kontakt.Kreditor_Art_PF(), u"P"_s);
    QCOMPARE(kontakt.MWST_Nr(), u"DE123"_s);
    QCOMPARE(kontakt.Skonto_Tage(), u"14"_s);
    QCOMPARE(kontakt.Rabatt_Prozent(), u"3"_s);
    // Neither the customer fields nor the employee fields belong to a supplier load.
    QCOMPARE(kontakt.DebitorNr(), u"vorher"_s);
    QCOMPARE(kontakt.Loginname(), u"vorher"_s);
}

void TstKontakt::messdatumUndAnmerkungen_data()
{
    QTest::addColumn<QString>("datum");
    QTest::addColumn<QString>("anmerkungen");
    QTest::addColumn<QString>("datumText");
    QTest::addColumn<QString>("anmerkungenText");
    QTest::newRow("mit Uhrzeit") << u"'2024-03-05 07:41:09'"_s << u"'Zeile 1\\r\\nZeile 2'"_s
                                 << u"05.03.2024 07:41:09"_s << u"Zeile 1\r\nZeile 2"_s;
    QTest::newRow("Mitternacht") << u"'2024-03-05 00:00:00'"_s << u"''"_s << u"05.03.2024"_s
                                 << QString();
    QTest::newRow("NULL") << u"NULL"_s << u"NULL"_s << QString() << QString();
}

void TstKontakt::messdatumUndAnmerkungen()
{
    QFETCH(QString, datum);
    QFETCH(QString, anmerkungen);
    QFETCH(QString, datumText);
    QFETCH(QString, anmerkungenText);
    Mitarbeiter(12, u"Zwoelf"_s);
    Sql(u"UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = %1, ANMERKUNGEN = %2, PERSONALNUMMER = "
        u"'P12', PASSWORT = 'ABC', GESPERRT = 'J', BENUTZERGRUPPE_ID = 4 WHERE MITARBEITER_ID = 12;"
        u"UPDATE KONTAKTDATEN SET ZIVILSTAND_ID = 3 WHERE KONTAKTDATEN_ID = 12;"_s.arg(
            datum, anmerkungen));
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.SetKreditor_Nr(u"vorher"_s);
    kontakt.SetDebitorNr(u"vorher"_s);
    kontakt.Suchen(u"12"_s, u"MITARBEITER_ID"_s, false);
    kontakt.LadeDaten();
    QCOMPARE(kontakt.Datum_ESD_Messung(), datumText);
    QCOMPARE(kontakt.Anmerkungen(), anmerkungenText);
    QCOMPARE(kontakt.Mitarbeiter_ID(), u"12"_s);
    QCOMPARE(kontakt.Loginname(), u"ma12"_s);
    QCOMPARE(kontakt.Personalnummer(), u"P12"_s);
    QCOMPARE(kontakt.Passwort(), u"ABC"_s);
    QCOMPARE(kontakt.Gesperrt(), u"J"_s);
    QCOMPARE(kontakt.Benutzergruppe_ID(), u"4"_s);
    QCOMPARE(kontakt.Abteilung_ID(), u"2"_s);
    QCOMPARE(kontakt.MA_ANG_Status_ID(), u"1"_s);
    QCOMPARE(kontakt.Zivilstand_ID(), u"3"_s);
    // KONTAKTDATEN's free-text department comes before the department list's name.
    QCOMPARE(kontakt.Abteilung(), QString());
    QCOMPARE(kontakt.Kreditor_Nr(), u"vorher"_s);
    QCOMPARE(kontakt.DebitorNr(), u"vorher"_s);
}

void TstKontakt::fotoGiltBisZurNaechstenSuche()
{
    Mitarbeiter(13, u"Foto"_s);
    Mitarbeiter(14, u"Andere"_s);
    Sql(u"UPDATE MITARBEITER SET FOTO = X'FFD8FFE0' WHERE MITARBEITER_ID = 13;"_s);
    const TKontakt a = Geladen(u"Mitarbeiter"_s, u"13"_s, u"MITARBEITER_ID"_s);
    QVERIFY(a.Foto().IsBlob());
    QCOMPARE(a.Foto().AsBytes(), QByteArray::fromHex("FFD8FFE0"));

    const TKontakt b = Geladen(u"Mitarbeiter"_s, u"14"_s, u"MITARBEITER_ID"_s);
    QCOMPARE(b.Nachname(), u"Andere"_s);
    QCOMPARE(a.Nachname(), u"Foto"_s);
    // A's photo belonged to the replaced result: reading it fails instead of showing B's.
    QVERIFY_THROWS_EXCEPTION(EFehler, a.Foto().AsBytes());
    QVERIFY(b.Foto().IsNull());
}

void TstKontakt::neuerMitarbeiterMitLeerenFeldern()
{
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.SetNeuerDatensatz(true);
    QVERIFY(kontakt.SpeichereDaten());

    const QString hash = MD5HexVonText(u"geheim"_s);
    QVERIFY(!kontakt.NeuerDatensatz());
    QVERIFY(!kontakt.Kontaktdaten_ID().isEmpty());
    QVERIFY(!kontakt.Mitarbeiter_ID().isEmpty());
    QCOMPARE(kontakt.Geburtstag(), u"01.01.1000"_s);
    QCOMPARE(kontakt.Anrede_ID(), u"1"_s);
    QCOMPARE(kontakt.Passwort(), hash);
    QCOMPARE(kontakt.Abteilung_ID(), u"1"_s);
    QVERIFY(kontakt.Mitarbeiter());

    QCOMPARE(Wert(u"SELECT ANREDE_ID, TITEL_ID, GESCHLECHT_ID, GEBURTSTAG, MITARBEITER, DEBITOR, "
                  u"KREDITOR, WEBKONTAKT, GELOESCHT, PLZ_ID, ZIVILSTAND_ID, NACHNAME "
                  u"FROM KONTAKTDATEN WHERE KONTAKTDATEN_ID = "_s +
                  kontakt.Kontaktdaten_ID()),
             u"1\t1\t1\t1000-01-01\tJ\tN\tN\tN\tN\tNULL\tNULL\t"_s);
    QCOMPARE(Wert(u"SELECT KONTAKTDATEN_ID, PERSONALNUMMER, LOGINNAME, MA_ANG_STATUS_ID, "
                  u"BENUTZERGRUPPE_ID, ABTEILUNG_ID, PASSWORT, GESPERRT, GELOESCHT "
                  u"FROM MITARBEITER WHERE MITARBEITER_ID = "_s +
                  kontakt.Mitarbeiter_ID()),
             kontakt.Kontaktdaten_ID() + u"\t\t\t1\t1\t1\t"_s + hash + u"\tN\tN"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());
    QCOMPARE(FProtokoll.Kurzmeldungen(), QStringList());
}

void TstKontakt::neuerKundeErhaeltNummern()
{
    Sql(u"ALTER TABLE DEBITOREN AUTO_INCREMENT = 57;"_s);
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Debitor"_s);
    kontakt.SetNeuerDatensatz(true);
    kontakt.SetNachname(u"Kunde"_s);
    kontakt.SetPLZ_ID(u"1"_s);
    kontakt.SetGeburtstag(u"7.3.1980"_s);
    kontakt.SetAnmerkungen(u"erste Zeile\r\nzweite Zeile"_s);
    kontakt.SetDebitorNr_RE(u"alt"_s);
    QVERIFY(kontakt.SpeichereDaten());
    QCOMPARE(kontakt.Debitor_ID(), u"57"_s);
    QCOMPARE(kontakt.DebitorNr(), u"20056"_s);
    // Empty group and shop keys are written as their defaults, the record keeps them empty.
    QCOMPARE(kontakt.Debitoren_Gruppe_ID(), QString());
    QCOMPARE(Wert(u"SELECT DEBITORNR, DEBITORNR_RE, DEBITORNR_WE, DEBITOREN_GRUPPE_ID, "
                  u"DEBITOR_SHOP_ID, DEBITOR_SEIT = CURDATE(), GELOESCHT, KONTAKTDATEN_ID "
                  u"FROM DEBITOREN"_s),
             u"20056\t20056\t20056\t0\t-1\t1\tN\t"_s + kontakt.Kontaktdaten_ID());
    QCOMPARE(Wert(u"SELECT DEBITOR, GEBURTSTAG FROM KONTAKTDATEN"_s), u"J\t1980-03-07"_s);

    // Loading it back gives what was saved, remarks with their line breaks.
    const TKontakt geladen = Geladen(u"Debitor"_s, u"57"_s, u"DEBITOR_ID"_s);
    QCOMPARE(geladen.DebitorNr_RE(), u"20056"_s);
    QCOMPARE(geladen.Debitor_Shop_ID(), u"-1"_s);
    QCOMPARE(geladen.Geburtstag(), u"07.03.1980"_s);
    QCOMPARE(geladen.Anmerkungen(), u"erste Zeile\r\nzweite Zeile"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

void TstKontakt::neuerLieferantMitKurzmeldung()
{
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Kreditor"_s);
    kontakt.SetNeuerDatensatz(true);
    kontakt.SetFirma(u"Lieferant"_s);
    kontakt.SetKunden_Nr(u"K-1"_s);
    QVERIFY(kontakt.SpeichereDaten());
    QCOMPARE(FProtokoll.Kurzmeldungen(), QStringList{u"Gespeichert!|"_s});
    QCOMPARE(FProtokoll.Texte(), QStringList());
    const QString nummer = QString::number(70000 + kontakt.Kreditor_ID().toInt() - 1);
    QCOMPARE(kontakt.Kreditor_Nr(), nummer);
    QCOMPARE(Wert(u"SELECT NAE_FREIE_ARTNR, KREDITOR_SEIT = CURDATE(), KREDITOR_NR, KUNDEN_NR, "
                  u"GELOESCHT, KONTAKTDATEN_ID FROM KREDITOREN"_s),
             u"1\t1\t"_s + nummer + u"\tK-1\tN\t"_s + kontakt.Kontaktdaten_ID());
}

void TstKontakt::zweitesSpeichernAendertNur()
{
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(u"Mitarbeiter"_s);
    kontakt.SetNeuerDatensatz(true);
    kontakt.SetNachname(u"Erst"_s);
    kontakt.SetPLZ_ID(u"1"_s);
    kontakt.SetLoginname(u"erst"_s);
    QVERIFY(kontakt.SpeichereDaten());
    kontakt.SetNachname(u"Zweit"_s);
    kontakt.SetLoginname(u"zweit"_s);
    QVERIFY(kontakt.SpeichereDaten());
    QCOMPARE(Wert(u"SELECT COUNT(*), MAX(NACHNAME) FROM KONTAKTDATEN"_s), u"1\tZweit"_s);
    QCOMPARE(Wert(u"SELECT COUNT(*), MAX(LOGINNAME) FROM MITARBEITER"_s), u"1\tzweit"_s);

    // Found by its new key, with the values of the second save.
    const TKontakt geladen =
        Geladen(u"Mitarbeiter"_s, kontakt.Mitarbeiter_ID(), u"MITARBEITER_ID"_s);
    QCOMPARE(geladen.Nachname(), u"Zweit"_s);
    QCOMPARE(geladen.Ort(), u"Freiburg"_s);
}

void TstKontakt::geloeschtVerbirgtKontakt()
{
    Mitarbeiter(60, u"Bleibt"_s);
    TKontakt kontakt = Geladen(u"Mitarbeiter"_s, u"60"_s, u"MITARBEITER_ID"_s);
    kontakt.SetGeloescht(true);
    QVERIFY(kontakt.SpeichereDaten());
    QCOMPARE(Wert(u"SELECT M.GELOESCHT, K.GELOESCHT FROM MITARBEITER M JOIN KONTAKTDATEN K "
                  u"USING (KONTAKTDATEN_ID)"_s),
             u"J\tN"_s);
    kontakt.Suchen(u"60"_s, u"MITARBEITER_ID"_s, false);
    QCOMPARE(FKontaktDM->quKontakt.RecordCount(), 0);
}

void TstKontakt::fehlschlaegeBeimSpeichern()
{
    // A birthday that is no date: nothing but the insert of the new contact happened.
    TKontakt kunde(*FKontaktDM, *FOptionenDM, FBenutzer);
    kunde.Init(u"Debitor"_s);
    kunde.SetNeuerDatensatz(true);
    kunde.SetGeburtstag(u"31.02.2000"_s);
    QVERIFY(!kunde.SpeichereDaten());
    QVERIFY(kunde.NeuerDatensatz());
    QCOMPARE(Wert(u"SELECT COUNT(*) FROM KONTAKTDATEN"_s), u"1"_s);
    QCOMPARE(Wert(u"SELECT COUNT(*) FROM DEBITOREN"_s), u"0"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());

    // A start number that is no number fails the customer step and with it the save, silently;
    // the rows written so far stay.
    Sql(u"UPDATE EINSTELLUNGEN_MASTER SET WERT = 'ab 20000' WHERE MODUL = 'DEBITOR';"_s);
    kunde.SetGeburtstag(QString());
    QVERIFY(!kunde.SpeichereDaten());
    QCOMPARE(Wert(u"SELECT COUNT(*), MAX(DEBITORNR) FROM DEBITOREN"_s), u"1\tNULL"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());

    // A supplier without a start number: the store reports the option, the step its failure;
    // the save of the common part still counts.
    Sql(u"DELETE FROM EINSTELLUNGEN_MASTER WHERE MODUL = 'KREDITOR';"_s);
    TKontakt lieferant(*FKontaktDM, *FOptionenDM, FBenutzer);
    lieferant.Init(u"Kreditor"_s);
    lieferant.SetNeuerDatensatz(true);
    QVERIFY(lieferant.SpeichereDaten());
    QCOMPARE(FProtokoll.Texte().size(), 2);
    QVERIFY(FProtokoll.Texte().first().contains(u"Modul: KREDITOR"_s));
    QCOMPARE(FProtokoll.Texte().last(), u"NICHT gespeichert"_s);
    QCOMPARE(FProtokoll.Kurzmeldungen(), QStringList());
    QVERIFY(lieferant.NeuerDatensatz());

    // A contact key that is no number never reaches a statement unquoted.
    FProtokoll.Leeren();
    Mitarbeiter(70, u"Ziel"_s);
    TKontakt fremd(*FKontaktDM, *FOptionenDM, FBenutzer);
    fremd.Init(u"Mitarbeiter"_s);
    fremd.SetNeuerDatensatz(true);
    fremd.SetKontaktdaten_ID(u"70, LOGINNAME = 'boese'"_s);
    QVERIFY(!fremd.SpeichereDaten_Mitarbeiter());
    QCOMPARE(Wert(u"SELECT COUNT(*), MAX(LOGINNAME) FROM MITARBEITER"_s), u"1\tma70"_s);
    QCOMPARE(FProtokoll.Texte(), QStringList());
}

QTEST_MAIN(TstKontakt)
#include "tst_kontakt.moc"
