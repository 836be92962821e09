// Entry point of the station.
#include "Fensterset.h"
#include "Start.h"
#include "uFMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication anwendung(argc, argv);
    BereiteAnwendungVor();
    TFensterset fenster;
    FMain->ZeigeVollbild();
    const int status = QApplication::exec();
    return FMain->iEndeStatus != 0 ? FMain->iEndeStatus : status;
}
