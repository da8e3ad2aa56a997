// The text form of a book, as the book tool reads and writes it (UTF-8):
//   "@@ name"   starts a family,
//   "## title"  starts a recipe of that family,
//   "!! path"   gives the recipe's image path (at most once per recipe),
//   any other line is a line of the recipe's text. Blank lines at the start and the end of a
//   text are dropped. A text line that starts with a backslash loses that backslash: this is
//   how a text line that would read as one of the lines above, or a blank line at either
//   end of a text, is written.
// What a line cannot carry as it is (a carriage return or line feed of its own, another
// control character) is written in the escaped form of the same line: "@@\ name",
// "##\ title", "!!\ path", and "%%\ text line", in which "\\" is a backslash, "\r" a
// carriage return, "\n" a line feed, "\t" a tab and "\xHH" the book's byte HH, that is its
// Windows-1252 character: "\x89" is "‰", never the character U+0089 (only the five bytes the
// code page leaves undefined, 81, 8D, 8F, 90 and 9D, read as the C1 controls of the same
// value). A character in a line, in either form, is that Unicode character: one the book
// cannot hold (U+0089, an emoji) is a problem of its line, and write keeps it as it is, so
// that it reads back as itself and is refused again.
// Names and titles lose the spaces at either end (and nothing else); an image path loses
// them in the plain form only. An empty escaped heading ("##\ " alone) is a name of spaces
// alone, which a book may hold. So export then create gives back every byte of a book.
#pragma once

#include "store/status.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace gratinel::booksource {

struct Recipe {
    int line = 0; // of its "##" line
    QString title;
    // As stored: lines separated by carriage return + line feed; a lone carriage return or
    // line feed belongs to its line. (A '\n' alone between lines reads as a line end too
    // wherever a text is written with cp1252::encodeText.)
    QString text;
    QString imagePath;
    QString problem; // why it cannot be stored; empty when it can
};

struct Family {
    int line = 0;
    QString name;
    QString problem;
    std::vector<Recipe> recipes;
};

// A problem of a line that belongs to no family or recipe.
struct LineProblem {
    int line = 0;
    QString problem;
};

struct Source {
    std::vector<Family> families;
    std::vector<LineProblem> problems;

    int recipeCount() const;
    // Every problem of the source, in line order, as "ligne N : problem".
    QStringList allProblems() const;
};

// Reads the source text. Names and titles must be non-empty once trimmed (but in an empty
// escaped heading), at most 128
// characters, and every character must have its byte in Windows-1252; a problem is recorded
// on the family, the recipe or the line it belongs to, and reading goes on.
Source parse(const QString &text);
// Reads the file path (UTF-8, with or without a byte order mark).
Status readFile(const QString &path, Source &source);

// The source text of families, so that parse gives back the same names, titles, texts and paths.
QString write(const std::vector<Family> &families);

} // namespace gratinel::booksource
