// Bursts of keys, by the time between them.
#include "Ausweisleser.h"

void TAusweisleser::Zeichen(QChar zeichen, qint64 zeitMs)
{
    if (zeichen.isSpace() || !zeichen.isPrint()) {
        Verwerfen();
        return;
    }
    if (!FPuffer.isEmpty() && zeitMs - FLetzte >= kHoechstabstandMs)
        FPuffer.clear();
    if (FPuffer.size() >= kHoechstzeichen) {
        Verwerfen();
        return;
    }
    FPuffer += zeichen;
    FLetzte = zeitMs;
}

std::optional<QString> TAusweisleser::Eingabe(qint64 zeitMs)
{
    std::optional<QString> nummer;
    if (FPuffer.size() >= kMindestzeichen && zeitMs - FLetzte < kHoechstabstandMs &&
        zeitMs >= FLetzte)
        nummer = FPuffer;
    Verwerfen();
    return nummer;
}

void TAusweisleser::Verwerfen()
{
    FPuffer.clear();
    FLetzte = 0;
}
