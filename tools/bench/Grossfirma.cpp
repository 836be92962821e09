#include "Grossfirma.h"

#include "Avatar.h"
#include "DBAbfrage.h"
#include "DBParameter.h"
#include "DBVerbindung.h"

#include <QBuffer>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace Grossfirma {
namespace {

// Grain strength and JPEG quality that give about 80 KB at 600 × 750.
constexpr int kKorn = 8;
constexpr int kJpegQualitaet = 85;
// Rows per statement: large enough for speed, small enough for the server's undo log.
constexpr qint64 kMessungenJeAnweisung = 100000;
constexpr int kFotosJeAnweisung = 1000;
// The measurement history spans this many days back from now.
constexpr int kTage = 730;
constexpr int kGemessen = 2 * kJeGemessenerAbteilung;

void Sql(TDBAbfrage& qu, const QString& text)
{
    qu.SQL().Clear();
    qu.SQL().Add(text);
    qu.ExecSQL();
}

} // namespace

QByteArray Foto(quint32 nummer)
{
    QImage bild = Avatar::Zeichne(nummer, kFotoGroesse).convertToFormat(QImage::Format_RGB32);
    QRandomGenerator zufall(nummer);
    for (int y = 0; y < bild.height(); ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
        for (int x = 0; x < bild.width(); ++x) {
            const int korn = zufall.bounded(2 * kKorn + 1) - kKorn;
            const QRgb p = zeile[x];
            zeile[x] =
                qRgb(std::clamp(qRed(p) + korn, 0, 255), std::clamp(qGreen(p) + korn, 0, 255),
                     std::clamp(qBlue(p) + korn, 0, 255));
        }
    }
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    QImageWriter schreiber(&puffer, QByteArrayLiteral("jpeg"));
    schreiber.setQuality(kJpegQualitaet);
    return schreiber.write(bild) ? daten : QByteArray();
}

void Fuellen(TDBVerbindung& verbindung, const TGroesse& groesse,
             const std::function<void(const QString&)>& fortschritt)
{
    TDBAbfrage qu(verbindung, u"quGrossfirma"_s);
    const int n = groesse.Mitarbeiter;
    const QString anzahl = QString::number(n);

    fortschritt(u"Abteilungen und Nachschlagewerte"_s);
    Sql(qu, u"INSERT IGNORE INTO LAENDER VALUES (1, 'Deutschland')"_s);
    Sql(qu, u"INSERT IGNORE INTO PLZ VALUES (1, '79100', 'Freiburg', 1)"_s);
    Sql(qu, u"INSERT IGNORE INTO VORGABEN_ANREDE VALUES (2, 'Herr'), (3, 'Frau')"_s);
    Sql(qu, u"INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) SELECT seq + 1, "
            u"CONCAT('Abteilung ', LPAD(seq, 3, '0')) FROM seq_1_to_%1"_s.arg(kAbteilungen));

    // Employee i (0-based) has key i + 2; the first kGemessen fill the two measured
    // departments, the others go round the remaining ones.
    const QString abteilung =
        u"IF(seq < %1, 2 + seq DIV %2, 4 + (seq - %1) MOD %3)"_s.arg(kGemessen)
            .arg(kJeGemessenerAbteilung)
            .arg(kAbteilungen - 2);
    fortschritt(u"%1 Mitarbeiter"_s.arg(n));
    Sql(qu, u"INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, NACHNAME, "
            u"VORNAME, MITARBEITER) SELECT seq + 2, 2 + seq MOD 2, 1, 1, "
            u"CONCAT(ELT(1 + seq MOD 16, 'Müller', 'Schmidt', 'Schneider', 'Fischer', 'Weber', "
            u"'Meyer', 'Wagner', 'Becker', 'Schulz', 'Hoffmann', 'Schäfer', 'Koch', 'Bauer', "
            u"'Richter', 'Klein', 'Wolf'), '-', seq + 2), "
            u"ELT(1 + seq MOD 12, 'Jonas', 'Anna', 'Lukas', 'Marie', 'Felix', 'Lena', 'Paul', "
            u"'Sophie', 'Emil', 'Hannah', 'Ben', 'Lea'), 'J' FROM seq_0_to_%1"_s.arg(n - 1));
    Sql(qu, u"INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, PERSONALNUMMER, "
            u"LOGINNAME, ABTEILUNG_ID, MA_ANG_STATUS_ID, ESD_MESSUNG) SELECT seq + 2, seq + 2, "
            u"LPAD(seq + 2, 6, '0'), CONCAT('ma', seq + 2), %1, 1, 'J' FROM seq_0_to_%2"_s
                .arg(abteilung)
                .arg(n - 1));

    // Spread evenly over the period, the newest now; four of five pass.
    for (qint64 von = 1; von <= groesse.Messungen; von += kMessungenJeAnweisung) {
        const qint64 bis = std::min(groesse.Messungen, von + kMessungenJeAnweisung - 1);
        fortschritt(u"Messungen %1 bis %2"_s.arg(von).arg(bis));
        Sql(qu, u"INSERT INTO ESD_MESSWERTE_SCHUHE (ZEITSTEMPEL, MITARBEITER_ID, NAME, "
                u"MESSWERT_SCHUH_L, MESSWERT_SCHUH_R, MESSWERT_ARMBAND, FEHLERCODE, MESSWERTE_OK) "
                u"SELECT NOW() - INTERVAL (%1 - seq) * %2 DIV %1 SECOND, "
                u"2 + (seq * 7919) MOD %3, CONCAT('ma', 2 + (seq * 7919) MOD %3), ' 0.35', "
                u"IF(seq MOD 5 = 0, ' OVR', ' 0.40'), ' 1.1', IF(seq MOD 5 = 0, ' 32', ''), "
                u"IF(seq MOD 5 = 0, 'N', 'J') FROM seq_%4_to_%5"_s.arg(groesse.Messungen)
                    .arg(qint64(kTage) * 86400)
                    .arg(anzahl)
                    .arg(von)
                    .arg(bis));
    }
    fortschritt(u"Messdaten"_s);
    Sql(qu, u"UPDATE MITARBEITER m JOIN (SELECT MITARBEITER_ID, MAX(ZEITSTEMPEL) AS ZULETZT FROM "
            u"ESD_MESSWERTE_SCHUHE WHERE MESSWERTE_OK = 'J' GROUP BY MITARBEITER_ID) s USING "
            u"(MITARBEITER_ID) SET m.DATUM_ESD_MESSUNG = s.ZULETZT"_s);

    const int fotos = std::max(1, groesse.Fotos);
    fortschritt(u"%1 Porträts"_s.arg(fotos));
    Sql(qu, u"CREATE TEMPORARY TABLE BENCH_FOTOS (NR INT PRIMARY KEY, BILD LONGBLOB NOT NULL)"_s);
    for (int nr = 0; nr < fotos; ++nr) {
        qu.SQL().Clear();
        qu.SQL().Add(u"INSERT INTO BENCH_FOTOS (NR, BILD) VALUES (:Nr, :Bild)"_s);
        qu.ParamByName(u"NR"_s).SetAsString(QString::number(nr));
        qu.ParamByName(u"BILD"_s).SetAsBlob(Foto(quint32(nr) * 2654435761u + 1u));
        qu.ExecSQL();
    }
    for (int von = 2; von < n + 2; von += kFotosJeAnweisung) {
        const int bis = std::min(n + 1, von + kFotosJeAnweisung - 1);
        fortschritt(u"Fotos der Mitarbeiter %1 bis %2"_s.arg(von).arg(bis));
        Sql(qu, u"UPDATE MITARBEITER m JOIN BENCH_FOTOS f ON f.NR = m.MITARBEITER_ID MOD %1 "
                u"SET m.FOTO = f.BILD WHERE m.MITARBEITER_ID BETWEEN %2 AND %3"_s.arg(fotos)
                    .arg(von)
                    .arg(bis));
    }
    Sql(qu, u"DROP TEMPORARY TABLE BENCH_FOTOS"_s);
}

} // namespace Grossfirma
