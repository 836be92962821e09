// Raw mode matters: a line discipline would turn CR into LF and echo the bytes back.
#include "PseudoTerminal.h"

#include <cerrno>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

TPseudoTerminal::TPseudoTerminal()
{
    char name[128] = {};
    if (openpty(&FMaster, &FSlave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    termios modus{};
    if (tcgetattr(FSlave, &modus) == 0) {
        cfmakeraw(&modus);
        tcsetattr(FSlave, TCSANOW, &modus);
    }
    FGeraet = QString::fromLocal8Bit(name);
}

TPseudoTerminal::~TPseudoTerminal()
{
    Schliessen();
}

bool TPseudoTerminal::Schreiben(const QByteArray& bytes)
{
    const char* rest = bytes.constData();
    auto offen = static_cast<size_t>(bytes.size());
    while (offen > 0 && FMaster >= 0) {
        const ssize_t geschrieben = ::write(FMaster, rest, offen);
        if (geschrieben < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        rest += geschrieben;
        offen -= static_cast<size_t>(geschrieben);
    }
    return offen == 0;
}

void TPseudoTerminal::Schliessen()
{
    if (FSlave >= 0)
        ::close(FSlave);
    if (FMaster >= 0)
        ::close(FMaster);
    FSlave = FMaster = -1;
}
