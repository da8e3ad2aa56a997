// French alphabetical order, letter case ignored, for the book's sorted lists.
#pragma once

#include <QCollator>
#include <QString>

namespace gratinel {

class FrenchOrder {
public:
    FrenchOrder();
    // Negative, zero or positive as a sorts before, with or after b.
    int compare(const QString &a, const QString &b) const { return collator_.compare(a, b); }
    QCollatorSortKey sortKey(const QString &text) const { return collator_.sortKey(text); }

private:
    QCollator collator_;
};

} // namespace gratinel
