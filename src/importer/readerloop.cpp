// The reader's loop over its standard input and output.
#include "importer/readerloop.h"

#include "importer/importer.h"
#include "importer/limits.h"
#include "importer/readerwire.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace gratinel::importer {

namespace {

bool writeAll(const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
           && std::fflush(stdout) == 0;
}

// What the standard input holds now, at most size bytes (and at least one, unless it ended).
qsizetype readSome(char *into, qsizetype size)
{
#ifdef Q_OS_WIN
    return _read(0, into, unsigned(size));
#else
    ssize_t n;
    while ((n = ::read(0, into, size_t(size))) < 0 && errno == EINTR) {
    }
    return n;
#endif
}

[[noreturn]] void outOfMemory()
{
    std::_Exit(ReaderOutOfMemory);
}

} // namespace

int serveReader()
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#else
    // Whatever the program that started it did with them, a limit passed ends the reader.
    for (int sig : {SIGXCPU, SIGPIPE, SIGSEGV, SIGBUS, SIGABRT})
        std::signal(sig, SIG_DFL);
#endif
#ifdef Q_OS_LINUX
    // The reader never outlives the program that started it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    std::set_new_handler(outOfMemory);
    if (!writeAll(frame(readyPayload())))
        return ReaderDone;
    QByteArray buffer;
    QByteArray payload;
    char chunk[64 * 1024];
    for (;;) {
        const qsizetype n = readSome(chunk, sizeof chunk);
        if (n <= 0)
            return ReaderDone;
        buffer.append(chunk, n);
        for (;;) {
            const FrameState state = takeFrame(buffer, payload, kMaxSourceBytes + 64 * 1024);
            if (state == FrameState::Broken)
                return ReaderBrokenRequest;
            if (state == FrameState::Incomplete)
                break;
            const std::optional<ReaderRequest> request = decodeRequest(payload);
            if (!request)
                return ReaderBrokenRequest;
            payload.clear();
            ReaderAnswer answer;
            try {
                answer.result = parseSource(request->content, request->address, &answer.problem, request->charset);
            } catch (...) {
                // Qt says a failed allocation by throwing: nothing is left to trust.
                outOfMemory();
            }
            if (!writeAll(frame(encodeAnswer(answer))))
                return ReaderDone;
        }
    }
}

} // namespace gratinel::importer
