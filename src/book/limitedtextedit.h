// A multi-line text box whose text never grows past a number of bytes as the book stores it.
#pragma once

#include "book/exacttext.h"
#include <QStringView>

namespace gratinel {

class LimitedTextEdit : public ExactTextEdit {
    Q_OBJECT
public:
    // The longest recipe text the book stores and shows.
    static constexpr int kDefaultLimit = 30000;

    explicit LimitedTextEdit(QWidget *parent = nullptr);

    // Bytes the text may take once stored; typing, pasting or setting a longer text keeps
    // what fits and drops the rest of what came in, never what the box already held.
    int maxStoredBytes() const { return limit_; }
    void setMaxStoredBytes(int bytes);

    // Shows a text as the book holds it, never cut here: its lone line feeds count two in
    // the box's reckoning, but not on disk. What the cook adds to it is still held to the limit.
    void setStoredText(const QString &text);

    // Bytes text takes once stored: a line end counts two (carriage return and line feed),
    // every other character one, a character outside Windows-1252 too (as the '?' it becomes).
    static int storedBytes(QStringView text);

signals:
    // Some of what was typed or pasted did not fit and was left out.
    void inputRefused();

private:
    void contentsChanged(int position, int removed, int added);
    void cutToLimit(int position, int added);

    int limit_ = kDefaultLimit;
    bool cutting_ = false;
};

} // namespace gratinel
