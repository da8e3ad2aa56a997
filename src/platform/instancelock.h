// A lock on the program's folder that only one running program can hold at a time.
#pragma once

#include <QString>

namespace gratinel {

// The lock is a system lock on a small file in the folder: it is shared by every user
// and by every copy of the executable started from that folder, and the system drops
// it when the holder ends, even by a crash, so a stale lock never blocks a start.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    static QString lockFileName() { return QStringLiteral("GRTN.LCK"); }

    // Takes the lock of the folder dir. False when another holder has it. When no lock
    // can be made at all (a folder nobody may write to), there is nothing to share either:
    // the answer is true and nothing is held.
    bool tryLock(const QString &dir);
    bool isHeld() const;
    void release();

private:
#ifdef Q_OS_WIN
    void *handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace gratinel
