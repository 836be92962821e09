// The station's recording: every evaluated result into the journal first, then straight to the
// server while nothing waits, otherwise left to the forwarder so that the order holds.
#pragma once

#include "Buchung.h"

#include <functional>

class TJournal;

class TAufzeichnung
{
public:
    // Without a journal the station records straight to the server, as it always did.
    // `anstossen` wakes the forwarder; it must return at once.
    TAufzeichnung(TBuchung& buchung, TJournal* journal, std::function<void()> anstossen);

    // Never throws. Stored: on the server (Wartet false) or in the journal, waiting for the
    // forwarder (Wartet true). Not stored: the server refused the values on a live link (the
    // journal keeps the entry as refused), or neither the journal nor the server took it.
    // Journalfehler says why the journal refused it; the server was then asked directly.
    Buchung::TErgebnis Speichern(const TBuchungswerte& werte);

    // The booking straight to the server, for its receipt check at start-up.
    TBuchung& Direktbuchung() { return FBuchung; }

private:
    TBuchung& FBuchung;
    TJournal* FJournal;
    std::function<void()> FAnstossen;
};
