// The four data files that a fuzz input stands for, shared by the book's fuzz targets so that
// either one's inputs serve the other.
//
// Input: three little-endian 32-bit lengths, then the bytes of GRTN1.DAT, GRTN2.DAT and
// GRTN3.DAT of those lengths (cut to what the input holds), and GRTN4.DAT from the rest.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace gratinel::fuzz {

// Writes the four files into dir; false when the input is too short or a file could not be written.
inline bool writeBookFiles(const QString &dir, const uint8_t *data, size_t size)
{
    if (size < 12)
        return false;
    const auto write = [&dir](const char *name, const char *bytes, size_t len) {
        QFile f(QDir(dir).filePath(QLatin1String(name)));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes, qint64(len)) == qint64(len);
    };
    const char *bytes = reinterpret_cast<const char *>(data);
    size_t at = 12;
    const char *names[] = {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT"};
    for (int i = 0; i < 3; ++i) {
        quint32 len = 0;
        std::memcpy(&len, bytes + 4 * i, 4);
        const size_t take = std::min<size_t>(len, size - at);
        if (!write(names[i], bytes + at, take))
            return false;
        at += take;
    }
    return write("GRTN4.DAT", bytes + at, size - at);
}

} // namespace gratinel::fuzz
