// Reading the board's data once more for the copy, photo sources compared so that only changed
// photos are fetched and scaled again.
#include "Kopieauffrischung.h"

#include "Bilder.h"
#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "TafelAbfragen.h"
#include "Tafelkopie.h"
#include "uFehler.h"

#include <QBuffer>
#include <QImage>
#include <QTimer>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The board's own statement and filter, with only what a tile and the measurement screen show;
// the photo by its checksum, so unchanged photos are not fetched.
const QString kSpalten =
    u"MITARBEITER.MITARBEITER_ID AS ID, KONTAKTDATEN.NACHNAME AS NACHNAME, "
    "KONTAKTDATEN.VORNAME AS VORNAME, MITARBEITER.LOGINNAME AS LOGINNAME, "
    "MITARBEITER.DATUM_ESD_MESSUNG AS DATUM, MD5(MITARBEITER.FOTO) AS QUELLE"_s;

QByteArray Kachelfoto(const QByteArray& foto, QSize kachel)
{
    const QImage bild = Bilder::DekodiereFoto(foto, kachel);
    QByteArray jpeg;
    QBuffer puffer(&jpeg);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "JPG", 85);
    return jpeg;
}

} // namespace

void TKopieauffrischung::AuffrischenJetzt(TTafelkopie& kopie, const TZugangswerte& zugang,
                                          const QString& mandant, const QString& abteilung,
                                          QSize kachel)
{
    TDBVerbindung verbindung;
    Einstellen(verbindung, zugang);
    verbindung.SetConnected(true);
    TDBAbfrage abfrage(verbindung, u"quKopie"_s);

    if (abteilung.isEmpty()) {
        abfrage.SQL().Add(Tafel::AbteilungenSql(mandant));
        abfrage.Open();
        QStringList abteilungen;
        for (abfrage.First(); !abfrage.Eof(); abfrage.Next())
            abteilungen.append(abfrage.FieldByName(u"ABTEILUNG"_s).AsString());
        kopie.AbteilungenSichern(mandant, abteilungen);
        return;
    }

    abfrage.SQL().Add(Tafel::MitarbeiterSql(mandant, kSpalten));
    abfrage.ParamByName(u"ABTEILUNG"_s).SetAsString(abteilung);
    abfrage.Open();
    QList<TKopiePerson> personen;
    for (abfrage.First(); !abfrage.Eof(); abfrage.Next()) {
        TKopiePerson person;
        person.Mitarbeiter_ID = abfrage.FieldByName(u"ID"_s).AsString();
        person.Nachname = abfrage.FieldByName(u"NACHNAME"_s).AsString();
        person.Vorname = abfrage.FieldByName(u"VORNAME"_s).AsString();
        person.Loginname = abfrage.FieldByName(u"LOGINNAME"_s).AsString();
        const TDBFeld& datum = abfrage.FieldByName(u"DATUM"_s);
        if (!datum.IsNull())
            person.Datum_ESD_Messung = datum.AsVariant().toDateTime();
        person.FotoQuelle = abfrage.FieldByName(u"QUELLE"_s).AsString();
        personen.append(person);
    }

    QStringList ids;
    for (const TKopiePerson& person : std::as_const(personen))
        ids.append(person.Mitarbeiter_ID);
    const QHash<QString, QString> vorhanden = kopie.FotoQuellen(ids);
    TDBAbfrage foto(verbindung, u"quKopieFoto"_s);
    foto.SQL().Add(u"SELECT FOTO FROM MITARBEITER WHERE MITARBEITER_ID = :ID"_s);
    for (TKopiePerson& person : personen) {
        if (person.FotoQuelle.isEmpty() ||
            vorhanden.value(person.Mitarbeiter_ID) == person.FotoQuelle)
            continue;
        foto.Close();
        foto.ParamByName(u"ID"_s).SetAsString(person.Mitarbeiter_ID);
        foto.Open();
        if (foto.Eof() || foto.FieldByName(u"FOTO"_s).IsNull())
            continue;
        try {
            person.Foto = Kachelfoto(foto.FieldByName(u"FOTO"_s).AsBytes(), kachel);
        } catch (const std::exception&) {
            // A photo the board cannot show either: the copy shows the placeholder.
            person.FotoQuelle.clear();
        }
    }
    kopie.AbteilungSichern(mandant, abteilung, personen);
}

TKopieauffrischung::TKopieauffrischung(TTafelkopie& kopie, TZugangswerte zugang, QString mandant,
                                       QObject* parent)
    : QObject(parent), FArbeiter(new QObject), FKopie(kopie), FZugang(std::move(zugang)),
      FMandant(std::move(mandant))
{
    FThread.setObjectName(u"Kopieauffrischung"_s);
    FArbeiter->moveToThread(&FThread);
    connect(&FThread, &QThread::finished, FArbeiter, &QObject::deleteLater);
    FThread.start(QThread::LowPriority);
}

TKopieauffrischung::~TKopieauffrischung()
{
    FThread.quit();
    FThread.wait();
}

void TKopieauffrischung::Auffrischen(const QString& abteilung, QSize kachel)
{
    const auto zuletzt = FZuletzt.constFind(abteilung);
    if (zuletzt != FZuletzt.cend() && !zuletzt->hasExpired())
        return;
    FZuletzt.insert(abteilung, QDeadlineTimer(kMindestabstandMs));
    // Run in the worker's thread, after the start's quiet time when that has not passed yet.
    const int warten = int(std::max<qint64>(0, FStartruhe.remainingTime()));
    QMetaObject::invokeMethod(
        FArbeiter,
        [this, abteilung, kachel, warten] {
            // A child of the worker, not a free single-shot: should the station end before it
            // fires, it goes with the worker instead of being left behind.
            auto* zeitgeber = new QTimer(FArbeiter);
            zeitgeber->setSingleShot(true);
            connect(zeitgeber, &QTimer::timeout, FArbeiter, [this, abteilung, kachel, zeitgeber] {
                zeitgeber->deleteLater();
                QString fehler;
                try {
                    AuffrischenJetzt(FKopie, FZugang, FMandant, abteilung, kachel);
                } catch (const std::exception& ausnahme) {
                    fehler = TypNameVon(ausnahme) + u':' + MeldungVon(ausnahme);
                }
                emit Aufgefrischt(abteilung, fehler);
            });
            zeitgeber->start(warten);
        },
        Qt::QueuedConnection);
}
