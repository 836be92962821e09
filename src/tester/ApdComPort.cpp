// The match scan runs on the bytes as they arrive, so announcements keep the data's order.
#include "ApdComPort.h"

#include <QSerialPort>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

EPortFehler::EPortFehler(const QString& meldung) : EFehler(u"EPortFehler"_s, meldung) {}

TApdComPort::TApdComPort(QObject* parent) : QObject(parent), FPort(new QSerialPort(this))
{
    connect(FPort, &QSerialPort::readyRead, this, &TApdComPort::Empfangen);
    connect(FPort, &QSerialPort::errorOccurred, this, &TApdComPort::Fehler);
}

TApdComPort::~TApdComPort()
{
    Close();
}

QString TApdComPort::GeraetFuer(int comNummer)
{
#ifdef Q_OS_WIN
    return u"\\\\.\\COM%1"_s.arg(comNummer);
#else
    return u"/dev/ttyS%1"_s.arg(comNummer - 1);
#endif
}

QString TApdComPort::Zielgeraet() const
{
    return FGeraet.isEmpty() ? GeraetFuer(FComNumber) : FGeraet;
}

bool TApdComPort::IsOpen() const
{
    return FPort->isOpen();
}

void TApdComPort::Open()
{
    if (IsOpen())
        return;
    QString geraet = Zielgeraet();
    if (FGeraet.isEmpty() && FComNumber == 0) {
        // The question runs its own event loop, in which a repaint may ask to open again.
        if (FWaehltPort)
            throw EPortFehler(u"Die Auswahl einer Schnittstelle läuft noch"_s);
        FWaehltPort = true;
        try {
            geraet = FPortAuswahl ? FPortAuswahl() : QString();
        } catch (...) {
            FWaehltPort = false;
            throw;
        }
        FWaehltPort = false;
        if (geraet.isEmpty())
            throw EPortFehler(u"Keine Schnittstelle gewählt"_s);
    }
    FPort->setPortName(geraet);
    FPort->setReadBufferSize(kPuffer);
    if (!FPort->open(QIODevice::ReadOnly))
        throw EPortFehler(u"%1: %2"_s.arg(geraet, FPort->errorString()));
    const bool eingestellt = FPort->setBaudRate(kBaud) && FPort->setDataBits(QSerialPort::Data8) &&
                             FPort->setParity(QSerialPort::NoParity) &&
                             FPort->setStopBits(QSerialPort::OneStop) &&
                             FPort->setFlowControl(QSerialPort::NoFlowControl);
    if (!eingestellt) {
        const QString meldung = FPort->errorString();
        FPort->close();
        throw EPortFehler(u"%1: %2"_s.arg(geraet, meldung));
    }
    // Some testers draw their supply from the modem lines; a pseudo-terminal has none.
    FPort->setDataTerminalReady(true);
    FPort->setRequestToSend(true);
    // What arrived while the port was closed was not meant for this session.
    FPort->clear(QSerialPort::Input);
    FPort->clearError();
    FOffenesGeraet = geraet;
}

void TApdComPort::Close()
{
    if (FPort->isOpen())
        FPort->close();
    FOffenesGeraet.clear();
    // What was received but not handed over belongs to the closed session.
    FEmpfangen.clear();
    FLesbar.clear();
    FLesePos = 0;
    FFenster.clear();
}

quint16 TApdComPort::AddDataTrigger(const QByteArray& bytes, bool ignoreCase)
{
    if (!IsOpen())
        throw EPortFehler(u"Die Schnittstelle ist nicht geöffnet"_s);
    if (bytes.isEmpty() || bytes.size() > kMaxTriggerLaenge)
        throw EPortFehler(u"Ungültige Länge der Zeichenfolge: %1"_s.arg(bytes.size()));
    const quint16 handle = FreierHandle();
    FTrigger.push_back({handle, bytes, ignoreCase});
    return handle;
}

void TApdComPort::RemoveTrigger(quint16 handle)
{
    FTrigger.erase(std::remove_if(FTrigger.begin(), FTrigger.end(),
                                  [handle](const TTrigger& t) { return t.Handle == handle; }),
                   FTrigger.end());
}

quint16 TApdComPort::FreierHandle()
{
    const auto belegt = [this](quint16 h) {
        return std::any_of(FTrigger.begin(), FTrigger.end(),
                           [h](const TTrigger& t) { return t.Handle == h; });
    };
    if (FTrigger.size() >= 0xFFFF)
        throw EPortFehler(u"Zu viele Registrierungen"_s);
    do
        FLetzterHandle = static_cast<quint16>(FLetzterHandle == 0xFFFF ? 1 : FLetzterHandle + 1);
    while (belegt(FLetzterHandle));
    return FLetzterHandle;
}

char TApdComPort::GetChar()
{
    if (FLesePos >= FLesbar.size())
        throw EPortFehler(u"Keine Zeichen bereit"_s);
    const char zeichen = FLesbar.at(FLesePos++);
    if (FLesePos == FLesbar.size()) {
        FLesbar.clear();
        FLesePos = 0;
    }
    return zeichen;
}

bool TApdComPort::Passt(const TTrigger& trigger) const
{
    const auto laenge = trigger.Bytes.size();
    if (FFenster.size() < laenge)
        return false;
    const QByteArrayView ende = QByteArrayView(FFenster).last(laenge);
    return trigger.IgnoreCase ? ende.compare(trigger.Bytes, Qt::CaseInsensitive) == 0
                              : ende == trigger.Bytes;
}

void TApdComPort::Ankuendigen(qsizetype anzahl)
{
    if (anzahl <= 0)
        return;
    FLesbar.append(FEmpfangen.left(anzahl));
    FEmpfangen.remove(0, anzahl);
    emit TriggerAvail(static_cast<quint16>(std::min<qsizetype>(CharReady(), 0xFFFF)));
}

void TApdComPort::Empfangen()
{
    const QByteArray neu = FPort->readAll();
    for (const char byte : neu) {
        FEmpfangen.append(byte);
        FFenster.append(byte);
        if (FFenster.size() > kMaxTriggerLaenge)
            FFenster.remove(0, FFenster.size() - kMaxTriggerLaenge);
        std::vector<quint16> treffer;
        qsizetype laengster = 0;
        for (const TTrigger& t : FTrigger)
            if (Passt(t)) {
                treffer.push_back(t.Handle);
                laengster = std::max(laengster, t.Bytes.size());
            }
        if (treffer.empty())
            continue;
        // Several registrations may end at this byte: none of their bytes is announced early.
        Ankuendigen(FEmpfangen.size() - laengster);
        for (const quint16 handle : treffer) {
            // A handler may close the port; what follows then belongs to no session.
            if (!IsOpen())
                return;
            emit TriggerData(handle);
        }
        if (!IsOpen())
            return;
    }
    Ankuendigen(FEmpfangen.size());
}

void TApdComPort::Fehler()
{
    const QSerialPort::SerialPortError art = FPort->error();
    if (art != QSerialPort::ReadError && art != QSerialPort::ResourceError)
        return;
    if (!IsOpen())
        return;
    // The device keeps reporting the failure in a tight loop for as long as it stays open.
    const QString meldung = FPort->errorString();
    Close();
    emit Verbindungsverlust(meldung);
}
