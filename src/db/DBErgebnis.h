// A complete result set held in memory, independent of the connection it came from.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class TDBErgebnis
{
public:
    // How a column's bytes are read.
    enum class TArt
    {
        Text,
        Ganzzahl,
        Zahl,
        Datum,
        DatumZeit,
        Zeit,
        Blob,
        Bytes
    };

    struct TSpalte
    {
        QString Name;
        TArt Art = TArt::Text;
        // BLOB and TEXT columns: the layer's "blob" family, read through a stream.
        bool Blob = false;
    };

    int SpaltenAnzahl() const { return static_cast<int>(FSpalten.size()); }
    int ZeilenAnzahl() const { return FZeilen; }
    const TSpalte& Spalte(int index) const { return FSpalten[static_cast<size_t>(index)]; }
    // Index of the first column of that name without regard to letter case, or -1.
    int SpaltenIndex(const QString& name) const;

    bool IstNull(int zeile, int spalte) const { return Zelle(zeile, spalte).Laenge < 0; }
    QByteArrayView Wert(int zeile, int spalte) const;

    // Filled by the connection while it reads a result from the server. The values are not
    // copied: a result of 50 photos is megabytes, and copying it cost a board tap a third of its
    // time. They stay where the client library stored them, kept alive by the Quelle.
    using TQuelle = std::unique_ptr<void, void (*)(void*)>;
    explicit TDBErgebnis(TQuelle quelle) : FQuelle(std::move(quelle)) {}
    void SpalteHinzufuegen(const QString& name, TArt art, bool blob);
    void Reservieren(int zeilen);
    // werte[i] == nullptr marks NULL; laengen[i] is the byte count of column i. The values must
    // live as long as the Quelle.
    void ZeileHinzufuegen(const char* const* werte, const unsigned long* laengen);

private:
    struct TZelle
    {
        const char* Daten = nullptr;
        qsizetype Laenge = -1;
    };
    const TZelle& Zelle(int zeile, int spalte) const
    {
        return FZellen[static_cast<size_t>(zeile) * FSpalten.size() + static_cast<size_t>(spalte)];
    }

    std::vector<TSpalte> FSpalten;
    QHash<QString, int> FIndex; // upper-cased name -> first column of that name
    TQuelle FQuelle;
    std::vector<TZelle> FZellen;
    int FZeilen = 0;
};
