// The bound put on a page before the HTML parser reads it: how deep it nests, how much work it makes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace gratinel::importer {

struct MarkupCost {
    int depth = 0;   // deepest stack of open elements the parser can reach, reopened formatting included
    qint64 work = 0; // steps the parser's stack and list walks can take, as counted by the scan
    bool stopped = false; // the scan stopped early: work passed the limit it was given
    bool misread = false; // the page holds markup that libgumbo 0.10 aborts on
};

// Reads html's tags as an HTML5 tree builder would (raw text, comments, implied ends, table
// cells, formatting elements that are reopened, scope), keeping a stack that is never shallower
// than the parser's. Each tag is charged the walks the parser makes over its stack and its list
// of formatting elements, and the attribute comparisons it makes. Linear in html's size: it
// stops as soon as the work passes workLimit.
MarkupCost scanMarkup(const QByteArray &html, qint64 workLimit);

// Why html would take the parser too deep or too long (past kMaxHtmlNesting, or past
// kHtmlWorkPerByte steps a byte), in French; empty when it may be parsed.
QString markupProblem(const QByteArray &html);

} // namespace gratinel::importer
