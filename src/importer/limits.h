// The hard limits of the importer: every source is untrusted input.
#pragma once

#include "store/bookimport.h"
#include "store/records.h"

#include <QtGlobal>

namespace gratinel::importer {

// A page, a file or a photo read, in bytes.
constexpr qint64 kMaxSourceBytes = 10 * 1024 * 1024;
// Recipes taken from one source; the rest are counted, not read.
constexpr int kMaxRecipes = 2000;
// JSON-LD scripts read in one page.
constexpr int kMaxScripts = 100;
// A fetch of a page or a photo: the whole exchange, and the redirections followed.
constexpr int kFetchTimeoutMs = 20000;
constexpr int kMaxRedirects = 5;
// Nesting of JSON objects and arrays, and of HTML elements, that the walks follow.
constexpr int kMaxDepth = 64;
// Deepest stack of open elements a page may make the HTML parser hold (formatting elements it
// may reopen included), and the steps its stack and list walks may take: a page past either is
// refused before it is parsed, so that the parse stays linear in the page's size.
constexpr int kMaxHtmlNesting = 1024;
constexpr qint64 kHtmlWorkPerByte = 16;
constexpr qint64 kHtmlWorkBase = 4'000'000;
// Distinct element names the scan tells apart; the names past them share one entry.
constexpr int kMaxElementNames = 20000;
// Ingredients and steps taken from one recipe.
constexpr int kMaxLines = 1000;
// Characters of one text field kept before layout.
constexpr int kMaxFieldChars = 30000;
// Photos fetched for the recipes of one source (a link's page), and their bytes together.
constexpr int kMaxPhotosPerSource = 20;
constexpr qint64 kMaxPhotoBytesPerSource = 50 * 1024 * 1024;
// The book's limits, as the store defines them: a title's characters, a text's stored bytes
// (line ends as two).
constexpr int kMaxTitleChars = kFixedTextSize;
constexpr int kMaxTextBytes = bookimport::kMaxTextBytes;

} // namespace gratinel::importer
