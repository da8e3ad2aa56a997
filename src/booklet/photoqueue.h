// The photos of the painted pass decoded ahead, in their order, by worker threads: decoding
// is most of a booklet's work, and the pages are painted meanwhile.
#pragma once

#include "booklet/photoreader.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace gratinel {

class PhotoQueue {
public:
    struct Job {
        QString file;
        QSize maxPixels;
    };

    // Starts decoding jobs in order, never more than a few ahead of next(), so that memory
    // stays flat however many photos come.
    PhotoQueue(PhotoReader &reader, std::vector<Job> jobs);
    ~PhotoQueue();
    PhotoQueue(const PhotoQueue &) = delete;
    PhotoQueue &operator=(const PhotoQueue &) = delete;

    // The next job's picture (a null image when it cannot be decoded); waits for it.
    QImage next();

private:
    void work();

    PhotoReader &reader_;
    const std::vector<Job> jobs_;
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t given_ = 0;   // jobs already handed out by next()
    size_t started_ = 0; // jobs taken by a worker
    std::map<size_t, QImage> done_;
    std::vector<size_t> readerless_; // jobs for the reader's own loading, on the caller's thread
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace gratinel
