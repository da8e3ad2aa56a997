// The book tool on the largest book: check (which reads every record and never writes) and
// export, each timed as the user runs them, a whole process from start to end. Exits 1 when
// a command fails or the export does not hold every family and recipe of the book.
#include "testpaths.h"
#include "figures.h"
#include "maxbook.h"

#include "store/booksource.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace gratinel;
using namespace gratinel::bench;

namespace {

bool runTool(const QStringList &args)
{
    QProcess p;
    p.start(testpaths::bookTool(), args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid() || !writeMaxBook(dir.path()).isOk() || !bookHolds(dir.path(), 1000, 32767)) {
        note(QStringLiteral("bench_book : impossible d'écrire le livre"));
        return 1;
    }
    bool ok = true;
    figure("book_check_max_ms", medianMs(7, [&] { ok = runTool({QStringLiteral("check"), dir.path()}) && ok; }), "ms");
    const QString out = dir.filePath(QStringLiteral("export.txt"));
    figure("book_export_max_ms",
           medianMs(
               5, [&] { ok = runTool({QStringLiteral("export"), dir.path(), out}) && ok; },
               [&] { QFile::remove(out); }),
           "ms");
    if (!ok) {
        note(QStringLiteral("bench_book : une commande a échoué"));
        return 1;
    }
    // The export reads back as the whole book.
    booksource::Source source;
    if (!booksource::readFile(out, source).isOk() || source.families.size() != 1000 || source.recipeCount() != 32767) {
        note(QStringLiteral("bench_book : l'export relu compte %1 familles et %2 recettes au lieu de 1000 et 32767")
                 .arg(source.families.size())
                 .arg(source.recipeCount()));
        return 1;
    }
    return 0;
}
