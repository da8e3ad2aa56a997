// Reading the sources of an import: files and links, every format the importer knows.
#include "importsources.h"

#include "importer/sourceimport.h"
#include "store/charactername.h"
#include "store/cp1252.h"
#include "store/spelling.h"


namespace gratinel::booktool {

namespace {

QString upperKey(const QString &name)
{
    return cp1252::storable(name.trimmed()).toUpper();
}

} // namespace

QString spellBookText(const QString &text, QStringList &notes)
{
    QStringList lines = text.split(u'\n');
    int owner = 0; // line of the "##" or "@@" that the changes belong to
    QString ownerName;
    spelling::Changes changes;
    const auto flush = [&] {
        if (!changes.isEmpty())
            notes << QStringLiteral("ligne %1 : « %2 » : %3").arg(owner).arg(visibleText(ownerName), changes.describe());
        changes = {};
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.startsWith(QLatin1String("## ")) || line.startsWith(QLatin1String("@@ "))) {
            flush();
            owner = i + 1;
            ownerName = line.mid(3).trimmed();
        }
        // An image path names a file: a replaced letter would name another one, so a path the
        // book cannot hold is refused with its recipe instead.
        if (line.startsWith(QLatin1String("!! ")) || line.startsWith(QLatin1String("!!\\ ")))
            continue;
        lines[i] = spelling::storableSpelling(line, &changes);
    }
    flush();
    return lines.join(u'\n');
}

ImportPlan readSources(const QStringList &sources, const QString &bookDir, const QString &family,
                       const QStringList &bookFamilies, const std::function<bool()> &stop)
{
    ImportPlan plan;
    importer::SourceOptions options;
    options.bookDir = bookDir;
    options.family = family;
    options.bookFamilies = bookFamilies;
    options.stop = stop;
    int number = 0;
    for (const QString &source : sources) {
        if (stop && stop()) {
            plan.stopped = true;
            break;
        }
        importer::SourceRead read = importer::readSource(source, options);
        if (!read.failure.isEmpty()) {
            plan.failures << read.failure;
            continue;
        }
        if (read.format == importer::Format::BookText) {
            QStringList notes;
            booksource::Source text = booksource::parse(spellBookText(read.bookText, notes));
            if (!family.isEmpty()) {
                // Every recipe into the one family: the first gathers them all.
                for (size_t f = 1; f < text.families.size(); ++f)
                    for (booksource::Recipe &r : text.families[f].recipes)
                        text.families[0].recipes.push_back(std::move(r));
                if (!text.families.empty()) {
                    text.families.resize(1);
                    text.families[0].name = family;
                    text.families[0].problem.clear();
                }
            }
            for (const QString &n : notes)
                plan.notes << (sources.size() == 1 ? n : source + QStringLiteral(", ") + n);
            plan.texts.push_back(std::move(text));
            plan.textNames << source;
            continue;
        }
        for (const QString &why : read.refused)
            plan.failures << QStringLiteral("%1 : %2").arg(source, why);
        if (read.recipesFound > int(read.recipes.size()))
            plan.notes << QStringLiteral("%1 : %2 recettes trouvées, les %3 premières sont lues")
                              .arg(source).arg(read.recipesFound).arg(read.recipes.size());
        for (const QString &n : read.notes)
            plan.notes << source + QStringLiteral(" : ") + n;
        int index = 0;
        for (importer::SourceRecipe &r : read.recipes) {
            ++number;
            ++index;
            const QString label = read.recipes.size() == 1 ? source : QStringLiteral("%1 (recette %2)").arg(source).arg(index);
            plan.labels.insert(number, label);
            if (!r.recipe.changes.isEmpty())
                plan.notes << QStringLiteral("%1 : « %2 » : %3").arg(label, r.recipe.title, r.recipe.changes.describe());
            for (const QString &remark : r.recipe.remarks)
                plan.notes << QStringLiteral("%1 : « %2 » : %3").arg(label, r.recipe.title, remark);
            if (r.recipe.shortened)
                plan.notes << QStringLiteral("%1 : « %2 » : texte raccourci à %3 octets").arg(label, r.recipe.title).arg(importer::kMaxTextBytes);
            if (!r.imagePath.isEmpty())
                plan.photos.insert(number, r.imagePath);
            else if (!r.photoUrl.isEmpty() && !read.stopped)
                plan.notes << QStringLiteral("%1 : « %2 » : sans image, la photo %3 n'a pas pu être lue : %4")
                                  .arg(label, r.recipe.title, r.photoUrl.toString(), r.photoProblem);
            booksource::Recipe recipe;
            recipe.line = number;
            recipe.title = r.recipe.title;
            recipe.text = r.recipe.text;
            recipe.imagePath = r.imagePath;
            auto it = std::find_if(plan.found.families.begin(), plan.found.families.end(),
                                   [&](const booksource::Family &f) { return upperKey(f.name) == upperKey(r.family); });
            if (it == plan.found.families.end()) {
                booksource::Family f;
                f.line = number;
                f.name = r.family;
                plan.found.families.push_back(f);
                it = plan.found.families.end() - 1;
            }
            it->recipes.push_back(std::move(recipe));
        }
        if (read.stopped) {
            plan.stopped = true;
            break;
        }
    }
    return plan;
}

} // namespace gratinel::booktool
