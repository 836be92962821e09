// The system's start messages, written out letter for letter as the tests expect them.
#pragma once

#include <QString>
#include <QStringList>

// The settings' read error: the first line, the cause, then what to do.
inline const QString kLesefehlerAnfang =
    QStringLiteral("Fehler beim einlesen der Daten aus der Datei Einstellungen.ini!\r\n\r\n");
inline const QString kLesefehlerEnde = QStringLiteral(
    "\r\n\r\nDie Station arbeitet ohne Datenbank weiter. Bitte verständigen Sie einen "
    "Administrator: Die Datei muss mit teststation-einstellungen geschrieben und die Station "
    "danach neu gestartet werden.");
inline QString Lesefehler(const QString& ursache)
{
    return kLesefehlerAnfang + ursache + kLesefehlerEnde;
}
inline const QString kBeschaedigt =
    QStringLiteral("Die Datei Einstellungen.ini scheint beschädigt zu sein.\r\n"
                   "Bitte verständigen Sie einen Administrator!\r\n\r\n"
                   "Das Programm wird vorsorglich beendet.");
inline const QString kOhneMandant =
    QStringLiteral("Bitte tragen Sie den Mandantenname in der Einstellungen.ini ein!");
// Start of the connection failure message; the cause, the server's number and text follow.
inline const QString kVerbindungsfehler =
    QStringLiteral("Fehler beim verbinden mit der Datenbank!\r\n\r\n");
// The contact load's message when a search found no contact or several.
inline const QString kNichtEindeutig = QStringLiteral(
    "Achtung!\r\nTKontakt: Der eingebene Suchbegriff führte zu keinem eindeutigen Ergebnis."
    "\r\n\r\nEntweder wurde kein Datensatz, oder aber gleich mehrere gefunden.\r\n\r\nBitte "
    "versuchen Sie es erneut.");
// The board's warnings; the photo warning goes on with the error's type name and text.
inline const QString kTafelFehler =
    QStringLiteral("Fehler beim Aufbereiten der Abteilungen.\r\nEv. stimmt der Mandant in der "
                   "Einstellungen.ini-Datei nicht");
inline const QString kFotoFehler =
    QStringLiteral("Fehler beim laden Bildes aus der Datenbank!\r\n\r\nSollte der Fehler "
                   "weiterhin auftreten, muss das Bild neu hochgeladen werden.\r\n\r\n");

// The messages without connection failures, for tests about reading the settings only.
inline QStringList OhneVerbindungsfehler(QStringList texte)
{
    texte.removeIf([](const QString& text) { return text.startsWith(kVerbindungsfehler); });
    return texte;
}
