// Small tmpfs file systems for the full-disk tests.
#include "smalldisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace gratinel {

SmallDisk::SmallDisk(const QString &dir, int kibibytes) : dir_(dir)
{
    QProcess mount;
    mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                          QStringLiteral("size=%1k").arg(kibibytes), QStringLiteral("tmpfs"), dir});
    if (!mount.waitForFinished() || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0) {
        why_ = QStringLiteral("mounting a small tmpfs was refused (it needs root): %1")
                   .arg(QString::fromLocal8Bit(mount.readAllStandardError()).trimmed());
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), dir_});
}

bool SmallDisk::makeReadOnly() const
{
    return mounted_
        && QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), dir_}) == 0;
}

bool SmallDisk::fill(const QString &name) const
{
    QFile filler(QDir(dir_).filePath(name));
    if (!mounted_ || !filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray page(4096, 'x');
    while (filler.write(page) == page.size()) {
    }
    const QByteArray byte(1, 'x');
    while (filler.write(byte) == 1) {
    }
    return true;
}

} // namespace gratinel
