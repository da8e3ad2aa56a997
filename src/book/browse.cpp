// Browsing: the family lists, the recipe list of the selected family, the shown recipe.
#include "book/frmrecettes.h"

#include "book/commandswitches.h"
#include "book/exacttext.h"
#include "book/familyscan.h"
#include "book/imagepaths.h"
#include "book/recordcombo.h"
#include "store/cp1252.h"
#include "store/module1.h"

#include <QPlainTextEdit>

#include <vector>

namespace gratinel {

namespace {

// The longest text a text box shows.
constexpr qint32 kMaxShownText = 30000;

} // namespace

void frmRecettes::selectFamilyEntry(int row)
{
    ComboFamilles->setCurrentIndex(row);
    ComboFamilles_Click();
}

void frmRecettes::selectRecipeEntry(int row)
{
    ComboRecettes->setCurrentIndex(row);
    ComboRecettes_Click();
}

void frmRecettes::FillFamilyLists()
{
    std::vector<ListEntry> found;
    const qint16 wanted = m_.familyCount();
    qint32 last = 0;
    Status s = m_.familyFile.lastRecord(last);
    if (s.isOk() && wanted > 0) {
        // Stops at familyCount in-use families, or at the last record when the count
        // on disk claims more families than there are.
        int count = 0;
        s = m_.familyFile.scanBytes(2, last, [&](qint32 n, const char *r) {
            if (FamilyRecord::stateIn(r) == kInUse) {
                ++count;
                found.push_back({FamilyRecord::nameTextIn(r), n});
            }
            return count != wanted;
        });
    }
    if (!s.isOk())
        m_.fatalError = -1;
    else if (wanted > 0 && qint16(found.size()) != wanted) {
        // The scan met the last record before familyCount families (a deletion cut short
        // before its count was lowered): the number found becomes the count, as for recipes.
        m_.familyHeader.state = qint16(found.size());
        m_.rewriteFamilyHeader();
    }

    // The three lists show the same families: when they start empty, they share one sort.
    const bool empty = ComboFamilles->count() == 0 && ComboFamillesAjouter->count() == 0
        && ComboFamillesModifier->count() == 0;
    ComboFamilles->entries().addEntries(empty ? std::move(found) : found);
    if (empty) {
        ComboFamillesAjouter->entries().copyFrom(ComboFamilles->entries());
        ComboFamillesModifier->entries().copyFrom(ComboFamilles->entries());
    } else {
        ComboFamillesAjouter->entries().addEntries(found);
        ComboFamillesModifier->entries().addEntries(std::move(found));
    }

    if (m_.fatalError == -1)
        m_.ShowFatalError();
}

void frmRecettes::refillFamilyLists()
{
    ComboFamilles->entries().clear();
    ComboFamillesAjouter->entries().clear();
    ComboFamillesModifier->entries().clear();
    FillFamilyLists();
}

void frmRecettes::ComboFamilles_Click()
{
    if (ComboRecettes->isEnabled())
        ComboRecettes->entries().clear();
    else
        ComboRecettes->setEnabled(true);
    FillRecipeList();
}

void frmRecettes::FillRecipeList()
{
    m_.platform.setPointer(Platform::Pointer::Hourglass);
    Status s = m_.CheckDataFile(QStringLiteral("GRTN2.DAT")) ? Status::ok() : Status::notFound(QStringLiteral("GRTN2.DAT"));

    FamilyRecipes found;
    if (s.isOk())
        s = scanFamilyRecipes(m_, ComboFamilles->selectedRecord(), found);
    if (!s.isOk()) {
        m_.fatalError = -1;
        m_.ShowFatalError();
        return;
    }

    if (found.inUse != m_.recipeCount()) {
        // The scan met the last record before recipeCount recipes: the count on disk was
        // too high, and the number actually found becomes the count.
        m_.recipeHeader.state = qint16(found.inUse);
        m_.rewriteRecipeHeader();
    }

    ComboRecettes->entries().addEntries(std::move(found.entries));
    if (ComboRecettes->count() > 0) {
        txtRecette->setEnabled(true);
        selectRecipeEntry(0);
        if (m_.platform.programEnded())
            return;
    } else {
        ComboRecettes->setEnabled(false);
        txtRecette->clear();
        txtRecette->setEnabled(false);
        // Nothing is shown, so there is no image to offer either.
        setImagePath(QString());
        storedImagePath_.clear();
        setImageCommands(false);
    }
    m_.platform.setPointer(Platform::Pointer::Normal);
}

void frmRecettes::ComboRecettes_Click()
{
    ShowRecipe();
}

void frmRecettes::setImageCommands(bool enabled)
{
    commands_.setMenuEnabled(QStringLiteral("mnuViewImage"), enabled);
    commands_.setButtonEnabled(QStringLiteral("Camera"), enabled);
}

void frmRecettes::ShowRecipe()
{
    Platform &platform = m_.windows();
    platform.setPointer(Platform::Pointer::Hourglass);

    Status s;
    for (const char *name : {"GRTN2.DAT", "GRTN3.DAT", "GRTN4.DAT"}) {
        if (!m_.CheckDataFile(QString::fromLatin1(name))) {
            s = Status::notFound(QString::fromLatin1(name));
            break;
        }
    }

    const qint32 n = ComboRecettes->selectedRecord();
    RecipeRecord &work = m_.recipeWork;
    if (s.isOk())
        s = m_.recipeFile.read(n, work);

    if (s.isOk()) {
        QByteArray bytes;
        // A damaged range shows what the file holds of it; the book tool repairs it.
        if (work.textPos >= 1)
            s = m_.textFile.readAvailable(work.textPos, qMin(work.textLen, kMaxShownText), bytes);
        shownTextCut_ = work.textPos >= 1 && work.textLen > kMaxShownText;
        // A cut between the two bytes of a line end would show a line of its own.
        if (shownTextCut_ && bytes.endsWith('\r'))
            bytes.chop(1);
        if (s.isOk())
            txtRecette->setPlainText(cp1252::decodeText(bytes));
    }

    if (s.isOk()) {
        storedImagePath_.clear();
        if (work.imagePos == 0) {
            setImagePath(QString());
            setImageCommands(false);
        } else {
            QByteArray bytes;
            bool outside = false;
            s = m_.imageFile.readAvailable(work.imagePos, work.imageLen, bytes, &outside);
            if (s.isOk()) {
                const QString path = cp1252::decode(bytes);
                storedImagePath_ = path;
                QString file;
                const imagepaths::Presence presence =
                    outside ? imagepaths::Presence::Unreachable : imagepaths::imagePresence(path, &file);
                setImagePath(file);
                setImageCommands(presence == imagepaths::Presence::Present);
                bool warn = false;
                if (presence == imagepaths::Presence::Gone) {
                    // The image is gone: the recipe forgets it for good, so that the
                    // warning comes once.
                    work.imagePos = 0;
                    work.imageLen = 0;
                    s = m_.recipeFile.write(n, work);
                    storedImagePath_.clear();
                    warn = s.isOk();
                } else if (presence == imagepaths::Presence::Unreachable && !outside) {
                    // Its folder may come back (a key plugged in, a share mounted, the
                    // book tool's "images --remplacer"): the link is kept, and said once.
                    warn = !unreachableImagesSaid_.contains(n);
                    unreachableImagesSaid_.insert(n);
                }
                // A damaged range is not a vanished image: nothing is written or said.
                if (warn) {
                    platform.setPointer(Platform::Pointer::Normal);
                    platform.msgBox(QStringLiteral("Le fichier image") + m_.crlf + path + m_.crlf
                                        + QStringLiteral("n'a pas été trouvé."),
                                    Platform::Icon::Warning);
                    platform.setPointer(Platform::Pointer::Hourglass);
                }
            }
        }
    }

    if (!s.isOk())
        m_.fatalError = -1;
    if (m_.fatalError == -1) {
        m_.ShowFatalError();
        return;
    }
    platform.setPointer(Platform::Pointer::Normal);
    txtRecette->setFocus();
}

} // namespace gratinel
