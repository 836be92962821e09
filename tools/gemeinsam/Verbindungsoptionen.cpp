#include "Verbindungsoptionen.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

// Qt writes the headings of its help in English; the tools speak German throughout (help2man
// finds the German headings for the manual pages).
QString DeutscheHilfe(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    if (text.startsWith(u"Usage: "_s))
        text.replace(0, 6, u"Aufruf:"_s);
    text.replace(u" [options]\n"_s, u" [Optionen]\n"_s);
    text.replace(u"\nOptions:\n"_s, u"\nOptionen:\n"_s);
    text.replace(u"\nArguments:\n"_s, u"\nArgumente:\n"_s);
    return text;
}

} // namespace

TVerbindungsoptionen::TVerbindungsoptionen(const QString& datenbankHilfe)
    : Hilfe({u"h"_s, u"help"_s}, u"Diese Hilfe anzeigen."_s),
      Hostname(u"hostname"_s,
               u"Datenbankserver (Pflicht); die Knoten eines Clusters durch Kommas getrennt, "
               u"je HOST oder HOST:PORT."_s,
               u"HOST"_s),
      Port(u"port"_s, u"TCP-Port des Servers (Vorgabe 3306)."_s, u"PORT"_s, u"3306"_s),
      Username(u"username"_s, u"Datenbankbenutzer (Pflicht)."_s, u"NAME"_s),
      Passwort(u"passwort"_s, u"Passwort des Datenbankbenutzers."_s, u"PASSWORT"_s),
      PasswortStdin(u"passwort-stdin"_s,
                    u"Passwort aus der ersten Zeile der Standardeingabe lesen (erscheint nicht "
                    u"in der Prozessliste)."_s),
      Datenbank(u"datenbank"_s, datenbankHilfe, u"NAME"_s)
{}

QList<QCommandLineOption> TVerbindungsoptionen::Alle() const
{
    return {Hilfe, Hostname, Port, Username, Passwort, PasswortStdin, Datenbank};
}

std::optional<int> TVerbindungsoptionen::Einlesen(QCommandLineParser& parser,
                                                  const QStringList& argumente, QTextStream& aus,
                                                  QTextStream& fehler) const
{
    if (!parser.parse(argumente)) {
        fehler << parser.errorText() << Qt::endl;
        return kFalscheEingabe;
    }
    if (parser.isSet(Hilfe)) {
        aus << DeutscheHilfe(parser);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        fehler << "Unerwartetes Argument: " << parser.positionalArguments().constFirst()
               << Qt::endl;
        return kFalscheEingabe;
    }
    return std::nullopt;
}

bool TVerbindungsoptionen::Vollstaendig(const QCommandLineParser& parser,
                                        const QList<const QCommandLineOption*>& weiterePflicht,
                                        QTextStream& fehler) const
{
    for (const QCommandLineOption* pflicht :
         QList<const QCommandLineOption*>{&Hostname, &Username, &Datenbank} + weiterePflicht) {
        if (parser.value(*pflicht).isEmpty()) {
            fehler << "Fehlt: --" << pflicht->names().constFirst()
                   << " (--help zeigt alle Optionen)" << Qt::endl;
            return false;
        }
    }
    if (parser.isSet(Passwort) && parser.isSet(PasswortStdin)) {
        fehler << "--passwort und --passwort-stdin schließen sich aus." << Qt::endl;
        return false;
    }
    return true;
}

QString TVerbindungsoptionen::Kennwort(const QCommandLineParser& parser, QIODevice& eingabe) const
{
    if (!parser.isSet(PasswortStdin))
        return parser.value(Passwort);
    QByteArray zeile = eingabe.readLine();
    while (zeile.endsWith('\n') || zeile.endsWith('\r'))
        zeile.chop(1);
    return QString::fromUtf8(zeile);
}
