// Reading the ingredient lines and the steps of a recipe's sections.
#include "importer/sectionlines.h"

#include "importer/htmlpage.h"
#include "importer/limits.h"
#include "importer/recipewords.h"

#include <QRegularExpression>

namespace gratinel::importer {

namespace {

int wordCount(const QString &text)
{
    return int(text.count(u' ')) + 1;
}

// A sub-heading as shown: no colon, a capital first ("pour la pâte" gives "Pour la pâte").
QString asHeading(const QString &text)
{
    QString t = text.trimmed();
    while (t.endsWith(u':') || t.endsWith(u' '))
        t.chop(1);
    if (!t.isEmpty())
        t[0] = t.at(0).toUpper();
    return t;
}

// "Étape 1", "Step 2:", "3" alone: the number of the step that follows.
bool isStepNumber(const QString &line)
{
    static const QRegularExpression re(
        QStringLiteral("^(?:step|[ée]tape|schritt|paso|passo|stap|krok|steg|trin|vaihe|korak|pas)?\\s*\\d{1,2}\\s*[.:)]?$"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(line).hasMatch();
}

// The column headings of a table written as its first row ("Quantité | Ingrédient").
bool isColumnHeadings(const QString &row)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:\\s*(?:quantités?|qté|ingrédients?|unités?|menge|mengen|zutaten|zutat|einheit|amount|quantity|ingredients?|"
        "units?|hoeveelheid|ingrediënten|ingrediënt|eenheid|quantità|ingredienti|ingrediente|unità|cantidad|ingredientes|"
        "unidad|quantidade|unidade|ilość|składniki|składnik|mängd|ingredienser|ingrediens|mængde|mengde|määrä|ainekset|"
        "množství|suroviny|mennyiség|hozzávalók|miktar|malzemeler|malzeme)\\s*)+$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return row.size() <= 80 && re.match(row).hasMatch();
}

bool letters(const QString &text, int least)
{
    int n = 0;
    for (const QChar c : text)
        if (c.isLetter() && ++n >= least)
            return true;
    return false;
}

// "Astuce : servez avec un riz", "Note: keeps 3 days": a paragraph that starts as a part of the
// page after the recipe.
bool startsAnotherPart(const PageLine &line, const QString &text)
{
    const qsizetype colon = text.indexOf(u':');
    return line.kind == PageLine::Text && colon > 0 && colon <= 30
           && classifyHeading(text.left(colon), false).role == HeadingRole::End;
}

// Sub-headings with nothing under them say nothing.
void dropEmptyHeadings(std::vector<IngredientLine> &lines)
{
    std::vector<IngredientLine> kept;
    for (size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].heading || (i + 1 < lines.size() && !lines[i + 1].heading))
            kept.push_back(std::move(lines[i]));
    lines = std::move(kept);
}

// The name a section's heading gives its lines when it is one of several.
QString sectionName(const PageLines &page, const Section &s)
{
    const LineRole own = roleOf(page.lines[s.heading]);
    if (own.kind.stepNumber)
        return asHeading(own.kind.rest);
    return s.name.isEmpty() ? QString() : asHeading(page.lines[s.heading].text);
}

} // namespace

QString withoutBullet(const QString &line)
{
    static const QRegularExpression bullet(QStringLiteral(
        "^(?:[-–•*·▪✓✔►▸→]\\s*|\\d{1,2}[.)]\\s+|(?:step|[ée]tape|schritt|paso|passo|stap|krok|steg|trin)\\s*\\d{1,2}\\s*[:.)–-]\\s+(?=\\S))"),
        QRegularExpression::CaseInsensitiveOption);
    return collapseSpaces(QString(line).remove(bullet));
}

IngredientsRead readIngredients(const PageLines &page, const std::vector<Section> &sections)
{
    IngredientsRead r;
    const bool several = sections.size() > 1;
    for (const Section &s : sections) {
        r.needsFood = r.needsFood || s.needsFood;
        if (several && !s.name.isEmpty())
            r.lines.push_back({asHeading(s.name), true});
        bool hasList = false;
        for (size_t i = s.begin; i < s.end && !hasList; ++i)
            hasList = page.lines[i].kind == PageLine::Item || page.lines[i].kind == PageLine::Row;
        int table = -1;
        int listSeen = -1; // the last list whose items were ingredients
        for (size_t i = s.begin; i < s.end && r.lines.size() < size_t(kMaxLines); ++i) {
            const PageLine &line = page.lines[i];
            if (line.kind == PageLine::Stop || line.kind == PageLine::Open || line.kind == PageLine::Close
                || line.kind == PageLine::HeaderRow)
                continue;
            const LineRole role = roleOf(line);
            if (role.kind.role == HeadingRole::End || role.kind.role == HeadingRole::Steps)
                break;
            if (role.kind.role == HeadingRole::Ingredients) {
                if (!role.kind.rest.isEmpty() && !role.kind.restIsYield)
                    r.lines.push_back({asHeading(role.kind.rest), true});
                continue;
            }
            if (line.kind == PageLine::Heading) {
                r.lines.push_back({asHeading(line.text), true});
                continue;
            }
            const QString text = withoutBullet(line.text);
            if (!letters(text, 1))
                continue;
            if (isChatter(text) || startsAnotherPart(line, text))
                break;
            if (isTimeLine(text))
                continue;
            if (r.yield.isEmpty() && isYieldLine(text)) {
                r.yield = text;
                continue;
            }
            if (line.kind == PageLine::Row && line.list != table) {
                table = line.list;
                if (isColumnHeadings(text))
                    continue;
            }
            const bool quantity = startsWithQuantity(text);
            const bool label = (line.bold || text.endsWith(u':')) && wordCount(text) <= 6 && !quantity;
            if ((line.kind == PageLine::Item && (line.holdsList || label)) || (line.kind == PageLine::Row && line.bold)
                || (line.kind == PageLine::Text && label)) {
                r.lines.push_back({asHeading(text), true});
                continue;
            }
            // After the list, a numbered list or sentences may be steps without a heading.
            const bool stepLike = line.ordered ? listSeen != -1 && line.list != listSeen : isSentence(text) || speaksOfCooking(text);
            if (line.kind == PageLine::Item && line.ordered && stepLike) {
                r.tail.push_back({QString(), text});
                continue;
            }
            if (line.kind == PageLine::Text) {
                // Beside a list, a paragraph is an introduction or a tip unless it starts with a quantity.
                if (line.link || (hasList && (!quantity || wordCount(text) > 15)) || isSentence(text)) {
                    r.sentences += isSentence(text) ? 1 : 0;
                    if (hasList && listSeen != -1 && stepLike && !line.link)
                        r.tail.push_back({QString(), text});
                    continue;
                }
            }
            if (line.kind == PageLine::Item || line.kind == PageLine::Row) {
                listSeen = line.list;
                r.tail.clear();
            }
            r.lines.push_back({text});
        }
    }
    dropEmptyHeadings(r.lines);
    return r;
}

// Steps that start with their own number, 1, 2, 3 ("1 Das Fleisch würfeln", the number set
// apart on the page): without it. A run of two such steps or more is needed ("2 Eier
// verquirlen" alone keeps its eggs).
void dropStepNumbers(std::vector<RecipeFields::Step> &steps)
{
    static const QRegularExpression number(QStringLiteral("^(\\d{1,2})\\s+(?=\\S)"));
    const auto numberOf = [&](const RecipeFields::Step &s) {
        const QRegularExpressionMatch m = number.match(s.text);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    };
    for (size_t i = 0; i < steps.size();) {
        size_t end = i;
        while (end < steps.size() && numberOf(steps[end]) == int(end - i) + 1)
            ++end;
        if (end - i >= 2)
            for (size_t k = i; k < end; ++k)
                steps[k].text.remove(number);
        i = std::max(end, i + 1);
    }
}

std::vector<RecipeFields::Step> readSteps(const PageLines &page, const std::vector<Section> &sections)
{
    std::vector<RecipeFields::Step> steps;
    const bool several = sections.size() > 1;
    bool listed = false; // steps came as a list
    for (const Section &s : sections) {
        QString section = several ? sectionName(page, s) : QString();
        for (size_t i = s.begin; i < s.end && steps.size() < size_t(kMaxLines); ++i) {
            const PageLine &line = page.lines[i];
            if (line.kind == PageLine::Stop || line.kind == PageLine::Open || line.kind == PageLine::Close
                || line.kind == PageLine::HeaderRow)
                continue;
            const LineRole role = roleOf(line);
            if (role.kind.role == HeadingRole::End || role.kind.role == HeadingRole::Ingredients)
                break;
            if (role.kind.role == HeadingRole::Steps) {
                if (role.kind.stepNumber && !role.kind.rest.isEmpty())
                    section = asHeading(role.kind.rest);
                else if (!role.kind.stepNumber && !role.kind.rest.isEmpty())
                    section = asHeading(line.text);
                continue;
            }
            if (line.kind == PageLine::Heading) {
                section = asHeading(line.text);
                continue;
            }
            // A step's number may be followed by a dash ("1 - Beurrez"), an ingredient's not ("2 - 3 pommes").
            static const QRegularExpression number(QStringLiteral("^\\d{1,2}\\s*[-–—:]\\s+(?=\\D)"));
            const QString text = withoutBullet(line.text).remove(number);
            if (!letters(text, 2) || isStepNumber(text) || isTimeLine(text) || line.link)
                continue;
            if (isChatter(text) || startsAnotherPart(line, text)) {
                if (!steps.empty())
                    break;
                continue;
            }
            const bool label = (line.bold && wordCount(text) <= 8 && !text.endsWith(u'.'))
                               || (text.endsWith(u':') && wordCount(text) <= 6);
            if (label || (line.kind == PageLine::Item && line.holdsList)) {
                section = asHeading(text);
                continue;
            }
            // After the list of steps, a paragraph that says nothing of cooking is the blogger's.
            if (line.kind == PageLine::Text && listed && !speaksOfCooking(text))
                break;
            listed = listed || line.kind == PageLine::Item;
            steps.push_back({section, text});
        }
    }
    dropStepNumbers(steps);
    return steps;
}

} // namespace gratinel::importer
