// Queries: parameters become escaped literals of the link; results are fetched whole.
#include "DBAbfrage.h"

#include "DBErgebnis.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "DBWerte.h"

using namespace Qt::Literals::StringLiterals;

void TDBAbfrage::TSQL::Clear()
{
    FZeilen.clear();
    FAbfrage.SQLGeaendert();
}

QString TDBAbfrage::TSQL::Text() const
{
    QString text;
    for (const QString& zeile : FZeilen) {
        text += zeile;
        text += u"\r\n";
    }
    return text;
}

void TDBAbfrage::TSQL::SetText(const QString& text)
{
    FZeilen.clear();
    qsizetype beginn = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        FZeilen.append(text.mid(beginn, i - beginn));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        beginn = i + 1;
    }
    if (beginn < text.size())
        FZeilen.append(text.mid(beginn));
    FAbfrage.SQLGeaendert();
}

void TDBAbfrage::TSQL::Add(const QString& zeile)
{
    FZeilen.append(zeile);
    FAbfrage.SQLGeaendert();
}

TDBAbfrage::TDBAbfrage(TDBVerbindung& verbindung, const QString& name, QObject* parent)
    : QObject(parent), FVerbindung(verbindung), FSQL(*this)
{
    setObjectName(name);
}

TDBAbfrage::~TDBAbfrage() = default;

void TDBAbfrage::SQLGeaendert()
{
    Close();
    FParameter.clear();
    FVorbereitet = false;
}

void TDBAbfrage::Vorbereiten() const
{
    if (FVorbereitet)
        return;
    FVorlage = TSqlVorlage(FSQL.Zeilen().join(u"\r\n"));
    for (const QString& name : FVorlage.Namen())
        FParameter.emplace_back(name);
    FVorbereitet = true;
}

TDBParameter& TDBAbfrage::ParamByName(const QString& name)
{
    Vorbereiten();
    for (TDBParameter& parameter : FParameter) {
        if (parameter.Name().compare(name, Qt::CaseInsensitive) == 0)
            return parameter;
    }
    throw EAbfragefehler(u"%1: Parameter '%2' nicht gefunden"_s.arg(objectName(), name));
}

QByteArray TDBAbfrage::Literal(const TDBParameter& parameter) const
{
    switch (parameter.Art()) {
    case TDBParameter::TArt::Null:
        return QByteArrayLiteral("NULL");
    case TDBParameter::TArt::Text:
    case TDBParameter::TArt::Memo:
        return FVerbindung.TextLiteral(parameter.AsString());
    case TDBParameter::TArt::Datum:
        return DBWerte::DatumLiteral(parameter.AsDate());
    case TDBParameter::TArt::DatumZeit:
        return DBWerte::DatumZeitLiteral(parameter.AsDateTime());
    case TDBParameter::TArt::Blob:
        return "X'" + parameter.AsBlob().toHex() + '\'';
    }
    return QByteArray();
}

QByteArray TDBAbfrage::Anweisung() const
{
    Vorbereiten();
    QByteArray anweisung;
    for (const TSqlVorlage::TTeil& teil : FVorlage.Teile()) {
        if (teil.Parameter < 0)
            anweisung += teil.Text.toUtf8();
        else
            anweisung += Literal(FParameter[static_cast<size_t>(teil.Parameter)]);
    }
    return anweisung;
}

std::unique_ptr<TDBErgebnis> TDBAbfrage::Ausfuehren()
{
    Close();
    FBetroffen = 0;
    FEingefuegtId = 0;
    if (FVerbindung.LinkSicherstellen() &&
        FSQL.Zeilen().join(u' ').contains(u"LAST_INSERT_ID", Qt::CaseInsensitive)) {
        // The key belongs to the session of the link that just broke.
        throw EVerbindungsfehler(u"Die Verbindung zur Datenbank wurde neu aufgebaut; der "
                                 u"Schlüssel der letzten Einfügung ist nicht mehr abrufbar."_s);
    }
    TDBVerbindung::TAntwort antwort = FVerbindung.Ausfuehren(Anweisung());
    FBetroffen = antwort.Betroffen;
    FEingefuegtId = antwort.EingefuegtId;
    return std::move(antwort.Ergebnis);
}

void TDBAbfrage::Open()
{
    std::unique_ptr<TDBErgebnis> ergebnis = Ausfuehren();
    if (!ergebnis)
        throw EAbfragefehler(u"%1: Die Anweisung liefert keine Datenmenge."_s.arg(objectName()));
    FErgebnis = std::move(ergebnis);
    FZeile = FErgebnis->ZeilenAnzahl() > 0 ? 0 : -1;
    FEof = FZeile < 0;
}

void TDBAbfrage::ExecSQL()
{
    Ausfuehren();
}

void TDBAbfrage::Close()
{
    if (!FErgebnis)
        return;
    FErgebnis.reset();
    FZeile = -1;
    FEof = true;
    ++FGeneration;
}

int TDBAbfrage::RecordCount() const
{
    return FErgebnis ? FErgebnis->ZeilenAnzahl() : 0;
}

void TDBAbfrage::First()
{
    if (!FErgebnis)
        throw EAbfragefehler(u"%1: Die Datenmenge ist geschlossen."_s.arg(objectName()));
    FZeile = FErgebnis->ZeilenAnzahl() > 0 ? 0 : -1;
    FEof = FZeile < 0;
}

void TDBAbfrage::Next()
{
    if (!FErgebnis)
        throw EAbfragefehler(u"%1: Die Datenmenge ist geschlossen."_s.arg(objectName()));
    if (FZeile + 1 < FErgebnis->ZeilenAnzahl())
        ++FZeile;
    else
        FEof = true;
}

TDBFeld TDBAbfrage::FieldByName(const QString& name) const
{
    const int index = FErgebnis ? FErgebnis->SpaltenIndex(name) : -1;
    if (index < 0)
        throw EAbfragefehler(u"%1: Feld '%2' nicht gefunden"_s.arg(objectName(), name));
    return TDBFeld(this, index, FErgebnis->Spalte(index).Name);
}

TDBFeld TDBAbfrage::Fields(int index) const
{
    if (!FErgebnis || index < 0 || index >= FErgebnis->SpaltenAnzahl())
        throw EAbfragefehler(u"%1: Feld Nummer %2 nicht vorhanden"_s.arg(objectName()).arg(index));
    return TDBFeld(this, index, FErgebnis->Spalte(index).Name);
}

int TDBAbfrage::FieldCount() const
{
    return FErgebnis ? FErgebnis->SpaltenAnzahl() : 0;
}
