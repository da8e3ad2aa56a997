// The hard limits of the importer: every source is untrusted input.
#pragma once

#include "store/bookimport.h"
#include "store/records.h"

#include <QString>
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
// Steps our walks of one page's tree may take together, per byte of the page and at least:
// past them the page is refused (nested items and headings would make each level walk its
// whole subtree again).
constexpr qint64 kWalkVisitsPerByte = 2;
constexpr qint64 kWalkVisitsBase = 200'000;
// Words of one itemprop attribute, and properties of one microdata item, that are read.
constexpr int kMaxItemWords = 16;
constexpr int kMaxItemKeys = 128;
// Characters of one line of a Meal-Master text kept before it is read.
constexpr int kMaxLineChars = 4096;
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
// Photos fetched for the recipes of one source (a link's page), their bytes together (those
// of failed fetches included), and the time all of them may take.
constexpr int kMaxPhotosPerSource = 20;
constexpr qint64 kMaxPhotoBytesPerSource = 50 * 1024 * 1024;
constexpr int kPhotoTimePerSourceMs = 60000;
// A fetch keeps at most this much unread in Qt's buffers: an aborted fetch stops reading at once.
constexpr qint64 kFetchBufferBytes = 256 * 1024;
// The reader process that reads every source's bytes: its address space, and for each source
// a wall deadline and a processor time that grow with the source's size. Past any of them it
// is killed and the source refused.
constexpr qint64 kReaderAddressSpace = 1024LL * 1024 * 1024;
constexpr int kReaderDeadlineBaseMs = 2000;
constexpr int kReaderDeadlineMsPerMb = 300;
constexpr int kReaderCpuBaseMs = 1000;
constexpr int kReaderCpuMsPerMb = 200;
// What a source that passed one of these limits is refused with.
inline QString tooHeavy()
{
    return QStringLiteral("page trop lourde ou trop complexe pour être lue");
}
// The largest answer the reader may give (every recipe of a source, its texts in UTF-8).
constexpr qint64 kMaxReaderAnswerBytes = 128 * 1024 * 1024;
// The book's limits, as the store defines them: a title's characters, a text's stored bytes
// (line ends as two).
constexpr int kMaxTitleChars = kFixedTextSize;
constexpr int kMaxTextBytes = bookimport::kMaxTextBytes;

} // namespace gratinel::importer
