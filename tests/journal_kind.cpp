// A station in a child process for tst_journal_absturz: journals and forwards with the real code
// and reports every step that is done on stdout, so the parent that kills it knows what was
// durable at that moment.
//
// journal_kind MODUS VERZEICHNIS ANZAHL PORT DATENBANK BREMSE
//   eintragen     journals ANZAHL results (0: until killed), then holds the journal
//   weiterleiten  journals ANZAHL results, forwards them to the server, then holds the journal
#include "Buchung.h"
#include "DBVerbindung.h"
#include "Journal.h"
#include "TestServer.h"
#include "Weiterleitung.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <limits>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QDateTime kBeginn = QDateTime::fromString(QStringLiteral("2026-12-10 06:00:00"),
                                                QStringLiteral("yyyy-MM-dd hh:mm:ss"));

// One line per write: a line in the pipe is a step that was complete before the kill.
void Melden(const char* was, const QString& text)
{
    std::fprintf(stdout, "%s %s\n", was, qPrintable(text));
    std::fflush(stdout);
}

[[noreturn]] void Halten()
{
    for (;;)
        pause();
}

// Passes and fails of two employees, one second apart.
TBuchungswerte Werte(int nr)
{
    TBuchungswerte werte = Buchung::NeuesErgebnis();
    const bool ok = nr % 3 != 2;
    werte.Mitarbeiter_ID = nr % 2 == 0 ? QStringLiteral("91") : QStringLiteral("92");
    werte.Name = QStringLiteral("ma") + werte.Mitarbeiter_ID;
    werte.Messwert1 = ok ? QStringLiteral(" 0.35") : QStringLiteral("-1.5");
    werte.Messwert2 = QStringLiteral(" 0.40");
    werte.Messwert3 = QStringLiteral(" 1.1");
    werte.Fehlercode = ok ? QString() : QStringLiteral(" 40");
    werte.Messwerte_OK = ok;
    werte.Zeitstempel = kBeginn.addSecs(nr);
    return werte;
}

} // namespace

int main(int argc, char* argv[])
{
    // A test that dies takes its station with it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    const QStringList argumente = app.arguments();
    if (argumente.size() != 7) {
        std::fputs("journal_kind MODUS VERZEICHNIS ANZAHL PORT DATENBANK BREMSE\n", stderr);
        return 2;
    }
    const QString modus = argumente[1];
    const int anzahl =
        argumente[3].toInt() > 0 ? argumente[3].toInt() : std::numeric_limits<int>::max();
    const int port = argumente[4].toInt();
    const QString datenbank = argumente[5];
    // Stops after this many forwarded, between the commit and the journal's mark: the parent's
    // kill then lands before the last result however slowly it reads.
    const int bremse = argumente[6].toInt();

    try {
        TJournal journal(argumente[2]);
        for (int nr = 0; nr < anzahl; ++nr) {
            const TBuchungswerte werte = Werte(nr);
            const Buchung::TErgebnis ergebnis = Weiterleitung::Vormerken(journal, werte);
            if (!ergebnis.Gespeichert) {
                Melden("failed", werte.Kennung + u' ' + ergebnis.Meldung);
                return 1;
            }
            Melden("journaled", werte.Kennung);
        }
        if (modus == QStringLiteral("weiterleiten")) {
            TWeiterleitung weiterleitung(journal, [&](TDBVerbindung& verbindung) {
                verbindung.SetServer(QStringLiteral("127.0.0.1"));
                verbindung.SetPort(port);
                verbindung.SetUsername(QString::fromLatin1(TTestServer::kBenutzer));
                verbindung.SetPassword(QString::fromLatin1(TTestServer::kPasswort));
                verbindung.SetDatabase(datenbank);
            });
            int weitergeleitet = 0;
            TWeiterleitung::TBeobachter beobachter;
            beobachter.Erledigt = [&](const QString& kennung, const Buchung::TErgebnis& ergebnis) {
                if (!ergebnis.Gespeichert) {
                    Melden("failed",
                           kennung + u' ' + ergebnis.Fehlernummer + u':' + ergebnis.Meldung);
                    return;
                }
                Melden("forwarded", kennung);
                if (++weitergeleitet == bremse)
                    Halten();
            };
            weiterleitung.SetzeBeobachter(std::move(beobachter));
            weiterleitung.Weiterleiten();
        }
        std::fputs("holding\n", stdout);
        std::fflush(stdout);
    } catch (const std::exception& fehler) {
        Melden("failed", TypNameVon(fehler) + u':' + MeldungVon(fehler));
        return 1;
    }
    Halten();
}
