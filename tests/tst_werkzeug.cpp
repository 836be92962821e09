// The settings tool as an administrator uses it: write a file, check it, refuse bad input.
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "uFDM.h"

#include <QFile>
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

QStringList Grundwerte()
{
    return {"--hostname",  "datenbank.firma.local", "--username",
            "esd_station", "--datenbank",           "esd"};
}

} // namespace

class TstWerkzeug : public QObject
{
    Q_OBJECT

private slots:
    void dateiBestehtDiePruefungDerStation();
    void passwortAusStandardeingabe();
    void pruefenErkenntManipulation();
    void ueberschreibenBehaeltEigentuemer();
    void falscheEingaben_data();
    void falscheEingaben();

private:
    QTemporaryDir FVerzeichnis;
};

void TstWerkzeug::dateiBestehtDiePruefungDerStation()
{
    const QString pfad = FVerzeichnis.filePath(QStringLiteral("Einstellungen.ini"));
    const TLauf lauf = Starte(Grundwerte() + QStringList{
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
                                                 "-o",
                                                 pfad,
                                             });
    QCOMPARE(lauf.status, 0);

    // The station reads it without a message and takes every value.
    bEinstellungen_OK = false;
    TMeldungsProtokoll protokoll;
    TFDM fdm;
    TMenuWerte menu;
    fdm.SetzeMenuZiel(&menu);
    fdm.SetzeEinstellungsVerzeichnis(FVerzeichnis.path());
    fdm.MitDB_Verbinden();
    QCOMPARE(OhneVerbindungsfehler(protokoll.Texte()), QStringList());
    QVERIFY(bEinstellungen_OK);
    QCOMPARE(fdm.Server_Port, 3307);
    QCOMPARE(fdm.COM_Port, QStringLiteral("4"));
    QCOMPARE(fdm.Geraet, QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(menu.Mandant(), QStringLiteral("Bäckerei Müller"));
    QCOMPARE(menu.Menu_AnzAbteilungen(), QStringLiteral("6"));
    QCOMPARE(menu.Werbung_Welcome(), QStringLiteral("Grüß Gott!"));

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
    const TLauf mitStdin = Starte(Grundwerte() << "--passwort-stdin", "Gehe1m!\n");
    const TLauf mitOption = Starte(Grundwerte() << "--passwort"
                                                << "Gehe1m!");
    QCOMPARE(mitStdin.status, 0);
    QCOMPARE(mitStdin.ausgabe, mitOption.ausgabe);
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

void TstWerkzeug::falscheEingaben_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::newRow("ohne host") << QStringList{"--username", "u", "--datenbank", "d"};
    QTest::newRow("ohne datenbank") << QStringList{"--hostname", "h", "--username", "u"};
    QTest::newRow("unbekannte option") << (Grundwerte() << "--farbe"
                                                        << "rot");
    QTest::newRow("port keine zahl") << (Grundwerte() << "--port"
                                                      << "abc");
    QTest::newRow("port zu gross") << (Grundwerte() << "--port"
                                                    << "70000");
    QTest::newRow("menu 7") << (Grundwerte() << "--menu"
                                             << "7");
    QTest::newRow("com negativ") << (Grundwerte() << "--com"
                                                  << "-1");
    QTest::newRow("zeilenumbruch") << (Grundwerte() << "--willkommen"
                                                    << "a\nb");
    QTest::newRow("zu lang") << (Grundwerte() << "--mandant" << QString(2048, u'x'));
    QTest::newRow("datenbank ERROR")
        << QStringList{"--hostname", "h", "--username", "u", "--datenbank", "ERROR"};
    QTest::newRow("beide passwortquellen") << (Grundwerte() << "--passwort"
                                                            << "x"
                                                            << "--passwort-stdin");
    QTest::newRow("ueberzaehliges argument") << (Grundwerte() << "datei.ini");
}

void TstWerkzeug::falscheEingaben()
{
    QFETCH(QStringList, argumente);
    const TLauf lauf = Starte(argumente);
    QCOMPARE(lauf.status, 2);
    QVERIFY(!lauf.fehler.isEmpty());
    QVERIFY(lauf.ausgabe.isEmpty());
}

QTEST_GUILESS_MAIN(TstWerkzeug)
#include "tst_werkzeug.moc"
