// Reading the families, recipe lists, texts and photo paths that a booklet prints.
#include "booklet/bookletsource.h"

#include "book/frenchorder.h"
#include "store/cp1252.h"

#include <QDir>
#include <QFileInfo>

#include <unordered_map>

namespace gratinel {

BookletSource::BookletSource(RecordFile<FamilyRecord> &families, RecordFile<RecipeRecord> &recipes, ByteStream &texts,
                             ByteStream &images, const QString &bookDir)
    : familyFile_(families), recipeFile_(recipes), textFile_(texts), imageFile_(images), bookDir_(bookDir)
{
}

Status BookletSource::families(std::vector<BookletFamily> &out)
{
    FamilyRecord header;
    qint32 last = 0;
    Status s = familyFile_.read(1, header);
    if (s.isOk())
        s = familyFile_.lastRecord(last);
    if (!s.isOk() || header.state <= 0)
        return s;
    std::vector<BookletFamily> found;
    int count = 0;
    s = familyFile_.scanBytes(2, last, [&](qint32 n, const char *r) {
        if (FamilyRecord::stateIn(r) == kInUse) {
            ++count;
            found.push_back({FamilyRecord::nameTextIn(r), n, {}});
        }
        return count != header.state;
    });
    if (!s.isOk())
        return s;
    std::vector<QString> names;
    names.reserve(found.size());
    for (const BookletFamily &f : found)
        names.push_back(f.name);
    for (size_t i : FrenchOrder().sorted(names))
        out.push_back(std::move(found[i]));
    return s;
}

Status BookletSource::fillRecipes(std::vector<BookletFamily> &families)
{
    RecipeRecord header;
    qint32 last = 0;
    Status s = recipeFile_.read(1, header);
    if (s.isOk())
        s = recipeFile_.lastRecord(last);
    if (!s.isOk() || header.state <= 0)
        return s;
    std::unordered_map<qint32, BookletFamily *> wanted;
    for (BookletFamily &f : families)
        wanted[f.record] = &f;
    int inUse = 0;
    s = recipeFile_.scanBytes(2, last, [&](qint32 n, const char *r) {
        if (RecipeRecord::stateIn(r) == kInUse) {
            ++inUse;
            const auto it = wanted.find(RecipeRecord::familyRecordIn(r));
            if (it != wanted.end())
                it->second->recipes.push_back({RecipeRecord::titleTextIn(r), n});
        }
        return inUse != header.state;
    });
    if (!s.isOk())
        return s;
    const FrenchOrder order;
    for (BookletFamily &f : families) {
        std::vector<QString> titles;
        titles.reserve(f.recipes.size());
        for (const BookletRecipe &r : f.recipes)
            titles.push_back(r.title);
        std::vector<BookletRecipe> sorted;
        sorted.reserve(f.recipes.size());
        for (size_t i : order.sorted(titles))
            sorted.push_back(std::move(f.recipes[i]));
        f.recipes = std::move(sorted);
    }
    return s;
}

Status BookletSource::readRecipe(qint32 record, QString &text, QString &imagePath)
{
    RecipeRecord r;
    Status s = recipeFile_.read(record, r);
    if (!s.isOk())
        return s;
    QByteArray bytes;
    if (r.textPos >= 1 && r.textLen >= 1)
        s = textFile_.readAvailable(r.textPos, r.textLen, bytes);
    if (!s.isOk())
        return s;
    text = cp1252::decodeText(bytes);
    bytes.clear();
    if (r.imagePos >= 1 && r.imageLen >= 1)
        s = imageFile_.readAvailable(r.imagePos, r.imageLen, bytes);
    imagePath = cp1252::decode(bytes).trimmed();
    return s;
}

QString BookletSource::photoFile(const QString &imagePath) const
{
    if (imagePath.isEmpty() || QFileInfo(imagePath).isAbsolute())
        return imagePath;
    return QDir(bookDir_).filePath(imagePath);
}

} // namespace gratinel
