// Plain rules of the employee board: its statements, the tile colour, the pages, the photos.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QImage>
#include <QSize>
#include <QString>

// The statements live with the data module, so reports without screens build them too.
#include "TafelAbfragen.h"

namespace Tafel {

// Tiles on one page of the board.
constexpr int kKachelnJeSeite = 24;
// Panel colours: measured today, and not.
inline const QColor kGruen{0, 128, 0};
inline const QColor kRot{255, 0, 0};

// True when the stored measurement time ("dd.MM.yyyy hh:mm:ss" or "dd.MM.yyyy") falls on
// the given day; an empty or unreadable text never does.
bool AmTagGemessen(const QString& datumEsdMessung, const QDate& tag);

// Pages needed for that many employees; at least one.
int Seitenzahl(int anzahlMitarbeiter, int jeSeite = kKachelnJeSeite);

// The title bar's note on the server: empty when the station is online and nothing waits.
QString Uebertragungshinweis(bool offline, int wartend);

} // namespace Tafel
