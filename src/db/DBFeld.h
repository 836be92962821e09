// A column of an open query, read at the query's current row.
#pragma once

#include "DBErgebnis.h"

#include <QByteArray>
#include <QIODevice>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <memory>

class TDBAbfrage;

// A light handle: it stays valid until its query is closed or opened again; after that every
// read throws EAbfragefehler instead of reading another result.
class TDBFeld
{
public:
    TDBFeld() = default;

    // False for a handle that was never given a column (a null reference).
    bool Assigned() const { return FIndex >= 0; }
    const QString& FieldName() const { return FName; }
    TDBErgebnis::TArt DataType() const;
    // BLOB and TEXT columns.
    bool IsBlob() const;

    // NULL, a zero date, and any read without a current row.
    bool IsNull() const;
    // Texts as stored, numbers in decimal, dates as dd.mm.yyyy, date-times as
    // dd.mm.yyyy hh:mm:ss (the time left out at exactly midnight); NULL as the empty text.
    QString AsString() const;
    QString AsWideString() const { return AsString(); }
    // NULL reads as 0; a text that is no whole number throws EUmwandlungsfehler.
    qint32 AsInteger() const;
    // True only for a text that starts with T, t, Y or y.
    bool AsBoolean() const;
    // Typed: integer, QDate, QDateTime, QByteArray for binary columns, text otherwise; invalid
    // for NULL.
    QVariant AsVariant() const;
    QByteArray AsBytes() const;
    // A readable stream over the column's bytes; the caller owns it.
    std::unique_ptr<QIODevice> CreateBlobStream() const;

private:
    friend class TDBAbfrage;
    TDBFeld(const TDBAbfrage* abfrage, int index, const QString& name);

    const TDBErgebnis& Ergebnis() const;
    // The raw value at the current row; false for NULL or no current row.
    bool Wert(QByteArrayView& wert) const;

    QPointer<const TDBAbfrage> FAbfrage;
    quint64 FGeneration = 0;
    int FIndex = -1;
    QString FName;
};
