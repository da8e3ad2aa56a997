// The book tool run as a program, as a user runs it from a terminal.
#pragma once

#include <QString>
#include <QStringList>

namespace gratinel {

struct ToolRun {
    int exitCode = -1; // -1 when it did not end normally within two minutes
    QString out;
    QString err;
};

// Runs program with args and waits for its end while this process's event loop goes on (so
// that a test's own local web server keeps answering the tool).
// The tool starts in workingDir when one is given.
ToolRun runTool(const QString &program, const QStringList &args, const QString &workingDir = {});

} // namespace gratinel
