// The measurement screen: one employee's test at the ESD tester.
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

class TFMessung : public QWidget
{
    Q_OBJECT

public:
    explicit TFMessung(QWidget* parent = nullptr);

    // The board behind this screen: its reload after a measurement and its inactivity timer.
    struct TTafel
    {
        std::function<void(const QString& AAbteilung)> Lade_MA_Abteilung;
        std::function<void()> Timer2Starten;
    };
    void SetzeTafel(TTafel tafel) { FTafel = std::move(tafel); }

    // Opens the screen for the employee with that key.
    void Start(int Mitarbeiter_ID);
    int Mitarbeiter_ID() const { return FMitarbeiter_ID; }

    // End-of-cycle countdown; runs from creation, so its first tick closes the hidden screen.
    QTimer Timer1;
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormClose();

    TTafel FTafel;
    int FMitarbeiter_ID = 0;
};

// Program-wide reference, set while the window set exists.
extern TFMessung* FMessung;
