// Fuzz target: the book source text, as the book tool reads it (UTF-8, any bytes). Every
// family or recipe the book could not hold as it is carries a problem, and writing the source
// keeps each character the book cannot hold as itself (never as a byte that reads as another
// character) and no line that belongs nowhere. A source without any problem, the one create
// accepts, written back reads again as the same families, recipes, texts and image paths,
// without a problem either, and the written form is settled: writing it once more gives the
// same text.
#include "store/booksource.h"
#include "store/cp1252.h"
#include "store/records.h"

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

// A name the book can hold (an empty one too: a name of spaces alone, read back trimmed).
bool storableName(const QString &name)
{
    return name.size() <= kFixedTextSize && cp1252::canEncode(name);
}

// Every family and recipe the book cannot hold is reported; the number of those that hold a
// character outside the code page is counted in outside.
bool problemsReported(const booksource::Source &s, int &outside)
{
    outside = 0;
    for (const booksource::Family &f : s.families) {
        outside += cp1252::canEncode(f.name) ? 0 : 1;
        if (!storableName(f.name) && f.problem.isEmpty())
            return false;
        for (const booksource::Recipe &r : f.recipes) {
            const bool encodable = cp1252::canEncode(r.title + r.text + r.imagePath);
            outside += encodable ? 0 : 1;
            if ((!storableName(r.title) || !encodable) && r.problem.isEmpty())
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
    const QStringList problems = first.allProblems();
    int outside = 0;
    if (!problemsReported(first, outside))
        std::abort();

    const QString written = booksource::write(first.families);
    const booksource::Source second = booksource::parse(written);
    int outsideAgain = 0;
    if (!problemsReported(second, outsideAgain) || outsideAgain != outside || !second.problems.empty())
        std::abort();
    if (!problems.isEmpty())
        return 0;
    if (!sameBook(first, second) || !second.allProblems().isEmpty())
        std::abort();
    if (booksource::write(second.families) != written)
        std::abort();
    return 0;
}
