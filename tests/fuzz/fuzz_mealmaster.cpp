// Fuzz target: any bytes as the body of a Meal-Master file, after a header line or as they are.
// Every recipe that comes out fits the book.
#include "importer/importer.h"
#include "importer/limits.h"
#include "store/cp1252.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace gratinel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &content : {QByteArray("MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n") + bytes, bytes}) {
        const importer::ParseResult result = importer::parseSource(content, QStringLiteral("f.mmf"));
        if (int(result.recipes.size()) > importer::kMaxRecipes)
            std::abort();
        for (const importer::Recipe &r : result.recipes) {
            if (r.title.isEmpty() || r.title.size() > importer::kMaxTitleChars || !cp1252::canEncode(r.title))
                std::abort();
            if (!cp1252::canEncode(r.text) || cp1252::encodeText(r.text).size() > importer::kMaxTextBytes)
                std::abort();
        }
    }
    return 0;
}
