// What the station stores for a tester result, derived through its own line evaluation.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace Demofirma {

// The columns of one measurement row, as the measurement screen passes them to the recording.
struct TMesswerte
{
    QString Schuh_L;
    QString Schuh_R;
    QString Armband;
    QString Fehlercode;
    bool Ok = false;
};

// The values at the evaluation's store request for these unframed tester lines; nullopt when
// the lines end in no storable result.
std::optional<TMesswerte> Messwerte(const QList<QByteArray>& zeilen);

} // namespace Demofirma
