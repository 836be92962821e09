// Recording a measurement: one audit row, its receipt, and for a pass the measurement date.
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class TDBAbfrage;

struct TBuchungswerte
{
    QString Mitarbeiter_ID;
    QString Name;
    QString Messwert1; // left shoe
    QString Messwert2; // right shoe
    QString Messwert3; // wrist strap
    QString Fehlercode;
    bool Messwerte_OK = false;
    // Fixed when the result line is evaluated: every attempt to store the result writes the same
    // identity and time, so a retry can never make a second result of it.
    QString Kennung; // UUID, 36 characters
    QDateTime Zeitstempel;
    QString Station; // host name of the station that measured
};

namespace Buchung {

extern const QString kMesswertEinfuegen;
extern const QString kMessdatumSetzen;
extern const QString kMessdatumSperren;
extern const QString kQuittungEinfuegen;
extern const QString kQuittungSuchen;
extern const QString kQuittungSuchenImCluster;
extern const QString kQuittungPruefen;

struct TErgebnis
{
    bool Gespeichert = false;
    QString Fehlernummer; // the server's or client library's error number; empty if none
    QString Meldung;
    // The stored row's AUTO_INCREMENT key; 0 when not stored or the table has none.
    quint64 Messung_ID = 0;
    // Stored in the station's journal, not yet on the server: the forwarder sends it.
    bool Wartet = false;
    // Why the station's journal could not take the result; empty when it did or there is none.
    QString Journalfehler{};
    // The link broke once the transaction was open and no receipt can tell whether the COMMIT
    // arrived: sending it again could store it twice.
    bool Unklar = false;
};

// The server refused the result's values on a live link (too long, out of range, a trigger's
// veto, an unknown employee): another attempt fails the same way. Anything else (the link, locks,
// rights, a missing table, an unknown number) may pass on a later attempt.
bool Abgewiesen(const TErgebnis& ergebnis);

// A new result: its identity and time stamp (whole seconds, as the columns keep them), taken now.
TBuchungswerte NeuesErgebnis();

} // namespace Buchung

// Stores results over one query. Knows whether the database keeps receipts: without the receipt
// table the station still records, but can no longer tell after a broken link whether a result
// arrived.
class TBuchung
{
public:
    explicit TBuchung(TDBAbfrage& quBuchen);

    // Attempts to write a result; a lookup after a broken link is not one.
    static constexpr int kVersuche = 2;
    // Further attempts after a conflict on a cluster (two nodes wrote the same employee row at
    // once): the server rolled back, the receipt keeps a late duplicate out.
    static constexpr int kKonfliktVersuche = 5;

    // The result stored exactly once, or the reason it was not; never throws. A failed attempt
    // is repeated only when it is known that nothing was committed: a refused statement on a
    // live link, or a receipt lookup that finds nothing.
    Buchung::TErgebnis Speichern(const TBuchungswerte& werte);

    // One attempt, one transaction: the row, the receipt, and for a pass the measurement date
    // unless the employee already carries a later one. On failure the transaction is rolled
    // back and the failure passed on.
    void Buchen(const TBuchungswerte& werte);

    // Whether the receipt table can be written and read; the server is asked the first time
    // only. Throws when the server cannot be asked.
    bool QuittungenPruefen();
    bool MitQuittungen() const { return FMitQuittungen; }
    // Conflicts met so far, each followed by another attempt or the end of Speichern.
    int Konflikte() const { return FKonflikte; }

    // The key of the row stored under this identity (0 when unknown); nullopt when no result
    // with it is stored. Throws when the server cannot be asked.
    std::optional<quint64> Nachschlagen(const QString& kennung);

private:
    struct TVerlauf
    {
        bool Begonnen = false;    // the transaction was open: statements may have reached it
        bool BeiQuittung = false; // the receipt's statement was the one that failed
        quint64 Messung_ID = 0;
    };
    void Buchen(const TBuchungswerte& werte, TVerlauf& verlauf);
    void OhneQuittungen();

    TDBAbfrage& FAbfrage;
    bool FMitQuittungen = true;
    bool FGeprueft = false;
    int FKonflikte = 0;
};
