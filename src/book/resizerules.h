// The recipe book's geometry as numbers: the designed places of its controls, and the
// stretching that follows every resize. No widget here, only twips.
#pragma once

#include <QString>

#include <map>

namespace gratinel {

// A control's place in twips, relative to the frame that holds it. For a separator line,
// left and top are its start point (X1, Y) and width is X2 - X1, which may be negative.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const TwipsRect &) const = default;
};

// Controls by their names ("ComboFamilles", "Frame1(2)", "Line1(0)", ...).
using LayoutTable = std::map<QString, TwipsRect>;

// What a resize reads: the window's inner size, and the area inside the tabs of the tab
// strip once that has taken the inner size (in the tab strip's coordinates), in twips.
struct LayoutInput {
    int innerWidth = 0;
    int innerHeight = 0;
    TwipsRect client;
};

// Designed inner area of the window.
constexpr int kDesignWidth = 8145;
constexpr int kDesignHeight = 4965;

// Every control of the four pages where the window creates it, with the tab strip at
// (0, 0) and the page frames anywhere (the first resize places them).
LayoutTable designedLayout();

// The table after one resize: the tab strip takes the inner size, the four page frames
// the client area, and the wide and tall controls of every page are stretched to the
// page's right and bottom margins of 120 in a fixed order, each computed from the values
// already in the table. A width or height that comes out negative is not applied (the
// control keeps its previous one); positions are applied whatever their sign. Controls
// missing from the table are left out; nothing else changes.
LayoutTable resizedLayout(LayoutTable table, const LayoutInput &in);

} // namespace gratinel
