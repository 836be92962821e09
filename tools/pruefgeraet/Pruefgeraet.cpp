// The tester's scenarios, framing and the sender that paces them like a 9600-baud line.
#include "Pruefgeraet.h"

#include "AnsiCodePage.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace Pruefgeraet {

namespace {

struct TTeilWerte
{
    TTeil teil;
    const char* kennung;
    const char* normal;
    const char* zuHoch;
    const char* zuNiedrig;
    int bitZuHoch;
    int bitZuNiedrig;
};

// In the order the tester reports them.
constexpr std::array<TTeilWerte, 3> kTeile{{
    {TTeil::SchuhLinks, "RSL ", "0.35", "150", "0.01", kSchuhLinksZuHoch, kSchuhLinksZuNiedrig},
    {TTeil::SchuhRechts, "RSR ", "0.40", "150", "0.01", kSchuhRechtsZuHoch, kSchuhRechtsZuNiedrig},
    {TTeil::Armband, "RHG ", "1.1", "50", "0.1", kArmbandZuHoch, kArmbandZuNiedrig},
}};

QByteArray Ergebnis(int code)
{
    return "ERG "_ba + QByteArray::number(code);
}

} // namespace

QByteArray Gerahmt(const QByteArray& zeile, TRahmen rahmen)
{
    switch (rahmen) {
    case TRahmen::CR:
        return zeile + '\r';
    case TRahmen::CRLF:
        return zeile + "\r\n"_ba;
    case TRahmen::STX_ETX:
        return '\x02' + zeile + "\x03\r\n"_ba;
    }
    return zeile;
}

QByteArray Gerahmt(const QList<QByteArray>& zeilen, TRahmen rahmen)
{
    QByteArray bytes;
    for (const QByteArray& zeile : zeilen)
        bytes += Gerahmt(zeile, rahmen);
    return bytes;
}

std::optional<TRahmen> RahmenAusName(const QString& name)
{
    const QString klein = name.toLower();
    if (klein == u"cr")
        return TRahmen::CR;
    if (klein == u"crlf")
        return TRahmen::CRLF;
    if (klein == u"stx")
        return TRahmen::STX_ETX;
    return std::nullopt;
}

QList<QByteArray> Bestanden()
{
    QList<QByteArray> zeilen;
    for (const TTeilWerte& werte : kTeile)
        zeilen.append(werte.kennung + QByteArray(werte.normal));
    zeilen.append("ERG OK"_ba);
    return zeilen;
}

QList<QByteArray> Durchgefallen(int code)
{
    if (code < 0)
        return {Ergebnis(code)};
    QList<QByteArray> zeilen;
    for (const TTeilWerte& werte : kTeile) {
        const char* wert = werte.normal;
        if ((code & werte.bitZuHoch) != 0)
            wert = werte.zuHoch;
        else if ((code & werte.bitZuNiedrig) != 0)
            wert = werte.zuNiedrig;
        zeilen.append(werte.kennung + QByteArray(wert));
    }
    zeilen.append(Ergebnis(code));
    return zeilen;
}

QList<QByteArray> Ueberlauf(TTeil teil)
{
    QList<QByteArray> zeilen;
    int code = 0;
    for (const TTeilWerte& werte : kTeile) {
        if (werte.teil == teil) {
            zeilen.append(werte.kennung + "OVR"_ba);
            code = werte.bitZuHoch;
        } else {
            zeilen.append(werte.kennung + QByteArray(werte.normal));
        }
    }
    zeilen.append(Ergebnis(code));
    return zeilen;
}

QList<QByteArray> ZuFruehLosgelassen()
{
    return {Ergebnis(kZuFruehLosgelassen)};
}

std::optional<QList<QByteArray>> Szenario(const QString& befehl)
{
    static const QRegularExpression kLeerraum(u"\\s+"_s);
    const QStringList worte = befehl.split(kLeerraum, Qt::SkipEmptyParts);
    if (worte.isEmpty())
        return std::nullopt;
    const QString wort = worte.constFirst().toLower();

    if (wort == u"zeile") {
        // The free text keeps its inner and trailing spaces: only the one separator goes.
        qsizetype anfang = 0;
        while (befehl.at(anfang).isSpace())
            ++anfang;
        QString text = befehl.mid(anfang + wort.size());
        if (!text.isEmpty())
            text.remove(0, 1);
        // In the station's code page: it reads the tester's bytes as Windows-1252.
        return QList<QByteArray>{ZuAnsi(text)};
    }
    if (worte.size() == 1 && wort == u"bestanden")
        return Bestanden();
    if (worte.size() == 1 && wort == u"kurz")
        return ZuFruehLosgelassen();
    if (worte.size() == 2 && wort == u"fehler") {
        bool zahl = false;
        const int code = worte.at(1).toInt(&zahl);
        if (!zahl || code > 255)
            return std::nullopt;
        return Durchgefallen(code);
    }
    if (worte.size() == 2 && wort == u"ovr") {
        const QString teil = worte.at(1).toLower();
        if (teil == u"links")
            return Ueberlauf(TTeil::SchuhLinks);
        if (teil == u"rechts")
            return Ueberlauf(TTeil::SchuhRechts);
        if (teil == u"armband")
            return Ueberlauf(TTeil::Armband);
    }
    return std::nullopt;
}

} // namespace Pruefgeraet

TSender::TSender(int dateideskriptor, QObject* eltern) : QObject(eltern), FDatei(dateideskriptor)
{
    const int schalter = ::fcntl(FDatei, F_GETFL);
    if (schalter >= 0)
        ::fcntl(FDatei, F_SETFL, schalter | O_NONBLOCK);
    FTakt.setTimerType(Qt::PreciseTimer);
    FTakt.setInterval(kTaktMs);
    connect(&FTakt, &QTimer::timeout, this, &TSender::Takt);
}

void TSender::Senden(const QList<QByteArray>& zeilen, Pruefgeraet::TRahmen rahmen)
{
    FWarteschlange.append(Pruefgeraet::Gerahmt(zeilen, rahmen));
    if (!FTakt.isActive()) {
        FUhr.start();
        FSeitStart = 0;
        FTakt.start();
    }
}

void TSender::Takt()
{
    // A byte has arrived at the other end only once its ten bits have passed.
    qint64 faellig = FUhr.elapsed() * Pruefgeraet::kBytesProSekunde / 1000 - FSeitStart;
    while (faellig > 0 && !FWarteschlange.isEmpty()) {
        const QByteArray& stueck = FWarteschlange.constFirst();
        const qint64 anzahl = std::min<qint64>(faellig, stueck.size() - FImStueck);
        if (anzahl > 0) {
            const ssize_t geschrieben =
                ::write(FDatei, stueck.constData() + FImStueck, static_cast<size_t>(anzahl));
            if (geschrieben < 0 && errno == EINTR)
                continue;
            if (geschrieben < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                const QString grund = QString::fromLocal8Bit(std::strerror(errno));
                FWarteschlange.clear();
                FImStueck = 0;
                FTakt.stop();
                emit Fehler(u"Schreiben auf die Leitung fehlgeschlagen: %1"_s.arg(grund));
                return;
            }
            if (geschrieben <= 0) {
                Stau();
                return;
            }
            FImStueck += geschrieben;
            FSeitStart += geschrieben;
            faellig -= geschrieben;
            if (geschrieben < anzahl) {
                Stau();
                return;
            }
        }
        if (FImStueck == stueck.size()) {
            FWarteschlange.removeFirst();
            FImStueck = 0;
            emit Gesendet();
        }
    }
    if (FWarteschlange.isEmpty()) {
        FTakt.stop();
        emit AllesGesendet();
    }
}

void TSender::Stau()
{
    // The reader holds the line up: pace from now on instead of catching up in a burst.
    FUhr.restart();
    FSeitStart = 0;
}
