// The platform services on Qt, for the real program.
#pragma once

#include "platform/instancelock.h"
#include "platform/platform.h"

#include <QPointer>

#include <memory>

class QWidget;

namespace gratinel {

class HelpWindow;
class QtPrinter;

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    Answer msgBox(const QString &text, Icon icon, Buttons buttons, Answer defaultAnswer) override;
    void beep() override;
    void setPointer(Pointer pointer) override;
    std::optional<QString> openFileName(const OpenFileRequest &request) override;
    int shellOpen(const QString &target, const QString &workingDir) override;
    QString helpContents(const QString &helpFile) override;
    void helpQuit(const QString &helpFile) override;
    Printer *startPrintJob() override;
    std::unique_ptr<PagedJob> startPagedJob(const QString &title, const QPageLayout &layout) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
    bool anotherInstanceRunning() override;
    QString executableDir() override;
    QDate today() override;
    QDateTime now() override;
    QImage loadImage(const QString &path) override;
    void endProgram() override;
    bool programEnded() const override { return ended_; }

private:
    QWidget *owner() const;

    InstanceLock lock_;
    QPointer<HelpWindow> help_;
    std::unique_ptr<QtPrinter> printer_;
    bool ended_ = false;
    bool hourglass_ = false;
};

} // namespace gratinel
