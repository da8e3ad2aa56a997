// The text of a line being read.
#include "importer/linetext.h"

#include "importer/htmlpage.h"
#include "importer/limits.h"

namespace gratinel::importer {

void LineText::append(const char *utf8, bool bold, bool link)
{
    const QString t = QString::fromUtf8(utf8);
    if (text_.size() < kMaxFieldChars)
        text_ += t;
    int letters = 0;
    for (const QChar c : t)
        letters += c.isLetterOrNumber() ? 1 : 0;
    letters_ += letters;
    bold_ += bold ? letters : 0;
    link_ += link ? letters : 0;
}

void LineText::separate()
{
    if (!text_.isEmpty() && !text_.back().isSpace())
        text_ += u' ';
}

void LineText::markCell()
{
    separate();
    cellStart_ = text_.size();
    cellLetters_ = letters_;
    cellBold_ = bold_;
    cellLink_ = link_;
}

LineText::Line LineText::takeBeforeCell()
{
    Line before{collapseSpaces(text_.left(cellStart_)), cellBold_ == cellLetters_, cellLink_ == cellLetters_};
    text_.remove(0, cellStart_);
    letters_ -= cellLetters_;
    bold_ -= cellBold_;
    link_ -= cellLink_;
    cellStart_ = 0;
    cellLetters_ = cellBold_ = cellLink_ = 0;
    return before;
}

LineText::Line LineText::take(bool raw)
{
    Line line{raw ? text_ : collapseSpaces(text_), letters_ > 0 && bold_ == letters_, letters_ > 0 && link_ == letters_};
    text_.clear();
    letters_ = bold_ = link_ = 0;
    cellStart_ = 0;
    cellLetters_ = cellBold_ = cellLink_ = 0;
    return line;
}

} // namespace gratinel::importer
