// Error types of the database layer.
#include "DBFehler.h"

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
