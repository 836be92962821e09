// The one seam for messages: every OK box, the Yes/No question and the short confirmation of
// the system pass here, so plain logic can report without linking widgets and tests can answer.
#pragma once

#include <QString>

#include <functional>

namespace Meldung {

enum class Art
{
    Hinweis, // plain message box
    Warnung,
    Fehler,
    Frage // Yes/No confirmation
};

enum class Antwort
{
    Ok,
    Ja,
    Nein
};

using Handler = std::function<Antwort(Art art, const QString& text)>;

// Shows an OK box of the given kind and returns when it is closed.
void Zeigen(Art art, const QString& text);

// Asks a Yes/No question; true for Yes.
bool Fragen(const QString& text);

// Installs the handler that shows (or, in tests, records and answers) the messages; returns
// the previous one. Without a handler messages go to standard error and questions get No.
Handler SetzeHandler(Handler handler);

// The short confirmation that shows for a moment and asks nothing; returns at once.
using KurzHandler = std::function<void(const QString& titel, const QString& text1)>;
void Kurz(const QString& titel, const QString& text1);
// Installs the window (or, in tests, the recorder) for short confirmations; returns the
// previous one. Without one they go to standard error.
KurzHandler SetzeKurzHandler(KurzHandler handler);

} // namespace Meldung
