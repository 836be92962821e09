// The busy cursor for the length of a scope, restored however the scope ends.
#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

class TSanduhr
{
public:
    TSanduhr() : FAktiv(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
    {
        if (FAktiv)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TSanduhr()
    {
        if (FAktiv)
            QGuiApplication::restoreOverrideCursor();
    }
    TSanduhr(const TSanduhr&) = delete;
    TSanduhr& operator=(const TSanduhr&) = delete;

private:
    // Programs without a screen have no cursor.
    const bool FAktiv;
};
