// Texts for operators: causes they can act on, numbers an administrator can look up.
#include "Startmeldung.h"

#include "DBFehler.h"
#include "uFehler.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace Startmeldung {

QString Verbindungsursache(unsigned int nummer)
{
    switch (nummer) {
    case 1044:
        return u"Der Benutzer darf die Datenbank nicht benutzen."_s;
    case 1045:
        return u"Der Datenbankserver lehnt Benutzername oder Passwort ab."_s;
    case 1049:
        return u"Die Datenbank gibt es auf dem Server nicht."_s;
    case 1130:
        return u"Der Datenbankserver nimmt von diesem Rechner keine Verbindung an."_s;
    case 2005:
        return u"Den Namen des Datenbankservers kennt das Netz nicht."_s;
    case 0:
    case 2002:
    case 2003:
    case 2006:
    case 2013:
        return u"Der Datenbankserver ist nicht erreichbar."_s;
    default:
        return u"Der Datenbankserver hat die Verbindung abgelehnt."_s;
    }
}

QString Detail(const std::exception& fehler)
{
    if (const auto* db = dynamic_cast<const EDatenbankfehler*>(&fehler))
        return u"Fehler %1: %2"_s.arg(db->Nummer()).arg(db->Meldung());
    return MeldungVon(fehler);
}

QString Verbindungsfehler(const std::exception& fehler)
{
    const auto* db = dynamic_cast<const EDatenbankfehler*>(&fehler);
    return u"Fehler beim verbinden mit der Datenbank!\r\n\r\n"_s +
           Verbindungsursache(db ? db->Nummer() : 0) + u"\r\n"_s + Detail(fehler) +
           u"\r\n\r\nDie Station versucht es von selbst wieder; sobald die Datenbank "
           u"antwortet, erscheinen die Abteilungen."_s;
}

QString DateiNichtGefunden(const QString& pfad)
{
    return u"Die Datei %1 gibt es nicht."_s.arg(pfad);
}

QString DateiNichtLesbar(const QString& pfad)
{
    return u"Die Station darf die Datei %1 nicht lesen."_s.arg(pfad);
}

QString PortKeineZahl()
{
    return u"Der Eintrag Port ist keine Zahl."_s;
}

QString Unvollstaendig(const QStringList& schluessel)
{
    return u"Es fehlt: %1."_s.arg(schluessel.join(u", "_s));
}

QString Lesefehler(const QString& ursache)
{
    return u"Fehler beim einlesen der Daten aus der Datei Einstellungen.ini!\r\n\r\n"_s + ursache +
           u"\r\n\r\nDie Station arbeitet ohne Datenbank weiter. Bitte verständigen Sie einen "
           u"Administrator: Die Datei muss mit teststation-einstellungen geschrieben und die "
           u"Station danach neu gestartet werden."_s;
}

} // namespace Startmeldung
