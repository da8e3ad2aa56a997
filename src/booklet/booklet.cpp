// The booklet's two passes: the first counts pages and sizes photos, the second paints.
#include "booklet/booklet.h"

#include "book/frenchorder.h"
#include "booklet/bookletstyle.h"
#include "booklet/pagelists.h"
#include "booklet/pagewriter.h"
#include "booklet/photoqueue.h"
#include "booklet/photoreader.h"
#include "booklet/recipeplacer.h"
#include "booklet/textflow.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <set>

namespace gratinel {

namespace {

constexpr qreal kPhotoDpi = 150; // pixels per inch kept of a photo as printed
constexpr qreal kScreenDpi = 96; // a photo's own size: its pixels as a screen shows them

QString recipesCount(int n)
{
    return n == 1 ? QStringLiteral("1 recette") : QStringLiteral("%1 recettes").arg(n);
}

// The letter an index entry is listed under: the first character's, without its accent;
// none for a title that starts with a digit or a sign.
QString indexLetter(const QString &title)
{
    if (title.isEmpty() || !title.at(0).isLetter())
        return {};
    const QChar base = QString(title.at(0)).normalized(QString::NormalizationForm_D).at(0).toUpper();
    if (base == u'Œ')
        return QStringLiteral("O");
    if (base == u'Æ')
        return QStringLiteral("A");
    return QString(base);
}

} // namespace

struct Booklet::Plan {
    bool painting = false;
    std::vector<int> chapterPage;
    std::vector<std::vector<int>> recipePage;
    std::vector<std::vector<QSizeF>> photoSize; // points; empty when the recipe prints none
    std::vector<PhotoQueue::Job> photos;        // in the order they are printed
    PhotoQueue *queue = nullptr;                // while painting
    int done = 0;
    int total = 0;
};

Status Booklet::load(const BookletOptions &options)
{
    options_ = options;
    families_.clear();
    std::vector<BookletFamily> all;
    Status s = source_.families(all);
    if (!s.isOk())
        return s;
    const std::set<qint32> wanted(options.families.begin(), options.families.end());
    for (BookletFamily &f : all) {
        if (wanted.empty() || wanted.count(f.record))
            families_.push_back(std::move(f));
    }
    s = source_.fillRecipes(families_);
    if (s.isOk() && wanted.empty()) {
        // The whole book: a family without recipes makes no chapter.
        families_.erase(std::remove_if(families_.begin(), families_.end(),
                                       [](const BookletFamily &f) { return f.recipes.empty(); }),
                        families_.end());
    }
    return s;
}

int Booklet::recipeCount() const
{
    int n = 0;
    for (const BookletFamily &f : families_)
        n += int(f.recipes.size());
    return n;
}

QString Booklet::title() const
{
    return oneFamily() ? families_.front().name : QStringLiteral("Mes recettes");
}

QPageLayout Booklet::pageLayout(bool a5)
{
    return QPageLayout(QPageSize(a5 ? QPageSize::A5 : QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

void Booklet::writeCover(PageWriter &pages)
{
    BookletStyle &s = pages.style();
    pages.setFooter(false);
    pages.newPage();
    if (!pages.painting())
        return;
    const qreal inset = s.left * 0.55;
    pages.frame(QRectF(inset, inset, s.pageWidth - 2 * inset, s.pageHeight - 2 * inset), 1.4, s.accent);
    pages.frame(QRectF(inset + 4, inset + 4, s.pageWidth - 2 * inset - 8, s.pageHeight - 2 * inset - 8), 0.4, s.accent);
    const auto centred = [&](CharWidths &font, const QString &line, qreal baseline, const QColor &colour) {
        pages.text(font, s.left + (s.column - font.width(line)) / 2, baseline, line, colour);
    };
    const QStringList lines = flowTitle(title(), s.column - 2 * s.left, *s.cover);
    qreal y = s.pageHeight * 0.36 - (lines.size() - 1) * s.cover->lineHeight() / 2;
    for (const QString &line : lines) {
        centred(*s.cover, line, y, s.accent);
        y += s.cover->lineHeight();
    }
    y += s.coverLine->lineHeight() * 0.2;
    pages.rule(s.left + s.column / 2 - 40, s.left + s.column / 2 + 40, y - s.cover->lineHeight() / 2, 0.8, s.accent);
    centred(*s.coverLine, recipesCount(recipeCount()), y + s.coverLine->lineHeight(), s.ink);
    centred(*s.coverLine, QStringLiteral("Edition du ") + options_.date.toString(QStringLiteral("d/M/yyyy")),
            s.pageHeight * 0.82, s.quiet);
}

bool Booklet::compose(PageWriter &pages, Plan &plan, PhotoReader &photos, BookletProgress *progress,
                      BookletResult &result)
{
    BookletStyle &s = pages.style();
    writeCover(pages);

    // The contents: the chapters, or the recipes of the one family printed.
    std::vector<PageListEntry> contents;
    if (oneFamily()) {
        const BookletFamily &f = families_.front();
        for (size_t r = 0; r < f.recipes.size(); ++r)
            contents.push_back({f.recipes[r].title, plan.painting ? QString::number(plan.recipePage[0][r]) : QString(), {}});
    } else {
        for (size_t i = 0; i < families_.size(); ++i)
            contents.push_back({families_[i].name, plan.painting ? QString::number(plan.chapterPage[i]) : QString(), {}});
    }
    pages.setFooter(true);
    pages.newPage(true);
    // The numbers' column is as wide whatever they are: both passes give the list its pages.
    writePageList(pages, QStringLiteral("Sommaire"), contents, s.body->width(QStringLiteral("00000")),
                  !oneFamily());

    for (size_t i = 0; i < families_.size(); ++i) {
        const BookletFamily &family = families_[i];
        pages.setFooter(true, family.name);
        pages.newPage(true);
        if (!plan.painting)
            plan.chapterPage[i] = pages.page();
        writeHeading(pages, family.name);
        RecipePlacer placer(pages);
        for (size_t r = 0; r < family.recipes.size(); ++r) {
            const BookletRecipe &recipe = family.recipes[r];
            QString text, imagePath;
            result.status = source_.readRecipe(recipe.record, text, imagePath);
            if (!result.status.isOk())
                return false;
            const QString file = source_.photoFile(imagePath);
            QSizeF &photo = plan.photoSize[i][r];
            if (!plan.painting && options_.photos && !file.isEmpty()) {
                QString reason;
                if (const std::optional<QSize> pixels = photos.size(file, reason)) {
                    // Its own size, never enlarged, within the column and a third of the page.
                    const QSizeF natural = QSizeF(*pixels) * (72.0 / kScreenDpi);
                    const qreal scale = std::min({1.0, s.column / natural.width(), s.photoMaxHeight / natural.height()});
                    photo = QSizeF(natural.width() * scale, natural.height() * scale);
                    const QSize most(qCeil(photo.width() * kPhotoDpi / 72), qCeil(photo.height() * kPhotoDpi / 72));
                    plan.photos.push_back({file, most.boundedTo(*pixels)});
                } else {
                    result.leftOut.push_back({family.name, recipe.title, imagePath, reason});
                }
            }
            const auto picture = [&] {
                QImage image = plan.queue->next();
                if (image.isNull())
                    result.leftOut.push_back({family.name, recipe.title, imagePath, QStringLiteral("image illisible")});
                return image;
            };
            const int page = placer.place(recipe.title, text, photo, picture);
            if (!plan.painting)
                plan.recipePage[i][r] = page;
            ++plan.done;
            if (progress && !progress->advance(plan.done, plan.total)) {
                result.stopped = true;
                return false;
            }
        }
    }
    return pages.ok();
}

BookletResult Booklet::write(QPagedPaintDevice &device, PhotoReader &photos, BookletProgress *progress)
{
    BookletResult result;
    result.recipes = recipeCount();
    BookletStyle style(options_.a5, &device);
    Plan plan;
    plan.total = 2 * result.recipes;
    plan.chapterPage.assign(families_.size(), 0);
    for (const BookletFamily &f : families_) {
        plan.recipePage.emplace_back(f.recipes.size(), 0);
        plan.photoSize.emplace_back(f.recipes.size());
    }
    {
        PageWriter counting(style, nullptr, nullptr, options_.twoSided);
        if (!compose(counting, plan, photos, progress, result))
            return result;
    }

    plan.painting = true;
    QPainter painter;
    if (!painter.begin(&device)) {
        result.deviceFailed = true;
        return result;
    }
    PageWriter pages(style, &painter, &device, options_.twoSided);
    PhotoQueue queue(photos, std::move(plan.photos));
    plan.queue = &queue;
    const bool composed = compose(pages, plan, photos, progress, result);
    if (composed) {
        // The index: every title in French order, a title of several recipes with each page.
        std::vector<QString> titles;
        std::vector<int> pageOf;
        for (size_t i = 0; i < families_.size(); ++i) {
            for (size_t r = 0; r < families_[i].recipes.size(); ++r) {
                titles.push_back(families_[i].recipes[r].title);
                pageOf.push_back(plan.recipePage[i][r]);
            }
        }
        std::vector<bool> sameAsNext;
        const std::vector<size_t> order = FrenchOrder().sorted(titles, &sameAsNext);
        std::vector<PageListEntry> index;
        std::set<int> numbers;
        for (size_t k = 0; k < order.size(); ++k) {
            numbers.insert(pageOf[order[k]]);
            if (sameAsNext[k])
                continue;
            QStringList list;
            for (int n : numbers)
                list << QString::number(n);
            const QString &title = titles[order[k]];
            index.push_back({title, list.join(QStringLiteral(", ")), indexLetter(title)});
            numbers.clear();
        }
        pages.setFooter(true);
        pages.newPage(true);
        writePageList(pages, QStringLiteral("Index"), index, 0, false);
    }
    if (!composed || !pages.ok()) {
        if (progress)
            progress->abandon();
        painter.end();
        result.deviceFailed = result.deviceFailed || !pages.ok();
        return result;
    }
    result.pages = pages.page();
    if (!painter.end())
        result.deviceFailed = true;
    return result;
}

} // namespace gratinel
