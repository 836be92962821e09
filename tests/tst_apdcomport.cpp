// The serial link over a real pseudo-terminal: order of the notifications, registrations,
// opening and closing, a vanished device.
#include "ApdComPort.h"
#include "PseudoTerminal.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Records the notifications as the station sees them, reading exactly the announced bytes.
// Consecutive byte notifications are merged: how the bytes are split into reads is the
// system's business, their order relative to the matches is ours.
class TMitschrift : public QObject
{
public:
    explicit TMitschrift(TApdComPort& port) : FPort(port)
    {
        connect(&port, &TApdComPort::TriggerAvail, this, [this](quint16 anzahl) {
            QByteArray bytes;
            for (quint16 i = 0; i < anzahl; ++i)
                bytes += FPort.GetChar();
            QCOMPARE(FPort.CharReady(), 0);
            if (!Log.isEmpty() && Log.last().startsWith("A:"))
                Log.last() += QString::fromLatin1(bytes);
            else
                Log << "A:" + QString::fromLatin1(bytes);
        });
        connect(&port, &TApdComPort::TriggerData, this,
                [this](quint16 handle) { Log << "D:" + QString::number(handle); });
    }

    QStringList Log;

private:
    TApdComPort& FPort;
};

} // namespace

class TstApdComPort : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void geraeteNamen();
    void zeileUeberMehrereLesevorgaenge();
    void mehrereZeilenInEinemLesevorgang();
    void mehrereRegistrierungen();
    void registrierungenUeberlebenSchliessen();
    void oeffnenUndSchliessenMehrfach();
    void fehlendesGeraet();
    void gegenstelleVerschwindet();

private:
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TApdComPort> FPort;
};

void TstApdComPort::init()
{
    FPty = std::make_unique<TPseudoTerminal>();
    FPort = std::make_unique<TApdComPort>();
    FPort->SetGeraet(FPty->Geraet());
}

void TstApdComPort::cleanup()
{
    FPort.reset();
    FPty.reset();
}

void TstApdComPort::geraeteNamen()
{
    TApdComPort port;
    QCOMPARE(port.ComNumber(), 6);
    QCOMPARE(TApdComPort::GeraetFuer(1), QString("/dev/ttyS0"));
    QCOMPARE(TApdComPort::GeraetFuer(6), QString("/dev/ttyS5"));
    QCOMPARE(port.Zielgeraet(), QString("/dev/ttyS5"));
    port.SetGeraet("/dev/ttyUSB0");
    QCOMPARE(port.Zielgeraet(), QString("/dev/ttyUSB0"));
}

void TstApdComPort::zeileUeberMehrereLesevorgaenge()
{
    FPort->Open();
    const quint16 cr = FPort->AddDataTrigger("\r", false);
    TMitschrift mitschrift(*FPort);

    FPty->Schreiben("\x02RSL 0.");
    QTRY_COMPARE(mitschrift.Log, QStringList{"A:\x02RSL 0."});
    FPty->Schreiben("35\x03");
    QTRY_COMPARE(mitschrift.Log, QStringList{"A:\x02RSL 0.35\x03"});
    FPty->Schreiben("\r\nERG OK\r\n");
    const QString d = "D:" + QString::number(cr);
    QTRY_COMPARE(mitschrift.Log,
                 QStringList({"A:\x02RSL 0.35\x03", d, "A:\r\nERG OK", d, "A:\r\n"}));
}

void TstApdComPort::mehrereZeilenInEinemLesevorgang()
{
    FPort->Open();
    const quint16 cr = FPort->AddDataTrigger("\r", false);
    TMitschrift mitschrift(*FPort);
    FPty->Schreiben("RSL 1\rRSR 2\rERG OK\r");
    const QString d = "D:" + QString::number(cr);
    QTRY_COMPARE(mitschrift.Log,
                 QStringList({"A:RSL 1", d, "A:\rRSR 2", d, "A:\rERG OK", d, "A:\r"}));
}

void TstApdComPort::mehrereRegistrierungen()
{
    FPort->Open();
    const quint16 cr = FPort->AddDataTrigger("\r", false);
    const quint16 ok = FPort->AddDataTrigger("ok\r", true);
    QVERIFY(cr != ok && cr > 0 && ok > 0);
    QVERIFY_THROWS_EXCEPTION(EPortFehler, FPort->AddDataTrigger(QByteArray(22, 'x'), false));
    QVERIFY_THROWS_EXCEPTION(EPortFehler, FPort->AddDataTrigger(QByteArray(), false));
    QCOMPARE(FPort->AddDataTrigger(QByteArray(21, 'x'), false), quint16(ok + 1));

    TMitschrift mitschrift(*FPort);
    // Both match at the same CR: the bytes before the longer match come first, then one
    // notification per registration.
    FPty->Schreiben("ERG OK\r");
    const QStringList erwartet{"A:ERG ", "D:" + QString::number(cr), "D:" + QString::number(ok),
                               "A:OK\r"};
    QTRY_COMPARE(mitschrift.Log, erwartet);

    // A removed registration no longer notifies.
    mitschrift.Log.clear();
    FPort->RemoveTrigger(ok);
    FPty->Schreiben("ok\r");
    QTRY_COMPARE(mitschrift.Log, QStringList({"A:ok", "D:" + QString::number(cr), "A:\r"}));
}

void TstApdComPort::registrierungenUeberlebenSchliessen()
{
    QVERIFY_THROWS_EXCEPTION(EPortFehler, FPort->AddDataTrigger("\r", false));
    FPort->Open();
    const quint16 cr = FPort->AddDataTrigger("\r", false);
    FPort->Close();
    QCOMPARE(FPort->TriggerCount(), 1);

    // What the tester sends while the port is closed is never received.
    TMitschrift mitschrift(*FPort);
    FPty->Schreiben("ERG 40\r");
    QTest::qWait(100);
    QVERIFY(mitschrift.Log.isEmpty());

    FPort->Open();
    FPty->Schreiben("ERG OK\r");
    QTRY_COMPARE(mitschrift.Log, QStringList({"A:ERG OK", "D:" + QString::number(cr), "A:\r"}));
}

void TstApdComPort::oeffnenUndSchliessenMehrfach()
{
    FPort->Close();
    FPort->Open();
    FPort->Open();
    QVERIFY(FPort->IsOpen());
    QCOMPARE(FPort->OffenesGeraet(), FPty->Geraet());
    FPort->Close();
    FPort->Close();
    QVERIFY(!FPort->IsOpen());
    QCOMPARE(FPort->OffenesGeraet(), QString());
}

void TstApdComPort::fehlendesGeraet()
{
    TApdComPort port;
    port.SetGeraet("/dev/gibt-es-nicht-0");
    QVERIFY_THROWS_EXCEPTION(EPortFehler, port.Open());
    QVERIFY(!port.IsOpen());

    // Number 0 asks for a port; no answer counts as a failed open.
    TApdComPort frage;
    frage.SetComNumber(0);
    int gefragt = 0;
    frage.SetPortAuswahl([&gefragt] {
        ++gefragt;
        return QString();
    });
    QVERIFY_THROWS_EXCEPTION(EPortFehler, frage.Open());
    QCOMPARE(gefragt, 1);
    // The chosen device is opened.
    frage.SetPortAuswahl([this] { return FPty->Geraet(); });
    frage.Open();
    QCOMPARE(frage.OffenesGeraet(), FPty->Geraet());
}

void TstApdComPort::gegenstelleVerschwindet()
{
    FPort->Open();
    FPort->AddDataTrigger("\r", false);
    QSignalSpy verlust(FPort.get(), &TApdComPort::Verbindungsverlust);
    FPty->Schliessen();
    QTRY_COMPARE(verlust.count(), 1);
    QVERIFY(!FPort->IsOpen());
    // Closed, the device reports nothing more.
    QTest::qWait(100);
    QCOMPARE(verlust.count(), 1);

    // A new line (a new device) opens again with the registration still in force.
    FPty = std::make_unique<TPseudoTerminal>();
    FPort->SetGeraet(FPty->Geraet());
    FPort->Open();
    QCOMPARE(FPort->TriggerCount(), 1);
}

QTEST_GUILESS_MAIN(TstApdComPort)
#include "tst_apdcomport.moc"
