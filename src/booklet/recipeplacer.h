// One recipe on the booklet's pages: title, photo and text, kept on one page when they fit
// on one, else continued on the next pages under the title and « (suite) ».
#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

#include <functional>

namespace gratinel {

class PageWriter;

class RecipePlacer {
public:
    explicit RecipePlacer(PageWriter &pages) : pages_(pages) {}

    // Places the recipe after what the pages hold (a thin rule between two recipes of a
    // page; none under the chapter's heading) and returns the page of its title. photoSize, in points, is empty for none;
    // photo gives the picture when the pages are painted.
    int place(const QString &title, const QString &text, QSizeF photoSize, const std::function<QImage()> &photo);

private:
    void drawTitle(const QStringList &lines);
    void drawContinued(const QString &title);

    PageWriter &pages_;
    bool placed_ = false; // a recipe of this chapter was placed
};

} // namespace gratinel
