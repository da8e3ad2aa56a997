// Judging whether what a page shows is a recipe.
#include "importer/recipejudge.h"

#include "importer/recipewords.h"

#include <QRegularExpression>
#include <QSet>

namespace gratinel::importer {

bool readAsIngredients(const IngredientsRead &ingredients)
{
    int lines = 0, reading = 0, foods = 0;
    bool food = false;
    for (const IngredientLine &l : ingredients.lines) {
        if (l.heading)
            continue;
        ++lines;
        if (readsAsIngredient(l.text)) {
            ++reading;
            food = food || hasUnit(l.text) || hasFoodWord(l.text);
        }
        foods += hasFoodWord(l.text) ? 1 : 0;
    }
    // Under "What you need", most lines must name a food.
    if (ingredients.needsFood && 2 * foods < lines)
        return false;
    return reading >= 2 && 2 * reading >= lines + ingredients.sentences && food;
}

bool readAsSteps(const std::vector<RecipeFields::Step> &steps, const std::vector<IngredientLine> &ingredients)
{
    if (steps.empty())
        return false;
    QSet<QString> foods;
    for (const IngredientLine &l : ingredients)
        if (!l.heading && foods.size() < 2000)
            for (const QString &w : foodCandidates(l.text))
                foods.insert(w);
    int sentences = 0;
    bool cooking = false;
    for (const RecipeFields::Step &s : steps) {
        const QString t = s.text.trimmed();
        const int words = int(t.count(u' ')) + 1;
        if (t.endsWith(u'.') || t.endsWith(u'!') || t.endsWith(u')') || t.endsWith(u'…') || words >= 5)
            ++sentences;
        if (!cooking) {
            cooking = speaksOfCooking(t);
            const QStringList candidates = foodCandidates(t);
            for (qsizetype i = 0; i < candidates.size() && !cooking; ++i)
                cooking = foods.contains(candidates.at(i));
        }
    }
    return 2 * sentences >= int(steps.size()) && cooking;
}

bool pageIsNoRecipe(const PageLines &page)
{
    if (page.product)
        return true;
    static const QRegularExpression list(QStringLiteral(
        "\\b(?:liste de courses|liste des courses|shopping list|grocery list|einkaufsliste|boodschappenlijst|"
        "lista della spesa|lista de la compra|lista de compras|lista zakupów|inköpslista|indkøbsliste|handleliste|"
        "ostoslista|nákupní seznam|bevásárlólista|alışveriş listesi)\\b"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    QString h1;
    for (const PageLine &l : page.lines)
        if (l.kind == PageLine::Heading && l.level == 1) {
            h1 = l.text;
            break;
        }
    for (const QString &t : {page.pageTitle, page.ogTitle, h1})
        if (t.contains(list))
            return true;
    return false;
}

} // namespace gratinel::importer
