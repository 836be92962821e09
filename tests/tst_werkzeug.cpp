// The settings tool as an administrator uses it: write a file, check it, try its connection,
// refuse bad input.
#include "Entschluesseln.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "TestServer.h"
#include "uFDM.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TLauf
{
    int status = -1;
    QByteArray ausgabe;
    QByteArray fehler;
};

TLauf Starte(const QStringList& argumente, const QByteArray& eingabe = {})
{
    QProcess prozess;
    prozess.start(QStringLiteral(WERKZEUG), argumente);
    prozess.write(eingabe);
    prozess.closeWriteChannel();
    if (!prozess.waitForFinished(30000))
        qFatal("settings tool did not finish");
    return {prozess.exitCode(), prozess.readAllStandardOutput(), prozess.readAllStandardError()};
}

// The required values without a password, and with one.
QStringList Pflichtwerte()
{
    return {"--hostname",  "datenbank.firma.local", "--username",
            "esd_station", "--datenbank",           "esd"};
}

QStringList Grundwerte()
{
    return Pflichtwerte() << "--passwort"
                          << "Gehe1m!";
}

mode_t Rechte(const QString& pfad)
{
    struct stat werte;
    if (::stat(QFile::encodeName(pfad).constData(), &werte) != 0)
        return mode_t(~0u);
    return werte.st_mode & 07777;
}

} // namespace

class TstWerkzeug : public QObject
{
    Q_OBJECT

private slots:
    void dateiBestehtDiePruefungDerStation();
    void passwortAusStandardeingabe();
    void leeresPasswortNurAusdruecklich();
    void pruefenErkenntManipulation();
    void pruefenZeigtDenNamenDerStation();
    void journalEinstellungen();
    void ueberschreibenBehaeltEigentuemer();
    void rechteDerDatei_data();
    void rechteDerDatei();
    void verbindungPruefen_data();
    void verbindungPruefen();
    void hilfeUndVersionAufDeutsch();
    void falscheEingaben_data();
    void falscheEingaben();

private:
    QTemporaryDir FVerzeichnis;
};

void TstWerkzeug::dateiBestehtDiePruefungDerStation()
{
    const QString pfad = FVerzeichnis.filePath(QStringLiteral("Einstellungen.ini"));
    const TLauf lauf = Starte(Pflichtwerte() + QStringList{
                                                   "--passwort",
                                                   "Gehe1m!\"ä",
                                                   "--port",
                                                   "3307",
                                                   "--com",
                                                   "4",
                                                   "--geraet",
                                                   "/dev/ttyUSB0",
                                                   "--mandant",
                                                   "Bäckerei Müller",
                                                   "--menu",
                                                   "6",
                                                   "--willkommen",
                                                   "Grüß Gott!",
                                                   "--beenden-pin",
                                                   "0815",
                                                   "-o",
                                                   pfad,
                                               });
    QCOMPARE(lauf.status, 0);

    // The station reads it without a message and takes every value.
    bool einstellungenOK = false;
    TMeldungsProtokoll protokoll;
    TFDM fdm(einstellungenOK);
    TMenuWerte menu;
    fdm.SetzeMenuZiel(&menu);
    fdm.SetzeEinstellungsVerzeichnis(FVerzeichnis.path());
    fdm.MitDB_Verbinden();
    QCOMPARE(OhneVerbindungsfehler(protokoll.Texte()), QStringList());
    QVERIFY(einstellungenOK);
    QCOMPARE(fdm.Server_Port, 3307);
    QCOMPARE(fdm.COM_Port, QStringLiteral("4"));
    QCOMPARE(fdm.Geraet, QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(menu.Mandant(), QStringLiteral("Bäckerei Müller"));
    QCOMPARE(menu.Menu_AnzAbteilungen(), QStringLiteral("6"));
    QCOMPARE(menu.Werbung_Welcome(), QStringLiteral("Grüß Gott!"));
    QVERIFY(!menu.Beenden_PIN().contains(QStringLiteral("0815")));
    QCOMPARE(Entschluesseln(menu.Beenden_PIN(), kStartSchluessel), QStringLiteral("0815"));

    const TLauf pruefung = Starte({"--pruefen", pfad});
    QCOMPARE(pruefung.status, 0);
    const QString ausgabe = QString::fromUtf8(pruefung.ausgabe);
    QVERIFY2(ausgabe.contains(QStringLiteral("datenbank.firma.local")), pruefung.ausgabe);
    QVERIFY(ausgabe.contains(QStringLiteral("esd_station")));
    QVERIFY(ausgabe.contains(QStringLiteral("ESD")));
    QVERIFY(!ausgabe.contains(QStringLiteral("Gehe1m")));
}

void TstWerkzeug::passwortAusStandardeingabe()
{
    const TLauf mitStdin = Starte(Pflichtwerte() << "--passwort-stdin", "Gehe1m!\n");
    const TLauf mitOption = Starte(Grundwerte());
    QCOMPARE(mitStdin.status, 0);
    QCOMPARE(mitStdin.ausgabe, mitOption.ausgabe);
}

void TstWerkzeug::leeresPasswortNurAusdruecklich()
{
    // Refused without the option: falscheEingaben. With it the file is written and valid.
    const QString pfad = FVerzeichnis.filePath(QStringLiteral("ohne-passwort.ini"));
    QCOMPARE(Starte(Pflichtwerte() << "--leeres-passwort"
                                   << "-o" << pfad)
                 .status,
             0);
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QVERIFY(datei.readAll().contains("\r\nPasswort=\r\n"));
    const TLauf pruefung = Starte({"--pruefen", pfad});
    QCOMPARE(pruefung.status, 0);
    QVERIFY2(pruefung.ausgabe.endsWith("Die Datei ist gültig.\n"), pruefung.ausgabe);
}

void TstWerkzeug::pruefenErkenntManipulation()
{
    const QString pfad = FVerzeichnis.filePath(QStringLiteral("manipuliert.ini"));
    QCOMPARE(Starte(Grundwerte() << "-o" << pfad).status, 0);
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadWrite));
    QByteArray inhalt = datei.readAll();
    const qsizetype stelle = inhalt.indexOf("Hostname=") + 9;
    inhalt[stelle] = inhalt[stelle] == '0' ? '1' : '0';
    datei.resize(0);
    datei.write(inhalt);
    datei.close();
    const TLauf lauf = Starte({"--pruefen", pfad});
    QCOMPARE(lauf.status, 1);
    QVERIFY(lauf.fehler.contains("MD5-Hash"));

    QCOMPARE(Starte({"--pruefen", FVerzeichnis.filePath(QStringLiteral("fehlt.ini"))}).status, 1);

    // A hand-edited port outside the TCP range reads fine but can never connect.
    QCOMPARE(Starte(Grundwerte() << "-o" << pfad).status, 0);
    QVERIFY(datei.open(QIODevice::ReadWrite));
    inhalt = datei.readAll();
    QVERIFY(inhalt.contains("Port=3306"));
    inhalt.replace("Port=3306", "Port=70000");
    datei.resize(0);
    datei.write(inhalt);
    datei.close();
    const TLauf port = Starte({"--pruefen", pfad});
    QCOMPARE(port.status, 1);
    QVERIFY2(port.fehler.contains("70000"), port.fehler);

    // A PIN edited by hand no longer deciphers to digits: nobody could end the station.
    QCOMPARE(Starte(Grundwerte() << "--beenden-pin"
                                 << "4711"
                                 << "-o" << pfad)
                 .status,
             0);
    QVERIFY(datei.open(QIODevice::ReadWrite));
    inhalt = datei.readAll();
    const qsizetype pin = inhalt.indexOf("Beenden_PIN=");
    QVERIFY(pin > 0);
    inhalt.insert(pin + 12, "ZZ");
    datei.resize(0);
    datei.write(inhalt);
    datei.close();
    const TLauf kaputt = Starte({"--pruefen", pfad});
    QCOMPARE(kaputt.status, 1);
    QVERIFY2(kaputt.fehler.contains("Beenden_PIN"), kaputt.fehler);
}

void TstWerkzeug::pruefenZeigtDenNamenDerStation()
{
    // The station upper-cases ASCII letters only: "straße" asks for STRAßE, never STRASSE.
    const QString pfad = FVerzeichnis.filePath(QStringLiteral("gross.ini"));
    QCOMPARE(Starte(QStringList{"--hostname", "h", "--username", "u", "--passwort", "p",
                                "--datenbank", "straße_ä", "-o", pfad})
                 .status,
             0);
    const TLauf lauf = Starte({"--pruefen", pfad});
    QCOMPARE(lauf.status, 0);
    QVERIFY2(QString::fromUtf8(lauf.ausgabe).contains(QStringLiteral("Datenbank: STRAßE_ä\n")),
             lauf.ausgabe);
}

void TstWerkzeug::journalEinstellungen()
{
    QVERIFY(!Starte(Grundwerte()).ausgabe.contains("[Journal]"));

    const QString pfad = FVerzeichnis.filePath(QStringLiteral("journal.ini"));
    QCOMPARE(Starte(Grundwerte() << "--journal-verzeichnis"
                                 << "/srv/teststation"
                                 << "--journal-tage"
                                 << "90"
                                 << "-o" << pfad)
                 .status,
             0);
    const TLauf pruefung = Starte({"--pruefen", pfad});
    QCOMPARE(pruefung.status, 0);
    QVERIFY2(pruefung.ausgabe.contains(
                 "Journal:   /srv/teststation, weitergeleitete Einträge 90 Tage\n"),
             pruefung.ausgabe);

    // Edited by hand: the station would run on its default, not as the site meant.
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadWrite));
    QByteArray inhalt = datei.readAll();
    QVERIFY(inhalt.contains("Aufbewahrung_Tage=90"));
    inhalt.replace("Aufbewahrung_Tage=90", "Aufbewahrung_Tage=0");
    datei.resize(0);
    datei.write(inhalt);
    datei.close();
    const TLauf kaputt = Starte({"--pruefen", pfad});
    QCOMPARE(kaputt.status, 1);
    QVERIFY2(kaputt.fehler.contains("Aufbewahrung_Tage im Abschnitt [Journal] liegt nicht "
                                    "zwischen 1 und 3650: 0"),
             kaputt.fehler);
}

void TstWerkzeug::ueberschreibenBehaeltEigentuemer()
{
    // A site file readable only by the kiosk user's group must stay so after a rewrite.
    if (::geteuid() != 0)
        QSKIP("needs root to hand the file to another owner");
    const QString pfad = FVerzeichnis.filePath(QStringLiteral("kiosk.ini"));
    QCOMPARE(Starte(Grundwerte() << "-o" << pfad).status, 0);
    const QByteArray name = QFile::encodeName(pfad);
    QCOMPARE(::chown(name.constData(), 1, 20), 0);
    QCOMPARE(::chmod(name.constData(), 0640), 0);

    QCOMPARE(Starte(Grundwerte() << "--com"
                                 << "3"
                                 << "-o" << pfad)
                 .status,
             0);
    struct stat neu;
    QCOMPARE(::stat(name.constData(), &neu), 0);
    QCOMPARE(neu.st_uid, uid_t(1));
    QCOMPARE(neu.st_gid, gid_t(20));
    QCOMPARE(neu.st_mode & 0777, mode_t(0640));
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QVERIFY(datei.readAll().contains("COM=3"));
}

void TstWerkzeug::rechteDerDatei_data()
{
    QTest::addColumn<int>("vorher"); // mode of the file before, -1: none
    QTest::addColumn<bool>("ueberLink");
    QTest::addColumn<int>("nachher");

    QTest::newRow("neu") << -1 << false << 0600;
    // As in the package: the name beside the station leads to a file not yet written.
    QTest::newRow("neu über Link") << -1 << true << 0600;
    QTest::newRow("vorhanden 0640") << 0640 << false << 0640;
    QTest::newRow("vorhanden 0644") << 0644 << false << 0644;
}

void TstWerkzeug::rechteDerDatei()
{
    QFETCH(int, vorher);
    QFETCH(bool, ueberLink);
    QFETCH(int, nachher);

    // The usual mask would give a new file 0644: only the tool may make it private.
    const mode_t alteMaske = ::umask(022);
    const QTemporaryDir verzeichnis;
    const QString ziel = verzeichnis.filePath(QStringLiteral("Einstellungen.ini"));
    QString pfad = ziel;
    if (ueberLink) {
        pfad = verzeichnis.filePath(QStringLiteral("link.ini"));
        QVERIFY(QFile::link(ziel, pfad));
    }
    if (vorher >= 0) {
        QCOMPARE(Starte(Grundwerte() << "-o" << pfad).status, 0);
        QCOMPARE(::chmod(QFile::encodeName(ziel).constData(), mode_t(vorher)), 0);
    }
    const TLauf lauf = Starte(Grundwerte() << "-o" << pfad);
    ::umask(alteMaske);
    QCOMPARE(lauf.status, 0);
    QCOMPARE(Rechte(ziel), mode_t(nachher));
    QCOMPARE(QFileInfo(pfad).isSymLink(), ueberLink);
}

void TstWerkzeug::verbindungPruefen_data()
{
    QTest::addColumn<bool>("schreiben"); // -o instead of --pruefen
    QTest::addColumn<QString>("passwort");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("fehler");

    const QString richtig = QString::fromLatin1(TTestServer::kPasswort);
    QTest::newRow("pruefen") << false << richtig << 0 << QByteArray();
    QTest::newRow("pruefen, falsches Passwort")
        << false << QStringLiteral("falsch") << 3
        << QByteArray("Keine Verbindung: Der Datenbankserver lehnt Benutzername oder Passwort "
                      "ab.\nFehler 1045: Access denied for user 'pruefer'@'127.0.0.1'");
    QTest::newRow("schreiben") << true << richtig << 0 << QByteArray();
    QTest::newRow("schreiben, falsches Passwort")
        << true << QStringLiteral("falsch") << 3 << QByteArray("\nFehler 1045: ");
}

void TstWerkzeug::verbindungPruefen()
{
    QFETCH(bool, schreiben);
    QFETCH(QString, passwort);
    QFETCH(int, status);
    QFETCH(QByteArray, fehler);

    const TTestServer server;
    server.Sql(QStringLiteral("CREATE DATABASE IF NOT EXISTS TST_WERKZEUG;"));
    const QByteArray version = server.Sql(QStringLiteral("SELECT VERSION();")).trimmed().toUtf8();
    // Lower case in the file: the station, and so the tool, opens the upper-case database.
    const QStringList werte{"--hostname",  "127.0.0.1",
                            "--port",      QString::number(server.Port()),
                            "--username",  QString::fromLatin1(TTestServer::kBenutzer),
                            "--datenbank", "tst_werkzeug",
                            "--passwort",  passwort};
    const QString pfad = FVerzeichnis.filePath(QStringLiteral("verbindung.ini"));
    QFile::remove(pfad);
    TLauf lauf;
    if (schreiben) {
        lauf = Starte(werte + QStringList{"-o", pfad, "--verbindung-pruefen"});
    } else {
        QCOMPARE(Starte(werte + QStringList{"-o", pfad}).status, 0);
        lauf = Starte({"--pruefen", pfad, "--verbindung-pruefen"});
    }
    QCOMPARE(lauf.status, status);
    // The file's check comes first either way; a refused connection leaves the file written.
    QVERIFY2(lauf.ausgabe.contains("Die Datei ist gültig.\n"), lauf.ausgabe);
    if (status == 0) {
        QVERIFY2(lauf.ausgabe.endsWith("Verbindung hergestellt, Server-Version: " + version + "\n"),
                 lauf.ausgabe);
        QCOMPARE(lauf.fehler, QByteArray());
    } else {
        QVERIFY2(lauf.fehler.contains(fehler), lauf.fehler);
        QVERIFY(!lauf.ausgabe.contains("Verbindung hergestellt"));
    }
}

void TstWerkzeug::hilfeUndVersionAufDeutsch()
{
    const TLauf hilfe = Starte({"--help"});
    QCOMPARE(hilfe.status, 0);
    QVERIFY2(hilfe.ausgabe.startsWith("Aufruf: "), hilfe.ausgabe);
    QVERIFY(hilfe.ausgabe.contains(" [Optionen]\n"));
    QVERIFY(hilfe.ausgabe.contains("\nOptionen:\n"));
    for (const char* option : {"--leeres-passwort", "--verbindung-pruefen", "--version"})
        QVERIFY2(hilfe.ausgabe.contains(option), option);
    // Qt's own English headings and texts.
    for (const char* englisch : {"Usage", "Options", "options", "Displays", "Arguments"})
        QVERIFY2(!hilfe.ausgabe.contains(englisch), englisch);

    const TLauf version = Starte({"--version"});
    QCOMPARE(version.status, 0);
    QCOMPARE(version.ausgabe, QByteArray("teststation-einstellungen " TS_PROJEKTVERSION "\n"));
}

void TstWerkzeug::falscheEingaben_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QByteArray>("grund"); // part of the message, so each row fails for its reason
    QTest::newRow("ohne host") << QStringList{"--username", "u", "--datenbank", "d"}
                               << QByteArray("--hostname");
    QTest::newRow("ohne datenbank")
        << QStringList{"--hostname", "h", "--username", "u"} << QByteArray("--datenbank");
    QTest::newRow("unbekannte option") << (Grundwerte() << "--farbe"
                                                        << "rot")
                                       << QByteArray("farbe");
    QTest::newRow("port keine zahl") << (Grundwerte() << "--port"
                                                      << "abc")
                                     << QByteArray("--port ist keine Zahl: abc");
    QTest::newRow("port zu gross") << (Grundwerte() << "--port"
                                                    << "70000")
                                   << QByteArray("zwischen 1 und 65535");
    QTest::newRow("menu 7") << (Grundwerte() << "--menu"
                                             << "7")
                            << QByteArray("6 oder 12");
    QTest::newRow("com negativ") << (Grundwerte() << "--com"
                                                  << "-1")
                                 << QByteArray("--com ist keine Schnittstellennummer: -1");
    QTest::newRow("pin zu kurz") << (Grundwerte() << "--beenden-pin"
                                                  << "123")
                                 << QByteArray("4 bis 12 Ziffern");
    QTest::newRow("pin mit buchstaben") << (Grundwerte() << "--beenden-pin"
                                                         << "12ab")
                                        << QByteArray("4 bis 12 Ziffern");
    QTest::newRow("journal relativ") << (Grundwerte() << "--journal-verzeichnis"
                                                      << "journal")
                                     << QByteArray("kein absoluter Pfad: \"journal\"");
    QTest::newRow("journal null tage") << (Grundwerte() << "--journal-tage"
                                                        << "0")
                                       << QByteArray("nicht zwischen 1 und 3650: 0");
    QTest::newRow("journal tage keine zahl") << (Grundwerte() << "--journal-tage"
                                                              << "30d")
                                             << QByteArray("keine ganze Zahl: \"30d\"");
    QTest::newRow("zeilenumbruch") << (Grundwerte() << "--willkommen"
                                                    << "a\nb")
                                   << QByteArray("Zeilenumbruch");
    QTest::newRow("zu lang") << (Grundwerte() << "--mandant" << QString(2048, u'x'))
                             << QByteArray("2047");
    QTest::newRow("datenbank ERROR") << QStringList{"--hostname", "h", "--username",  "u",
                                                    "--passwort", "p", "--datenbank", "ERROR"}
                                     << QByteArray("\"ERROR\"");
    QTest::newRow("beide passwortquellen")
        << (Grundwerte() << "--passwort-stdin") << QByteArray("schließen sich aus");
    QTest::newRow("ueberzaehliges argument")
        << (Grundwerte() << "datei.ini") << QByteArray("datei.ini");
    const QByteArray keinPasswort("Kein Passwort angegeben");
    QTest::newRow("ohne passwort") << Pflichtwerte() << keinPasswort;
    QTest::newRow("leeres passwort") << (Pflichtwerte() << "--passwort"
                                                        << "")
                                     << keinPasswort;
    QTest::newRow("leere passwortzeile") << (Pflichtwerte() << "--passwort-stdin") << keinPasswort;
    QTest::newRow("leeres und ein passwort")
        << (Grundwerte() << "--leeres-passwort") << QByteArray("--leeres-passwort schließt");
    // Its report would land inside the settings text on standard output.
    QTest::newRow("verbindung ohne datei")
        << (Grundwerte() << "--verbindung-pruefen") << QByteArray("--verbindung-pruefen braucht");
}

void TstWerkzeug::falscheEingaben()
{
    QFETCH(QStringList, argumente);
    QFETCH(QByteArray, grund);
    const TLauf lauf = Starte(argumente);
    QCOMPARE(lauf.status, 2);
    QVERIFY2(lauf.fehler.contains(grund), lauf.fehler);
    QVERIFY(lauf.ausgabe.isEmpty());
}

QTEST_GUILESS_MAIN(TstWerkzeug)
#include "tst_werkzeug.moc"
