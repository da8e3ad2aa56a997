// The printed recipe's layout: word-wrapped paragraphs on a line printer.
#pragma once

#include <QString>

namespace gratinel {

class Printer;

// Left margin of every printed line, in twips.
constexpr int kPrintLeftMargin = 500;

// Prints text at 10 points, one line per paragraph (paragraphs separated by carriage
// return + line feed), each line starting leftMargin twips from the printable area's left
// edge and wrapped between words: a word keeps its trailing space, is never split, and
// one wider than the line gets a line of its own. A line that would not fit in the
// printable height starts a new page. Returns false as soon as the printer refuses an
// operation (what was printed stays).
bool PrintWrapped(Printer &printer, int leftMargin, const QString &text);

} // namespace gratinel
