// The employee board of the main window: department menu, tiles, pages and the photo tap.
#include "Bedienelemente.h"
#include "Bilder.h"
#include "DBFehler.h"
#include "Fotostapel.h"
#include "Journal.h"
#include "PinAbfrage.h"
#include "Startmeldung.h"
#include "Tafel.h"
#include "Tafelkopie.h"
#include "uFDM.h"
#include "uFKurzmeldung.h"
#include "uFMain.h"
#include "uFehler.h"
#include "uMeldung.h"
#include "uMessung.h"

#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStackedWidget>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// Number k of a control named praefix + k with 1 <= k <= hoechste; 0 for any other name.
int Nummer(const QString& name, const QString& praefix, int hoechste)
{
    if (!name.startsWith(praefix))
        return 0;
    bool ok = false;
    const int k = QStringView(name).mid(praefix.size()).toInt(&ok);
    return ok && k >= 1 && k <= hoechste ? k : 0;
}

} // namespace

void TFMain::Einfaerben(QWidget* panel, const QColor& farbe)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, farbe);
    panel->setPalette(palette);
}

QString TFMain::Abteilungsname(int index) const
{
    return index >= 1 && index <= Abteilungen.size() ? Abteilungen[index - 1].Name : QString();
}

void TFMain::Lade_Abteilungen()
{
    iglobZaehler_Abteilung = 0;
    try {
        TDBAbfrage& abfrage = FDaten->quSuchen;
        abfrage.Close();
        abfrage.SQL().Clear();
        abfrage.SQL().Add(Tafel::AbteilungenSql(Mandant()));
        abfrage.Open();
        abfrage.First();
        qsizetype i = 0;
        do {
            const QString name =
                abfrage.Eof() ? QString() : abfrage.FieldByName(u"ABTEILUNG"_s).AsString();
            if (i < Abteilungen.size())
                Abteilungen[i].Name = name;
            else
                Abteilungen.append({name});
            ++i;
            if (!abfrage.Eof())
                abfrage.Next();
        } while (!abfrage.Eof());
        iglob_Anzahl_Abteilungen = abfrage.RecordCount();
        const bool pfeile = iglob_Anzahl_Abteilungen > 6 && Menu_AnzAbteilungen() == u"6"_s;
        btnMenu_Abt_Links->setVisible(pfeile);
        btnMenu_Abt_Rechts->setVisible(pfeile);
        FAbteilungenGeladen = true;
        if (FAuffrischen)
            FAuffrischen(QString(), QSize());
        SetzeOffline(false);
    } catch (const std::exception& fehler) {
        // Without a database the menu shows what was read so far, which is nothing at start;
        // the welcome card says why and the start tries again. With the board's copy the
        // station goes on offline.
        FAbteilungenGeladen = false;
        FKeineVerbindung = dynamic_cast<const EVerbindungsfehler*>(&fehler) != nullptr;
        FAbteilungsfehler = Startmeldung::Detail(fehler);
        if (FKeineVerbindung)
            FAbteilungenGeladen = Lade_Abteilungen_Kopie();
    }
    Zeige_Abteilungen();
}

bool TFMain::Lade_Abteilungen_Kopie()
{
    QStringList namen;
    try {
        if (FKopie)
            namen = FKopie->Abteilungen(Mandant());
    } catch (const std::exception&) {
        // An unreadable copy is no copy: the welcome card says the server is away.
    }
    if (namen.isEmpty())
        return false;
    Abteilungen.clear();
    for (const QString& name : std::as_const(namen))
        Abteilungen.append({name});
    iglob_Anzahl_Abteilungen = int(namen.size());
    const bool pfeile = iglob_Anzahl_Abteilungen > 6 && Menu_AnzAbteilungen() == u"6"_s;
    btnMenu_Abt_Links->setVisible(pfeile);
    btnMenu_Abt_Rechts->setVisible(pfeile);
    SetzeOffline(true);
    return true;
}

void TFMain::Zeige_Abteilungen()
{
    try {
        const auto schreibe = [this](const auto& knoepfe) {
            for (size_t i = 0; i < knoepfe.size(); ++i) {
                QPushButton* knopf = knoepfe[i];
                knopf->setText(Abteilungsname(iglobZaehler_Abteilung + int(i) + 1));
                knopf->setVisible(!knopf->text().isEmpty());
            }
        };
        if (Menu_AnzAbteilungen() == u"6"_s)
            schreibe(btnAbteilung_A);
        else if (Menu_AnzAbteilungen() == u"12"_s)
            schreibe(btnAbteilung_B);
    } catch (const std::exception& fehler) {
        Meldung::Zeigen(Meldung::Art::Warnung,
                        u"Die Abteilungsliste konnte nicht korrekt aufbereitet werden!\r\n\r\n"_s +
                            TypNameVon(fehler) + u':' + MeldungVon(fehler));
    }
    ZeigeSuchknopf();
}

void TFMain::btnMenu_Abt_RechtsClick()
{
    if (iglobZaehler_Abteilung < iglob_Anzahl_Abteilungen - 6)
        ++iglobZaehler_Abteilung;
    Zeige_Abteilungen();
    iTimer_PageWechsel = iWechselzeit;
}

void TFMain::btnMenu_Abt_LinksClick()
{
    if (iglobZaehler_Abteilung > 0)
        --iglobZaehler_Abteilung;
    Zeige_Abteilungen();
    iTimer_PageWechsel = iWechselzeit;
}

void TFMain::actLade_MitarbeiterExecute(QObject* Sender)
{
    if (!Timer2.isActive())
        Timer2.start();
    try {
        const QString name = Sender != nullptr ? Sender->objectName() : QString();
        int k = Nummer(name, u"btnAbteilung_A"_s, 6);
        if (k == 0)
            k = Nummer(name, u"btnAbteilung_B"_s, 12);
        if (k > 0)
            sglobAktive_Abteilung = Abteilungsname(iglobZaehler_Abteilung + k);
        CardPanel->setCurrentWidget(cardMitarbeiter);
    } catch (const std::exception&) {
        // Choosing the department never stops the board from loading.
    }
    Leere_MA_Kacheln();
    iglobSeite = 0;
    sglobMitarbeiter_IDs.clear();
    Lade_MA_Abteilung(QString());
    iTimer_PageWechsel = iWechselzeit;
}

void TFMain::Leere_MA_Kacheln()
{
    for (int n = 1; n <= Tafel::kKachelnJeSeite; ++n)
        VersteckeKachel(n);
}

void TFMain::VersteckeKachel(int n)
{
    const auto i = size_t(n - 1);
    lblUser[i]->setText(QString());
    lblUser[i]->hide();
    imgMitarbeiter[i]->Tag = 0;
    imgMitarbeiter[i]->hide();
    panUser[i]->hide();
}

void TFMain::Lade_MA_Abteilung(const QString& /*AAbteilung*/)
{
    // No department shown yet (the measurement screen's first countdown at start): nothing to
    // reload, and without a database no reason for a message.
    if (sglobAktive_Abteilung.isEmpty() && !FSuche)
        return;
    // Each photo decodes on the thread pool while the next tiles load; the board is complete
    // before anything is shown.
    TFotostapel fotos;
    bool fehler = false;
    bool geladen = false;
    try {
        const int jeSeite = KachelnJeSeite();
        const QStringList ids = MitarbeiterIds();
        sglobMitarbeiter_IDs = ids;
        // A reload keeps the page unless the department has shrunk below it.
        iglobSeite = std::clamp(iglobSeite, 0, Tafel::Seitenzahl(int(ids.size()), jeSeite) - 1);
        ZeigeSeitenanzeige();
        const int erster = iglobSeite * jeSeite;
        FHeuteBestanden.clear();
        if (FJournal) {
            // A pass still on its way to the server colours the tile already.
            const QStringList seite = ids.mid(erster, jeSeite);
            const auto bestanden =
                FJournal->LetzteBestandene(seite, QDate::currentDate().startOfDay(), true);
            for (auto it = bestanden.cbegin(); it != bestanden.cend(); ++it)
                FHeuteBestanden.insert(it.key());
        }
        for (int n = 1; n <= jeSeite && erster + n - 1 < ids.size(); ++n)
            Lade_MA_Kachel(ids[erster + n - 1], n, fotos);
        geladen = true;
    } catch (const std::exception& ausnahme) {
        const bool verbindung = dynamic_cast<const EVerbindungsfehler*>(&ausnahme) != nullptr;
        // A search needs the server; without it the board it was opened from comes back.
        if (FSuche && verbindung) {
            SucheBeenden(true);
            return;
        }
        // The server away: the board comes from the station's copy.
        if (FKopie && verbindung) {
            Lade_MA_Abteilung_Kopie();
            return;
        }
        fehler = true;
    }
    Zeige_Fotos(fotos);
    if (geladen) {
        if (FOffline)
            WiederOnline();
        if (FAuffrischen && !FSuche)
            FAuffrischen(sglobAktive_Abteilung,
                         imgMitarbeiter[0]->size() * imgMitarbeiter[0]->devicePixelRatioF());
    }
    if (fehler)
        Meldung::Zeigen(Meldung::Art::Warnung,
                        u"Fehler beim Aufbereiten der Abteilungen.\r\nEv. stimmt der Mandant in "
                        "der Einstellungen.ini-Datei nicht"_s);
}

void TFMain::Lade_MA_Kachel(const QString& id, int n, TFotostapel& fotos)
{
    const auto i = size_t(n - 1);
    MA_Kontakt->Suchen(id, u"MITARBEITER_ID"_s, false);
    if (!MA_Kontakt->LadeDaten()) {
        // The record still holds the previous tile's employee; this tile must not carry them.
        VersteckeKachel(n);
        return;
    }

    lblUser[i]->setText(MA_Kontakt->Nachname() + u' ' + MA_Kontakt->Vorname());
    lblUser[i]->show();
    imgMitarbeiter[i]->Tag = StrToInt(MA_Kontakt->Mitarbeiter_ID());
    imgMitarbeiter[i]->show();
    panUser[i]->show();
    const bool heute =
        Tafel::AmTagGemessen(MA_Kontakt->Datum_ESD_Messung(), QDate::currentDate()) ||
        FHeuteBestanden.contains(id);
    Einfaerben(panUser[i], heute ? Tafel::kGruen : Tafel::kRot);

    const TDBFeld& foto = MA_Kontakt->Foto();
    if (foto.IsNull()) {
        imgMitarbeiter[i]->SetzeSvg(imglWorstCase[2], Qt::IgnoreAspectRatio);
        return;
    }
    // Until its photo is in, the tile shows none rather than the previous board's, should a
    // message about a later tile let the board be painted meanwhile.
    imgMitarbeiter[i]->Leeren();
    // A copy: the next tile's search closes the result that holds the bytes.
    const QSize pixel = imgMitarbeiter[i]->size() * imgMitarbeiter[i]->devicePixelRatioF();
    fotos.Dekodiere(n, foto.AsBytes(), pixel);
}

void TFMain::WiederOnline()
{
    Lade_Abteilungen();
    if (FOffline)
        return;
    TimerDB.stop();
    FWiederholung.Beenden();
    lblVerbindung->hide();
    FMessschirm->QuittungenPruefen();
}

void TFMain::Lade_MA_Abteilung_Kopie()
{
    QList<TKopiePerson> personen;
    QStringList ids;
    QHash<QString, QDateTime> bestanden;
    try {
        personen = FKopie->Abteilung(Mandant(), sglobAktive_Abteilung);
        for (const TKopiePerson& person : std::as_const(personen))
            ids.append(person.Mitarbeiter_ID);
        // The copy's dates may be older than passes forwarded since: all of them count.
        bestanden = FJournal->LetzteBestandene(ids, QDate::currentDate().startOfDay(), false);
    } catch (const std::exception&) {
        // An unreadable copy shows an empty board, as a department without people would.
        personen.clear();
        ids.clear();
    }
    SetzeOffline(true);
    sglobMitarbeiter_IDs = ids;
    const int jeSeite = KachelnJeSeite();
    iglobSeite = std::clamp(iglobSeite, 0, Tafel::Seitenzahl(int(ids.size()), jeSeite) - 1);
    ZeigeSeitenanzeige();
    const int erster = iglobSeite * jeSeite;
    for (int n = 1; n <= jeSeite && erster + n - 1 < personen.size(); ++n) {
        TKopiePerson person = personen[erster + n - 1];
        const QDateTime pass = bestanden.value(person.Mitarbeiter_ID);
        if (pass.isValid() &&
            (!person.Datum_ESD_Messung.isValid() || pass > person.Datum_ESD_Messung))
            person.Datum_ESD_Messung = pass;
        Lade_MA_Kachel_Kopie(person, n);
    }
}

void TFMain::Lade_MA_Kachel_Kopie(const TKopiePerson& person, int n)
{
    const auto i = size_t(n - 1);
    lblUser[i]->setText(person.Nachname + u' ' + person.Vorname);
    lblUser[i]->show();
    imgMitarbeiter[i]->Tag = StrToInt(person.Mitarbeiter_ID);
    imgMitarbeiter[i]->show();
    panUser[i]->show();
    const bool heute = person.Datum_ESD_Messung.date() == QDate::currentDate();
    Einfaerben(panUser[i], heute ? Tafel::kGruen : Tafel::kRot);
    const QImage bild = person.Foto.isEmpty() ? QImage() : QImage::fromData(person.Foto, "JPG");
    if (bild.isNull())
        imgMitarbeiter[i]->SetzeSvg(imglWorstCase[2], Qt::IgnoreAspectRatio);
    else
        imgMitarbeiter[i]->SetzePixmap(QPixmap::fromImage(bild));
}

void TFMain::Zeige_Fotos(TFotostapel& fotos)
{
    for (TFoto& foto : fotos.Fertig()) {
        TKachelFoto* bild = imgMitarbeiter[size_t(foto.Nummer - 1)];
        if (foto.Fehler)
            bild->SetzeSvg(imglWorstCase[1], Qt::IgnoreAspectRatio);
        else
            bild->SetzePixmap(QPixmap::fromImage(std::move(foto.Bild)));
    }
    // The warnings once the board is complete, in the order of the tiles.
    for (const TFoto& foto : fotos.Fertig()) {
        if (!foto.Fehler)
            continue;
        try {
            std::rethrow_exception(foto.Fehler);
        } catch (const std::exception& fehler) {
            Meldung::Zeigen(Meldung::Art::Warnung,
                            u"Fehler beim laden Bildes aus der Datenbank!\r\n\r\nSollte der "
                            "Fehler weiterhin auftreten, muss das Bild neu hochgeladen "
                            "werden.\r\n\r\n"_s +
                                TypNameVon(fehler) + u": "_s + MeldungVon(fehler));
        }
    }
}

void TFMain::actMessmodusExecute(QObject* Sender)
{
    iTimer_PageWechsel = iWechselzeit;
    Timer2.stop();
    const auto* foto = qobject_cast<const TKachelFoto*>(Sender);
    FMessschirm->Start(foto != nullptr ? foto->Tag : 0);
}

void TFMain::ZeigeSeite(int seite)
{
    // Turning pages is use of the board, like a tap.
    iTimer_PageWechsel = iWechselzeit;
    if (seite < 0 ||
        seite >= Tafel::Seitenzahl(int(sglobMitarbeiter_IDs.size()), KachelnJeSeite()) ||
        seite == iglobSeite)
        return;
    iglobSeite = seite;
    Leere_MA_Kacheln();
    Lade_MA_Abteilung(QString());
}

void TFMain::btnSeite_VorClick()
{
    ZeigeSeite(iglobSeite + 1);
}

void TFMain::btnSeite_ZurueckClick()
{
    ZeigeSeite(iglobSeite - 1);
}

void TFMain::Wischen(TWischen richtung, QWidget* start)
{
    if (CardPanel->currentWidget() != cardMitarbeiter || start == nullptr ||
        (start != panMitarbeiter && !panMitarbeiter->isAncestorOf(start)))
        return;
    // On a board of one page a swipe turns nothing; like any other gesture it is no use of the
    // board and must not hold off the return to the welcome card.
    if (Tafel::Seitenzahl(int(sglobMitarbeiter_IDs.size()), KachelnJeSeite()) <= 1)
        return;
    if (richtung == TWischen::NachLinks)
        btnSeite_VorClick();
    else if (richtung == TWischen::NachRechts)
        btnSeite_ZurueckClick();
}

void TFMain::ZeigeSeitenanzeige()
{
    const int seiten = Tafel::Seitenzahl(int(sglobMitarbeiter_IDs.size()), KachelnJeSeite());
    const bool sichtbar = CardPanel->currentWidget() == cardMitarbeiter && seiten > 1;
    lblSeite->setText(u"Seite %1/%2"_s.arg(iglobSeite + 1).arg(seiten));
    btnSeite_Zurueck->setEnabled(iglobSeite > 0);
    btnSeite_Vor->setEnabled(iglobSeite < seiten - 1);
    btnSeite_Zurueck->setVisible(sichtbar);
    lblSeite->setVisible(sichtbar);
    btnSeite_Vor->setVisible(sichtbar);
}

int TFMain::KachelnJeSeite() const
{
    return FSuche ? kKachelnBeiSuche : Tafel::kKachelnJeSeite;
}

QStringList TFMain::MitarbeiterIds()
{
    TDBAbfrage& abfrage = FDaten->quMitarbeiter;
    abfrage.Close();
    abfrage.SQL().Clear();
    if (FSuche) {
        const QString text = edtSuche->text().trimmed();
        if (text.isEmpty())
            return {};
        abfrage.SQL().Add(Tafel::NamenssucheSql(Mandant()));
        const QString muster = Tafel::Namensmuster(text);
        abfrage.ParamByName(u"NACHNAME"_s).SetAsString(muster);
        abfrage.ParamByName(u"VORNAME"_s).SetAsString(muster);
    } else {
        abfrage.SQL().Add(Tafel::MitarbeiterSql(Mandant()));
        abfrage.ParamByName(u"ABTEILUNG"_s).SetAsString(sglobAktive_Abteilung);
    }
    abfrage.Open();
    abfrage.First();
    QStringList ids;
    for (; !abfrage.Eof(); abfrage.Next())
        ids.append(abfrage.FieldByName(u"Mitarbeiter_ID"_s).AsString());
    return ids;
}

bool TFMain::NimmtAusweis() const
{
    if (!Ausweisleser() || FDaten == nullptr || !isVisible() || FMessschirm->isVisible() ||
        panPin->isVisible())
        return false;
    if (CardPanel->currentWidget() != cardWelcome && CardPanel->currentWidget() != cardMitarbeiter)
        return false;
    // A field with the focus gets the keys as typed, badge or not.
    const QWidget* fokus = focusWidget();
    return fokus == nullptr || !fokus->testAttribute(Qt::WA_InputMethodEnabled);
}

void TFMain::AusweisTaste(const QKeyEvent& taste)
{
    if (!NimmtAusweis()) {
        FAusweisleser.Verwerfen();
        return;
    }
    const auto zeit = static_cast<qint64>(taste.timestamp());
    if (taste.key() == Qt::Key_Return || taste.key() == Qt::Key_Enter) {
        if (const std::optional<QString> nummer = FAusweisleser.Eingabe(zeit))
            AusweisGelesen(*nummer);
        return;
    }
    // Shift and the like carry no text and belong to the burst.
    for (const QChar zeichen : taste.text())
        FAusweisleser.Zeichen(zeichen, zeit);
}

void TFMain::AusweisGelesen(const QString& nummer)
{
    const auto hinweis = [this](const QString& titel) {
        if (FKurzmeldung)
            FKurzmeldung->Start(titel, u"Bitte Foto antippen"_s);
    };
    QString id;
    QString abteilung;
    qsizetype treffer = 0;
    try {
        TDBAbfrage& abfrage = FDaten->quSuchen;
        abfrage.Close();
        abfrage.SQL().Clear();
        abfrage.SQL().Add(Tafel::AusweisSql(Mandant()));
        abfrage.ParamByName(u"AUSWEIS"_s).SetAsString(nummer);
        abfrage.Open();
        abfrage.First();
        treffer = abfrage.RecordCount();
        if (treffer == 1) {
            id = abfrage.FieldByName(u"MITARBEITER_ID"_s).AsString();
            abteilung = abfrage.FieldByName(u"ABTEILUNG"_s).AsString();
        }
        abfrage.Close();
    } catch (const std::exception&) {
        hinweis(u"Ausweis nicht prüfbar"_s);
        return;
    }
    // New records carry the same placeholder until the personnel office sets the number.
    if (treffer != 1) {
        hinweis(treffer == 0 ? u"Ausweis nicht bekannt"_s : u"Ausweis nicht eindeutig"_s);
        return;
    }

    // The person's board behind the measurement screen, on the page that shows them.
    if (FSuche)
        SucheBeenden(false);
    if (!Timer2.isActive())
        Timer2.start();
    sglobAktive_Abteilung = abteilung;
    CardPanel->setCurrentWidget(cardMitarbeiter);
    Leere_MA_Kacheln();
    iglobSeite = 0;
    sglobMitarbeiter_IDs.clear();
    Lade_MA_Abteilung(QString());
    const qsizetype stelle = sglobMitarbeiter_IDs.indexOf(id);
    if (stelle >= KachelnJeSeite())
        ZeigeSeite(int(stelle / KachelnJeSeite()));
    iTimer_PageWechsel = iWechselzeit;
    Timer2.stop();
    FMessschirm->Start(StrToInt(id));
}

void TFMain::ZeigeSuchknopf()
{
    btnSuche->setVisible(FDaten != nullptr && FAbteilungenGeladen && !FOffline);
}

void TFMain::btnSucheClick()
{
    iTimer_PageWechsel = iWechselzeit;
    if (!Timer2.isActive())
        Timer2.start();
    if (!FSuche) {
        FVorSuche = {CardPanel->currentWidget() == cardMitarbeiter, sglobAktive_Abteilung,
                     iglobSeite};
        FSuche = true;
        {
            const QSignalBlocker still(edtSuche);
            edtSuche->clear();
        }
        CardPanel->setCurrentWidget(cardMitarbeiter);
        Leere_MA_Kacheln();
        iglobSeite = 0;
        sglobMitarbeiter_IDs.clear();
        ZeigeSeitenanzeige();
        panSuche->show();
        panSuche->raise();
    }
    edtSuche->setFocus();
}

void TFMain::SucheAendern(const QString& /*text*/)
{
    if (!FSuche)
        return;
    iTimer_PageWechsel = iWechselzeit;
    Leere_MA_Kacheln();
    iglobSeite = 0;
    Lade_MA_Abteilung(QString());
}

void TFMain::btnSucheSchliessenClick()
{
    iTimer_PageWechsel = iWechselzeit;
    SucheBeenden(true);
}

void TFMain::SucheBeenden(bool zurueck)
{
    FSuche = false;
    panSuche->hide();
    edtSuche->clearFocus();
    {
        const QSignalBlocker still(edtSuche);
        edtSuche->clear();
    }
    Leere_MA_Kacheln();
    sglobMitarbeiter_IDs.clear();
    iglobSeite = 0;
    if (zurueck && FVorSuche.Tafel) {
        sglobAktive_Abteilung = FVorSuche.Abteilung;
        iglobSeite = FVorSuche.Seite;
        Lade_MA_Abteilung(QString());
    } else if (zurueck) {
        CardPanel->setCurrentWidget(cardWelcome);
    }
    ZeigeSeitenanzeige();
}
