// The reports as PDF documents for an audit.
#pragma once

#include <QDateTime>
#include <QString>

struct TTagesbericht;
struct TZeitraumbericht;

// What the title block says besides the report's own tenant and period.
struct TErstellung
{
    QDateTime Zeitpunkt;
    QString Version; // "teststation-bericht 0.1"
};

// Throws EFehler when the file cannot be written.
void TagesberichtPdf(const TTagesbericht& bericht, const TErstellung& erstellung,
                     const QString& pfad);
// Draws its chart with Qt Charts: needs a QApplication.
void ZeitraumberichtPdf(const TZeitraumbericht& bericht, const TErstellung& erstellung,
                        const QString& pfad);
