// The automatic backup of the starter book: the whole copy (synced, rotation included), and
// start-up until the window is usable on a day a backup is due, against a start on a day it
// was already made. Exits 1 when a backup is not made, or made when it was not due.
#include "figures.h"
#include "maxbook.h"

#include "fakeplatform.h"
#include "mainwin/autobackuprun.h"
#include "mainwin/frmmain.h"
#include "store/autobackup.h"
#include "store/bookbackup.h"
#include "store/bookchanges.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <memory>
#include <optional>

using namespace gratinel;
using namespace gratinel::bench;

namespace {

constexpr int kCopyRuns = 21;
constexpr int kStartPairs = 41;

using Outcome = autobackup::Result::Outcome;

// The program started over dir as it starts, its backup run included, until the window has
// taken its first events.
class Start {
public:
    explicit Start(const QString &dir)
    {
        running_ = std::make_unique<RunningBook>(dir);
        if (running_->started())
            startAutoBackup(running_->m());
        QApplication::processEvents();
    }

    // Waits for the backup run's end; its outcome, or nothing when the program did not start.
    std::optional<Outcome> finish()
    {
        AutoBackupRun *run = running_->frame() ? running_->frame()->findChild<AutoBackupRun *>() : nullptr;
        if (!run)
            return std::nullopt;
        QElapsedTimer waited;
        waited.start();
        while (!run->isFinished() && waited.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return run->isFinished() ? std::optional(run->result().outcome) : std::nullopt;
    }

private:
    std::unique_ptr<RunningBook> running_;
};

} // namespace

int main(int argc, char *argv[])
{
    prepareDisplay();
    QApplication app(argc, argv);
    QTemporaryDir due, done;
    QString error;
    if (!makeStarterBook(due.path(), &error) || !makeStarterBook(done.path(), &error)) {
        note(QStringLiteral("bench_backup : livres impossibles à écrire %1").arg(error));
        return 1;
    }
    // The day the benchmark's program starts (FakePlatform): the backup of that day is there.
    const QDateTime now = FakePlatform().now();
    if (!bookbackup::copyBook(done.path(), autobackup::folder(done.path()) + u'/' + bookbackup::nameFor(now)).isOk()) {
        note(QStringLiteral("bench_backup : sauvegarde du jour impossible"));
        return 1;
    }
    const auto forget = [&] { QDir(autobackup::folder(due.path())).removeRecursively(); };

    bool ok = true;
    BookChanges changes;
    const std::atomic<bool> stop{false};
    figure("auto_backup_starter_ms", medianMs(kCopyRuns, [&] {
               ok = autobackup::run(due.path(), now, changes, stop).outcome == Outcome::Done && ok;
           }, forget), "ms");
    if (!ok) {
        note(QStringLiteral("bench_backup : la sauvegarde automatique n'a pas été faite"));
        return 1;
    }

    std::unique_ptr<Start> start;
    std::optional<Outcome> expected;
    const auto end = [&] {
        if (start && start->finish() != expected)
            ok = false;
        start.reset();
    };
    const Paired ms = pairedMedianMs(
        kStartPairs, [&] { start = std::make_unique<Start>(due.path()); },
        [&] { start = std::make_unique<Start>(done.path()); },
        [&] {
            end();
            forget();
            expected = Outcome::Done;
        },
        [&] {
            end();
            expected = Outcome::NotDue;
        });
    end();
    if (!ok) {
        note(QStringLiteral("bench_backup : le programme n'a pas démarré, ou sa sauvegarde n'est pas ce qu'elle doit être"));
        return 1;
    }
    note(QStringLiteral("démarrage : sauvegarde due %1 ms, déjà faite %2 ms").arg(ms.a, 0, 'f', 1).arg(ms.b, 0, 'f', 1));
    figure("startup_with_backup_vs_starter", ms.a / ms.b, "x");
    return 0;
}
