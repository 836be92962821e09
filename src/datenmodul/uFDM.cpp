// Settings reading with its messages; the connection builds on it.
#include "uFDM.h"

#include "Startmeldung.h"
#include "Zugangswerte.h"
#include "uFehler.h"
#include "uMeldung.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

TFDM::TFDM(bool& einstellungenOK, QObject* parent)
    : QObject(parent), FEinstellungen_OK(einstellungenOK)
{
    setObjectName(u"FDM"_s);
}

bool TFDM::MitDB_Verbinden()
{
    try {
        bool ergebnis = false;
        if (!FEinstellungen_OK)
            ergebnis = Lese_Einstellungen();
        if (!FEinstellungen_OK)
            return ergebnis;
        if (FBeiEinstellungen)
            std::exchange(FBeiEinstellungen, {})();
        // The plain credentials live only in the connection.
        Einstellen(MyCon, ZugangAus(*this));
        MyCon.SetConnected(true);
        return true;
    } catch (const std::exception& fehler) {
        // The cause in words and the server's number and text; the start retries by itself.
        Meldung::Zeigen(Meldung::Art::Hinweis, Startmeldung::Verbindungsfehler(fehler));
    }
    return false;
}

QString TFDM::Programmverzeichnis() const
{
    return FVerzeichnis.isEmpty() ? QCoreApplication::applicationDirPath() : FVerzeichnis;
}

QString TFDM::Einstellungsort() const
{
    const QFileInfo datei(EinstellungsDatei(Programmverzeichnis()));
    if (datei.isSymLink())
        return QFileInfo(datei.symLinkTarget()).absolutePath();
    return Programmverzeichnis();
}

bool TFDM::Lese_Einstellungen()
{
    TMenuWerte ohneZiel;
    const QString pfad = EinstellungsDatei(Programmverzeichnis());
    // A missing or unreadable file reads as one without keys: the defaults still apply.
    const QFileInfo datei(pfad);
    QString ursache;
    if (!datei.exists())
        ursache = Startmeldung::DateiNichtGefunden(pfad);
    else if (!datei.isReadable())
        ursache = Startmeldung::DateiNichtLesbar(pfad);
    try {
        const TIniDatei Qarvel_Ini(pfad);
        LeseEinstellungen(Qarvel_Ini, *this, FMenuZiel ? *FMenuZiel : ohneZiel);
        FEinstellungen_OK = true;
        if (!ursache.isEmpty()) {
            MeldeLesefehler(ursache);
            return false;
        }
        if (!EinstellungenVollstaendig(*this)) {
            MeldeLesefehler(Startmeldung::Unvollstaendig(FehlendeEinstellungen(*this)));
            return false;
        }
        if (!IntegritaetStimmt(*this)) {
            // The message announces the end of the program; it connects to nothing and ends.
            Meldung::Zeigen(Meldung::Art::Hinweis,
                            u"Die Datei Einstellungen.ini scheint beschädigt zu sein.\r\n"
                            u"Bitte verständigen Sie einen Administrator!\r\n\r\n"
                            u"Das Programm wird vorsorglich beendet."_s);
            FEinstellungen_OK = false;
            FBeschaedigt = true;
            return false;
        }
        return true;
    } catch (const EUmwandlungsfehler&) {
        MeldeLesefehler(Startmeldung::PortKeineZahl());
        return false;
    } catch (const std::exception& fehler) {
        MeldeLesefehler(MeldungVon(fehler));
        return false;
    }
}

void TFDM::MeldeLesefehler(const QString& ursache)
{
    Meldung::Zeigen(Meldung::Art::Hinweis, Startmeldung::Lesefehler(ursache));
    FEinstellungen_OK = false;
}
