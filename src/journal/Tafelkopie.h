// The board's local copy in the journal's file: the tenant's departments and, for every
// department the board has shown, its employees in board order with their tile photos. While the
// server is away the menu, the board and the measurement screen read from it.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class TJournal;

struct TKopiePerson
{
    QString Mitarbeiter_ID;
    QString Nachname;
    QString Vorname;
    QString Loginname;
    QDateTime Datum_ESD_Messung; // invalid when never measured
    QByteArray Foto;             // JPEG at tile size; empty when the person has none
    QString FotoQuelle;          // identifies the server's photo the tile photo was made from
};

class TTafelkopie
{
public:
    explicit TTafelkopie(TJournal& journal);

    // Replaces the tenant's department list.
    void AbteilungenSichern(const QString& mandant, const QStringList& abteilungen);
    QStringList Abteilungen(const QString& mandant) const;

    // Replaces what the copy holds of the department: its people in this order. A person whose
    // FotoQuelle is unchanged and whose Foto is empty keeps the photo the copy has; someone who
    // left the department leaves the copy's department.
    void AbteilungSichern(const QString& mandant, const QString& abteilung,
                          const QList<TKopiePerson>& personen);
    QList<TKopiePerson> Abteilung(const QString& mandant, const QString& abteilung) const;
    std::optional<TKopiePerson> Person(const QString& mitarbeiter_ID) const;
    // The photo source the copy holds for each of these people, by key; absent when none.
    QHash<QString, QString> FotoQuellen(const QStringList& mitarbeiter_IDs) const;

private:
    TJournal& FJournal;
};
