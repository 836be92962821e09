// The station's recording: every evaluated result into the journal first, then to the server
// through the forwarder, which keeps the order of measuring.
#pragma once

#include "Buchung.h"

#include <functional>
#include <optional>

class TJournal;

class TAufzeichnung
{
public:
    // Forwards the journal's waiting results up to and including the one with this identity and
    // returns how that one went: stored, refused, or not stored (the server is away or an older
    // result did not get through). nullopt when no answer came in the time the screen may wait.
    using TSenden = std::function<std::optional<Buchung::TErgebnis>(const QString& kennung)>;

    // Without a journal the station records straight to the server, as it always did.
    explicit TAufzeichnung(TBuchung& buchung);
    TAufzeichnung(TBuchung& buchung, TJournal& journal, TSenden senden);

    // The journal is opened once the settings are read, after the screens exist.
    void SetzeJournal(TJournal* journal, TSenden senden);
    bool MitJournal() const { return FJournal != nullptr; }

    // Never throws. Stored: on the server (Wartet false) or in the journal, waiting for the
    // forwarder (Wartet true). Not stored: the server refused the values on a live link (the
    // journal keeps the entry as refused), or neither the journal nor the server took it.
    // Journalfehler says why the journal refused it; the server was then asked directly.
    Buchung::TErgebnis Speichern(const TBuchungswerte& werte);

    // The booking straight to the server, for its receipt check at start-up.
    TBuchung& Direktbuchung() { return FBuchung; }

private:
    TBuchung& FBuchung;
    TJournal* FJournal = nullptr;
    TSenden FSenden;
};
