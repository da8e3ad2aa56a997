// Messages and the folder lock, shared by the subcommands.
#include "commands.h"

#include "platform/instancelock.h"
#include "store/bookcheck.h"
#include "store/bookrestore.h"

#include <QDir>

#include <csignal>
#include <cstdio>

namespace gratinel::booktool {

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void noteStop(int signal)
{
    stopSignal = signal;
}

#ifdef SIGHUP
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
#else
constexpr int kStopSignals[] = {SIGINT, SIGTERM};
#endif

} // namespace

StopRequest::StopRequest()
{
    stopSignal = 0;
    for (int s : kStopSignals)
        std::signal(s, noteStop);
}

StopRequest::~StopRequest()
{
    for (int s : kStopSignals)
        std::signal(s, SIG_DFL);
}

bool StopRequest::requested() const
{
    return stopSignal != 0;
}

void say(const QString &line)
{
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

int fail(const QString &message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "gratinel-book : %s\n", qPrintable(message));
    return kSomethingWrong;
}

bool lockBook(InstanceLock &lock, const QString &dir)
{
    if (lock.tryLock(dir)) {
        bool finished = false;
        const Status s = bookrestore::finishPending(dir, &finished);
        if (finished)
            say(QStringLiteral("La remise en place d'une sauvegarde, interrompue, a été terminée."));
        if (s.isOk())
            return true;
        fail(QStringLiteral("la remise en place d'une sauvegarde a été interrompue et ne peut pas être terminée (%1).")
                 .arg(s.message()));
        return false;
    }
    fail(QStringLiteral("Gratinel a le livre de %1 ouvert : fermez le programme, puis recommencez.")
             .arg(QDir(dir).absolutePath()));
    return false;
}

bool lockForChanges(InstanceLock &lock, const QString &dir, const QString &nothingDone)
{
    if (!lockBook(lock, dir))
        return false;
    // Changes rely on exact counts and ranges: a book that repair would change is refused.
    if (bookcheck::check(dir).fixable() == 0)
        return true;
    fail(QStringLiteral("le livre a des erreurs que « gratinel-book repair %1 » répare : lancez-le d'abord, %2.")
             .arg(dir, nothingDone));
    return false;
}

} // namespace gratinel::booktool
