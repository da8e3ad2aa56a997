// A scripted platform for tests: records every call, answers from queues, never blocks.
#pragma once

#include "platform/platform.h"

#include <QQueue>
#include <QStringList>

#include <vector>

namespace gratinel {

struct ShownMessage {
    QString text;
    Platform::Icon icon;
    Platform::Buttons buttons;
    Platform::Answer defaultAnswer;
};

// A printer that writes what it is asked into a log of lines.
class FakePrinter : public Printer {
public:
    bool setFontSize(int points) override;
    int currentX() const override { return x; }
    bool setCurrentX(int twips) override;
    int currentY() const override { return y; }
    bool textWidth(const QString &text, int &twips) override;
    bool textHeight(const QString &text, int &twips) override;
    int printableWidth() const override { return width; }
    int printableHeight() const override { return height; }
    bool print(const QString &text) override;
    bool endLine() override;
    bool newPage() override;
    bool endDoc() override;

    int width = 11000;
    int height = 15000;
    int charWidth = 100;
    int lineHeight = 240;
    int x = 0;
    int y = 0;
    int failAfter = -1; // operations before every operation fails; -1 never
    bool failEndDoc = false; // the system refuses the finished job
    QStringList lines{QString()};
    int pages = 1;
    bool ended = false;

private:
    bool step();
};

class FakePlatform : public Platform {
public:
    Answer msgBox(const QString &text, Icon icon, Buttons buttons, Answer defaultAnswer) override;
    void beep() override;
    void setPointer(Pointer pointer) override;
    std::optional<QString> openFileName(const OpenFileRequest &request) override;
    int shellOpen(const QString &target, const QString &workingDir) override;
    QString helpContents(const QString &helpFile) override;
    void helpQuit(const QString &helpFile) override;
    Printer *startPrintJob() override;
    std::unique_ptr<PagedJob> startPagedJob(const QString &title, const QPageLayout &layout) override;
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString &text) override;
    bool anotherInstanceRunning() override;
    QString executableDir() override { return exeDir; }
    QDate today() override { return date; }
    QDateTime now() override { return QDateTime(date, clock); }
    QImage loadImage(const QString &path) override;
    void endProgram() override;
    bool programEnded() const override { return ended; }

    // Script.
    void answerNext(Answer a) { answers.enqueue(a); }
    void nextOpenFileName(const std::optional<QString> &name) { fileNames.enqueue(name); }
    void nextShellResult(int code) { shellResults.enqueue(code); }

    // What the code asked, in order: "beep", "msgBox", "pointer:hourglass",
    // "pointer:normal", "end", "shell:<target>", "help:<file>", "helpQuit", ...
    QStringList calls;
    std::vector<ShownMessage> messages;
    QQueue<Answer> answers;
    QQueue<std::optional<QString>> fileNames;
    QQueue<int> shellResults;
    std::vector<OpenFileRequest> fileRequests;
    QString clipboard;
    QString exeDir;
    QDate date = QDate(2024, 3, 5);
    QTime clock = QTime(9, 30);
    bool otherInstance = false;
    bool ended = false;
    Pointer pointer = Pointer::Normal;
    QString helpError;
    FakePrinter printer;
    bool printerMissing = false;
    // The print dialog of a paged job: the PDF file chosen (none: cancelled) and its
    // both-sides option.
    QString pagedJobFile;
    bool pagedJobTwoSided = false;

    int count(const QString &call) const { return int(calls.count(call)); }
    QStringList messageTexts() const;
};

} // namespace gratinel
