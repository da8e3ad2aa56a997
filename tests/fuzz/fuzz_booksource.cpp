// Fuzz target: the book source text, as the book tool reads it (UTF-8, any bytes). What it
// reads, written back, reads again as the same families, recipes, texts and image paths, and
// the written form is settled: writing it once more gives the same text.
#include "store/booksource.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace gratinel;

namespace {

bool sameBook(const booksource::Source &a, const booksource::Source &b)
{
    if (a.families.size() != b.families.size())
        return false;
    for (size_t i = 0; i < a.families.size(); ++i) {
        const booksource::Family &fa = a.families[i];
        const booksource::Family &fb = b.families[i];
        if (fa.name != fb.name || fa.recipes.size() != fb.recipes.size())
            return false;
        for (size_t j = 0; j < fa.recipes.size(); ++j) {
            const booksource::Recipe &ra = fa.recipes[j];
            const booksource::Recipe &rb = fb.recipes[j];
            if (ra.title != rb.title || ra.text != rb.text || ra.imagePath != rb.imagePath)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const booksource::Source first = booksource::parse(text);
    (void)first.allProblems();

    const QString written = booksource::write(first.families);
    const booksource::Source second = booksource::parse(written);
    if (!sameBook(first, second) || !second.problems.empty())
        std::abort();
    if (booksource::write(second.families) != written)
        std::abort();
    return 0;
}
