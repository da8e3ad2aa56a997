// The subcommands of gratinel-book and what they share: messages, exit statuses, the folder lock.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace gratinel {

class InstanceLock;

namespace booktool {

// Exit statuses.
constexpr int kAllWell = 0;
constexpr int kSomethingWrong = 1;
constexpr int kUsage = 2;

// A line on the standard output, or on the error output with the tool's name in front.
void say(const QString &line);
int fail(const QString &message);

// Takes the folder lock of dir, then finishes a backup's return that was cut short. False,
// with the message given, when the program (or another writing command) has the book open.
bool lockBook(InstanceLock &lock, const QString &dir);
// lockBook, then the check that changes need: a book that repair would change is refused,
// with "lancez-le d'abord, " and nothingDone said. False when refused (and said).
bool lockForChanges(InstanceLock &lock, const QString &dir, const QString &nothingDone);

// Copies the book of dir into dest (the dated default folder when dest is empty), under the
// lock the caller holds, and says where; false when it failed (and was said). With
// allowMissing, the files of the book that are there are copied.
bool takeBackup(const QString &dir, const QString &dest = {}, bool allowMissing = false);

// While it lives, an interruption (Ctrl+C, SIGTERM, SIGHUP) does not end the tool at once but
// is noted, so that a long write can stop between two whole items.
class StopRequest {
public:
    StopRequest();
    ~StopRequest();
    StopRequest(const StopRequest &) = delete;
    StopRequest &operator=(const StopRequest &) = delete;
    bool requested() const;
};

int create(const QString &dir, const QString &source);
int check(const QString &dir);
int repair(const QString &dir);
int backup(const QString &dir, const QString &dest);
int exportBook(const QString &dir, const QString &file);
// Lists the backups of the book of dir (which empty), or puts the backup which (a name of the
// list or a folder) in place of the book, after checking it and backing the book up.
int restore(const QString &dir, const QString &which);
// Adds the recipes of every source (a file or an http(s) address) to the book of dir; with
// family not empty, all in that family.
int importBook(const QString &dir, const QStringList &sources, const QString &family);
// Lists the image paths of the book of dir that do not open (oldStart empty), or rewrites
// every image path that starts with oldStart to start with newStart.
int images(const QString &dir, const QString &oldStart, const QString &newStart);
// The tool's application: a GUI one, on no display, for the booklet's fonts and painting.
std::unique_ptr<QCoreApplication> application(int &argc, char **argv);
// livret DOSSIER SORTIE.pdf [--famille NOM]... [--sans-images] [--a5] [--recto-verso];
// usage says what is malformed.
int livretCommand(const QStringList &args, const std::function<int(const QString &)> &usage);

} // namespace booktool
} // namespace gratinel
