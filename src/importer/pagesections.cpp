// Finding a page's ingredients and steps sections, and the recipes they make.
#include "importer/pagesections.h"

#include <QSet>

namespace gratinel::importer {

namespace {

// Lines looked at under one heading: a section past them is no recipe's.
constexpr std::size_t kMaxSectionLines = 4000;

using Role = HeadingRole;

int words(const QString &text)
{
    return int(text.count(u' ')) + 1;
}

// A paragraph's line that stands as a label: in bold, or short and ending with a colon.
bool isLabelLike(const PageLine &line)
{
    return line.kind == PageLine::Text && line.text.size() <= 80 && words(line.text) <= 8
           && (line.bold || line.text.endsWith(u':'));
}

// A short line in bold that is no sentence: a name ("Spritz", "Confiture de prunes").
bool isTitleLike(const PageLine &line)
{
    return line.kind == PageLine::Text && line.bold && words(line.text) <= 8 && !line.text.endsWith(u'.')
           && !line.text.endsWith(u'!') && !line.text.endsWith(u':');
}

bool isContent(const PageLine &line)
{
    return line.kind == PageLine::Item || line.kind == PageLine::Row || line.kind == PageLine::Text;
}

class Finder {
public:
    explicit Finder(const PageLines &page) : page_(page), lines_(page.lines), roles_(lines_.size()) {}

    std::vector<RecipeSections> run()
    {
        for (std::size_t i = 0; i < lines_.size(); ++i)
            roles_[i] = roleOf(lines_[i]);
        std::vector<Section> sections;
        std::size_t coveredIngredients = 0, coveredSteps = 0; // sections end there
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Role role = roles_[i].kind.role;
            if (role != Role::Ingredients && role != Role::Steps)
                continue;
            std::size_t &covered = role == Role::Ingredients ? coveredIngredients : coveredSteps;
            // A heading inside a section of its role is that section's sub-heading.
            if (i < covered)
                continue;
            Section s = sectionAt(i);
            covered = s.end;
            sections.push_back(std::move(s));
        }
        return group(sections);
    }

private:
    const PageLines &page_;
    const std::vector<PageLine> &lines_;
    std::vector<LineRole> roles_;

    // The section under the heading, label or container at h.
    Section sectionAt(std::size_t h) const
    {
        const PageLine &head = lines_[h];
        const LineRole &own = roles_[h];
        Section s;
        s.role = own.kind.role;
        s.heading = h;
        s.begin = h + 1;
        s.level = own.level;
        if (!own.kind.rest.isEmpty() && !own.kind.restIsYield)
            s.name = own.kind.rest;
        s.needsFood = own.kind.needsFood;
        const bool container = head.kind == PageLine::Open;
        const std::size_t limit = std::min({lines_.size(), head.scopeEnd, h + 1 + kMaxSectionLines});
        bool content = false;
        std::size_t j = h + 1;
        for (; j < limit; ++j) {
            const PageLine &line = lines_[j];
            if (line.kind == PageLine::Stop) {
                if (content)
                    break;
                continue;
            }
            if (line.kind == PageLine::Close) {
                if (container && line.container == head.container)
                    break;
                continue;
            }
            const Role role = roles_[j].kind.role;
            const int level = roles_[j].level;
            if (line.kind == PageLine::Open) {
                if (role != s.role && (content || container))
                    break;
                continue;
            }
            if (role == Role::End || (role != Role::None && role != s.role)) {
                break;
            }
            if (role == s.role) {
                // The plug-in's own heading, or a deeper heading of the same role: a sub-heading.
                if (container || level > s.level)
                    continue;
                break;
            }
            if (line.kind == PageLine::Heading && level <= s.level && !container) {
                // An empty section takes the headings of its rank that follow as its sub-headings
                // ("Ingrédients", then "La pâte" and "La crème" at the same rank), and so does any
                // section a heading that names a part ("Pour la garniture").
                if (level == s.level && (!content || namesPart(line.text)))
                    continue;
                break;
            }
            if (isContent(line))
                content = true;
        }
        // Headings with nothing after them belong to what comes next (the next recipe's title).
        while (j > s.begin && (lines_[j - 1].kind == PageLine::Heading || lines_[j - 1].kind == PageLine::Stop || isTitleLike(lines_[j - 1])))
            --j;
        s.end = j;
        return s;
    }

    // The content lines of a section, as compared for a repetition.
    QSet<QString> textsOf(const Section &s) const
    {
        QSet<QString> out;
        for (std::size_t i = s.begin; i < s.end; ++i)
            if (isContent(lines_[i]))
                out.insert(lines_[i].text.toLower());
        return out;
    }

    // The same list shown twice (a summary at the top, the recipe card below).
    bool repeats(const std::vector<Section> &before, const Section &s) const
    {
        // The last few sections are enough: a repetition follows what it repeats.
        QSet<QString> seen;
        for (size_t i = before.size() > 4 ? before.size() - 4 : 0; i < before.size(); ++i)
            seen.unite(textsOf(before[i]));
        const QSet<QString> now = textsOf(s);
        if (now.isEmpty())
            return false;
        int same = 0;
        for (const QString &t : now)
            same += seen.contains(t) ? 1 : 0;
        return 10 * same >= 6 * int(now.size());
    }

    // The title candidate between the end of recipe r and line to. The scan goes on from where
    // the last one for r stopped: the whole grouping reads each line once.
    std::size_t titleAfter(const RecipeSections &r, std::size_t to)
    {
        if (scanOf_ != &r || scanStart_ != r.last) {
            scanOf_ = &r;
            scanStart_ = scanAt_ = r.last;
            titleHeading_ = titleBold_ = SIZE_MAX;
            titleRank_ = 99;
        }
        for (; scanAt_ < std::min(to, lines_.size()); ++scanAt_) {
            const PageLine &line = lines_[scanAt_];
            if (roles_[scanAt_].kind.role != Role::None)
                continue;
            if (line.kind == PageLine::Heading && !line.siteName && line.level <= titleRank_) {
                titleRank_ = line.level;
                titleHeading_ = scanAt_;
            } else if (isTitleLike(line)) {
                titleBold_ = scanAt_;
            }
        }
        return titleHeading_ != SIZE_MAX ? titleHeading_ : titleBold_;
    }
    const RecipeSections *scanOf_ = nullptr;
    std::size_t scanStart_ = 0, scanAt_ = 0, titleHeading_ = SIZE_MAX, titleBold_ = SIZE_MAX;
    int titleRank_ = 99;

    std::vector<RecipeSections> group(const std::vector<Section> &sections)
    {
        std::vector<RecipeSections> recipes;
        recipes.reserve(sections.size());
        std::vector<Section> pendingSteps; // steps that came before any ingredients
        for (const Section &s : sections) {
            RecipeSections *cur = recipes.empty() ? nullptr : &recipes.back();
            if (s.role == Role::Ingredients) {
                const std::size_t title = cur ? titleAfter(*cur, s.heading) : SIZE_MAX;
                const bool part = !s.name.isEmpty();
                if (!cur || (!cur->steps.empty() && ((title != SIZE_MAX && !part) || repeats(cur->ingredients, s)))) {
                    RecipeSections r;
                    r.title = title;
                    r.first = s.heading;
                    recipes.push_back(std::move(r));
                    cur = &recipes.back();
                }
                cur->ingredients.push_back(s);
                cur->last = s.end;
                continue;
            }
            if (!cur) {
                pendingSteps.push_back(s);
                continue;
            }
            // Steps after another recipe's title are no longer this recipe's.
            if (!cur->steps.empty() && titleAfter(*cur, s.heading) != SIZE_MAX)
                continue;
            cur->steps.push_back(s);
            cur->last = s.end;
        }
        // Steps shown before the ingredients, when none follow them.
        if (!recipes.empty() && recipes.front().steps.empty())
            recipes.front().steps = pendingSteps;
        return recipes;
    }
};

} // namespace

LineRole roleOf(const PageLine &line)
{
    LineRole r;
    switch (line.kind) {
    case PageLine::Heading:
        r.kind = classifyHeading(line.text, true);
        r.level = line.level;
        break;
    case PageLine::Text:
        // A line that is no label must be the words alone: the longest are short.
        if (isLabelLike(line) || line.text.size() <= 40) {
            r.kind = classifyHeading(line.text, isLabelLike(line));
            r.level = 7;
        }
        break;
    case PageLine::Open:
        r.kind.role = line.role;
        r.level = 0;
        break;
    case PageLine::Item: case PageLine::Row: case PageLine::HeaderRow:
        // An item over the list it holds, a row of headings over the rows under it.
        if ((line.holdsList || line.bold || line.kind == PageLine::HeaderRow) && line.text.size() <= 80) {
            r.kind = classifyHeading(line.text, true);
            r.level = 7;
        }
        break;
    default:
        break;
    }
    return r;
}

std::vector<RecipeSections> findRecipeSections(const PageLines &page)
{
    return Finder(page).run();
}

} // namespace gratinel::importer
