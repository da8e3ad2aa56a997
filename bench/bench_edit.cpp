// Changing the largest book, timed twice: through the book's writes (bookedits) with the list
// refreshed as after a validation, and through the page handlers themselves (the add page's
// validation, the delete page's button with its question answered Oui).
//
// A recipe is added to a book of 32766 recipes, so that the addition really happens, and
// compared with the same on the starter book; the recipe is taken away again, untimed, before
// the next run. The family of 5000 recipes is deleted from a fresh copy of the maximal book
// each time. Every run is checked on disk (counts, states, the new record and its text) and
// in the window; the benchmark exits 1 at the first wrong book or result.
#include "figures.h"
#include "maxbook.h"

#include "book/frmrecettes.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "fakeplatform.h"
#include "store/bookedits.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "testbook.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

using namespace gratinel;
using namespace gratinel::bench;

namespace {

const QString kNewText = QStringLiteral(
    "Ingrédients :\n- 3 œufs\n- 250 g de crème fraîche\n\nPréparation :\nFouettez, versez dans le plat beurré "
    "et enfournez 25 min à 200 °C.");

// The first fault a run left, noted once; every later check is skipped.
QString fault;

bool expect(bool condition, const QString &what)
{
    if (!condition && fault.isEmpty())
        fault = what;
    return condition;
}

// Bytes [pos, pos + len) of a data file, pos counted from 1 as the records count it.
QByteArray bytesOnDisk(const QString &dir, const char *file, qint64 pos, qint64 len)
{
    QFile f(QDir(dir).filePath(QLatin1String(file)));
    if (!f.open(QIODevice::ReadOnly) || !f.seek(pos - 1))
        return {};
    return f.read(len);
}

qint16 stateOnDisk(const QString &dir, const char *file, int recordSize, qint32 record)
{
    const QByteArray b = bytesOnDisk(dir, file, qint64(record - 1) * recordSize + 1, 2);
    return b.size() == 2 ? testbook::int16At(b, 0) : qint16(-2);
}

// The recipe added as record, in family, titled title, with the text kNewText, and the
// recipe count at count, on disk.
void checkAdded(const QString &dir, qint32 record, qint32 family, const QString &title, qint16 count)
{
    const QByteArray r = bytesOnDisk(dir, "GRTN2.DAT", qint64(record - 1) * RecipeRecord::kSize + 1, RecipeRecord::kSize);
    if (!expect(r.size() == RecipeRecord::kSize, QStringLiteral("l'enregistrement %1 manque").arg(record)))
        return;
    const RecipeRecord added = RecipeRecord::decode(r.constData());
    QString stored = cp1252::decode(bytesOnDisk(dir, "GRTN3.DAT", added.textPos, added.textLen));
    stored.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    expect(recipesOnDisk(dir) == count, QStringLiteral("%1 recettes comptées au lieu de %2").arg(recipesOnDisk(dir)).arg(count));
    expect(added.state == kInUse && added.familyRecord == family && added.titleText() == title,
           QStringLiteral("l'enregistrement %1 n'est pas la recette ajoutée").arg(record));
    expect(stored == kNewText, QStringLiteral("le texte de la recette %1 n'est pas celui saisi").arg(record));
}

// A book, the program started over it, and the shown family's recipe added again and again.
class Adding {
public:
    explicit Adding(const QString &dir) : dir_(dir), running_(dir)
    {
        if (!expect(running_.started(), QStringLiteral("le programme ne démarre pas sur %1").arg(dir)))
            return;
        count_ = recipesOnDisk(dir);
        family_ = book()->ComboFamilles->selectedRecord();
    }
    bool started() const { return running_.started() && fault.isEmpty(); }

    // Through the book's writes, then the list refreshed and the new recipe shown, as the
    // add page does after them.
    void byWrites()
    {
        frmRecettes *b = book();
        added_ = 0;
        expect(bookedits::addRecipe(running_.m(), family_, nextTitle(), kNewText, QString(), added_).isOk(),
               QStringLiteral("ajout refusé par le livre"));
        b->ComboFamilles_Click();
        b->ComboRecettes->setCurrentIndex(b->ComboRecettes->entries().rowOfRecord(added_));
        b->ComboRecettes_Click();
        QApplication::processEvents();
    }

    // The add page filled in as a user does (untimed), before validate().
    void fillPage()
    {
        frmRecettes *b = book();
        b->TabStrip1->selectTab(2);
        b->selectOption1(1);
        b->ComboFamillesAjouter->setCurrentIndex(b->ComboFamillesAjouter->entries().rowOfRecord(family_));
        b->txtSaisieNomRecette->setText(nextTitle());
        b->txtSaisieRecetteAjouter->setPlainText(kNewText);
        running_.platform().calls.clear();
    }
    // The add page's validation, up to the list page showing the new recipe.
    void validate()
    {
        book()->cmdValideAjouter_Click();
        QApplication::processEvents();
        added_ = book()->ComboRecettes->selectedRecord();
    }

    // Checks the last addition, in the window and on disk, then takes it away (untimed).
    void checkAndUndo()
    {
        frmRecettes *b = book();
        if (!fault.isEmpty())
            return;
        expect(running_.platform().messages.empty() && running_.m().fatalError == 0 && !running_.platform().programEnded(),
               QStringLiteral("l'ajout a affiché « %1 »").arg(running_.platform().messageTexts().join(QStringLiteral(" | "))));
        expect(b->currentTab == 1 && b->ComboRecettes->currentText() == title_,
               QStringLiteral("la liste ne montre pas la recette ajoutée"));
        checkAdded(dir_, added_, family_, title_, qint16(count_ + 1));
        expect(bookedits::deleteRecipe(running_.m(), added_).isOk() && recipesOnDisk(dir_) == count_,
               QStringLiteral("la recette ajoutée ne s'efface pas"));
    }

private:
    frmRecettes *book() const { return running_.book(); }
    QString nextTitle() { return title_ = QStringLiteral("Œufs au lait de Noël, essai %1").arg(++serial_); }

    QString dir_;
    RunningBook running_;
    qint16 count_ = 0;
    qint32 family_ = 0;
    qint32 added_ = 0;
    int serial_ = 0;
    QString title_;
};

// Median time of runs additions on the book in dir, through the handler or the writes.
double addMs(const QString &dir, bool handler, int runs = 9)
{
    Adding adding(dir);
    if (!adding.started())
        return -1;
    bool first = true;
    const double ms = medianMs(
        runs, [&] { handler ? adding.validate() : adding.byWrites(); },
        [&] {
            if (!first)
                adding.checkAndUndo();
            first = false;
            if (handler)
                adding.fillPage();
        });
    adding.checkAndUndo();
    return fault.isEmpty() ? ms : -1;
}

// The family of 5000 recipes deleted from a fresh copy of the maximal book, run after run,
// through the book's writes or the delete page's button.
double deleteFamilyMs(const QString &maxDir, const QString &workDir, const MaxBookInfo &info, bool handler)
{
    std::unique_ptr<RunningBook> running;
    std::vector<qint32> listed;
    const auto check = [&] {
        if (!running || !fault.isEmpty())
            return;
        expect(running->platform().messages.size() == (handler ? 1u : 0u) && running->m().fatalError == 0,
               QStringLiteral("la suppression a affiché « %1 »").arg(running->platform().messageTexts().join(QStringLiteral(" | "))));
        expect(listed.size() == 5000, QStringLiteral("%1 recettes listées au lieu de 5000").arg(listed.size()));
        expect(familiesOnDisk(workDir) == 999 && recipesOnDisk(workDir) == 32767 - 5000,
               QStringLiteral("comptes après suppression : %1 familles, %2 recettes")
                   .arg(familiesOnDisk(workDir))
                   .arg(recipesOnDisk(workDir)));
        expect(stateOnDisk(workDir, "GRTN1.DAT", FamilyRecord::kSize, info.bigFamilyRecord) == kDeleted,
               QStringLiteral("la famille n'est pas marquée supprimée"));
        int stillInUse = 0;
        for (qint32 n : listed)
            stillInUse += stateOnDisk(workDir, "GRTN2.DAT", RecipeRecord::kSize, n) != kDeleted;
        expect(stillInUse == 0, QStringLiteral("%1 recettes de la famille restent").arg(stillInUse));
        if (handler)
            expect(running->book()->ComboFamilles->entries().rowOfRecord(info.bigFamilyRecord) < 0
                       && running->book()->ComboFamilles->count() == 999,
                   QStringLiteral("la liste des familles montre encore la famille supprimée"));
    };
    const double ms = medianMs(
        3,
        [&] {
            if (handler)
                running->book()->cmdSupprimer_Click();
            else
                bookedits::deleteFamily(running->m(), info.bigFamilyRecord, listed);
            QApplication::processEvents();
        },
        [&] {
            check();
            running.reset();
            if (!expect(copyBook(maxDir, workDir), QStringLiteral("copie du livre impossible")))
                return;
            running = std::make_unique<RunningBook>(workDir);
            if (!expect(running->started(), QStringLiteral("le programme ne démarre pas sur le livre maximal")))
                return;
            frmRecettes *book = running->book();
            book->ComboFamilles->setCurrentIndex(book->ComboFamilles->entries().rowOfRecord(info.bigFamilyRecord));
            book->ComboFamilles_Click();
            listed.clear();
            for (int row = 0; row < book->ComboRecettes->count(); ++row)
                listed.push_back(book->ComboRecettes->recordAt(row));
            if (handler) {
                book->TabStrip1->selectTab(4);
                book->selectOption3(0);
                running->platform().answerNext(Platform::Answer::Yes);
            }
            running->platform().calls.clear();
            running->platform().messages.clear();
        });
    check();
    return fault.isEmpty() ? ms : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    prepareDisplay();
    QApplication app(argc, argv);
    QTemporaryDir maxDir, nearlyFullDir, starterDir, workDir;
    MaxBookInfo info;
    MaxBookShape nearlyFull;
    nearlyFull.recipes = 32766;
    QString error;
    if (!writeMaxBook(maxDir.path(), {}, &info).isOk() || !writeMaxBook(nearlyFullDir.path(), nearlyFull).isOk()
        || !makeStarterBook(starterDir.path(), &error)) {
        note(QStringLiteral("bench_edit : livres impossibles à écrire %1").arg(error));
        return 1;
    }
    if (!bookHolds(maxDir.path(), 1000, 32767) || !bookHolds(nearlyFullDir.path(), 1000, 32766))
        return 1;

    const auto failed = [](const char *what) {
        note(QStringLiteral("bench_edit : %1 : %2").arg(QLatin1String(what), fault));
        return 1;
    };
    if (!copyBook(nearlyFullDir.path(), workDir.path()))
        return 1;
    const double addMax = addMs(workDir.path(), false);
    const double addStarter = addMs(starterDir.path(), false);
    if (addMax < 0 || addStarter < 0)
        return failed("ajout par les écritures du livre");
    note(QStringLiteral("ajout d'une recette (écritures du livre) : 32766 recettes %1 ms, livre de départ %2 ms")
             .arg(addMax, 0, 'f', 1)
             .arg(addStarter, 0, 'f', 1));
    figure("add_recipe_max_vs_starter", addMax / addStarter, "x");

    const double handlerMax = addMs(workDir.path(), true);
    const double handlerStarter = addMs(starterDir.path(), true);
    if (handlerMax < 0 || handlerStarter < 0)
        return failed("ajout par la page Ajouter");
    note(QStringLiteral("ajout d'une recette (cmdValideAjouter_Click) : 32766 recettes %1 ms, livre de départ %2 ms")
             .arg(handlerMax, 0, 'f', 1)
             .arg(handlerStarter, 0, 'f', 1));
    figure("add_recipe_handler_max_vs_starter", handlerMax / handlerStarter, "x");

    const double deleteMs = deleteFamilyMs(maxDir.path(), workDir.path(), info, false);
    if (deleteMs < 0)
        return failed("suppression par les écritures du livre");
    figure("delete_family_5000_ms", deleteMs, "ms");
    const double deleteHandlerMs = deleteFamilyMs(maxDir.path(), workDir.path(), info, true);
    if (deleteHandlerMs < 0)
        return failed("suppression par la page Supprimer");
    figure("delete_family_5000_handler_ms", deleteHandlerMs, "ms");
    return 0;
}
