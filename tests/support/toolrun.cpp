// Runs of the book tool for the tool's tests.
#include "toolrun.h"

#include <QProcess>
#include <QSignalSpy>

namespace gratinel {

ToolRun runTool(const QString &program, const QStringList &args, const QString &workingDir)
{
    QProcess p;
    p.setWorkingDirectory(workingDir);
    QSignalSpy finished(&p, &QProcess::finished);
    p.start(program, args);
    if (!finished.wait(120000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace gratinel
