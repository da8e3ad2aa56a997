// Reading the recipe a page shows under its headings.
#include "importer/shownrecipe.h"

#include "importer/headingwords.h"
#include "importer/htmlpage.h"
#include "importer/limits.h"
#include "importer/mealmaster.h"

#include <QRegularExpression>

#include <gumbo.h>

#include <cstring>

namespace gratinel::importer {

namespace {

using Role = HeadingRole;

// The page as a reader sees it, in order: headings, list items, paragraphs, and the ends of
// recipe plug-in containers.
struct Block {
    enum Kind { Heading, Item, Para, Close } kind;
    int level = 0;   // 1 to 6 for <h1>..<h6>, 7 for a label alone in a paragraph, 0 for a container
    Role role = Role::None;
    int container = 0; // of a container's heading and its close
    QStringList lines;
    const GumboNode *item = nullptr; // a list item or table row whose text is read when needed
    const GumboNode *holder = nullptr; // a paragraph's parent, a list item's list's parent
    size_t scopeEnd = SIZE_MAX;      // a heading's: the first block after the element that holds it
};

QString attr(const GumboNode *n, const char *name)
{
    const GumboAttribute *a = gumbo_get_attribute(&n->v.element.attributes, name);
    return a ? QString::fromUtf8(a->value) : QString();
}

// The raw value of an attribute, "" when absent: tested before any text is made of it.
const char *rawAttr(const GumboNode *n, const char *name)
{
    const GumboAttribute *a = gumbo_get_attribute(&n->v.element.attributes, name);
    return a ? a->value : "";
}

bool containsAny(const char *text, std::initializer_list<const char *> words)
{
    if (!*text)
        return false;
    for (const char *w : words)
        if (strcasestr(text, w))
            return true;
    return false;
}


// Parts of a page that hold no recipe of its own.
bool isOffTopic(const GumboNode *n)
{
    switch (n->v.element.tag) {
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_NAV: case GUMBO_TAG_FOOTER: case GUMBO_TAG_ASIDE: case GUMBO_TAG_FORM: case GUMBO_TAG_BUTTON:
    case GUMBO_TAG_SELECT: case GUMBO_TAG_SVG: case GUMBO_TAG_IFRAME: case GUMBO_TAG_OBJECT:
        return true;
    default:
        break;
    }
    for (const char *name : {"class", "id"})
        if (containsAny(rawAttr(n, name), {"comment", "sidebar", "breadcrumb", "related"}))
            return true;
    return false;
}

bool isBlockTag(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_P: case GUMBO_TAG_DIV: case GUMBO_TAG_UL: case GUMBO_TAG_OL: case GUMBO_TAG_LI:
    case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4: case GUMBO_TAG_H5: case GUMBO_TAG_H6:
    case GUMBO_TAG_TABLE: case GUMBO_TAG_TR: case GUMBO_TAG_SECTION: case GUMBO_TAG_ARTICLE: case GUMBO_TAG_PRE:
    case GUMBO_TAG_DL: case GUMBO_TAG_DT: case GUMBO_TAG_DD: case GUMBO_TAG_HEADER: case GUMBO_TAG_MAIN:
    case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_FIGURE: case GUMBO_TAG_TBODY:
        return true;
    default:
        return false;
    }
}

bool hasBlockChild(const GumboNode *n, bool listsOnly = false)
{
    const GumboVector &c = n->v.element.children;
    for (unsigned i = 0; i < c.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(c.data[i]);
        if (child->type != GUMBO_NODE_ELEMENT)
            continue;
        const GumboTag tag = child->v.element.tag;
        if (listsOnly ? tag == GUMBO_TAG_UL || tag == GUMBO_TAG_OL : isBlockTag(tag))
            return true;
    }
    return false;
}

// The text of a <pre> as it stands, spaces and line ends kept.
QString rawText(const GumboNode *root)
{
    QString out;
    std::vector<const GumboNode *> stack{root};
    while (!stack.empty() && out.size() < kMaxFieldChars * 4) {
        const GumboNode *n = stack.back();
        stack.pop_back();
        if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE || n->type == GUMBO_NODE_CDATA) {
            out += QString::fromUtf8(n->v.text.text);
        } else if (n->type == GUMBO_NODE_ELEMENT) {
            if (n->v.element.tag == GUMBO_TAG_BR)
                out += u'\n';
            const GumboVector &c = n->v.element.children;
            for (unsigned i = c.length; i > 0; --i)
                stack.push_back(static_cast<const GumboNode *>(c.data[i - 1]));
        }
    }
    return out;
}

struct Reader {
    ShownRecipe result;
    std::vector<Block> blocks;
    QString ogTitle, siteName, h1, pluginTitle, pageTitle;
    int containers = 0;
    // Headings waiting for the end of the element that holds them, innermost last.
    struct Scope {
        const GumboNode *holder;
        size_t heading;
    };
    std::vector<Scope> scopes;
    bool product = false; // a shop's product page: its ingredients are a product's

    void addHeading(const QString &text, int level, Role role, const GumboNode *self)
    {
        add(Block::Heading, {text}, level, role);
        if (self->parent && self->parent->type == GUMBO_NODE_ELEMENT)
            scopes.push_back({self->parent, blocks.size() - 1});
    }

    // The end of holder: its headings' scopes end here, or in the element above when
    // nothing followed them in it (a heading alone in its own wrapper).
    void leave(const GumboNode *holder)
    {
        while (!scopes.empty() && scopes.back().holder == holder) {
            const size_t h = scopes.back().heading;
            scopes.pop_back();
            if (blocks.size() <= h + 1 && holder->parent && holder->parent->type == GUMBO_NODE_ELEMENT)
                scopes.push_back({holder->parent, h});
            else
                blocks[h].scopeEnd = blocks.size();
        }
    }

    void add(Block::Kind kind, const QStringList &lines, int level = 0, Role role = Role::None,
             const GumboNode *holder = nullptr)
    {
        if (blocks.size() < size_t(kMaxLines) * 8)
            blocks.push_back({kind, level, role, 0, lines, nullptr, holder});
    }

    void meta(const GumboNode *n)
    {
        const QString property = attr(n, "property").isEmpty() ? attr(n, "name") : attr(n, "property");
        const QString content = collapseSpaces(attr(n, "content"));
        if (property == QLatin1String("og:title") && ogTitle.isEmpty())
            ogTitle = content;
        else if (property == QLatin1String("og:site_name") && siteName.isEmpty())
            siteName = content;
        else if (property == QLatin1String("og:image") && result.image.isEmpty())
            result.image = attr(n, "content").trimmed();
        else if (property == QLatin1String("og:type") && content.startsWith(QLatin1String("product"), Qt::CaseInsensitive))
            product = true;
    }

    // A paragraph or a leaf division: a label first ("Ingrédients :") becomes a heading.
    void paragraph(const GumboNode *n)
    {
        QStringList lines = textOfNode(n).split(u'\n', Qt::SkipEmptyParts);
        if (lines.isEmpty())
            return;
        if (const Role role = headingRole(lines.first(), false); role != Role::None) {
            addHeading(lines.first(), 7, role, n);
            lines.removeFirst();
        }
        if (!lines.isEmpty())
            add(Block::Para, lines, 0, Role::None, n->parent);
    }

    void read(const GumboNode *root)
    {
        struct Frame {
            const GumboNode *node;
            int closes = 0;       // a container heading's number to close after the children, or 0
            bool leaving = false; // the end of node, after its children
        };
        // The roles of the plug-in containers we are in.
        std::vector<Role> inside;
        std::vector<Frame> stack{{root, 0}};
        while (!stack.empty()) {
            const Frame f = stack.back();
            stack.pop_back();
            if (f.closes != 0) {
                blocks.push_back({Block::Close, 0, Role::None, f.closes, {}});
                inside.pop_back();
                continue;
            }
            if (f.leaving) {
                leave(f.node);
                continue;
            }
            const GumboNode *n = f.node;
            if (n->type != GUMBO_NODE_ELEMENT && n->type != GUMBO_NODE_DOCUMENT && n->type != GUMBO_NODE_TEMPLATE)
                continue;
            const GumboVector *children = &n->v.document.children;
            if (n->type != GUMBO_NODE_DOCUMENT) {
                children = &n->v.element.children;
                const GumboTag tag = n->v.element.tag;
                if (tag == GUMBO_TAG_META) {
                    meta(n);
                    continue;
                }
                if (tag == GUMBO_TAG_TITLE) {
                    if (pageTitle.isEmpty())
                        pageTitle = collapseSpaces(textOfNode(n));
                    continue;
                }
                if (isOffTopic(n))
                    continue;
                const char *classes = rawAttr(n, "class");
                if (pluginTitle.isEmpty() && containsAny(classes, {"name", "title"}) && isPluginTitle(QString::fromUtf8(classes)))
                    pluginTitle = collapseSpaces(textOfNode(n));
                if (tag >= GUMBO_TAG_H1 && tag <= GUMBO_TAG_H6) {
                    const QString text = collapseSpaces(textOfNode(n));
                    const int level = 1 + int(tag - GUMBO_TAG_H1);
                    if (level == 1 && h1.isEmpty())
                        h1 = text;
                    const Role role = headingRole(text, true);
                    // A plug-in's own heading inside its container says nothing more.
                    if (!text.isEmpty() && (role == Role::None || role == Role::End
                                            || std::find(inside.begin(), inside.end(), role) == inside.end()))
                        addHeading(text, level, role, n);
                    continue;
                }
                if (tag == GUMBO_TAG_PRE) {
                    const QString raw = rawText(n);
                    if (looksLikeMealMaster(raw)) {
                        if (result.mealMaster.size() < kMaxScripts)
                            result.mealMaster << raw;
                    } else {
                        paragraph(n);
                    }
                    continue;
                }
                if ((tag == GUMBO_TAG_LI && !hasBlockChild(n, true)) || tag == GUMBO_TAG_TR) {
                    // Most lists of a page are no recipe's: an item's text is read when needed.
                    const GumboNode *list = n->parent && n->parent->parent ? n->parent->parent : n->parent;
                    if (blocks.size() < size_t(kMaxLines) * 8)
                        blocks.push_back({Block::Item, 0, Role::None, 0, {}, n, list});
                    continue;
                }
                if (tag == GUMBO_TAG_LI) {
                    // An item that holds lists: their items, the item's own text lost.
                } else if (tag == GUMBO_TAG_P || tag == GUMBO_TAG_DT || tag == GUMBO_TAG_DD
                           || ((tag == GUMBO_TAG_DIV || tag == GUMBO_TAG_SPAN || tag == GUMBO_TAG_SECTION) && !hasBlockChild(n))) {
                    paragraph(n);
                    continue;
                }
                const std::initializer_list<const char *> roleWords = {"ingredient", "instruction", "direction", "method",
                                                                       "steps", "preparation"};
                const char *id = rawAttr(n, "id");
                const Role role = containsAny(classes, roleWords) || containsAny(id, roleWords)
                                      ? containerRole(QString::fromUtf8(classes) + u' ' + QString::fromUtf8(id))
                                      : Role::None;
                if (role != Role::None && std::find(inside.begin(), inside.end(), role) == inside.end()
                    && inside.size() < size_t(kMaxDepth)) {
                    ++containers;
                    blocks.push_back({Block::Heading, 0, role, containers, {}});
                    inside.push_back(role);
                    stack.push_back({nullptr, containers});
                }
                stack.push_back({n, 0, true});
            }
            for (unsigned i = children->length; i > 0; --i)
                stack.push_back({static_cast<const GumboNode *>(children->data[i - 1]), 0});
        }
    }

    // The blocks under the heading at h: up to the end of its container, the next heading
    // of another role, or of a rank as high as its own.
    std::vector<Block> region(size_t h) const
    {
        std::vector<Block> out;
        const Block &head = blocks[h];
        for (size_t j = h + 1; j < std::min(blocks.size(), head.scopeEnd); ++j) {
            const Block &b = blocks[j];
            if (b.kind == Block::Close) {
                if (head.container != 0 && b.container == head.container)
                    break;
                continue;
            }
            if (b.kind == Block::Heading) {
                if (b.role == Role::End || (b.role != Role::None && b.role != head.role))
                    break;
                if (b.role == head.role) {
                    if (head.container == 0)
                        break;
                    continue;
                }
                if (head.container == 0 && b.level <= head.level)
                    break;
            }
            out.push_back(b);
            if (b.item) {
                out.back().lines = itemLines(b.item);
                if (out.back().lines.isEmpty())
                    out.pop_back();
            }
        }
        return out;
    }

    // A list item's text on one line, or a table row's cells side by side.
    static QStringList itemLines(const GumboNode *n)
    {
        QStringList cells;
        if (n->v.element.tag == GUMBO_TAG_TR) {
            const GumboVector &children = n->v.element.children;
            for (unsigned i = 0; i < children.length; ++i) {
                const auto *cell = static_cast<const GumboNode *>(children.data[i]);
                if (cell->type == GUMBO_NODE_ELEMENT)
                    cells << textOfNode(cell).split(u'\n').join(u' ');
            }
        } else {
            cells << textOfNode(n).split(u'\n').join(u' ');
        }
        const QString t = collapseSpaces(cells.join(u' '));
        return t.isEmpty() ? QStringList() : QStringList{t};
    }

    // Ingredient lines of a region: its items with its sub-headings, or the lines of its
    // paragraphs when it has no list.
    // Two blocks in the same kind of place: holders of the same tag and classes.
    static bool samePlace(const Block &a, const Block &b)
    {
        const GumboNode *x = a.holder;
        const GumboNode *y = b.holder;
        if (x == y)
            return true;
        if (!x || !y || x->type != GUMBO_NODE_ELEMENT || y->type != GUMBO_NODE_ELEMENT || x->v.element.tag != y->v.element.tag)
            return false;
        return std::strcmp(rawAttr(x, "class"), rawAttr(y, "class")) == 0;
    }

    // The region's content of the kind it starts with, in the same kind of place: items up to
    // a paragraph, or paragraphs up to a list (a short line ending in ':' is a sub-heading):
    // the page goes on with other things after the recipe.
    static std::vector<Block> content(std::vector<Block> region)
    {
        for (Block &b : region) {
            if (b.kind == Block::Para && b.lines.size() == 1 && b.lines.first().size() <= 60 && b.lines.first().endsWith(u':')) {
                b.kind = Block::Heading;
                b.lines.first().chop(1);
            }
        }
        const auto first = std::find_if(region.begin(), region.end(),
                                        [](const Block &b) { return b.kind == Block::Item || b.kind == Block::Para; });
        if (first == region.end())
            return {};
        const Block start = *first;
        std::vector<Block> out;
        for (const Block &b : region) {
            if ((b.kind == Block::Item || b.kind == Block::Para) && (b.kind != start.kind || !samePlace(b, start)))
                break;
            out.push_back(b);
        }
        return out;
    }

    static std::vector<IngredientLine> ingredientsIn(const std::vector<Block> &region)
    {
        std::vector<IngredientLine> out;
        for (const Block &b : content(region)) {
            if (out.size() >= size_t(kMaxLines))
                break;
            if (b.kind == Block::Heading && !b.lines.isEmpty())
                out.push_back({b.lines.first().trimmed(), true});
            else if (b.kind == Block::Item || b.kind == Block::Para)
                for (const QString &l : b.lines)
                    if (const QString t = withoutBullet(l); !t.isEmpty())
                        out.push_back({t});
        }
        // A sub-heading with nothing under it says nothing.
        std::vector<IngredientLine> kept;
        for (size_t i = 0; i < out.size(); ++i)
            if (!out[i].heading || (i + 1 < out.size() && !out[i + 1].heading))
                kept.push_back(out[i]);
        return kept;
    }

    static std::vector<RecipeFields::Step> stepsIn(const std::vector<Block> &region)
    {
        std::vector<RecipeFields::Step> out;
        QString section;
        for (const Block &b : content(region)) {
            if (int(out.size()) >= kMaxLines)
                break;
            if (b.kind == Block::Heading && !b.lines.isEmpty())
                section = b.lines.first().trimmed();
            else if (b.kind == Block::Item || b.kind == Block::Para)
                for (const QString &l : b.lines)
                    if (const QString t = withoutBullet(l); !t.isEmpty() && !isStepNumber(t))
                        out.push_back({section, t});
        }
        return out;
    }

    // A line without its bullet or number ("- ", "• ", "1. ", "2) ").
    static QString withoutBullet(const QString &line)
    {
        static const QRegularExpression bullet(QStringLiteral("^(?:[-–•*·▪✓✔]\\s*|\\d{1,2}[.)]\\s+)"));
        return collapseSpaces(QString(line).remove(bullet));
    }

    // "Étape 1", "Step 2:" alone: the number of the step that follows.
    static bool isStepNumber(const QString &line)
    {
        static const QRegularExpression re(QStringLiteral("^(?:step|[ée]tape|schritt|paso|passo|stap|krok)?\\s*\\d{1,2}\\s*[.:)]?$"),
                                           QRegularExpression::CaseInsensitiveOption);
        return re.match(line).hasMatch();
    }

    void findRecipe()
    {
        if (product)
            return;
        size_t ingredientsAt = blocks.size();
        for (size_t i = 0; i < blocks.size() && result.ingredients.empty(); ++i) {
            if (blocks[i].kind != Block::Heading || blocks[i].role != Role::Ingredients)
                continue;
            const std::vector<IngredientLine> lines = ingredientsIn(region(i));
            if (std::count_if(lines.begin(), lines.end(), [](const IngredientLine &l) { return !l.heading; }) >= 2) {
                result.ingredients = lines;
                ingredientsAt = i;
            }
        }
        // The steps after the ingredients, or before them when none follow.
        for (int pass = 0; pass < 2 && result.steps.empty(); ++pass) {
            for (size_t i = pass == 0 && ingredientsAt < blocks.size() ? ingredientsAt : 0; i < blocks.size(); ++i) {
                if (blocks[i].kind != Block::Heading || blocks[i].role != Role::Steps)
                    continue;
                result.steps = stepsIn(region(i));
                if (!result.steps.empty())
                    break;
            }
        }
    }

    // title without the site's name: "Tarte | Chez Marie" gives "Tarte".
    QString withoutSiteName(const QString &title) const
    {
        static const QStringList separators = {QStringLiteral(" | "), QStringLiteral(" - "), QStringLiteral(" – "),
                                               QStringLiteral(" — "), QStringLiteral(" · "), QStringLiteral(" :: "),
                                               QStringLiteral(" » "), QStringLiteral(" • ")};
        QString t = title;
        if (!siteName.isEmpty()) {
            for (const QString &s : separators) {
                if (t.endsWith(s + siteName, Qt::CaseInsensitive))
                    return t.chopped(s.size() + siteName.size()).trimmed();
                if (t.startsWith(siteName + s, Qt::CaseInsensitive))
                    return t.mid(s.size() + siteName.size()).trimmed();
            }
            return t;
        }
        qsizetype cut = -1;
        for (const QString &s : separators)
            cut = std::max(cut, t.lastIndexOf(s));
        if (cut > 0 && t.size() - cut <= 40)
            t = t.left(cut).trimmed();
        return t;
    }

    void chooseTitle()
    {
        const QString og = withoutSiteName(ogTitle);
        const auto core = [](const QString &t) { return collapseSpaces(t).toLower(); };
        QString heading = h1.compare(siteName, Qt::CaseInsensitive) == 0 ? QString() : h1;
        if (!pluginTitle.isEmpty())
            result.title = pluginTitle;
        else if (!heading.isEmpty() && !og.isEmpty())
            // The first <h1> may be the site's logo: it is taken when it agrees with og:title.
            result.title = core(og).contains(core(heading)) || core(heading).contains(core(og))
                               ? (heading.size() <= og.size() ? heading : og)
                               : og;
        else if (!heading.isEmpty())
            result.title = heading;
        else if (!og.isEmpty())
            result.title = og;
        else
            result.title = withoutSiteName(pageTitle);
    }
};

} // namespace

int ShownRecipe::ingredientCount() const
{
    return int(std::count_if(ingredients.begin(), ingredients.end(), [](const IngredientLine &l) { return !l.heading; }));
}

ShownRecipe readShownRecipe(const GumboInternalNode *root)
{
    Reader reader;
    reader.read(root);
    reader.findRecipe();
    reader.chooseTitle();
    return std::move(reader.result);
}

} // namespace gratinel::importer
