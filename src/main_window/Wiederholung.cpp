// The waits between tries and the welcome card's note about them.
#include "Wiederholung.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

void TWiederholung::Beginnen()
{
    FAktiv = true;
    FWartezeit = kErsteSekunden;
    FRest = FWartezeit;
}

bool TWiederholung::Tick()
{
    if (!FAktiv)
        return false;
    if (FRest > 0)
        --FRest;
    return FRest == 0;
}

void TWiederholung::Fehlgeschlagen()
{
    FWartezeit = std::min(FWartezeit * 2, kHoechstSekunden);
    FRest = FWartezeit;
}

namespace Wiederholung {

QString Hinweis(bool keineVerbindung, int restSekunden, const QString& detail)
{
    const QString was = keineVerbindung ? u"Keine Verbindung zur Datenbank"_s
                                        : u"Die Abteilungen konnten nicht geladen werden"_s;
    const QString wann =
        restSekunden > 0 ? u"neuer Versuch in %1 s"_s.arg(restSekunden) : u"neuer Versuch läuft"_s;
    return was + u" – "_s + wann + u'\n' + detail;
}

QString HinweisEinstellungen()
{
    return u"Die Einstellungen.ini ist nicht verwendbar – bitte korrigieren und die Station neu "
           u"starten."_s;
}

} // namespace Wiederholung
