// Checking the PIN and counting the tries.
#include "EndePin.h"

#include "Entschluesseln.h"

TEndePin TEndePin::AusEinstellung(const QString& verschluesselt)
{
    TEndePin pin;
    if (verschluesselt.isEmpty())
        return pin;
    pin.FGesetzt = true;
    pin.FPin = Entschluesseln(verschluesselt, kStartSchluessel);
    return pin;
}

TEndePin::TErgebnis TEndePin::Pruefen(const QString& eingabe)
{
    // An empty PIN (a value that did not decipher) matches nothing.
    if (!FPin.isEmpty() && eingabe == FPin) {
        FFehlversuche = 0;
        return TErgebnis::Richtig;
    }
    if (++FFehlversuche < kVersuche)
        return TErgebnis::Falsch;
    FFehlversuche = 0;
    return TErgebnis::Abgewiesen;
}
