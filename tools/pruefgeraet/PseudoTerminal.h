// A pseudo-terminal pair in raw mode: the station opens the device path, we hold the other side.
#pragma once

#include <QByteArray>
#include <QString>

class TPseudoTerminal
{
public:
    // Throws std::runtime_error when the system has no pseudo-terminal to give.
    TPseudoTerminal();
    ~TPseudoTerminal();

    TPseudoTerminal(const TPseudoTerminal&) = delete;
    TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

    // The device path a serial port opens, e.g. /dev/pts/3.
    const QString& Geraet() const { return FGeraet; }
    // Our side; -1 once closed.
    int Dateideskriptor() const { return FMaster; }

    // Writes all bytes; false when the other side can no longer take them.
    bool Schreiben(const QByteArray& bytes);
    // Closes our side, as a tester unplugged from the line.
    void Schliessen();

private:
    int FMaster = -1;
    int FSlave = -1; // kept open so writes do not fail before the station opens the device
    QString FGeraet;
};
