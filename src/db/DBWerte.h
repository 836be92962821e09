// Text forms of date columns as the station shows them, and SQL literals of bound values.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QString>

namespace DBWerte {

// The server's "0000-00-00" (and "0000-00-00 00:00:00") means "no date"; it reads like NULL.
bool IstNullDatum(QByteArrayView wert);

// "YYYY-MM-DD" as "DD.MM.YYYY". A value in another form is returned as it stands.
QString DatumText(QByteArrayView wert);

// "YYYY-MM-DD hh:mm:ss[.ffffff]" as "DD.MM.YYYY hh:mm:ss"; exactly midnight as "DD.MM.YYYY".
QString DatumZeitText(QByteArrayView wert);

// Quoted literals for a statement: 'YYYY-MM-DD' and 'YYYY-MM-DD hh:mm:ss' (whole seconds, the
// clock time as given). Throw EAbfragefehler for an invalid value or a year outside 1..9999.
QByteArray DatumLiteral(const QDate& datum);
QByteArray DatumZeitLiteral(const QDateTime& zeitpunkt);

// The text with backslash, both quote characters, NUL, CR, LF and Ctrl-Z escaped by a
// backslash, to stand between the quotes of a string literal (either kind) without ending it.
// "%" and "_" stay as they are, so inside a Like pattern they keep their pattern meaning. The
// connection keeps backslash escapes switched on for this.
QString TextMaskiert(const QString& text);

// The same for a Like pattern: a backslash also stands for itself in the pattern, so that only
// "%" and "_" are pattern characters.
QString MusterMaskiert(const QString& muster);

} // namespace DBWerte
