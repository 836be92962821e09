// The one connection to the database server that every query of the station runs over.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

#include "Serverliste.h"

class TDBErgebnis;
class TMySqlHandle;

// Outside a transaction every statement commits on its own. A link that the server dropped
// (restart, idle timeout, network) is re-established before the next statement without a
// message; a statement that met the drop is never sent again, it fails to its caller. Within
// a transaction a drop fails the whole transaction.
//
// The server may be a list of a cluster's nodes (Serverliste): the opening takes the first
// that answers and is ready for statements, a re-established link the next one after the node
// whose link broke, in the list's order and round again. A node that left the cluster's primary
// component counts as a broken link.
class TDBVerbindung : public QObject
{
    Q_OBJECT

public:
    explicit TDBVerbindung(QObject* parent = nullptr);
    ~TDBVerbindung() override;

    // Used by the next opening. An empty server means the local server; a comma-separated list
    // names several (the port applies to entries without one).
    const QString& Server() const { return FServer; }
    void SetServer(const QString& wert) { FServer = wert; }
    int Port() const { return FPort; }
    void SetPort(int wert) { FPort = wert; }
    const QString& Database() const { return FDatabase; }
    void SetDatabase(const QString& wert) { FDatabase = wert; }
    const QString& Username() const { return FUsername; }
    void SetUsername(const QString& wert) { FUsername = wert; }
    const QString& Password() const { return FPassword; }
    void SetPassword(const QString& wert) { FPassword = wert; }

    // True once opened by the program and until it closes the connection, also while the
    // layer is about to re-establish a dropped link.
    bool Connected() const { return FConnected; }
    // true: opens with the settings above, throws EVerbindungsfehler and stays closed on
    // failure (later statements then try once more each); false: closes.
    void SetConnected(bool verbinden);

    void StartTransaction();
    void Commit();
    // Never fails for a lost link: the server has discarded the transaction already.
    void Rollback();
    bool InTransaction() const { return FInTransaktion; }

    // Number of silently re-established links so far; the server's id of the current link.
    int Wiederaufbauten() const { return FWiederaufbauten; }
    unsigned long ServerThreadId() const;
    // Of a list: links re-established on another node than the one before; "host:port" of the
    // node in use (empty without a link); whether the last node used was a cluster node.
    int Knotenwechsel() const { return FKnotenwechsel; }
    QString AktuellerServer() const;
    bool Clusterknoten() const { return FClusterknoten; }

    // Seconds: connecting; waiting for an answer before the link counts as lost.
    static constexpr unsigned int kVerbindungsTimeout = 5;
    static constexpr unsigned int kAntwortTimeout = 30;

private:
    friend class TDBAbfrage;

    struct TAntwort
    {
        std::unique_ptr<TDBErgebnis> Ergebnis; // null for a statement without a result set
        quint64 Betroffen = 0;
        quint64 EingefuegtId = 0; // the AUTO_INCREMENT value this statement generated, else 0
    };

    // Before each statement: makes sure there is a live link. True when it was just
    // established anew (the session state of the previous link, LAST_INSERT_ID() among it,
    // is gone).
    bool LinkSicherstellen();
    // A quoted string literal escaped by the link's own rules; needs a live link.
    QByteArray TextLiteral(const QString& text) const;
    TAntwort Ausfuehren(const QByteArray& anweisung);

    void Verbinden();
    std::unique_ptr<TMySqlHandle> Oeffnen(const TServeradresse& adresse) const;
    // Of a list: false when the node refuses statements; learns whether it is a cluster node.
    bool KnotenBereit(TMySqlHandle& link);
    void LinkVerloren();
    bool LinkAbgerissen() const;
    [[noreturn]] void WirfFehler();
    void TransaktionBeenden();

    QString FServer;
    int FPort = 3306;
    QString FDatabase;
    QString FUsername;
    QString FPassword;

    std::unique_ptr<TMySqlHandle> FLink; // null while there is no link
    bool FConnected = false;
    bool FOeffnenVerlangt = false; // the program asked for a connection and has not closed it
    bool FInTransaktion = false;
    bool FTransaktionVerloren = false;
    int FWiederaufbauten = 0;
    QList<TServeradresse> FListe; // as the last opening read it
    qsizetype FKnoten = -1;       // the node of the current link in FListe
    qsizetype FNaechster = 0;     // where the next opening starts
    int FKnotenwechsel = 0;
    bool FClusterknoten = false;
};
