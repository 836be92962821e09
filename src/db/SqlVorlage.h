// A statement text split into fixed pieces and ":Name" parameter places.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class TSqlVorlage
{
public:
    // One piece: fixed text, or the place of parameter number Parameter.
    struct TTeil
    {
        QString Text;
        int Parameter = -1;
    };

    TSqlVorlage() = default;
    // A colon directly followed by letters, digits or underscores marks a parameter. Colons
    // inside quoted literals, quoted names and comments are text. Names match without regard
    // to letter case; a name used twice is one parameter.
    explicit TSqlVorlage(const QString& text);

    // Distinct parameter names in order of first use, spelled as first written.
    const QStringList& Namen() const { return FNamen; }
    const std::vector<TTeil>& Teile() const { return FTeile; }

private:
    void TextAnhaengen(const QString& text, qsizetype von, qsizetype bis);

    QStringList FNamen;
    std::vector<TTeil> FTeile;
};
