// Lengths are kept in device pixels of the writer (300 dpi); the layout constants in millimetres.
#include "PdfSatz.h"

#include "uFehler.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextOption>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kDpi = 300;
constexpr qreal kRandMm = 15;
constexpr qreal kFusszeileMm = 8;
constexpr qreal kZellenabstandMm = 1.2;
// A column never shrinks below this share of its natural width, nor below this width.
constexpr qreal kMindestspalteMm = 12;
// Rows with a picture are at least this high, so a trend stays readable.
constexpr qreal kBildzeileMm = 8;
const QColor kLinie(170, 170, 170);
const QColor kKopfzeile(225, 230, 238);
const QColor kStreifen(246, 246, 246);

qreal Px(qreal mm)
{
    return mm * kDpi / 25.4;
}

QFont Schrift(qreal punkt, bool fett = false)
{
    QFont schrift(u"DejaVu Sans"_s);
    schrift.setPointSizeF(punkt);
    schrift.setBold(fett);
    return schrift;
}

QTextOption Umbruch()
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

} // namespace

// One pass over the blocks; draws only when told to, and counts the pages either way.
class TPdfSatz::TSetzer
{
public:
    // Row heights measured in the counting pass serve the writing pass: the same fonts on the
    // same resolution give the same heights.
    using THoehen = QHash<const QStringList*, qreal>;

    TSetzer(QPdfWriter& schreiber, const TTitelblock& titel, int seitenGesamt, THoehen& hoehen)
        : FSchreiber(schreiber), FTitel(titel), FSeitenGesamt(seitenGesamt), FHoehen(hoehen),
          FMaler(&schreiber)
    {
        FSeite = QRectF(0, 0, schreiber.width(), schreiber.height());
        FUnten = FSeite.bottom() - Px(kFusszeileMm);
        FY = 0;
        Titelblock();
    }

    ~TSetzer()
    {
        Fusszeile();
        FMaler.end();
    }

    int Seiten() const { return FSeitenNr; }
    // The first pass only counts pages: table rows and pictures, the bulk of the work, are
    // measured but not drawn.
    bool Zaehllauf() const { return FSeitenGesamt == 0; }

    void Ueberschrift(const QString& text)
    {
        FMaler.setFont(Schrift(12, true));
        const qreal hoehe = Hoehe(text, FSeite.width());
        // A heading keeps at least a few lines of what follows on its page.
        Platz(hoehe + Px(20));
        FY += Px(4);
        FMaler.drawText(QRectF(0, FY, FSeite.width(), hoehe), text, Umbruch());
        FY += hoehe + Px(2);
    }

    void Absatz(const QString& text)
    {
        FMaler.setFont(Schrift(9));
        const qreal hoehe = Hoehe(text, FSeite.width());
        Platz(hoehe);
        FMaler.drawText(QRectF(0, FY, FSeite.width(), hoehe), text, Umbruch());
        FY += hoehe + Px(2);
    }

    void Bild(qreal hoeheMm, const TZeichnung& zeichnen)
    {
        Platz(Px(hoeheMm));
        const QRectF ziel(0, FY, FSeite.width(), Px(hoeheMm));
        FMaler.save();
        if (!Zaehllauf())
            zeichnen(FMaler, ziel);
        FMaler.restore();
        FY += ziel.height() + Px(3);
    }

    void Tabelle(const TTabelle& tabelle, const QString& bildspalte, qreal bildbreite,
                 const TZellbild& bild)
    {
        const QFont kopf = Schrift(8, true);
        const QFont zelle = Schrift(8);
        QList<qreal> breiten = Spaltenbreiten(tabelle, kopf, zelle, FSeite.width() - bildbreite);
        QStringList spalten = tabelle.Spalten;
        // The picture column follows the text columns, wherever their widths end.
        qreal bildX = 0;
        for (qreal b : breiten)
            bildX += b;
        if (bild) {
            breiten << bildbreite;
            spalten << bildspalte;
        }
        const auto kopfzeile = [&] {
            FMaler.setFont(kopf);
            const qreal hoehe = Zeilenhoehe(spalten, breiten);
            Zeile(spalten, breiten, hoehe, kKopfzeile);
            FY += hoehe;
        };
        FMaler.setFont(kopf);
        Platz(Zeilenhoehe(spalten, breiten) * 2);
        kopfzeile();
        for (qsizetype nr = 0; nr < tabelle.Zeilen.size(); ++nr) {
            const QStringList& zellen = tabelle.Zeilen.at(nr);
            FMaler.setFont(zelle);
            auto gemessen = FHoehen.constFind(&zellen);
            if (gemessen == FHoehen.constEnd())
                gemessen = FHoehen.insert(&zellen, Zeilenhoehe(zellen, breiten));
            qreal hoehe = *gemessen;
            if (bild)
                hoehe = std::max(hoehe, Px(kBildzeileMm));
            if (FY + hoehe > FUnten) {
                NeueSeite();
                kopfzeile();
                FMaler.setFont(zelle);
            }
            Zeile(zellen, breiten, hoehe, nr % 2 ? kStreifen : QColor(Qt::white));
            if (bild && !Zaehllauf()) {
                const qreal abstand = Px(kZellenabstandMm);
                FMaler.save();
                bild(FMaler,
                     QRectF(bildX, FY, bildbreite, hoehe)
                         .adjusted(abstand, abstand, -abstand, -abstand),
                     nr);
                FMaler.restore();
            }
            FY += hoehe;
        }
        FY += Px(3);
    }

private:
    void Titelblock()
    {
        FMaler.setFont(Schrift(16, true));
        const qreal titel = Hoehe(FTitel.Titel, FSeite.width());
        FMaler.drawText(QRectF(0, FY, FSeite.width(), titel), FTitel.Titel, Umbruch());
        FY += titel + Px(2);
        FMaler.setFont(Schrift(9));
        const QStringList zeilen{
            u"Mandant: "_s + (FTitel.Mandant.isEmpty() ? u"(keiner)"_s : FTitel.Mandant),
            u"Zeitraum: "_s + FTitel.Zeitraum,
            u"Erstellt: "_s + FTitel.Erstellt.toString(u"dd.MM.yyyy HH:mm:ss"_s),
            u"Programmversion: "_s + FTitel.Version};
        for (const QString& zeile : zeilen) {
            const qreal hoehe = Hoehe(zeile, FSeite.width());
            FMaler.drawText(QRectF(0, FY, FSeite.width(), hoehe), zeile, Umbruch());
            FY += hoehe;
        }
        FY += Px(2);
        FMaler.setPen(QPen(kLinie, Px(0.3)));
        FMaler.drawLine(QPointF(0, FY), QPointF(FSeite.width(), FY));
        FMaler.setPen(Qt::black);
        FY += Px(3);
    }

    void Fusszeile()
    {
        FMaler.setFont(Schrift(8));
        FMaler.setPen(Qt::black);
        const QRectF zeile(0, FUnten + Px(3), FSeite.width(), Px(kFusszeileMm - 3));
        const QString links = FTitel.Titel + u" · "_s + FTitel.Zeitraum;
        FMaler.drawText(zeile, Qt::AlignLeft | Qt::AlignVCenter, links);
        FMaler.drawText(
            zeile, Qt::AlignRight | Qt::AlignVCenter,
            u"Seite %1 von %2"_s.arg(FSeitenNr).arg(std::max(FSeitenGesamt, FSeitenNr)));
    }

    void NeueSeite()
    {
        Fusszeile();
        FSchreiber.newPage();
        ++FSeitenNr;
        FY = 0;
    }

    void Platz(qreal hoehe)
    {
        if (FY + hoehe > FUnten && FY > 0)
            NeueSeite();
    }

    qreal Hoehe(const QString& text, qreal breite)
    {
        return FMaler.boundingRect(QRectF(0, 0, breite, 1e6), text, Umbruch()).height();
    }

    // Natural widths from the longest line of each column, shrunk to the page where needed:
    // wide columns give up width first, every column keeps a usable minimum.
    QList<qreal> Spaltenbreiten(const TTabelle& tabelle, const QFont& kopf, const QFont& zelle,
                                qreal verfuegbar)
    {
        const qsizetype n = tabelle.Spalten.size();
        QList<qreal> breiten(n, 0);
        // Measured by the painter that draws, with some slack: an exact fit may still wrap.
        const qreal abstand = 2 * Px(kZellenabstandMm) + Px(1);
        const auto breite = [this](const QString& zeile) {
            return FMaler.boundingRect(QRectF(), Qt::TextSingleLine, zeile).width();
        };
        FMaler.setFont(kopf);
        for (qsizetype s = 0; s < n; ++s) {
            for (const QString& wort : tabelle.Spalten.at(s).split(u' '))
                breiten[s] = std::max(breiten[s], breite(wort) + abstand);
        }
        // A heading's words are never broken: its column keeps at least their width.
        const QList<qreal> kopfbreiten = breiten;
        static const QRegularExpression zeilenende(u"\\r\\n|\\n|\\r"_s);
        FMaler.setFont(zelle);
        for (const QStringList& zellen : tabelle.Zeilen) {
            for (qsizetype s = 0; s < std::min(n, zellen.size()); ++s) {
                for (const QString& zeile : zellen.at(s).split(zeilenende))
                    breiten[s] = std::max(breiten[s], breite(zeile) + abstand);
            }
        }
        qreal summe = 0;
        for (qreal b : breiten)
            summe += b;
        if (summe <= verfuegbar)
            return breiten;
        // Cap every column at the same width until the whole fits.
        QList<qreal> sortiert = breiten;
        std::sort(sortiert.begin(), sortiert.end());
        qreal kappe = verfuegbar / static_cast<qreal>(n);
        qreal fest = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const qreal rest = static_cast<qreal>(n - i);
            const qreal gleich = (verfuegbar - fest) / rest;
            if (sortiert.at(i) > gleich) {
                kappe = gleich;
                break;
            }
            fest += sortiert.at(i);
        }
        for (qsizetype s = 0; s < n; ++s)
            breiten[s] =
                std::max({std::min(breiten[s], kappe), Px(kMindestspalteMm), kopfbreiten[s]});
        return breiten;
    }

    qreal Zeilenhoehe(const QStringList& zellen, const QList<qreal>& breiten)
    {
        const qreal abstand = Px(kZellenabstandMm);
        qreal hoehe = FMaler.fontMetrics().height();
        for (qsizetype s = 0; s < std::min(zellen.size(), breiten.size()); ++s)
            hoehe = std::max(hoehe, Hoehe(zellen.at(s), breiten.at(s) - 2 * abstand));
        return hoehe + 2 * abstand;
    }

    void Zeile(const QStringList& zellen, const QList<qreal>& breiten, qreal hoehe,
               const QColor& grund)
    {
        if (Zaehllauf())
            return;
        const qreal abstand = Px(kZellenabstandMm);
        qreal x = 0;
        for (qsizetype s = 0; s < breiten.size(); ++s) {
            const QRectF feld(x, FY, breiten.at(s), hoehe);
            FMaler.fillRect(feld, grund);
            FMaler.setPen(QPen(kLinie, Px(0.15)));
            FMaler.drawRect(feld);
            FMaler.setPen(Qt::black);
            if (s < zellen.size())
                FMaler.drawText(feld.adjusted(abstand, abstand, -abstand, -abstand), zellen.at(s),
                                Umbruch());
            x += breiten.at(s);
        }
    }

    QPdfWriter& FSchreiber;
    const TTitelblock& FTitel;
    int FSeitenGesamt;
    THoehen& FHoehen;
    QPainter FMaler;
    QRectF FSeite;
    qreal FUnten = 0;
    qreal FY = 0;
    int FSeitenNr = 1;
};

TPdfSatz::TPdfSatz(TTitelblock titel) : FTitel(std::move(titel)) {}

void TPdfSatz::Ueberschrift(const QString& text)
{
    FBloecke.push_back({TBlock::TArt::Ueberschrift, text, {}, 0, {}, {}, {}});
}

void TPdfSatz::Absatz(const QString& text)
{
    FBloecke.push_back({TBlock::TArt::Absatz, text, {}, 0, {}, {}, {}});
}

void TPdfSatz::Tabelle(const TTabelle& tabelle)
{
    FBloecke.push_back({TBlock::TArt::Tabelle, {}, tabelle, 0, {}, {}, {}});
}

void TPdfSatz::Tabelle(const TTabelle& tabelle, const QString& bildspalte, qreal breiteMm,
                       TZellbild bild)
{
    FBloecke.push_back(
        {TBlock::TArt::Tabelle, {}, tabelle, breiteMm, {}, bildspalte, std::move(bild)});
}

void TPdfSatz::Bild(qreal hoeheMm, TZeichnung zeichnen)
{
    FBloecke.push_back({TBlock::TArt::Bild, {}, {}, hoeheMm, std::move(zeichnen), {}, {}});
}

void TPdfSatz::Schreiben(const QString& pfad) const
{
    TSetzer::THoehen hoehen;
    const auto setzen = [this, &hoehen](QIODevice& ziel, int seitenGesamt) {
        QPdfWriter schreiber(&ziel);
        schreiber.setResolution(kDpi);
        schreiber.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                            QMarginsF(kRandMm, kRandMm, kRandMm, kRandMm),
                                            QPageLayout::Millimeter));
        schreiber.setTitle(FTitel.Titel + u" "_s + FTitel.Zeitraum);
        schreiber.setCreator(FTitel.Version);
        TSetzer setzer(schreiber, FTitel, seitenGesamt, hoehen);
        for (const TBlock& block : FBloecke) {
            switch (block.Art) {
            case TBlock::TArt::Ueberschrift:
                setzer.Ueberschrift(block.Text);
                break;
            case TBlock::TArt::Absatz:
                setzer.Absatz(block.Text);
                break;
            case TBlock::TArt::Tabelle:
                setzer.Tabelle(block.Inhalt, block.Bildspalte, Px(block.HoeheMm), block.Zellbild);
                break;
            case TBlock::TArt::Bild:
                setzer.Bild(block.HoeheMm, block.Zeichnen);
                break;
            }
        }
        return setzer.Seiten();
    };
    QBuffer probe;
    probe.open(QIODevice::WriteOnly);
    const int seiten = setzen(probe, 0);

    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        throw EFehler(u"EDateifehler"_s,
                      u"%1 lässt sich nicht schreiben: %2"_s.arg(pfad, datei.errorString()));
    setzen(datei, seiten);
    if (!datei.flush())
        throw EFehler(u"EDateifehler"_s,
                      u"%1 lässt sich nicht schreiben: %2"_s.arg(pfad, datei.errorString()));
}
