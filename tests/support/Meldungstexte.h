// The system's start messages, written out letter for letter as the tests expect them.
#pragma once

#include <QString>

inline const QString kLesefehler =
    QStringLiteral("Fehler beim einlesen der Daten aus der Datei Einstellungen.ini!\r\n\r\n"
                   "Das Programm wird nach dem dritten Fehlversuch vorsorglich beendet.");
inline const QString kBeschaedigt =
    QStringLiteral("Die Datei Einstellungen.ini scheint beschädigt zu sein.\r\n"
                   "Bitte verständigen Sie einen Administrator!\r\n\r\n"
                   "Das Programm wird vorsorglich beendet.");
inline const QString kOhneMandant =
    QStringLiteral("Bitte tragen Sie den Mandantenname in der Einstellungen.ini ein!");
