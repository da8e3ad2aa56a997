// Random book changes for the crash test, their effect on a model of the book, and the book read back.
#include "crashops.h"

#include "store/bookedits.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "store/records.h"
#include "testbook.h"

#include <QDir>

namespace gratinel::crash {

namespace {

bool slice(const QByteArray &file, qint32 pos, qint32 len, QByteArray &out)
{
    if (pos == 0 || len == 0) {
        out.clear();
        return true;
    }
    if (pos < 1 || len < 0 || qint64(pos) - 1 + len > file.size())
        return false;
    out = file.mid(pos - 1, len);
    return true;
}

constexpr qint32 kProtectedFamilies = 17;
constexpr qint32 kProtectedRecipes = 301;

template <class Map, class Pred>
std::vector<qint32> recordsWhere(const Map &map, Pred pred)
{
    std::vector<qint32> out;
    for (const auto &[n, r] : map) {
        if (r.state == kInUse && pred(n, r))
            out.push_back(n);
    }
    return out;
}

} // namespace

QString Change::describe() const
{
    static const char *names[] = {"addFamily", "addRecipe", "renameFamily", "changeRecipe", "deleteRecipe",
                                  "deleteFamily"};
    return QStringLiteral("%1 record=%2 family=%3 name=%4 text=%5 bytes image=%6")
        .arg(QLatin1String(names[kind]))
        .arg(record)
        .arg(family)
        .arg(name)
        .arg(text.size())
        .arg(image);
}

bool readBook(const QString &dir, Book &book, QString &error)
{
    const QDir d(dir);
    const QByteArray f1 = testbook::readFile(d.filePath(QStringLiteral("GRTN1.DAT")));
    const QByteArray f2 = testbook::readFile(d.filePath(QStringLiteral("GRTN2.DAT")));
    const QByteArray f3 = testbook::readFile(d.filePath(QStringLiteral("GRTN3.DAT")));
    const QByteArray f4 = testbook::readFile(d.filePath(QStringLiteral("GRTN4.DAT")));
    if (f1.size() % FamilyRecord::kSize != 0 || f2.size() % RecipeRecord::kSize != 0) {
        error = QStringLiteral("record file cut: %1 and %2 bytes").arg(f1.size()).arg(f2.size());
        return false;
    }
    book = Book();
    book.lastFamilyRecord = qint32(f1.size() / FamilyRecord::kSize);
    book.lastRecipeRecord = qint32(f2.size() / RecipeRecord::kSize);
    for (qint32 n = 2; n <= book.lastFamilyRecord; ++n) {
        const FamilyRecord r = FamilyRecord::decode(f1.constData() + qint64(n - 1) * FamilyRecord::kSize);
        book.families[n] = Family{r.state, r.name};
    }
    for (qint32 n = 2; n <= book.lastRecipeRecord; ++n) {
        const RecipeRecord r = RecipeRecord::decode(f2.constData() + qint64(n - 1) * RecipeRecord::kSize);
        Recipe &out = book.recipes[n];
        out.state = r.state;
        out.family = r.familyRecord;
        out.title = r.title;
        if (r.state != kInUse)
            continue;
        if (!slice(f3, r.textPos, r.textLen, out.text) || !slice(f4, r.imagePos, r.imageLen, out.image)) {
            error = QStringLiteral("recipe %1: text or image range outside its file").arg(n);
            return false;
        }
    }
    return true;
}

QString Generator::words(int minChars, int maxChars)
{
    static const QStringList pool = {
        QStringLiteral("crème"),  QStringLiteral("brûlée"), QStringLiteral("œufs"),     QStringLiteral("gâteau"),
        QStringLiteral("façon"),  QStringLiteral("sucre"),  QStringLiteral("farine"),   QStringLiteral("déglacer"),
        QStringLiteral("à"),      QStringLiteral("l’ail"),  QStringLiteral("émincer"),  QStringLiteral("Noël"),
        QStringLiteral("250 g"),  QStringLiteral("½ l"),    QStringLiteral("Ÿvette"),   QStringLiteral("poêler"),
    };
    const int target = minChars + below(maxChars - minChars + 1);
    QString out;
    while (out.size() < target)
        out += (out.isEmpty() ? QString() : QStringLiteral(" ")) + pool[below(int(pool.size()))];
    return out.left(std::max(target, 1)).trimmed();
}

QString Generator::recipeText()
{
    switch (below(5)) {
    case 0:
        return {};
    case 1:
        return words(1, 40);
    default: {
        QString text;
        const int lines = 1 + below(60);
        for (int i = 0; i < lines; ++i)
            text += (i ? QStringLiteral("\n") : QString()) + words(0, 90);
        return text;
    }
    }
}

QString Generator::imagePath()
{
    return below(2) ? QString() : QStringLiteral("/images/photo %1.jpg").arg(below(1000));
}

Change Generator::next(const Book &book)
{
    const auto families = recordsWhere(book.families, [](qint32, const Family &) { return true; });
    const auto firstFamilies = recordsWhere(book.families, [](qint32 n, const Family &) { return n <= kProtectedFamilies; });
    const auto recipes = recordsWhere(book.recipes, [](qint32, const Recipe &) { return true; });
    const auto deletableRecipes = recordsWhere(book.recipes, [](qint32 n, const Recipe &) { return n > kProtectedRecipes; });
    const auto deletableFamilies = recordsWhere(book.families, [](qint32 n, const Family &) { return n > kProtectedFamilies; });
    const auto pick = [this](const std::vector<qint32> &v) { return v[size_t(below(int(v.size())))]; };

    Change c;
    ++serial_;
    for (;;) {
        const int roll = below(100);
        if (roll < 12) {
            c.kind = Change::AddFamily;
            c.name = QStringLiteral("Famille %1 ").arg(serial_) + words(1, 30);
            return c;
        }
        if (roll < 42) {
            c.kind = Change::AddRecipe;
            c.family = pick(families);
            c.name = QStringLiteral("Recette %1 ").arg(serial_) + words(0, 60);
            c.text = recipeText();
            c.image = imagePath();
            return c;
        }
        if (roll < 50) {
            c.kind = Change::RenameFamily;
            c.record = pick(families);
            c.name = QStringLiteral("Renommée %1 ").arg(serial_) + words(0, 20);
            return c;
        }
        if (roll < 78) {
            c.kind = Change::ChangeRecipe;
            c.record = pick(recipes);
            c.family = c.record <= kProtectedRecipes ? pick(firstFamilies) : pick(families);
            c.name = QStringLiteral("Modifiée %1 ").arg(serial_) + words(0, 40);
            c.text = recipeText();
            c.image = imagePath();
            return c;
        }
        if (roll < 92 && !deletableRecipes.empty()) {
            c.kind = Change::DeleteRecipe;
            c.record = pick(deletableRecipes);
            return c;
        }
        if (roll >= 92 && !deletableFamilies.empty()) {
            c.kind = Change::DeleteFamily;
            c.record = pick(deletableFamilies);
            // In scan order, as the recipe list holds them (the order of the writes).
            c.listed = recordsWhere(book.recipes, [&c](qint32, const Recipe &r) { return r.family == c.record; });
            return c;
        }
    }
}

void apply(Book &book, const Change &c)
{
    switch (c.kind) {
    case Change::AddFamily:
        book.families[++book.lastFamilyRecord] = Family{kInUse, fixedText(c.name)};
        break;
    case Change::AddRecipe:
        book.recipes[++book.lastRecipeRecord] =
            Recipe{kInUse, c.family, fixedText(c.name), cp1252::encodeText(c.text), cp1252::encode(c.image)};
        break;
    case Change::RenameFamily:
        book.families[c.record].name = fixedText(c.name);
        break;
    case Change::ChangeRecipe:
        book.recipes[c.record] =
            Recipe{kInUse, c.family, fixedText(c.name), cp1252::encodeText(c.text), cp1252::encode(c.image)};
        break;
    case Change::DeleteRecipe:
        book.recipes[c.record].state = kDeleted;
        break;
    case Change::DeleteFamily:
        for (qint32 n : c.listed)
            book.recipes[n].state = kDeleted;
        book.families[c.record].state = kDeleted;
        break;
    }
}

Status make(Module1 &m, const Change &c)
{
    qint32 record = 0;
    switch (c.kind) {
    case Change::AddFamily:
        return bookedits::addFamily(m, c.name, record);
    case Change::AddRecipe:
        return bookedits::addRecipe(m, c.family, c.name, c.text, c.image, record);
    case Change::RenameFamily:
        return bookedits::changeFamily(m, c.record, c.name);
    case Change::ChangeRecipe: {
        // The page rewrites the record it read when the recipe was shown.
        const Status s = m.recipeFile.read(c.record, m.recipeWork);
        return s.isOk() ? bookedits::changeRecipe(m, c.record, c.family, c.name, c.text, c.image) : s;
    }
    case Change::DeleteRecipe:
        return bookedits::deleteRecipe(m, c.record);
    case Change::DeleteFamily:
        return bookedits::deleteFamily(m, c.record, c.listed);
    }
    return Status::ok();
}

} // namespace gratinel::crash
