// The tester's serial line: a receive-only port with byte-string match notifications.
#pragma once

#include "uFehler.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QSerialPort;

// The port could not be opened, or a registration was refused.
class EPortFehler : public EFehler
{
public:
    explicit EPortFehler(const QString& meldung);
};

// Received bytes are announced in data order: every byte before a match is announced with
// TriggerAvail before the match's TriggerData, the matching bytes after it. Handlers run on the
// thread that owns the port (the user interface) and must read exactly the announced count.
class TApdComPort : public QObject
{
    Q_OBJECT

public:
    explicit TApdComPort(QObject* parent = nullptr);
    ~TApdComPort() override;

    static constexpr int kBaud = 9600;
    static constexpr int kPuffer = 4096;
    static constexpr int kMaxTriggerLaenge = 21;

    // Number for the next open; 6 until set. 0 asks the operator for a port (SetPortAuswahl).
    int ComNumber() const { return FComNumber; }
    void SetComNumber(int nummer) { FComNumber = nummer; }
    // A device path that replaces the number's device when not empty.
    const QString& Geraet() const { return FGeraet; }
    void SetGeraet(const QString& pfad) { FGeraet = pfad; }
    // Asked for a device when the number is 0; an empty answer counts as a failed open.
    void SetPortAuswahl(std::function<QString()> auswahl) { FPortAuswahl = std::move(auswahl); }
    // True while the operator is being asked.
    bool WaehltPort() const { return FWaehltPort; }

    // The device a COM number names on this platform.
    static QString GeraetFuer(int comNummer);
    // The device the next open uses (without asking the operator).
    QString Zielgeraet() const;

    // Both idempotent. Open throws EPortFehler and leaves the port closed on failure.
    void Open();
    void Close();
    bool IsOpen() const;
    // The device the port has open, empty while closed.
    const QString& OffenesGeraet() const { return FOffenesGeraet; }

    // Registers a byte string (1 to 21 bytes) and returns its handle; needs an open port.
    // Registrations survive closing and reopening, with their handles.
    quint16 AddDataTrigger(const QByteArray& bytes, bool ignoreCase);
    void RemoveTrigger(quint16 handle);
    int TriggerCount() const { return static_cast<int>(FTrigger.size()); }

    // Announced bytes not yet read; GetChar takes the next one and throws when there is none.
    int CharReady() const { return static_cast<int>(FLesbar.size() - FLesePos); }
    char GetChar();

signals:
    void TriggerAvail(quint16 count);
    void TriggerData(quint16 handle);
    // The device failed while open (unplugged, the other side gone); the port has been closed.
    void Verbindungsverlust(const QString& meldung);

private:
    struct TTrigger
    {
        quint16 Handle;
        QByteArray Bytes;
        bool IgnoreCase;
    };

    void Empfangen();
    void Fehler();
    void Ankuendigen(qsizetype anzahl);
    bool Passt(const TTrigger& trigger) const;
    quint16 FreierHandle();

    QSerialPort* FPort;
    int FComNumber = 6;
    QString FGeraet;
    QString FOffenesGeraet;
    std::function<QString()> FPortAuswahl;
    bool FWaehltPort = false;
    std::vector<TTrigger> FTrigger;
    quint16 FLetzterHandle = 0;

    QByteArray FEmpfangen; // received, not yet announced
    QByteArray FLesbar;    // announced; read up to FLesePos
    qsizetype FLesePos = 0;
    QByteArray FFenster; // the latest bytes, as long as the longest registration
};
