// The question for a serial port when the settings name port number 0.
#include "ApdComPort.h"
#include "PortAuswahl.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSerialPort>
#include <QTest>
#include <QTimer>

class TstPortAuswahl : public QObject
{
    Q_OBJECT

private slots:
    void texteUndNurOeffenbarePorts();
    void abbrechenIstKeinPort();
    void keineZweiteFrageWaehrendDerErsten();
};

void TstPortAuswahl::texteUndNurOeffenbarePorts()
{
    TPortAuswahl dialog;
    QCOMPARE(dialog.windowTitle(), QString("Select Port"));
    QStringList texte;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texte << label->text();
    QCOMPARE(texte, QStringList({"The configured serial port is not valid.",
                                 "Please choose another port."}));
    QStringList knoepfe;
    for (const QPushButton* knopf : dialog.findChildren<QPushButton*>())
        knoepfe << knopf->text();
    knoepfe.sort();
    QCOMPARE(knoepfe, QStringList({"Cancel", "OK"}));

    // Whatever this machine has: every offered port opens, and without one OK is disabled.
    const auto* liste = dialog.findChild<QComboBox*>("cbPorts");
    for (int i = 0; i < liste->count(); ++i) {
        const int nummer = liste->itemData(i).toInt();
        QCOMPARE(liste->itemText(i), QString("COM%1").arg(nummer));
        QVERIFY(nummer >= 1 && nummer <= TPortAuswahl::kHoechsterPort);
        QSerialPort port(TApdComPort::GeraetFuer(nummer));
        QVERIFY(port.open(QIODevice::ReadOnly));
    }
    for (const QPushButton* knopf : dialog.findChildren<QPushButton*>())
        if (knopf->text() == "OK")
            QCOMPARE(knopf->isEnabled(), liste->count() > 0);
}

void TstPortAuswahl::abbrechenIstKeinPort()
{
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    QCOMPARE(TPortAuswahl::Fragen(), QString());
}

void TstPortAuswahl::keineZweiteFrageWaehrendDerErsten()
{
    TApdComPort port;
    port.SetComNumber(0);
    int fragen = 0;
    bool zweiteAbgewiesen = false;
    bool markiert = false;
    port.SetPortAuswahl([&]() -> QString {
        ++fragen;
        markiert = port.WaehltPort();
        try {
            port.Open();
        } catch (const EPortFehler&) {
            zweiteAbgewiesen = true;
        }
        return QString();
    });
    QVERIFY_THROWS_EXCEPTION(EPortFehler, port.Open());
    QCOMPARE(fragen, 1);
    QVERIFY(markiert);
    QVERIFY(zweiteAbgewiesen);
    QVERIFY(!port.WaehltPort());
}

QTEST_MAIN(TstPortAuswahl)
#include "tst_portauswahl.moc"
