// The integrity value that binds the three enciphered credentials of the settings file to a
// salt known only to the program.
#pragma once

#include <QString>

// 32 upper-case hexadecimal digits over user, password and host exactly as the file holds
// them (the enciphered texts), followed by the deciphered salt, in Windows-1252.
QString Integritaetswert(const QString& geheimUser, const QString& geheimPasswort,
                         const QString& geheimHostname);
