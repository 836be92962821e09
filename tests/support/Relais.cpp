// The relay's threads: one accepts, one per connection forwards and watches for COMMIT.
#include "Relais.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace {

constexpr qsizetype kKopf = 4;                    // payload length (3 bytes LE) and sequence number
constexpr qsizetype kGroessteNutzlast = 0xFFFFFF; // such a packet continues in the next one
constexpr char kComQuery = 0x03;

// Shut down before closing: a child process forked meanwhile may hold a copy of the descriptor,
// and the peers must see the end now.
void Schliessen(int& fd)
{
    if (fd < 0)
        return;
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
    fd = -1;
}

// CLOEXEC: tests start processes, and an inherited socket would keep the link alive.
int TcpSocket()
{
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

// Without it, several small writes in a row wait for delayed acknowledgements.
void OhneVerzoegerung(int fd)
{
    const int ein = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &ein, sizeof ein);
}

sockaddr_in Loopback(int port)
{
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_port = htons(static_cast<uint16_t>(port));
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return adresse;
}

// Waits for the events on fd; false when the relay shuts down first.
bool Warten(int fd, short ereignisse, int wecker)
{
    pollfd p[2] = {{wecker, POLLIN, 0}, {fd, ereignisse, 0}};
    while (::poll(p, 2, -1) < 0) {
        if (errno != EINTR)
            return false;
    }
    return p[0].revents == 0;
}

qsizetype Nutzlaenge(const QByteArray& puffer)
{
    const auto b = [&](qsizetype i) {
        return static_cast<qsizetype>(static_cast<uchar>(puffer[i]));
    };
    return b(0) | b(1) << 8 | b(2) << 16;
}

} // namespace

// One relayed connection; its thread owns both sockets.
class TRelais::TStrecke
{
public:
    TStrecke(TRelais& relais, int client) : FRelais(relais), FClient(client) {}
    ~TStrecke()
    {
        Schliessen(FClient);
        Schliessen(FServer);
    }
    TStrecke(const TStrecke&) = delete;
    TStrecke& operator=(const TStrecke&) = delete;

    // Returns when either side ends, on a cut or on shutdown; the destructor then closes.
    void Laufen();

private:
    enum class TWeiter
    {
        Ja,
        Schluss
    };

    bool Verbinden();
    // Reads what is there; false at the end of the stream or on an error.
    bool Lesen(int fd, QByteArray& puffer);
    bool Senden(int fd, const char* daten, qsizetype laenge);
    TWeiter VomClient();
    TWeiter VomServer();
    // For a packet the client completed: whether to forward it, or to cut before it.
    bool Durchlassen(const QByteArray& paket);

    TRelais& FRelais;
    int FClient;
    int FServer = -1;
    QByteArray FVonClient; // a packet not yet complete
    QByteArray FVonServer; // only while the answer to the cut COMMIT is awaited
    QByteArray FBefehl;    // a command spread over packets of the greatest size
    bool FBefehlOffen = false;
    bool FAntwortVerwerfen = false;
};

bool TRelais::TStrecke::Verbinden()
{
    FServer = TcpSocket();
    if (FServer < 0)
        return false;
    const sockaddr_in adresse = Loopback(FRelais.FServerPort);
    while (::connect(FServer, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse) < 0) {
        if (errno != EINTR)
            return false;
    }
    OhneVerzoegerung(FServer);
    OhneVerzoegerung(FClient);
    return true;
}

void TRelais::TStrecke::Laufen()
{
    // A server that is down looks to the client like one that drops the link at once.
    if (!Verbinden())
        return;
    const int wecker = FRelais.FWecker[0];
    for (;;) {
        // While the answer to the cut COMMIT is awaited the client is not heard.
        pollfd p[3] = {{wecker, POLLIN, 0}, {FServer, POLLIN, 0}, {FClient, POLLIN, 0}};
        const nfds_t anzahl = FAntwortVerwerfen ? 2 : 3;
        if (::poll(p, anzahl, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (p[0].revents != 0)
            return;
        if (p[1].revents != 0 && VomServer() == TWeiter::Schluss)
            return;
        if (anzahl == 3 && p[2].revents != 0 && VomClient() == TWeiter::Schluss)
            return;
    }
}

bool TRelais::TStrecke::Lesen(int fd, QByteArray& puffer)
{
    char block[65536];
    for (;;) {
        const ssize_t n = ::recv(fd, block, sizeof block, 0);
        if (n > 0) {
            puffer.append(block, static_cast<qsizetype>(n));
            return true;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return false;
    }
}

bool TRelais::TStrecke::Senden(int fd, const char* daten, qsizetype laenge)
{
    // Not blocking in send, so that shutdown is heard while a peer does not read.
    while (laenge > 0) {
        const ssize_t n =
            ::send(fd, daten, static_cast<size_t>(laenge), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            daten += n;
            laenge -= static_cast<qsizetype>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!Warten(fd, POLLOUT, FRelais.FWecker[0]))
                return false;
        } else if (n < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

TRelais::TStrecke::TWeiter TRelais::TStrecke::VomServer()
{
    if (!FAntwortVerwerfen) {
        QByteArray block;
        if (!Lesen(FServer, block) || !Senden(FClient, block.constData(), block.size()))
            return TWeiter::Schluss;
        return TWeiter::Ja;
    }
    // The server ending the link before its whole answer is a cut as well.
    const bool offen = Lesen(FServer, FVonServer);
    if (offen && (FVonServer.size() < kKopf || FVonServer.size() < kKopf + Nutzlaenge(FVonServer)))
        return TWeiter::Ja;
    const std::lock_guard<std::mutex> sperre(FRelais.FMutex);
    ++FRelais.FSchnitte;
    return TWeiter::Schluss;
}

TRelais::TStrecke::TWeiter TRelais::TStrecke::VomClient()
{
    if (!Lesen(FClient, FVonClient))
        return TWeiter::Schluss;
    // Whole packets only: the decision about a COMMIT needs all of it.
    while (FVonClient.size() >= kKopf) {
        const qsizetype groesse = kKopf + Nutzlaenge(FVonClient);
        if (FVonClient.size() < groesse)
            break;
        const QByteArray paket = FVonClient.left(groesse);
        FVonClient.remove(0, groesse);
        if (!Durchlassen(paket))
            return TWeiter::Schluss;
        if (!Senden(FServer, paket.constData(), paket.size()))
            return TWeiter::Schluss;
        // Anything the client sent after the COMMIT dies with the link.
        if (FAntwortVerwerfen)
            return TWeiter::Ja;
    }
    return TWeiter::Ja;
}

bool TRelais::TStrecke::Durchlassen(const QByteArray& paket)
{
    // A command starts a new sequence; the packets of the handshake continue the server's.
    if (paket[3] == 0) {
        FBefehl.clear();
        FBefehlOffen = true;
    }
    if (!FBefehlOffen)
        return true;
    FBefehl.append(paket.constData() + kKopf, paket.size() - kKopf);
    if (paket.size() - kKopf == kGroessteNutzlast)
        return true;
    FBefehlOffen = false;
    if (FBefehl.isEmpty() || FBefehl[0] != kComQuery)
        return true;

    const QString text = QString::fromUtf8(FBefehl.constData() + 1, FBefehl.size() - 1);
    const std::lock_guard<std::mutex> sperre(FRelais.FMutex);
    FRelais.FAnweisungen.append(text);
    if (FRelais.FScharf == TSchnitt::Keiner ||
        text.trimmed().compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) != 0)
        return true;
    const TSchnitt schnitt = FRelais.FScharf;
    FRelais.FScharf = TSchnitt::Keiner;
    if (schnitt == TSchnitt::NachCommit) {
        FAntwortVerwerfen = true;
        return true;
    }
    ++FRelais.FSchnitte;
    return false;
}

TRelais::TRelais(int serverPort) : FServerPort(serverPort)
{
    const auto fehlschlag = [this](const char* was) {
        Schliessen(FLauscher);
        for (int& fd : FWecker) {
            if (fd >= 0)
                ::close(fd);
        }
        throw std::runtime_error(std::string("relay: ") + was + " failed");
    };
    if (::pipe2(FWecker, O_CLOEXEC) < 0)
        fehlschlag("pipe2()");
    FLauscher = TcpSocket();
    if (FLauscher < 0)
        fehlschlag("socket()");
    sockaddr_in adresse = Loopback(0);
    socklen_t laenge = sizeof adresse;
    if (::bind(FLauscher, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse) < 0)
        fehlschlag("bind()");
    if (::listen(FLauscher, SOMAXCONN) < 0)
        fehlschlag("listen()");
    if (::getsockname(FLauscher, reinterpret_cast<sockaddr*>(&adresse), &laenge) < 0)
        fehlschlag("getsockname()");
    FPort = ntohs(adresse.sin_port);
    FAnnahme = std::thread(&TRelais::Annehmen, this);
}

TRelais::~TRelais()
{
    const char zeichen = 0;
    while (::write(FWecker[1], &zeichen, 1) < 0 && errno == EINTR) {
    }
    FAnnahme.join();
    // The acceptor has ended: no thread is added any more.
    for (std::thread& strecke : FStrecken)
        strecke.join();
    Schliessen(FLauscher);
    ::close(FWecker[0]);
    ::close(FWecker[1]);
}

void TRelais::Schneiden(TSchnitt schnitt)
{
    const std::lock_guard<std::mutex> sperre(FMutex);
    FScharf = schnitt;
}

int TRelais::Schnitte() const
{
    const std::lock_guard<std::mutex> sperre(FMutex);
    return FSchnitte;
}

QStringList TRelais::Anweisungen() const
{
    const std::lock_guard<std::mutex> sperre(FMutex);
    return FAnweisungen;
}

void TRelais::Annehmen()
{
    while (Warten(FLauscher, POLLIN, FWecker[0])) {
        const int client = ::accept4(FLauscher, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        const std::lock_guard<std::mutex> sperre(FMutex);
        FStrecken.emplace_back(&TRelais::Weiterleiten, this, client);
    }
}

void TRelais::Weiterleiten(int client)
{
    TStrecke strecke(*this, client);
    strecke.Laufen();
}
