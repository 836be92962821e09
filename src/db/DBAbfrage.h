// A query bound to the connection for its whole life: statement text, parameters, result.
#pragma once

#include "DBFeld.h"
#include "DBParameter.h"
#include "SqlVorlage.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TDBErgebnis;
class TDBVerbindung;

class TDBAbfrage : public QObject
{
    Q_OBJECT

public:
    // The statement text as a list of lines. Every change closes the query and rebuilds its
    // parameter list from the ":Name" places of the new text (values are not kept).
    class TSQL
    {
    public:
        void Clear();
        // Every line followed by CR LF.
        QString Text() const;
        // Splits at CR LF, CR or LF; a final line break adds no empty line.
        void SetText(const QString& text);
        void Add(const QString& zeile);
        const QStringList& Zeilen() const { return FZeilen; }
        int Count() const { return static_cast<int>(FZeilen.size()); }

    private:
        friend class TDBAbfrage;
        explicit TSQL(TDBAbfrage& abfrage) : FAbfrage(abfrage) {}
        TDBAbfrage& FAbfrage;
        QStringList FZeilen;
    };

    TDBAbfrage(TDBVerbindung& verbindung, const QString& name, QObject* parent = nullptr);
    ~TDBAbfrage() override;

    TDBVerbindung& Connection() const { return FVerbindung; }

    TSQL& SQL() { return FSQL; }
    const TSQL& SQL() const { return FSQL; }

    // Without regard to letter case; an unknown name throws EAbfragefehler.
    TDBParameter& ParamByName(const QString& name);
    int ParamCount() const
    {
        Vorbereiten();
        return static_cast<int>(FParameter.size());
    }
    TDBParameter& Params(int index)
    {
        Vorbereiten();
        return FParameter.at(static_cast<size_t>(index));
    }

    // Runs a row-returning statement and fetches the whole result; the first row is current.
    // An open query runs its statement again.
    void Open();
    void Close();
    bool Active() const { return FErgebnis != nullptr; }
    void SetActive(bool aktiv) { aktiv ? Open() : Close(); }
    // Runs a statement without rows (a result set, if any, is dropped); leaves the query
    // closed.
    void ExecSQL();
    void Execute() { ExecSQL(); }
    quint64 RowsAffected() const { return FBetroffen; }
    // The AUTO_INCREMENT key the last ExecSQL generated; 0 when its table has none (unlike
    // LAST_INSERT_ID(), never a value left from an earlier statement).
    quint64 InsertId() const { return FEingefuegtId; }

    // Rows of the whole open result, 0 when closed.
    int RecordCount() const;
    void First();
    // Past the last row Eof becomes true and the last row stays current.
    void Next();
    bool Eof() const { return FEof; }

    // Without regard to letter case; of several columns of one name the first. An unknown
    // name, or any name while closed, throws EAbfragefehler.
    TDBFeld FieldByName(const QString& name) const;
    TDBFeld Fields(int index) const;
    int FieldCount() const;

    // No controls are bound to queries here; the counter only mirrors the calls.
    void DisableControls() { ++FGesperrt; }
    void EnableControls() { FGesperrt = FGesperrt > 0 ? FGesperrt - 1 : 0; }
    bool ControlsDisabled() const { return FGesperrt > 0; }

    // For the column handles.
    const TDBErgebnis* Ergebnis() const { return FErgebnis.get(); }
    int AktuelleZeile() const { return FZeile; }
    quint64 Generation() const { return FGeneration; }

private:
    void SQLGeaendert();
    // Splits the text into pieces and parameter places once after it changed: a statement
    // built piece by piece (the contact search, once per tile) is parsed once, not per piece.
    void Vorbereiten() const;
    QByteArray Anweisung() const;
    QByteArray Literal(const TDBParameter& parameter) const;
    std::unique_ptr<TDBErgebnis> Ausfuehren();

    TDBVerbindung& FVerbindung;
    TSQL FSQL;
    mutable TSqlVorlage FVorlage;
    mutable std::vector<TDBParameter> FParameter;
    mutable bool FVorbereitet = true;
    std::unique_ptr<TDBErgebnis> FErgebnis;
    int FZeile = -1;
    bool FEof = true;
    quint64 FGeneration = 0;
    quint64 FBetroffen = 0;
    quint64 FEingefuegtId = 0;
    int FGesperrt = 0;
};
