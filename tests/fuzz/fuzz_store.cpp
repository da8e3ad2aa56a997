// Fuzz target: four data files of arbitrary bytes, opened, browsed, checked and exported with
// the store alone (no application object, no window), so that it runs fast.
//
// Input: as fuzz_book's (bookinput.h), so that either target's inputs serve the other.
//
// Beyond running clean under the sanitizers: a book in which the book tool's check finds no
// error is one the program opens, and one in which it finds nothing at all exports cleanly,
// and gives back every byte through export, create and export.
#include "book/familyscan.h"
#include "commands.h"
#include "store/bookcheck.h"
#include "store/booksource.h"
#include "store/cp1252.h"
#include "platform/system.h"
#include "store/module1.h"
#include "bookinput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace gratinel;

namespace {

QTemporaryDir *folder = nullptr;

// What the list page shows of a family's recipes at most, and how many of each are looked at:
// enough to reach every kind of record, few enough to keep each input quick.
constexpr qint32 kShownText = 30000;
constexpr size_t kFamiliesBrowsed = 4;
constexpr size_t kRecipesShown = 4;


// The program's reading of an open book: the family list, some families' recipe lists, and
// some recipes' texts and image paths, each as the list page reads them.
void browse(Module1 &m)
{
    qint32 last = 0;
    if (!m.familyFile.lastRecord(last).isOk() || m.familyCount() <= 0)
        return;
    std::vector<qint32> families;
    int count = 0;
    m.familyFile.scanBytes(2, last, [&](qint32 n, const char *r) {
        if (FamilyRecord::stateIn(r) == kInUse) {
            ++count;
            (void)FamilyRecord::nameTextIn(r);
            families.push_back(n);
        }
        return count != m.familyCount();
    });
    families.resize(std::min(families.size(), kFamiliesBrowsed));
    for (qint32 family : families) {
        FamilyRecipes found;
        if (!scanFamilyRecipes(m, family, found).isOk())
            return;
        found.entries.resize(std::min(found.entries.size(), kRecipesShown));
        for (const ListEntry &entry : found.entries) {
            RecipeRecord r;
            if (!m.recipeFile.read(entry.record, r).isOk())
                return;
            QByteArray bytes;
            if (r.textPos >= 1 && m.textFile.readAvailable(r.textPos, std::min(r.textLen, kShownText), bytes).isOk())
                (void)cp1252::decodeText(bytes);
            bool outside = false;
            if (r.imagePos != 0 && m.imageFile.readAvailable(r.imagePos, r.imageLen, bytes, &outside).isOk())
                (void)cp1252::decode(bytes);
        }
    }
}

// What a book holds: each in-use recipe as its family's name, its title, text and path bytes.
QByteArrayList recipesOf(const QString &dir)
{
    ConsoleSystem system;
    Module1 m(system);
    qint32 last = 0;
    QByteArrayList out;
    if (m.openBook(dir).isOk() && m.recipeFile.lastRecord(last).isOk())
        m.recipeFile.scan(2, last, [&](qint32, const RecipeRecord &r) {
            FamilyRecord f;
            QByteArray text;
            QByteArray path;
            if (r.state == kInUse && m.familyFile.read(r.familyRecord, f).isOk()
                && (r.textPos < 1 || m.textFile.read(r.textPos, r.textLen, text).isOk())
                && (r.imagePos == 0 || m.imageFile.read(r.imagePos, r.imageLen, path).isOk()))
                out << cp1252::encode(f.nameText() + u'\0' + r.titleText()) + '\0' + text + '\0' + path;
            return true;
        });
    std::sort(out.begin(), out.end());
    return out;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Export, create, export gives the same text twice and a book holding every byte of the first,
// for a book that create takes (16 families and 300 recipes, no empty name or title).
void checkRoundTrip(const QString &dir, const QString &exported, const booksource::Source &source)
{
    if (!source.allProblems().isEmpty() || source.families.size() < size_t(kMinFamilies)
        || source.recipeCount() < kMinRecipes)
        return;
    QTemporaryDir second(QDir(dir).filePath(QStringLiteral("second-XXXXXX")));
    const QString again = QDir(second.path()).filePath(QStringLiteral("export.txt"));
    if (booktool::create(second.path(), exported) != booktool::kAllWell
        || booktool::exportBook(second.path(), again) != booktool::kAllWell || fileBytes(again) != fileBytes(exported)
        || recipesOf(second.path()) != recipesOf(dir)) {
        std::fprintf(stderr, "export, create, export does not give back the same text and bytes\n");
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // In memory when the system offers it: every input writes and reads the four files.
    folder = QDir(QStringLiteral("/dev/shm")).exists() ? new QTemporaryDir(QStringLiteral("/dev/shm/fuzz_store-XXXXXX"))
                                                        : new QTemporaryDir;
    std::atexit([] { delete folder; });
    // The book tool's export says what it does on the standard output, and Qt warns about
    // the odd file names the bytes make: nobody reads either here.
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!fuzz::writeBookFiles(folder->path(), data, size))
        return 0;
    const QString dir = folder->path();

    const bookcheck::Report report = bookcheck::check(dir);
    {
        ConsoleSystem platform;
        Module1 m(platform);
        const Status opened = m.openBook(dir);
        if (report.errors() == 0 && !opened.isOk()) {
            std::fprintf(stderr, "the check finds no error, the program refuses the book: %s\n",
                         qPrintable(opened.message()));
            std::abort();
        }
        if (opened.isOk())
            browse(m);
    }

    const QString exported = QDir(dir).filePath(QStringLiteral("export.txt"));
    QFile::remove(exported);
    const int status = booktool::exportBook(dir, exported);
    if (report.findings.empty() && status != booktool::kAllWell) {
        std::fprintf(stderr, "the check finds nothing, the export fails\n");
        std::abort();
    }
    booksource::Source source;
    if (report.findings.empty() && !booksource::readFile(exported, source).isOk()) {
        std::fprintf(stderr, "the export does not read back\n");
        std::abort();
    }
    // Warnings (an image file that is not there) leave the export whole.
    if (report.errors() == 0 && status == booktool::kAllWell && booksource::readFile(exported, source).isOk())
        checkRoundTrip(dir, exported, source);
    return 0;
}
