// Read-only INI file with the Windows profile-file rules, so files written for the Windows
// stations read the same here.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

class TIniDatei
{
public:
    // Longest value returned; longer values are cut, as the Windows profile API cuts them.
    static constexpr qsizetype kMaxWertLaenge = 2047;

    // Reads the file at once; a missing or unreadable file behaves as an empty one.
    explicit TIniDatei(const QString& pfad);
    static TIniDatei AusBytes(const QByteArray& inhalt);

    // The value of the first matching key in the first matching section (names compared
    // without letter case), trimmed, one surrounding pair of quotes dropped, at most
    // kMaxWertLaenge characters; the default when section or key is missing.
    QString ReadString(const QString& abschnitt, const QString& schluessel,
                       const QString& vorgabe) const;

private:
    TIniDatei() = default;
    void Zerlege(const QString& text);

    struct TEintrag
    {
        QString schluessel;
        QString wert;
    };
    struct TAbschnitt
    {
        QString name;
        std::vector<TEintrag> eintraege;
    };
    std::vector<TAbschnitt> FAbschnitte;
};

// The file's text: UTF-8 (a byte-order mark is dropped), UTF-16 with its byte-order mark, and
// Windows-1252 where the bytes are not valid UTF-8 (files saved by Windows editors).
QString DekodiereIniText(const QByteArray& inhalt);
