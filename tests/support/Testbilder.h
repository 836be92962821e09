// Pictures as the database holds them: encoded bytes of a given format.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

inline QByteArray Kodiert(const QImage& bild, const char* format, int qualitaet = -1)
{
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, format, qualitaet);
    return daten;
}
