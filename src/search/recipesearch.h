// The scan of the recipe file for a word: titles first, then texts, one stop per recipe.
#pragma once

#include "search/termfinder.h"
#include "search/textblocks.h"
#include "store/records.h"
#include "store/status.h"

#include <QByteArray>
#include <QString>

namespace gratinel {

class Module1;

class RecipeSearch {
public:
    // Bytes of the text file read at once while texts are tested.
    static constexpr qint64 kTextBlockBytes = qint64(1) << 20;
    // Recipe records read at once.
    static constexpr int kRecordBlock = 2048;
    // At most this much of a found recipe's text is handed out for showing, whatever
    // length a damaged record claims: a text box laying out megabytes would freeze.
    static constexpr qint64 kMaxShownBytes = 65536;

    enum class Match { None, Title, Text };

    explicit RecipeSearch(Module1 &m, qint64 textBlockBytes = kTextBlockBytes);

    // A new search for word (already trimmed): nothing found yet, nothing seen, and the
    // scan placed on the header record. A word with a character the book's code page
    // cannot hold can be in no stored text: such a search finds nothing.
    void start(const QString &word);

    // Scans the records after searchRecordNo until one in-use recipe matches, by its
    // title or else by its text, or until the scan ends: at the last whole record of
    // the file, or once searchSeen reaches the recipe count held in memory. On a match,
    // searchRecipe holds the record and searchRecordNo its number. A failed read is
    // returned; a record pointing outside the text file is tested on what is there.
    Status scanOn(Match &match);

    // Whether a continued scan has records left to examine.
    Status canContinue(bool &more) const;

    // The text of searchRecipe as stored: at most kMaxShownBytes, cut at the file's end,
    // empty when the recipe has none.
    Status recipeText(QByteArray &bytes);

    // 1-based position of the first occurrence of the word in text, 0 when there is none.
    qint64 FindTerm(const QByteArray &text) const;

    // Search state, alive as long as the search.
    QString searchTerm;
    qint32 searchRecordNo = 1;
    qint32 searchSeen = 0;
    qint16 searchFound = 0;
    RecipeRecord searchRecipe;

    const TextBlocks &textBlocks() const { return texts_; }

private:
    Status lastRecord(qint32 &last) const;
    Status textMatches(qint64 start, qint64 end, bool &found);

    Module1 &m_;
    TermFinder finder_;
    bool matchable_ = false;
    TextBlocks texts_;
    QByteArray records_;
};

} // namespace gratinel
