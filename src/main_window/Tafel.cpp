// The tile colour by calendar day and the pages of the board.
#include "Tafel.h"

#include "uFehler.h"

#include <QTime>

using namespace Qt::Literals::StringLiterals;

namespace Tafel {

namespace {

// The number in the digits text[von, von + stellen); -1 when one of them is no digit.
int Zahl(QStringView text, qsizetype von, qsizetype stellen)
{
    int zahl = 0;
    for (const QChar c : text.mid(von, stellen)) {
        if (c < u'0' || c > u'9')
            return -1;
        zahl = zahl * 10 + (c.unicode() - u'0');
    }
    return zahl;
}

} // namespace

bool AmTagGemessen(const QString& datumEsdMessung, const QDate& tag)
{
    // Read by hand: each tile asks, and a parse through QDateTime looked up the time zone
    // every time, which cost the board a tenth of its own work. Only the day counts; the time,
    // where there is one, must still be a real one.
    const QStringView text = QStringView(datumEsdMessung).trimmed();
    if (text.size() != 10 && text.size() != 19)
        return false;
    if (text[2] != u'.' || text[5] != u'.')
        return false;
    const QDate datum(Zahl(text, 6, 4), Zahl(text, 3, 2), Zahl(text, 0, 2));
    if (!datum.isValid() || Zahl(text, 6, 4) < 0)
        return false;
    if (text.size() == 19) {
        if (text[10] != u' ' || text[13] != u':' || text[16] != u':' ||
            !QTime::isValid(Zahl(text, 11, 2), Zahl(text, 14, 2), Zahl(text, 17, 2)))
            return false;
    }
    return datum == tag;
}

int Seitenzahl(int anzahlMitarbeiter, int jeSeite)
{
    return anzahlMitarbeiter <= 0 ? 1 : (anzahlMitarbeiter + jeSeite - 1) / jeSeite;
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
