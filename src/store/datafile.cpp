// Positional reads and synced writes on one open data file.
#include "store/datafile.h"

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace gratinel {

namespace {

bool syncToDisk(int fd)
{
#ifdef Q_OS_WIN
    return _commit(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}

// One read or write at an offset, without a seek first where the system allows it: a family
// deletion reads and writes thousands of records one by one. Returns the bytes done, 0 at
// the end of the file, -1 on failure.
qint64 readAt(QFile &file, qint64 offset, char *into, qint64 len)
{
#ifdef Q_OS_WIN
    return file.seek(offset) ? file.read(into, len) : -1;
#else
    ssize_t n;
    do
        n = ::pread(file.handle(), into, size_t(len), off_t(offset));
    while (n < 0 && errno == EINTR);
    return n;
#endif
}

qint64 writeAt(QFile &file, qint64 offset, const char *bytes, qint64 len)
{
#ifdef Q_OS_WIN
    return file.seek(offset) ? file.write(bytes, len) : -1;
#else
    ssize_t n;
    do
        n = ::pwrite(file.handle(), bytes, size_t(len), off_t(offset));
    while (n < 0 && errno == EINTR);
    return n;
#endif
}

} // namespace

Status DataFile::open(const QString &path)
{
    return openWith(path, QIODevice::ReadWrite);
}

Status DataFile::openReadOnly(const QString &path)
{
    return openWith(path, QIODevice::ReadOnly);
}

Status DataFile::openWith(const QString &path, QIODevice::OpenMode mode)
{
    close();
    file_.setFileName(path);
    if (!file_.open(mode | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        if (!QFile::exists(path))
            return Status::notFound(path);
        return failure(QStringLiteral("ouverture"));
    }
    return Status::ok();
}

void DataFile::close()
{
    if (file_.isOpen())
        file_.close();
}

Status DataFile::failure(const QString &what) const
{
    return Status::ioError(QStringLiteral("%1 : %2 (%3)").arg(file_.fileName(), what, file_.errorString()));
}

Status DataFile::length(qint64 &bytes) const
{
    if (!file_.isOpen())
        return failure(QStringLiteral("fichier fermé"));
    bytes = file_.size();
    return Status::ok();
}

Status DataFile::checkRange(qint64 offset, qint64 len) const
{
    if (!file_.isOpen())
        return failure(QStringLiteral("fichier fermé"));
    if (offset < 0 || len < 0)
        return Status::corrupt(QStringLiteral("%1 : position %2 invalide").arg(file_.fileName()).arg(offset));
    return Status::ok();
}

Status DataFile::read(qint64 offset, qint64 len, char *into)
{
    if (Status s = checkRange(offset, len); !s.isOk())
        return s;
    if (faults_ && faults_->failRead())
        return Status::ioError(QStringLiteral("%1 : lecture refusée").arg(file_.fileName()));
    if (len == 0)
        return Status::ok();
    qint64 done = 0;
    while (done < len) {
        const qint64 n = readAt(file_, offset + done, into + done, len - done);
        if (n <= 0)
            return n == 0 ? Status::corrupt(QStringLiteral("%1 : lecture après la fin du fichier").arg(file_.fileName()))
                          : failure(QStringLiteral("lecture"));
        done += n;
    }
    return Status::ok();
}

Status DataFile::write(qint64 offset, const char *bytes, qint64 len)
{
    if (Status s = checkRange(offset, len); !s.isOk())
        return s;
    const ChangeMark mark(changes_);
    if (faults_ && faults_->failWrite()) {
        if (faults_->shortWrites && len > 1) {
            unsynced_ = true;
            writeAt(file_, offset, bytes, len / 2);
        }
        return Status::ioError(QStringLiteral("%1 : écriture refusée").arg(file_.fileName()));
    }
    // From here some bytes may reach the system even when the write fails half-way.
    unsynced_ = true;
    qint64 done = 0;
    while (done < len) {
        const qint64 n = writeAt(file_, offset + done, bytes + done, len - done);
        if (n <= 0)
            return failure(QStringLiteral("écriture"));
        done += n;
    }
    if (faults_)
        faults_->trace += 'w';
    return batchDepth_ > 0 ? Status::ok() : sync();
}

Status DataFile::append(qint64 offset, const char *bytes, qint64 len)
{
    if (!file_.isOpen())
        return failure(QStringLiteral("fichier fermé"));
    const ChangeMark mark(changes_);
    const qint64 before = file_.size();
    const Status s = write(offset, bytes, len);
    if (s.isOk() || offset < before)
        return s;
    // Cutting a file shorter needs no room on the disk. It goes past the fault plan: the
    // plan stands for the disk that refused the bytes, not for this repair.
    if (file_.resize(before) && syncToDisk(file_.handle())) {
        unsynced_ = false;
        if (faults_)
            faults_->trace += 't';
    }
    return s;
}

Status DataFile::sync()
{
    if (!file_.flush() || !syncToDisk(file_.handle()))
        return failure(QStringLiteral("synchronisation"));
    unsynced_ = false;
    if (faults_)
        faults_->trace += 's';
    return Status::ok();
}

Status DataFile::endBatch()
{
    if (batchDepth_ > 0)
        --batchDepth_;
    if (batchDepth_ > 0 || !unsynced_)
        return Status::ok();
    if (!file_.isOpen())
        return failure(QStringLiteral("fichier fermé"));
    return sync();
}

Status DataFile::resize(qint64 bytes)
{
    if (Status s = checkRange(bytes, 0); !s.isOk())
        return s;
    if (faults_ && faults_->failWrite())
        return Status::ioError(QStringLiteral("%1 : écriture refusée").arg(file_.fileName()));
    const ChangeMark mark(changes_);
    if (!file_.resize(bytes))
        return failure(QStringLiteral("changement de longueur"));
    return sync();
}

} // namespace gratinel
