// The station's start as main() does it, up to the welcome card with the connection open and
// the department menu loaded. Prints "BEREIT <ns>" on the monotonic clock and ends.
#include "Fensterset.h"
#include "Start.h"
#include "Stationstreiber.h"
#include "Uhr.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uMessung.h"

#include <QApplication>
#include <QDeadlineTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication anwendung(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: teststation-startzeit VERZEICHNIS_DER_EINSTELLUNGEN\n");
        return 2;
    }
    BereiteAnwendungVor();
    TFensterset fenster;
    FDM->SetzeEinstellungsVerzeichnis(QString::fromLocal8Bit(argv[1]));
    FMain->ZeigeVollbild();
    const TStationstreiber station(*FMain, *FMessung);
    const QPushButton* erster = station.AufTafel<QPushButton>(QStringLiteral("btnAbteilung_B1"));
    const QDeadlineTimer frist(30000);
    while (!FDM->MyCon.Connected() || station.Karte() != QStringLiteral("cardWelcome") ||
           erster->text().isEmpty() || !FMain->isVisible()) {
        if (frist.hasExpired()) {
            std::fprintf(stderr, "Die Station ist nicht bereit geworden.\n");
            return 1;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    FMain->repaint();
    std::printf("BEREIT %lld\n", static_cast<long long>(Uhr::JetztNs()));
    return 0;
}
