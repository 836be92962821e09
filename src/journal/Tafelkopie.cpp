// The copy's statements; every access holds the journal's lock.
#include "Tafelkopie.h"

#include "Journal.h"
#include "SqliteAnweisung.h"
#include "SqliteHandle.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kZeitformat = u"yyyy-MM-dd hh:mm:ss"_s;

constexpr const char* kPersonSpalten = "SELECT MITARBEITER_ID, NACHNAME, VORNAME, LOGINNAME, "
                                       "DATUM_ESD_MESSUNG, FOTO, FOTO_QUELLE FROM KOPIE_PERSON ";

TKopiePerson Lesen(const TSqliteAnweisung& zeile)
{
    TKopiePerson person;
    person.Mitarbeiter_ID = zeile.Text(0);
    person.Nachname = zeile.Text(1);
    person.Vorname = zeile.Text(2);
    person.Loginname = zeile.Text(3);
    if (!zeile.IstNull(4))
        person.Datum_ESD_Messung = QDateTime::fromString(zeile.Text(4), kZeitformat);
    if (!zeile.IstNull(5))
        person.Foto = zeile.Bytes(5);
    person.FotoQuelle = zeile.Text(6);
    return person;
}

// A copy is no record of results: losing its last writes to a power cut costs a refresh, so
// they skip the wait for the disk that every journal entry makes.
class TKopieSchreiben
{
public:
    explicit TKopieSchreiben(sqlite3* db) : FDb(db)
    {
        TSqliteAnweisung(FDb, "PRAGMA synchronous = NORMAL").Ausfuehren();
        TSqliteAnweisung(FDb, "BEGIN IMMEDIATE").Ausfuehren();
    }
    ~TKopieSchreiben()
    {
        if (!FFertig)
            sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(FDb, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
    }
    TKopieSchreiben(const TKopieSchreiben&) = delete;
    TKopieSchreiben& operator=(const TKopieSchreiben&) = delete;

    void Abschliessen()
    {
        TSqliteAnweisung(FDb, "COMMIT").Ausfuehren();
        FFertig = true;
    }

private:
    sqlite3* FDb;
    bool FFertig = false;
};

} // namespace

TTafelkopie::TTafelkopie(TJournal& journal) : FJournal(journal) {}

void TTafelkopie::AbteilungenSichern(const QString& mandant, const QStringList& abteilungen)
{
    const std::lock_guard<std::mutex> sperre(FJournal.FSperre);
    sqlite3* db = FJournal.FDb->get();
    TKopieSchreiben schreiben(db);
    TSqliteAnweisung loeschen(db, "DELETE FROM KOPIE_ABTEILUNG WHERE MANDANT = ?");
    loeschen.Binden(1, mandant);
    loeschen.Ausfuehren();
    TSqliteAnweisung einfuegen(
        db, "INSERT INTO KOPIE_ABTEILUNG (MANDANT, NR, ABTEILUNG) VALUES (?, ?, ?)");
    for (qsizetype i = 0; i < abteilungen.size(); ++i) {
        einfuegen.Zuruecksetzen();
        einfuegen.Binden(1, mandant);
        einfuegen.Binden(2, qint64(i));
        einfuegen.Binden(3, abteilungen[i]);
        einfuegen.Ausfuehren();
    }
    schreiben.Abschliessen();
}

QStringList TTafelkopie::Abteilungen(const QString& mandant) const
{
    const std::lock_guard<std::mutex> sperre(FJournal.FSperre);
    TSqliteAnweisung abfrage(FJournal.FDb->get(),
                             "SELECT ABTEILUNG FROM KOPIE_ABTEILUNG WHERE MANDANT = ? ORDER BY NR");
    abfrage.Binden(1, mandant);
    QStringList abteilungen;
    while (abfrage.Schritt())
        abteilungen.append(abfrage.Text(0));
    return abteilungen;
}

void TTafelkopie::AbteilungSichern(const QString& mandant, const QString& abteilung,
                                   const QList<TKopiePerson>& personen)
{
    const std::lock_guard<std::mutex> sperre(FJournal.FSperre);
    sqlite3* db = FJournal.FDb->get();
    TKopieSchreiben schreiben(db);
    // Who is no longer in the department is dropped; who moved to another one keeps the row
    // until that department is shown.
    TSqliteAnweisung loeschen(db, "DELETE FROM KOPIE_PERSON WHERE MANDANT = ? AND ABTEILUNG = ?");
    loeschen.Binden(1, mandant);
    loeschen.Binden(2, abteilung);
    // Photos of those who stay are read back first: the delete must not cost them.
    QHash<QString, QByteArray> fotos;
    {
        TSqliteAnweisung alt(db, "SELECT MITARBEITER_ID, FOTO, FOTO_QUELLE FROM KOPIE_PERSON "
                                 "WHERE MANDANT = ? AND ABTEILUNG = ? AND FOTO IS NOT NULL");
        alt.Binden(1, mandant);
        alt.Binden(2, abteilung);
        QHash<QString, QString> quellen;
        for (const TKopiePerson& person : personen)
            if (person.Foto.isEmpty())
                quellen.insert(person.Mitarbeiter_ID, person.FotoQuelle);
        while (alt.Schritt()) {
            const auto quelle = quellen.constFind(alt.Text(0));
            if (quelle != quellen.cend() && *quelle == alt.Text(2))
                fotos.insert(alt.Text(0), alt.Bytes(1));
        }
    }
    loeschen.Ausfuehren();
    TSqliteAnweisung einfuegen(
        db, "INSERT OR REPLACE INTO KOPIE_PERSON (MITARBEITER_ID, MANDANT, ABTEILUNG, NR, "
            "NACHNAME, VORNAME, LOGINNAME, DATUM_ESD_MESSUNG, FOTO, FOTO_QUELLE) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (qsizetype i = 0; i < personen.size(); ++i) {
        const TKopiePerson& person = personen[i];
        einfuegen.Zuruecksetzen();
        einfuegen.Binden(1, person.Mitarbeiter_ID);
        einfuegen.Binden(2, mandant);
        einfuegen.Binden(3, abteilung);
        einfuegen.Binden(4, qint64(i));
        einfuegen.Binden(5, person.Nachname);
        einfuegen.Binden(6, person.Vorname);
        einfuegen.Binden(7, person.Loginname);
        if (person.Datum_ESD_Messung.isValid())
            einfuegen.Binden(8, person.Datum_ESD_Messung.toString(kZeitformat));
        else
            einfuegen.BindenNull(8);
        einfuegen.BindenBytes(9, person.Foto.isEmpty() ? fotos.value(person.Mitarbeiter_ID)
                                                       : person.Foto);
        einfuegen.Binden(10, person.FotoQuelle);
        einfuegen.Ausfuehren();
    }
    schreiben.Abschliessen();
}

QList<TKopiePerson> TTafelkopie::Abteilung(const QString& mandant, const QString& abteilung) const
{
    const std::lock_guard<std::mutex> sperre(FJournal.FSperre);
    const QByteArray sql =
        QByteArray(kPersonSpalten) + "WHERE MANDANT = ? AND ABTEILUNG = ? ORDER BY NR";
    TSqliteAnweisung abfrage(FJournal.FDb->get(), sql.constData());
    abfrage.Binden(1, mandant);
    abfrage.Binden(2, abteilung);
    QList<TKopiePerson> personen;
    while (abfrage.Schritt())
        personen.append(Lesen(abfrage));
    return personen;
}

std::optional<TKopiePerson> TTafelkopie::Person(const QString& mitarbeiter_ID) const
{
    const std::lock_guard<std::mutex> sperre(FJournal.FSperre);
    const QByteArray sql = QByteArray(kPersonSpalten) + "WHERE MITARBEITER_ID = ?";
    TSqliteAnweisung abfrage(FJournal.FDb->get(), sql.constData());
    abfrage.Binden(1, mitarbeiter_ID);
    if (!abfrage.Schritt())
        return std::nullopt;
    return Lesen(abfrage);
}

QHash<QString, QString> TTafelkopie::FotoQuellen(const QStringList& mitarbeiter_IDs) const
{
    const std::lock_guard<std::mutex> sperre(FJournal.FSperre);
    TSqliteAnweisung abfrage(FJournal.FDb->get(),
                             "SELECT FOTO_QUELLE FROM KOPIE_PERSON WHERE MITARBEITER_ID = ? AND "
                             "FOTO IS NOT NULL");
    QHash<QString, QString> quellen;
    for (const QString& id : mitarbeiter_IDs) {
        abfrage.Zuruecksetzen();
        abfrage.Binden(1, id);
        if (abfrage.Schritt())
            quellen.insert(id, abfrage.Text(0));
    }
    return quellen;
}
