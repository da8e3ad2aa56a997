// What a booklet prints and how: the families, photos, paper size, two-sided printing.
#pragma once

#include <QDate>
#include <QtGlobal>

#include <vector>

namespace gratinel {

struct BookletOptions {
    // Record numbers of the families to print; empty for the whole book (every family that
    // has recipes).
    std::vector<qint32> families;
    bool photos = true;
    bool a5 = false;      // A4 otherwise
    bool twoSided = false; // chapters and the index then start on a right-hand page
    QDate date;           // the edition's date on the cover
};

} // namespace gratinel
