// Reading the recipes a page shows: its lines, their sections, what the sections hold, whether
// that is a recipe, and each recipe's title.
#include "importer/shownrecipe.h"

#include "importer/limits.h"
#include "importer/pagelines.h"
#include "importer/pagesections.h"
#include "importer/recipejudge.h"
#include "importer/sectionlines.h"
#include "importer/showntitle.h"

#include <QSet>

namespace gratinel::importer {

namespace {

struct Candidate {
    ShownRecipe recipe;
    std::size_t group;
    QSet<QString> lines; // its ingredient lines, as compared for a repetition

    int size() const { return int(recipe.ingredients.size() + recipe.steps.size()); }
};

// The same recipe shown twice (a blog's list with photos, then its recipe card).
bool sameRecipe(const Candidate &a, const Candidate &b)
{
    int same = 0;
    for (const QString &l : b.lines)
        same += a.lines.contains(l) ? 1 : 0;
    const qsizetype least = std::min(a.lines.size(), b.lines.size());
    return least > 0 && 10 * same >= 6 * int(least);
}

QString headingTitle(const PageLines &page, std::size_t line)
{
    QString t = withoutDate(page.lines[line].text);
    while (t.endsWith(u':') || t.endsWith(u' '))
        t.chop(1);
    return t;
}

// The title of the first of several recipes, which has no title of its own between it and a
// recipe before: the last line before it of the kind of the next recipe's title (a heading
// of that rank, or a line in bold).
QString firstTitle(const PageLines &page, const std::vector<RecipeSections> &groups, const Candidate &first,
                   const Candidate &next)
{
    const std::size_t nextTitle = groups[next.group].title;
    const std::size_t start = groups[first.group].first;
    if (nextTitle != SIZE_MAX) {
        const PageLine &model = page.lines[nextTitle];
        for (std::size_t i = start; i-- > 0 && start - i <= 2000;) {
            const PageLine &l = page.lines[i];
            if (l.kind != model.kind || roleOf(l).kind.role != HeadingRole::None)
                continue;
            if (l.kind == PageLine::Heading ? l.level == model.level && !l.siteName
                                            : l.bold && !l.text.endsWith(u':') && l.text.count(u' ') < 8)
                return headingTitle(page, i);
        }
    }
    return pageRecipeTitle(page, start);
}

} // namespace

int ShownRecipe::ingredientCount() const
{
    return int(std::count_if(ingredients.begin(), ingredients.end(), [](const IngredientLine &l) { return !l.heading; }));
}

ShownPage readShownPage(const GumboInternalNode *root)
{
    const PageLines page = readPageLines(root);
    ShownPage out;
    out.mealMaster = page.mealMaster;
    out.parts.image = page.ogImage;
    if (pageIsNoRecipe(page))
        return out;
    const std::vector<RecipeSections> groups = findRecipeSections(page);
    std::vector<Candidate> kept;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        IngredientsRead ingredients = readIngredients(page, groups[g].ingredients);
        std::vector<RecipeFields::Step> steps = readSteps(page, groups[g].steps);
        // Steps without a heading of their own, after the ingredients.
        if (steps.empty() && !ingredients.tail.empty()) {
            steps = std::move(ingredients.tail);
            ingredients.sentences = 0;
        }
        if (out.parts.ingredientCount() < 2 && std::count_if(ingredients.lines.begin(), ingredients.lines.end(),
                                                             [](const IngredientLine &l) { return !l.heading; }) >= 2)
            out.parts.ingredients = ingredients.lines;
        if (out.parts.steps.empty())
            out.parts.steps = steps;
        if (!readAsIngredients(ingredients) || !readAsSteps(steps, ingredients.lines))
            continue;
        Candidate c{{}, g, {}};
        c.recipe.ingredients = ingredients.lines;
        c.recipe.steps = std::move(steps);
        c.recipe.yield = ingredients.yield;
        for (const IngredientLine &l : c.recipe.ingredients)
            if (!l.heading)
                c.lines.insert(l.text.toLower());
        // A repetition follows what it repeats: the last recipes kept are the ones compared.
        const auto from = kept.size() > 3 ? kept.end() - 3 : kept.begin();
        const auto twin = std::find_if(from, kept.end(), [&](const Candidate &k) { return sameRecipe(k, c); });
        if (twin == kept.end()) {
            if (kept.size() < size_t(kMaxRecipes))
                kept.push_back(std::move(c));
        } else if (c.size() > twin->size()) {
            twin->recipe = std::move(c.recipe);
            twin->lines = std::move(c.lines);
        }
    }
    QSet<QString> titles;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        Candidate &c = kept[k];
        const RecipeSections &g = groups[c.group];
        QString title;
        if (g.title != SIZE_MAX && (kept.size() > 1 || c.group > 0))
            title = headingTitle(page, g.title);
        else if (kept.size() > 1)
            title = firstTitle(page, groups, c, kept[k + 1 < kept.size() ? k + 1 : k]);
        else
            title = pageRecipeTitle(page, g.first);
        // Two recipes of one page never share a title: the book would keep only one.
        const QString base = title;
        for (int n = 2; titles.contains(title.toLower()); ++n)
            title = QStringLiteral("%1 (%2)").arg(base).arg(n);
        titles.insert(title.toLower());
        c.recipe.title = title;
        if (k == 0)
            c.recipe.image = page.ogImage;
        out.recipes.push_back(std::move(c.recipe));
    }
    return out;
}

} // namespace gratinel::importer
