// The system services as the book tool has them: no window, no message box; it never asks.
#pragma once

#include "platform/platform.h"

#include <QDir>

namespace gratinel::booktool {

class ToolPlatform : public Platform {
public:
    Answer msgBox(const QString &, Icon, Buttons, Answer defaultAnswer) override { return defaultAnswer; }
    void beep() override {}
    void setPointer(Pointer) override {}
    std::optional<QString> openFileName(const OpenFileRequest &) override { return std::nullopt; }
    int shellOpen(const QString &, const QString &) override { return kNoAssociation; }
    QString helpContents(const QString &) override { return QStringLiteral("pas d'aide"); }
    void helpQuit(const QString &) override {}
    Printer *startPrintJob() override { return nullptr; }
    QString clipboardText() override { return {}; }
    void setClipboardText(const QString &) override {}
    bool anotherInstanceRunning() override { return false; }
    QString executableDir() override { return QDir::currentPath(); }
    QDate today() override { return QDate::currentDate(); }
    QImage loadImage(const QString &) override { return {}; }
    void endProgram() override { ended_ = true; }
    bool programEnded() const override { return ended_; }

private:
    bool ended_ = false;
};

} // namespace gratinel::booktool
