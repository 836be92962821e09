// Upper-casing restricted to ASCII.
#include "AsciiGross.h"

QString AsciiGross(const QString& text)
{
    QString ergebnis = text;
    for (QChar& z : ergebnis) {
        if (z >= u'a' && z <= u'z')
            z = QChar(z.unicode() - (u'a' - u'A'));
    }
    return ergebnis;
}
