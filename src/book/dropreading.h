// A source dropped on the add page, fetched and read away from the window's thread.
#pragma once

#include "importer/sourceimport.h"

#include <QObject>
#include <QString>

#include <atomic>

class QThread;

namespace gratinel {

// One reading at a time, on a thread of its own: the window stays usable while a link is
// fetched and the reader process reads the source.
class DropReading : public QObject {
    Q_OBJECT

public:
    explicit DropReading(QObject *parent = nullptr);
    // Stops a reading under way (the fetch and the reader end within a fraction of a second)
    // and waits for its thread.
    ~DropReading() override;

    bool busy() const { return thread_ != nullptr; }
    // The source being read, or last read.
    const QString &source() const { return source_; }
    // Reads source with importer::readSource and options, whose stop becomes this object's.
    // Not while busy().
    void start(const QString &source, importer::SourceOptions options);
    // What the last reading gave, once finished() came.
    const importer::SourceRead &result() const { return result_; }

signals:
    // On this object's thread, once the reading's thread has ended.
    void finished();

private:
    QThread *thread_ = nullptr;
    std::atomic<bool> stop_{false};
    QString source_;
    importer::SourceRead result_;
};

} // namespace gratinel
