// A report table as text cells: what the CSV files and the PDF both show, formatted once.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

struct TTagesbericht;
struct TZeitraumbericht;

struct TTabelle
{
    QString Datei; // file name without the extension
    QString Titel;
    QStringList Spalten;
    QList<QStringList> Zeilen;
};

// Cells in German notation, so a German spreadsheet reads numbers and dates as such.
namespace Zelle {
QString Zahl(qint64 wert);
// A tester value: a number keeps its digits with a decimal comma; anything else ("OVR") stays.
QString Messwert(const QString& wert);
QString Datum(const QDate& tag);
QString Zeit(const QDateTime& zeit);
QString DatumZeit(const QDateTime& zeit);
} // namespace Zelle

// Departments, the exception list and the failed measurements, in that order.
QList<TTabelle> Tabellen(const TTagesbericht& bericht);

// Days, reasons, employees and every employee's values over time, in that order.
QList<TTabelle> Tabellen(const TZeitraumbericht& bericht);
