// A recipe's text broken into printed lines as a French book sets them: ragged right, each
// typed line a paragraph, breaks only where French typography allows one.
#pragma once

#include <QString>

#include <vector>

namespace gratinel {

class CharWidths;

struct FlowLine {
    QString text;      // the characters drawn, as typed (a tab drawn as four spaces)
    qreal indent = 0;  // from the column's left edge, in points
    int paragraph = 0; // which typed line of the text it comes from
    bool first = false; // the paragraph's first line
    bool last = false;  // the paragraph's last line
    bool blank() const { return text.isEmpty(); }
};

// Appends the lines of text (typed lines separated by '\n' or a lone '\r') to lines, none
// wider than width points. A space is no break before « : ; ! ? » » and %, after « « »,
// between a number and its unit (200 g, 180 °C), or after a list's mark at a line's start,
// whose following lines then hang under the first word. A word wider than the column
// is cut where it fits, after a hyphen or a slash when it has one. Control characters are
// not drawn; spaces at a break are dropped, others kept as typed.
void flowText(const QString &text, qreal width, CharWidths &widths, std::vector<FlowLine> &lines);

// The same for a single-paragraph text (a title, a family's name): its lines' texts.
QStringList flowTitle(const QString &text, qreal width, CharWidths &widths);

} // namespace gratinel
