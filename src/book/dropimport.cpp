// Recipes dropped on the add page: pages, files and links fill the page for review.
#include "book/frmrecettes.h"

#include "book/limitedtextedit.h"
#include "book/recordcombo.h"
#include "importer/importer.h"
#include "importer/pagefetcher.h"
#include "importer/photo.h"
#include "store/cp1252.h"
#include "store/module1.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

namespace gratinel {

using Icon = Platform::Icon;
using Pointer = Platform::Pointer;

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

void frmRecettes::fillAddPageFrom(const QString &source)
{
    Platform &platform = m_.windows();
    const bool link = importer::isLink(source);
    const auto refuse = [&](const QString &message) {
        platform.setPointer(Pointer::Normal);
        platform.msgBox(message, Icon::Information);
    };
    platform.setPointer(Pointer::Hourglass);
    const importer::PageFetcher fetcher(fetchTimeoutMs);
    QByteArray content;
    QString address = source;
    if (link) {
        const importer::Fetched page = fetcher.fetch(QUrl(source));
        if (!page.ok())
            return refuse(importer::pageError(source, page.reason));
        content = page.body;
        address = page.finalUrl.toString();
    } else {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly))
            return refuse(QStringLiteral("Le fichier %1 ne peut pas être lu.").arg(QDir::toNativeSeparators(source)));
        content = file.read(importer::kMaxSourceBytes + 1);
        address = QFileInfo(source).fileName();
    }
    QString problem;
    const importer::ParseResult found = importer::parseSource(content, address, &problem);
    if (!problem.isEmpty())
        return refuse(QStringLiteral("%1 n'a pas été lu : %2.").arg(source, problem));
    if (found.recipes.empty() && !found.refused.isEmpty())
        return refuse(QStringLiteral("Aucune recette de %1 ne peut aller dans le livre : %2.").arg(source, found.refused.join(QStringLiteral(" ; "))));
    if (found.recipes.empty())
        return refuse(QStringLiteral("Aucune recette n'a été trouvée dans %1.").arg(source));
    const importer::Recipe &r = found.recipes.front();

    // The photo of a link, or of a saved page that gives its full address.
    QString imagePath;
    QString photoProblem;
    if (!r.imageUrl.isEmpty()) {
        const QUrl photoUrl = QUrl(link ? address : r.source).resolved(QUrl(r.imageUrl));
        if (importer::isLink(photoUrl.toString())) {
            const importer::Fetched photo = fetcher.fetchFromPage(photoUrl, QUrl(link ? address : r.source));
            photoProblem = photo.reason;
            if (photo.ok())
                if (const std::optional<QString> path = importer::storePhoto(photo.body, m_.programDir, r.title, photoProblem))
                    imagePath = *path;
        }
    }

    selectOption1(1);
    // The family as the book tool would choose it, among the families the book has.
    for (const QString &category : r.categories) {
        const QString wanted = cp1252::storable(category.trimmed()).toUpper();
        const RecordListModel &entries = ComboFamillesAjouter->entries();
        int row = -1;
        for (int i = 0; i < entries.count() && row < 0; ++i)
            if (entries.at(i).text.toUpper() == wanted)
                row = i;
        if (row >= 0) {
            ComboFamillesAjouter->setCurrentIndex(row);
            break;
        }
    }
    txtSaisieNomRecette->setText(r.title);
    txtSaisieRecetteAjouter->setPlainText(r.text);
    txtImageAjouter->setText(imagePath);
    platform.setPointer(Pointer::Normal);

    QStringList said;
    if (found.recipesFound > 1)
        said << QStringLiteral("%1 recettes ont été trouvées dans %2 : la première est affichée.").arg(found.recipesFound).arg(source);
    if (!r.changes.isEmpty())
        said << QStringLiteral("Caractères que le livre ne peut pas garder, %1.").arg(r.changes.describe());
    for (const QString &remark : r.remarks)
        said << remark.left(1).toUpper() + remark.mid(1) + u'.';
    if (r.shortened)
        said << QStringLiteral("Le texte a été raccourci à %1 octets.").arg(importer::kMaxTextBytes);
    if (!photoProblem.isEmpty() && imagePath.isEmpty())
        said << QStringLiteral("La photo n'a pas pu être lue : %1.").arg(photoProblem);
    if (!said.isEmpty())
        platform.msgBox(said.join(m_.crlf), Icon::Information);
    txtSaisieNomRecette->setFocus();
}

} // namespace gratinel
