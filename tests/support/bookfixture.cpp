// Book fixture: a temporary program folder, start-up through Main, byte reads of the files.
#include "bookfixture.h"

#include "book/frmrecettes.h"
#include "book/recordcombo.h"
#include "book/tabstrip.h"
#include "mainwin/frmmain.h"
#include "mainwin/launch.h"
#include "store/module1.h"
#include "store/records.h"
#include "testbook.h"

#include <QAction>
#include <QComboBox>
#include <QDir>

namespace gratinel {

BookFixture::BookFixture(std::unique_ptr<FakePlatform> platform)
    : platform_(platform ? std::move(platform) : std::make_unique<FakePlatform>())
{
    platform_->exeDir = dir_.path();
    m_ = std::make_unique<Module1>(*platform_, *platform_);
}

BookFixture::~BookFixture()
{
    // The frame holds the module by reference: it goes first.
    delete frame_.data();
}

bool BookFixture::write(const BookBuilder &book)
{
    return dir_.isValid() && book.writeTo(dir_.path()).isOk();
}

bool BookFixture::start()
{
    if (!m_->Main(launchMainWindow))
        return false;
    frame_ = qobject_cast<frmMain *>(m_->mainWindow);
    return frame_ != nullptr;
}

bool BookFixture::start(const BookBuilder &book)
{
    return write(book) && start();
}

bool BookFixture::restart()
{
    delete frame_.data();
    auto fresh = std::make_unique<FakePlatform>();
    fresh->exeDir = dir_.path();
    m_ = std::make_unique<Module1>(*fresh, *fresh);
    platform_ = std::move(fresh);
    return start();
}

QString BookFixture::path(const QString &fileName) const
{
    return m_->programDir.isEmpty() ? QDir(dir_.path()).filePath(fileName) : m_->programDir + fileName;
}

QByteArray BookFixture::bytes(const QString &fileName) const
{
    return testbook::readFile(QDir(dir_.path()).filePath(fileName));
}

// A value no field of these tests holds, for a record the file does not have.
constexpr qint32 kNoRecord = -12345;

qint16 BookFixture::recipeStateOnDisk(int n) const
{
    const QByteArray b = bytes(QStringLiteral("GRTN2.DAT"));
    const qint64 at = qint64(n - 1) * RecipeRecord::kSize;
    return at + 2 <= b.size() ? testbook::int16At(b, at) : qint16(kNoRecord);
}

qint32 BookFixture::recipeFieldOnDisk(int n, int offset) const
{
    const QByteArray b = bytes(QStringLiteral("GRTN2.DAT"));
    const qint64 at = qint64(n - 1) * RecipeRecord::kSize + offset;
    return at + 4 <= b.size() ? testbook::int32At(b, at) : kNoRecord;
}

qint16 BookFixture::recipeCountOnDisk() const
{
    return recipeStateOnDisk(1);
}

qint16 BookFixture::familyStateOnDisk(int n) const
{
    const QByteArray b = bytes(QStringLiteral("GRTN1.DAT"));
    const qint64 at = qint64(n - 1) * FamilyRecord::kSize;
    return at + 2 <= b.size() ? testbook::int16At(b, at) : qint16(kNoRecord);
}

qint16 BookFixture::familyCountOnDisk() const
{
    return familyStateOnDisk(1);
}

QByteArray BookFixture::dataFiles() const
{
    QByteArray all;
    for (const char *name : {"GRTN1.DAT", "GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"})
        all += bytes(QLatin1String(name));
    return all;
}

frmRecettes *BookFixture::book() const
{
    return frame_ ? frame_->recettes() : nullptr;
}

void choose(QComboBox *combo, int row)
{
    combo->setCurrentIndex(row);
    Q_EMIT combo->activated(row);
}

QStringList texts(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

void PageFixture::openOn(int family, int recipe)
{
    choose(b()->ComboFamilles, b()->ComboFamilles->entries().rowOfRecord(family));
    if (recipe)
        choose(b()->ComboRecettes, b()->ComboRecettes->entries().rowOfRecord(recipe));
    b()->TabStrip1->selectTab(tab);
}

namespace {

struct BookCommand {
    const char *name;
    QStringList menuItems;
    QStringList buttons;
};

const QList<BookCommand> &bookCommands()
{
    static const QList<BookCommand> c = {
        {"print", {QStringLiteral("mnuFilePrint"), QStringLiteral("mnuFilePrintLivret")}, {QStringLiteral("Print")}},
        {"cut", {QStringLiteral("mnuEditCut")}, {QStringLiteral("Couper")}},
        {"copy", {QStringLiteral("mnuEditCopy")}, {QStringLiteral("Copier")}},
        {"paste", {QStringLiteral("mnuEditPaste")}, {QStringLiteral("Coller")}},
        {"selectAll", {QStringLiteral("mnuEditSelect")}, {}},
        {"search", {QStringLiteral("mnuEditRechercher")}, {QStringLiteral("Find")}},
        {"send", {QStringLiteral("mnuEditEnvoyer")}, {QStringLiteral("Ttx"), QStringLiteral("Notepad")}},
        {"image", {QStringLiteral("mnuViewImage")}, {QStringLiteral("Camera")}},
    };
    return c;
}

template <class IsOn>
QStringList describe(IsOn isOn)
{
    QStringList out;
    for (const BookCommand &c : bookCommands()) {
        for (const QString &item : c.menuItems)
            out << item + (isOn(c, item, true) ? QStringLiteral("=on") : QStringLiteral("=off"));
        for (const QString &key : c.buttons)
            out << key + (isOn(c, key, false) ? QStringLiteral("=on") : QStringLiteral("=off"));
    }
    return out;
}

} // namespace

QStringList bookCommandStates(const frmMain *frame)
{
    return describe([frame](const BookCommand &, const QString &name, bool menu) {
        const QAction *a = menu ? frame->menuItem(name) : frame->button(name);
        return a && a->isEnabled();
    });
}

QStringList bookCommandStates(const QStringList &on)
{
    return describe([&on](const BookCommand &c, const QString &, bool) { return on.contains(QLatin1String(c.name)); });
}

} // namespace gratinel
