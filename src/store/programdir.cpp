// The program directory rules, as pure functions of the executable's directory.
#include "store/programdir.h"

namespace gratinel {

namespace {

bool hasDriveLetter(const QString &dir)
{
    return dir.size() >= 2 && dir[1] == u':' && dir[0].unicode() < 128 && dir[0].isLetter();
}

} // namespace

bool isDrivePath(const QString &dir)
{
    return hasDriveLetter(dir) || dir.startsWith(QStringLiteral("\\\\"));
}

QString programDirFor(const QString &exeDir)
{
    if (isDrivePath(exeDir)) {
        QString dir = exeDir.toUpper();
        dir.replace(u'/', u'\\');
        if (!dir.endsWith(u'\\'))
            dir += u'\\';
        return dir;
    }
    QString dir = exeDir;
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

bool isFloppyDir(const QString &programDir)
{
    if (!hasDriveLetter(programDir))
        return false;
    const QChar drive = programDir[0].toUpper();
    return drive == u'A' || drive == u'B';
}

} // namespace gratinel
