// Error types and the checked text-to-number conversion.
#include "uFehler.h"

#include <limits>

using namespace Qt::Literals::StringLiterals;

EFehler::EFehler(QString typName, QString meldung)
    : FTypName(std::move(typName)), FMeldung(std::move(meldung)),
      FWhat((FTypName + QLatin1Char(':') + FMeldung).toStdString())
{}

EUmwandlungsfehler::EUmwandlungsfehler(const QString& meldung)
    : EFehler(u"EUmwandlungsfehler"_s, meldung)
{}

qint32 StrToInt(const QString& text)
{
    qsizetype i = 0;
    bool negativ = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negativ = text[i++] == u'-';
    qint64 wert = 0;
    const qint64 grenze = qint64(std::numeric_limits<qint32>::max()) + (negativ ? 1 : 0);
    const qsizetype ziffernBeginn = i;
    for (; i < text.size(); ++i) {
        const char16_t z = text[i].unicode();
        if (z < u'0' || z > u'9' || (wert = wert * 10 + (z - u'0')) > grenze)
            break;
    }
    if (i == ziffernBeginn || i != text.size())
        throw EUmwandlungsfehler(u"'%1' ist kein gültiger Ganzzahlwert"_s.arg(text));
    return static_cast<qint32>(negativ ? -wert : wert);
}

QString TypNameVon(const std::exception& fehler)
{
    if (const auto* eigener = dynamic_cast<const EFehler*>(&fehler))
        return eigener->TypName();
    return u"Exception"_s;
}

QString MeldungVon(const std::exception& fehler)
{
    if (const auto* eigener = dynamic_cast<const EFehler*>(&fehler))
        return eigener->Meldung();
    return QString::fromLocal8Bit(fehler.what());
}
