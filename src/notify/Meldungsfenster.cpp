// Modal boxes with German buttons; Qt's own button texts would be English without a translator.
#include "Meldungsfenster.h"

#include "uMeldung.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

QMessageBox::Icon Symbol(Meldung::Art art)
{
    switch (art) {
    case Meldung::Art::Warnung:
        return QMessageBox::Warning;
    case Meldung::Art::Fehler:
        return QMessageBox::Critical;
    case Meldung::Art::Frage:
        return QMessageBox::Question;
    case Meldung::Art::Hinweis:
        break;
    }
    return QMessageBox::NoIcon;
}

Meldung::Antwort ZeigeMeldungsfenster(Meldung::Art art, const QString& text)
{
    QString anzeige = text;
    anzeige.replace(u"\r\n"_s, u"\n"_s);
    QMessageBox box(Symbol(art), QGuiApplication::applicationDisplayName(), anzeige,
                    QMessageBox::NoButton, QApplication::activeWindow());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // Buttons large enough for a finger.
    box.setStyleSheet(
        u"QMessageBox { font-size: 24px; } QLabel#qt_msgbox_label { min-width: 760px; } "
        "QPushButton { min-width: 180px; min-height: 64px; font-size: 24px; }"_s);
    if (art == Meldung::Art::Frage) {
        box.addButton(u"Ja"_s, QMessageBox::YesRole);
        QPushButton* nein = box.addButton(u"Nein"_s, QMessageBox::NoRole);
        box.setDefaultButton(nein);
        box.setEscapeButton(nein);
        box.exec();
        return box.clickedButton() == nein || box.clickedButton() == nullptr
                   ? Meldung::Antwort::Nein
                   : Meldung::Antwort::Ja;
    }
    box.addButton(u"OK"_s, QMessageBox::AcceptRole);
    box.exec();
    return Meldung::Antwort::Ok;
}

} // namespace

void InstalliereMeldungsfenster()
{
    Meldung::SetzeHandler(&ZeigeMeldungsfenster);
}
