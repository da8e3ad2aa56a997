// Start-up, the missing-file check and the fatal-error exit.
#include "store/module1.h"

#include "platform/apptitle.h"
#include "store/programdir.h"

#include <QFileInfo>

namespace gratinel {

using Icon = Platform::Icon;
using Pointer = Platform::Pointer;

Module1::Module1(Platform &p) : platform(p), crlf(QStringLiteral("\r\n")) {}

template <class Record>
Module1::Opened Module1::openRecordFile(const QString &name, RecordFile<Record> &file, Record &header,
                                        qint16 minimum)
{
    if (!CheckDataFile(name))
        return Opened::Ended;
    bool whole = false;
    if (!file.open(pathOf(name)).isOk() || !file.isWhole(whole).isOk())
        return Opened::Failed;
    // A record file whose length is not a whole number of records was cut or is not a
    // book file at all: refusing it here keeps every later read and append aligned.
    if (!whole || !file.read(1, header).isOk())
        return Opened::Failed;
    return header.state < minimum ? Opened::Failed : Opened::Ok;
}

Module1::Opened Module1::openByteStream(const QString &name, ByteStream &file)
{
    if (!CheckDataFile(name))
        return Opened::Ended;
    return file.open(pathOf(name)).isOk() ? Opened::Ok : Opened::Failed;
}

bool Module1::Main(const std::function<QWidget *(Module1 &)> &createMainWindow)
{
    platform.setPointer(Pointer::Hourglass);
    crlf = QStringLiteral("\r\n");

    if (platform.anotherInstanceRunning()) {
        platform.setPointer(Pointer::Normal);
        platform.msgBox(QStringLiteral("Cette application est déjà en cours"), Icon::Information);
        platform.endProgram();
        return false;
    }

    programDir = programDirFor(platform.executableDir());
    if (isFloppyDir(programDir)) {
        platform.setPointer(Pointer::Normal);
        platform.msgBox(appTitle() + QStringLiteral(" ne fonctionne pas à partir d'une disquette."), Icon::Information);
        platform.endProgram();
        return false;
    }

    helpFile = pathOf(QStringLiteral("grt.hlp"));

    // Each file is checked, opened and validated before the next one is looked at.
    QString current;
    Opened opened = Opened::Ok;
    const auto step = [&](const QString &name, auto &&open) {
        if (opened != Opened::Ok)
            return;
        current = name;
        opened = open(name);
    };
    step(QStringLiteral("GRTN1.DAT"),
         [&](const QString &n) { return openRecordFile(n, familyFile, familyHeader, kMinFamilies); });
    step(QStringLiteral("GRTN2.DAT"),
         [&](const QString &n) { return openRecordFile(n, recipeFile, recipeHeader, kMinRecipes); });
    step(QStringLiteral("GRTN3.DAT"), [&](const QString &n) { return openByteStream(n, textFile); });
    step(QStringLiteral("GRTN4.DAT"), [&](const QString &n) { return openByteStream(n, imageFile); });

    if (opened == Opened::Ended) {
        platform.endProgram();
        return false;
    }
    if (opened == Opened::Failed) {
        platform.setPointer(Pointer::Normal);
        platform.beep();
        platform.msgBox(QStringLiteral("Fichier") + crlf + pathOf(current) + crlf
                            + QStringLiteral("non trouvé ou incompatible ou erreur disque."),
                        Icon::Critical);
        platform.endProgram();
        return false;
    }

    mainWindow = createMainWindow(*this);
    return mainWindow != nullptr && !platform.programEnded();
}

bool Module1::CheckDataFile(const QString &fileName)
{
    const QString path = pathOf(fileName);
    if (!fileName.isEmpty() && QFileInfo(path).isFile())
        return true;
    platform.setPointer(Pointer::Normal);
    platform.beep();
    platform.msgBox(QStringLiteral("Fichier ") + path + crlf + QStringLiteral("non trouvé ou erreur disque."),
                    Icon::Critical);
    return false;
}

void Module1::ShowFatalError()
{
    // An outer handler that finds the flag after an inner one already ended the program
    // must not show the message a second time.
    if (platform.programEnded())
        return;
    platform.setPointer(Pointer::Normal);
    platform.beep();
    platform.msgBox(QStringLiteral("Erreur fatale. Impossibilité de continuer."), Icon::Critical);
    platform.endProgram();
}

} // namespace gratinel
