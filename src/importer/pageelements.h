// What the elements of a page are to its reader: text to read, parts to leave out, the place
// where a recipe's own text is over, the site's name, a recipe plug-in's lists and title.
#pragma once

#include "importer/headingwords.h"
#include "importer/pagelines.h"

#include <gumbo.h>

#include <initializer_list>

namespace gratinel::importer {

// The value of an attribute, "" when absent.
const char *rawAttr(const GumboNode *n, const char *name);

enum class Visit {
    Read,
    Skip, // scripts, controls, asides, hidden parts, advertising, sidebars
    Stop  // comments, sharing links, author boxes, related pages, navigation, footers
};
Visit visitOf(const GumboNode *n);

// Elements that start a line of their own.
bool isBlockTag(GumboTag tag);

// In a heading, what is not its title: a date, a category, an author.
bool isHeadingAside(const GumboNode *n);

// The site's logo, name or brand, whose headings are no recipe's title.
bool isSiteMark(const GumboNode *n);

// A link to the site's home page.
bool isHomeLink(const GumboNode *n);

// The role of a recipe plug-in's list of ingredients or steps, or None.
HeadingRole pluginListRole(const GumboNode *n);

// A recipe plug-in's title element.
bool isPluginTitleElement(const GumboNode *n);

// What a <meta> or the <title> says of the page: og:title, og:site_name, og:image, og:type.
void readHeadElement(const GumboNode *n, PageLines &page);

} // namespace gratinel::importer
