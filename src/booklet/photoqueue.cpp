// Decoding ahead on two threads, the pictures handed out in order.
#include "booklet/photoqueue.h"

#include <QImageReader>

#include <algorithm>

namespace gratinel {

namespace {

constexpr size_t kAhead = 6;

} // namespace

PhotoQueue::PhotoQueue(PhotoReader &reader, std::vector<Job> jobs) : reader_(reader), jobs_(std::move(jobs))
{
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
    for (unsigned i = 0; i < threads && !jobs_.empty(); ++i)
        workers_.emplace_back([this] { work(); });
}

PhotoQueue::~PhotoQueue()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread &t : workers_)
        t.join();
}

void PhotoQueue::work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || (started_ < jobs_.size() && started_ < given_ + kAhead); });
        if (stopping_)
            return;
        const size_t k = started_++;
        lock.unlock();
        const Job &job = jobs_[k];
        QImage image;
        // Only Qt's own readers run here; other loading stays on the caller's thread.
        const bool readable = QImageReader(job.file).canRead();
        if (readable)
            image = PhotoReader::decode(job.file, job.maxPixels);
        lock.lock();
        if (!readable)
            readerless_.push_back(k);
        done_[k] = std::move(image);
        changed_.notify_all();
    }
}

QImage PhotoQueue::next()
{
    std::unique_lock lock(mutex_);
    const size_t k = given_++;
    changed_.notify_all();
    if (k >= jobs_.size())
        return {};
    changed_.wait(lock, [&] { return done_.count(k) > 0; });
    QImage image = std::move(done_[k]);
    done_.erase(k);
    const bool own = std::find(readerless_.begin(), readerless_.end(), k) != readerless_.end();
    lock.unlock();
    if (own)
        image = reader_.read(jobs_[k].file, jobs_[k].maxPixels);
    return image;
}

} // namespace gratinel
