// A small file system of its own, to see what the program does when the disk is full.
#pragma once

#include <QString>

namespace gratinel {

// A tmpfs of kibibytes mounted over dir for the lifetime of the object (lazily unmounted at
// the end, so that open files do not keep it). Mounting needs root: mounted() says whether
// it worked, why() why not.
class SmallDisk {
public:
    SmallDisk(const QString &dir, int kibibytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return mounted_; }
    QString why() const { return why_; }

    // Mounts it again read-only: nothing can be made or written there any more.
    bool makeReadOnly() const;

    // Takes every page still free with a file named name in dir; false if it could not.
    bool fill(const QString &name = QStringLiteral("filler")) const;

private:
    QString dir_;
    bool mounted_ = false;
    QString why_;
};

} // namespace gratinel
