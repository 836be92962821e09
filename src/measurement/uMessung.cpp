// The measurement window: created hidden at start and shown for each cycle.
#include "uMessung.h"

#include <algorithm>

#include "Aufzeichnung.h"
#include "Bilder.h"
#include "Buchung.h"
#include "GestenFilter.h"
#include "PortAuswahl.h"
#include "TafelAbfragen.h"
#include "Tafelkopie.h"
#include "TouchKeyboard.h"
#include "uFDM.h"
#include "uFehlermeldung.h"
#include "uKontakt.h"
#include "uMeldung.h"
#include "ufdmKontakt.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kErsterCountdownMs = 2000;
const QRect kFoto(0, 102, 200, 250);

QLabel* Text(QWidget* eltern, const QString& name, const QString& text, const QColor& farbe)
{
    auto* label = TBildschirm::Benannt(new QLabel(text, eltern), name);
    SetzeTextfarbe(label, farbe);
    return label;
}

QFont Verdana(bool fett = false, bool kursiv = false)
{
    QFont schrift(u"Verdana"_s);
    schrift.setBold(fett);
    schrift.setItalic(kursiv);
    return schrift;
}

} // namespace

TFMessung::TFMessung(TFDM& daten, TfdmKontakt& kontakte, TAufzeichnung& aufzeichnung,
                     QWidget* parent)
    : TBildschirm(u"FMessung"_s, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint, parent),
      Zyklus(*this, [this](const TBuchungswerte& werte) { return FAufzeichnung.Speichern(werte); }),
      Auswertung(Zyklus.Auswertung), FDaten(daten), FKontakte(kontakte), FAufzeichnung(aufzeichnung)
{
    BaueOberflaeche();
    Zyklus.SetzePerson(QString(), [this] { return edName->text(); });

    connect(&ApdComPort1, &TApdComPort::TriggerAvail, this,
            [this](quint16 count) { ApdComPort1TriggerAvail(&ApdComPort1, count); });
    connect(&ApdComPort1, &TApdComPort::TriggerData, this,
            [this](quint16 handle) { ApdComPort1TriggerData(&ApdComPort1, handle); });
    connect(&ApdComPort1, &TApdComPort::Verbindungsverlust, this, &TFMessung::Verbindungsfehler);
    // Port number 0 in the settings: the operator picks the port at each opening.
    ApdComPort1.SetPortAuswahl([this] { return TPortAuswahl::Fragen(this); });

    connect(GestureManager1(), &TGestenFilter::Geste, this, [this](TGeste geste, QWidget*) {
        if (geste == TGeste::Schnoerkel)
            actCloseExecute();
    });

    Timer1.setObjectName(u"Timer1"_s);
    Timer1.setInterval(kErsterCountdownMs);
    connect(&Timer1, &QTimer::timeout, this, &TFMessung::Timer1Timer);
    Timer1.start();
}

TFMessung::~TFMessung() = default;

void TFMessung::BaueOberflaeche()
{
    Buehne()->installEventFilter(this);

    const auto bild = [this](const QString& name, QRect lage, const QString& svg) {
        auto* b = Benannt(new TBild(Buehne()), name);
        Setze(b, lage);
        if (!svg.isEmpty())
            b->SetzeSvg(svg, Qt::IgnoreAspectRatio);
        return b;
    };
    const auto text = [this](const QString& name, QRect lage, int pixel, const QString& inhalt,
                             const QColor& farbe, QFont schrift) {
        QLabel* label = Text(Buehne(), name, inhalt, farbe);
        label->setFont(schrift);
        Setze(label, lage, pixel);
        return label;
    };

    auto* Panel1 = Benannt(new QWidget(Buehne()), u"Panel1"_s);
    Setze(Panel1, {0, 0, kEntwurf.width(), 95});
    Image2 = bild(u"Image2"_s, {459, 3, 1014, 82}, Bilder::Banner);
    Image4 = bild(u"Image4"_s, {1835, 8, 80, 80}, Bilder::RoterX);
    connect(Image4, &TBild::Geklickt, this, &TFMessung::actCloseExecute);

    imgMitarbeiter = bild(u"imgMitarbeiter"_s, kFoto, QString());
    lblName = text(u"lblName"_s, {0, 358, 720, 36}, 24, QString(), Qt::yellow, Verdana(true));

    imgGut = bild(u"imgGut"_s, {217, 109, 200, 200}, Bilder::DaumenHoch);
    imgSchlecht = bild(u"imgSchlecht"_s, {220, 110, 200, 200}, Bilder::DaumenRunter);
    // Stacked grey, red, green: the green sole is drawn above the red one.
    imgSchuh_L_grau = bild(u"imgSchuh_L_grau"_s, {737, 110, 249, 517}, Bilder::SohleLinksGrau);
    imgSchuh_L_schlecht =
        bild(u"imgSchuh_L_schlecht"_s, {737, 110, 249, 517}, Bilder::SohleLinksRot);
    imgSchuh_L_Gut = bild(u"imgSchuh_L_Gut"_s, {737, 110, 249, 517}, Bilder::SohleLinksGruen);
    imgSchuh_R_grau = bild(u"imgSchuh_R_grau"_s, {992, 110, 241, 517}, Bilder::SohleRechtsGrau);
    imgSchuh_R_schlecht =
        bild(u"imgSchuh_R_schlecht"_s, {992, 110, 241, 517}, Bilder::SohleRechtsRot);
    imgSchuh_R_gut = bild(u"imgSchuh_R_gut"_s, {992, 110, 241, 517}, Bilder::SohleRechtsGruen);
    imgArmband_schlecht =
        bild(u"imgArmband_schlecht"_s, {737, 622, 498, 136}, Bilder::ArmbandSchlecht);
    imgArmband_gut = bild(u"imgArmband_gut"_s, {737, 622, 474, 136}, Bilder::ArmbandGut);

    // The values reach the operator only through the stored record.
    lblSchuh_L = text(u"lblSchuh_L"_s, {769, 88, 200, 20}, 13, QString(), Qt::white, Verdana());
    lblSchuh_R = text(u"lblSchuh_R"_s, {1272, 129, 200, 20}, 13, QString(), Qt::white, Verdana());
    lblArmband = text(u"lblArmband"_s, {640, 758, 200, 20}, 13, QString(), Qt::white, Verdana());
    for (QLabel* wert : {lblSchuh_L, lblSchuh_R, lblArmband})
        wert->hide();

    imgMessgeraet = bild(u"imgMessgeraet"_s, {1379, 129, 465, 305}, Bilder::Messgeraet);
    imgPfeil = bild(u"imgPfeil"_s, {1690, 337, 143, 152}, Bilder::Pfeil);
    // The instruction below and the reasons beside the soles, where the person on the plate
    // looks, in a size readable from there.
    text(u"lblHinweis_1"_s, {737, 776, 1183, 40}, 32, u"Schuh-Test"_s, Qt::yellow, Verdana(true));
    lblHinweis_1a =
        text(u"lblHinweis_1a"_s, {737, 822, 1183, 34}, 24,
             u"Bitte mit beiden Füssen auf die Messplatte stehen und die"_s, Qt::white, Verdana());
    lblHinweis_1b = text(u"lblHinweis_1b"_s, {737, 858, 1183, 34}, 24,
                         u"RECHTE Taste drücken und gedrückt halten!"_s, Qt::white, Verdana());
    lblUebertragung = text(u"lblUebertragung"_s, {737, 900, 1183, 70}, 24, QString(),
                           QColor(0xff, 0xb0, 0x00), Verdana(true));
    lblUebertragung->setWordWrap(true);
    lblUebertragung->hide();

    memFehler = Benannt(new QPlainTextEdit(Buehne()), u"memFehler"_s);
    memFehler->setReadOnly(true);
    memFehler->setFocusPolicy(Qt::NoFocus);
    memFehler->setFrameShape(QFrame::NoFrame);
    QPalette schwarzWeiss = memFehler->palette();
    schwarzWeiss.setColor(QPalette::Base, Qt::black);
    schwarzWeiss.setColor(QPalette::Text, Qt::white);
    memFehler->setPalette(schwarzWeiss);
    memFehler->setFont(Verdana(true));
    // Room for the empty first line and all eight reasons, the longest on one line.
    Setze(memFehler, {0, 410, 720, 340}, 28);

    BaueTastaturPanel(Buehne());
    actResetExecute();
}

void TFMessung::BaueTastaturPanel(QWidget* buehne)
{
    panTastatur = Benannt(new TGrund(QColor(0x00, 0x00, 0xff), buehne), u"panTastatur"_s);
    Setze(panTastatur, {8, 360, 1601, 689});

    const auto text = [this](const QString& name, QRect lage, int pixel, const QString& inhalt,
                             QFont schrift) {
        QLabel* label =
            Text(panTastatur, name, inhalt, name == u"lblHinweis1"_s ? Qt::yellow : Qt::white);
        label->setFont(schrift);
        Setze(label, lage, pixel);
    };
    text(u"lblHinweis1"_s, {16, 9, 600, 34}, 24, u"Hinweis!"_s, Verdana(true));
    text(u"lblHinweis2"_s, {16, 44, 660, 24}, 16,
         u"Bitte Name/Kürzel eingeben und mit der ENTER-Taste abschliessen."_s, Verdana());
    text(u"lblHinweis3"_s, {16, 68, 660, 24}, 16,
         u"Messungen werden nur erfasst, wenn zuvor ein Name angegeben wurde!"_s, Verdana());
    text(u"Label1"_s, {688, 23, 393, 18}, 12, u"Name und Vorname"_s, Verdana(false, true));

    edName = Benannt(new QLineEdit(panTastatur), u"edName"_s);
    edName->setMaxLength(kNameLaenge);
    edName->setPlaceholderText(u"Name oder Kürzel"_s);
    edName->setFont(Verdana());
    QPalette palette = edName->palette();
    palette.setColor(QPalette::PlaceholderText, Qt::gray);
    edName->setPalette(palette);
    Setze(edName, {688, 42, 393, 46}, 32);
    edName->installEventFilter(this);
    // The length limit counts UTF-16 units and can keep half of a character, which could only
    // be stored as a substitute.
    connect(edName, &QLineEdit::textEdited, this, [this](const QString& eingabe) {
        if (!eingabe.isEmpty() && eingabe.back().isHighSurrogate())
            edName->setText(eingabe.chopped(1));
    });

    TouchKeyboard1 = Benannt(new TTouchKeyboard(panTastatur), u"TouchKeyboard1"_s);
    Setze(TouchKeyboard1, {16, 113, 1569, 521});
    panTastatur->hide();
}

void TFMessung::Start(int Mitarbeiter_ID)
{
    const QString suchbegriff = QString::number(Mitarbeiter_ID);
    memFehler->clear();
    FMemoZeilen.clear();
    // A countdown left from start-up must not end the cycle that begins now.
    Timer1.stop();

    // A hidden window gets its resize only when shown; the photo is decoded for the final size.
    if (const QScreen* bildschirm = screen()) {
        setGeometry(bildschirm->geometry());
        Skalieren(bildschirm->geometry().size());
    }

    FFoto = QImage();
    lblUebertragung->hide();
    FKontakt = std::make_unique<TKontakt>(FKontakte);
    // While the server does not answer, the person comes from the board's copy; a photo that is
    // missing there decodes to nothing and shows the placeholder, as a missing one online.
    std::optional<TKopiePerson> ausKopie;
    try {
        FKontakt->Init(u"Mitarbeiter"_s);
        FKontakt->Suchen(suchbegriff, u"MITARBEITER_ID"_s, false);
        // The search is silent about a server that does not answer; its query then stays closed.
        if (!FKontakte.quKontakt.Active() && FKopie)
            ausKopie = FKopie->Person(suchbegriff);
        if (!ausKopie)
            FKontakt->LadeDaten();
    } catch (const std::exception& fehler) {
        Meldung::Zeigen(Meldung::Art::Fehler, TypNameVon(fehler) + u':' + MeldungVon(fehler));
    }
    Zyklus.SetzePerson(ausKopie ? ausKopie->Mitarbeiter_ID : FKontakt->Mitarbeiter_ID(),
                       [this] { return edName->text(); });

    try {
        Lade_Foto(ausKopie ? ausKopie->Foto : FKontakte.quKontakt.FieldByName(u"FOTO"_s).AsBytes());
        imgMitarbeiter->SetzePixmap(QPixmap::fromImage(FFoto));
    } catch (const std::exception&) {
        imgMitarbeiter->SetzeSvg(Bilder::Portraet(2), Qt::IgnoreAspectRatio);
    }

    // The tester's line, as one guarded block.
    try {
        ApdComPort1.SetComNumber(StrToInt(FDaten.COM_Port));
        ApdComPort1.SetGeraet(FDaten.Geraet);
        Port_oeffnen();
        // The new line-end registration replaces the previous cycle's, so every line is
        // evaluated exactly once.
        const quint16 neu = ApdComPort1.AddDataTrigger(QByteArray(1, '\r'), false);
        if (Auswertung.CRTrig != 0 && Auswertung.CRTrig != neu)
            ApdComPort1.RemoveTrigger(Auswertung.CRTrig);
        Auswertung.CRTrig = neu;
        actResetExecute();
    } catch (const std::exception&) {
        Verbindungsfehler();
    }

    const QString loginname = ausKopie ? ausKopie->Loginname : FKontakt->Loginname();
    if (Tafel::IstGast(loginname)) {
        edName->setMaxLength(kNameLaenge);
        edName->show();
        edName->clear();
        edName->setEnabled(true);
        lblName->clear();
        Hinweise_zeigen(false);
        panTastatur->show();
        panTastatur->raise();
    } else {
        edName->hide();
        // The login name is stored as it is, even beyond what a guest may type.
        edName->setMaxLength(std::max<int>(kNameLaenge, static_cast<int>(loginname.size())));
        edName->setText(loginname);
        lblName->setText(ausKopie ? ausKopie->Nachname + u' ' + ausKopie->Vorname
                                  : FKontakt->Nachname() + u' ' + FKontakt->Vorname());
        Hinweise_zeigen(true);
        panTastatur->hide();
    }

    showFullScreen();
    raise();
    activateWindow();
    if (edName->isVisibleTo(this))
        edName->setFocus();
}

void TFMessung::HinweisZeigen(const QString& text)
{
    lblUebertragung->setText(text);
    lblUebertragung->setVisible(!text.isEmpty());
    lblUebertragung->raise();
}

void TFMessung::Lade_Foto(const QByteArray& jpeg)
{
    const qreal dpr = devicePixelRatioF();
    FFoto = Bilder::DekodiereFoto(jpeg, Massstab().Skaliert(kFoto).size() * dpr);
    FFoto.setDevicePixelRatio(dpr);
}

void TFMessung::Hinweise_zeigen(bool sichtbar)
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{imgSchuh_L_grau, imgSchuh_R_grau, imgMessgeraet, imgPfeil,
                                         lblHinweis_1a, lblHinweis_1b})
        w->setVisible(sichtbar);
}

void TFMessung::Port_oeffnen()
{
    try {
        ApdComPort1.Open();
    } catch (const std::exception&) {
        Verbindungsfehler();
    }
}

void TFMessung::Verbindungsfehler()
{
    FehlerZeigen(u"Die Verbindung zum Testgerät konnte nicht hergestellt werden."_s,
                 u"Ev. stimmt die COM-Port Einstellung \"COM "_s + FDaten.COM_Port +
                     u"\" in der INI-Datei nicht."_s,
                 QString());
}

void TFMessung::actResetExecute()
{
    for (TBild* b : {imgSchuh_L_Gut, imgSchuh_L_schlecht, imgSchuh_R_gut, imgSchuh_R_schlecht,
                     imgArmband_gut, imgArmband_schlecht, imgGut, imgSchlecht})
        b->hide();
    for (QLabel* wert : {lblSchuh_L, lblSchuh_R, lblArmband})
        wert->clear();
    memFehler->hide();
    memFehler->clear();
    lblUebertragung->hide();
    FMemoZeilen.clear();
    Auswertung.WerteZuruecksetzen();
}

void TFMessung::actCloseExecute()
{
    // Ending the cycle here keeps a late tester line from being stored for a person who has
    // left the screen.
    Timer1Timer();
}

bool TFMessung::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == Buehne() && ereignis->type() == QEvent::Paint && !FPaintRegelAnstehend) {
        // After the paint: opening may ask the operator for a port, which must not happen
        // inside a paint event.
        FPaintRegelAnstehend = true;
        QMetaObject::invokeMethod(this, &TFMessung::FormPaint, Qt::QueuedConnection);
    } else if (objekt == edName && ereignis->type() == QEvent::KeyPress) {
        if (edNameKeyDown(static_cast<QKeyEvent*>(ereignis)->key()))
            return true;
    } else if (objekt == edName && ereignis->type() == QEvent::KeyRelease) {
        edNameKeyUp();
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void TFMessung::FormPaint()
{
    FPaintRegelAnstehend = false;
    // The port question is open; its answer decides.
    if (!isVisible() || ApdComPort1.WaehltPort())
        return;
    if (!edName->text().isEmpty()) {
        Port_oeffnen();
        return;
    }
    ApdComPort1.Close();
    if (edName->isVisible() && edName->isEnabled())
        edName->setFocus();
}

bool TFMessung::edNameKeyDown(int key)
{
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && !edName->text().isEmpty()) {
        lblName->setText(edName->text());
        lblName->show();
        Hinweise_zeigen(true);
        panTastatur->hide();
        Port_oeffnen();
        return true;
    }
    if (edName->text().isEmpty()) {
        ApdComPort1.Close();
        edName->setFocus();
    }
    return false;
}

void TFMessung::edNameKeyUp()
{
    if (edName->text().isEmpty()) {
        TouchKeyboard1->show();
        edName->setFocus();
    }
}

void TFMessung::ApdComPort1TriggerAvail(QObject* CP, quint16 Count)
{
    Q_UNUSED(CP);
    for (quint16 i = 0; i < Count; ++i)
        Zyklus.ByteAufnehmen(ApdComPort1.GetChar());
}

void TFMessung::ApdComPort1TriggerData(QObject* CP, quint16 TriggerHandle)
{
    Q_UNUSED(CP);
    Zyklus.Zeilenende(TriggerHandle);
}

void TFMessung::Messung_speichern()
{
    Zyklus.Messung_speichern();
}

void TFMessung::QuittungenPruefen()
{
    if (FQuittungenGeprueft)
        return;
    try {
        if (!FAufzeichnung.Direktbuchung().QuittungenPruefen())
            Meldung::Zeigen(
                Meldung::Art::Warnung,
                u"Die Datenbank ist nicht auf dem Stand dieser Station: Die Tabelle "
                u"ESD_MESSUNG_QUITTUNG fehlt, oder der Benutzer der Station darf sie nicht "
                u"lesen und beschreiben.\r\n\r\nMessungen werden weiter gespeichert. Bricht "
                u"die Verbindung aber während des Speicherns ab, kann die Station nicht "
                u"feststellen, ob eine Messung angekommen ist.\r\n\r\nBitte lassen Sie die "
                u"Datenbank mit db/upgrade.sql aktualisieren (siehe docs/database.md)."_s);
        FQuittungenGeprueft = true;
    } catch (const std::exception&) {
        // The server is away; the next start asks again, the recording finds out by itself.
    }
}

void TFMessung::Timer1Timer()
{
    Timer1.stop();
    ApdComPort1.Close();
    actResetExecute();
    if (FTafel.Lade_MA_Abteilung) {
        try {
            FTafel.Lade_MA_Abteilung(QString());
        } catch (const std::exception&) {
            // The board reports its own failures; the cycle ends regardless.
        }
    }
    close();
}

void TFMessung::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    FormClose();
}

void TFMessung::FormClose()
{
    FFoto = QImage();
    imgMitarbeiter->Leeren();
    if (FTafel.Timer2Starten)
        FTafel.Timer2Starten();
}

// What an evaluated line does to the screen.

void TFMessung::Zuruecksetzen()
{
    actResetExecute();
}

void TFMessung::BildZeigen(TBildart bild, bool sichtbar)
{
    TBild* ziel = nullptr;
    switch (bild) {
    case TBildart::Schuh_L_Gut:
        ziel = imgSchuh_L_Gut;
        break;
    case TBildart::Schuh_L_schlecht:
        ziel = imgSchuh_L_schlecht;
        break;
    case TBildart::Schuh_R_gut:
        ziel = imgSchuh_R_gut;
        break;
    case TBildart::Schuh_R_schlecht:
        ziel = imgSchuh_R_schlecht;
        break;
    case TBildart::Armband_gut:
        ziel = imgArmband_gut;
        break;
    case TBildart::Armband_schlecht:
        ziel = imgArmband_schlecht;
        break;
    case TBildart::Gut:
        ziel = imgGut;
        break;
    case TBildart::Schlecht:
        ziel = imgSchlecht;
        break;
    }
    ziel->setVisible(sichtbar);
}

void TFMessung::WertZeigen(TWert wert, const QString& text)
{
    switch (wert) {
    case TWert::Schuh_L:
        lblSchuh_L->setText(text);
        break;
    case TWert::Schuh_R:
        lblSchuh_R->setText(text);
        break;
    case TWert::Armband:
        lblArmband->setText(text);
        break;
    }
}

void TFMessung::MemoSetzen(const QString& text)
{
    FMemoZeilen = QStringList{text};
    memFehler->setPlainText(text);
}

void TFMessung::MemoZeile(const QString& zeile)
{
    // Kept as lines: an empty first line must stay a line of its own.
    FMemoZeilen << zeile;
    memFehler->setPlainText(FMemoZeilen.join(u'\n'));
}

void TFMessung::MemoZeigen()
{
    memFehler->show();
}

void TFMessung::FehlerZeigen(const QString& text1, const QString& text2, const QString& errorcode)
{
    if (FFehleranzeige)
        FFehleranzeige->Start(text1, text2, errorcode);
}

void TFMessung::PeriodeSetzen(int ms)
{
    // QTimer restarts on every setInterval; the countdown restarts only on a changed period.
    if (Timer1.interval() != ms)
        Timer1.setInterval(ms);
}

void TFMessung::CountdownStarten()
{
    if (!Timer1.isActive())
        Timer1.start();
}
