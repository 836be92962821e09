// Keys of the on-screen keyboard: their German layout, their drawing and the key events they send.
#include "TouchKeyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

// One key; the keyboard places it on a grid of columns and rows and acts on its taps.
class TTastaturTaste : public QAbstractButton
{
public:
    using QAbstractButton::QAbstractButton;

    enum class TArt
    {
        Zeichen,
        Umschalt,
        Loeschen,
        Leer,
        Enter
    };

    TArt Art = TArt::Zeichen;
    int Zeile = 0;
    int Zeilen = 1;
    qreal Spalte = 0;
    qreal Breite = 1;
    int Taste = 0;
    int TasteUmschalt = 0;
    QString Zeichen;
    QString ZeichenUmschalt;
    // The shifted legend above the face, as on a real key; letters have none.
    QString Nebenschrift;
    bool UmschaltungAn = false;

protected:
    void paintEvent(QPaintEvent* event) override;
};

namespace {

using TArt = TTastaturTaste::TArt;

// A full row: 13 keys of one column plus the two-column Backspace.
constexpr qreal kSpalten = 15;
constexpr qreal kZeilen = 5;
// Shares of a key's pitch or height.
constexpr qreal kFugenanteil = 0.08;
constexpr qreal kSchriftanteil = 0.4;
constexpr qreal kNebenschriftanteil = 0.8;
constexpr qreal kRandanteil = 0.08;
constexpr qreal kRundungsanteil = 0.12;
constexpr int kKleinsteSchrift = 6;
constexpr int kLoeschenVerzoegerungMs = 500;
constexpr int kLoeschenWiederholungMs = 100;

const QColor kGrau(0x80, 0x80, 0x80);
const QColor kSilber(0xC0, 0xC0, 0xC0);
const QColor kKante(0x40, 0x40, 0x40);
const QColor kEingerastet(0xFF, 0xD7, 0x00);
const QColor kSchrift(0x10, 0x10, 0x10);
// The legend that the next tap will not type.
const QColor kSchriftBlass(0x50, 0x50, 0x50);
constexpr int kGedruecktAbdunkeln = 125; // percent

void Beschriften(QPainter& maler, const QRect& feld, const QString& text, QFont schrift,
                 const QColor& farbe)
{
    while (schrift.pixelSize() > kKleinsteSchrift &&
           QFontMetrics(schrift).horizontalAdvance(text) > feld.width())
        schrift.setPixelSize(schrift.pixelSize() - 1);
    maler.setFont(schrift);
    maler.setPen(farbe);
    maler.drawText(feld, Qt::AlignCenter, text);
}

// Without a window manager the kiosk's window may never become active, and then the application
// has no focus widget; the field focused in the keyboard's own window is meant all the same.
QWidget* Ziel(const QWidget* tastatur)
{
    if (QWidget* fokus = QApplication::focusWidget())
        return fokus;
    return tastatur->window()->focusWidget();
}

void Senden(QWidget* ziel, int taste, const QString& text, Qt::KeyboardModifiers umschalter)
{
    const QPointer<QWidget> bewacht(ziel);
    QKeyEvent druck(QEvent::KeyPress, taste, umschalter, text);
    QCoreApplication::sendEvent(ziel, &druck);
    // Enter may close the screen that holds the field.
    if (bewacht.isNull())
        return;
    QKeyEvent los(QEvent::KeyRelease, taste, umschalter, text);
    QCoreApplication::sendEvent(ziel, &los);
}

} // namespace

void TTastaturTaste::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    maler.setRenderHint(QPainter::Antialiasing);
    const bool unten = isDown() || isChecked();
    const qreal rahmen = isChecked() ? std::max(2.0, height() / 25.0) : 1.0;
    const QRectF flaeche =
        QRectF(rect()).adjusted(rahmen / 2, rahmen / 2, -rahmen / 2, -rahmen / 2);
    const qreal rundung = std::min(width(), height()) * kRundungsanteil;

    // Held down, the face darkens and takes its light from below, as if pushed in.
    QLinearGradient verlauf(flaeche.topLeft(), flaeche.bottomLeft());
    verlauf.setColorAt(0, unten ? kSilber.darker(kGedruecktAbdunkeln) : kGrau);
    verlauf.setColorAt(1, unten ? kGrau.darker(kGedruecktAbdunkeln) : kSilber);
    maler.setBrush(verlauf);
    maler.setPen(QPen(isChecked() ? kEingerastet : kKante, rahmen));
    maler.drawRoundedRect(flaeche, rundung, rundung);

    const int rand = qRound(height() * kRandanteil);
    QRect feld = rect().adjusted(rand, rand, -rand, -rand);
    if (unten)
        feld.translate(0, std::max(1, rand / 3));
    if (Nebenschrift.isEmpty()) {
        Beschriften(maler, feld, text(), font(), kSchrift);
        return;
    }
    QFont klein = font();
    klein.setPixelSize(std::max(kKleinsteSchrift, qRound(klein.pixelSize() * kNebenschriftanteil)));
    QRect oben = feld;
    oben.setBottom(feld.center().y());
    QRect darunter = feld;
    darunter.setTop(feld.center().y());
    Beschriften(maler, oben, Nebenschrift, klein, UmschaltungAn ? kSchrift : kSchriftBlass);
    Beschriften(maler, darunter, text(), klein, UmschaltungAn ? kSchriftBlass : kSchrift);
}

TTouchKeyboard::TTouchKeyboard(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);

    Zeichenreihe(0, 0, u"^1234567890ß´", u"°!\"§$%&/()=?`",
                 u"Zirkumflex 1 2 3 4 5 6 7 8 9 0 Sz Akut");
    TTastaturTaste* loeschen = NeueTaste(u"Loeschen"_s, u"⌫"_s, 0, 13, 2);
    loeschen->Art = TArt::Loeschen;
    loeschen->Taste = Qt::Key_Backspace;
    loeschen->setAutoRepeat(true);
    loeschen->setAutoRepeatDelay(kLoeschenVerzoegerungMs);
    loeschen->setAutoRepeatInterval(kLoeschenWiederholungMs);

    Zeichenreihe(1, 0.5, u"qwertzuiopü+", u"QWERTZUIOPÜ*", u"Q W E R T Z U I O P Ue Plus");
    Zeichenreihe(2, 0.75, u"asdfghjklöä#", u"ASDFGHJKLÖÄ'", u"A S D F G H J K L Oe Ae Raute");
    // Right of the two letter rows, where a hand looks for it.
    TTastaturTaste* enter = NeueTaste(u"Enter"_s, u"   ENTER"_s, 1, 12.75, 2.25);
    enter->Art = TArt::Enter;
    enter->Zeilen = 2;
    enter->Taste = Qt::Key_Return;
    enter->Zeichen = u"\r"_s;

    for (TTastaturTaste* umschalt : {NeueTaste(u"Umschalt"_s, u"⇧"_s, 3, 0, 1.25),
                                     NeueTaste(u"UmschaltRechts"_s, u"⇧"_s, 3, 12.25, 2.75)}) {
        umschalt->Art = TArt::Umschalt;
        umschalt->setCheckable(true);
    }
    Zeichenreihe(3, 1.25, u"<yxcvbnm,.-", u">YXCVBNM;:_",
                 u"Kleiner Y X C V B N M Komma Punkt Minus");

    TTastaturTaste* leer = NeueTaste(u"Leer"_s, QString(), 4, 3, 9);
    leer->Art = TArt::Leer;
    leer->Taste = Qt::Key_Space;
    leer->Zeichen = u" "_s;

    resize(kEntwurfsgroesse);
}

TTastaturTaste* TTouchKeyboard::NeueTaste(const QString& name, const QString& aufschrift, int zeile,
                                          qreal spalte, qreal breite)
{
    auto* taste = new TTastaturTaste(this);
    taste->setObjectName(u"Taste_"_s + name);
    taste->setText(aufschrift);
    taste->setFocusPolicy(Qt::NoFocus);
    taste->Zeile = zeile;
    taste->Spalte = spalte;
    taste->Breite = breite;
    connect(taste, &QAbstractButton::clicked, this, [this, taste] { Antippen(taste); });
    FTasten.append(taste);
    return taste;
}

void TTouchKeyboard::Zeichenreihe(int zeile, qreal spalte, QStringView reihe,
                                  QStringView umschaltReihe, QStringView namen)
{
    const QList<QStringView> namenliste = namen.split(u' ');
    Q_ASSERT(namenliste.size() == reihe.size() && umschaltReihe.size() == reihe.size());
    for (qsizetype i = 0; i < reihe.size(); ++i) {
        const QString zeichen(reihe.at(i));
        const QString umschaltZeichen(umschaltReihe.at(i));
        const bool buchstabe = zeichen != umschaltZeichen && zeichen.toUpper() == umschaltZeichen;
        TTastaturTaste* taste =
            NeueTaste(namenliste.at(i).toString(), buchstabe ? umschaltZeichen : zeichen, zeile,
                      spalte + qreal(i), 1);
        taste->Zeichen = zeichen;
        taste->ZeichenUmschalt = umschaltZeichen;
        // Qt's key codes of Latin-1 characters are their code points, of letters the capital's.
        taste->Taste = reihe.at(i).toUpper().unicode();
        taste->TasteUmschalt = umschaltReihe.at(i).unicode();
        if (!buchstabe)
            taste->Nebenschrift = umschaltZeichen;
    }
}

void TTouchKeyboard::Antippen(const TTastaturTaste* taste)
{
    if (taste->Art == TArt::Umschalt) {
        Umschalten(!FUmschaltung);
        return;
    }
    const bool gross = FUmschaltung && taste->Art == TArt::Zeichen;
    // Shift outlasts a correction, so Shift, Backspace, letter still gives a capital.
    if (taste->Art != TArt::Loeschen)
        Umschalten(false);
    QWidget* ziel = Ziel(this);
    if (ziel == nullptr)
        return;
    Senden(ziel, gross ? taste->TasteUmschalt : taste->Taste,
           gross ? taste->ZeichenUmschalt : taste->Zeichen,
           gross ? Qt::ShiftModifier : Qt::NoModifier);
}

void TTouchKeyboard::Umschalten(bool an)
{
    FUmschaltung = an;
    for (TTastaturTaste* taste : std::as_const(FTasten)) {
        if (taste->Art == TArt::Umschalt)
            taste->setChecked(an);
        taste->UmschaltungAn = an;
        if (!taste->Nebenschrift.isEmpty())
            taste->update();
    }
}

void TTouchKeyboard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const qreal spaltenbreite = width() / kSpalten;
    const qreal zeilenhoehe = height() / kZeilen;
    const qreal fuge = std::min(spaltenbreite, zeilenhoehe) * kFugenanteil;
    QFont schrift = font();
    schrift.setPixelSize(std::max(1, qRound((zeilenhoehe - fuge) * kSchriftanteil)));
    for (TTastaturTaste* taste : std::as_const(FTasten)) {
        // Edges from the grid lines, so neighbours share their gap exactly at any size.
        const int links = qRound(taste->Spalte * spaltenbreite + fuge / 2);
        const int rechts = qRound((taste->Spalte + taste->Breite) * spaltenbreite - fuge / 2);
        const int oben = qRound(taste->Zeile * zeilenhoehe + fuge / 2);
        const int unten = qRound((taste->Zeile + taste->Zeilen) * zeilenhoehe - fuge / 2);
        taste->setGeometry(links, oben, rechts - links, unten - oben);
        taste->setFont(schrift);
    }
}
