// The modify page: renaming a family, changing a recipe's family, title, text and image path.
#include "bookfixture.h"
#include "book/frmrecettes.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "store/module1.h"
#include "testbook.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace gratinel;
using namespace gratinel::testbook;
using namespace Qt::StringLiterals;

namespace {

// Beside the minimal book (families 2 to 17, recipes 2 to 301 all in family 2):
constexpr int kSoupes = 18;  // "Potage" (302, with the image photo.jpg) and "Velouté" (303)
constexpr int kTartes = 19;  // "Tarte aux pommes" (304); a deleted "Potage" (305)
constexpr int kVide = 20;    // no recipe
constexpr int kPotage = 302;
constexpr int kVeloute = 303;
const QString kPotageText = u"Eau, poireaux\nSel"_s; // 17 bytes once stored

BookBuilder book(const QString &imagePath)
{
    BookBuilder b = minimal();
    b.addFamily(u"Soupes"_s);
    b.addFamily(u"Tartes"_s);
    b.addFamily(u"Vide"_s);
    b.addRecipe(kSoupes, u"Potage"_s, kPotageText, imagePath);
    b.addRecipe(kSoupes, u"Velouté"_s, u"Crème"_s);
    b.addRecipe(kTartes, u"Tarte aux pommes"_s, u"Pommes"_s);
    b.addRecipe(kTartes, u"Potage"_s, u"ancien"_s, {}, kDeleted);
    return b;
}

struct Fixture : PageFixture {
    Fixture() : PageFixture(3) {}
    QString photo; // an existing image file of the folder

    bool start()
    {
        photo = fx.path(u"photo.jpg"_s);
        for (const char *name : {"photo.jpg", "photo.png", "notes.txt", "photo"}) {
            QFile f(fx.path(QString::fromLatin1(name)));
            if (!f.open(QIODevice::WriteOnly))
                return false;
        }
        return fx.start(book(photo));
    }
    void validate() { QTest::mouseClick(b()->cmdValideModifier, Qt::LeftButton); }
    QWidget *focus() const { return b()->window()->focusWidget(); }
};

} // namespace

class TestModify : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void renamingRefusedOrUnchangedWritesNothing_data();
    void renamingRefusedOrUnchangedWritesNothing();
    void renamedFamilyTakesItsPlaceAndShowsTheSameRecipe();
    void familyWithoutRecipesOffersRenamingOnly();
    void recipeTitleRefusals_data();
    void recipeTitleRefusals();
    void movedRecipeLeavesItsFamily();
    void newTextRewrittenInPlaceOrAppended_data();
    void newTextRewrittenInPlaceOrAppended();
    void imagePathChecks_data();
    void imagePathChecks();
    void anUntouchedImageBoxWritesNoImagePath();
    void changeIsOnDiskByteForByteWhenTheHandlerReturns();
    void modeSwitchAndResetPutStoredValuesBack();
    void failedWriteEndsTheProgramAndTheBookOpensAgain_data();
    void failedWriteEndsTheProgramAndTheBookOpensAgain();
    void helpButtonOpensTheHelp();
};

void TestModify::renamingRefusedOrUnchangedWritesNothing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("beep");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("boxAfter");
    QTest::newRow("empty") << u"   "_s << u"Il faut saisir le nouveau nom de la famille de recettes."_s << false << 3
                           << u"Soupes"_s;
    QTest::newRow("same name in capitals") << u" SOUPES "_s << QString() << false << 1 << u"SOUPES"_s;
    QTest::newRow("other family, other case") << u"tarTES"_s << u"Cette famille de recettes existe déjà !"_s << true
                                              << 3 << u"Soupes"_s;
    QTest::newRow("protected family's name") << u"famille 03"_s << u"Cette famille de recettes existe déjà !"_s
                                             << true << 3 << u"Soupes"_s;
}

void TestModify::renamingRefusedOrUnchangedWritesNothing()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(bool, beep);
    QFETCH(int, tab);
    QFETCH(QString, boxAfter);
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes);
    f.b()->selectOption2(0);
    const QByteArray before = f.files();
    f.b()->txtSaisieFamilleModifier->setText(typed);
    f.validate();

    QCOMPARE(f.fx.platform().messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f.fx.platform().count(u"beep"_s), beep ? 1 : 0);
    if (!message.isEmpty())
        QCOMPARE(f.fx.platform().messages[0].icon, Platform::Icon::Information);
    QCOMPARE(f.b()->currentTab, tab);
    QCOMPARE(f.b()->txtSaisieFamilleModifier->text(), boxAfter);
    QCOMPARE(f.focus(), tab == 3 ? static_cast<QWidget *>(f.b()->txtSaisieFamilleModifier)
                                 : static_cast<QWidget *>(f.b()->ComboFamilles));
    QCOMPARE(f.fx.platform().pointer, Platform::Pointer::Normal);
    QCOMPARE(f.files(), before);
}

void TestModify::renamedFamilyTakesItsPlaceAndShowsTheSameRecipe()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kVeloute);
    f.b()->selectOption2(0);
    const QByteArray family = f.fx.bytes(u"GRTN1.DAT"_s);
    f.b()->txtSaisieFamilleModifier->setText(u"  Zakouski à l'œuf "_s);
    f.validate();

    QVERIFY(f.fx.platform().messages.empty());
    QByteArray expected = family;
    expected.replace((kSoupes - 1) * 130 + 2, 128, QByteArray("Zakouski \xE0 l'\x9C" "uf").leftJustified(128, ' '));
    QCOMPARE(f.fx.bytes(u"GRTN1.DAT"_s), expected); // same length, count untouched
    QCOMPARE(f.b()->currentTab, 1);
    QCOMPARE(f.b()->ComboFamilles->selectedRecord(), kSoupes);
    QCOMPARE(f.b()->ComboFamilles->currentText(), u"Zakouski à l'œuf"_s);
    QCOMPARE(f.b()->ComboFamilles->currentIndex(), f.b()->ComboFamilles->count() - 1); // after "Vide"
    QCOMPARE(texts(f.b()->ComboFamillesModifier), texts(f.b()->ComboFamilles));
    QCOMPARE(f.b()->ComboRecettes->selectedRecord(), kVeloute);
    QCOMPARE(f.b()->txtRecette->toPlainText(), u"Crème"_s);
    QCOMPARE(f.focus(), f.b()->ComboFamilles);
    QCOMPARE(f.fx.m().pageCode, qint16(11));
}

void TestModify::familyWithoutRecipesOffersRenamingOnly()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kPotage);
    f.b()->TabStrip1->selectTab(1);
    f.openOn(kVide);
    frmRecettes *b = f.b();
    QVERIFY(b->Option2[0]->isChecked());
    QVERIFY(!b->Option2[1]->isEnabled());
    QCOMPARE(b->txtSaisieFamilleModifier->text(), u"Vide"_s);
    QVERIFY(b->txtSaisieFamilleModifier->isEnabled());
    for (QWidget *w : std::initializer_list<QWidget *>{b->ComboFamillesModifier, b->txtSaisieNomRecetteModifier,
                                                       b->txtSaisieRecetteModifier, b->txtImageModifier,
                                                       b->cmdImageModifier})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(b->txtSaisieNomRecetteModifier->text().isEmpty());
    QVERIFY(b->txtSaisieRecetteModifier->toPlainText().isEmpty());
    QVERIFY(b->txtImageModifier->text().isEmpty()); // not the image of the recipe shown before

    b->txtSaisieFamilleModifier->setText(u"Pleine"_s);
    f.validate();
    QVERIFY(f.fx.platform().messages.empty());
    QCOMPARE(b->ComboFamilles->currentText(), u"Pleine"_s);
    QCOMPARE(b->ComboRecettes->count(), 0);
    QVERIFY(!b->ComboRecettes->isEnabled());
    QCOMPARE(f.fx.bytes(u"GRTN1.DAT"_s).mid((kVide - 1) * 130 + 2, 6), QByteArray("Pleine"));
}

void TestModify::recipeTitleRefusals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("family");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<QString>("focus");
    QTest::newRow("empty") << u"  "_s << kSoupes << u"Il faut donner un titre à la recette."_s << u"Potage"_s
                           << u"txtSaisieNomRecetteModifier"_s;
    QTest::newRow("other recipe of the family") << u"  VELOUTé "_s << kSoupes << u"Cette recette existe déjà"_s
                                                << u"VELOUTé"_s << u"txtSaisieNomRecetteModifier"_s;
    QTest::newRow("recipe of the target family") << u"tarte AUX pommes"_s << kTartes
                                                 << u"Cette recette existe déjà dans cette famille"_s
                                                 << u"tarte AUX pommes"_s << u"ComboFamillesModifier"_s;
}

void TestModify::recipeTitleRefusals()
{
    QFETCH(QString, typed);
    QFETCH(int, family);
    QFETCH(QString, message);
    QFETCH(QString, boxAfter);
    QFETCH(QString, focus);
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kPotage);
    const QByteArray before = f.files();
    f.b()->ComboFamillesModifier->setCurrentIndex(f.b()->ComboFamillesModifier->entries().rowOfRecord(family));
    f.b()->txtSaisieNomRecetteModifier->setText(typed);
    // A refused image would be reported after the title only.
    f.b()->txtImageModifier->setText(u"notes.txt"_s);
    f.validate();

    QCOMPARE(f.fx.platform().messageTexts(), QStringList{message});
    QCOMPARE(f.fx.platform().count(u"beep"_s), 0);
    QCOMPARE(f.b()->currentTab, 3);
    QCOMPARE(f.b()->txtSaisieNomRecetteModifier->text(), boxAfter);
    QCOMPARE(f.focus()->objectName(), focus);
    QCOMPARE(f.files(), before);
}

void TestModify::movedRecipeLeavesItsFamily()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kPotage);
    const qint16 count = f.fx.recipeCountOnDisk();
    // Tartes holds a deleted "Potage": it does not count.
    f.b()->ComboFamillesModifier->setCurrentIndex(f.b()->ComboFamillesModifier->entries().rowOfRecord(kTartes));
    f.validate();

    QCOMPARE(f.fx.platform().messageTexts(), QStringList());
    QCOMPARE(f.fx.recipeFieldOnDisk(kPotage, recipefield::familyRecord), kTartes);
    QCOMPARE(f.fx.recipeCountOnDisk(), count);
    QCOMPARE(f.b()->currentTab, 1);
    QCOMPARE(f.b()->ComboFamilles->selectedRecord(), kTartes);
    QCOMPARE(texts(f.b()->ComboRecettes), (QStringList{u"Potage"_s, u"Tarte aux pommes"_s}));
    QCOMPARE(f.b()->ComboRecettes->selectedRecord(), kPotage);
    choose(f.b()->ComboFamilles, f.b()->ComboFamilles->entries().rowOfRecord(kSoupes));
    QCOMPARE(texts(f.b()->ComboRecettes), QStringList{u"Velouté"_s});
}

void TestModify::newTextRewrittenInPlaceOrAppended_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // the text after trimming
    QTest::addColumn<bool>("inPlace");
    // A text is written over the stored one only when it is that text or its beginning, so
    // that a change cut short never leaves a half-overwritten text behind.
    QTest::newRow("cut short, spaces trimmed") << u"  Eau, poireaux  "_s << u"Eau, poireaux"_s << true;
    QTest::newRow("unchanged") << kPotageText << kPotageText << true;
    QTest::newRow("shorter but other") << u"Eau\nSel"_s << u"Eau\nSel"_s << false;
    QTest::newRow("one character longer") << u"Eau, poireaux\nSel!"_s << u"Eau, poireaux\nSel!"_s << false;
    QTest::newRow("emptied") << u"   "_s << QString() << false;
}

void TestModify::newTextRewrittenInPlaceOrAppended()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(bool, inPlace);
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kPotage);
    const qint32 oldPos = f.fx.recipeFieldOnDisk(kPotage, recipefield::textPos);
    const QByteArray textsBefore = f.fx.bytes(u"GRTN3.DAT"_s);
    f.b()->txtSaisieRecetteModifier->setPlainText(typed);
    f.b()->txtSaisieNomRecetteModifier->setText(u" Potage "_s); // its own title is no duplicate
    f.validate();

    QCOMPARE(f.fx.platform().messageTexts(), QStringList());
    QCOMPARE(f.b()->txtSaisieRecetteModifier->toPlainText(), stored);
    QCOMPARE(f.b()->txtSaisieNomRecetteModifier->text(), u"Potage"_s);
    const QByteArray bytes = stored.toLatin1().replace("\n", "\r\n");
    const QByteArray textsAfter = f.fx.bytes(u"GRTN3.DAT"_s);
    const qint32 pos = f.fx.recipeFieldOnDisk(kPotage, recipefield::textPos);
    QCOMPARE(f.fx.recipeFieldOnDisk(kPotage, recipefield::textLen), qint32(bytes.size()));
    if (stored.isEmpty()) {
        QCOMPARE(pos, 0);
        QCOMPARE(textsAfter, textsBefore);
    } else if (inPlace) {
        QCOMPARE(pos, oldPos);
        QCOMPARE(textsAfter.size(), textsBefore.size());
    } else {
        QCOMPARE(pos, qint32(textsBefore.size() + 1));
        QCOMPARE(textsAfter.size(), textsBefore.size() + bytes.size());
    }
    if (!stored.isEmpty())
        QCOMPARE(textsAfter.mid(pos - 1, bytes.size()), bytes);
    QCOMPARE(f.b()->ComboRecettes->selectedRecord(), kPotage);
    QCOMPARE(f.b()->txtRecette->toPlainText(), stored);
}

void TestModify::imagePathChecks_data()
{
    QTest::addColumn<QString>("typed"); // a file name of the folder, or empty
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<bool>("written");
    const QString notImage = u"Ce fichier n'est pas un fichier image."_s;
    const QString notViewable = u"Ce type de fichier ne sera pas affichable par le visualisateur interne d'images."_s;
    const QString missing = u"Ce fichier n'existe pas."_s;
    QTest::newRow("viewable") << u"photo.jpg"_s << QStringList() << 0 << true;
    QTest::newRow("not viewable") << u"photo.png"_s << QStringList{notViewable} << 0 << true;
    QTest::newRow("missing") << u"absente.JPG"_s << QStringList{missing} << 1 << false;
    QTest::newRow("not viewable and missing") << u"absente.png"_s << QStringList{notViewable, missing} << 1 << false;
    QTest::newRow("refused type") << u"notes.txt"_s << QStringList{notImage} << 1 << false;
    QTest::newRow("no dot") << u"photo"_s << QStringList{notImage} << 1 << false;
    QTest::newRow("ending in a dot") << u"photo."_s << QStringList{notImage} << 1 << false;
    QTest::newRow("emptied") << QString() << QStringList() << 0 << true;
}

void TestModify::imagePathChecks()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(int, beeps);
    QFETCH(bool, written);
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kPotage);
    const QByteArray before = f.files();
    const QByteArray paths = f.fx.bytes(u"GRTN4.DAT"_s);
    const QString path = typed.isEmpty() ? QString() : f.fx.path(typed);
    f.b()->txtImageModifier->setText(u"  "_s + path + u" "_s);
    f.validate();

    QCOMPARE(f.fx.platform().messageTexts(), messages);
    QCOMPARE(f.fx.platform().count(u"beep"_s), beeps);
    if (!written) {
        QCOMPARE(f.files(), before);
        QCOMPARE(f.b()->currentTab, 3);
        QCOMPARE(f.b()->txtImageModifier->text(), f.photo); // the stored path again
        QCOMPARE(f.focus(), f.b()->cmdImageModifier);
        return;
    }
    QCOMPARE(f.b()->currentTab, 1);
    QCOMPARE(f.b()->txtImageModifier->text(), path);
    if (path.isEmpty()) {
        QCOMPARE(f.fx.recipeFieldOnDisk(kPotage, recipefield::imagePos), 0);
        QCOMPARE(f.fx.recipeFieldOnDisk(kPotage, recipefield::imageLen), 0);
        QCOMPARE(f.fx.bytes(u"GRTN4.DAT"_s), paths);
    } else {
        QCOMPARE(f.fx.recipeFieldOnDisk(kPotage, recipefield::imagePos), qint32(paths.size() + 1));
        QCOMPARE(f.fx.bytes(u"GRTN4.DAT"_s), paths + path.toLatin1());
    }
    QCOMPARE(f.b()->imagePath(), path);
}

void TestModify::anUntouchedImageBoxWritesNoImagePath()
{
    Fixture f;
    QVERIFY(f.start());
    const QByteArray paths = f.fx.bytes(u"GRTN4.DAT"_s);
    const qint32 imagePos = f.fx.recipeFieldOnDisk(kPotage, recipefield::imagePos);
    for (int i = 0; i < 2; ++i) {
        f.openOn(kSoupes, kPotage);
        f.validate();
    }
    QCOMPARE(f.fx.platform().messageTexts(), QStringList());
    QCOMPARE(f.fx.bytes(u"GRTN4.DAT"_s), paths);
    QCOMPARE(f.fx.recipeFieldOnDisk(kPotage, recipefield::imagePos), imagePos);
}

void TestModify::changeIsOnDiskByteForByteWhenTheHandlerReturns()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kPotage);
    const QByteArray before = f.fx.bytes(u"GRTN2.DAT"_s);
    const qint32 imagePos = f.fx.recipeFieldOnDisk(kPotage, recipefield::imagePos);
    const qint64 texts = f.fx.bytes(u"GRTN3.DAT"_s).size();
    f.b()->ComboFamillesModifier->setCurrentIndex(f.b()->ComboFamillesModifier->entries().rowOfRecord(kVide));
    f.b()->txtSaisieNomRecetteModifier->setText(u"Soupe à l'oignon"_s);
    f.b()->txtSaisieRecetteModifier->setPlainText(u"Oignons"_s);
    f.validate();

    // Read through a handle of its own, not the program's.
    QFile file(f.fx.path(u"GRTN2.DAT"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QByteArray record = le16(kInUse) + le32(kVide) + QByteArray("Soupe \xE0 l'oignon").leftJustified(128, ' ')
                        + le32(qint32(texts + 1))
                        + le32(7) + le32(imagePos) + le32(qint32(f.photo.size()));
    QByteArray expected = before;
    expected.replace((kPotage - 1) * 150, 150, record);
    QCOMPARE(after, expected);
    QCOMPARE(f.b()->ComboFamilles->selectedRecord(), kVide);
    QCOMPARE(f.b()->ComboRecettes->selectedRecord(), kPotage);
}

void TestModify::modeSwitchAndResetPutStoredValuesBack()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kPotage);
    frmRecettes *b = f.b();
    QVERIFY(b->Option2[1]->isChecked());
    QVERIFY(!b->txtSaisieFamilleModifier->isEnabled());
    QCOMPARE(f.focus(), b->ComboFamillesModifier);
    const auto type = [b] {
        b->ComboFamillesModifier->setCurrentIndex(0);
        b->txtSaisieNomRecetteModifier->setText(u"x"_s);
        b->txtSaisieRecetteModifier->setPlainText(u"y"_s);
        b->txtImageModifier->setText(u"z"_s);
    };
    const auto storedValuesBack = [&] {
        QCOMPARE(b->txtSaisieFamilleModifier->text(), u"Soupes"_s);
        QCOMPARE(b->ComboFamillesModifier->selectedRecord(), kSoupes);
        QCOMPARE(b->txtSaisieNomRecetteModifier->text(), u"Potage"_s);
        QCOMPARE(b->txtSaisieRecetteModifier->toPlainText(), kPotageText);
        QCOMPARE(b->txtImageModifier->text(), f.photo);
    };

    // The family mode locks the recipe inputs with their stored values.
    type();
    QTest::mouseClick(b->Option2[0], Qt::LeftButton);
    QVERIFY(b->Option2[0]->isChecked());
    storedValuesBack();
    QVERIFY(!b->ComboFamillesModifier->isEnabled() && !b->txtImageModifier->isEnabled());
    QCOMPARE(f.focus(), b->txtSaisieFamilleModifier);
    // And the recipe mode locks the family name with its stored value.
    b->txtSaisieFamilleModifier->setText(u"w"_s);
    QTest::mouseClick(b->Option2[1], Qt::LeftButton);
    QCOMPARE(b->txtSaisieFamilleModifier->text(), u"Soupes"_s);
    QVERIFY(b->ComboFamillesModifier->isEnabled() && b->txtImageModifier->isEnabled());

    // The reset button asks nothing.
    type();
    b->txtSaisieFamilleModifier->setText(u"w"_s);
    QTest::mouseClick(b->cmdEffacerModifier, Qt::LeftButton);
    storedValuesBack();
    QCOMPARE(b->txtSaisieNomRecetteModifier->cursorPosition(), 0);
    QVERIFY(f.fx.platform().messages.empty());
    QCOMPARE(f.focus(), b->ComboFamillesModifier);
}

void TestModify::failedWriteEndsTheProgramAndTheBookOpensAgain_data()
{
    QTest::addColumn<bool>("rename");
    QTest::addColumn<QString>("file"); // the file whose first write fails
    QTest::addColumn<bool>("shortWrite"); // half of its bytes reach the disk first
    QTest::newRow("family record") << true << u"GRTN1.DAT"_s << false;
    for (bool shortWrite : {false, true}) {
        const char *how = shortWrite ? ", cut short" : "";
        QTest::addRow("text bytes%s", how) << false << u"GRTN3.DAT"_s << shortWrite;
        QTest::addRow("image path bytes%s", how) << false << u"GRTN4.DAT"_s << shortWrite;
        QTest::addRow("recipe record%s", how) << false << u"GRTN2.DAT"_s << shortWrite;
    }
}

void TestModify::failedWriteEndsTheProgramAndTheBookOpensAgain()
{
    QFETCH(bool, rename);
    QFETCH(QString, file);
    QFETCH(bool, shortWrite);
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes, kPotage);
    const QByteArray records = f.fx.bytes(u"GRTN1.DAT"_s) + f.fx.bytes(u"GRTN2.DAT"_s);
    const qint64 textsLength = f.fx.bytes(u"GRTN3.DAT"_s).size();
    auto plan = std::make_shared<FaultPlan>();
    plan->writesBeforeFailure = 0;
    plan->shortWrites = shortWrite;
    Module1 &m = f.fx.m();
    DataFile *target = file == u"GRTN1.DAT"_s ? &m.familyFile.file()
                       : file == u"GRTN2.DAT"_s ? &m.recipeFile.file()
                       : file == u"GRTN3.DAT"_s ? &m.textFile.file()
                                                : &m.imageFile.file();
    target->setFaultPlan(plan);
    if (rename) {
        f.b()->selectOption2(0);
        f.b()->txtSaisieFamilleModifier->setText(u"Potages"_s);
    } else {
        f.b()->txtSaisieRecetteModifier->setPlainText(kPotageText + u" et plus"_s);
        const QString other = f.fx.path(u"autre.jpg"_s);
        QVERIFY(writeFile(other, "JFIF"));
        f.b()->txtImageModifier->setText(other);
    }
    f.validate();

    QCOMPARE(f.fx.platform().messageTexts().value(0), kFatal);
    QCOMPARE(f.fx.platform().messages[0].icon, Platform::Icon::Critical);
    QVERIFY(f.fx.platform().programEnded());
    // Nothing a record points to was changed: the book is as it was, and a text cut short
    // was taken back off the end of its file.
    QCOMPARE(f.fx.bytes(u"GRTN1.DAT"_s) + f.fx.bytes(u"GRTN2.DAT"_s), records);
    if (file == u"GRTN3.DAT")
        QCOMPARE(f.fx.bytes(u"GRTN3.DAT"_s).size(), textsLength);

    QVERIFY(f.fx.restart());
    frmRecettes *b = f.fx.book();
    QCOMPARE(b->ComboFamilles->count(), 19);
    choose(b->ComboFamilles, b->ComboFamilles->entries().rowOfRecord(kSoupes));
    QCOMPARE(texts(b->ComboRecettes), (QStringList{u"Potage"_s, u"Velouté"_s}));
    QCOMPARE(b->txtRecette->toPlainText(), kPotageText);
    choose(b->ComboFamilles, b->ComboFamilles->entries().rowOfRecord(2));
    QCOMPARE(b->ComboRecettes->count(), 300);
    QVERIFY(f.fx.platform().messages.empty());
}

void TestModify::helpButtonOpensTheHelp()
{
    Fixture f;
    QVERIFY(f.start());
    f.openOn(kSoupes);
    QTest::mouseClick(f.b()->cmdAideModifier, Qt::LeftButton);
    QCOMPARE(f.fx.platform().calls.filter(u"help:"_s), QStringList{u"help:"_s + f.fx.m().helpFile});
    QCOMPARE(f.b()->currentTab, 3);
}

QTEST_MAIN(TestModify)
#include "tst_modify.moc"
