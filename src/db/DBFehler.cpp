// Error types of the database layer.
#include "DBFehler.h"

#include <mysqld_error.h>

static_assert(Serverfehler::kDoppelterSchluessel == ER_DUP_ENTRY);
static_assert(Serverfehler::kUnbekannteSpalte == ER_BAD_FIELD_ERROR);
static_assert(Serverfehler::kTabelleVerboten == ER_TABLEACCESS_DENIED_ERROR);
static_assert(Serverfehler::kSpalteVerboten == ER_COLUMNACCESS_DENIED_ERROR);
static_assert(Serverfehler::kTabelleFehlt == ER_NO_SUCH_TABLE);
static_assert(Serverfehler::kKonflikt == ER_LOCK_DEADLOCK);

using namespace Qt::Literals::StringLiterals;

EDatenbankfehler::EDatenbankfehler(const QString& meldung, unsigned int nummer,
                                   const QByteArray& sqlStatus)
    : EDatenbankfehler(u"EDatenbankfehler"_s, meldung, nummer, sqlStatus)
{}

EDatenbankfehler::EDatenbankfehler(const QString& typName, const QString& meldung,
                                   unsigned int nummer, const QByteArray& sqlStatus)
    : EFehler(typName, meldung), FNummer(nummer), FSqlStatus(sqlStatus)
{}

EVerbindungsfehler::EVerbindungsfehler(const QString& meldung, unsigned int nummer,
                                       const QByteArray& sqlStatus)
    : EDatenbankfehler(u"EVerbindungsfehler"_s, meldung, nummer, sqlStatus)
{}

EAbfragefehler::EAbfragefehler(const QString& meldung) : EFehler(u"EAbfragefehler"_s, meldung) {}
