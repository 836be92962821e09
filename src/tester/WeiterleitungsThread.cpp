// Starting, nudging and ending the forwarder's thread.
#include "WeiterleitungsThread.h"

using namespace Qt::Literals::StringLiterals;

TWeiterleitungsThread::TWeiterleitungsThread(TJournal& journal,
                                             TWeiterleitung::TEinrichten einrichten,
                                             QObject* parent)
    : QObject(parent), FWeiterleitung(new TWeiterleitung(journal, std::move(einrichten)))
{
    FThread.setObjectName(u"Weiterleitung"_s);
    FWeiterleitung->moveToThread(&FThread);
    connect(&FThread, &QThread::finished, FWeiterleitung, &QObject::deleteLater);
    connect(FWeiterleitung, &TWeiterleitung::Wartend, this, &TWeiterleitungsThread::Wartend);
    FThread.start();
    Anstossen();
}

TWeiterleitungsThread::~TWeiterleitungsThread()
{
    FThread.quit();
    FThread.wait();
}

void TWeiterleitungsThread::Anstossen()
{
    TWeiterleitung* weiterleitung = FWeiterleitung;
    QMetaObject::invokeMethod(
        weiterleitung, [weiterleitung] { weiterleitung->Anstossen(); }, Qt::QueuedConnection);
}
