// The drop's reading thread.
#include "book/dropreading.h"

#include <QThread>

namespace gratinel {

DropReading::DropReading(QObject *parent) : QObject(parent) {}

DropReading::~DropReading()
{
    stop_ = true;
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

void DropReading::start(const QString &source, importer::SourceOptions options)
{
    if (busy())
        return;
    source_ = source;
    result_ = {};
    stop_ = false;
    options.stop = [this] { return stop_.load(); };
    // The thread writes result_ only; it is read again once the thread has ended.
    thread_ = QThread::create([this, source, options] {
        try {
            result_ = importer::readSource(source, options);
        } catch (...) {
            result_ = {};
            result_.failure = QStringLiteral("%1 n'a pas été lu : mémoire insuffisante.").arg(source);
        }
    });
    connect(thread_, &QThread::finished, this, [this] {
        thread_->wait();
        delete thread_;
        thread_ = nullptr;
        emit finished();
    });
    thread_->start();
}

} // namespace gratinel
