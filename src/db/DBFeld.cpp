// Column reads in the station's text forms.
#include "DBFeld.h"

#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBWerte.h"

#include <QBuffer>

using namespace Qt::Literals::StringLiterals;

TDBFeld::TDBFeld(const TDBAbfrage* abfrage, int index, const QString& name)
    : FAbfrage(abfrage), FGeneration(abfrage->Generation()), FIndex(index), FName(name)
{}

const TDBErgebnis& TDBFeld::Ergebnis() const
{
    if (!FAbfrage || FAbfrage->Generation() != FGeneration || !FAbfrage->Ergebnis()) {
        throw EAbfragefehler(
            u"Das Feld '%1' gehört zu einer Datenmenge, die nicht mehr offen ist."_s.arg(FName));
    }
    return *FAbfrage->Ergebnis();
}

bool TDBFeld::Wert(QByteArrayView& wert) const
{
    const TDBErgebnis& ergebnis = Ergebnis();
    const int zeile = FAbfrage->AktuelleZeile();
    if (zeile < 0 || ergebnis.IstNull(zeile, FIndex))
        return false;
    wert = ergebnis.Wert(zeile, FIndex);
    const TDBErgebnis::TArt art = ergebnis.Spalte(FIndex).Art;
    return !((art == TDBErgebnis::TArt::Datum || art == TDBErgebnis::TArt::DatumZeit) &&
             DBWerte::IstNullDatum(wert));
}

TDBErgebnis::TArt TDBFeld::DataType() const
{
    return Ergebnis().Spalte(FIndex).Art;
}

bool TDBFeld::IsBlob() const
{
    return Ergebnis().Spalte(FIndex).Blob;
}

bool TDBFeld::IsNull() const
{
    QByteArrayView wert;
    return !Wert(wert);
}

QString TDBFeld::AsString() const
{
    QByteArrayView wert;
    if (!Wert(wert))
        return QString();
    switch (DataType()) {
    case TDBErgebnis::TArt::Datum:
        return DBWerte::DatumText(wert);
    case TDBErgebnis::TArt::DatumZeit:
        return DBWerte::DatumZeitText(wert);
    case TDBErgebnis::TArt::Blob:
    case TDBErgebnis::TArt::Bytes:
        return QString::fromLatin1(wert);
    default:
        return QString::fromUtf8(wert);
    }
}

qint32 TDBFeld::AsInteger() const
{
    QByteArrayView wert;
    if (!Wert(wert))
        return 0;
    return StrToInt(QString::fromUtf8(wert));
}

bool TDBFeld::AsBoolean() const
{
    const QString text = AsString();
    return !text.isEmpty() &&
           (text[0] == u'T' || text[0] == u't' || text[0] == u'Y' || text[0] == u'y');
}

QVariant TDBFeld::AsVariant() const
{
    QByteArrayView wert;
    if (!Wert(wert))
        return QVariant();
    switch (DataType()) {
    case TDBErgebnis::TArt::Ganzzahl: {
        bool ok = false;
        const qlonglong zahl = wert.toLongLong(&ok);
        return ok ? QVariant(zahl) : QVariant(QString::fromUtf8(wert));
    }
    case TDBErgebnis::TArt::Datum:
        return QDate::fromString(QString::fromLatin1(wert), Qt::ISODate);
    case TDBErgebnis::TArt::DatumZeit:
        if (wert.size() < 19)
            return QString::fromUtf8(wert);
        return QDateTime::fromString(QString::fromLatin1(wert.first(19)), u"yyyy-MM-dd HH:mm:ss"_s);
    case TDBErgebnis::TArt::Blob:
    case TDBErgebnis::TArt::Bytes:
        return wert.toByteArray();
    default:
        return QString::fromUtf8(wert);
    }
}

QByteArray TDBFeld::AsBytes() const
{
    QByteArrayView wert;
    return Wert(wert) ? wert.toByteArray() : QByteArray();
}

std::unique_ptr<QIODevice> TDBFeld::CreateBlobStream() const
{
    auto strom = std::make_unique<QBuffer>();
    strom->setData(AsBytes());
    strom->open(QIODevice::ReadOnly);
    return strom;
}
