// Start-up, the missing-file check and the fatal-error exit.
#include "store/module1.h"

#include "platform/apptitle.h"
#include "store/bookrestore.h"
#include "store/programdir.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace gratinel {

using Icon = System::Icon;
using Pointer = System::Pointer;

Module1::Module1(System &system) : platform(system), crlf(QStringLiteral("\r\n")) {}
Module1::Module1(System &system, Platform &windows) : Module1(system)
{
    windows_ = &windows;
}

namespace {

template <class Record>
Status openRecords(const QString &path, RecordFile<Record> &file, Record &header, qint16 minimum)
{
    bool whole = false;
    Status s = file.open(path);
    if (s.isOk())
        s = file.isWhole(whole);
    // A record file whose length is not a whole number of records was cut or is not a
    // book file at all: refusing it here keeps every later read and append aligned.
    if (s.isOk() && !whole)
        s = Status::corrupt(QStringLiteral("%1 : la longueur n'est pas un nombre entier d'enregistrements").arg(path));
    if (s.isOk())
        s = file.read(1, header);
    if (s.isOk() && header.state < minimum)
        s = Status::corrupt(QStringLiteral("%1 : l'en-tête compte %2, il en faut au moins %3")
                                .arg(path)
                                .arg(header.state)
                                .arg(minimum));
    return s;
}

} // namespace

template <class Record>
Module1::Opened Module1::openRecordFile(const QString &name, RecordFile<Record> &file, Record &header,
                                        qint16 minimum)
{
    if (!CheckDataFile(name))
        return Opened::Ended;
    return openRecords(pathOf(name), file, header, minimum).isOk() ? Opened::Ok : Opened::Failed;
}

Status Module1::openBook(const QString &dir)
{
    programDir = QDir(dir).absolutePath() + u'/';
    for (const char *name : {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"}) {
        if (!QFileInfo(pathOf(QLatin1String(name))).isFile())
            return Status::notFound(pathOf(QLatin1String(name)));
    }
    Status s = openRecords(pathOf(QStringLiteral("GRTN1.DAT")), familyFile, familyHeader, kMinFamilies);
    if (s.isOk())
        s = openRecords(pathOf(QStringLiteral("GRTN2.DAT")), recipeFile, recipeHeader, kMinRecipes);
    if (s.isOk())
        s = textFile.open(pathOf(QStringLiteral("GRTN3.DAT")));
    if (s.isOk())
        s = imageFile.open(pathOf(QStringLiteral("GRTN4.DAT")));
    if (s.isOk())
        watchChanges();
    return s;
}

void Module1::watchChanges()
{
    familyFile.file().watchChanges(changes.get());
    recipeFile.file().watchChanges(changes.get());
    textFile.file().watchChanges(changes.get());
    imageFile.file().watchChanges(changes.get());
}

// A change that was cut short between appending its record and raising the count leaves
// the count below the number of records in use. The scans stop at the count, so the last
// records would stay out of every list, and later additions with them: the count is raised
// to what the file holds before anything is listed. A failure of this write is ignored, as
// the count in memory is right for this run.
template <class Record>
void raiseLowCount(RecordFile<Record> &file, Record &header, const std::function<void()> &rewrite)
{
    qint32 last = 0;
    if (!file.lastRecord(last).isOk())
        return;
    // Records 2 to last are all the records there can be in use: a count that reaches their
    // number cannot be low, and the file need not be read.
    if (header.state >= last - 1)
        return;
    qint32 inUse = 0;
    // Only the state field of each record is read: nothing is decoded.
    if (!file.scanBytes(2, last, [&](qint32, const char *r) {
                 inUse += Record::stateIn(r) == kInUse;
                 return true;
             }).isOk())
        return;
    inUse = std::min<qint32>(inUse, kMaxCount);
    if (inUse > header.state) {
        header.state = qint16(inUse);
        rewrite();
    }
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

    // A backup's return cut short (by a crash, a pulled plug) is finished before the book is
    // read, so that the book is never half the backup and half what it replaced.
    bookrestore::finishPending(programDir);

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

    watchChanges();
    raiseLowCount(familyFile, familyHeader, [this] { rewriteFamilyHeader(); });
    raiseLowCount(recipeFile, recipeHeader, [this] { rewriteRecipeHeader(); });

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
