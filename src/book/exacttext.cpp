// Exact text of multi-line boxes.
#include "book/exacttext.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace gratinel {

namespace {

// The document separates its lines with the paragraph separator (and a line separator for
// a soft line break); the program's texts use '\n'.
QString withLineFeeds(QString text)
{
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

} // namespace

QString exactText(const QPlainTextEdit *box)
{
    return withLineFeeds(box->document()->toRawText());
}

QString exactSelection(const QTextCursor &cursor)
{
    return withLineFeeds(cursor.selectedText());
}

QMimeData *ExactTextEdit::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(exactSelection(textCursor()));
    return data;
}

} // namespace gratinel
