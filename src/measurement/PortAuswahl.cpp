// Only ports that open are offered, so the choice cannot fail in the same way again.
#include "PortAuswahl.h"

#include "ApdComPort.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSerialPort>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

bool LaesstSichOeffnen(const QString& geraet)
{
    QSerialPort port(geraet);
    if (!port.open(QIODevice::ReadOnly))
        return false;
    port.close();
    return true;
}

} // namespace

TPortAuswahl::TPortAuswahl(QWidget* parent) : QDialog(parent), FListe(new QComboBox(this))
{
    setObjectName(u"PortAuswahl"_s);
    setWindowTitle(u"Select Port"_s);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"The configured serial port is not valid."_s, this));
    layout->addWidget(new QLabel(u"Please choose another port."_s, this));
    FListe->setObjectName(u"cbPorts"_s);
    for (int nummer = 1; nummer <= kHoechsterPort; ++nummer)
        if (LaesstSichOeffnen(TApdComPort::GeraetFuer(nummer)))
            FListe->addItem(u"COM%1"_s.arg(nummer), nummer);
    layout->addWidget(FListe);
    auto* knoepfe = new QDialogButtonBox(this);
    knoepfe->addButton(u"OK"_s, QDialogButtonBox::AcceptRole)->setEnabled(FListe->count() > 0);
    knoepfe->addButton(u"Cancel"_s, QDialogButtonBox::RejectRole);
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(knoepfe);
}

int TPortAuswahl::GewaehlteNummer() const
{
    return FListe->currentData().toInt();
}

QString TPortAuswahl::Fragen(QWidget* parent)
{
    TPortAuswahl dialog(parent);
    if (dialog.exec() != QDialog::Accepted || dialog.GewaehlteNummer() == 0)
        return {};
    return TApdComPort::GeraetFuer(dialog.GewaehlteNummer());
}
