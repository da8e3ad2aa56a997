// Browsing the largest book: the store's scan against a plain read of the recipe file and
// against the floor of its work, choosing the family of 5000 recipes, a list of 32767
// entries filled and opened, and start-up compared with the starter book. Exits 1 when a
// book or a list is not what it must be.
//
// The machine may be busy: the ratios time their two sides in turn, run after run, so that
// a change of load weighs on both alike, and take the median of each side.
#include "figures.h"
#include "maxbook.h"

#include "book/familyscan.h"
#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "store/module1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

using namespace gratinel;
using namespace gratinel::bench;

namespace {

constexpr int kRuns = 9;
// Runs of each side of a ratio.
constexpr int kScanPairs = 301;
constexpr int kStartPairs = 81;

// The floor of the recipe list's scan: the whole of GRTN2.DAT in one read, then the record
// numbers of the family's recipes in use picked by two fields, nothing decoded.
class FloorScan {
public:
    explicit FloorScan(const QString &path) : file_(path)
    {
        if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return;
        size_ = file_.size();
        buffer_ = static_cast<char *>(std::aligned_alloc(4096, size_t((size_ + 4095) / 4096 * 4096)));
    }
    ~FloorScan() { std::free(buffer_); }

    // Record numbers of family's recipes, or nothing when the file cannot be read whole.
    std::vector<qint32> run(qint32 family)
    {
        std::vector<qint32> found;
        if (!buffer_ || !file_.seek(0) || file_.read(buffer_, size_) != size_)
            return found;
        const qint64 records = size_ / RecipeRecord::kSize;
        for (qint64 i = 1; i < records; ++i) {
            const char *r = buffer_ + i * RecipeRecord::kSize;
            if (RecipeRecord::stateIn(r) == kInUse && RecipeRecord::familyRecordIn(r) == family)
                found.push_back(qint32(i + 1));
        }
        return found;
    }

private:
    QFile file_;
    qint64 size_ = 0;
    char *buffer_ = nullptr;
};

double rawReadMs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    const qint64 size = file.size();
    const size_t alloc = size_t((size + 4095) / 4096 * 4096);
    char *buffer = static_cast<char *>(std::aligned_alloc(4096, alloc));
    bool whole = true;
    const double ms = medianMs(kRuns, [&] {
        file.seek(0);
        whole = file.read(buffer, size) == size && whole;
    });
    std::free(buffer);
    if (!whole)
        note(QStringLiteral("lecture incomplète de %1").arg(path));
    return whole ? ms : -1;
}

// Every recipe of the book, as a list would hold them.
std::vector<ListEntry> allRecipes(Module1 &m)
{
    std::vector<ListEntry> found;
    qint32 last = 0;
    m.recipeFile.lastRecord(last);
    m.recipeFile.scanBytes(2, last, [&](qint32 n, const char *r) {
        if (RecipeRecord::stateIn(r) == kInUse)
            found.push_back({RecipeRecord::titleTextIn(r), n});
        return true;
    });
    return found;
}

// Start-up over each book in turn until the window is up; -1 for both when a start did not
// bring the window up.
Paired startupMs(const QString &dirA, const QString &dirB)
{
    std::unique_ptr<RunningBook> running;
    bool started = true;
    const auto start = [&](const QString &dir) {
        return [&running, dir] {
            running = std::make_unique<RunningBook>(dir);
            QApplication::processEvents();
        };
    };
    const auto end = [&] {
        started = (!running || running->started()) && started;
        running.reset();
    };
    const Paired ms = pairedMedianMs(kStartPairs, start(dirA), start(dirB), end, end);
    end();
    return started ? ms : Paired{-1, -1};
}

} // namespace

int main(int argc, char *argv[])
{
    prepareDisplay();
    QApplication app(argc, argv);
    QTemporaryDir maxDir, starterDir;
    MaxBookInfo info;
    QString error;
    if (!writeMaxBook(maxDir.path(), {}, &info).isOk() || !makeStarterBook(starterDir.path(), &error)) {
        note(QStringLiteral("bench_browse : livres impossibles à écrire %1").arg(error));
        return 1;
    }
    if (!bookHolds(maxDir.path(), 1000, 32767))
        return 1;

    const double raw = rawReadMs(QDir(maxDir.path()).filePath(QStringLiteral("GRTN2.DAT")));
    if (raw < 0)
        return 1;
    figure("raw_read_grtn2_ms", raw, "ms");

    RunningBook running(maxDir.path());
    if (!running.started()) {
        note(QStringLiteral("bench_browse : le programme ne démarre pas sur le livre maximal"));
        return 1;
    }
    size_t scanned = 0;
    const double fill = medianMs(kRuns, [&] {
        FamilyRecipes found;
        scanFamilyRecipes(running.m(), info.bigFamilyRecord, found);
        scanned = found.entries.size();
    });
    if (scanned != 5000) {
        note(QStringLiteral("bench_browse : le parcours trouve %1 recettes au lieu de 5000").arg(scanned));
        return 1;
    }
    figure("fill_recipe_list_ms", fill, "ms");
    figure("fill_recipe_list_vs_raw", fill / raw, "x");

    FloorScan floor(QDir(maxDir.path()).filePath(QStringLiteral("GRTN2.DAT")));
    size_t picked = 0;
    // The list of the run before is let go untimed: emptying a list is not filling it.
    FamilyRecipes found;
    std::vector<qint32> floorFound;
    const Paired scan = pairedMedianMs(
        kScanPairs,
        [&] {
            scanFamilyRecipes(running.m(), info.bigFamilyRecord, found);
            scanned = found.entries.size();
        },
        [&] {
            floorFound = floor.run(info.bigFamilyRecord);
            picked = floorFound.size();
        },
        [&] { found = {}; }, [&] { floorFound = {}; });
    if (scanned != 5000 || picked != 5000) {
        note(QStringLiteral("bench_browse : %1 recettes parcourues, %2 au plancher, au lieu de 5000").arg(scanned).arg(picked));
        return 1;
    }
    note(QStringLiteral("liste de 5000 : parcours %1 ms, plancher %2 ms").arg(scan.a, 0, 'f', 3).arg(scan.b, 0, 'f', 3));
    figure("fill_recipe_list_vs_scan", scan.a / scan.b, "x");

    frmRecettes *book = running.book();
    const int bigRow = book->ComboFamilles->entries().rowOfRecord(info.bigFamilyRecord);
    // Up to the recipe's text in its box; the window's repaint that follows is Qt's own.
    figure("family_select_5000_ms", medianMs(kRuns, [&] {
               book->ComboFamilles->setCurrentIndex(bigRow);
               book->ComboFamilles_Click();
           }), "ms");
    note(QStringLiteral("choix de la famille de 5000 recettes, fenêtre repeinte comprise : %1 ms")
             .arg(medianMs(kRuns, [&] {
                      book->ComboFamilles->setCurrentIndex(bigRow);
                      book->ComboFamilles_Click();
                      QApplication::processEvents();
                  }), 0, 'f', 1));
    if (book->ComboRecettes->count() != 5000) {
        note(QStringLiteral("bench_browse : %1 recettes listées au lieu de 5000").arg(book->ComboRecettes->count()));
        return 1;
    }

    // A list of every recipe of the book, in a window of its own.
    const std::vector<ListEntry> all = allRecipes(running.m());
    if (all.size() != 32767) {
        note(QStringLiteral("bench_browse : %1 recettes lues au lieu de 32767").arg(all.size()));
        return 1;
    }
    FrenchOrder order;
    QWidget window;
    auto *combo = new RecordCombo(order, &window);
    combo->setGeometry(10, 10, 400, 24);
    window.resize(420, 600);
    window.show();
    QApplication::processEvents();
    std::vector<ListEntry> entries;
    figure("combo_fill_32767_ms", medianMs(
               kRuns,
               [&] {
                   combo->entries().clear();
                   combo->entries().addEntries(std::move(entries));
                   combo->setCurrentIndex(0);
                   QApplication::processEvents();
               },
               [&] { entries = all; }), "ms");
    if (combo->count() != 32767) {
        note(QStringLiteral("bench_browse : %1 entrées au lieu de 32767").arg(combo->count()));
        return 1;
    }
    figure("combo_popup_32767_ms", medianMs(kRuns, [&] {
               combo->showPopup();
               QApplication::processEvents();
               combo->hidePopup();
               QApplication::processEvents();
           }), "ms");

    const Paired start = startupMs(maxDir.path(), starterDir.path());
    const double startMax = start.a, startStarter = start.b;
    if (startMax < 0 || startStarter < 0) {
        note(QStringLiteral("bench_browse : le programme ne démarre pas à chaque fois"));
        return 1;
    }
    note(QStringLiteral("démarrage : livre maximal %1 ms, livre de départ %2 ms").arg(startMax, 0, 'f', 1).arg(startStarter, 0, 'f', 1));
    figure("startup_max_vs_starter", startMax / startStarter, "x");
    return 0;
}
