// The system's hard limits on the page reader process, set by the program that started it.
#pragma once

#include <QtGlobal>

namespace gratinel::importer {

// Holds the limits of one reader process for as long as it runs (on Windows, the Job Object it
// is in; nothing elsewhere).
class ReaderLimits {
public:
    ReaderLimits() = default;
    ~ReaderLimits();
    ReaderLimits(const ReaderLimits &) = delete;
    ReaderLimits &operator=(const ReaderLimits &) = delete;

    // Caps the address space of the process pid at bytes (beyond what the sanitizers' own
    // reservations take when the program is built with them). False when the system refused.
    bool limitMemory(qint64 pid, qint64 bytes);
    // Ends the process once it has used ms more milliseconds of processor time from now: the
    // backstop of the deadline that the program watches itself.
    void limitProcessorTime(qint64 pid, qint64 ms);
    // Processor time the process pid has used, in milliseconds, or -1 when unknown.
    static qint64 processorMs(qint64 pid);

private:
    void *job_ = nullptr; // Windows
};

} // namespace gratinel::importer
