// Settings reading with its messages; the connection builds on it.
#include "uFDM.h"

#include "AsciiGross.h"
#include "Entschluesseln.h"
#include "uFehler.h"
#include "uMeldung.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

TFDM* FDM = nullptr;
bool bEinstellungen_OK = false;

TFDM::TFDM(QObject* parent) : QObject(parent)
{
    setObjectName(u"FDM"_s);
}

bool TFDM::MitDB_Verbinden()
{
    try {
        bool ergebnis = false;
        if (!bEinstellungen_OK)
            ergebnis = Lese_Einstellungen();
        if (!bEinstellungen_OK)
            return ergebnis;
        MyCon.SetDatabase(AsciiGross(Server_DB));
        MyCon.SetPort(Server_Port);
        // The plain credentials live only in the connection.
        MyCon.SetUsername(Entschluesseln(Server_User, kStartSchluessel));
        MyCon.SetPassword(Entschluesseln(Server_Passwort, kStartSchluessel));
        MyCon.SetServer(Entschluesseln(Server_Hostname, kStartSchluessel));
        MyCon.SetConnected(true);
        return true;
    } catch (const std::exception& fehler) {
        MeldeVerbindungsfehler(TypNameVon(fehler) + u':' + MeldungVon(fehler));
    }
    return false;
}

void TFDM::MeldeVerbindungsfehler(const QString& fehler)
{
    Meldung::Zeigen(Meldung::Art::Hinweis,
                    u"Fehler beim verbinden mit der Datenbank!\r\n\r\n"_s + fehler);
}

bool TFDM::Lese_Einstellungen()
{
    const QString verzeichnis =
        FVerzeichnis.isEmpty() ? QCoreApplication::applicationDirPath() : FVerzeichnis;
    TMenuWerte ohneZiel;
    try {
        const TIniDatei Qarvel_Ini(EinstellungsDatei(verzeichnis));
        LeseEinstellungen(Qarvel_Ini, *this, FMenuZiel ? *FMenuZiel : ohneZiel);
        bEinstellungen_OK = true;
        if (!EinstellungenVollstaendig(*this)) {
            MeldeLesefehler();
            return false;
        }
        if (!IntegritaetStimmt(*this)) {
            // The message announces the end of the program; it connects to nothing and ends.
            Meldung::Zeigen(Meldung::Art::Hinweis,
                            u"Die Datei Einstellungen.ini scheint beschädigt zu sein.\r\n"
                            u"Bitte verständigen Sie einen Administrator!\r\n\r\n"
                            u"Das Programm wird vorsorglich beendet."_s);
            bEinstellungen_OK = false;
            FBeschaedigt = true;
            return false;
        }
        return true;
    } catch (const std::exception&) {
        MeldeLesefehler();
        return false;
    }
}

void TFDM::MeldeLesefehler()
{
    Meldung::Zeigen(Meldung::Art::Hinweis,
                    u"Fehler beim einlesen der Daten aus der Datei Einstellungen.ini!\r\n\r\n"
                    u"Das Programm wird nach dem dritten Fehlversuch vorsorglich beendet."_s);
    bEinstellungen_OK = false;
}
