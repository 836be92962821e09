// The PIN that ending the program asks for, when the site has set one.
#pragma once

#include <QString>

class TEndePin
{
public:
    // Three tries, then the station goes back to the board: a passer-by cannot try them all.
    static constexpr int kVersuche = 3;

    // From the settings' enciphered value: empty means no PIN. A value that does not decipher
    // is a PIN that nothing matches, so a damaged entry never opens the kiosk.
    static TEndePin AusEinstellung(const QString& verschluesselt);

    bool Gesetzt() const { return FGesetzt; }

    enum class TErgebnis
    {
        Richtig,
        Falsch,    // tries are left
        Abgewiesen // the last try was wrong; the count starts again with the next request
    };
    TErgebnis Pruefen(const QString& eingabe);
    int Rest() const { return kVersuche - FFehlversuche; }
    void Neu() { FFehlversuche = 0; }

private:
    QString FPin;
    bool FGesetzt = false;
    int FFehlversuche = 0;
};
