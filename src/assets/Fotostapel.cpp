// Photos decoded on the thread pool.
#include "Fotostapel.h"

#include "Bilder.h"

#include <QtConcurrentRun>

#include <utility>

TFotostapel::~TFotostapel()
{
    Fertig();
}

void TFotostapel::Dekodiere(int nummer, QByteArray jpeg, QSize groesse)
{
    TFoto& foto = FFotos.emplace_back();
    foto.Nummer = nummer;
    foto.Jpeg = std::move(jpeg);
    foto.Groesse = groesse;
    FLaeufe.push_back(QtConcurrent::run([&foto] {
        try {
            foto.Bild = Bilder::DekodiereFoto(foto.Jpeg, foto.Groesse);
        } catch (...) {
            foto.Fehler = std::current_exception();
        }
        // The data is no longer needed; a full page need not hold it until it is shown.
        foto.Jpeg = QByteArray();
    }));
}

std::deque<TFoto>& TFotostapel::Fertig()
{
    // A photo that no pool thread has started yet is taken over by this thread.
    for (QFuture<void>& lauf : FLaeufe)
        lauf.waitForFinished();
    FLaeufe.clear();
    return FFotos;
}
