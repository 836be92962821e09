// Parameter scan of statement texts, following the server's rules for quotes and comments.
#include "SqlVorlage.h"

namespace {

bool IstNamenszeichen(QChar z)
{
    return z.isLetterOrNumber() || z == u'_';
}

// Index just past a quoted part that starts at von (the quote character itself).
qsizetype EndeDerQuote(const QString& text, qsizetype von)
{
    const QChar quote = text[von];
    qsizetype i = von + 1;
    while (i < text.size()) {
        const QChar z = text[i];
        if (z == u'\\' && quote != u'`') {
            i += 2;
        } else if (z == quote) {
            // A doubled quote stands for the character itself.
            if (i + 1 < text.size() && text[i + 1] == quote)
                i += 2;
            else
                return i + 1;
        } else {
            ++i;
        }
    }
    return text.size();
}

qsizetype EndeDerZeile(const QString& text, qsizetype von)
{
    const qsizetype ende = text.indexOf(u'\n', von);
    return ende < 0 ? text.size() : ende + 1;
}

} // namespace

TSqlVorlage::TSqlVorlage(const QString& text)
{
    qsizetype stueckBeginn = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar z = text[i];
        const QChar naechstes = i + 1 < text.size() ? text[i + 1] : QChar();
        if (z == u'\'' || z == u'"' || z == u'`') {
            i = EndeDerQuote(text, i);
        } else if (z == u'#' || (z == u'-' && naechstes == u'-' &&
                                 (i + 2 >= text.size() || text[i + 2].isSpace()))) {
            i = EndeDerZeile(text, i);
        } else if (z == u'/' && naechstes == u'*') {
            const qsizetype ende = text.indexOf(u"*/", i + 2);
            i = ende < 0 ? text.size() : ende + 2;
        } else if (z == u':' && !naechstes.isNull() && IstNamenszeichen(naechstes)) {
            qsizetype ende = i + 1;
            while (ende < text.size() && IstNamenszeichen(text[ende]))
                ++ende;
            TextAnhaengen(text, stueckBeginn, i);
            const QString name = text.mid(i + 1, ende - i - 1);
            qsizetype nummer = 0;
            while (nummer < FNamen.size() && FNamen[nummer].compare(name, Qt::CaseInsensitive) != 0)
                ++nummer;
            if (nummer == FNamen.size())
                FNamen.append(name);
            FTeile.push_back({QString(), static_cast<int>(nummer)});
            i = stueckBeginn = ende;
        } else {
            ++i;
        }
    }
    TextAnhaengen(text, stueckBeginn, text.size());
}

void TSqlVorlage::TextAnhaengen(const QString& text, qsizetype von, qsizetype bis)
{
    if (bis <= von)
        return;
    if (!FTeile.empty() && FTeile.back().Parameter < 0)
        FTeile.back().Text += QStringView(text).sliced(von, bis - von);
    else
        FTeile.push_back({text.mid(von, bis - von), -1});
}
