// The tester's result lines as the simulator sends them: scenarios, framing and a paced sender.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

namespace Pruefgeraet {

enum class TRahmen
{
    CR,
    CRLF,
    STX_ETX
};

// One line as it travels on the wire.
QByteArray Gerahmt(const QByteArray& zeile, TRahmen rahmen);
QByteArray Gerahmt(const QList<QByteArray>& zeilen, TRahmen rahmen);
// "cr", "crlf" or "stx" (any case); nullopt for anything else.
std::optional<TRahmen> RahmenAusName(const QString& name);

enum class TTeil
{
    SchuhLinks,
    SchuhRechts,
    Armband
};

// Reason bits of "ERG <n>".
constexpr int kArmbandZuNiedrig = 1;
constexpr int kArmbandZuHoch = 2;
constexpr int kSchuhLinksZuNiedrig = 4;
constexpr int kSchuhLinksZuHoch = 8;
constexpr int kSchuhRechtsZuNiedrig = 16;
constexpr int kSchuhRechtsZuHoch = 32;
constexpr int kMessspannungFehlerhaft = 64;
// The key was released before the minimum hold time.
constexpr int kZuFruehLosgelassen = -10;

// 9600 baud, 8N1: ten bits per byte.
constexpr int kBytesProSekunde = 960;

// Lines without framing.
QList<QByteArray> Bestanden();
// Readings match the bits: a high one for "too high", a very low one for "too low" (high wins
// when both are set). A negative code is an abort and comes alone, as "ERG -10" does.
QList<QByteArray> Durchgefallen(int code);
QList<QByteArray> Ueberlauf(TTeil teil);
QList<QByteArray> ZuFruehLosgelassen();

// "bestanden", "fehler <code>" (0..255 or negative), "ovr links|rechts|armband", "kurz",
// "zeile <text>" (one raw line, sent as typed); nullopt for anything else.
std::optional<QList<QByteArray>> Szenario(const QString& befehl);

} // namespace Pruefgeraet

// Writes queued scenarios to a descriptor no faster than the tester's line carries them.
class TSender : public QObject
{
    Q_OBJECT

public:
    // Does not own the descriptor. Switches it to non-blocking: a reader that stops reading
    // holds the bytes back instead of stalling the event loop.
    explicit TSender(int dateideskriptor, QObject* eltern = nullptr);

    // Queued behind everything not yet sent; the framing is fixed now.
    void Senden(const QList<QByteArray>& zeilen, Pruefgeraet::TRahmen rahmen);
    bool Leer() const { return FWarteschlange.isEmpty(); }

signals:
    // The bytes of one Senden() call are all out, in call order.
    void Gesendet();
    void AllesGesendet();
    // The line failed; everything still queued is dropped.
    void Fehler(const QString& text);

private:
    void Takt();
    void Stau();

    static constexpr int kTaktMs = 10;

    int FDatei;
    QList<QByteArray> FWarteschlange;
    qsizetype FImStueck = 0; // bytes of the first entry already written
    qint64 FSeitStart = 0;   // bytes written since FUhr started
    QElapsedTimer FUhr;
    QTimer FTakt;
};
