// Runs a piece of work in a forked child process, so that a crash, a runaway allocation or an
// endless loop in the work (a third-party decoder fed a damaged file) cannot harm the program.
#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

namespace gratinel {

struct ChildLimits {
    int timeoutMs = 10000;                      // wall-clock time before the child is killed
    qint64 maxOutputBytes = 64 * 1024 * 1024;   // larger answers are refused
    qint64 extraAddressSpace = 512LL * 1024 * 1024; // memory the child may take beyond its start
};

// Runs work in a child and returns what it returned; no value when the child crashed,
// was killed for its time or memory, answered more than the limit, or could not start.
// work must only call plain C and C++ code (no Qt widgets or events: the child is a copy
// of this process with one thread).
std::optional<QByteArray> runInChild(const std::function<std::optional<QByteArray>()> &work,
                                     const ChildLimits &limits = {});

} // namespace gratinel
