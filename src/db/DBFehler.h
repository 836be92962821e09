// Errors of the database layer; each carries the type name that messages show.
#pragma once

#include "uFehler.h"

#include <QByteArray>

// Server error numbers that code above the layer decides on (checked against the client
// library's headers where the layer is built).
namespace Serverfehler {
constexpr unsigned int kDoppelterSchluessel = 1062; // ER_DUP_ENTRY
constexpr unsigned int kUnbekannteSpalte = 1054;    // ER_BAD_FIELD_ERROR
constexpr unsigned int kTabelleVerboten = 1142;     // ER_TABLEACCESS_DENIED_ERROR
constexpr unsigned int kSpalteVerboten = 1143;      // ER_COLUMNACCESS_DENIED_ERROR
constexpr unsigned int kTabelleFehlt = 1146;        // ER_NO_SUCH_TABLE
// ER_LOCK_DEADLOCK; on a cluster also a failed certification at COMMIT: rolled back either way.
constexpr unsigned int kKonflikt = 1213;
} // namespace Serverfehler

// The server or the client library refused a statement.
class EDatenbankfehler : public EFehler
{
public:
    EDatenbankfehler(const QString& meldung, unsigned int nummer, const QByteArray& sqlStatus);

    // The client library's or server's error number and SQLSTATE (five characters).
    unsigned int Nummer() const { return FNummer; }
    const QByteArray& SqlStatus() const { return FSqlStatus; }

protected:
    EDatenbankfehler(const QString& typName, const QString& meldung, unsigned int nummer,
                     const QByteArray& sqlStatus);

private:
    unsigned int FNummer;
    QByteArray FSqlStatus;
};

// No link to the server: connecting failed, or the link broke before or during a statement.
class EVerbindungsfehler : public EDatenbankfehler
{
public:
    EVerbindungsfehler(const QString& meldung, unsigned int nummer = 0,
                       const QByteArray& sqlStatus = QByteArrayLiteral("08000"));
};

// The layer was used wrongly: an unknown parameter or column name, a closed query, a nested
// transaction.
class EAbfragefehler : public EFehler
{
public:
    explicit EAbfragefehler(const QString& meldung);
};
