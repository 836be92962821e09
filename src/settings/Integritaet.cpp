// The salt lives in the program only enciphered and is deciphered for each check.
#include "Integritaet.h"

#include "Entschluesseln.h"
#include "ToolHashMD5.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// 19 UTF-8 bytes; settings files prepared anywhere must use the same salt.
const QString kGeheimesSalz = u"F2F2AF0A7B6807974E841E8E2008DA52CBA0C6"_s;

} // namespace

QString Integritaetswert(const QString& geheimUser, const QString& geheimPasswort,
                         const QString& geheimHostname)
{
    return MD5HexVonText(geheimUser + geheimPasswort + geheimHostname +
                         Entschluesseln(kGeheimesSalz, kStartSchluessel));
}
