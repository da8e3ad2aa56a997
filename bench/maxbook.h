// Books at the store's limits, for the benchmarks: written straight into a folder in seconds.
//
// writeMaxBook(dir) makes the largest book the headers allow: 32767 recipes in use over
// 1000 families in use, one family (record bigFamilyRecord) holding 5000 of them, the
// others 27 or 28 each. The recipes of every family are spread over the whole recipe
// file, in no order, so that a family's scan reads every record and its titles need a
// real sort. Texts are French (accents, œ, «», °, curly apostrophes), in Windows-1252
// with CRLF line ends, of lengths spread evenly around textBytes (1500 by default).
// No recipe has an image, so that showing one never writes to the book.
//
// writeHugeBook(dir) makes the same book with every text exactly textBytes long (30000 by
// default: texts of about 1 GB in all).
//
// Both write the four files GRTN1.DAT to GRTN4.DAT (replacing them) through the store's
// record layouts and text encoding, in large sequential writes, holding little memory
// whatever the size of the texts. Every title and text comes from one fixed French
// vocabulary in which kAbsentWord never appears (in any letter case), so a search for it
// scans the whole book and finds nothing. The same shape always gives the same bytes.
//
// makeStarterBook(dir) makes the book supplied with the program (data/livre.txt) with the
// project's book tool, as a user's first start would find it.
#pragma once

#include "store/status.h"

#include <QString>
#include <QtGlobal>

namespace gratinel::bench {

// A word in no title and no text of a book made here.
inline constexpr char kAbsentWord[] = "kumquat";

struct MaxBookShape {
    int recipes = 32767;
    int families = 1000;
    // Recipes of the one big family; the others share the rest evenly.
    int bigFamilyRecipes = 5000;
    // Average stored length of a text, CRLF counted as 2 bytes.
    int textBytes = 1500;
    // Texts range over textBytes +- textSpread bytes (0: every text exactly textBytes).
    int textSpread = 1000;
};

struct MaxBookInfo {
    qint32 bigFamilyRecord = 0; // record number of the big family in GRTN1.DAT
    QString bigFamilyName;      // its name as the lists show it
    qint64 textFileBytes = 0;   // size of GRTN3.DAT
};

Status writeMaxBook(const QString &dir, const MaxBookShape &shape = {}, MaxBookInfo *info = nullptr);
Status writeHugeBook(const QString &dir, int textBytes = 30000, MaxBookInfo *info = nullptr);

// Runs the book tool's create over the starter source. False, with the reason in error, on failure.
bool makeStarterBook(const QString &dir, QString *error = nullptr);

} // namespace gratinel::bench
