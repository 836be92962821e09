// Values that the reader would trim or unquote are written in quotes, so they read back as given.
#include "EinstellungenErstellen.h"

#include <algorithm>

#include "Einstellungen.h"
#include "Entschluesseln.h"
#include "IniDatei.h"
#include "Integritaet.h"
#include "uFehler.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString Wert(const QString& name, const QString& wert)
{
    if (wert.contains(u'\r') || wert.contains(u'\n'))
        throw EFehler(u"EUngueltigerWert"_s,
                      u"%1 darf keinen Zeilenumbruch enthalten."_s.arg(name));
    if (wert.size() > TIniDatei::kMaxWertLaenge)
        throw EFehler(u"EUngueltigerWert"_s,
                      u"%1 ist länger als %2 Zeichen."_s.arg(name).arg(TIniDatei::kMaxWertLaenge));
    const bool inAnfuehrungszeichen = wert.size() >= 2 && wert.front() == wert.back() &&
                                      (wert.front() == u'"' || wert.front() == u'\'');
    if (wert != wert.trimmed() || inAnfuehrungszeichen)
        return u"\""_s + wert + u"\""_s;
    return wert;
}

} // namespace

bool PinGueltig(const QString& pin)
{
    if (pin.size() < 4 || pin.size() > 12)
        return false;
    return std::all_of(pin.begin(), pin.end(), [](QChar z) { return z >= u'0' && z <= u'9'; });
}

QString ErstelleEinstellungsText(const TKlarEinstellungen& werte)
{
    if (werte.Port < 1 || werte.Port > 65535)
        throw EFehler(u"EUngueltigerWert"_s, u"Der Port muss zwischen 1 und 65535 liegen."_s);
    if (werte.Menu != u"6"_s && werte.Menu != u"12"_s)
        throw EFehler(u"EUngueltigerWert"_s, u"Das Menü hat 6 oder 12 Abteilungen."_s);

    if (!werte.BeendenPin.isEmpty() && !PinGueltig(werte.BeendenPin))
        throw EFehler(u"EUngueltigerWert"_s,
                      u"Die PIN zum Beenden besteht aus 4 bis 12 Ziffern."_s);
    for (const QString& fehler :
         {AusweisleserFehler(werte.Ausweisleser),
          JournalVerzeichnisFehler(werte.JournalVerzeichnis), JournalTageFehler(werte.JournalTage)})
        if (!fehler.isEmpty())
            throw EFehler(u"EUngueltigerWert"_s, fehler);

    const QString user = Verschluesseln(werte.Username, kStartSchluessel);
    const QString passwort = Verschluesseln(werte.Passwort, kStartSchluessel);
    const QString host = Verschluesseln(werte.Hostname, kStartSchluessel);

    QString text;
    const auto zeile = [&text](const QString& inhalt) { text += inhalt + u"\r\n"_s; };
    zeile(u"[Personenerdung]"_s);
    zeile(u"COM="_s + Wert(u"COM"_s, werte.COM));
    if (!werte.Geraet.isEmpty())
        zeile(u"Geraet="_s + Wert(u"Geraet"_s, werte.Geraet));
    zeile(QString());
    zeile(u"[DB_Server]"_s);
    zeile(u"Username="_s + Wert(u"Username"_s, user));
    zeile(u"Passwort="_s + Wert(u"Passwort"_s, passwort));
    zeile(u"Hostname="_s + Wert(u"Hostname"_s, host));
    zeile(u"Port="_s + QString::number(werte.Port));
    zeile(u"DB_Name="_s + Wert(u"DB_Name"_s, werte.Datenbank));
    zeile(u"Protokoll="_s + Wert(u"Protokoll"_s, werte.Protokoll));
    zeile(u"MD5-Hash="_s + Integritaetswert(user, passwort, host));
    zeile(QString());
    zeile(u"[Menu]"_s);
    zeile(u"Anzahl_Abteilungen="_s + werte.Menu);
    zeile(u"Mandant="_s + Wert(u"Mandant"_s, werte.Mandant));
    zeile(u"Werbung_Welcome="_s + Wert(u"Werbung_Welcome"_s, werte.Willkommen));
    if (!werte.BeendenPin.isEmpty())
        zeile(u"Beenden_PIN="_s + Verschluesseln(werte.BeendenPin, kStartSchluessel));
    if (!werte.Ausweisleser.isEmpty())
        zeile(u"Ausweisleser="_s + werte.Ausweisleser.toLower());
    if (!werte.JournalVerzeichnis.isEmpty() || !werte.JournalTage.isEmpty()) {
        zeile(QString());
        zeile(u"[Journal]"_s);
        if (!werte.JournalVerzeichnis.isEmpty())
            zeile(u"Verzeichnis="_s + Wert(u"Verzeichnis"_s, werte.JournalVerzeichnis));
        if (!werte.JournalTage.isEmpty())
            zeile(u"Aufbewahrung_Tage="_s + werte.JournalTage);
    }
    return text;
}
