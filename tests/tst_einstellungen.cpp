// Reading Einstellungen.ini: the profile-file rules, the keys with their defaults and order,
// the presence check and the integrity check.
#include "EinstellungsDatei.h"
#include "Integritaet.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "uFDM.h"
#include "uFehler.h"

#include <QStringDecoder>
#include <QTest>

namespace {

enum class Ergebnis
{
    Gueltig,
    Lesefehler,
    Beschaedigt
};

} // namespace

Q_DECLARE_METATYPE(Ergebnis)

class TstEinstellungen : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void iniRegeln_data();
    void iniRegeln();
    void strToInt_data();
    void strToInt();

    void keineDatei();
    void portKeineZahl();
    void werteWerdenUebernommen();
    void geschriebeneWerteLesenSichGleich_data();
    void geschriebeneWerteLesenSichGleich();
    void pruefungen_data();
    void pruefungen();
    void journal_data();
    void journal();
    void kleineHexZiffernWerdenAngenommen();
    void gelesenWirdNurBisZumErfolg();

private:
    // Reads the file through the data module, as the start does; returns the messages shown.
    QStringList Lies(const TEinstellungsDatei& datei);

    // The flag the window set would hand the data module.
    bool FEinstellungenOK = false;
    TFDM* FFdm = nullptr;
    TMenuWerte FMenu;
};

void TstEinstellungen::init()
{
    FEinstellungenOK = false;
    FMenu = TMenuWerte();
}

QStringList TstEinstellungen::Lies(const TEinstellungsDatei& datei)
{
    TMeldungsProtokoll protokoll;
    delete FFdm;
    FFdm = new TFDM(FEinstellungenOK, this);
    FFdm->SetzeMenuZiel(&FMenu);
    FFdm->SetzeEinstellungsVerzeichnis(datei.Verzeichnis());
    FFdm->MitDB_Verbinden();
    // No server listens for these files; only the reading is under test here.
    return OhneVerbindungsfehler(protokoll.Texte());
}

void TstEinstellungen::iniRegeln_data()
{
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QString>("abschnitt");
    QTest::addColumn<QString>("schluessel");
    QTest::addColumn<QString>("erwartet");

    const QString vorgabe = QStringLiteral("VORGABE");
    QTest::newRow("einfach") << QByteArray("[Menu]\r\nMandant=Firma\r\n") << "Menu"
                             << "Mandant"
                             << "Firma";
    QTest::newRow("namen ohne gross/klein") << QByteArray("[MENU]\nmandant=Firma\n") << "Menu"
                                            << "MANDANT"
                                            << "Firma";
    QTest::newRow("leerzeichen") << QByteArray("  [ Menu ]  \n\t Mandant  =   Firma A \t\n")
                                 << "Menu"
                                 << "Mandant"
                                 << "Firma A";
    QTest::newRow("erstes gleichheitszeichen") << QByteArray("[S]\nK = a=b\n") << "S"
                                               << "K"
                                               << "a=b";
    QTest::newRow("anfuehrungszeichen") << QByteArray("[S]\nK= \"  x  \" \n") << "S"
                                        << "K"
                                        << "  x  ";
    QTest::newRow("einfache anfuehrungszeichen") << QByteArray("[S]\nK='x'\n") << "S"
                                                 << "K"
                                                 << "x";
    QTest::newRow("nur vorne") << QByteArray("[S]\nK=\"x\n") << "S"
                               << "K"
                               << "\"x";
    QTest::newRow("ungleiches paar") << QByteArray("[S]\nK=\"x'\n") << "S"
                                     << "K"
                                     << "\"x'";
    QTest::newRow("nur das paar") << QByteArray("[S]\nK=\"\"\n") << "S"
                                  << "K"
                                  << "";
    QTest::newRow("leerer wert") << QByteArray("[S]\nK=\n") << "S"
                                 << "K"
                                 << "";
    QTest::newRow("fehlender schluessel") << QByteArray("[S]\nA=1\n") << "S"
                                          << "K" << vorgabe;
    QTest::newRow("fehlender abschnitt") << QByteArray("[T]\nK=1\n") << "S"
                                         << "K" << vorgabe;
    QTest::newRow("anderer abschnitt") << QByteArray("[S]\n[T]\nK=1\n") << "S"
                                       << "K" << vorgabe;
    QTest::newRow("vor dem ersten abschnitt") << QByteArray("K=1\n[S]\n") << "S"
                                              << "K" << vorgabe;
    QTest::newRow("erster schluessel gilt") << QByteArray("[S]\nK=1\nk=2\n") << "S"
                                            << "K"
                                            << "1";
    QTest::newRow("erster abschnitt gilt") << QByteArray("[S]\nA=1\n[S]\nK=2\n") << "S"
                                           << "K" << vorgabe;
    QTest::newRow("kommentar") << QByteArray("[S]\n;K=1\nK=2\n") << "S"
                               << "K"
                               << "2";
    QTest::newRow("zeile ohne gleichheitszeichen") << QByteArray("[S]\nK\nK=2\n") << "S"
                                                   << "K"
                                                   << "2";
    QTest::newRow("utf8 mit bom") << QByteArray("\xEF\xBB\xBF[S]\nK=Grüß\n") << "S"
                                  << "K" << QStringLiteral("Grüß");
    QTest::newRow("windows-1252") << QByteArray("[S]\nK=Gr\xFC\xDF \x80\n") << "S"
                                  << "K" << QStringLiteral("Grüß €");
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    QTest::newRow("utf16 mit bom")
        << QByteArray("\xFF\xFE") + QByteArray(utf16(QStringLiteral("[S]\r\nK=Grüß\r\n"))) << "S"
        << "K" << QStringLiteral("Grüß");
    QTest::newRow("2047 zeichen") << "[S]\nK=" + QByteArray(3000, 'x') + "\n"
                                  << "S"
                                  << "K" << QString(2047, u'x');
    QTest::newRow("2047 nach anfuehrungszeichen") << "[S]\nK=\"" + QByteArray(2047, 'x') + "\"\n"
                                                  << "S"
                                                  << "K" << QString(2047, u'x');
}

void TstEinstellungen::iniRegeln()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(QString, abschnitt);
    QFETCH(QString, schluessel);
    QFETCH(QString, erwartet);
    const TIniDatei ini = TIniDatei::AusBytes(inhalt);
    QCOMPARE(ini.ReadString(abschnitt, schluessel, QStringLiteral("VORGABE")), erwartet);
}

void TstEinstellungen::strToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("gueltig");
    QTest::addColumn<int>("wert");
    QTest::newRow("zahl") << "3306" << true << 3306;
    QTest::newRow("negativ") << "-1" << true << -1;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("groesste") << "2147483647" << true << 2147483647;
    QTest::newRow("kleinste") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("ueberlauf") << "2147483648" << false << 0;
    QTest::newRow("sehr lang") << "99999999999999999999999" << false << 0;
    QTest::newRow("leer") << "" << false << 0;
    QTest::newRow("nur vorzeichen") << "-" << false << 0;
    QTest::newRow("buchstaben") << "abc" << false << 0;
    QTest::newRow("ziffern und buchstaben") << "12a" << false << 0;
    QTest::newRow("komma") << "1.5" << false << 0;
}

void TstEinstellungen::strToInt()
{
    QFETCH(QString, text);
    QFETCH(bool, gueltig);
    QFETCH(int, wert);
    if (gueltig) {
        QCOMPARE(StrToInt(text), wert);
        return;
    }
    try {
        StrToInt(text);
        QFAIL("no error raised");
    } catch (const EUmwandlungsfehler& fehler) {
        QCOMPARE(fehler.TypName(), QStringLiteral("EUmwandlungsfehler"));
        QVERIFY(fehler.Meldung().contains(text));
    }
}

void TstEinstellungen::keineDatei()
{
    const TEinstellungsDatei datei; // directory without a file
    QCOMPARE(Lies(datei), QStringList{Lesefehler("Die Datei " + datei.Pfad() + " gibt es nicht.")});
    QVERIFY(!FEinstellungenOK);
    QCOMPARE(FFdm->COM_Port, QStringLiteral("1"));
    QCOMPARE(FFdm->Server_User, QStringLiteral("ERROR"));
    QCOMPARE(FFdm->Server_Port, 0);
    QCOMPARE(FMenu.Menu_AnzAbteilungen(), QStringLiteral("12"));
    QCOMPARE(FMenu.Mandant(), QString());
    QCOMPARE(FMenu.Werbung_Welcome(), QStringLiteral("Herzlich Willkommen."));
}

void TstEinstellungen::portKeineZahl()
{
    TKlarEinstellungen werte = GueltigeWerte();
    werte.JournalVerzeichnis = QStringLiteral("/srv/teststation");
    werte.JournalTage = QStringLiteral("90");
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    datei.Ersetze("Port=3306", "Port=abc");
    QCOMPARE(Lies(datei), QStringList{Lesefehler("Der Eintrag Port ist keine Zahl.")});
    QVERIFY(!FEinstellungenOK);
    // Keys before Port are read, the ones after it are not.
    QCOMPARE(FFdm->Server_Hostname, QStringLiteral("8658319DAA8A1BEC2B"));
    QCOMPARE(FFdm->Server_DB, QString());
    QCOMPARE(FMenu.Menu_AnzAbteilungen(), QString());
    QCOMPARE(FMenu.Mandant(), QString());
    QCOMPARE(FMenu.Werbung_Welcome(), QString());
    QCOMPARE(FFdm->Journal_Verzeichnis, QString());
    QCOMPARE(FFdm->Journal_Aufbewahrung_Tage, 30);
}

void TstEinstellungen::werteWerdenUebernommen()
{
    TKlarEinstellungen werte = GueltigeWerte();
    werte.COM = QStringLiteral("3");
    werte.Geraet = QStringLiteral("/dev/ttyUSB0");
    werte.Port = 3307;
    werte.Mandant = QStringLiteral("Müller & Söhne \"Nord\"");
    werte.Menu = QStringLiteral("6");
    werte.Willkommen = QStringLiteral("  Grüß Gott!  ");
    werte.JournalVerzeichnis = QStringLiteral("/srv/test station ");
    werte.JournalTage = QStringLiteral("365");
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    QCOMPARE(Lies(datei), QStringList());
    QVERIFY(FEinstellungenOK);
    QCOMPARE(FFdm->COM_Port, QStringLiteral("3"));
    QCOMPARE(FFdm->Geraet, QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(FFdm->Server_User, QStringLiteral("C5CF0826"));
    QCOMPARE(FFdm->Server_Port, 3307);
    QCOMPARE(FFdm->Server_DB, QStringLiteral("esd"));
    QCOMPARE(FFdm->Server_Protocol, QStringLiteral("TCP"));
    QCOMPARE(FMenu.Menu_AnzAbteilungen(), QStringLiteral("6"));
    QCOMPARE(FMenu.Mandant(), werte.Mandant);
    QCOMPARE(FMenu.Werbung_Welcome(), werte.Willkommen);
    QCOMPARE(FFdm->Journal_Verzeichnis, werte.JournalVerzeichnis);
    QCOMPARE(FFdm->Journal_Aufbewahrung_Tage, 365);
}

void TstEinstellungen::geschriebeneWerteLesenSichGleich_data()
{
    QTest::addColumn<QString>("wert");
    QTest::newRow("leer") << "";
    QTest::newRow("blanks aussen") << "  Text  ";
    QTest::newRow("in anfuehrungszeichen") << "\"Nord\"";
    QTest::newRow("in einfachen") << "'Nord'";
    QTest::newRow("ein anfuehrungszeichen") << "\"";
    QTest::newRow("gleichheitszeichen und semikolon") << ";a=b;";
    QTest::newRow("2047 zeichen") << QString(2047, u'ä');
}

void TstEinstellungen::geschriebeneWerteLesenSichGleich()
{
    QFETCH(QString, wert);
    TKlarEinstellungen werte = GueltigeWerte();
    werte.Mandant = wert;
    werte.Willkommen = wert;
    TEinstellungsDatei datei;
    datei.Schreibe(werte);
    QCOMPARE(Lies(datei), QStringList());
    QCOMPARE(FMenu.Mandant(), wert);
    QCOMPARE(FMenu.Werbung_Welcome(), wert);
}

void TstEinstellungen::pruefungen_data()
{
    QTest::addColumn<QByteArray>("alt");
    QTest::addColumn<QByteArray>("neu");
    QTest::addColumn<Ergebnis>("ergebnis");
    // For a read error: the keys the message names as missing.
    QTest::addColumn<QString>("fehlt");

    QTest::newRow("unverändert") << QByteArray() << QByteArray() << Ergebnis::Gueltig << QString();
    QTest::newRow("ohne Protokoll") << QByteArray("Protokoll=TCP\r\n") << QByteArray()
                                    << Ergebnis::Lesefehler << QString("Protokoll");
    QTest::newRow("Username ERROR")
        << QByteArray("Username=C5CF0826") << QByteArray("Username=ERROR") << Ergebnis::Lesefehler
        << QString("Username");
    QTest::newRow("DB_Name ERROR") << QByteArray("DB_Name=esd") << QByteArray("DB_Name=ERROR")
                                   << Ergebnis::Lesefehler << QString("DB_Name");
    QTest::newRow("MD5-Hash ERROR")
        << QByteArray("MD5-Hash=C5C0CE10FBEB0E5336805D5021073516") << QByteArray("MD5-Hash=ERROR")
        << Ergebnis::Lesefehler << QString("MD5-Hash");
    QTest::newRow("Port 0") << QByteArray("Port=3306") << QByteArray("Port=0")
                            << Ergebnis::Lesefehler << QString("Port");
    QTest::newRow("ohne Passwort und Port")
        << QByteArray("Passwort=D0F0666BC0E5\r\nHostname=8658319DAA8A1BEC2B\r\nPort=3306")
        << QByteArray("Hostname=8658319DAA8A1BEC2B") << Ergebnis::Lesefehler
        << QString("Passwort, Port");
    QTest::newRow("error klein ist kein fehlwert")
        << QByteArray("Hostname=8658319DAA8A1BEC2B") << QByteArray("Hostname=error")
        << Ergebnis::Beschaedigt << QString();
    QTest::newRow("hash klein") << QByteArray("MD5-Hash=C5C0CE10FBEB0E5336805D5021073516")
                                << QByteArray("MD5-Hash=c5c0ce10fbeb0e5336805d5021073516")
                                << Ergebnis::Beschaedigt << QString();
    QTest::newRow("gross/klein im verschlüsselten wert")
        << QByteArray("Username=C5CF0826") << QByteArray("Username=c5CF0826")
        << Ergebnis::Beschaedigt << QString();
    QTest::newRow("anderes passwort")
        << QByteArray("Passwort=D0F0666BC0E5") << QByteArray("Passwort=D0F0666BC0E6")
        << Ergebnis::Beschaedigt << QString();
    QTest::newRow("DB_Name geändert")
        << QByteArray("DB_Name=esd") << QByteArray("DB_Name=x") << Ergebnis::Gueltig << QString();
    QTest::newRow("Port geändert")
        << QByteArray("Port=3306") << QByteArray("Port=3307") << Ergebnis::Gueltig << QString();
    QTest::newRow("Protokoll geändert")
        << QByteArray("Protokoll=TCP") << QByteArray("Protokoll=Pipe") << Ergebnis::Gueltig
        << QString();
    QTest::newRow("COM geändert") << QByteArray("COM=1") << QByteArray("COM=7") << Ergebnis::Gueltig
                                  << QString();
    QTest::newRow("Menu geändert")
        << QByteArray("Anzahl_Abteilungen=12\r\nMandant=")
        << QByteArray("Anzahl_Abteilungen=6\r\nMandant=Neu") << Ergebnis::Gueltig << QString();
}

void TstEinstellungen::pruefungen()
{
    QFETCH(QByteArray, alt);
    QFETCH(QByteArray, neu);
    QFETCH(Ergebnis, ergebnis);
    QFETCH(QString, fehlt);
    TEinstellungsDatei datei;
    datei.Schreibe(GueltigeWerte());
    if (!alt.isEmpty())
        datei.Ersetze(alt, neu);

    const QStringList meldungen = Lies(datei);
    switch (ergebnis) {
    case Ergebnis::Gueltig:
        QCOMPARE(meldungen, QStringList());
        QVERIFY(FEinstellungenOK);
        break;
    case Ergebnis::Lesefehler:
        QCOMPARE(meldungen, QStringList{Lesefehler("Es fehlt: " + fehlt + ".")});
        QVERIFY(!FEinstellungenOK);
        QVERIFY(!FFdm->EinstellungenBeschaedigt());
        break;
    case Ergebnis::Beschaedigt:
        QCOMPARE(meldungen, QStringList{kBeschaedigt});
        QVERIFY(!FEinstellungenOK);
        QVERIFY(FFdm->EinstellungenBeschaedigt());
        break;
    }
}

void TstEinstellungen::journal_data()
{
    QTest::addColumn<QByteArray>("abschnitt"); // appended to a valid file
    QTest::addColumn<QString>("verzeichnis");
    QTest::addColumn<int>("tage");
    QTest::addColumn<QStringList>("fehler");

    const QString verzeichnisFehler =
        QStringLiteral("Verzeichnis im Abschnitt [Journal] ist kein absoluter Pfad: \"%1\"");
    const QString keineZahl =
        QStringLiteral("Aufbewahrung_Tage im Abschnitt [Journal] ist keine ganze Zahl: \"%1\"");
    const QString ausserhalb = QStringLiteral(
        "Aufbewahrung_Tage im Abschnitt [Journal] liegt nicht zwischen 1 und 3650: %1");

    QTest::newRow("ohne abschnitt") << QByteArray() << QString() << 30 << QStringList();
    QTest::newRow("gueltig") << QByteArray("Verzeichnis=/srv/teststation\r\nAufbewahrung_Tage=90")
                             << "/srv/teststation" << 90 << QStringList();
    QTest::newRow("leere werte") << QByteArray("Verzeichnis=\r\nAufbewahrung_Tage=") << QString()
                                 << 30 << QStringList();
    QTest::newRow("ein tag") << QByteArray("Aufbewahrung_Tage=1") << QString() << 1
                             << QStringList();
    QTest::newRow("zehn jahre") << QByteArray("Aufbewahrung_Tage=3650") << QString() << 3650
                                << QStringList();
    QTest::newRow("null tage") << QByteArray("Aufbewahrung_Tage=0") << QString() << 30
                               << QStringList{ausserhalb.arg("0")};
    QTest::newRow("ueber zehn jahre") << QByteArray("Aufbewahrung_Tage=3651") << QString() << 30
                                      << QStringList{ausserhalb.arg("3651")};
    QTest::newRow("keine zahl") << QByteArray("Aufbewahrung_Tage=dreissig") << QString() << 30
                                << QStringList{keineZahl.arg("dreissig")};
    QTest::newRow("kommazahl") << QByteArray("Aufbewahrung_Tage=7.5") << QString() << 30
                               << QStringList{keineZahl.arg("7.5")};
    QTest::newRow("relativer pfad") << QByteArray("Verzeichnis=journal") << QString() << 30
                                    << QStringList{verzeichnisFehler.arg("journal")};
    QTest::newRow("tilde") << QByteArray("Verzeichnis=~/journal") << QString() << 30
                           << QStringList{verzeichnisFehler.arg("~/journal")};
    QTest::newRow("beide ungueltig")
        << QByteArray("Aufbewahrung_Tage=-5\r\nVerzeichnis=state") << QString() << 30
        << QStringList{verzeichnisFehler.arg("state"), ausserhalb.arg("-5")};
}

void TstEinstellungen::journal()
{
    QFETCH(QByteArray, abschnitt);
    QFETCH(QString, verzeichnis);
    QFETCH(int, tage);
    QFETCH(QStringList, fehler);
    TEinstellungsDatei datei;
    datei.Schreibe(GueltigeWerte());
    if (!abschnitt.isEmpty())
        datei.Schreibe(datei.Inhalt() + "\r\n[Journal]\r\n" + abschnitt + "\r\n");

    // Optional keys: an unusable value falls back to its default and the station carries on.
    QCOMPARE(Lies(datei), QStringList());
    QVERIFY(FEinstellungenOK);
    QCOMPARE(FFdm->Journal_Verzeichnis, verzeichnis);
    QCOMPARE(FFdm->Journal_Aufbewahrung_Tage, tage);
    QCOMPARE(JournalEinstellungsfehler(TIniDatei(datei.Pfad())), fehler);
}

void TstEinstellungen::kleineHexZiffernWerdenAngenommen()
{
    // The integrity value is taken over the text as the file holds it, lower case included.
    const QString user = QStringLiteral("c5cf0826");
    const QString passwort = QStringLiteral("d0f0666bc0e5");
    const QString host = QStringLiteral("8658319daa8a1bec2b");
    TEinstellungsDatei datei;
    datei.Schreibe("[DB_Server]\nUsername=" + user.toLatin1() +
                   "\nPasswort=" + passwort.toLatin1() + "\nHostname=" + host.toLatin1() +
                   "\nPort=3306\nDB_Name=esd\nProtokoll=TCP\nMD5-Hash=" +
                   Integritaetswert(user, passwort, host).toLatin1() + "\n[Menu]\nMandant=Firma\n");
    QCOMPARE(Lies(datei), QStringList());
    QVERIFY(FEinstellungenOK);
    QCOMPARE(FFdm->Server_User, user);
}

void TstEinstellungen::gelesenWirdNurBisZumErfolg()
{
    TEinstellungsDatei datei;
    datei.Schreibe(GueltigeWerte());
    QCOMPARE(Lies(datei), QStringList());
    // Once read successfully, a later call does not read the file again.
    datei.Ersetze("Port=3306", "Port=abc");
    TMeldungsProtokoll protokoll;
    FFdm->MitDB_Verbinden();
    QCOMPARE(OhneVerbindungsfehler(protokoll.Texte()), QStringList());
    QCOMPARE(FFdm->Server_Port, 3306);
}

QTEST_GUILESS_MAIN(TstEinstellungen)
#include "tst_einstellungen.moc"
