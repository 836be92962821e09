// A named parameter of a query and the value it binds.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

class TDBParameter
{
public:
    enum class TArt
    {
        Null,
        Text,
        Datum,
        DatumZeit,
        Memo,
        Blob
    };

    explicit TDBParameter(QString name) : FName(std::move(name)) {}

    const QString& Name() const { return FName; }
    TArt Art() const { return FArt; }
    bool IsNull() const { return FArt == TArt::Null; }

    // An empty text binds an empty text, never NULL.
    void SetAsString(const QString& wert);
    void SetAsDate(const QDate& wert);
    void SetAsDateTime(const QDateTime& wert);
    void SetAsMemo(const QString& wert);
    void SetAsBlob(const QByteArray& wert);
    // Binds NULL, as an unset parameter does.
    void Clear();

    QString AsString() const;
    const QDate& AsDate() const { return FDatum; }
    const QDateTime& AsDateTime() const { return FZeitpunkt; }
    const QByteArray& AsBlob() const { return FBytes; }

private:
    QString FName;
    TArt FArt = TArt::Null;
    QString FText;
    QDate FDatum;
    QDateTime FZeitpunkt;
    QByteArray FBytes;
};
