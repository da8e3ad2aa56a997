// Searching the largest books for a word they do not hold: the time to "Texte non trouvé"
// against grep over the text file, and the program's peak memory on a 1 GB book against
// the starter book (each measured in a child process of its own). Exits 1 when a book is
// not what it must be or a search does not end on its message.
#include "figures.h"
#include "maxbook.h"

#include "fakeplatform.h"
#include "mainwin/frmmain.h"
#include "search/frmrechercher.h"
#include "store/module1.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <cstring>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace gratinel;
using namespace gratinel::bench;

namespace {

constexpr int kRuns = 9;

// One search for word from OK to its end message; true when it ends on "Texte non trouvé".
bool searchAbsent(RunningBook &program, const QString &word)
{
    const size_t before = program.platform().messages.size();
    frmRechercher dialog(program.m(), *program.book(), program.frame());
    dialog.txtSaisie->setText(word);
    dialog.cmdOk_Click();
    const auto &messages = program.platform().messages;
    return messages.size() == before + 1 && messages.back().text == QStringLiteral("Texte non trouvé")
        && program.m().fatalError == 0;
}

// Child: the program started over dir searches once, and leaves; the parent reads its peak.
int runChild(int argc, char *argv[])
{
    prepareDisplay();
    QApplication app(argc, argv);
    RunningBook program(QString::fromLocal8Bit(argv[2]));
    if (!program.started())
        return 2;
    return searchAbsent(program, QString::fromLatin1(kAbsentWord)) ? 0 : 3;
}

// Peak resident memory in kilobytes of this program run as a child over dir; -1 on failure.
long childPeakKb(const QString &dir)
{
    const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
    const QByteArray dirBytes = QFile::encodeName(dir);
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        execl(self.constData(), self.constData(), "--child", dirBytes.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        note(QStringLiteral("bench_search : le processus de mesure a échoué (état %1)").arg(status));
        return -1;
    }
    return usage.ru_maxrss;
}

// grep -c -i -F over the text file, as a user would run it; false when it did not say 0.
bool runGrep(const QString &dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    QProcess grep;
    grep.setProcessEnvironment(env);
    grep.setWorkingDirectory(dir);
    grep.start(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("-i"), QStringLiteral("-F"),
                                        QString::fromLatin1(kAbsentWord), QStringLiteral("GRTN3.DAT")});
    // With no matching line grep -c prints 0 and exits with 1.
    return grep.waitForFinished(-1) && grep.exitCode() == 1 && grep.readAllStandardOutput().trimmed() == "0";
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);

    prepareDisplay();
    QApplication app(argc, argv);
    const QString word = QString::fromLatin1(kAbsentWord);
    bool ok = true;

    {
        QTemporaryDir dir;
        MaxBookInfo info;
        if (!dir.isValid() || !writeMaxBook(dir.path(), {}, &info).isOk() || !bookHolds(dir.path(), 1000, 32767)) {
            note(QStringLiteral("bench_search : impossible d'écrire le livre maximal"));
            return 1;
        }
        RunningBook program(dir.path());
        if (!program.started()) {
            note(QStringLiteral("bench_search : le programme n'a pas démarré sur le livre maximal"));
            return 1;
        }
        note(QStringLiteral("Livre maximal : GRTN3.DAT de %1 octets ; mot cherché « %2 »").arg(info.textFileBytes).arg(word));
        // One untimed run of each brings the files into the system's cache for both.
        ok = searchAbsent(program, word) && runGrep(dir.path());
        const double searchMs = medianMs(kRuns, [&] { ok = searchAbsent(program, word) && ok; });
        const double grepMs = medianMs(kRuns, [&] { ok = runGrep(dir.path()) && ok; });
        if (!ok) {
            note(QStringLiteral("bench_search : la recherche ou grep n'a pas fini comme attendu"));
            return 1;
        }
        note(QStringLiteral("grep -c -i -F %1 GRTN3.DAT : %2 ms").arg(word).arg(grepMs, 0, 'f', 3));
        figure("search_absent_ms", searchMs, "ms");
        figure("search_vs_grep", grepMs / searchMs, "x");
    }

    QTemporaryDir starter;
    QString error;
    if (!starter.isValid() || !makeStarterBook(starter.path(), &error)) {
        note(QStringLiteral("bench_search : livre de départ impossible : %1").arg(error));
        return 1;
    }
    const long starterKb = childPeakKb(starter.path());
    long hugeKb = -1;
    {
        // About 1 GB of texts, removed as soon as it has been measured.
        QTemporaryDir huge;
        MaxBookInfo info;
        if (huge.isValid() && writeHugeBook(huge.path(), 30000, &info).isOk() && bookHolds(huge.path(), 1000, 32767)) {
            note(QStringLiteral("Livre énorme : GRTN3.DAT de %1 octets").arg(info.textFileBytes));
            hugeKb = childPeakKb(huge.path());
        } else {
            note(QStringLiteral("bench_search : impossible d'écrire le livre énorme"));
        }
    }
    if (starterKb <= 0 || hugeKb <= 0)
        return 1;
    note(QStringLiteral("Mémoire maximale après la recherche : livre de départ %1 Ko, livre énorme %2 Ko")
             .arg(starterKb)
             .arg(hugeKb));
    figure("peak_rss_search_huge_vs_starter", double(hugeKb) / double(starterKb), "x");
    return ok ? 0 : 1;
}
