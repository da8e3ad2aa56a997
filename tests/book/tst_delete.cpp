// The delete page: what it offers to delete, the question, and the records marked deleted.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "store/module1.h"
#include "testbook.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace gratinel;
using namespace gratinel::testbook;
using namespace Qt::StringLiterals;

namespace {

const QColor kDarkRed(192, 0, 0);
const QColor kBlack(0, 0, 0);

// Beside the minimal book (families 2 to 17, recipes 2 to 301 all in "Famille 01"):
constexpr int kFamille01 = 2;
constexpr int kFamille02 = 3;  // protected, no recipe
constexpr int kSoupes = 18;    // "Potage" (302), "Velouté" (303) and the protected "Recette 300" (301)
constexpr int kTartes = 19;    // "Tarte aux pommes" (304) only
constexpr int kVide = 20;      // no recipe
constexpr int kAjoutee = 305;  // "Zeste", an unprotected recipe of "Famille 01"
constexpr int kMoved = 301;

struct Fixture : PageFixture {
    Fixture() : PageFixture(4) {}

    bool start()
    {
        BookBuilder b = minimal();
        b.addFamily(u"Soupes"_s);
        b.addFamily(u"Tartes"_s);
        b.addFamily(u"Vide"_s);
        b.addRecipe(kSoupes, u"Potage"_s, u"Eau"_s);
        b.addRecipe(kSoupes, u"Velouté"_s, u"Crème"_s);
        b.addRecipe(kTartes, u"Tarte aux pommes"_s, u"Pommes"_s);
        b.addRecipe(kFamille01, u"Zeste"_s, u"Citron"_s);
        // A protected recipe moved into an unprotected family.
        return fx.write(b)
               && patchFile(fx.path(u"GRTN2.DAT"_s), (kMoved - 1) * 150 + 2, le32(kSoupes)) && fx.start();
    }
    // Clicks the delete button with the answer given to the question.
    void remove(Platform::Answer answer)
    {
        fx.platform().answerNext(answer);
        QTest::mouseClick(b()->cmdSupprimer, Qt::LeftButton);
    }
    qint16 familyCountOnDisk() const { return fx.familyCountOnDisk(); }
    qint16 familyStateOnDisk(int n) const { return fx.familyStateOnDisk(n); }
};

QColor colourOf(const QWidget *w)
{
    return w->palette().color(qobject_cast<const QLabel *>(w) ? QPalette::WindowText : QPalette::Text);
}

} // namespace

class TestDelete : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageOffersWhatMayBeDeleted_data();
    void pageOffersWhatMayBeDeleted();
    void questionAskedAndNonChangesNothing_data();
    void questionAskedAndNonChangesNothing();
    void deletingFamilyDeletesAllItsListedRecipes();
    void deletingFamilyWithoutRecipesWritesOnlyTheFamilyFile();
    void deletingTheOnlyRecipeLeavesAnEmptyList();
    void missingRecipeFileEndsTheProgramWithNothingWritten();
    void failedWriteEndsTheProgramAndTheBookOpensAgain_data();
    void failedWriteEndsTheProgramAndTheBookOpensAgain();
    void helpButtonOpensTheHelp();
};

void TestDelete::pageOffersWhatMayBeDeleted_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("recipe");
    QTest::addColumn<bool>("familyOption");
    QTest::addColumn<bool>("recipeOption");
    QTest::addColumn<QString>("recipeTitle");
    QTest::newRow("nothing protected") << kSoupes << 303 << true << true << u"Velouté"_s;
    QTest::newRow("protected recipe in a free family") << kSoupes << kMoved << true << false << u"Recette 300"_s;
    QTest::newRow("protected family, free recipe") << kFamille01 << kAjoutee << false << true << u"Zeste"_s;
    QTest::newRow("both protected") << kFamille01 << 2 << false << false << u"Recette 001"_s;
    QTest::newRow("protected family without recipes") << kFamille02 << 0 << false << false << QString();
    QTest::newRow("free family without recipes") << kVide << 0 << true << false << QString();
}

void TestDelete::pageOffersWhatMayBeDeleted()
{
    QFETCH(int, family);
    QFETCH(int, recipe);
    QFETCH(bool, familyOption);
    QFETCH(bool, recipeOption);
    QFETCH(QString, recipeTitle);
    Fixture f;
    QVERIFY(f.start());
    // A protected recipe seen first: nothing of its colour or reason may stay behind.
    f.openOn(kFamille01, 2);
    f.b()->TabStrip1->selectTab(1);
    f.openOn(family, recipe);
    frmRecettes *b = f.b();

    QCOMPARE(b->lblFamilleSupprimer->text(), b->ComboFamilles->currentText());
    QCOMPARE(b->Option3[0]->isEnabled(), familyOption);
    QCOMPARE(colourOf(b->lblFamilleSupprimer), familyOption ? kBlack : kDarkRed);
    QCOMPARE(b->lblFamilleSupprimer->toolTip(),
             familyOption ? QString() : u"Cette famille de recettes ne peut être supprimée"_s);

    QCOMPARE(b->Option3[1]->isEnabled(), recipeOption);
    QCOMPARE(b->lblTitreRecetteSupprimer->text(), recipeTitle);
    QCOMPARE(b->lblFamilleRecetteSupprimer->text(), recipe ? b->ComboFamilles->currentText() : QString());
    QCOMPARE(b->txtTexteRecetteSupprimer->toPlainText(), recipe ? b->txtRecette->toPlainText() : QString());
    const bool recipeRed = recipe && !recipeOption;
    for (QWidget *w : std::initializer_list<QWidget *>{b->lblFamilleRecetteSupprimer, b->lblTitreRecetteSupprimer,
                                                       b->txtTexteRecetteSupprimer}) {
        QCOMPARE(colourOf(w), recipeRed ? kDarkRed : kBlack);
        QCOMPARE(w->toolTip(), recipeRed ? u"Cette recette ne peut être supprimée"_s : QString());
    }

    QCOMPARE(b->cmdSupprimer->isVisibleTo(b), familyOption || recipeOption);
    if (familyOption || recipeOption) {
        // The recipe whenever it may go, else the family.
        const int chosen = recipeOption ? 1 : 0;
        QVERIFY(b->Option3[chosen]->isChecked());
        QCOMPARE(b->window()->focusWidget(), b->Option3[chosen]);
    }
}

void TestDelete::questionAskedAndNonChangesNothing_data()
{
    QTest::addColumn<bool>("family");
    QTest::addColumn<QString>("question");
    QTest::newRow("family") << true
                            << u"Etes-vous sûr de vouloir supprimer cette 'Famille de recettes' ?\r\n\r\n"
                               "(Attention : toutes les recettes de cette famille seront également\r\n"
                               "supprimées.)"_s;
    QTest::newRow("recipe") << false << u"Etes-vous sûr de vouloir supprimer cette 'Recette' ?"_s;
}

void TestDelete::questionAskedAndNonChangesNothing()
{
    QFETCH(bool, family);
    QFETCH(QString, question);
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, 303);
    if (family)
        QTest::mouseClick(f.b()->Option3[0], Qt::LeftButton);
    const QByteArray before = f.files();
    f.remove(Platform::Answer::No);

    QCOMPARE(f.fx.platform().messageTexts(), QStringList{question});
    const ShownMessage &asked = f.fx.platform().messages[0];
    QCOMPARE(asked.icon, Platform::Icon::Warning);
    QCOMPARE(asked.buttons, Platform::Buttons::YesNo);
    QCOMPARE(asked.defaultAnswer, Platform::Answer::No);
    QCOMPARE(f.fx.platform().count(u"beep"_s), 0);
    QCOMPARE(f.files(), before);
    QCOMPARE(f.b()->currentTab, 4);
    QCOMPARE(f.b()->Option3[0]->isChecked(), family);
}

void TestDelete::deletingFamilyDeletesAllItsListedRecipes()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kMoved);
    QVERIFY(f.b()->Option3[0]->isChecked()); // the protected recipe leaves only the family
    const qint16 recipes = f.fx.recipeCountOnDisk();
    const qint16 families = f.familyCountOnDisk();
    const QByteArray texts3 = f.fx.bytes(u"GRTN3.DAT"_s);
    f.remove(Platform::Answer::Yes);

    QCOMPARE(f.fx.platform().messages.size(), size_t(1));
    QCOMPARE(f.fx.recipeCountOnDisk(), qint16(recipes - 3));
    QCOMPARE(f.familyCountOnDisk(), qint16(families - 1));
    QCOMPARE(f.familyStateOnDisk(kSoupes), qint16(kDeleted));
    for (int n : {kMoved, 302, 303}) {
        QCOMPARE(f.fx.recipeStateOnDisk(n), qint16(kDeleted));
        QCOMPARE(f.fx.recipeFieldOnDisk(n, recipefield::familyRecord), kSoupes); // the rest stays
    }
    QCOMPARE(f.fx.recipeStateOnDisk(304), qint16(kInUse));
    QCOMPARE(f.fx.bytes(u"GRTN3.DAT"_s), texts3);

    frmRecettes *b = f.b();
    QCOMPARE(b->currentTab, 1);
    QCOMPARE(f.fx.m().pageCode, qint16(11));
    QCOMPARE(b->ComboFamilles->currentIndex(), 0);
    QCOMPARE(b->ComboFamilles->selectedRecord(), kFamille01);
    QCOMPARE(b->ComboRecettes->count(), 300); // 299 protected ones and "Zeste"
    for (const QComboBox *list : {static_cast<QComboBox *>(b->ComboFamilles), static_cast<QComboBox *>(b->ComboFamillesAjouter),
                                  static_cast<QComboBox *>(b->ComboFamillesModifier)})
        QVERIFY(!texts(list).contains(u"Soupes"_s));
    QCOMPARE(b->ComboFamilles->count(), 18);
    QCOMPARE(f.fx.platform().pointer, Platform::Pointer::Normal);
}

void TestDelete::deletingFamilyWithoutRecipesWritesOnlyTheFamilyFile()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kVide);
    const QByteArray recipes = f.fx.bytes(u"GRTN2.DAT"_s);
    f.remove(Platform::Answer::Yes);
    QCOMPARE(f.fx.bytes(u"GRTN2.DAT"_s), recipes);
    QCOMPARE(f.familyStateOnDisk(kVide), qint16(kDeleted));
    QCOMPARE(f.familyCountOnDisk(), qint16(18));
    QCOMPARE(f.b()->ComboFamilles->entries().rowOfRecord(kVide), -1);
}

void TestDelete::deletingTheOnlyRecipeLeavesAnEmptyList()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kTartes, 304);
    const qint16 recipes = f.fx.recipeCountOnDisk();
    f.remove(Platform::Answer::Yes);
    QCOMPARE(f.fx.recipeStateOnDisk(304), qint16(kDeleted));
    QCOMPARE(f.fx.recipeCountOnDisk(), qint16(recipes - 1));
    QCOMPARE(f.familyStateOnDisk(kTartes), qint16(kInUse));
    frmRecettes *b = f.b();
    QCOMPARE(b->currentTab, 1);
    QCOMPARE(b->ComboFamilles->selectedRecord(), kTartes);
    QCOMPARE(b->ComboRecettes->count(), 0);
    QVERIFY(!b->ComboRecettes->isEnabled());
    QVERIFY(b->txtRecette->toPlainText().isEmpty());
}

void TestDelete::missingRecipeFileEndsTheProgramWithNothingWritten()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kVide);
    const QByteArray families = f.fx.bytes(u"GRTN1.DAT"_s);
    QVERIFY(QFile::rename(f.fx.path(u"GRTN2.DAT"_s), f.fx.path(u"GRTN2.BAK"_s)));
    f.remove(Platform::Answer::Yes);
    const QStringList shown = f.fx.platform().messageTexts();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[1], u"Fichier "_s + f.fx.path(u"GRTN2.DAT"_s) + u"\r\nnon trouvé ou erreur disque."_s);
    QCOMPARE(shown[2], kFatal);
    QVERIFY(f.fx.platform().programEnded());
    QCOMPARE(f.fx.bytes(u"GRTN1.DAT"_s), families);
}

void TestDelete::failedWriteEndsTheProgramAndTheBookOpensAgain_data()
{
    QTest::addColumn<bool>("family");
    QTest::addColumn<bool>("inFamilyFile");
    QTest::addColumn<int>("writesBefore");
    QTest::addColumn<int>("familiesAfter"); // listed at the next start
    QTest::addColumn<QStringList>("soupesAfter");
    QTest::addColumn<bool>("shortWrite"); // half of the failing write's bytes reach the disk
    // The three recipe records follow each other on disk (301 to 303): one write.
    QTest::newRow("recipe records") << true << false << 0 << 19
                                    << QStringList{u"Potage"_s, u"Recette 300"_s, u"Velouté"_s} << false;
    QTest::newRow("recipe header") << true << false << 1 << 19 << QStringList() << false;
    QTest::newRow("family record") << true << true << 0 << 19 << QStringList() << false;
    QTest::newRow("family header") << true << true << 1 << 18 << QStringList() << false;
    QTest::newRow("deleted recipe's record") << false << false << 0 << 19
                                             << QStringList{u"Potage"_s, u"Recette 300"_s, u"Velouté"_s} << false;
    QTest::newRow("recipe count") << false << false << 1 << 19 << QStringList{u"Recette 300"_s, u"Velouté"_s} << false;
    // Written in place, half a record holds its state: the deletion it carries is kept,
    // and the count left too high is healed at the next start.
    // Half of the three records: 301 whole and the state of 302.
    QTest::newRow("recipe records, cut short") << true << false << 0 << 19 << QStringList{u"Velouté"_s} << true;
    QTest::newRow("family record, cut short") << true << true << 0 << 18 << QStringList() << true;
    QTest::newRow("deleted recipe's record, cut short") << false << false << 0 << 19
                                                        << QStringList{u"Recette 300"_s, u"Velouté"_s} << true;
}

void TestDelete::failedWriteEndsTheProgramAndTheBookOpensAgain()
{
    QFETCH(bool, family);
    QFETCH(bool, inFamilyFile);
    QFETCH(int, writesBefore);
    QFETCH(int, familiesAfter);
    QFETCH(QStringList, soupesAfter);
    QFETCH(bool, shortWrite);
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, 302);
    QTest::mouseClick(f.b()->Option3[family ? 0 : 1], Qt::LeftButton);
    auto plan = std::make_shared<FaultPlan>();
    plan->writesBeforeFailure = writesBefore;
    plan->shortWrites = shortWrite;
    Module1 &m = f.fx.m();
    (inFamilyFile ? m.familyFile.file() : m.recipeFile.file()).setFaultPlan(plan);
    f.remove(Platform::Answer::Yes);

    QCOMPARE(f.fx.platform().messageTexts().value(1), kFatal);
    QVERIFY(f.fx.platform().programEnded());

    // What was written stays written; a count left too high is healed at the next start.
    QVERIFY(f.fx.restart());
    frmRecettes *b = f.fx.book();
    QCOMPARE(b->ComboFamilles->count(), familiesAfter);
    const int soupes = b->ComboFamilles->entries().rowOfRecord(kSoupes);
    if (soupes >= 0) {
        choose(b->ComboFamilles, soupes);
        QCOMPARE(texts(b->ComboRecettes), soupesAfter);
    }
    choose(b->ComboFamilles, b->ComboFamilles->entries().rowOfRecord(kFamille01));
    QCOMPARE(b->ComboRecettes->count(), 300); // 299 protected ones and "Zeste"
    choose(b->ComboFamilles, b->ComboFamilles->entries().rowOfRecord(kTartes));
    QCOMPARE(texts(b->ComboRecettes), QStringList{u"Tarte aux pommes"_s});
    QVERIFY(f.fx.platform().messages.empty());
}

void TestDelete::helpButtonOpensTheHelp()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kFamille01, 2); // even with nothing to delete
    QTest::mouseClick(f.b()->cmdAideSupprimer, Qt::LeftButton);
    QCOMPARE(f.fx.platform().calls.filter(u"help:"_s), QStringList{u"help:"_s + f.fx.m().helpFile});
}

QTEST_MAIN(TestDelete)
#include "tst_delete.moc"
