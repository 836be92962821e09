// Records every message (modal boxes and short confirmations) while it lives and answers questions
// from a queue, so tests see the system's messages without a person at the screen.
#pragma once

#include "uMeldung.h"

#include <QList>
#include <QString>
#include <QStringList>

class TMeldungsProtokoll
{
public:
    struct TEintrag
    {
        Meldung::Art art;
        QString text;
    };

    TMeldungsProtokoll();
    ~TMeldungsProtokoll();
    TMeldungsProtokoll(const TMeldungsProtokoll&) = delete;
    TMeldungsProtokoll& operator=(const TMeldungsProtokoll&) = delete;

    // Answers of the next questions, in order; without one a question gets No.
    void NaechsteAntwort(Meldung::Antwort antwort) { FAntworten.append(antwort); }

    const QList<TEintrag>& Eintraege() const { return FEintraege; }
    // Short confirmations as "title|text".
    const QStringList& Kurzmeldungen() const { return FKurzmeldungen; }
    QStringList Texte() const;
    void Leeren()
    {
        FEintraege.clear();
        FKurzmeldungen.clear();
    }

private:
    QList<TEintrag> FEintraege;
    QList<Meldung::Antwort> FAntworten;
    QStringList FKurzmeldungen;
    Meldung::Handler FVorher;
    Meldung::KurzHandler FKurzVorher;
};
