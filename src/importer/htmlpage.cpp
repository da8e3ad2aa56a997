// Pages read with libgumbo: JSON-LD scripts, microdata items, fragments to plain text.
#include "importer/htmlpage.h"

#include "importer/limits.h"
#include "importer/markupscan.h"

#include <QHash>
#include <QJsonObject>
#include <QStringTokenizer>

#include <gumbo.h>

#include <memory>
#include <vector>

namespace gratinel::importer {

namespace {

// Owns a parse. Every allocation of the parser comes from an arena freed at once at the end:
// freeing the tree node by node would recurse as deep as the page nests.
class Parsed {
public:
    explicit Parsed(const QByteArray &utf8)
    {
        GumboOptions options = kGumboDefaultOptions;
        // Each parse error would keep a copy of the stack of open elements: none is kept.
        options.max_errors = 0;
        options.allocator = &Parsed::allocate;
        options.deallocator = &Parsed::release;
        options.userdata = this;
        output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    }
    Parsed(const Parsed &) = delete;
    Parsed &operator=(const Parsed &) = delete;
    GumboOutput *output = nullptr;

private:
    static void *allocate(void *userdata, size_t size)
    {
        auto *self = static_cast<Parsed *>(userdata);
        size = (size + 15) & ~size_t(15);
        if (size > kBlock / 4) {
            self->blocks_.push_back(std::make_unique<std::byte[]>(size));
            return self->blocks_.back().get();
        }
        if (self->blocks_.empty() || self->left_ < size) {
            self->blocks_.push_back(std::make_unique<std::byte[]>(kBlock));
            self->next_ = self->blocks_.back().get();
            self->left_ = kBlock;
        }
        void *at = self->next_;
        self->next_ += size;
        self->left_ -= size;
        return at;
    }
    static void release(void *, void *) {}

    static constexpr size_t kBlock = 1 << 20;
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::byte *next_ = nullptr;
    size_t left_ = 0;
};

// The steps the walks of one tree may still take; the innermost tree being read is this thread's.
class WalkBudget {
public:
    explicit WalkBudget(qsizetype bytes) : left_(kWalkVisitsPerByte * bytes + kWalkVisitsBase), outer_(current) { current = this; }
    ~WalkBudget() { current = outer_; }
    WalkBudget(const WalkBudget &) = delete;
    WalkBudget &operator=(const WalkBudget &) = delete;
    bool spent() const { return left_ < 0; }
    static bool step() { return !current || --current->left_ >= 0; }

private:
    static thread_local WalkBudget *current;
    qint64 left_;
    WalkBudget *outer_;
};

thread_local WalkBudget *WalkBudget::current = nullptr;

QString attribute(const GumboNode *node, const char *name)
{
    const GumboAttribute *a = gumbo_get_attribute(&node->v.element.attributes, name);
    return a ? QString::fromUtf8(a->value) : QString();
}

bool isBlock(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_P: case GUMBO_TAG_DIV: case GUMBO_TAG_LI: case GUMBO_TAG_UL: case GUMBO_TAG_OL:
    case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4: case GUMBO_TAG_H5:
    case GUMBO_TAG_H6: case GUMBO_TAG_TR: case GUMBO_TAG_TABLE: case GUMBO_TAG_SECTION:
    case GUMBO_TAG_ARTICLE: case GUMBO_TAG_BLOCKQUOTE: case GUMBO_TAG_DT: case GUMBO_TAG_DD:
        return true;
    default:
        return false;
    }
}

// The text under node, blocks and <br> as line breaks; script and style left out. The walk
// keeps its own stack, so a deep tree costs no call depth.
QString textOf(const GumboNode *root)
{
    QString out;
    struct Frame {
        const GumboNode *node;
        bool closing;
    };
    std::vector<Frame> stack{{root, false}};
    while (!stack.empty() && out.size() < kMaxFieldChars * 2 && walkStep()) {
        const Frame f = stack.back();
        stack.pop_back();
        const GumboNode *n = f.node;
        if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE || n->type == GUMBO_NODE_CDATA) {
            out += QString::fromUtf8(n->v.text.text);
            continue;
        }
        if (n->type != GUMBO_NODE_ELEMENT && n->type != GUMBO_NODE_DOCUMENT && n->type != GUMBO_NODE_TEMPLATE)
            continue;
        const GumboTag tag = n->type == GUMBO_NODE_DOCUMENT ? GUMBO_TAG_UNKNOWN : n->v.element.tag;
        if (f.closing) {
            if (isBlock(tag))
                out += u'\n';
            continue;
        }
        if (tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE)
            continue;
        if (tag == GUMBO_TAG_BR) {
            out += u'\n';
            continue;
        }
        const GumboVector &children = n->type == GUMBO_NODE_DOCUMENT ? n->v.document.children : n->v.element.children;
        stack.push_back({n, true});
        for (unsigned i = children.length; i > 0; --i)
            stack.push_back({static_cast<const GumboNode *>(children.data[i - 1]), false});
    }
    // Each line's spaces collapsed, empty lines dropped.
    QStringList lines;
    for (const QString &l : out.split(u'\n')) {
        const QString s = collapseSpaces(l);
        if (!s.isEmpty())
            lines << s;
    }
    return lines.join(u'\n').left(kMaxFieldChars);
}

bool hasWord(const QString &list, QLatin1StringView word)
{
    for (const QString &w : list.split(u' ', Qt::SkipEmptyParts))
        if (w.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isRecipeType(const QString &itemtype)
{
    for (const QString &t : itemtype.split(u' ', Qt::SkipEmptyParts))
        if (t.section(u'/', -1).compare(QLatin1String("Recipe"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The value of an itemprop element that is no item itself.
QString propValue(const GumboNode *n)
{
    const char *const content = "content";
    if (gumbo_get_attribute(&n->v.element.attributes, content))
        return attribute(n, content);
    switch (n->v.element.tag) {
    case GUMBO_TAG_IMG: case GUMBO_TAG_AUDIO: case GUMBO_TAG_VIDEO: case GUMBO_TAG_SOURCE: case GUMBO_TAG_IFRAME:
        return attribute(n, "src");
    case GUMBO_TAG_A: case GUMBO_TAG_LINK: case GUMBO_TAG_AREA:
        return attribute(n, "href");
    case GUMBO_TAG_TIME:
        if (gumbo_get_attribute(&n->v.element.attributes, "datetime"))
            return attribute(n, "datetime");
        break;
    case GUMBO_TAG_META:
        return {};
    default:
        break;
    }
    return textOf(n);
}

// A microdata item as a JSON-LD object: each property once or as an array, nested items
// as objects, up to kMaxDepth levels; the first kMaxItemWords names of an itemprop, the first
// kMaxItemKeys properties of an item.
QJsonObject itemOf(const GumboNode *item, int depth)
{
    std::vector<std::pair<QString, QJsonArray>> props;
    QHash<QString, size_t> index;
    std::vector<const GumboNode *> stack;
    const GumboVector &top = item->v.element.children;
    for (unsigned i = top.length; i > 0; --i)
        stack.push_back(static_cast<const GumboNode *>(top.data[i - 1]));
    while (!stack.empty() && walkStep()) {
        const GumboNode *n = stack.back();
        stack.pop_back();
        if (n->type != GUMBO_NODE_ELEMENT)
            continue;
        const bool scope = gumbo_get_attribute(&n->v.element.attributes, "itemscope") != nullptr;
        const QString names = attribute(n, "itemprop");
        if (!names.isEmpty()) {
            QJsonValue value;
            if (scope && depth < kMaxDepth)
                value = itemOf(n, depth + 1);
            else
                value = propValue(n);
            int words = 0;
            for (const QStringView name : QStringTokenizer(names, u' ', Qt::SkipEmptyParts)) {
                if (++words > kMaxItemWords)
                    break;
                auto at = index.constFind(name.toString());
                if (at == index.cend()) {
                    if (int(props.size()) >= kMaxItemKeys)
                        continue;
                    at = index.insert(name.toString(), props.size());
                    props.push_back({name.toString(), {}});
                }
                QJsonArray &values = props[*at].second;
                if (values.size() < kMaxLines)
                    values.append(value);
            }
        }
        if (scope)
            continue; // a nested item's properties are its own
        const GumboVector &children = n->v.element.children;
        for (unsigned i = children.length; i > 0; --i)
            stack.push_back(static_cast<const GumboNode *>(children.data[i - 1]));
    }
    QJsonObject o;
    for (const auto &[name, values] : props)
        o.insert(name, values.size() == 1 ? values.first() : QJsonValue(values));
    o.insert(QStringLiteral("@type"), attribute(item, "itemtype").section(u'/', -1));
    return o;
}

} // namespace

QString collapseSpaces(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f' || u == u'\v') {
            space = !out.isEmpty();
            continue;
        }
        if (space)
            out += u' ';
        space = false;
        out += c;
    }
    return out;
}

bool walkStep()
{
    return WalkBudget::step();
}

Page readPage(const QByteArray &utf8, bool withShown)
{
    Page page;
    page.problem = markupProblem(utf8);
    if (!page.problem.isEmpty())
        return page;
    const Parsed parsed(utf8);
    const WalkBudget budget(utf8.size());
    std::vector<const GumboNode *> stack{parsed.output->root};
    while (!stack.empty() && walkStep()) {
        const GumboNode *n = stack.back();
        stack.pop_back();
        if (n->type != GUMBO_NODE_ELEMENT && n->type != GUMBO_NODE_TEMPLATE)
            continue;
        const GumboTag tag = n->v.element.tag;
        if (tag == GUMBO_TAG_SCRIPT) {
            if (attribute(n, "type").trimmed().compare(QLatin1String("application/ld+json"), Qt::CaseInsensitive) == 0
                && page.jsonLd.size() < kMaxScripts && n->v.element.children.length > 0) {
                const auto *text = static_cast<const GumboNode *>(n->v.element.children.data[0]);
                if (text->type == GUMBO_NODE_TEXT || text->type == GUMBO_NODE_CDATA || text->type == GUMBO_NODE_WHITESPACE)
                    page.jsonLd << QString::fromUtf8(text->v.text.text);
            }
            continue;
        }
        if (tag == GUMBO_TAG_LINK && page.canonical.isEmpty() && hasWord(attribute(n, "rel"), QLatin1StringView("canonical")))
            page.canonical = attribute(n, "href").trimmed();
        if (tag == GUMBO_TAG_META && page.canonical.isEmpty() && attribute(n, "property") == QLatin1String("og:url"))
            page.canonical = attribute(n, "content").trimmed();
        if (gumbo_get_attribute(&n->v.element.attributes, "itemscope") && isRecipeType(attribute(n, "itemtype"))) {
            if (page.microdata.size() < kMaxRecipes)
                page.microdata.append(itemOf(n, 1));
            continue;
        }
        const GumboVector &children = n->v.element.children;
        for (unsigned i = children.length; i > 0; --i)
            stack.push_back(static_cast<const GumboNode *>(children.data[i - 1]));
    }
    // The walks of the marked recipes came first: a page they could not finish is refused. The
    // recipe the page shows is read with what is left, and left out when that does not suffice.
    if (budget.spent())
        return Page{{}, {}, {}, tooHeavy(), {}};
    if (withShown) {
        page.shown = readShownPage(parsed.output->root);
        if (budget.spent()) {
            page.shown = {};
            if (page.jsonLd.isEmpty() && page.microdata.isEmpty())
                page.problem = tooHeavy();
        }
    }
    return page;
}

QString textOfNode(const GumboInternalNode *node)
{
    return textOf(node);
}

QString plainText(const QString &html)
{
    if (!html.contains(u'<') && !html.contains(u'&'))
        return html;
    const QByteArray utf8 = html.left(kMaxFieldChars * 4).toUtf8();
    if (!markupProblem(utf8).isEmpty())
        return {};
    const Parsed parsed(utf8);
    const WalkBudget budget(utf8.size());
    return textOf(parsed.output->root);
}

} // namespace gratinel::importer
