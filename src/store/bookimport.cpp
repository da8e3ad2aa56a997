// The import: each family and recipe of the source checked, then added, or skipped and said why.
#include "store/bookimport.h"

#include "store/bookedits.h"
#include "store/cp1252.h"
#include "store/module1.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace gratinel::bookimport {

namespace {

using booksource::Family;
using booksource::Recipe;

QString skipLine(int line, const QString &why)
{
    return QStringLiteral("ligne %1 : %2").arg(line).arg(why);
}

} // namespace

Status importSource(Module1 &m, const booksource::Source &source, Result &result,
                    const std::function<bool()> &stop)
{
    const auto stopped = [&] {
        if (stop && !result.interrupted && stop())
            result.interrupted = true;
        return result.interrupted;
    };
    // The families and titles in use, as the lists of the book would show them.
    QHash<QString, qint32> families;
    QHash<qint32, QSet<QString>> titles;
    qint32 last = 0;
    Status s = m.familyFile.lastRecord(last);
    if (s.isOk())
        s = m.familyFile.scan(2, last, [&](qint32 n, const FamilyRecord &r) {
            if (r.state == kInUse && !families.contains(r.nameText().toUpper()))
                families.insert(r.nameText().toUpper(), n);
            return true;
        });
    if (s.isOk())
        s = m.recipeFile.lastRecord(last);
    if (s.isOk())
        s = m.recipeFile.scan(2, last, [&](qint32, const RecipeRecord &r) {
            if (r.state == kInUse)
                titles[r.familyRecord].insert(r.titleText().toUpper());
            return true;
        });
    if (!s.isOk())
        return s;

    for (const booksource::LineProblem &p : source.problems)
        result.skipped << skipLine(p.line, p.problem);
    for (const auto &p : source.problems)
        if (p.problem.startsWith(QStringLiteral("recette")))
            ++result.recipesSkipped;

    for (const Family &f : source.families) {
        if (stopped())
            break;
        const auto skipAll = [&](const QString &why) {
            result.skipped << skipLine(f.line, QStringLiteral("famille « %1 » ignorée avec ses %2 recettes : %3")
                                                   .arg(f.name)
                                                   .arg(f.recipes.size())
                                                   .arg(why));
            result.recipesSkipped += int(f.recipes.size());
        };
        // A name of spaces alone comes back into a whole new book (create), not into this one.
        if (!f.problem.isEmpty() || f.name.isEmpty()) {
            skipAll(f.problem.isEmpty() ? QStringLiteral("nom vide") : f.problem);
            continue;
        }
        const QString key = cp1252::storable(f.name).toUpper();
        qint32 family = families.value(key, 0);
        if (family == 0) {
            s = bookedits::addFamily(m, f.name, family);
            if (s.code() == Status::Code::Full) {
                skipAll(s.message());
                continue;
            }
            if (!s.isOk())
                return s;
            families.insert(key, family);
            ++result.familiesAdded;
        }
        QSet<QString> &used = titles[family];
        for (const Recipe &r : f.recipes) {
            if (stopped())
                break;
            const QString title = cp1252::storable(r.title);
            const QString text = trimSpaces(r.text);
            QString why = r.problem;
            if (why.isEmpty() && title.isEmpty())
                why = QStringLiteral("titre vide");
            if (why.isEmpty() && used.contains(title.toUpper()))
                why = QStringLiteral("la famille « %1 » a déjà une recette « %2 »").arg(f.name, r.title);
            if (why.isEmpty() && cp1252::encodeText(text).size() > kMaxTextBytes)
                why = QStringLiteral("texte de plus de %1 octets").arg(kMaxTextBytes);
            if (why.isEmpty()) {
                qint32 record = 0;
                s = bookedits::addRecipe(m, family, title, text, r.imagePath, record);
                if (s.code() == Status::Code::Full)
                    why = s.message();
                else if (!s.isOk())
                    return s;
            }
            if (!why.isEmpty()) {
                result.skipped << skipLine(r.line, QStringLiteral("recette « %1 » ignorée : %2").arg(r.title, why));
                ++result.recipesSkipped;
                continue;
            }
            used.insert(title.toUpper());
            ++result.recipesAdded;
            result.added << skipLine(r.line, QStringLiteral("recette « %1 » ajoutée à « %2 »").arg(title, f.name));
        }
    }
    // Said in the order of the source's lines.
    const auto lineOf = [](const QString &s) { return s.section(u' ', 1, 1).toInt(); };
    std::stable_sort(result.skipped.begin(), result.skipped.end(),
                     [&](const QString &a, const QString &b) { return lineOf(a) < lineOf(b); });
    return Status::ok();
}

} // namespace gratinel::bookimport
