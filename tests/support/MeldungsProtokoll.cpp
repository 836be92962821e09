// Replaces the on-screen handler for a test's duration.
#include "MeldungsProtokoll.h"

TMeldungsProtokoll::TMeldungsProtokoll()
{
    FVorher = Meldung::SetzeHandler([this](Meldung::Art art, const QString& text) {
        FEintraege.append({art, text});
        if (art != Meldung::Art::Frage)
            return Meldung::Antwort::Ok;
        return FAntworten.isEmpty() ? Meldung::Antwort::Nein : FAntworten.takeFirst();
    });
    FKurzVorher = Meldung::SetzeKurzHandler([this](const QString& titel, const QString& text1) {
        FKurzmeldungen.append(titel + u'|' + text1);
    });
}

TMeldungsProtokoll::~TMeldungsProtokoll()
{
    Meldung::SetzeKurzHandler(FKurzVorher);
    Meldung::SetzeHandler(FVorher);
}

QStringList TMeldungsProtokoll::Texte() const
{
    QStringList texte;
    for (const TEintrag& e : FEintraege)
        texte.append(e.text);
    return texte;
}
