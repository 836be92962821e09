// The tile colour by calendar day and the pages of the board.
#include "Tafel.h"

#include "uFehler.h"

#include <QDateTime>

using namespace Qt::Literals::StringLiterals;

namespace Tafel {

bool AmTagGemessen(const QString& datumEsdMessung, const QDate& tag)
{
    const QString text = datumEsdMessung.trimmed();
    QDateTime zeit = QDateTime::fromString(text, u"dd.MM.yyyy hh:mm:ss"_s);
    if (!zeit.isValid())
        zeit = QDateTime(QDate::fromString(text, u"dd.MM.yyyy"_s), QTime(0, 0));
    return zeit.isValid() && zeit.date() == tag;
}

int Seitenzahl(int anzahlMitarbeiter)
{
    return anzahlMitarbeiter <= 0 ? 1 : (anzahlMitarbeiter + kKachelnJeSeite - 1) / kKachelnJeSeite;
}

QString Uebertragungshinweis(bool offline, int wartend)
{
    const QString warten = wartend == 1 ? u"1 Messung wartet auf Übertragung"_s
                                        : u"%1 Messungen warten auf Übertragung"_s.arg(wartend);
    if (offline)
        return wartend > 0 ? u"Offline – "_s + warten
                           : u"Offline – Messungen werden in der Station gespeichert"_s;
    return wartend > 0 ? warten : QString();
}

} // namespace Tafel
