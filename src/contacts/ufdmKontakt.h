// Data module of the contact records; holds the contact queries over the one connection.
#pragma once

#include <QObject>

class TfdmKontakt : public QObject
{
    Q_OBJECT

public:
    explicit TfdmKontakt(QObject* parent = nullptr);
};

// Program-wide reference, set while the window set exists.
extern TfdmKontakt* fdmKontakt;
