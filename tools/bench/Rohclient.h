// The floor's database client: Connector/C called directly, with nothing of our layer between.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

struct st_mysql;

// The values are not copied, as the station's layer does not copy them: they point into the
// client library's stored result, which lives as long as a TRohergebnis sharing it. Keep a value
// longer only as a deep copy.
struct TRohergebnis
{
    std::shared_ptr<void> Quelle;
    QList<QByteArray> Spalten;
    QList<QList<QByteArray>> Zeilen;

    // Index of the column with this name; -1 if none.
    int Spalte(const QByteArray& name) const { return int(Spalten.indexOf(name)); }
};

class TRohverbindung
{
public:
    // Throws std::runtime_error with the client's message when the connection fails.
    TRohverbindung(const QString& server, int port, const QString& benutzer,
                   const QString& passwort, const QString& datenbank);
    ~TRohverbindung();

    TRohverbindung(const TRohverbindung&) = delete;
    TRohverbindung& operator=(const TRohverbindung&) = delete;

    // Sends the statement and reads its whole result, as any client must; throws on failure.
    TRohergebnis Abfrage(const QByteArray& anweisung);
    // The same, discarding the rows after reading them.
    void Ausfuehren(const QByteArray& anweisung);

private:
    st_mysql* FVerbindung = nullptr;
};
