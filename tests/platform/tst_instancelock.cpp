// The folder lock that keeps a second program from starting: holders in this process, in other
// processes, holders that crashed, and folders or lock files another user cannot write.
#include "platform/instancelock.h"
#include "testbook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace gratinel;

namespace {

// What a child process reports of its attempt.
enum ChildResult { Held = 0, Busy = 1, FreeButNotHeld = 2, CannotDropRights = 3 };

int attempt(const QString &dir)
{
    InstanceLock lock;
    const bool ok = lock.tryLock(dir);
    if (!ok)
        return lock.isHeld() ? -1 : Busy;
    return lock.isHeld() ? Held : FreeButNotHeld;
}

// Runs fn without the rights of root: in a child process that became the user nobody when the
// test runs as root (root may write anything), otherwise right here.
int withoutRootRights(const std::function<int()> &fn)
{
    if (::geteuid() != 0)
        return fn();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(CannotDropRights);
        ::_exit(fn());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A child process that takes the lock and holds it until told to go.
class Holder {
public:
    explicit Holder(const QString &dir)
    {
        if (::pipe(ready_) != 0 || ::pipe(go_) != 0)
            qFatal("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            InstanceLock lock;
            const char took = lock.tryLock(dir) && lock.isHeld() ? 'y' : 'n';
            (void)!::write(ready_[1], &took, 1);
            char c;
            (void)!::read(go_[0], &c, 1);
            // Ends without releasing: only the system can drop the lock now.
            ::_exit(0);
        }
        char took = 0;
        (void)!::read(ready_[0], &took, 1);
        holds_ = took == 'y';
    }

    ~Holder() { finish(); }

    bool holds() const { return holds_; }

    // Kills the holder as a crash would, or lets it end on its own.
    void finish(bool crash = false)
    {
        if (pid_ <= 0)
            return;
        if (crash)
            ::kill(pid_, SIGKILL);
        else
            (void)!::write(go_[1], "x", 1);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        for (int fd : {ready_[0], ready_[1], go_[0], go_[1]})
            ::close(fd);
    }

private:
    pid_t pid_ = -1;
    int ready_[2] = {-1, -1};
    int go_[2] = {-1, -1};
    bool holds_ = false;
};

} // namespace

class TestInstanceLock : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void secondLockWaitsForTheFirst();
    void foldersAreLockedSeparately();
    void holderInAnotherProcessBlocksUntilItEnds_data();
    void holderInAnotherProcessBlocksUntilItEnds();
    void lockFileCanBeOpenedByEveryUser();
    void readOnlyLockFileCanStillBeLocked();
    void folderNobodyCanWriteGivesNoLock();

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    QString dir_;
};

void TestInstanceLock::init()
{
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    dir_ = tmp_->path();
    // Reachable by another user, writable only by us.
    QVERIFY(::chmod(QFile::encodeName(dir_).constData(), 0755) == 0);
}

void TestInstanceLock::cleanup()
{
    ::chmod(QFile::encodeName(dir_).constData(), 0755);
    tmp_.reset();
}

void TestInstanceLock::secondLockWaitsForTheFirst()
{
    auto first = std::make_unique<InstanceLock>();
    QVERIFY(first->tryLock(dir_));
    QVERIFY(first->isHeld());
    QVERIFY(QFile::exists(QDir(dir_).filePath(InstanceLock::lockFileName())));

    InstanceLock second;
    QVERIFY(!second.tryLock(dir_));
    QVERIFY(!second.isHeld());
    QVERIFY(!second.tryLock(dir_));

    first->release();
    QVERIFY(!first->isHeld());
    QVERIFY(second.tryLock(dir_));
    QVERIFY(second.isHeld());

    // The destructor lets go too.
    second.release();
    first = std::make_unique<InstanceLock>();
    QVERIFY(first->tryLock(dir_));
    {
        InstanceLock scoped;
        first.reset();
        QVERIFY(scoped.tryLock(dir_));
    }
    InstanceLock after;
    QVERIFY(after.tryLock(dir_));
}

void TestInstanceLock::foldersAreLockedSeparately()
{
    QTemporaryDir other;
    InstanceLock a, b, c;
    QVERIFY(a.tryLock(dir_));
    QVERIFY(b.tryLock(other.path()));
    QVERIFY(!c.tryLock(dir_));
    // Taking another folder's lock drops the one held before.
    QVERIFY(a.tryLock(other.path()) == false);
    QVERIFY(!a.isHeld());
    QVERIFY(c.tryLock(dir_));
}

void TestInstanceLock::holderInAnotherProcessBlocksUntilItEnds_data()
{
    QTest::addColumn<bool>("crash");
    QTest::newRow("holder ends") << false;
    QTest::newRow("holder is killed") << true;
}

void TestInstanceLock::holderInAnotherProcessBlocksUntilItEnds()
{
    QFETCH(bool, crash);
    Holder holder(dir_);
    QVERIFY(holder.holds());
    InstanceLock mine;
    QVERIFY(!mine.tryLock(dir_));

    holder.finish(crash);
    // The lock file is still there, but nobody holds it any more.
    QVERIFY(QFile::exists(QDir(dir_).filePath(InstanceLock::lockFileName())));
    QVERIFY(mine.tryLock(dir_));
    QVERIFY(mine.isHeld());
    Holder late(dir_);
    QVERIFY(!late.holds());
}

void TestInstanceLock::lockFileCanBeOpenedByEveryUser()
{
    const mode_t old = ::umask(077);
    InstanceLock lock;
    const bool ok = lock.tryLock(dir_);
    ::umask(old);
    QVERIFY(ok);
    QFileInfo info(QDir(dir_).filePath(InstanceLock::lockFileName()));
    QCOMPARE(info.permissions() & (QFile::ReadOther | QFile::WriteOther), QFile::ReadOther | QFile::WriteOther);

    // Another user sees it busy while it is held here.
    QCOMPARE(withoutRootRights([this] { return attempt(dir_); }), int(Busy));
    lock.release();
    QCOMPARE(withoutRootRights([this] { return attempt(dir_); }), int(Held));
}

void TestInstanceLock::readOnlyLockFileCanStillBeLocked()
{
    // A lock file left by another user, which this user may only read.
    const QString path = QDir(dir_).filePath(InstanceLock::lockFileName());
    QVERIFY(testbook::writeFile(path, QByteArray()));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);

    QCOMPARE(withoutRootRights([this] { return attempt(dir_); }), int(Held));

    // And it is still a lock: busy for that user while held here.
    InstanceLock here;
    QVERIFY(here.tryLock(dir_));
    QCOMPARE(withoutRootRights([this] { return attempt(dir_); }), int(Busy));
}

void TestInstanceLock::folderNobodyCanWriteGivesNoLock()
{
    // No lock file and no way to make one: nothing can be shared, so the start goes on.
    if (::geteuid() != 0)
        QVERIFY(::chmod(QFile::encodeName(dir_).constData(), 0555) == 0);
    QCOMPARE(withoutRootRights([this] { return attempt(dir_); }), int(FreeButNotHeld));
    QVERIFY(!QFile::exists(QDir(dir_).filePath(InstanceLock::lockFileName())));

    InstanceLock missing;
    QVERIFY(missing.tryLock(QDir(dir_).filePath(QStringLiteral("absent"))));
    QVERIFY(!missing.isHeld());
}

QTEST_APPLESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
