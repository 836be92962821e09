// The PIN panel: a field that shows dots, the on-screen keyboard and a way back. The main window
// places and scales its parts.
#include "PinAbfrage.h"

#include "Bilder.h"
#include "TouchKeyboard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFrage = u"Bitte PIN zum Beenden eingeben und mit der ENTER-Taste bestätigen."_s;

} // namespace

TPinAbfrage::TPinAbfrage(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"panPin"_s);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0x00, 0x00, 0xff));
    setPalette(palette);

    lblPin = new QLabel(kFrage, this);
    lblPin->setObjectName(u"lblPin"_s);
    SetzeTextfarbe(lblPin, Qt::white);
    QFont schrift(u"Verdana"_s);
    schrift.setPixelSize(24);
    schrift.setBold(true);
    lblPin->setFont(schrift);

    edPin = new QLineEdit(this);
    edPin->setObjectName(u"edPin"_s);
    edPin->setEchoMode(QLineEdit::Password);
    edPin->setMaxLength(12);
    QFont feld(u"Verdana"_s);
    feld.setPixelSize(32);
    edPin->setFont(feld);
    edPin->installEventFilter(this);

    btnAbbrechen = new QPushButton(u"Abbrechen"_s, this);
    btnAbbrechen->setObjectName(u"btnAbbrechen"_s);
    btnAbbrechen->setFont(feld);
    btnAbbrechen->setFocusPolicy(Qt::NoFocus);
    connect(btnAbbrechen, &QPushButton::clicked, this, &TPinAbfrage::btnAbbrechenClick);

    TouchKeyboard1 = new TTouchKeyboard(this);
    TouchKeyboard1->setObjectName(u"TouchKeyboard1"_s);
    hide();
}

void TPinAbfrage::Fragen(TEndePin* pin, std::function<void()> danach)
{
    FPin = pin;
    FDanach = std::move(danach);
    FPin->Neu();
    lblPin->setText(kFrage);
    edPin->clear();
    show();
    raise();
    edPin->setFocus();
}

bool TPinAbfrage::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == edPin && ereignis->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(ereignis)->key();
        if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
            edPinEnter();
            return true;
        }
        if (taste == Qt::Key_Escape) {
            btnAbbrechenClick();
            return true;
        }
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void TPinAbfrage::edPinEnter()
{
    if (FPin == nullptr || !isVisible())
        return;
    const TEndePin::TErgebnis ergebnis = FPin->Pruefen(edPin->text());
    edPin->clear();
    switch (ergebnis) {
    case TEndePin::TErgebnis::Richtig: {
        const std::function<void()> danach = std::move(FDanach);
        Schliessen();
        if (danach)
            danach();
        break;
    }
    case TEndePin::TErgebnis::Falsch:
        lblPin->setText(FPin->Rest() == 1 ? u"Falsche PIN – noch ein Versuch."_s
                                          : u"Falsche PIN – noch %1 Versuche."_s.arg(FPin->Rest()));
        break;
    case TEndePin::TErgebnis::Abgewiesen:
        Schliessen();
        break;
    }
}

void TPinAbfrage::btnAbbrechenClick()
{
    Schliessen();
}

void TPinAbfrage::Schliessen()
{
    FDanach = nullptr;
    edPin->clear();
    hide();
}
