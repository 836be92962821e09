// A relay on loopback between a database client and the server, able to cut the link at a COMMIT.
#pragma once

#include <QStringList>

#include <mutex>
#include <thread>
#include <vector>

// Plain sockets and threads of its own: the test's thread blocks in synchronous database calls
// while the relay must keep forwarding.
class TRelais
{
public:
    // Listens on 127.0.0.1 on a free port, forwards every accepted connection to
    // 127.0.0.1:serverPort.
    explicit TRelais(int serverPort);
    // Stops the threads, closes every socket.
    ~TRelais();
    TRelais(const TRelais&) = delete;
    TRelais& operator=(const TRelais&) = delete;

    int Port() const { return FPort; }

    enum class TSchnitt
    {
        Keiner,
        VorCommit,
        NachCommit
    };
    // Arms a one-shot cut at the next COMMIT any client sends.
    // VorCommit: the COMMIT is not forwarded; both sockets of that connection are closed.
    // NachCommit: the COMMIT is forwarded, the server's complete answer packet is discarded,
    //   then both sockets are closed (the client sees error 2013).
    void Schneiden(TSchnitt schnitt);
    // Number of cuts done so far.
    int Schnitte() const;
    // Texts of every COM_QUERY the clients sent, in order.
    QStringList Anweisungen() const;

private:
    class TStrecke;

    void Annehmen();
    void Weiterleiten(int client);

    const int FServerPort;
    int FLauscher = -1;
    int FPort = 0;
    // Written once on shutdown and never read, so it stays readable for every poll.
    int FWecker[2] = {-1, -1};

    mutable std::mutex FMutex;
    TSchnitt FScharf = TSchnitt::Keiner;
    int FSchnitte = 0;
    QStringList FAnweisungen;
    std::vector<std::thread> FStrecken;

    std::thread FAnnahme; // started last: everything above is ready by then
};
