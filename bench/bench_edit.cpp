// Changing the largest book: a new recipe validated until the list shows it (against the
// same on the starter book), and the family of 5000 recipes deleted. Every write reaches
// the disk, as in the program.
#include "figures.h"
#include "maxbook.h"

#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "fakeplatform.h"
#include "store/bookedits.h"
#include "store/module1.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

using namespace gratinel;
using namespace gratinel::bench;

namespace {

const QString kNewText = QStringLiteral(
    "Ingrédients :\n- 3 œufs\n- 250 g de crème fraîche\n\nPréparation :\nFouettez, versez dans le plat beurré "
    "et enfournez 25 min à 200 °C.");

// The shown family gets a new recipe, then the list page shows it, as after a validation.
double addRecipeMs(const QString &dir, int runs)
{
    RunningBook running(dir);
    if (!running.started())
        return -1;
    frmRecettes *book = running.book();
    int serial = 0;
    return medianMs(runs, [&] {
        const qint32 family = book->ComboFamilles->selectedRecord();
        qint32 record = 0;
        bookedits::addRecipe(running.m(), family, QStringLiteral("Œufs au lait de Noël, essai %1").arg(++serial),
                             kNewText, QString(), record);
        book->ComboFamilles_Click();
        book->ComboRecettes->setCurrentIndex(book->ComboRecettes->entries().rowOfRecord(record));
        book->ComboRecettes_Click();
        QApplication::processEvents();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    prepareDisplay();
    QApplication app(argc, argv);
    QTemporaryDir maxDir, starterDir, workDir;
    MaxBookInfo info;
    QString error;
    if (!writeMaxBook(maxDir.path(), {}, &info).isOk() || !makeStarterBook(starterDir.path(), &error)) {
        note(QStringLiteral("bench_edit : livres impossibles à écrire %1").arg(error));
        return 1;
    }
    note(QStringLiteral("bench_edit : ajout et suppression mesurés par les écritures du livre (bookedits), "
                        "les pages Ajouter et Supprimer n'étant pas encore là"));

    if (!copyBook(maxDir.path(), workDir.path()))
        return 1;
    const double addMax = addRecipeMs(workDir.path(), 9);
    const double addStarter = addRecipeMs(starterDir.path(), 9);
    note(QStringLiteral("ajout d'une recette : livre maximal %1 ms, livre de départ %2 ms")
             .arg(addMax, 0, 'f', 1)
             .arg(addStarter, 0, 'f', 1));
    figure("add_recipe_max_vs_starter", addMax / addStarter, "x");

    std::unique_ptr<RunningBook> running;
    std::vector<qint32> listed;
    figure("delete_family_5000_ms", medianMs(
               3,
               [&] { bookedits::deleteFamily(running->m(), info.bigFamilyRecord, listed); },
               [&] {
                   running.reset();
                   copyBook(maxDir.path(), workDir.path());
                   running = std::make_unique<RunningBook>(workDir.path());
                   frmRecettes *book = running->book();
                   book->ComboFamilles->setCurrentIndex(book->ComboFamilles->entries().rowOfRecord(info.bigFamilyRecord));
                   book->ComboFamilles_Click();
                   listed.clear();
                   for (int row = 0; row < book->ComboRecettes->count(); ++row)
                       listed.push_back(book->ComboRecettes->recordAt(row));
               }), "ms");
    return 0;
}
