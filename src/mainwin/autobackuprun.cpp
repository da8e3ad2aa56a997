// The automatic backup's thread, and what the main window says of its outcome.
#include "mainwin/autobackuprun.h"

#include "store/bookchanges.h"
#include "store/module1.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <pthread.h>
#include <sched.h>
#endif

namespace gratinel {

void startAutoBackup(Module1 &m)
{
    if (!m.mainWindow || m.platform.programEnded())
        return;
    auto *run = new AutoBackupRun(m.programDir, m.platform.now(), m.changes, m.mainWindow);
    // Once the event loop runs, so that the window is up first.
    QTimer::singleShot(0, run, &AutoBackupRun::start);
}

AutoBackupRun::AutoBackupRun(const QString &dir, const QDateTime &now, std::shared_ptr<const BookChanges> changes,
                             QObject *parent)
    : QObject(parent), dir_(dir), now_(now), changes_(std::move(changes))
{
    setObjectName(QStringLiteral("autoBackupRun"));
    // The program may end without the window being deleted (a fatal error): the thread
    // must not outlive the event loop either.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &AutoBackupRun::stopAndWait);
}

AutoBackupRun::~AutoBackupRun()
{
    stopAndWait();
}

void AutoBackupRun::stopAndWait()
{
    if (!thread_.joinable())
        return;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        ended_.wait_for(lock, std::chrono::seconds(10), [this] { return threadDone_; });
    }
    stop_ = true;
    thread_.join();
}

void AutoBackupRun::start()
{
    if (thread_.joinable() || finished_)
        return;
    thread_ = std::thread([this] {
#ifdef Q_OS_LINUX
        // The copy takes the processor only when the program (and the rest of the desktop)
        // leaves it unused: the cook's work always comes first.
        sched_param idle{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
#endif
        const autobackup::Result result = autobackup::run(dir_, now_, *changes_, stop_);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            threadDone_ = true;
        }
        ended_.notify_all();
        // Dropped with this object if the window is gone by then.
        QMetaObject::invokeMethod(this, [this, result] { finish(result); }, Qt::QueuedConnection);
    });
}

void AutoBackupRun::finish(const autobackup::Result &result)
{
    if (thread_.joinable())
        thread_.join();
    finished_ = true;
    result_ = result;
    QString said;
    if (result.outcome == autobackup::Result::Outcome::NoRoom)
        said = result.why;
    else if (result.outcome == autobackup::Result::Outcome::Failed)
        said = QStringLiteral("La sauvegarde automatique du livre a échoué : %1").arg(result.why);
    if (auto *frame = qobject_cast<QMainWindow *>(parent()); frame && !said.isEmpty())
        frame->statusBar()->showMessage(said);
    emit finished();
}

} // namespace gratinel
