// Dispatch of modal messages to the installed handler.
#include "uMeldung.h"

#include <QTextStream>

#include <utility>

namespace Meldung {
namespace {

Handler& AktuellerHandler()
{
    static Handler handler;
    return handler;
}

KurzHandler& AktuellerKurzHandler()
{
    static KurzHandler handler;
    return handler;
}

Antwort Melden(Art art, const QString& text)
{
    if (const Handler& handler = AktuellerHandler())
        return handler(art, text);
    QTextStream(stderr) << text << Qt::endl;
    return art == Art::Frage ? Antwort::Nein : Antwort::Ok;
}

} // namespace

void Zeigen(Art art, const QString& text)
{
    Melden(art, text);
}

bool Fragen(const QString& text)
{
    return Melden(Art::Frage, text) == Antwort::Ja;
}

Handler SetzeHandler(Handler handler)
{
    return std::exchange(AktuellerHandler(), std::move(handler));
}

void Kurz(const QString& titel, const QString& text1)
{
    if (const KurzHandler& handler = AktuellerKurzHandler()) {
        handler(titel, text1);
        return;
    }
    QTextStream(stderr) << titel << u' ' << text1 << Qt::endl;
}

KurzHandler SetzeKurzHandler(KurzHandler handler)
{
    return std::exchange(AktuellerKurzHandler(), std::move(handler));
}

} // namespace Meldung
