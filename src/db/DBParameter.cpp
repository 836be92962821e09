// Parameter values; the query turns them into literals when it runs.
#include "DBParameter.h"

using namespace Qt::Literals::StringLiterals;

void TDBParameter::SetAsString(const QString& wert)
{
    Clear();
    FArt = TArt::Text;
    FText = wert;
}

void TDBParameter::SetAsDate(const QDate& wert)
{
    Clear();
    FArt = TArt::Datum;
    FDatum = wert;
}

void TDBParameter::SetAsDateTime(const QDateTime& wert)
{
    Clear();
    FArt = TArt::DatumZeit;
    FZeitpunkt = wert;
}

void TDBParameter::SetAsMemo(const QString& wert)
{
    Clear();
    FArt = TArt::Memo;
    FText = wert;
}

void TDBParameter::SetAsBlob(const QByteArray& wert)
{
    Clear();
    FArt = TArt::Blob;
    FBytes = wert;
}

void TDBParameter::Clear()
{
    FArt = TArt::Null;
    FText.clear();
    FDatum = QDate();
    FZeitpunkt = QDateTime();
    FBytes.clear();
}

QString TDBParameter::AsString() const
{
    switch (FArt) {
    case TArt::Text:
    case TArt::Memo:
        return FText;
    case TArt::Datum:
        return FDatum.toString(u"dd.MM.yyyy"_s);
    case TArt::DatumZeit:
        return FZeitpunkt.toString(u"dd.MM.yyyy HH:mm:ss"_s);
    case TArt::Blob:
        return QString::fromLatin1(FBytes);
    case TArt::Null:
        break;
    }
    return QString();
}
