// Scripted platform for tests.
#include "fakeplatform.h"

#include "platform/imagefile.h"

#include <QPdfWriter>


namespace gratinel {

bool FakePrinter::step()
{
    if (failAfter == 0)
        return false;
    if (failAfter > 0)
        --failAfter;
    return true;
}

bool FakePrinter::setFontSize(int) { return step(); }

bool FakePrinter::setCurrentX(int twips)
{
    if (!step())
        return false;
    // A line's margin shows as spaces, after the mark of a page it starts.
    if ((lines.last().isEmpty() || lines.last() == u"<page>") && twips > 0)
        lines.last() += QString(twips / charWidth, u' ');
    x = twips;
    return true;
}

bool FakePrinter::textWidth(const QString &text, int &twips)
{
    if (!step())
        return false;
    twips = int(text.size()) * charWidth;
    return true;
}

bool FakePrinter::textHeight(const QString &, int &twips)
{
    if (!step())
        return false;
    twips = lineHeight;
    return true;
}

bool FakePrinter::print(const QString &text)
{
    if (!step())
        return false;
    lines.last() += text;
    x += int(text.size()) * charWidth;
    return true;
}

bool FakePrinter::endLine()
{
    if (!step())
        return false;
    lines.append(QString());
    x = 0;
    y += lineHeight;
    return true;
}

bool FakePrinter::newPage()
{
    if (!step())
        return false;
    lines.last() += QStringLiteral("<page>");
    ++pages;
    x = 0;
    y = 0;
    return true;
}

bool FakePrinter::endDoc()
{
    ended = true;
    return step() && !failEndDoc;
}

Platform::Answer FakePlatform::msgBox(const QString &text, Icon icon, Buttons buttons, Answer defaultAnswer)
{
    calls << QStringLiteral("msgBox");
    messages.push_back({text, icon, buttons, defaultAnswer});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::YesNo ? defaultAnswer : Answer::Ok;
}

void FakePlatform::beep()
{
    calls << QStringLiteral("beep");
}

void FakePlatform::setPointer(Pointer p)
{
    pointer = p;
    calls << (p == Pointer::Hourglass ? QStringLiteral("pointer:hourglass") : QStringLiteral("pointer:normal"));
}

std::optional<QString> FakePlatform::openFileName(const OpenFileRequest &request)
{
    calls << QStringLiteral("openFileName");
    fileRequests.push_back(request);
    return fileNames.isEmpty() ? std::nullopt : fileNames.dequeue();
}

int FakePlatform::shellOpen(const QString &target, const QString &)
{
    calls << QStringLiteral("shell:") + target;
    return shellResults.isEmpty() ? 42 : shellResults.dequeue();
}

QString FakePlatform::helpContents(const QString &helpFile)
{
    calls << QStringLiteral("help:") + helpFile;
    return helpError;
}

void FakePlatform::helpQuit(const QString &)
{
    calls << QStringLiteral("helpQuit");
}

Printer *FakePlatform::startPrintJob()
{
    calls << QStringLiteral("printJob");
    return printerMissing ? nullptr : &printer;
}

namespace {

// The job of a print dialog that chose a PDF file.
class FakePagedJob : public PagedJob {
public:
    FakePagedJob(const QString &file, bool twoSided, const QPageLayout &layout) : writer_(file), twoSided_(twoSided)
    {
        writer_.setPageLayout(layout);
    }
    QPagedPaintDevice &device() override { return writer_; }
    bool twoSided() const override { return twoSided_; }
    void abandon() override { abandoned_ = true; }
    bool finish() override { return !abandoned_; }

private:
    QPdfWriter writer_;
    bool twoSided_;
    bool abandoned_ = false;
};

} // namespace

std::unique_ptr<PagedJob> FakePlatform::startPagedJob(const QString &title, const QPageLayout &layout)
{
    calls << QStringLiteral("pagedJob:%1:%2").arg(title, layout.pageSize().name());
    if (pagedJobFile.isEmpty())
        return nullptr;
    return std::make_unique<FakePagedJob>(pagedJobFile, pagedJobTwoSided, layout);
}

void FakePlatform::setClipboardText(const QString &text)
{
    calls << QStringLiteral("setClipboard");
    clipboard = text;
}

bool FakePlatform::anotherInstanceRunning()
{
    calls << QStringLiteral("instanceTest");
    return otherInstance;
}

QImage FakePlatform::loadImage(const QString &path)
{
    calls << QStringLiteral("loadImage:") + path;
    return loadImageFile(path);
}

void FakePlatform::endProgram()
{
    calls << QStringLiteral("end");
    ended = true;
}

QStringList FakePlatform::messageTexts() const
{
    QStringList out;
    for (const ShownMessage &m : messages)
        out << m.text;
    return out;
}

} // namespace gratinel
