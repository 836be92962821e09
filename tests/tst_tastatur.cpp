// The on-screen keyboard: what taps type into a focused name field, and the keys' layout.
#include "TouchKeyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointingDevice>
#include <QTest>

#include <cmath>

namespace {

// A name field above the keyboard at its design size, the field focused in an active window.
struct TAufbau
{
    QWidget fenster;
    QLineEdit* edName = new QLineEdit(&fenster);
    TTouchKeyboard* tastatur = new TTouchKeyboard(&fenster);

    TAufbau()
    {
        edName->setMaxLength(25);
        edName->setGeometry(0, 0, 400, 46);
        tastatur->setGeometry(QRect(QPoint(0, 60), TTouchKeyboard::kEntwurfsgroesse));
        fenster.resize(1600, 600);
        fenster.show();
        QApplication::setActiveWindow(&fenster);
        edName->setFocus();
    }

    QAbstractButton* Taste(const QString& name) const
    {
        return tastatur->findChild<QAbstractButton*>("Taste_" + name);
    }

    // Taps the keys named in the blank-separated list; false when one is missing.
    bool Tippen(const QString& folge, QPointingDevice* finger = nullptr) const
    {
        for (const QString& name : folge.split(' ', Qt::SkipEmptyParts)) {
            QAbstractButton* taste = Taste(name);
            if (taste == nullptr)
                return false;
            if (finger == nullptr) {
                QTest::mouseClick(taste, Qt::LeftButton);
            } else {
                const QPoint mitte = taste->rect().center();
                QTest::touchEvent(taste, finger).press(0, mitte, taste);
                QTest::touchEvent(taste, finger).release(0, mitte, taste);
            }
        }
        return true;
    }
};

struct TEreignis
{
    QEvent::Type art;
    int taste;
    QString text;
    Qt::KeyboardModifiers umschalter;
};

class TAufzeichner : public QObject
{
public:
    QList<TEreignis> Ereignisse;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override
    {
        if (ereignis->type() == QEvent::KeyPress || ereignis->type() == QEvent::KeyRelease) {
            const auto* taste = static_cast<QKeyEvent*>(ereignis);
            Ereignisse.append({ereignis->type(), taste->key(), taste->text(), taste->modifiers()});
        }
        return QObject::eventFilter(objekt, ereignis);
    }
};

} // namespace

class TTastaturTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FFinger = QTest::createTouchDevice(); }

    void tippen_data()
    {
        QTest::addColumn<QString>("folge");
        QTest::addColumn<bool>("perFinger");
        QTest::addColumn<QString>("erwartet");

        QTest::newRow("klein ohne Umschalt") << "M U S T E R" << false << "muster";
        QTest::newRow("Umschalt gilt nur einem Zeichen")
            << "Umschalt M U S T E R" << false << "Muster";
        QTest::newRow("rechte Umschalttaste") << "UmschaltRechts Z" << false << "Z";
        QTest::newRow("zweimal Umschalt hebt auf") << "Umschalt Umschalt A" << false << "a";
        QTest::newRow("QWERTZ") << "Q W E R T Z Y X" << false << "qwertzyx";
        QTest::newRow("Umlaute") << "Umschalt Ae Oe Ue" << false << "Äöü";
        QTest::newRow("ß und Leertaste") << "F U Sz Leer A" << false << "fuß a";
        QTest::newRow("Löschen nimmt das letzte") << "A B C Loeschen" << false << "ab";
        QTest::newRow("Löschen im leeren Feld") << "Loeschen A" << false << "a";
        QTest::newRow("Umschalt überdauert Löschen") << "X Umschalt Loeschen A" << false << "A";
        QTest::newRow("Leertaste löst Umschalt") << "Umschalt Leer A" << false << " a";
        QTest::newRow("Ziffern und Zeichen")
            << "1 Umschalt 1 Umschalt 2 Umschalt 3 Umschalt 7 Minus Umschalt Minus" << false
            << "1!\"§/-_";
        QTest::newRow("Zeichen der unteren Reihe")
            << "Kleiner Umschalt Kleiner Komma Umschalt Komma Punkt Umschalt Punkt" << false
            << "<>,;.:";
        QTest::newRow("Zeichen rechts oben")
            << "Zirkumflex Umschalt Zirkumflex Akut Umschalt Akut Plus Umschalt Plus Raute "
               "Umschalt Raute Umschalt Sz"
            << false << "^°´`+*#'?";
        // Touch finds its window by screen position, and the offscreen screen is only 800 px wide.
        QTest::newRow("per Finger") << "Umschalt H A S E" << true << "Hase";
    }

    void tippen()
    {
        QFETCH(QString, folge);
        QFETCH(bool, perFinger);
        QFETCH(QString, erwartet);
        const TAufbau aufbau;
        QCOMPARE(QApplication::focusWidget(), aufbau.edName);

        QVERIFY(aufbau.Tippen(folge, perFinger ? FFinger : nullptr));

        QCOMPARE(aufbau.edName->text(), erwartet);
        QCOMPARE(QApplication::focusWidget(), aufbau.edName);
    }

    void ereignisse_data()
    {
        QTest::addColumn<QString>("folge");
        QTest::addColumn<int>("taste");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("umschalt");

        QTest::newRow("Buchstabe") << "A" << int(Qt::Key_A) << "a" << false;
        QTest::newRow("Grossbuchstabe") << "Umschalt A" << int(Qt::Key_A) << "A" << true;
        QTest::newRow("Umlaut") << "Ae" << int(Qt::Key_Adiaeresis) << "ä" << false;
        QTest::newRow("grosser Umlaut") << "Umschalt Oe" << int(Qt::Key_Odiaeresis) << "Ö" << true;
        QTest::newRow("ß") << "Sz" << int(Qt::Key_ssharp) << "ß" << false;
        QTest::newRow("Ausrufezeichen") << "Umschalt 1" << int(Qt::Key_Exclam) << "!" << true;
        QTest::newRow("Leertaste") << "Leer" << int(Qt::Key_Space) << " " << false;
        QTest::newRow("Löschen") << "Loeschen" << int(Qt::Key_Backspace) << "" << false;
        QTest::newRow("Enter") << "Enter" << int(Qt::Key_Return) << "\r" << false;
        QTest::newRow("Enter nach Umschalt")
            << "Umschalt Enter" << int(Qt::Key_Return) << "\r" << false;
    }

    // Exactly one press and one release reach the field's filters; Shift sends nothing itself.
    void ereignisse()
    {
        QFETCH(QString, folge);
        QFETCH(int, taste);
        QFETCH(QString, text);
        QFETCH(bool, umschalt);
        const TAufbau aufbau;
        TAufzeichner aufzeichner;
        aufbau.edName->installEventFilter(&aufzeichner);

        QVERIFY(aufbau.Tippen(folge));

        const Qt::KeyboardModifiers umschalter = umschalt ? Qt::ShiftModifier : Qt::NoModifier;
        QCOMPARE(aufzeichner.Ereignisse.size(), 2);
        for (qsizetype i = 0; i < 2; ++i) {
            const TEreignis& ereignis = aufzeichner.Ereignisse.at(i);
            QCOMPARE(ereignis.art, i == 0 ? QEvent::KeyPress : QEvent::KeyRelease);
            QCOMPARE(ereignis.taste, taste);
            QCOMPARE(ereignis.text, text);
            QCOMPARE(ereignis.umschalter, umschalter);
        }
    }

    void umschaltRastetSichtbarEin()
    {
        const TAufbau aufbau;
        QAbstractButton* links = aufbau.Taste("Umschalt");
        QAbstractButton* rechts = aufbau.Taste("UmschaltRechts");

        QVERIFY(aufbau.Tippen("UmschaltRechts"));
        QVERIFY(aufbau.tastatur->Umschaltung());
        QVERIFY(links->isChecked());
        QVERIFY(rechts->isChecked());

        QVERIFY(aufbau.Tippen("K"));
        QVERIFY(!aufbau.tastatur->Umschaltung());
        QVERIFY(!links->isChecked());
        QVERIFY(!rechts->isChecked());
    }

    void ohneFokusGeschiehtNichts()
    {
        const TAufbau aufbau;
        aufbau.edName->clearFocus();
        QCOMPARE(QApplication::focusWidget(), nullptr);

        QVERIFY(aufbau.Tippen("A Umschalt B Leer Loeschen Enter"));

        QCOMPARE(aufbau.edName->text(), QString());
        QCOMPARE(QApplication::focusWidget(), nullptr);
    }

    // A kiosk without a window manager may never activate its window.
    void fensterNichtAktiv()
    {
        const TAufbau aufbau;
        QApplication::setActiveWindow(nullptr);
        QCOMPARE(QApplication::focusWidget(), nullptr);

        QVERIFY(aufbau.Tippen("O K"));

        QCOMPARE(aufbau.edName->text(), "ok");
    }

    void reihen_data()
    {
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QStringList>("aufschriften");

        QTest::newRow("Ziffern") << QStringList{"Zirkumflex", "1",  "2",    "3",       "4",
                                                "5",          "6",  "7",    "8",       "9",
                                                "0",          "Sz", "Akut", "Loeschen"}
                                 << QStringList{"^", "1", "2", "3", "4", "5", "6",
                                                "7", "8", "9", "0", "ß", "´", "⌫"};
        QTest::newRow("obere Buchstaben")
            << QStringList{"Q", "W", "E", "R", "T", "Z", "U", "I", "O", "P", "Ue", "Plus"}
            << QStringList{"Q", "W", "E", "R", "T", "Z", "U", "I", "O", "P", "Ü", "+"};
        QTest::newRow("mittlere Buchstaben")
            << QStringList{"A", "S", "D", "F", "G", "H", "J", "K", "L", "Oe", "Ae", "Raute"}
            << QStringList{"A", "S", "D", "F", "G", "H", "J", "K", "L", "Ö", "Ä", "#"};
        QTest::newRow("untere Buchstaben")
            << QStringList{"Umschalt",
                           "Kleiner",
                           "Y",
                           "X",
                           "C",
                           "V",
                           "B",
                           "N",
                           "M",
                           "Komma",
                           "Punkt",
                           "Minus",
                           "UmschaltRechts"}
            << QStringList{"⇧", "<", "Y", "X", "C", "V", "B", "N", "M", ",", ".", "-", "⇧"};
        QTest::newRow("Leertaste") << QStringList{"Leer"} << QStringList{""};
        QTest::newRow("Enter") << QStringList{"Enter"} << QStringList{"   ENTER"};
    }

    // Each row's keys side by side from left to right, with their faces.
    void reihen()
    {
        QFETCH(QStringList, namen);
        QFETCH(QStringList, aufschriften);
        const TAufbau aufbau;

        const QAbstractButton* vorige = nullptr;
        for (qsizetype i = 0; i < namen.size(); ++i) {
            const QAbstractButton* taste = aufbau.Taste(namen.at(i));
            QVERIFY2(taste != nullptr, qPrintable(namen.at(i)));
            QCOMPARE(taste->text(), aufschriften.at(i));
            if (vorige != nullptr) {
                QCOMPARE(taste->y(), vorige->y());
                QVERIFY(taste->x() > vorige->geometry().right());
            }
            vorige = taste;
        }
    }

    void masse_data()
    {
        QTest::addColumn<QSize>("groesse");
        QTest::newRow("Entwurf") << TTouchKeyboard::kEntwurfsgroesse;
        QTest::newRow("verkleinert") << QSize(1116, 371);
        QTest::newRow("vergroessert") << QSize(2092, 695);
    }

    // Finger-sized at the design size, scaled uniformly with the widget, never overlapping.
    void masse()
    {
        QFETCH(QSize, groesse);
        const TAufbau aufbau;
        const QList<QAbstractButton*> tasten = aufbau.tastatur->findChildren<QAbstractButton*>();
        QVERIFY(tasten.size() > 50);
        QHash<QAbstractButton*, QRect> entwurf;
        for (QAbstractButton* taste : tasten) {
            QVERIFY2(taste->width() >= 80 && taste->height() >= 80,
                     qPrintable(taste->objectName()));
            entwurf.insert(taste, taste->geometry());
        }
        const int schriftEntwurf = aufbau.Taste("A")->font().pixelSize();

        aufbau.tastatur->resize(groesse);

        const qreal faktor = qreal(groesse.width()) / TTouchKeyboard::kEntwurfsgroesse.width();
        const auto nah = [](qreal a, qreal b) { return std::abs(a - b) <= 2; };
        for (QAbstractButton* taste : tasten) {
            const QRect lage = taste->geometry();
            const QRect soll = entwurf.value(taste);
            QVERIFY2(aufbau.tastatur->rect().contains(lage), qPrintable(taste->objectName()));
            QVERIFY2(nah(lage.x(), soll.x() * faktor) && nah(lage.y(), soll.y() * faktor) &&
                         nah(lage.width(), soll.width() * faktor) &&
                         nah(lage.height(), soll.height() * faktor),
                     qPrintable(taste->objectName()));
            for (QAbstractButton* andere : tasten)
                QVERIFY2(andere == taste || !lage.intersects(andere->geometry()),
                         qPrintable(taste->objectName() + " / " + andere->objectName()));
        }
        QVERIFY(nah(aufbau.Taste("A")->font().pixelSize(), schriftEntwurf * faktor));
    }

private:
    QPointingDevice* FFinger = nullptr;
};

QTEST_MAIN(TTastaturTest)
#include "tst_tastatur.moc"
