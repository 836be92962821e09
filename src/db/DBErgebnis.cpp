// Result storage: one cell record per value, pointing into the client library's stored rows.
#include "DBErgebnis.h"

int TDBErgebnis::SpaltenIndex(const QString& name) const
{
    return FIndex.value(name.toUpper(), -1);
}

QByteArrayView TDBErgebnis::Wert(int zeile, int spalte) const
{
    const TZelle& zelle = Zelle(zeile, spalte);
    if (zelle.Laenge <= 0)
        return {};
    return QByteArrayView(zelle.Daten, zelle.Laenge);
}

void TDBErgebnis::SpalteHinzufuegen(const QString& name, TArt art, bool blob)
{
    // Joined tables may repeat a name; callers want the first table's column.
    const QString schluessel = name.toUpper();
    if (!FIndex.contains(schluessel))
        FIndex.insert(schluessel, static_cast<int>(FSpalten.size()));
    FSpalten.push_back({name, art, blob});
}

void TDBErgebnis::Reservieren(int zeilen)
{
    FZellen.reserve(static_cast<size_t>(zeilen) * FSpalten.size());
}

void TDBErgebnis::ZeileHinzufuegen(const char* const* werte, const unsigned long* laengen)
{
    for (size_t i = 0; i < FSpalten.size(); ++i) {
        TZelle zelle;
        if (werte[i]) {
            zelle.Daten = werte[i];
            zelle.Laenge = static_cast<qsizetype>(laengen[i]);
        }
        FZellen.push_back(zelle);
    }
    ++FZeilen;
}
