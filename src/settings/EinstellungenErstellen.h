// Prepares the text of a complete Einstellungen.ini from plain values: enciphers the
// credentials and adds the integrity value, so the station's check passes.
#pragma once

#include <QString>

struct TKlarEinstellungen
{
    QString Hostname;
    QString Username;
    QString Passwort;
    int Port = 3306;
    QString Datenbank;
    QString Protokoll = QStringLiteral("TCP");
    QString COM = QStringLiteral("1");
    QString Geraet;
    QString Mandant;
    QString Menu = QStringLiteral("12");
    QString Willkommen = QStringLiteral("Herzlich Willkommen.");
    // Optional: 4 to 12 digits that ending the program asks for; empty for none.
    QString BeendenPin;
    // Optional [Menu] Ausweisleser, "an" or "aus"; written only when not empty.
    QString Ausweisleser;
    // Optional [Journal] keys, written only when not empty.
    QString JournalVerzeichnis;
    QString JournalTage;
};

// UTF-8 text with CR LF line ends. Throws EFehler for values the file cannot carry (a line
// break, more than 2047 characters) and for a port outside 1 to 65535 or a menu other than
// "6" or "12", for a PIN that is not 4 to 12 digits, and for journal values the station would
// replace by its defaults.
QString ErstelleEinstellungsText(const TKlarEinstellungen& werte);

// 4 to 12 digits: what the on-screen keyboard can type quickly and a passer-by cannot guess.
bool PinGueltig(const QString& pin);
