// Names of the characters that messages quote.
#include "store/charactername.h"

#include <QChar>

namespace gratinel {

bool isInvisibleCharacter(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
        return true;
    case QChar::Separator_Space:
        return c != U' ';
    default:
        // Letters of no shape: the Hangul fillers and the blank Braille pattern.
        return c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0 || c == 0x2800;
    }
}

QString characterCode(char32_t c)
{
    return QStringLiteral("U+") + QStringLiteral("%1").arg(uint(c), 4, 16, QChar(u'0')).toUpper();
}

QString characterName(char32_t c)
{
    return isInvisibleCharacter(c) ? characterCode(c) : QString::fromUcs4(&c, 1);
}

QString visibleText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        if (isInvisibleCharacter(c))
            out += u'<' + characterName(c) + u'>';
        else
            out += text.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
    }
    return out;
}

} // namespace gratinel
