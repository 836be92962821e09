// Writes a report table as a CSV file a German spreadsheet opens without an import dialog.
#pragma once

#include <QByteArray>
#include <QString>

struct TTabelle;

namespace Csv {

// UTF-8 with byte-order mark, ';' between cells, CR LF between rows; a cell with a separator,
// quote, line break or outer blank is quoted, its quotes doubled. A text cell that begins with
// "=", "+", "-", "@", a tab or CR gets a leading apostrophe, so no spreadsheet runs it.
QByteArray Text(const TTabelle& tabelle);
// Into verzeichnis/<Datei>.csv, replaced whole or not at all; throws EFehler when that fails.
QString Schreiben(const TTabelle& tabelle, const QString& verzeichnis);

} // namespace Csv
