// A printed booklet of the book or of some of its families: cover, contents, one chapter
// per family, index. Laid out once to learn the pages, then painted page by page, so that
// the contents and the index give the real pages and memory does not grow with them.
#pragma once

#include "booklet/bookletoptions.h"
#include "booklet/bookletsource.h"
#include "store/status.h"

#include <QPageLayout>
#include <QString>

#include <vector>

class QPagedPaintDevice;

namespace gratinel {

class PhotoReader;
class PageWriter;

struct LeftOutPhoto {
    QString family;
    QString title;
    QString path;
    QString reason;
};

class BookletProgress {
public:
    virtual ~BookletProgress() = default;
    // done of total steps; false asks the run to stop.
    virtual bool advance(int done, int total) = 0;
    // The run stops (asked to, or on a failure) while the device is still being painted:
    // what it holds is to be thrown away, not printed or kept.
    virtual void abandon() {}
};

struct BookletResult {
    Status status;            // a failed read of the book
    bool stopped = false;     // the progress asked to stop
    bool deviceFailed = false; // the printer or the file refused the pages
    int pages = 0;
    int recipes = 0;
    std::vector<LeftOutPhoto> leftOut; // photos left out, in the order of the pages

    bool written() const { return status.isOk() && !stopped && !deviceFailed; }
};

class Booklet {
public:
    explicit Booklet(BookletSource &source) : source_(source) {}

    // Reads the families the options name, in the family list's order (every family with
    // recipes when they name none), and their recipes. A record that is no family in use is
    // left out.
    Status load(const BookletOptions &options);
    const std::vector<BookletFamily> &families() const { return families_; }
    // Chapters and the index on right-hand pages, or not, whatever load() was told.
    void setTwoSided(bool twoSided) { options_.twoSided = twoSided; }
    int recipeCount() const;
    // The booklet's name: « Mes recettes », or the family's when one family is printed alone.
    QString title() const;

    // The paper a device must be given before write(): the size, portrait, no margins.
    static QPageLayout pageLayout(bool a5);

    // Lays the booklet out, then paints it on device.
    BookletResult write(QPagedPaintDevice &device, PhotoReader &photos, BookletProgress *progress);

private:
    struct Plan;
    bool compose(PageWriter &pages, Plan &plan, PhotoReader &photos, BookletProgress *progress, BookletResult &result);
    void writeCover(PageWriter &pages);
    bool oneFamily() const { return !options_.families.empty() && families_.size() == 1; }

    BookletSource &source_;
    BookletOptions options_;
    std::vector<BookletFamily> families_;
};

} // namespace gratinel
