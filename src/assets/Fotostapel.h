// Photos decoded on the thread pool while their owner goes on loading the next ones.
#pragma once

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QSize>

#include <deque>
#include <exception>
#include <vector>

// One photo: the caller's number for it, the JPEG data and the pixel size in; the picture or
// what Bilder::DekodiereFoto threw out.
struct TFoto
{
    int Nummer = 0;
    QByteArray Jpeg;
    QSize Groesse;
    QImage Bild;
    std::exception_ptr Fehler;
};

// Each photo starts decoding on Qt's global thread pool as soon as it is added, so decoding
// overlaps with the caller's next database round trips; a waiting caller decodes too.
class TFotostapel
{
public:
    TFotostapel() = default;
    // Waits for the photos still decoding: they write into this stack.
    ~TFotostapel();
    TFotostapel(const TFotostapel&) = delete;
    TFotostapel& operator=(const TFotostapel&) = delete;

    void Dekodiere(int nummer, QByteArray jpeg, QSize groesse);
    // Waits until every photo is decoded; they come in the order they were added.
    std::deque<TFoto>& Fertig();

private:
    // A deque: adding a photo moves none of those being decoded.
    std::deque<TFoto> FFotos;
    std::vector<QFuture<void>> FLaeufe;
};
