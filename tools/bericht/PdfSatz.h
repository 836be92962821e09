// Sets a report onto A4 pages of a PDF: title block, headings, text, tables, pictures, page
// numbers.
#pragma once

#include "Tabelle.h"

#include <QDateTime>
#include <QList>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

struct TTitelblock
{
    QString Titel;
    QString Mandant;
    QString Zeitraum;
    QDateTime Erstellt;
    QString Version;
};

// Collects the blocks first and sets them twice: once to count the pages, once to write, so every
// footer can say "Seite n von m".
class TPdfSatz
{
public:
    using TZeichnung = std::function<void(QPainter&, const QRectF&)>;
    // Draws the picture cell of the given row.
    using TZellbild = std::function<void(QPainter&, const QRectF&, qsizetype zeile)>;

    explicit TPdfSatz(TTitelblock titel);

    void Ueberschrift(const QString& text);
    void Absatz(const QString& text);
    // Cells wrap within their column; the header row repeats on every page the table reaches.
    void Tabelle(const TTabelle& tabelle);
    // With a last column of pictures of the given width, one per row.
    void Tabelle(const TTabelle& tabelle, const QString& bildspalte, qreal breiteMm,
                 TZellbild bild);
    // A picture of the given height across the text width, drawn into the rectangle given.
    void Bild(qreal hoeheMm, TZeichnung zeichnen);

    // Throws EFehler when the file cannot be written.
    void Schreiben(const QString& pfad) const;

private:
    struct TBlock
    {
        enum class TArt
        {
            Ueberschrift,
            Absatz,
            Tabelle,
            Bild
        } Art;
        QString Text;
        TTabelle Inhalt;
        qreal HoeheMm = 0; // a picture's height, or the width of a table's picture column
        TZeichnung Zeichnen;
        QString Bildspalte;
        TZellbild Zellbild;
    };
    class TSetzer;

    TTitelblock FTitel;
    std::vector<TBlock> FBloecke;
};
