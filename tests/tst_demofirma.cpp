// The demo company: generated without a database, then written into a private server and read
// back through the station's own statements.
#include "Anlegen.h"
#include "Aufruf.h"
#include "Auswertung.h"
#include "Avatar.h"
#include "Buchung.h"
#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "Demofirma.h"
#include "KontaktSuche.h"
#include "Messzyklus.h"
#include "Pruefgeraet.h"
#include "Tafel.h"
#include "TestServer.h"
#include "uFehler.h"

#include <QBuffer>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <map>

using namespace Demofirma;

namespace {

const QString kDatenbank = "DEMO";
// Station rows written by the test itself carry this key, which no generated person has.
constexpr int kStationsZeilen = 9999;

QString Jn(bool wert)
{
    return wert ? "J" : "N";
}

QString Werte(const TMesswerte& w)
{
    return QStringList{w.Schuh_L, w.Schuh_R, w.Armband, w.Fehlercode, Jn(w.Ok)}.join('|');
}

// Everything that does not move with the clock.
QStringList Personen(const TFirma& firma)
{
    QStringList zeilen;
    for (const TAbteilung& a : firma.Abteilungen)
        zeilen << QString("%1|%2|%3|%4").arg(a.Id).arg(a.Name, Jn(a.Inaktiv), Jn(a.Geloescht));
    for (const TPerson& p : firma.Personen) {
        zeilen << QStringList{QString::number(p.Mitarbeiter_ID),
                              QString::number(p.Abteilung_ID),
                              p.Anrede,
                              p.Titel,
                              p.Status,
                              p.Vorname,
                              p.Nachname,
                              p.Personalnummer,
                              p.Loginname,
                              p.Strasse,
                              p.Plz,
                              p.Ort,
                              p.Telefon,
                              p.Email,
                              p.Geburtstag.toString(Qt::ISODate),
                              Jn(p.Gast) + Jn(p.EsdMessung) + Jn(p.Inaktiv) + Jn(p.Geloescht),
                              QString::number(p.Merkmal)}
                      .join('|');
    }
    return zeilen;
}

QStringList Beschreibung(const TFirma& firma)
{
    QStringList zeilen = Personen(firma);
    for (const TPerson& p : firma.Personen) {
        zeilen << QString::number(p.Mitarbeiter_ID) + " " + p.Anmerkungen + " " +
                      p.DatumEsdMessung.toString(Qt::ISODate);
        for (const TMessung& m : p.Messungen)
            zeilen << "  " + m.Zeitstempel.toString(Qt::ISODate) + "|" + m.Name + "|" +
                          Werte(m.Werte);
    }
    return zeilen;
}

// The board's departments: members of the station's board, hidden or gone.
bool AufDerTafel(const TFirma& firma, const TPerson& p)
{
    const auto& a = *std::find_if(firma.Abteilungen.begin(), firma.Abteilungen.end(),
                                  [&p](const TAbteilung& x) { return x.Id == p.Abteilung_ID; });
    return p.EsdMessung && !p.Gast && !a.Inaktiv && !a.Geloescht;
}

// Mean difference per colour channel of two pictures of one size.
double Abstand(const QImage& a, const QImage& b)
{
    double summe = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            summe += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q));
        }
    }
    return summe / (3.0 * a.width() * a.height());
}

} // namespace

class TstDemofirma : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void gleicheSaatGleicheFirma();
    void zeiten_data();
    void zeiten();
    void portraets();

    void tafeln_data();
    void tafeln();
    void kontaktsucheFindetJeden();
    void messdatumIstNeuesteBestandeneMessung();
    void zeilenWieVonDerStation();
    void fotosUnveraendert();

    void nurInLeereDatenbank_data();
    void nurInLeereDatenbank();
    void aufruf();

private:
    QString Wert(const QString& sql, const QString& datenbank = kDatenbank) const
    {
        return FServer.Sql(sql, datenbank).trimmed();
    }
    // Keys of the employees the measurement screen's search finds (any term, any key).
    QSet<int> Gefunden(TDBVerbindung& verbindung) const;
    QString Pruefsummen(const QString& datenbank) const;

    TTestServer FServer;
    TDBVerbindung FVerbindung;
    QDateTime FJetzt;
    TFirma FFirma;
};

void TstDemofirma::initTestCase()
{
    FServer.NeueDatenbank(kDatenbank);
    FServer.Verbinde(FVerbindung, kDatenbank);
    FJetzt = QDateTime::currentDateTime();
    FFirma = Erzeuge(kStandardSaat, FJetzt);
    Anlegen(FVerbindung, FFirma);
    QVERIFY(!FVerbindung.InTransaction());
}

void TstDemofirma::cleanupTestCase()
{
    FVerbindung.SetConnected(false);
}

QSet<int> TstDemofirma::Gefunden(TDBVerbindung& verbindung) const
{
    TDBAbfrage qu(verbindung, "quSuche");
    qu.SQL().Add(KontaktSuche::Tabellen("Mitarbeiter"));
    qu.SQL().Add(KontaktSuche::Filter("Mitarbeiter", false));
    qu.SQL().Add(KontaktSuche::Sortierung("NACHNAME", true));
    qu.Open();
    QSet<int> ids;
    for (; !qu.Eof(); qu.Next())
        ids.insert(qu.FieldByName("MITARBEITER_ID").AsInteger());
    return ids;
}

QString TstDemofirma::Pruefsummen(const QString& datenbank) const
{
    return FServer.Sql("CHECKSUM TABLE MITARBEITER, KONTAKTDATEN, ESD_MESSWERTE_SCHUHE, "
                       "VORGABEN_ABTEILUNG, VORGABEN_ANREDE, VORGABEN_TITEL, "
                       "VORGABEN_MA_ANG_STATUS, PLZ, LAENDER",
                       datenbank);
}

void TstDemofirma::gleicheSaatGleicheFirma()
{
    const QDateTime jetzt(QDate(2025, 3, 12), QTime(14, 5, 30));
    const TFirma firma = Erzeuge(kStandardSaat, jetzt);
    QCOMPARE(Beschreibung(Erzeuge(kStandardSaat, jetzt)), Beschreibung(firma));
    // People and portraits stay when the clock moves on; another seed is another company.
    QCOMPARE(Personen(Erzeuge(kStandardSaat, jetzt.addDays(3))), Personen(firma));
    QVERIFY(Personen(Erzeuge(kStandardSaat + 1, jetzt)) != Personen(firma));

    const QRegularExpression kAsciiLogin("^[a-z]+[0-9]*$");
    QSet<QString> namen, logins;
    QSet<quint32> merkmale;
    bool umlaute = false;
    for (const TPerson& p : firma.Personen) {
        const QString name = p.Vorname + " " + p.Nachname;
        QVERIFY2(!namen.contains(name), qPrintable(name));
        QVERIFY2(!logins.contains(p.Loginname.toLower()), qPrintable(p.Loginname));
        namen.insert(name);
        logins.insert(p.Loginname.toLower());
        // The station treats exactly the logins beginning with "Gast" as guests.
        QCOMPARE(p.Loginname.startsWith("Gast"), p.Gast);
        if (!p.Gast) {
            QVERIFY2(kAsciiLogin.match(p.Loginname).hasMatch(), qPrintable(p.Loginname));
            QVERIFY(p.Foto);
            QVERIFY(!merkmale.contains(p.Merkmal));
            merkmale.insert(p.Merkmal);
        }
        umlaute = umlaute || name.contains(QRegularExpression("[äöüÄÖÜß]"));
    }
    QVERIFY(umlaute);
}

void TstDemofirma::zeiten_data()
{
    QTest::addColumn<QDateTime>("jetzt");
    QTest::newRow("Mittwochnachmittag") << QDateTime(QDate(2025, 3, 12), QTime(14, 5, 30));
    QTest::newRow("Montag kurz nach Mitternacht") << QDateTime(QDate(2025, 3, 10), QTime(0, 0, 30));
    QTest::newRow("vor der Frühschicht") << QDateTime(QDate(2025, 3, 11), QTime(5, 59, 59, 900));
    QTest::newRow("Sonntag") << QDateTime(QDate(2025, 3, 16), QTime(10, 0));
    QTest::newRow("Jahreswechsel") << QDateTime(QDate(2026, 1, 1), QTime(7, 30));
}

void TstDemofirma::zeiten()
{
    QFETCH(QDateTime, jetzt);
    const TFirma firma = Erzeuge(kStandardSaat, jetzt);
    const QDate heute = jetzt.date();
    const QDateTime mitternacht(heute, QTime(0, 0));
    const QDateTime spaetestens = std::max(mitternacht, jetzt.addSecs(-60));
    QDate aeltester = heute;
    for (int tage = 0; tage < kArbeitstage;) {
        aeltester = aeltester.addDays(-1);
        tage += aeltester.dayOfWeek() <= 5 ? 1 : 0;
    }

    int tafel = 0, heuteGemessen = 0, nie = 0, fehler = 0;
    for (const TPerson& p : firma.Personen) {
        const QString wer = p.Loginname;
        QDateTime vorige;
        QDateTime letzteBestandene;
        for (size_t i = 0; i < p.Messungen.size(); ++i) {
            const TMessung& m = p.Messungen[i];
            QVERIFY2(m.Zeitstempel > vorige, qPrintable(wer));
            QVERIFY2(m.Zeitstempel <= spaetestens, qPrintable(wer));
            QCOMPARE(m.Zeitstempel.time().msec(), 0);
            const QDate tag = m.Zeitstempel.date();
            QVERIFY2(tag == heute || (tag.dayOfWeek() <= 5 && tag >= aeltester), qPrintable(wer));
            QVERIFY2(!p.Gast || tag < heute, qPrintable(wer));
            QCOMPARE(m.Name == p.Loginname, !p.Gast);
            QCOMPARE(m.Werte.Ok, m.Werte.Fehlercode.isEmpty());
            if (m.Werte.Ok) {
                letzteBestandene = m.Zeitstempel;
            } else {
                // A failed attempt is followed by a pass minutes later.
                ++fehler;
                QVERIFY2(i + 1 < p.Messungen.size() && p.Messungen[i + 1].Werte.Ok,
                         qPrintable(wer));
                QVERIFY2(m.Zeitstempel.secsTo(p.Messungen[i + 1].Zeitstempel) <= 600,
                         qPrintable(wer));
            }
            vorige = m.Zeitstempel;
        }
        QCOMPARE(p.DatumEsdMessung, letzteBestandene);
        if (!p.EsdMessung)
            QVERIFY(p.Messungen.empty());
        if (!AufDerTafel(firma, p))
            continue;
        ++tafel;
        if (!p.DatumEsdMessung.isValid())
            ++nie;
        else if (p.DatumEsdMessung.date() == heute)
            ++heuteGemessen;
        else
            QVERIFY2(p.DatumEsdMessung.date().daysTo(heute) <= 20, qPrintable(wer));
    }
    QVERIFY2(heuteGemessen * 10 >= tafel * 3 && heuteGemessen * 10 <= tafel * 5,
             qPrintable(QString("%1 von %2 heute gemessen").arg(heuteGemessen).arg(tafel)));
    QVERIFY(nie > 0);
    QVERIFY(fehler > 0);
}

void TstDemofirma::portraets()
{
    const QSize klein(48, 60);
    std::vector<QImage> bilder;
    for (const TPerson& p : FFirma.Personen) {
        if (p.Foto)
            bilder.push_back(Avatar::Zeichne(p.Merkmal, klein));
    }
    // Every two people tell apart on a small tile.
    double kleinster = 1e9;
    for (size_t i = 0; i < bilder.size(); ++i) {
        for (size_t j = i + 1; j < bilder.size(); ++j)
            kleinster = std::min(kleinster, Abstand(bilder[i], bilder[j]));
    }
    QVERIFY2(kleinster > 3, qPrintable(QString::number(kleinster)));

    for (const quint32 merkmal : {FFirma.Personen.front().Merkmal, 0u, 0xffffffffu}) {
        QByteArray jpeg = Avatar::Jpeg(merkmal);
        QCOMPARE(Avatar::Jpeg(merkmal), jpeg);
        QBuffer puffer(&jpeg);
        QImageReader leser(&puffer);
        QCOMPARE(leser.format(), QByteArray("jpeg"));
        QCOMPARE(leser.size(), QSize(480, 600));
        const QImage bild = leser.read();
        // Decoded, the photo is the drawing up to JPEG's losses.
        QVERIFY(Abstand(bild.convertToFormat(QImage::Format_RGB32), Avatar::Zeichne(merkmal)) < 3);
    }
}

void TstDemofirma::tafeln_data()
{
    QTest::addColumn<QString>("mandant");
    QTest::addColumn<QStringList>("tafeln");
    const QStringList sichtbar{"Fertigung SMD:32",    "Montage:14",           "Prüffeld:9",
                               "Lager und Versand:8", "Qualitätssicherung:7", "Besucher:4"};
    QTest::newRow("Mandant filtert inaktive") << QString("Muster GmbH") << sichtbar;
    QTest::newRow("Mandant filtert gelöschte")
        << QString("Quellmark AG") << sichtbar + QStringList{"Instandhaltung:3"};
}

void TstDemofirma::tafeln()
{
    QFETCH(QString, mandant);
    QFETCH(QStringList, tafeln);
    TDBAbfrage abteilungen(FVerbindung, "quAbteilungen");
    abteilungen.SQL().Add(Tafel::AbteilungenSql(mandant));
    abteilungen.Open();
    QStringList gesehen;
    for (; !abteilungen.Eof(); abteilungen.Next()) {
        const QString name = abteilungen.FieldByName("ABTEILUNG").AsString();
        TDBAbfrage tafel(FVerbindung, "quTafel");
        tafel.SQL().Add(Tafel::MitarbeiterSql(mandant));
        tafel.ParamByName("Abteilung").SetAsString(name);
        tafel.Open();
        gesehen << name + ":" + QString::number(tafel.RecordCount());
        for (; !tafel.Eof(); tafel.Next()) {
            const bool gast = tafel.FieldByName("LOGINNAME").AsString().startsWith("Gast");
            QCOMPARE(gast, name == "Besucher");
        }
    }
    QCOMPARE(gesehen, tafeln);
}

void TstDemofirma::kontaktsucheFindetJeden()
{
    // The measurement screen loads a tapped person through this search; the inner joins with
    // every lookup hide anyone whose keys point nowhere.
    QSet<int> erwartet;
    for (const TPerson& p : FFirma.Personen) {
        if (!p.Geloescht)
            erwartet.insert(p.Mitarbeiter_ID);
    }
    QCOMPARE(Gefunden(FVerbindung), erwartet);

    std::map<int, QString> erwarteteAnreden;
    for (const TPerson& p : FFirma.Personen)
        erwarteteAnreden[p.Mitarbeiter_ID] = p.Anrede + "|" + p.Titel + "|" + p.Status;
    TDBAbfrage qu(FVerbindung, "quAnreden");
    qu.SQL().Add("SELECT MITARBEITER_ID, ANREDE, TITEL, MA_ANG_STATUS FROM MITARBEITER "
                 "JOIN KONTAKTDATEN USING (KONTAKTDATEN_ID) JOIN VORGABEN_ANREDE USING "
                 "(ANREDE_ID) JOIN VORGABEN_TITEL USING (TITEL_ID) JOIN VORGABEN_MA_ANG_STATUS "
                 "USING (MA_ANG_STATUS_ID)");
    qu.Open();
    std::map<int, QString> anreden;
    for (; !qu.Eof(); qu.Next()) {
        anreden[qu.FieldByName("MITARBEITER_ID").AsInteger()] =
            qu.FieldByName("ANREDE").AsString() + "|" + qu.FieldByName("TITEL").AsString() + "|" +
            qu.FieldByName("MA_ANG_STATUS").AsString();
    }
    QVERIFY(anreden == erwarteteAnreden);
}

void TstDemofirma::messdatumIstNeuesteBestandeneMessung()
{
    QCOMPARE(Wert("SELECT COUNT(*) FROM MITARBEITER m WHERE NOT (m.DATUM_ESD_MESSUNG <=> "
                  "(SELECT MAX(w.ZEITSTEMPEL) FROM ESD_MESSWERTE_SCHUHE w WHERE "
                  "w.MITARBEITER_ID = m.MITARBEITER_ID AND w.MESSWERTE_OK = 'J'))"),
             QString("0"));
    QVERIFY(Wert("SELECT COUNT(*) FROM MITARBEITER WHERE DATUM_ESD_MESSUNG IS NULL").toInt() > 0);
    QCOMPARE(Wert("SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE").toInt(), FFirma.Messungszahl());

    TDBAbfrage qu(FVerbindung, "quNeueste");
    qu.SQL().Add("SELECT MAX(ZEITSTEMPEL) AS NEUESTE FROM ESD_MESSWERTE_SCHUHE");
    qu.Open();
    const QDateTime neueste = qu.FieldByName("NEUESTE").AsVariant().toDateTime();
    QVERIFY(neueste.isValid());
    QVERIFY2(neueste <= QDateTime::currentDateTime(), qPrintable(neueste.toString(Qt::ISODate)));

    // The board shows green whoever passed today.
    TDBAbfrage tafel(FVerbindung, "quTafel");
    tafel.SQL().Add(Tafel::MitarbeiterSql(QString()));
    tafel.ParamByName("Abteilung").SetAsString("Fertigung SMD");
    tafel.Open();
    int gruen = 0;
    for (; !tafel.Eof(); tafel.Next())
        gruen +=
            Tafel::AmTagGemessen(tafel.FieldByName("DATUM_ESD_MESSUNG").AsString(), FJetzt.date());
    QVERIFY(gruen > 0 && gruen < tafel.RecordCount());
}

void TstDemofirma::zeilenWieVonDerStation()
{
    // Every kind of generated row, compared with the row the station itself records for the
    // same tester lines.
    QSet<QString> generiert;
    QSet<QString> codes;
    TDBAbfrage qu(FVerbindung, "quZeilen");
    qu.SQL().Add("SELECT DISTINCT MESSWERT_SCHUH_L, MESSWERT_SCHUH_R, MESSWERT_ARMBAND, "
                 "FEHLERCODE, MESSWERTE_OK FROM ESD_MESSWERTE_SCHUHE");
    qu.Open();
    for (; !qu.Eof(); qu.Next()) {
        QStringList werte;
        for (int i = 0; i < qu.FieldCount(); ++i)
            werte << qu.Fields(i).AsString();
        generiert.insert(werte.join('|'));
        if (!werte[3].isEmpty())
            codes.insert(werte[3].trimmed());
    }
    QVERIFY(!codes.isEmpty());

    QList<QList<QByteArray>> szenarien{Pruefgeraet::Bestanden(),
                                       Pruefgeraet::Ueberlauf(Pruefgeraet::TTeil::SchuhLinks),
                                       Pruefgeraet::Ueberlauf(Pruefgeraet::TTeil::SchuhRechts),
                                       Pruefgeraet::Ueberlauf(Pruefgeraet::TTeil::Armband)};
    for (const QString& code : codes)
        szenarien << Pruefgeraet::Durchgefallen(code.toInt());
    // The station's own cycle, from the tester's bytes to the stored row.
    TDBAbfrage quBuchen(FVerbindung, "quBuchen");
    TBuchung buchung(quBuchen);
    TOhneAnzeige anzeige;
    TMesszyklus zyklus(
        anzeige, [&buchung](const TBuchungswerte& werte) { return buchung.Speichern(werte); });
    zyklus.SetzePerson(QString::number(kStationsZeilen), [] { return QString("station"); });
    for (const QList<QByteArray>& zeilen : szenarien) {
        zyklus.Auswertung.WerteZuruecksetzen();
        zyklus.Empfangen(Pruefgeraet::Gerahmt(zeilen, Pruefgeraet::TRahmen::CR));
        QVERIFY(zyklus.LetztesErgebnis().Gespeichert);
    }
    qu.SQL().Clear();
    qu.SQL().Add("SELECT CONCAT_WS('|', MESSWERT_SCHUH_L, MESSWERT_SCHUH_R, MESSWERT_ARMBAND, "
                 "FEHLERCODE, MESSWERTE_OK) AS ZEILE FROM ESD_MESSWERTE_SCHUHE WHERE "
                 "MITARBEITER_ID = :Id");
    qu.ParamByName("Id").SetAsString(QString::number(kStationsZeilen));
    qu.Open();
    QSet<QString> station;
    for (; !qu.Eof(); qu.Next())
        station.insert(qu.FieldByName("ZEILE").AsString());
    FServer.Sql("DELETE FROM ESD_MESSWERTE_SCHUHE WHERE MITARBEITER_ID = " +
                    QString::number(kStationsZeilen) +
                    "; DELETE FROM ESD_MESSUNG_QUITTUNG WHERE MITARBEITER_ID = " +
                    QString::number(kStationsZeilen),
                kDatenbank);

    QVERIFY2(station.contains(generiert), qPrintable((generiert - station).values().join(", ")));
}

void TstDemofirma::fotosUnveraendert()
{
    TDBAbfrage qu(FVerbindung, "quFotos");
    qu.SQL().Add("SELECT MITARBEITER_ID, FOTO FROM MITARBEITER");
    qu.Open();
    std::map<int, QByteArray> fotos;
    for (; !qu.Eof(); qu.Next()) {
        const TDBFeld foto = qu.FieldByName("FOTO");
        fotos[qu.FieldByName("MITARBEITER_ID").AsInteger()] =
            foto.IsNull() ? QByteArray("NULL") : foto.AsBytes();
    }
    QCOMPARE(fotos.size(), FFirma.Personen.size());
    for (const TPerson& p : FFirma.Personen) {
        const QByteArray erwartet = p.Foto ? Avatar::Jpeg(p.Merkmal) : QByteArray("NULL");
        QVERIFY2(fotos[p.Mitarbeiter_ID] == erwartet, qPrintable(p.Loginname));
    }
}

void TstDemofirma::nurInLeereDatenbank_data()
{
    QTest::addColumn<QString>("vorher");
    QTest::addColumn<bool>("schonGefuellt");
    QTest::addColumn<bool>("angenommen");
    // Another program's rows: the placeholder employee, a customer, lookups with other keys.
    QTest::newRow("Platzhalter und fremde Stammdaten")
        << QString("INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, NACHNAME) VALUES (1, ''), "
                   "(2, 'Kunde'); INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID) "
                   "VALUES (1, 1); INSERT INTO DEBITOREN (KONTAKTDATEN_ID) VALUES (2);"
                   "INSERT INTO VORGABEN_ANREDE VALUES (2, 'Frau'), (3, 'Firma');"
                   "INSERT INTO LAENDER VALUES (4, 'Österreich'), (5, 'Deutschland');"
                   "INSERT INTO PLZ VALUES (6, '79098', 'Freiburg im Breisgau', 4);")
        << false << true;
    QTest::newRow("fremder Mitarbeiter")
        << QString("INSERT INTO MITARBEITER (MITARBEITER_ID, LOGINNAME) VALUES (2, 'x');") << false
        << false;
    QTest::newRow("Abteilung")
        << QString("INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (5, 'x');")
        << false << false;
    QTest::newRow("Messzeile") << QString("INSERT INTO ESD_MESSWERTE_SCHUHE (ZEITSTEMPEL, "
                                          "MITARBEITER_ID, MESSWERTE_OK) VALUES (NOW(), 1, 'J');")
                               << false << false;
    QTest::newRow("zweiter Lauf") << QString() << true << false;
}

void TstDemofirma::nurInLeereDatenbank()
{
    QFETCH(QString, vorher);
    QFETCH(bool, schonGefuellt);
    QFETCH(bool, angenommen);
    const QString datenbank = "DEMO_LEER";
    FServer.NeueDatenbank(datenbank);
    if (!vorher.isEmpty())
        FServer.Sql(vorher, datenbank);
    TDBVerbindung verbindung;
    FServer.Verbinde(verbindung, datenbank);
    if (schonGefuellt)
        Anlegen(verbindung, FFirma);
    const QString summen = Pruefsummen(datenbank);

    try {
        Anlegen(verbindung, FFirma);
        QVERIFY(angenommen);
    } catch (const EFehler& fehler) {
        QVERIFY2(!angenommen, qPrintable(fehler.Anzeige()));
        QCOMPARE(fehler.TypName(), QString("EDatenbankNichtLeer"));
        QCOMPARE(Pruefsummen(datenbank), summen);
    }
    QVERIFY(!verbindung.InTransaction());
    if (!angenommen)
        return;
    QSet<int> erwartet;
    for (const TPerson& p : FFirma.Personen) {
        if (!p.Geloescht)
            erwartet.insert(p.Mitarbeiter_ID);
    }
    QCOMPARE(Gefunden(verbindung), erwartet);
    // Existing lookup rows are used, not doubled.
    for (const char* gruppen : {"VORGABEN_ANREDE GROUP BY ANREDE", "LAENDER GROUP BY LAND",
                                "PLZ GROUP BY PLZ, ORT, LAENDER_ID"}) {
        QCOMPARE(
            Wert(QString("SELECT COUNT(*) FROM %1 HAVING COUNT(*) > 1").arg(gruppen), datenbank),
            QString());
    }
}

void TstDemofirma::aufruf()
{
    const QString datenbank = "DEMO_AUFRUF";
    FServer.NeueDatenbank(datenbank);
    const QStringList verbindung{
        "teststation-demofirma",         "--hostname", "127.0.0.1",           "--port",
        QString::number(FServer.Port()), "--username", TTestServer::kBenutzer};
    const auto starten = [](const QStringList& argumente, QByteArray eingabe, QString& aus,
                            QString& fehler) {
        QBuffer puffer(&eingabe);
        puffer.open(QIODevice::ReadOnly);
        aus.clear();
        fehler.clear();
        QTextStream ausStrom(&aus), fehlerStrom(&fehler);
        return Aufruf(argumente, puffer, ausStrom, fehlerStrom);
    };
    QString aus, fehler;

    QCOMPARE(starten(verbindung + QStringList{"--passwort", "x"}, {}, aus, fehler),
             kFalscheEingabe);
    QVERIFY2(fehler.contains("--datenbank"), qPrintable(fehler));
    QCOMPARE(starten(verbindung + QStringList{"--passwort", "falsch", "--datenbank", datenbank}, {},
                     aus, fehler),
             kFehlgeschlagen);
    QVERIFY2(fehler.startsWith("Keine Verbindung zur Datenbank DEMO_AUFRUF"), qPrintable(fehler));

    // The station's upper-case name, the password from the first input line, another seed.
    const QStringList fuellen =
        verbindung + QStringList{"--passwort-stdin", "--datenbank", "demo_aufruf", "--seed", "7"};
    const QByteArray passwort = QByteArray(TTestServer::kPasswort) + "\nmehr\n";
    QCOMPARE(starten(fuellen, passwort, aus, fehler), kErfolg);
    QCOMPARE(fehler, QString());
    const QString zahlen =
        Wert("SELECT CONCAT_WS(', ', (SELECT COUNT(*) FROM VORGABEN_ABTEILUNG WHERE ABTEILUNG_ID "
             "> 1), (SELECT COUNT(*) FROM MITARBEITER WHERE LOGINNAME NOT LIKE 'Gast%'), "
             "(SELECT COUNT(*) FROM MITARBEITER WHERE LOGINNAME LIKE 'Gast%'), "
             "(SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE))",
             datenbank);
    const QStringList z = zahlen.split(", ");
    QCOMPARE(aus, QString("Demofirma angelegt: %1 Abteilungen, %2 Mitarbeiter, %3 Gäste, %4 "
                          "Messungen.\n")
                      .arg(z.value(0), z.value(1), z.value(2), z.value(3)));
    QStringList logins;
    for (const TPerson& p : Erzeuge(7, QDateTime::currentDateTime()).Personen)
        logins << p.Loginname;
    QCOMPARE(
        Wert("SELECT GROUP_CONCAT(LOGINNAME ORDER BY MITARBEITER_ID) FROM MITARBEITER", datenbank),
        logins.join(','));

    const QString summen = Pruefsummen(datenbank);
    QCOMPARE(starten(fuellen, passwort, aus, fehler), kFehlgeschlagen);
    QVERIFY2(fehler.startsWith("Die Demofirma wurde nicht angelegt."), qPrintable(fehler));
    QCOMPARE(aus, QString());
    QCOMPARE(Pruefsummen(datenbank), summen);
}

QTEST_GUILESS_MAIN(TstDemofirma)
#include "tst_demofirma.moc"
