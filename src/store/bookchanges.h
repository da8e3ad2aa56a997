// Tells a reader on another thread whether the open book changed while it read the files.
#pragma once

#include <QtGlobal>

#include <atomic>
#include <optional>

namespace gratinel {

// Every change to the open book (one write, or one operation made of several writes) is
// marked from its start to its end. A reader that copies the files takes a stamp first and
// keeps what it read only when the book is unchanged since that stamp: then no change was
// under way at any moment of the read, and the copy is the book as it stood between two
// changes.
class BookChanges {
public:
    void begin()
    {
        open_.fetch_add(1);
        generation_.fetch_add(1);
    }
    void end()
    {
        generation_.fetch_add(1);
        open_.fetch_sub(1);
    }

    // No value while a change is under way.
    std::optional<quint64> stamp() const
    {
        if (open_.load() != 0)
            return std::nullopt;
        return generation_.load();
    }
    bool unchangedSince(quint64 stamp) const { return open_.load() == 0 && generation_.load() == stamp; }

private:
    std::atomic<int> open_{0};
    std::atomic<quint64> generation_{0};
};

// Marks a change for the lifetime of the scope; marks nest. A null counter marks nothing.
class ChangeMark {
public:
    explicit ChangeMark(BookChanges *changes) : changes_(changes)
    {
        if (changes_)
            changes_->begin();
    }
    ~ChangeMark()
    {
        if (changes_)
            changes_->end();
    }
    ChangeMark(const ChangeMark &) = delete;
    ChangeMark &operator=(const ChangeMark &) = delete;

private:
    BookChanges *changes_;
};

} // namespace gratinel
