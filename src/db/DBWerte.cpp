// Date text forms: the station's regional format is dd.mm.yyyy and hh:mm:ss.
#include "DBWerte.h"

#include "DBFehler.h"

using namespace Qt::Literals::StringLiterals;

namespace {

bool IstZiffer(char z)
{
    return z >= '0' && z <= '9';
}

// Checks the shape "YYYY-MM-DD" at the start of the value.
bool HatIsoDatum(QByteArrayView w)
{
    if (w.size() < 10 || w[4] != '-' || w[7] != '-')
        return false;
    for (qsizetype i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!IstZiffer(w[i]))
            return false;
    }
    return true;
}

QString DeutschesDatum(QByteArrayView w)
{
    QString text = QString::fromLatin1(w.sliced(8, 2));
    text += u'.';
    text += QString::fromLatin1(w.sliced(5, 2));
    text += u'.';
    text += QString::fromLatin1(w.first(4));
    return text;
}

QByteArray IsoDatum(const QDate& datum)
{
    if (!datum.isValid() || datum.year() < 1 || datum.year() > 9999)
        throw EAbfragefehler(u"Das Datum liegt außerhalb des Bereichs der Datenbank."_s);
    return QByteArray::number(datum.year()).rightJustified(4, '0') + '-' +
           QByteArray::number(datum.month()).rightJustified(2, '0') + '-' +
           QByteArray::number(datum.day()).rightJustified(2, '0');
}

} // namespace

namespace DBWerte {

bool IstNullDatum(QByteArrayView wert)
{
    return wert.startsWith("0000-00-00");
}

QString DatumText(QByteArrayView wert)
{
    if (wert.size() != 10 || !HatIsoDatum(wert))
        return QString::fromUtf8(wert);
    return DeutschesDatum(wert);
}

QString DatumZeitText(QByteArrayView wert)
{
    if (wert.size() < 19 || !HatIsoDatum(wert) || wert[10] != ' ')
        return QString::fromUtf8(wert);
    const QByteArrayView zeit = wert.sliced(11);
    bool mitternacht = zeit.startsWith("00:00:00");
    for (qsizetype i = 8; mitternacht && i < zeit.size(); ++i)
        mitternacht = zeit[i] == '.' || zeit[i] == '0';
    if (mitternacht)
        return DeutschesDatum(wert);
    return DeutschesDatum(wert) + u' ' + QString::fromLatin1(zeit.first(8));
}

QByteArray DatumLiteral(const QDate& datum)
{
    return '\'' + IsoDatum(datum) + '\'';
}

QByteArray DatumZeitLiteral(const QDateTime& zeitpunkt)
{
    if (!zeitpunkt.isValid())
        throw EAbfragefehler(u"Ungültiger Zeitpunkt."_s);
    const QTime zeit = zeitpunkt.time();
    return '\'' + IsoDatum(zeitpunkt.date()) + ' ' +
           QByteArray::number(zeit.hour()).rightJustified(2, '0') + ':' +
           QByteArray::number(zeit.minute()).rightJustified(2, '0') + ':' +
           QByteArray::number(zeit.second()).rightJustified(2, '0') + '\'';
}

QString TextMaskiert(const QString& text)
{
    QString ergebnis;
    ergebnis.reserve(text.size() + 8);
    for (const QChar z : text) {
        switch (z.unicode()) {
        case u'\\':
        case u'"':
        case u'\'':
            ergebnis += u'\\';
            ergebnis += z;
            break;
        case 0:
            ergebnis += u"\\0"_s;
            break;
        case u'\r':
            ergebnis += u"\\r"_s;
            break;
        case u'\n':
            ergebnis += u"\\n"_s;
            break;
        case 0x1A:
            ergebnis += u"\\Z"_s;
            break;
        default:
            ergebnis += z;
        }
    }
    return ergebnis;
}

QString MusterMaskiert(const QString& muster)
{
    return TextMaskiert(QString(muster).replace(u'\\', u"\\\\"_s));
}

} // namespace DBWerte
