// The text of the line a page's reader is gathering, and how much of it is in bold or in links.
#pragma once

#include <QString>

namespace gratinel::importer {

class LineText {
public:
    struct Line {
        QString text;      // spaces collapsed, or as written for preformatted text
        bool bold = false; // every letter in bold
        bool link = false; // every letter in a link
    };

    void append(const char *utf8, bool bold, bool link);
    void append(QChar c) { text_ += c; }
    // A space between two words, unless the text ends with one.
    void separate();
    bool hasLetters() const { return letters_ > 0; }

    // The start of a table cell: the text before it may be taken apart (takeBeforeCell).
    void markCell();
    // The text of the cells before the current one, taken out; the current cell's stays.
    Line takeBeforeCell();
    bool hasTextBeforeCell() const { return cellLetters_ > 0 && cellStart_ <= text_.size(); }

    // The whole text, taken out: spaces collapsed, or raw (line ends kept).
    Line take(bool raw = false);

private:
    QString text_;
    int letters_ = 0, bold_ = 0, link_ = 0;
    qsizetype cellStart_ = 0;
    int cellLetters_ = 0, cellBold_ = 0, cellLink_ = 0;
};

} // namespace gratinel::importer
