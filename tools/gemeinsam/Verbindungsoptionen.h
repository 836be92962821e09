// The database options of the command-line tools, spelled alike in each so that scripts can pass
// the same values to all of them.
#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;
class QIODevice;
class QTextStream;

struct TVerbindungsoptionen
{
    // Exit status of every tool for a wrong call.
    static constexpr int kFalscheEingabe = 2;

    explicit TVerbindungsoptionen(const QString& datenbankHilfe);

    QCommandLineOption Hilfe;
    QCommandLineOption Hostname;
    QCommandLineOption Port;
    QCommandLineOption Username;
    QCommandLineOption Passwort;
    QCommandLineOption PasswortStdin;
    QCommandLineOption Datenbank;

    // In the order --help lists them.
    QList<QCommandLineOption> Alle() const;

    // Parses and answers --help (in German) and stray arguments. An exit status when the tool is
    // done.
    std::optional<int> Einlesen(QCommandLineParser& parser, const QStringList& argumente,
                                QTextStream& aus, QTextStream& fehler) const;
    // Host, user and database given (and any further required option), not both password
    // options. False after telling the user what is wrong.
    bool Vollstaendig(const QCommandLineParser& parser,
                      const QList<const QCommandLineOption*>& weiterePflicht,
                      QTextStream& fehler) const;
    // --passwort, or the first line of the input without its line end for --passwort-stdin.
    QString Kennwort(const QCommandLineParser& parser, QIODevice& eingabe) const;
};
