// The floor of the station's start: the least a Qt Widgets program with a database does, one
// window with one line of text shown and one connection opened. Prints "BEREIT <ns>" on the
// monotonic clock.
#include "Rohclient.h"
#include "Uhr.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>

#include <cstdio>
#include <stdexcept>

int main(int argc, char* argv[])
{
    QApplication anwendung(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "Aufruf: teststation-startboden HOST PORT BENUTZER PASSWORT DB\n");
        return 2;
    }
    // Text, as on any kiosk screen: its fonts are part of every start.
    QLabel fenster(QStringLiteral("Herzlich Willkommen."));
    fenster.showFullScreen();
    try {
        TRohverbindung verbindung(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]).toInt(),
                                  QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]),
                                  QString::fromLocal8Bit(argv[5]));
        const QDeadlineTimer frist(30000);
        while (!fenster.isVisible() && !frist.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();
        fenster.repaint();
        std::printf("BEREIT %lld\n", static_cast<long long>(Uhr::JetztNs()));
    } catch (const std::runtime_error& fehler) {
        std::fprintf(stderr, "%s\n", fehler.what());
        return 1;
    }
    return 0;
}
