// Recipes dropped on the add page: pages, files and links fill the page for review.
#include "book/frmrecettes.h"

#include "book/dropreading.h"
#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "importer/pagefetcher.h"
#include "importer/sourceimport.h"
#include "store/module1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

namespace gratinel {

using Icon = Platform::Icon;

namespace {

// The file or link a drop carries, or an empty text when it carries none (plain text then
// goes into the box as usual).
QString droppedSource(const QMimeData *mime)
{
    if (mime->hasUrls() && !mime->urls().isEmpty()) {
        const QUrl url = mime->urls().constFirst();
        if (url.isLocalFile())
            return url.toLocalFile();
        if (importer::isLink(url.toString()))
            return url.toString();
    }
    if (mime->hasText() && importer::isLink(mime->text()) && !mime->text().trimmed().contains(u'\n'))
        return mime->text().trimmed();
    return {};
}

} // namespace

void frmRecettes::acceptDropsOnAddPage()
{
    dropReading_ = new DropReading(this);
    connect(dropReading_, &DropReading::finished, this, &frmRecettes::showDroppedRecipe);
    const QList<QWidget *> targets = {Frame1[2], txtSaisieNomRecette, txtSaisieRecetteAjouter,
                                      txtSaisieRecetteAjouter->viewport(), txtImageAjouter};
    for (QWidget *w : targets) {
        w->setAcceptDrops(true);
        w->installEventFilter(this);
    }
}

bool frmRecettes::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QWidget::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    const QString source = droppedSource(drop->mimeData());
    if (source.isEmpty())
        return QWidget::eventFilter(watched, event);
    drop->acceptProposedAction();
    // The page is read once the drop is over: the program it was dragged from never waits.
    if (type == QEvent::Drop)
        QTimer::singleShot(0, this, [this, source] { fillAddPageFrom(source); });
    return true;
}

bool frmRecettes::readingDrop() const
{
    return dropReading_->busy();
}

void frmRecettes::fillAddPageFrom(const QString &source)
{
    Platform &platform = m_.windows();
    if (dropReading_->busy()) {
        platform.msgBox(QStringLiteral("%1 est encore en cours de lecture : déposez l'autre page quand celle-ci sera affichée.")
                            .arg(dropReading_->source()),
                        Icon::Information);
        return;
    }
    // The families as the lists show them, so that the page's family is the one the tool
    // would choose; one recipe is shown, and its photo only named until the page is validated.
    importer::SourceOptions options;
    options.bookDir = m_.programDir;
    const RecordListModel &entries = ComboFamillesAjouter->entries();
    for (int i = 0; i < entries.count(); ++i)
        options.bookFamilies << entries.at(i).text;
    options.maxRecipes = 1;
    options.fetchPhotos = false;
    options.photosOfSavedPages = true;
    options.bookText = false;
    options.timeoutMs = fetchTimeoutMs;
    // The hourglass on the page only: the rest of the window, and the page itself, stay usable.
    Frame1[2]->setCursor(Qt::BusyCursor);
    dropReading_->start(source, options);
}

void frmRecettes::showDroppedRecipe()
{
    Frame1[2]->unsetCursor();
    const importer::SourceRead &read = dropReading_->result();
    const QString &source = dropReading_->source();
    // The cook went elsewhere meanwhile: what was typed there is not overwritten.
    if (read.stopped || currentTab != 2 || m_.platform.programEnded())
        return;
    Platform &platform = m_.windows();
    if (read.recipes.empty()) {
        platform.msgBox(read.failure, Icon::Information);
        return;
    }
    const importer::SourceRecipe &found = read.recipes.front();
    const importer::Recipe &r = found.recipe;

    selectOption1(1);
    const RecordListModel &entries = ComboFamillesAjouter->entries();
    for (int i = 0; i < entries.count(); ++i)
        if (entries.at(i).text.toUpper() == found.family.toUpper()) {
            ComboFamillesAjouter->setCurrentIndex(i);
            break;
        }
    txtSaisieNomRecette->setText(r.title);
    txtSaisieRecetteAjouter->setPlainText(r.text);
    droppedPhoto_.reset();
    if (!found.photoUrl.isEmpty())
        droppedPhoto_ = DroppedPhoto{QString::fromLatin1(found.photoUrl.toEncoded()), found.photoPage.toString()};
    txtImageAjouter->setText(droppedPhoto_ ? droppedPhoto_->url : QString());

    QStringList said;
    if (read.recipesFound > 1)
        said << QStringLiteral("%1 recettes ont été trouvées dans %2 : la première est affichée.").arg(read.recipesFound).arg(source);
    if (!r.changes.isEmpty())
        said << QStringLiteral("Caractères que le livre ne peut pas garder, %1.").arg(r.changes.describe());
    for (const QString &remark : r.remarks)
        said << remark.left(1).toUpper() + remark.mid(1) + u'.';
    if (r.shortened)
        said << QStringLiteral("Le texte a été raccourci à %1 octets.").arg(importer::kMaxTextBytes);
    if (!said.isEmpty())
        platform.msgBox(said.join(m_.crlf), Icon::Information);
    txtSaisieNomRecette->setFocus();
}

} // namespace gratinel
