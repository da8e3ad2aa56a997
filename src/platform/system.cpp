// The window-less system services.
#include "platform/system.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace gratinel {

System::Answer ConsoleSystem::msgBox(const QString &text, Icon, Buttons, Answer defaultAnswer)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", qPrintable(shown));
    return defaultAnswer;
}

bool ConsoleSystem::anotherInstanceRunning()
{
    return !lock_.tryLock(executableDir());
}

QString ConsoleSystem::executableDir()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace gratinel
