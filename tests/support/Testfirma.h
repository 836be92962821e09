// A small company for the tests that need employees: lookups, employee rows, portraits.
#pragma once

#include "Testbilder.h"

#include <QColor>
#include <QPainter>
#include <QString>
#include <QStringList>

namespace Testfirma {

// Lookups a found contact needs (the schema brings department 1, which never shows).
inline const QString kGrunddaten =
    QStringLiteral("INSERT INTO LAENDER VALUES (1, 'Deutschland');"
                   "INSERT INTO PLZ VALUES (1, '79100', 'Freiburg', 1);"
                   "INSERT INTO VORGABEN_ANREDE VALUES (2, 'Herr');");

// An employee of a department; datum and foto are SQL expressions. The login name is
// "ma<id>" unless given.
inline QString Mitarbeiter(int id, const QString& nachname, const QString& vorname,
                           const QString& datum = QStringLiteral("NULL"),
                           const QString& foto = QStringLiteral("NULL"), int abteilung = 2,
                           const QString& login = QString())
{
    return QStringLiteral(
               "INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, NACHNAME, "
               "VORNAME, MITARBEITER) VALUES (%1, 2, 1, 1, '%2', '%3', 'J');"
               "INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, ABTEILUNG_ID, "
               "MA_ANG_STATUS_ID, LOGINNAME, ESD_MESSUNG, DATUM_ESD_MESSUNG, FOTO) VALUES "
               "(%1, %1, %4, 1, '%7', 'J', %5, %6);")
        .arg(id)
        .arg(nachname, vorname)
        .arg(abteilung)
        .arg(datum, foto, login.isEmpty() ? QStringLiteral("ma%1").arg(id) : login);
}

// The smallest board to measure on: department "Montage" with employee 91, Max Messbar (login
// ma91), last measured two days ago.
inline QString EinMitarbeiter()
{
    return kGrunddaten +
           "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
           Mitarbeiter(91, "Messbar", "Max", "CURDATE() - INTERVAL 2 DAY");
}

// A portrait-like JPEG: a face-coloured disc on a plain background.
inline QByteArray Jpeg(QSize groesse, const QColor& farbe)
{
    QImage bild(groesse, QImage::Format_RGB32);
    bild.fill(farbe);
    QPainter maler(&bild);
    maler.setBrush(farbe.darker(160));
    maler.drawEllipse(QRect(groesse.width() / 4, groesse.height() / 6, groesse.width() / 2,
                            groesse.height() / 2));
    maler.end();
    return Kodiert(bild, "JPG", 85);
}

// The server's tab-separated output as one "a|b|c" text per row.
inline QStringList Zeilen(const QString& ausgabe)
{
    QStringList zeilen;
    for (const QString& zeile : ausgabe.split(u'\n', Qt::SkipEmptyParts))
        zeilen << zeile.split(u'\t').join(u'|');
    return zeilen;
}

} // namespace Testfirma
