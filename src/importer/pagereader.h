// The program's side of the page reader: every source's bytes are read in a process of ours,
// under hard limits, so that no page can freeze or exhaust the program or the book tool.
#pragma once

#include "importer/limits.h"
#include "importer/readerwire.h"

#include <QString>

#include <functional>
#include <memory>

class QProcess;

namespace gratinel::importer {

class ReaderLimits;

// What the reader made of one source.
struct ReadOutcome {
    ParseResult result;
    QString problem;      // why nothing could be read (parseSource's reason, or the limits'), or empty
    bool stopped = false; // stop said so before the answer came
};

// One reader process at a time, started at the first source and kept for the next ones; a
// source that makes it pass a limit is refused and the next one gets a new reader. Not for
// sharing between threads: each thread that reads has its own.
class PageReader {
public:
    struct Limits {
        qint64 addressSpace = kReaderAddressSpace;
        int deadlineBaseMs = kReaderDeadlineBaseMs;
        int deadlineMsPerMb = kReaderDeadlineMsPerMb;
        int cpuBaseMs = kReaderCpuBaseMs;
        int cpuMsPerMb = kReaderCpuMsPerMb;
    };

    PageReader();
    explicit PageReader(const Limits &limits);
    ~PageReader();
    PageReader(const PageReader &) = delete;
    PageReader &operator=(const PageReader &) = delete;

    // Reads request in the reader: its memory capped, its time capped by the request's size
    // (wall clock and processor). stop, asked while the reader works, ends the read at once.
    ReadOutcome read(const ReaderRequest &request, const std::function<bool()> &stop = {});

    // Readers started so far.
    int started() const { return started_; }

    // The reader program: beside this program when installed, else the one of this build.
    static QString program();

private:
    bool start(QString &problem);
    void end();

    Limits limits_;
    std::unique_ptr<QProcess> process_;
    std::unique_ptr<ReaderLimits> system_;
    int started_ = 0;
};

} // namespace gratinel::importer
