// Demo company generator: fills an empty station database with departments, employees,
// portraits and a measurement history.
#include "Aufruf.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[])
{
    QCoreApplication anwendung(argc, argv);
    QCoreApplication::setApplicationName(u"teststation-demofirma"_s);
    QFile eingabe;
    if (!eingabe.open(stdin, QIODevice::ReadOnly))
        return Demofirma::kFehlgeschlagen;
    QTextStream aus(stdout);
    QTextStream fehler(stderr);
    return Demofirma::Aufruf(QCoreApplication::arguments(), eingabe, aus, fehler);
}
