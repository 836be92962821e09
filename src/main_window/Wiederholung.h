// When the station asks the database again after its department list could not be loaded.
#pragma once

#include <QString>

class TWiederholung
{
public:
    // The first wait is short for a server that is just starting; then the waits grow, so a
    // server that stays away is not asked more than twice a minute.
    static constexpr int kErsteSekunden = 10;
    static constexpr int kHoechstSekunden = 30;

    // Begins counting down the first wait.
    void Beginnen();
    void Beenden() { FAktiv = false; }
    bool Aktiv() const { return FAktiv; }

    // One second has passed; true when the wait is over and it is time to try.
    bool Tick();
    // The try failed: the next wait is twice as long, at most kHoechstSekunden.
    void Fehlgeschlagen();

    int Restsekunden() const { return FRest; }
    int Wartezeit() const { return FWartezeit; }

private:
    bool FAktiv = false;
    int FWartezeit = kErsteSekunden;
    int FRest = kErsteSekunden;
};

namespace Wiederholung {

// The note on the welcome card while the list is missing: what is wrong and when the next try
// comes, then the server's detail on a line of its own.
QString Hinweis(bool keineVerbindung, int restSekunden, const QString& detail);
// The note while the settings file cannot be used; only a restart reads it again.
QString HinweisEinstellungen();

} // namespace Wiederholung
