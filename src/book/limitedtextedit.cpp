// Multi-line text box with a stored-size limit.
#include "book/limitedtextedit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace gratinel {

namespace {

// Bytes one character at i takes once stored; a surrogate pair counts once, on its first half.
int bytesAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
        return i > 0 && text[i - 1] == u'\r' ? 0 : 2;
    if (c == u'\r')
        return 2;
    if (c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())
        return 0;
    return 1;
}

} // namespace

LimitedTextEdit::LimitedTextEdit(QWidget *parent) : ExactTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChange, this, &LimitedTextEdit::contentsChanged);
}

void LimitedTextEdit::setMaxStoredBytes(int bytes)
{
    limit_ = bytes;
    // A smaller limit set by the program (never by typing) keeps the longest beginning.
    const QString text = exactText(this);
    if (storedBytes(text) <= limit_)
        return;
    int total = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const int cost = bytesAt(text, end);
        if (total + cost > limit_)
            break;
        total += cost;
        end += text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    }
    cutting_ = true;
    QTextCursor tail(document());
    tail.setPosition(int(end));
    tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    tail.removeSelectedText();
    cutting_ = false;
}

void LimitedTextEdit::setStoredText(const QString &text)
{
    cutting_ = true;
    setPlainText(text);
    cutting_ = false;
}

int LimitedTextEdit::storedBytes(QStringView text)
{
    int total = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        total += bytesAt(text, i);
    return total;
}

void LimitedTextEdit::contentsChanged(int position, int, int added)
{
    if (cutting_ || added <= 0)
        return;
    if (storedBytes(exactText(this)) > limit_)
        cutToLimit(position, added);
}

void LimitedTextEdit::cutToLimit(int position, int added)
{
    const QString text = exactText(this);
    // The document counts one more position than its plain text (the final paragraph end).
    const qsizetype from = qBound(qsizetype(0), qsizetype(position), text.size());
    const qsizetype to = qBound(from, qsizetype(position) + added, text.size());

    // What was there before stays whole, even when it already takes more than the limit (a
    // stored text with lone line feeds): only the new part is cut, to its longest beginning
    // that fits in the bytes left, which may be none of it.
    const int outside = storedBytes(QStringView(text).left(from)) + storedBytes(QStringView(text).mid(to));
    int budget = limit_ - outside;
    qsizetype keep = from;
    while (keep < to) {
        const int cost = bytesAt(text, keep);
        const bool pairStart = text[keep].isHighSurrogate() && keep + 1 < to;
        if (cost > budget)
            break;
        budget -= cost;
        keep += pairStart ? 2 : 1;
    }
    if (keep == to)
        return;

    cutting_ = true;
    QTextCursor cursor(document());
    cursor.setPosition(int(keep));
    cursor.setPosition(int(to), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cutting_ = false;
    setTextCursor(cursor);
    emit inputRefused();
}

} // namespace gratinel
