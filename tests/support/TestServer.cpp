// Test servers: every call goes through the same script that people use by hand.
#include "TestServer.h"

#include "DBVerbindung.h"

#include <QFile>
#include <QProcess>

#include <stdexcept>

TTestServer::TTestServer() : FVerzeichnis(qEnvironmentVariable("TS_TESTDB_DIR"))
{
    if (FVerzeichnis.isEmpty())
        throw std::runtime_error("TS_TESTDB_DIR is not set; run the test through ctest");
}

TTestServer::TTestServer(const QString& verzeichnis) : FVerzeichnis(verzeichnis) {}

QByteArray TTestServer::Skript(const QStringList& argumente, const QByteArray& eingabe) const
{
    QProcess prozess;
    prozess.start(QStringLiteral(TS_TESTDB_SKRIPT), argumente);
    if (!prozess.waitForStarted())
        throw std::runtime_error("scripts/testdb does not start");
    prozess.write(eingabe);
    prozess.closeWriteChannel();
    if (!prozess.waitForFinished(120000) || prozess.exitStatus() != QProcess::NormalExit ||
        prozess.exitCode() != 0) {
        throw std::runtime_error("scripts/testdb " + argumente.join(u' ').toStdString() +
                                 " failed: " + prozess.readAllStandardError().toStdString());
    }
    return prozess.readAllStandardOutput();
}

void TTestServer::Starten() const
{
    Skript({QStringLiteral("start"), FVerzeichnis});
}

void TTestServer::Stoppen() const
{
    Skript({QStringLiteral("stop"), FVerzeichnis});
}

void TTestServer::Neustarten() const
{
    Skript({QStringLiteral("restart"), FVerzeichnis});
}

void TTestServer::Entfernen() const
{
    Skript({QStringLiteral("destroy"), FVerzeichnis});
}

int TTestServer::Port() const
{
    QFile datei(FVerzeichnis + QStringLiteral("/port"));
    bool ok = false;
    const int port = datei.open(QIODevice::ReadOnly) ? datei.readAll().trimmed().toInt(&ok) : 0;
    if (!ok)
        throw std::runtime_error("test server has no port file");
    return port;
}

void TTestServer::NeueDatenbank(const QString& name) const
{
    Skript({QStringLiteral("schema"), FVerzeichnis, name});
}

QString TTestServer::Sql(const QString& sql, const QString& datenbank) const
{
    QStringList argumente{QStringLiteral("sql"), FVerzeichnis};
    if (!datenbank.isEmpty())
        argumente << datenbank;
    return QString::fromUtf8(Skript(argumente, sql.toUtf8()));
}

void TTestServer::SqlNebenher(const QString& sql, QProcess& prozess) const
{
    prozess.start(QStringLiteral(TS_TESTDB_SKRIPT), {QStringLiteral("sql"), FVerzeichnis});
    // Written now: the caller's blocking statement keeps the event loop from doing it later.
    if (!prozess.waitForStarted() || prozess.write(sql.toUtf8()) < 0 ||
        !prozess.waitForBytesWritten())
        throw std::runtime_error("scripts/testdb sql does not take its input");
    prozess.closeWriteChannel();
}

void TTestServer::Verbinde(TDBVerbindung& verbindung, const QString& datenbank) const
{
    verbindung.SetServer(QStringLiteral("127.0.0.1"));
    verbindung.SetPort(Port());
    verbindung.SetUsername(QString::fromLatin1(kBenutzer));
    verbindung.SetPassword(QString::fromLatin1(kPasswort));
    verbindung.SetDatabase(datenbank);
    verbindung.SetConnected(true);
}

TKlarEinstellungen TTestServer::StationsWerte(const QString& datenbank) const
{
    TKlarEinstellungen werte;
    werte.Hostname = QStringLiteral("127.0.0.1");
    werte.Port = Port();
    werte.Username = QString::fromLatin1(kBenutzer);
    werte.Passwort = QString::fromLatin1(kPasswort);
    werte.Datenbank = datenbank;
    return werte;
}
