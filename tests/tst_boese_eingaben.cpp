// Hostile values through every input that reaches a statement: a guest's typed name, a login
// name, the contact search, the option store, a department name, and the settings file.
#include "AsciiGross.h"
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "EinstellungenErstellen.h"
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "Stationstreiber.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "uDB_Key.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uFehler.h"
#include "uFehlermeldung.h"
#include "uGlobal.h"
#include "uKontakt.h"
#include "uMessung.h"
#include "ufdmDB_Key.h"
#include "ufdmKontakt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = u"TST_BOESE"_s;
// ER_DATA_TOO_LONG: strict mode refuses a text longer than its column.
constexpr unsigned int kZuLang = 1406;

QString Wiederholt(const QString& stueck, qsizetype zeichen)
{
    QString text;
    while (text.size() < zeichen)
        text += stueck;
    return text.left(zeichen);
}

struct TBoeserWert
{
    const char* name;
    QString wert;
};

// The one table of values that every input gets.
QList<TBoeserWert> BoeseWerteListe()
{
    return {
        {"Apostroph", u"O'Brien"_s},
        {"Anfuehrungszeichen", u"Der \"Chef\""_s},
        {"Backslash am Ende", u"C:\\Pfad\\"_s},
        {"Backslash Apostroph", u"x\\'y"_s},
        {"Backslash Anfuehrungszeichen", u"x\\\"y"_s},
        {"DROP nach Apostroph", u"'; DROP TABLE MITARBEITER; --"_s},
        {"DROP nach Anfuehrungszeichen", u"\"; DROP TABLE MITARBEITER; -- "_s},
        // Unescaped, this widens a condition between either kind of quotes.
        {"Bedingung erweitert", u"x' OR 1=1 OR 'y\" OR 1=1 OR \"z"_s},
        {"Blockkommentar", u"a/* Kommentar */b"_s},
        {"Raute", u"a# Raute"_s},
        {"Prozent", u"50%"_s},
        {"Unterstrich", u"a_b"_s},
        // The layer finds ":Name" places in statement texts itself.
        {"Parameterstelle", u":Abteilung :Modul"_s},
        {"NUL", u"a"_s + QChar(0) + u"b"_s},
        {"Steuerzeichen", u"A"_s + QChar(0x01) + u"B\tC\rD\nE"_s + QChar(0x1A) + u'F' +
                              QChar(0x1B) + u'G' + QChar(0x7F) + u'H'},
        // 13 characters of four UTF-8 bytes, 26 UTF-16 units: the guest field's limit falls
        // inside the last one.
        {"Emoji", Wiederholt(u"😀🧪"_s, 26)},
        {"25 Umlaute", Wiederholt(u"ÄÖÜäöüß"_s, 25)},
        {"ueber Spaltenbreite", QString(101, u'ö')},
        // Quotes and backslashes all through, which escaping doubles; wildcards only at the
        // start, since thousands of them make the server's Like run out of stack.
        {"100 kB", u"%_"_s + Wiederholt(u"'\"\\;-- #:xä"_s, 100 * 1024 - 2)},
    };
}

void BoeseWerte()
{
    QTest::addColumn<QString>("wert");
    for (const TBoeserWert& w : BoeseWerteListe())
        QTest::newRow(w.name) << w.wert;
}

// A string literal that no escaping rule touches: the reference side of every comparison.
QString Literal(const QString& text)
{
    return u"_utf8mb4 X'"_s + QString::fromLatin1(text.toUtf8().toHex()) + u'\'';
}

// The server's HEX() of the text.
QString Hex(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toHex().toUpper());
}

QString AusHex(const QString& hex)
{
    return QString::fromUtf8(QByteArray::fromHex(hex.toLatin1()));
}

qsizetype Zeichen(const QString& text)
{
    return text.toUcs4().size();
}

// "%" → "Q7", "_" → "Z": a value that a search term with wildcards also finds, and an equality
// test does not.
QString OhnePlatzhalter(const QString& text)
{
    return QString(text).replace(u'%', u"Q7"_s).replace(u'_', u'Z');
}

// What the guest field takes from keys: printable characters only, whole ones, no more UTF-16
// units than its maximum.
QString Getippt(const QString& text, int hoechstens)
{
    QString ergebnis;
    for (const char32_t zeichen : text.toUcs4()) {
        if (QChar::isPrint(zeichen))
            ergebnis += QString::fromUcs4(&zeichen, 1);
    }
    ergebnis.truncate(hoechstens);
    // Half a character is none: it could only be stored as a substitute.
    if (!ergebnis.isEmpty() && ergebnis.back().isHighSurrogate())
        ergebnis.chop(1);
    return ergebnis;
}

// One key press and release per character into the focused field, as the on-screen keyboard
// and a hardware keyboard send them.
void Tippen(QWidget* feld, const QString& text)
{
    for (const char32_t zeichen : text.toUcs4()) {
        const QString taste = QString::fromUcs4(&zeichen, 1);
        QKeyEvent druck(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, taste);
        QCoreApplication::sendEvent(feld, &druck);
        QKeyEvent los(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, taste);
        QCoreApplication::sendEvent(feld, &los);
    }
}

// The search's documented contract: which column a field matches, and how.
struct TSuchfeld
{
    const char* feld;
    const char* art;
    const char* tabelle; // the kind's table, whose key the result lists
    const char* spalte;
    bool ganz; // the whole value instead of its beginning
    bool text; // a text column, which can hold the value
};

constexpr TSuchfeld kSuchfelder[] = {
    {"MITARBEITER_ID", "Mitarbeiter", "MITARBEITER", "MITARBEITER.MITARBEITER_ID", true, false},
    {"PERSONALNUMMER", "Mitarbeiter", "MITARBEITER", "MITARBEITER.PERSONALNUMMER", false, true},
    {"LOGINNAME", "Mitarbeiter", "MITARBEITER", "MITARBEITER.LOGINNAME", false, true},
    {"KONTAKTDATEN_ID", "Mitarbeiter", "MITARBEITER", "KONTAKTDATEN.KONTAKTDATEN_ID", true, false},
    {"DEBITOR_ID", "Debitor", "DEBITOREN", "DEBITOREN.DEBITOR_ID", false, false},
    {"DEBITORNR", "Debitor", "DEBITOREN", "DEBITOREN.DEBITORNR", false, true},
    {"KREDITOR_ID", "Kreditor", "KREDITOREN", "KREDITOREN.KREDITOR_ID", false, false},
    {"KREDITOR_NR", "Kreditor", "KREDITOREN", "KREDITOREN.KREDITOR_NR", false, true},
    {"FIRMA", "Mitarbeiter", "MITARBEITER", "KONTAKTDATEN.FIRMA", false, true},
    {"NACHNAME", "Mitarbeiter", "MITARBEITER", "KONTAKTDATEN.NACHNAME", false, true},
    {"VORNAME", "Mitarbeiter", "MITARBEITER", "KONTAKTDATEN.VORNAME", false, true},
    {"STRASSE1", "Mitarbeiter", "MITARBEITER", "KONTAKTDATEN.STRASSE1", false, true},
    {"STRASSE2", "Mitarbeiter", "MITARBEITER", "KONTAKTDATEN.STRASSE2", false, true},
    {"PLZ", "Mitarbeiter", "MITARBEITER", "PLZ.PLZ", false, true},
    {"ORT", "Mitarbeiter", "MITARBEITER", "PLZ.ORT", false, true},
};

QString Schluessel(const TSuchfeld& f)
{
    return QString::fromLatin1(f.tabelle) == u"MITARBEITER"_s ? u"MITARBEITER_ID"_s
           : QString::fromLatin1(f.tabelle) == u"DEBITOREN"_s ? u"DEBITOR_ID"_s
                                                              : u"KREDITOR_ID"_s;
}

// Key of the row of that kind in a group of contacts (10: the value, 20: its wildcard twin,
// 30: an unrelated contact).
int Kontakt(const TSuchfeld& f, int gruppe)
{
    const QString art = QString::fromLatin1(f.art);
    return gruppe + (art == u"Mitarbeiter"_s ? 1 : art == u"Debitor"_s ? 2 : 3);
}

} // namespace

class TstBoeseEingaben : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void gastname_data() { BoeseWerte(); }
    void gastname();
    void loginname_data() { BoeseWerte(); }
    void loginname();
    void suchbegriff_data() { BoeseWerte(); }
    void suchbegriff();
    void kontaktfelder_data() { BoeseWerte(); }
    void kontaktfelder();
    void optionsspeicher_data() { BoeseWerte(); }
    void optionsspeicher();
    void abteilung_data() { BoeseWerte(); }
    void abteilung();
    void einstellungsdatei_data();
    void einstellungsdatei();

private:
    // Statements of the checking side, over a connection of its own.
    void Ausfuehren(const QString& sql);
    QStringList Spalte(const QString& sql);
    QString Text(const QString& sql);
    int Breite(const QString& tabelle, const QString& spalte);
    // CHECKSUM TABLE over every table of the database, as "table|checksum".
    QStringList Pruefsummen();
    // Counts value × input combinations as they are tried.
    void Versuche(int kombinationen = 1) { FEingaben += kombinationen; }
    // Whether anything outside the expected change differs from the state before; counts it.
    bool Unveraendert(const QStringList& vorher);
    // Back to the base data, whatever a failed case left behind.
    void Zuruecksetzen();
    void NeueOptionenLoeschen();

    void Starte();
    void Kontakte(int gruppe, const QString& wert);
    bool Gespeichert(const TSuchfeld& f, int id, const QString& wert);
    // One field's search for the term; what differs from the server's own Like, or empty.
    QString Suche(const TSuchfeld& f, const QString& wert, const QString& zwilling);

    TTestServer FServer;
    TDBVerbindung FPruefung;
    TDBAbfrage FQu{FPruefung, u"quPruefung"_s};
    QStringList FTabellen;
    // Keys of the last option rows of the base data.
    int FLetzteVorgabe = 0;
    int FLetzteOption = 0;
    int FEingaben = 0;
    int FVeraendert = 0;

    // The station for the screen inputs; the plain units over a connection of their own else.
    std::unique_ptr<TMeldungsProtokoll> FProtokoll;
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TEinstellungsDatei> FDatei;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    TDBVerbindung FVerbindung;
    std::unique_ptr<TfdmKontakt> FKontaktDM;
    std::unique_ptr<TfdmDB_Key> FOptionenDM;
    TUser FBenutzer;
};

void TstBoeseEingaben::initTestCase()
{
    BereiteAnwendungVor();
    // After the application's own message boxes are installed, so that this one answers.
    FProtokoll = std::make_unique<TMeldungsProtokoll>();
    FServer.NeueDatenbank(kDatenbank);
    const QString anderer =
        u"INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, FIRMA, "
        u"NACHNAME, VORNAME, STRASSE1, STRASSE2, MITARBEITER, DEBITOR, KREDITOR) VALUES "
        u"(%1, 2, 1, 31, 'Anderer', 'Anderer', 'Anderer', 'Anderer', 'Anderer', '%2', '%3', "
        u"'%4');"_s;
    FServer.Sql(
        Testfirma::kGrunddaten +
            u"INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Besucher'), "
            u"(10, 'Ziel'), (11, 'Platzhalter'), (12, 'Anderer');"_s +
            Testfirma::Mitarbeiter(91, u"Anmelder"_s, u"Anna"_s, u"NULL"_s, u"NULL"_s, 2,
                                   u"anmelder"_s) +
            Testfirma::Mitarbeiter(95, u"Zugast"_s, u"Gerd"_s, u"NULL"_s, u"NULL"_s, 2,
                                   u"Gast1"_s) +
            Testfirma::Mitarbeiter(201, u"Eins"_s, u"Ziel"_s, u"NULL"_s, u"NULL"_s, 10) +
            Testfirma::Mitarbeiter(202, u"Zwei"_s, u"Ziel"_s, u"NULL"_s, u"NULL"_s, 10) +
            Testfirma::Mitarbeiter(211, u"Platz"_s, u"Halter"_s, u"NULL"_s, u"NULL"_s, 11) +
            Testfirma::Mitarbeiter(221, u"Andere"_s, u"Abteilung"_s, u"NULL"_s, u"NULL"_s, 12) +
            Testfirma::Mitarbeiter(41, u"Speicher"_s, u"Sven"_s, u"NULL"_s, u"NULL"_s, 12) +
            // Contacts that a search whose term widened its condition would find.
            u"INSERT INTO PLZ VALUES (31, 'Anderer', 'Anderer', 1);"_s +
            anderer.arg(31).arg(u"J"_s, u"N"_s, u"N"_s) +
            anderer.arg(32).arg(u"N"_s, u"J"_s, u"N"_s) +
            anderer.arg(33).arg(u"N"_s, u"N"_s, u"J"_s) +
            u"INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, ABTEILUNG_ID, "
            u"MA_ANG_STATUS_ID, PERSONALNUMMER, LOGINNAME) VALUES (31, 31, 2, 1, 'Anderer', "
            u"'Anderer');"
            u"INSERT INTO DEBITOREN (DEBITOR_ID, KONTAKTDATEN_ID, DEBITORNR) VALUES "
            u"(32, 32, 'Anderer');"
            u"INSERT INTO KREDITOREN (KREDITOR_ID, KONTAKTDATEN_ID, KREDITOR_NR) VALUES "
            u"(33, 33, 'Anderer');"
            // Options that a look-up whose text widened its condition would meet.
            u"INSERT INTO EINSTELLUNGEN_MASTER (MODUL, KEY1, WERT, KLONEN) VALUES "
            u"('ANDERES', 'ANDERS', 'fremd', 'Nein'), "
            u"('MITARBEITER', 'STANDARDPASSWORT', 'geheim', '');"
            u"INSERT INTO EINSTELLUNGEN (MODUL, KEY1, WERT) VALUES ('ANDERES', 'ANDERS', "
            u"'fremd');"
            // Login names beyond the column of NAME, as an existing database may hold them.
            u"ALTER TABLE MITARBEITER DROP INDEX IX_MITARBEITER_LOGINNAME, "
            u"MODIFY LOGINNAME MEDIUMTEXT NULL;"_s,
        kDatenbank);
    FServer.Verbinde(FPruefung, kDatenbank);
    // Set-up rows longer than their columns are cut instead of refused.
    Ausfuehren(u"SET SESSION sql_mode = ''"_s);
    FTabellen = Spalte(u"SHOW TABLES"_s);
    FLetzteVorgabe = Text(u"SELECT MAX(EINSTELLUNG_MASTER_ID) FROM EINSTELLUNGEN_MASTER"_s).toInt();
    FLetzteOption = Text(u"SELECT MAX(EINSTELLUNG_ID) FROM EINSTELLUNGEN"_s).toInt();
    QVERIFY(FTabellen.contains(u"MITARBEITER"_s));
    FServer.Verbinde(FVerbindung, kDatenbank);
}

void TstBoeseEingaben::init()
{
    Zuruecksetzen();
    FProtokoll->Leeren();
    const QByteArray funktion(QTest::currentTestFunction());
    if (funktion == "gastname" || funktion == "loginname" || funktion == "abteilung") {
        FPty = std::make_unique<TPseudoTerminal>();
        FFenster = std::make_unique<TFensterset>();
        FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung, FPty.get());
        // The hidden screen's first countdown tick belongs to start-up, not to these cycles.
        FStation->Anhalten(TUhr::Messung);
    } else {
        FKontaktDM = std::make_unique<TfdmKontakt>(FVerbindung);
        FOptionenDM = std::make_unique<TfdmDB_Key>(FVerbindung);
    }
}

void TstBoeseEingaben::cleanup()
{
    FStation.reset();
    FFenster.reset();
    FDatei.reset();
    FPty.reset();
    if (FKontaktDM) {
        FKontaktDM.reset();
        FOptionenDM.reset();
    }
}

void TstBoeseEingaben::cleanupTestCase()
{
    const QByteArray zeile = "BOESE eingaben=" + QByteArray::number(FEingaben) +
                             " veraendert=" + QByteArray::number(FVeraendert) + '\n';
    std::fputs(zeile.constData(), stdout);
    std::fflush(stdout);
    const QString verzeichnis = qEnvironmentVariable("TS_ZUVERLAESSIGKEIT");
    if (!verzeichnis.isEmpty() && QFileInfo(verzeichnis).isDir()) {
        QFile datei(QDir(verzeichnis).filePath(u"eingaben.txt"_s));
        if (datei.open(QIODevice::WriteOnly | QIODevice::Append))
            datei.write(zeile);
    }
}

void TstBoeseEingaben::Ausfuehren(const QString& sql)
{
    FQu.SQL().SetText(sql);
    FQu.ExecSQL();
}

QStringList TstBoeseEingaben::Spalte(const QString& sql)
{
    FQu.SQL().SetText(sql);
    FQu.Open();
    QStringList werte;
    for (; !FQu.Eof(); FQu.Next())
        werte.append(FQu.Fields(0).AsString());
    FQu.Close();
    return werte;
}

QString TstBoeseEingaben::Text(const QString& sql)
{
    const QStringList werte = Spalte(sql);
    return werte.isEmpty() ? QString() : werte.constFirst();
}

int TstBoeseEingaben::Breite(const QString& tabelle, const QString& spalte)
{
    return Text(u"SELECT CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS WHERE "
                u"TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '%1' AND COLUMN_NAME = '%2'"_s.arg(
                    tabelle, spalte))
        .toInt();
}

QStringList TstBoeseEingaben::Pruefsummen()
{
    FQu.SQL().SetText(u"CHECKSUM TABLE "_s + FTabellen.join(u", "_s));
    FQu.Open();
    QStringList summen;
    for (; !FQu.Eof(); FQu.Next())
        summen.append(FQu.Fields(0).AsString() + u'|' + FQu.Fields(1).AsString());
    FQu.Close();
    return summen;
}

bool TstBoeseEingaben::Unveraendert(const QStringList& vorher)
{
    const bool gleich = Pruefsummen() == vorher;
    if (!gleich)
        ++FVeraendert;
    return gleich;
}

void TstBoeseEingaben::Zuruecksetzen()
{
    Ausfuehren(u"DELETE FROM ESD_MESSWERTE_SCHUHE"_s);
    Ausfuehren(u"DELETE FROM ESD_MESSUNG_QUITTUNG"_s);
    Ausfuehren(u"UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = NULL"_s);
    NeueOptionenLoeschen();
    Ausfuehren(u"UPDATE MITARBEITER SET LOGINNAME = 'anmelder' WHERE MITARBEITER_ID = 91"_s);
    Ausfuehren(u"UPDATE KONTAKTDATEN SET NACHNAME = 'Speicher', VORNAME = 'Sven', FIRMA = NULL, "
               u"STRASSE1 = NULL WHERE KONTAKTDATEN_ID = 41"_s);
    Ausfuehren(u"UPDATE MITARBEITER SET LOGINNAME = 'ma41', ANMERKUNGEN = NULL WHERE "
               u"MITARBEITER_ID = 41"_s);
}

void TstBoeseEingaben::NeueOptionenLoeschen()
{
    Ausfuehren(u"DELETE FROM EINSTELLUNGEN WHERE EINSTELLUNG_ID > %1"_s.arg(FLetzteOption));
    Ausfuehren(
        u"DELETE FROM EINSTELLUNGEN_MASTER WHERE EINSTELLUNG_MASTER_ID > %1"_s.arg(FLetzteVorgabe));
}

void TstBoeseEingaben::Starte()
{
    FDatei = ZeigeStation(FServer, kDatenbank, FPty->Geraet());
}

void TstBoeseEingaben::gastname()
{
    QFETCH(QString, wert);
    Starte();
    FStation->TippeAbteilung(1);
    QCOMPARE(FStation->Kachelname(2)->text(), u"Zugast Gerd"_s);
    const QStringList vorher = Pruefsummen();
    Versuche();

    FStation->TippeKachel(2);
    QVERIFY(FStation->Namensfeld()->isVisible());
    // The repaint with an empty name closes the port; only the entered name opens it.
    QTRY_VERIFY(!FStation->PortOffen());
    Tippen(FStation->Namensfeld(), wert);
    const QString gezeigt = FStation->Namensfeld()->text();
    QCOMPARE(gezeigt, Getippt(wert, TFMessung::kNameLaenge));
    QTest::keyClick(FStation->Namensfeld(), Qt::Key_Return);
    QCOMPARE(FStation->Name(), gezeigt);
    QVERIFY(FStation->PortOffen());

    QVERIFY(FStation->Sende(Pruefgeraet::Bestanden(), Pruefgeraet::TRahmen::CRLF));
    QTRY_COMPARE(Text(u"SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE"_s), u"1"_s);
    QVERIFY(!Fehlermeldung->isVisible());
    // The row carries the name exactly as the field showed it.
    QCOMPARE(AusHex(Text(u"SELECT HEX(NAME) FROM ESD_MESSWERTE_SCHUHE"_s)), gezeigt);
    QCOMPARE(Text(u"SELECT CONCAT_WS('|', MITARBEITER_ID, MESSWERTE_OK) FROM "
                  u"ESD_MESSWERTE_SCHUHE"_s),
             u"95|J"_s);
    QCOMPARE(Text(u"SELECT DATE(DATUM_ESD_MESSUNG) = CURDATE() FROM MITARBEITER WHERE "
                  u"MITARBEITER_ID = 95"_s),
             u"1"_s);
    FStation->Tick(TUhr::Messung);

    Ausfuehren(u"DELETE FROM ESD_MESSWERTE_SCHUHE"_s);
    Ausfuehren(u"DELETE FROM ESD_MESSUNG_QUITTUNG"_s);
    Ausfuehren(u"UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = NULL WHERE MITARBEITER_ID = 95"_s);
    QVERIFY(Unveraendert(vorher));
    QCOMPARE(FProtokoll->Texte(), QStringList());
}

void TstBoeseEingaben::loginname()
{
    QFETCH(QString, wert);
    Ausfuehren(
        u"UPDATE MITARBEITER SET LOGINNAME = %1 WHERE MITARBEITER_ID = 91"_s.arg(Literal(wert)));
    QCOMPARE(AusHex(Text(u"SELECT HEX(LOGINNAME) FROM MITARBEITER WHERE MITARBEITER_ID = 91"_s)),
             wert);
    Starte();
    FStation->TippeAbteilung(1);
    QCOMPARE(FStation->Kachelname(1)->text(), u"Anmelder Anna"_s);
    const QStringList vorher = Pruefsummen();
    Versuche();

    FStation->TippeKachel(1);
    QVERIFY(FMessung->isVisible());
    QVERIFY(!FStation->Zeigt(u"panTastatur"_s));
    QCOMPARE(FStation->Namensfeld()->text(), wert);
    QVERIFY(FStation->Sende(Pruefgeraet::Bestanden(), Pruefgeraet::TRahmen::CRLF));

    if (Zeichen(wert) <= Breite(u"ESD_MESSWERTE_SCHUHE"_s, u"NAME"_s)) {
        QTRY_COMPARE(Text(u"SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE"_s), u"1"_s);
        QVERIFY(!Fehlermeldung->isVisible());
        QCOMPARE(AusHex(Text(u"SELECT HEX(NAME) FROM ESD_MESSWERTE_SCHUHE"_s)), wert);
        QCOMPARE(Text(u"SELECT MITARBEITER_ID FROM ESD_MESSWERTE_SCHUHE"_s), u"91"_s);
        Ausfuehren(u"DELETE FROM ESD_MESSWERTE_SCHUHE"_s);
        Ausfuehren(u"DELETE FROM ESD_MESSUNG_QUITTUNG"_s);
        Ausfuehren(u"UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = NULL WHERE MITARBEITER_ID = 91"_s);
    } else {
        // Strict mode refuses the row; the station says so, and stores neither the row nor
        // the date stamp.
        QTRY_VERIFY(Fehlermeldung->isVisible());
        QCOMPARE(Label(Fehlermeldung, "lblText1"),
                 u"Die Messung konnte nicht gespeichert werden."_s);
        QCOMPARE(Label(Fehlermeldung, "lblErrorcode"), QString::number(kZuLang));
        QCOMPARE(Text(u"SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE"_s), u"0"_s);
    }
    FStation->Tick(TUhr::Messung);
    QVERIFY(Unveraendert(vorher));
    QCOMPARE(FProtokoll->Texte(), QStringList());
}

// A group of contacts, one of each kind with a postcode of its own, with the value in every
// text field that the search offers (cut where longer than the column); none for a null value.
void TstBoeseEingaben::Kontakte(int gruppe, const QString& wert)
{
    const QString w = Literal(wert);
    for (const QString& tabelle : {u"MITARBEITER"_s, u"DEBITOREN"_s, u"KREDITOREN"_s}) {
        const QString schluessel = tabelle == u"MITARBEITER"_s ? u"MITARBEITER_ID"_s
                                   : tabelle == u"DEBITOREN"_s ? u"DEBITOR_ID"_s
                                                               : u"KREDITOR_ID"_s;
        Ausfuehren(u"DELETE FROM %1 WHERE %2 BETWEEN %3 AND %4"_s.arg(tabelle, schluessel)
                       .arg(gruppe)
                       .arg(gruppe + 9));
    }
    Ausfuehren(
        u"DELETE FROM KONTAKTDATEN WHERE KONTAKTDATEN_ID BETWEEN %1 AND %2"_s.arg(gruppe).arg(
            gruppe + 9));
    Ausfuehren(u"DELETE FROM PLZ WHERE PLZ_ID = %1"_s.arg(gruppe + 1));
    if (wert.isNull())
        return;
    Ausfuehren(u"INSERT INTO PLZ VALUES (%1, %2, %2, 1)"_s.arg(gruppe + 1).arg(w));
    const QStringList flaggen{u"'J', 'N', 'N'"_s, u"'N', 'J', 'N'"_s, u"'N', 'N', 'J'"_s};
    for (int i = 0; i < 3; ++i) {
        Ausfuehren(u"INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, "
                   u"FIRMA, NACHNAME, VORNAME, STRASSE1, STRASSE2, MITARBEITER, DEBITOR, "
                   u"KREDITOR) VALUES (%1, 2, 1, %2, %3, %3, %3, %3, %3, %4)"_s.arg(gruppe + 1 + i)
                       .arg(gruppe + 1)
                       .arg(w, flaggen[i]));
    }
    Ausfuehren(u"INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, ABTEILUNG_ID, "
               u"MA_ANG_STATUS_ID, PERSONALNUMMER, LOGINNAME) VALUES (%1, %1, 2, 1, %2, %2)"_s
                   .arg(gruppe + 1)
                   .arg(w));
    Ausfuehren(u"INSERT INTO DEBITOREN (DEBITOR_ID, KONTAKTDATEN_ID, DEBITORNR) VALUES "
               u"(%1, %1, %2)"_s.arg(gruppe + 2)
                   .arg(w));
    Ausfuehren(u"INSERT INTO KREDITOREN (KREDITOR_ID, KONTAKTDATEN_ID, KREDITOR_NR) VALUES "
               u"(%1, %1, %2)"_s.arg(gruppe + 3)
                   .arg(w));
}

// Whether the contact's column holds exactly the value, not a cut one.
bool TstBoeseEingaben::Gespeichert(const TSuchfeld& f, int id, const QString& wert)
{
    const QString tabelle = QString::fromLatin1(f.tabelle);
    return Text(u"SELECT HEX(%1) FROM %2 JOIN KONTAKTDATEN ON KONTAKTDATEN.KONTAKTDATEN_ID = "
                u"%2.KONTAKTDATEN_ID JOIN PLZ ON PLZ.PLZ_ID = KONTAKTDATEN.PLZ_ID WHERE %2.%3 = "
                u"%4"_s.arg(QString::fromLatin1(f.spalte), tabelle, Schluessel(f))
                    .arg(id)) == Hex(wert);
}

QString TstBoeseEingaben::Suche(const TSuchfeld& f, const QString& wert, const QString& zwilling)
{
    TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
    kontakt.Init(QString::fromLatin1(f.art));
    kontakt.Suchen(wert, QString::fromLatin1(f.feld), true);
    TDBAbfrage& qu = FKontaktDM->quKontakt;

    // The server's own Like over the term as a pattern in which only "%" and "_" are wildcards:
    // Like's escape character, the backslash, doubled to stand for itself.
    const QString muster = Literal(QString(wert).replace(u'\\', u"\\\\"_s));
    const QString tabelle = QString::fromLatin1(f.tabelle);
    QStringList erwartet;
    try {
        erwartet = Spalte(
            u"SELECT %1.%2 FROM %1 JOIN KONTAKTDATEN ON KONTAKTDATEN.KONTAKTDATEN_ID = "
            u"%1.KONTAKTDATEN_ID JOIN PLZ ON PLZ.PLZ_ID = KONTAKTDATEN.PLZ_ID WHERE %3 LIKE %4"_s
                .arg(tabelle, Schluessel(f), QString::fromLatin1(f.spalte),
                     f.ganz ? muster : u"CONCAT(%1, '%')"_s.arg(muster)));
    } catch (const EDatenbankfehler& fehler) {
        // A pattern the server cannot match (its stack for many wildcards over a long value):
        // the search fails silently, as documented.
        return qu.Active() ? u"lief, obwohl der Server das Muster ablehnt: "_s + fehler.Meldung()
                           : QString();
    }
    if (!qu.Active())
        return u"Suche fehlgeschlagen"_s;
    QStringList gefunden;
    for (qu.First(); !qu.Eof(); qu.Next())
        gefunden.append(qu.FieldByName(Schluessel(f)).AsString());
    gefunden.sort();
    erwartet.sort();
    const auto dabei = [&gefunden, &f](int gruppe) {
        return gefunden.contains(QString::number(Kontakt(f, gruppe)));
    };
    if (gefunden != erwartet)
        return u"gefunden %1, erwartet %2"_s.arg(gefunden.join(u','), erwartet.join(u','));
    if (dabei(30))
        return u"fremder Kontakt gefunden"_s;
    if (f.text && Gespeichert(f, Kontakt(f, 10), wert) && !dabei(10))
        return u"Kontakt mit genau diesem Wert nicht gefunden"_s;
    // Documented: "%" and "_" in a term are wildcards.
    if (f.text && zwilling != wert && Gespeichert(f, Kontakt(f, 20), zwilling) && !dabei(20))
        return u"Platzhalter wirken nicht"_s;
    return QString();
}

void TstBoeseEingaben::suchbegriff()
{
    QFETCH(QString, wert);
    const QString zwilling = OhnePlatzhalter(wert);
    Kontakte(10, wert);
    Kontakte(20, zwilling != wert ? zwilling : QString());
    const QStringList vorher = Pruefsummen();

    // Every field is checked, whichever fails first.
    QStringList fehler;
    for (const TSuchfeld& f : kSuchfelder) {
        Versuche();
        const QString meldung = Suche(f, wert, zwilling);
        if (!meldung.isEmpty())
            fehler.append(QString::fromLatin1(f.feld) + u": "_s + meldung);
        if (!Unveraendert(vorher))
            fehler.append(QString::fromLatin1(f.feld) + u": Datenbank verändert"_s);
    }
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u"; "_s)));
    QCOMPARE(FProtokoll->Texte(), QStringList());
}

void TstBoeseEingaben::kontaktfelder()
{
    QFETCH(QString, wert);
    const auto lade = [this] {
        TKontakt kontakt(*FKontaktDM, *FOptionenDM, FBenutzer);
        kontakt.Init(u"Mitarbeiter"_s);
        kontakt.Suchen(u"41"_s, u"MITARBEITER_ID"_s, false);
        kontakt.LadeDaten();
        return kontakt;
    };
    TKontakt kontakt = lade();
    QCOMPARE(kontakt.Nachname(), u"Speicher"_s);
    // Saved once as loaded, so that the row has the form that every save leaves.
    QVERIFY(kontakt.SpeichereDaten());
    TKontakt vorherig = kontakt;
    const QStringList vorher = Pruefsummen();

    using TSetzer = void (TgsKontakt::*)(const QString&);
    const TSetzer setzer[] = {&TgsKontakt::SetNachname,  &TgsKontakt::SetVorname,
                              &TgsKontakt::SetFirma,     &TgsKontakt::SetStrasse1,
                              &TgsKontakt::SetLoginname, &TgsKontakt::SetAnmerkungen};
    Versuche(int(std::size(setzer)));
    for (const TSetzer setze : setzer)
        (kontakt.*setze)(wert);
    const bool gespeichert = kontakt.SpeichereDaten();
    int breite = Breite(u"MITARBEITER"_s, u"ANMERKUNGEN"_s);
    for (const QString& spalte : {u"NACHNAME"_s, u"VORNAME"_s, u"FIRMA"_s, u"STRASSE1"_s})
        breite = std::min(breite, Breite(u"KONTAKTDATEN"_s, spalte));
    if (Zeichen(wert) <= breite) {
        QVERIFY(gespeichert);
        QCOMPARE(Text(u"SELECT CONCAT_WS('|', HEX(K.NACHNAME), HEX(K.VORNAME), HEX(K.FIRMA), "
                      u"HEX(K.STRASSE1), HEX(M.LOGINNAME), HEX(M.ANMERKUNGEN)) FROM MITARBEITER "
                      u"M JOIN KONTAKTDATEN K USING (KONTAKTDATEN_ID) WHERE M.MITARBEITER_ID = "
                      u"41"_s),
                 QStringList(int(std::size(setzer)), Hex(wert)).join(u'|'));
        const TKontakt geladen = lade();
        for (const QString& gelesen :
             {geladen.Nachname(), geladen.Vorname(), geladen.Firma(), geladen.Strasse1(),
              geladen.Loginname(), geladen.Anmerkungen()})
            QCOMPARE(gelesen, wert);
        QVERIFY(vorherig.SpeichereDaten());
    } else {
        // Strict mode refuses the contact row; the save says so and changes nothing.
        QVERIFY(!gespeichert);
    }
    QVERIFY(Unveraendert(vorher));
    QCOMPARE(FProtokoll->Texte(), QStringList());
}

void TstBoeseEingaben::optionsspeicher()
{
    QFETCH(QString, wert);
    const int breiteModul = Breite(u"EINSTELLUNGEN_MASTER"_s, u"MODUL"_s);
    const int breiteKey = Breite(u"EINSTELLUNGEN_MASTER"_s, u"KEY1"_s);
    const int breiteWert = Breite(u"EINSTELLUNGEN_MASTER"_s, u"WERT"_s);
    for (int stelle = 0; stelle < 3; ++stelle) {
        const QString modul = stelle == 0 ? wert : u"Boese"_s;
        const QString key = stelle == 1 ? wert : u"Schluessel"_s;
        const QString inhalt = stelle == 2 ? wert : u"Inhalt"_s;
        const QString neu = inhalt + u'!';
        const QStringList vorher = Pruefsummen();
        Versuche();
        TDB_Key optionen(*FOptionenDM, FBenutzer);
        if (Zeichen(modul) > breiteModul || Zeichen(key) > breiteKey || Zeichen(neu) > breiteWert) {
            // Too long for its column: the server refuses, the caller gets the error.
            try {
                optionen.SchreibeMasterKey(modul, key, inhalt, u"Vorgabe"_s, u"Ja"_s);
                QFAIL("a value longer than its column was accepted");
            } catch (const EDatenbankfehler& fehler) {
                QCOMPARE(fehler.Nummer(), kZuLang);
            } catch (const std::exception& fehler) {
                QFAIL(qPrintable(MeldungVon(fehler)));
            }
        } else {
            try {
                optionen.SchreibeMasterKey(modul, key, inhalt, u"Vorgabe"_s, u"Ja"_s);
                QCOMPARE(optionen.LeseKey(modul, key), inhalt);
                optionen.UpdateKey(modul, key, neu);
                QCOMPARE(optionen.LeseKey(modul, key), neu);
            } catch (const std::exception& fehler) {
                QFAIL(qPrintable(MeldungVon(fehler)));
            }
            // The master row as given; the workstation's clone with the look-up's upper-cased
            // names and the changed value.
            const QString master =
                QStringList{Hex(modul), Hex(key), Hex(inhalt), u"Vorgabe"_s, u"Ja"_s}.join(u'|');
            const QString eigene = QStringList{Hex(AsciiGross(modul)), QString(), QString(),
                                               Hex(AsciiGross(key)),   Hex(neu),  u"Vorgabe"_s}
                                       .join(u'|');
            QCOMPARE(Spalte(u"SELECT CONCAT_WS('|', HEX(MODUL), HEX(KEY1), HEX(WERT), "
                            u"BESCHREIBUNG, KLONEN) FROM EINSTELLUNGEN_MASTER WHERE "
                            u"EINSTELLUNG_MASTER_ID > %1"_s.arg(FLetzteVorgabe)),
                     QStringList{master});
            QCOMPARE(Spalte(u"SELECT CONCAT_WS('|', HEX(MODUL), PC_NAME, MITARBEITER_ID, "
                            u"HEX(KEY1), HEX(WERT), BESCHREIBUNG) FROM EINSTELLUNGEN WHERE "
                            u"EINSTELLUNG_ID > %1"_s.arg(FLetzteOption)),
                     QStringList{eigene});
            NeueOptionenLoeschen();
        }
        QVERIFY(Unveraendert(vorher));
        QCOMPARE(FProtokoll->Texte(), QStringList());
    }
}

void TstBoeseEingaben::abteilung()
{
    QFETCH(QString, wert);
    const QString zwilling = OhnePlatzhalter(wert);
    Ausfuehren(u"UPDATE VORGABEN_ABTEILUNG SET ABTEILUNG = %1 WHERE ABTEILUNG_ID = 10"_s.arg(
        Literal(wert)));
    Ausfuehren(u"UPDATE VORGABEN_ABTEILUNG SET ABTEILUNG = %1 WHERE ABTEILUNG_ID = 11"_s.arg(
        Literal(zwilling != wert ? zwilling : u"Platzhalter"_s)));
    // A name longer than the column is stored cut; the station only ever sees the stored one.
    const QString name =
        AusHex(Text(u"SELECT HEX(ABTEILUNG) FROM VORGABEN_ABTEILUNG WHERE ABTEILUNG_ID = 10"_s));
    QCOMPARE(name, wert.left(Breite(u"VORGABEN_ABTEILUNG"_s, u"ABTEILUNG"_s)));
    Starte();
    const QStringList vorher = Pruefsummen();
    Versuche();

    // Departments in key order: 2, then 10.
    QCOMPARE(FStation->Abteilungsknopf(2)->text(), name);
    QVERIFY(FStation->Abteilungsknopf(2)->isVisible());
    FStation->TippeAbteilung(2);
    QCOMPARE(FStation->AktiveAbteilung(), name);
    QStringList geladen = FMain->sglobMitarbeiter_IDs;
    geladen.sort();
    // The server's own comparison with the stored name.
    QStringList erwartet =
        Spalte(u"SELECT M.MITARBEITER_ID FROM MITARBEITER M JOIN KONTAKTDATEN K ON "
               u"K.KONTAKTDATEN_ID = M.KONTAKTDATEN_ID JOIN VORGABEN_ABTEILUNG A ON "
               u"A.ABTEILUNG_ID = M.ABTEILUNG_ID WHERE A.ABTEILUNG = (SELECT ABTEILUNG FROM "
               u"VORGABEN_ABTEILUNG WHERE ABTEILUNG_ID = 10) AND M.INAKTIV = 'N' AND "
               u"M.ESD_MESSUNG = 'J' AND M.MITARBEITER_ID > 1"_s);
    erwartet.sort();
    QCOMPARE(geladen, erwartet);
    QVERIFY(geladen.contains(u"201"_s) && geladen.contains(u"202"_s));
    QVERIFY(!geladen.contains(u"221"_s));
    // In the equality of the board query "%" and "_" stand for themselves.
    if (zwilling != wert)
        QVERIFY(!geladen.contains(u"211"_s));
    QVERIFY(FStation->Kachelname(1)->isVisible());
    QVERIFY(Unveraendert(vorher));
    QCOMPARE(FProtokoll->Texte(), QStringList());
}

void TstBoeseEingaben::einstellungsdatei_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const TBoeserWert& w : BoeseWerteListe()) {
        const QByteArray utf8 = w.wert.toUtf8();
        QTest::addRow("%s, UTF-8", w.name) << utf8;
        // Once more in bytes that are no valid UTF-8: in Windows-1252 where the code page has
        // the characters, else in UTF-8 with one foreign byte.
        QStringEncoder zuAnsi("windows-1252");
        const QByteArray ansi = zuAnsi(w.wert);
        if (ansi == utf8)
            continue;
        QStringDecoder vonAnsi("windows-1252");
        const QString zurueck = vonAnsi(ansi);
        if (zurueck == w.wert)
            QTest::addRow("%s, Windows-1252", w.name) << ansi;
        else
            QTest::addRow("%s, UTF-8 mit fremdem Byte", w.name) << utf8 + '\xFF';
    }
}

void TstBoeseEingaben::einstellungsdatei()
{
    QFETCH(QByteArray, bytes);
    TKlarEinstellungen werte = FServer.StationsWerte(kDatenbank);
    werte.Mandant = u"MANDANT"_s;
    werte.Willkommen = u"WILLKOMMEN"_s;
    // Markers around the value keep the trimming of blanks and quotes out of the comparison.
    const QByteArray eintrag = '<' + bytes + '>';
    TEinstellungsDatei datei;
    datei.Schreibe(ErstelleEinstellungsText(werte).toUtf8());
    datei.Ersetze("Mandant=MANDANT", "Mandant=" + eintrag);
    datei.Ersetze("Werbung_Welcome=WILLKOMMEN", "Werbung_Welcome=" + eintrag);
    // As documented: UTF-8, unless the bytes are no valid UTF-8, then Windows-1252; a value
    // ends with its line and is read up to 2047 characters.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(eintrag);
    if (utf8.hasError()) {
        QStringDecoder vonAnsi("windows-1252");
        text = vonAnsi(eintrag);
    }
    const QString erwartet = text.section(u'\n', 0, 0).trimmed().left(2047);
    const QStringList vorher = Pruefsummen();
    Versuche(2);

    TMenuWerte menu;
    TFDM fdm(bEinstellungen_OK);
    fdm.SetzeMenuZiel(&menu);
    fdm.SetzeEinstellungsVerzeichnis(datei.Verzeichnis());
    bEinstellungen_OK = false;
    // The keys around the value read as before: the credentials pass their check and connect.
    QVERIFY(fdm.MitDB_Verbinden());
    bEinstellungen_OK = false;
    QCOMPARE(menu.Mandant(), erwartet);
    QCOMPARE(menu.Werbung_Welcome(), erwartet);
    QCOMPARE(menu.Menu_AnzAbteilungen(), u"12"_s);
    QCOMPARE(fdm.Server_Port, FServer.Port());
    QCOMPARE(FProtokoll->Texte(), QStringList());
    QVERIFY(Unveraendert(vorher));
}

QTEST_MAIN(TstBoeseEingaben)
#include "tst_boese_eingaben.moc"
