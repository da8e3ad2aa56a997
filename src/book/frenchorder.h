// French alphabetical order, letter case ignored, for the book's sorted lists.
#pragma once

#include <QCollator>
#include <QString>

#include <string>
#include <vector>

namespace gratinel {

class FrenchOrder {
public:
    FrenchOrder();
    // Negative, zero or positive as a sorts before, with or after b.
    int compare(const QString &a, const QString &b) const { return collator_.compare(a, b); }
    QCollatorSortKey sortKey(const QString &text) const { return collator_.sortKey(text); }

    // Appends to keys the sort key of text as a run of bytes: two texts' runs, compared
    // byte by byte as unsigned (a run that is a prefix of the other first, as
    // std::string_view does), are in the order of compare(). Built from a table of the collation weights of the characters
    // of Windows-1252, which every stored name and title is made of, so a key costs a few
    // table lookups per character. False, with keys as it was, when text holds another
    // character or the collation could not be tabled (then sortKey() is the way).
    bool appendWeights(const QString &text, std::string &keys) const;

    // The positions 0..n-1 of texts in this order, texts that compare equal in the order
    // they come; equalNext[i], when asked, tells whether the text at position i of the
    // result compares equal to the one after it.
    std::vector<size_t> sorted(const std::vector<QString> &texts, std::vector<bool> *equalNext = nullptr) const;

private:
    QCollator collator_;
};

} // namespace gratinel
