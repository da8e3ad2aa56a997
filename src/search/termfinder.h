// Finds a search word in stored Windows-1252 bytes, letter case ignored and accents kept.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace gratinel {

class TermFinder {
public:
    TermFinder() = default;
    // term: the word as stored bytes; it is upper-cased here. An empty term finds nothing.
    explicit TermFinder(const QByteArray &term);

    // The upper-cased word.
    const QByteArray &term() const { return term_; }
    qint64 length() const { return term_.size(); }

    // 0-based index of the first place in [data, data + len) where the bytes, upper-cased
    // by the code page's table, equal the word; -1 when there is none. Any length works.
    qint64 find(const char *data, qint64 len) const;
    qint64 find(const QByteArray &bytes) const { return find(bytes.constData(), bytes.size()); }

private:
    QByteArray term_;
    // The stored bytes that upper-case to the word's first and last byte (one or two each).
    unsigned char first_[2] = {0, 0};
    unsigned char last_[2] = {0, 0};
};

} // namespace gratinel
