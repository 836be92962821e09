// Reading the settings' host list.
#include "Serverliste.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

struct TEintrag
{
    TServeradresse Adresse;
    QString Fehler;
};

// Ports as the settings write them: ASCII digits only, 1 to 65535.
int PortAus(const QString& text)
{
    if (text.isEmpty() || text.size() > 5)
        return 0;
    for (const QChar z : text) {
        if (z < u'0' || z > u'9')
            return 0;
    }
    const int port = text.toInt();
    return port <= 65535 ? port : 0;
}

TEintrag EintragLesen(const QString& eintrag, int port)
{
    TEintrag e;
    e.Adresse.Port = port;
    if (eintrag.startsWith(u'[')) {
        const qsizetype ende = eintrag.indexOf(u']');
        if (ende < 0) {
            e.Fehler = u"\"%1\": die eckige Klammer wird nicht geschlossen"_s.arg(eintrag);
            return e;
        }
        e.Adresse.Host = eintrag.mid(1, ende - 1);
        const QString rest = eintrag.mid(ende + 1);
        if (rest.isEmpty())
            return e;
        if (!rest.startsWith(u':') || (e.Adresse.Port = PortAus(rest.mid(1))) == 0)
            e.Fehler = u"\"%1\": nach der Klammer muss :PORT folgen (1 bis 65535)"_s.arg(eintrag);
        return e;
    }
    const qsizetype doppelpunkt = eintrag.indexOf(u':');
    // More than one colon: an IPv6 address without a port.
    if (doppelpunkt < 0 || eintrag.indexOf(u':', doppelpunkt + 1) >= 0) {
        e.Adresse.Host = eintrag;
        return e;
    }
    e.Adresse.Host = eintrag.left(doppelpunkt);
    e.Adresse.Port = PortAus(eintrag.mid(doppelpunkt + 1));
    if (e.Adresse.Port == 0)
        e.Fehler = u"\"%1\": der Port ist keine Zahl von 1 bis 65535"_s.arg(eintrag);
    else if (e.Adresse.Host.isEmpty())
        e.Fehler = u"\"%1\": vor dem Port fehlt der Host"_s.arg(eintrag);
    return e;
}

QStringList Eintraege(const QString& text)
{
    QStringList eintraege;
    for (const QString& teil : text.split(u',')) {
        const QString eintrag = teil.trimmed();
        if (!eintrag.isEmpty())
            eintraege.append(eintrag);
    }
    return eintraege;
}

} // namespace

namespace Serverliste {

QList<TServeradresse> Lesen(const QString& text, int port)
{
    const QStringList eintraege = Eintraege(text);
    if (eintraege.isEmpty())
        return {TServeradresse{text, port}};
    QList<TServeradresse> liste;
    for (const QString& eintrag : eintraege) {
        const TEintrag e = EintragLesen(eintrag, port);
        // Handed over as written: the connection then names it in its error.
        liste.append(e.Fehler.isEmpty() ? e.Adresse : TServeradresse{eintrag, port});
    }
    return liste;
}

QString Fehler(const QString& text)
{
    if (text.trimmed().isEmpty())
        return QString();
    for (const QString& teil : text.split(u',')) {
        const QString eintrag = teil.trimmed();
        if (eintrag.isEmpty())
            return u"Die Hostliste \"%1\" enthält einen leeren Eintrag."_s.arg(text);
        const QString fehler = EintragLesen(eintrag, 3306).Fehler;
        if (!fehler.isEmpty())
            return u"Die Hostliste ist fehlerhaft: %1."_s.arg(fehler);
    }
    return QString();
}

QString Anzeige(const TServeradresse& adresse)
{
    const QString host = adresse.Host.contains(u':') ? u'[' + adresse.Host + u']' : adresse.Host;
    return host + u':' + QString::number(adresse.Port);
}

} // namespace Serverliste
