// The designed geometry adjusted to the font in use, so that no caption or input is cut.
#pragma once

#include "book/resizerules.h"

namespace gratinel {

// Least size, in twips, a control needs to show its caption or its text line uncut; 0 in
// a field means no demand in that direction.
struct TwipsSize {
    int width = 0;
    int height = 0;
};
using ContentNeeds = std::map<QString, TwipsSize>;

// The gap kept between a caption on the left of a row and the input it names.
constexpr int kCaptionGap = 120;
// The input column of the add, modify and delete pages as designed.
constexpr int kDesignInputLeft = 2040;

// table with every control at least as large as needs asks (never smaller than designed),
// then, on the add, modify and delete pages, the input column moved right as far as the
// widest left-hand caption's needed width plus kCaptionGap requires (the inputs, the image path boxes
// and their browse buttons move together, and the inputs keep their right edges), and
// finally, on every page, each row moved down as far as needed not to overlap what a
// control of a row above it shows (its needed height when it has one, else its height;
// the rows below move with it). With needs that the designed sizes
// already meet, the table comes back unchanged.
LayoutTable fittedLayout(LayoutTable table, const ContentNeeds &needs);

// The least client size of the pages, in twips, at which the resize rules still keep every
// control of a fitted table inside its page or its frame, each right-hand input at least
// kLeastInputWidth wide and each multi-line text box at least kLeastTextHeight high. A
// window that is given less scrolls in its frame instead.
constexpr int kLeastInputWidth = 1200;
constexpr int kLeastTextHeight = 600;
TwipsSize leastClientSize(const LayoutTable &fitted);

// The input column of the add, modify and delete pages in a fitted table.
int inputColumn(const LayoutTable &table);

} // namespace gratinel
