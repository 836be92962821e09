// A settings file in a temporary directory, written as a test wants it.
#pragma once

#include "EinstellungenErstellen.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TEinstellungsDatei
{
public:
    TEinstellungsDatei() = default;

    // Writes the bytes as Einstellungen.ini.
    void Schreibe(const QByteArray& inhalt);
    // Writes a valid file for these plain values.
    void Schreibe(const TKlarEinstellungen& werte);
    // Replaces the first occurrence of a text in the file.
    void Ersetze(const QByteArray& alt, const QByteArray& neu);

    QString Verzeichnis() const { return FVerzeichnis.path(); }
    QString Pfad() const;
    QByteArray Inhalt() const;

private:
    QTemporaryDir FVerzeichnis;
};

// Plain values that make a complete file (server 127.0.0.1, user root, database esd).
TKlarEinstellungen GueltigeWerte();
