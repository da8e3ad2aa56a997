// The day's automatic backup of the open book, made on a thread of its own once the window is up.
#pragma once

#include "store/autobackup.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace gratinel {

class BookChanges;
class Module1;

// Makes the day's automatic backup of m's book (autobackup::run) once the event loop runs,
// on a thread of its own, so that the cook never waits for it. A backup skipped for lack of
// room, or one that failed, is said once in the main window's status bar, without a message
// box. The run belongs to the main window: when the program ends, a copy under way gets a few
// seconds to finish, the window already gone, and is then stopped, leaving nothing behind.
void startAutoBackup(Module1 &m);

class AutoBackupRun : public QObject {
    Q_OBJECT
public:
    AutoBackupRun(const QString &dir, const QDateTime &now, std::shared_ptr<const BookChanges> changes,
                  QObject *parent);
    ~AutoBackupRun() override;

    // Starts the thread; once only.
    void start();
    // Lets a copy under way finish for a few seconds, then stops it, and waits for the thread:
    // when the program ends.
    void stopAndWait();
    // True once the outcome came back to this thread.
    bool isFinished() const { return finished_; }
    const autobackup::Result &result() const { return result_; }

signals:
    void finished();

private:
    void finish(const autobackup::Result &result);

    const QString dir_;
    const QDateTime now_;
    const std::shared_ptr<const BookChanges> changes_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool threadDone_ = false; // under mutex_
    std::thread thread_;
    bool finished_ = false;
    autobackup::Result result_;
};

} // namespace gratinel
