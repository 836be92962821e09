// The station's windows shown on a test server's database, as the end-to-end tests start them.
#pragma once

#include "EinstellungsDatei.h"
#include "TestServer.h"
#include "uFDM.h"
#include "uFMain.h"

#include <QCoreApplication>
#include <QLabel>

#include <memory>

// Text of the station's connection overlay for a tester that cannot be reached.
inline const QString kVerbindungText1 =
    QStringLiteral("Die Verbindung zum Testgerät konnte nicht hergestellt werden.");

// Writes the settings file with these connection values and tester device and shows the board,
// connected and with its menu loaded. Keep the file while the station runs.
inline std::unique_ptr<TEinstellungsDatei> ZeigeStation(TKlarEinstellungen werte,
                                                        const QString& geraet,
                                                        const QString& com = QStringLiteral("6"))
{
    werte.Mandant = QStringLiteral("Muster GmbH");
    werte.COM = com;
    werte.Geraet = geraet;
    auto datei = std::make_unique<TEinstellungsDatei>();
    datei->Schreibe(werte);
    FDM->SetzeEinstellungsVerzeichnis(datei->Verzeichnis());
    FMain->ZeigeVollbild();
    QCoreApplication::processEvents();
    return datei;
}

// The same on a test server's database.
inline std::unique_ptr<TEinstellungsDatei> ZeigeStation(const TTestServer& server,
                                                        const QString& datenbank,
                                                        const QString& geraet,
                                                        const QString& com = QStringLiteral("6"))
{
    return ZeigeStation(server.StationsWerte(datenbank), geraet, com);
}

// The text of a window's label by its object name.
inline QString Label(const QWidget* fenster, const char* name)
{
    return fenster->findChild<QLabel*>(QString::fromLatin1(name))->text();
}
