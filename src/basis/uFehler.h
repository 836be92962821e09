// The system's errors: exceptions with a type name and a message text, shown to the user as
// "type name:message" where a user action catches them.
#pragma once

#include <QString>

#include <exception>
#include <string>

class EFehler : public std::exception
{
public:
    EFehler(QString typName, QString meldung);

    const QString& TypName() const { return FTypName; }
    const QString& Meldung() const { return FMeldung; }
    // "type name:message", the form the system's messages show.
    QString Anzeige() const { return FTypName + QLatin1Char(':') + FMeldung; }
    const char* what() const noexcept override { return FWhat.c_str(); }

private:
    QString FTypName;
    QString FMeldung;
    std::string FWhat;
};

// A text that should hold a number and does not.
class EUmwandlungsfehler : public EFehler
{
public:
    explicit EUmwandlungsfehler(const QString& meldung);
};

// Decimal text with an optional sign to a 32-bit integer; throws EUmwandlungsfehler otherwise.
qint32 StrToInt(const QString& text);

// Type name and message of any exception for the messages that show them; exceptions that
// are not the system's own are named "Exception".
QString TypNameVon(const std::exception& fehler);
QString MeldungVon(const std::exception& fehler);
