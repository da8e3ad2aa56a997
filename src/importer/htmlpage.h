// What the importer reads in an HTML page, through an HTML5 parser (libgumbo).
#pragma once

#include "importer/shownrecipe.h"

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <QStringList>

namespace gratinel::importer {

struct Page {
    QStringList jsonLd;     // texts of the <script type="application/ld+json"> elements
    QJsonArray microdata;   // the schema.org Recipe items of the page, as JSON-LD objects
    QString canonical;      // <link rel="canonical"> or og:url, when the page has one
    QString problem;        // why the page was not read, or empty
    ShownPage shown;        // the recipes the page shows under its headings, when asked for
};

// Reads the page (UTF-8), with what it shows under its headings when withShown. A page that
// markupProblem refuses is not parsed: problem says why. The parse uses no call stack deeper
// than a few frames, however deep the page, and keeps no parse errors. The walks of the page's
// tree share one budget of kWalkVisitsPerByte steps a byte: a page whose scripts and items
// spend it is refused; what it shows under its headings is left out when what is left does not
// suffice (the page is refused when it has neither scripts nor items).
Page readPage(const QByteArray &utf8, bool withShown = false);

// One step of a walk of the tree being read (readPage's, or a fragment's): false once the walks
// of that tree have spent their budget, and from then on.
bool walkStep();

// Runs of ordinary white space (space, tab, line ends) as one space, none at either end; the
// no-break space is a character of the text and stays.
QString collapseSpaces(const QString &text);

// The text under a node of a libgumbo tree, as plainText gives it.
QString textOfNode(const GumboInternalNode *node);

// The plain text of an HTML fragment: character references decoded, tags removed, a line
// break for <br> and at the end of blocks (p, div, li, headings), spaces of each line
// collapsed. Text without '<' or '&' comes back as it is.
QString plainText(const QString &html);

} // namespace gratinel::importer
