// The reader process started, limited, fed and watched with QProcess.
#include "importer/pagereader.h"

#include "importer/readerlimits.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace gratinel::importer {

namespace {

// How often a waiting read looks at the reader's time and at stop.
constexpr int kSliceMs = 20;
// Time a reader has to start and say it is ready.
constexpr int kStartMs = 15000;

int scaled(int base, int perMb, qsizetype bytes)
{
    return base + int(qint64(perMb) * bytes / (1024 * 1024));
}

} // namespace

PageReader::PageReader() : PageReader(Limits()) {}

PageReader::PageReader(const Limits &limits) : limits_(limits) {}

PageReader::~PageReader()
{
    end();
}

QString PageReader::program()
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("gratinel-reader.exe");
#else
    const QString name = QStringLiteral("gratinel-reader");
#endif
    if (QCoreApplication::instance()) {
        const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
        if (QFileInfo(beside).isExecutable())
            return beside;
    }
    return QStringLiteral(GRATINEL_BUILD_READER);
}

bool PageReader::start(QString &problem)
{
    if (process_)
        return true;
    const QString path = program();
    process_ = std::make_unique<QProcess>();
    process_->setProgram(path);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(QIODevice::ReadWrite);
    ++started_;
    bool ready = process_->waitForStarted(kStartMs);
    if (ready) {
        // Its first words say that it runs; its limits are set before it is given anything.
        QDeadlineTimer deadline(kStartMs);
        QByteArray buffer;
        QByteArray payload;
        FrameState state = FrameState::Incomplete;
        while (state == FrameState::Incomplete && !deadline.hasExpired()
               && (process_->bytesAvailable() > 0 || process_->waitForReadyRead(int(deadline.remainingTime())))) {
            buffer += process_->readAllStandardOutput();
            state = takeFrame(buffer, payload, 1024);
        }
        system_ = std::make_unique<ReaderLimits>();
        ready = state == FrameState::Complete && payload == readyPayload() && buffer.isEmpty()
                && system_->limitMemory(process_->processId(), limits_.addressSpace);
    }
    if (!ready) {
        end();
        problem = QStringLiteral("le lecteur de pages %1 ne démarre pas").arg(QDir::toNativeSeparators(path));
    }
    return ready;
}

void PageReader::end()
{
    if (process_) {
        process_->kill();
        process_->waitForFinished(5000);
    }
    process_.reset();
    system_.reset();
}

ReadOutcome PageReader::read(const ReaderRequest &request, const std::function<bool()> &stop)
{
    ReadOutcome out;
    if (stop && stop()) {
        out.stopped = true;
        return out;
    }
    if (!start(out.problem))
        return out;
    const qint64 pid = process_->processId();
    const qint64 cpuAllowed = scaled(limits_.cpuBaseMs, limits_.cpuMsPerMb, request.content.size());
    const qint64 cpuBefore = ReaderLimits::processorMs(pid);
    system_->limitProcessorTime(pid, cpuAllowed);
    QDeadlineTimer deadline(scaled(limits_.deadlineBaseMs, limits_.deadlineMsPerMb, request.content.size()));
    const auto failed = [&](const QString &why) {
        end();
        out.problem = why;
        return out;
    };

    process_->write(frame(encodeRequest(request)));
    QByteArray buffer;
    QByteArray payload;
    QDeadlineTimer nextLook(0);
    for (;;) {
        // The limits are looked at once a slice, however fast the bytes come and go.
        if (nextLook.hasExpired()) {
            nextLook.setRemainingTime(kSliceMs);
            if (stop && stop()) {
                end();
                out.stopped = true;
                return out;
            }
            const qint64 cpu = cpuBefore < 0 ? -1 : ReaderLimits::processorMs(pid);
            if (deadline.hasExpired() || (cpu >= 0 && cpu - cpuBefore > cpuAllowed))
                return failed(tooHeavy());
        }
        if (process_->bytesToWrite() > 0)
            process_->waitForBytesWritten(kSliceMs);
        else
            process_->waitForReadyRead(kSliceMs);
        buffer += process_->readAllStandardOutput();
        switch (takeFrame(buffer, payload, kMaxReaderAnswerBytes)) {
        case FrameState::Incomplete:
            // A reader that ended without its answer passed a limit (memory, processor).
            if (process_->state() == QProcess::NotRunning && process_->bytesAvailable() == 0)
                return failed(tooHeavy());
            continue;
        case FrameState::Broken:
            return failed(tooHeavy());
        case FrameState::Complete:
            break;
        }
        std::optional<ReaderAnswer> answer = decodeAnswer(payload);
        if (!answer || !buffer.isEmpty())
            return failed(tooHeavy());
        out.result = std::move(answer->result);
        out.problem = answer->problem;
        return out;
    }
}

} // namespace gratinel::importer
