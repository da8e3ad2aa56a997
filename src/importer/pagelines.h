// A page as its reader sees it: its lines in reading order (headings, list items, table rows,
// lines of paragraphs), and what its head says of it.
#pragma once

#include "importer/headingwords.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <vector>

struct GumboInternalNode;

namespace gratinel::importer {

struct PageLine {
    enum Kind : std::uint8_t {
        Heading,   // <h1> to <h6>
        Item,      // a list item's text on one line
        Row,       // a table row's cells side by side
        HeaderRow, // a row of column headings (<th> cells, <thead>)
        Text,      // a line of a paragraph, cut at <br>
        Open,      // the start of a recipe plug-in's list of ingredients or steps
        Close,     // its end
        Stop       // where comments, sharing links, an author box, related pages... begin
    };
    Kind kind = Text;
    std::uint8_t level = 0;      // Heading: 1 to 6
    bool bold = false;           // every letter in <b> or <strong> (a row: in <th>)
    bool link = false;           // every letter inside a link
    bool holdsList = false;      // Item: an item's own text before the list it holds
    bool ordered = false;        // Item: in a numbered list
    bool siteName = false;       // Heading: in the site's logo, header or a link to its home page
    HeadingRole role = HeadingRole::None; // Open: the container's role
    int list = 0;                // Item, Row: its list or table
    int container = 0;           // Open, Close: the container's number
    std::size_t scopeEnd = SIZE_MAX; // Heading, short Text: the first line after the element that holds it
    QString text;
};

struct PageLines {
    std::vector<PageLine> lines;
    QString ogTitle;
    QString siteName;   // og:site_name, or application-name
    QString ogImage;
    QString pageTitle;  // <title>
    QString pluginTitle; // a recipe plug-in's title element
    bool product = false; // og:type says a product
    QStringList mealMaster; // texts of <pre> blocks that hold Meal-Master recipes
};

// Reads the page under root (a libgumbo document) in one walk, each node visited once and
// each text read once, at most kMaxPageLines lines: the work is linear in the page's size,
// however deep it nests. Scripts, forms' controls, navigation, asides, hidden parts and
// advertising are not read; comments, sharing, author boxes and related pages give a Stop.
PageLines readPageLines(const GumboInternalNode *root);

} // namespace gratinel::importer
