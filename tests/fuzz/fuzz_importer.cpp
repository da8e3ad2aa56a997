// Fuzz target: any bytes as a page, a JSON-LD script or a JSON file through the importer's entry
// point. Every recipe that comes out fits the book: a title of at most 128 characters and a
// text of at most 30000 stored bytes, both in Windows-1252.
#include "importer/importer.h"
#include "importer/limits.h"
#include "store/cp1252.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace gratinel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte says how the rest is handed over: as it is, inside a JSON-LD script of a
    // page, or as a microdata fragment.
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    QByteArray content;
    switch (data[0] % 3) {
    case 0: content = rest; break;
    case 1: content = "<html><head><script type=\"application/ld+json\">" + rest + "</script></head></html>"; break;
    default: content = "<html><body><div itemscope itemtype=\"http://schema.org/Recipe\">" + rest + "</div></body></html>"; break;
    }
    const importer::ParseResult result = importer::parseSource(content, QStringLiteral("https://exemple.fr/r"));
    if (int(result.recipes.size()) > importer::kMaxRecipes || result.recipesFound < int(result.recipes.size()))
        std::abort();
    for (const importer::Recipe &r : result.recipes) {
        if (r.title.isEmpty() || r.title.size() > importer::kMaxTitleChars || !cp1252::canEncode(r.title))
            std::abort();
        if (!cp1252::canEncode(r.text) || cp1252::encodeText(r.text).size() > importer::kMaxTextBytes)
            std::abort();
    }
    return 0;
}
