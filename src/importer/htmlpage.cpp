// Pages read with libgumbo: JSON-LD scripts, microdata items, fragments to plain text.
#include "importer/htmlpage.h"

#include "importer/limits.h"

#include <QJsonObject>

#include <gumbo.h>

#include <cstring>
#include <vector>

namespace gratinel::importer {

namespace {

// Owns a parse.
struct Parsed {
    explicit Parsed(const QByteArray &utf8)
        : output(gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size())))
    {
    }
    ~Parsed() { gumbo_destroy_output(&kGumboDefaultOptions, output); }
    Parsed(const Parsed &) = delete;
    Parsed &operator=(const Parsed &) = delete;
    GumboOutput *output;
};

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
    while (!stack.empty() && out.size() < kMaxFieldChars * 2) {
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
// as objects, up to kMaxDepth levels.
QJsonObject itemOf(const GumboNode *item, int depth)
{
    QJsonObject o;
    o.insert(QStringLiteral("@type"), attribute(item, "itemtype").section(u'/', -1));
    std::vector<const GumboNode *> stack;
    const GumboVector &top = item->v.element.children;
    for (unsigned i = top.length; i > 0; --i)
        stack.push_back(static_cast<const GumboNode *>(top.data[i - 1]));
    while (!stack.empty()) {
        const GumboNode *n = stack.back();
        stack.pop_back();
        if (n->type != GUMBO_NODE_ELEMENT)
            continue;
        const bool scope = gumbo_get_attribute(&n->v.element.attributes, "itemscope") != nullptr;
        const QString props = attribute(n, "itemprop");
        if (!props.isEmpty()) {
            QJsonValue value;
            if (scope && depth < kMaxDepth)
                value = itemOf(n, depth + 1);
            else
                value = propValue(n);
            for (const QString &p : props.split(u' ', Qt::SkipEmptyParts)) {
                const QJsonValue old = o.value(p);
                if (old.isUndefined()) {
                    o.insert(p, value);
                } else {
                    QJsonArray a = old.isArray() ? old.toArray() : QJsonArray{old};
                    if (a.size() < kMaxLines)
                        a.append(value);
                    o.insert(p, a);
                }
            }
        }
        if (scope)
            continue; // a nested item's properties are its own
        const GumboVector &children = n->v.element.children;
        for (unsigned i = children.length; i > 0; --i)
            stack.push_back(static_cast<const GumboNode *>(children.data[i - 1]));
    }
    return o;
}

bool isVoidOrSelfClosing(const QByteArray &name)
{
    static const char *const names[] = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
                                        "meta", "param", "source", "track", "wbr", "p", "li", "dt", "dd",
                                        "option", "optgroup", "tr", "td", "th", "tbody", "thead", "tfoot",
                                        "rb", "rt", "rp", "rtc", "colgroup", "caption", "frame", "keygen"};
    for (const char *n : names)
        if (name == n)
            return true;
    return false;
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

int estimatedNesting(const QByteArray &html)
{
    const char *p = html.constData();
    const char *const end = p + html.size();
    int depth = 0;
    int deepest = 0;
    const auto lower = [](char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    while ((p = static_cast<const char *>(std::memchr(p, '<', size_t(end - p)))) != nullptr) {
        ++p;
        if (p < end && *p == '!') {
            // A comment or a declaration: to its end.
            const bool comment = end - p >= 3 && p[1] == '-' && p[2] == '-';
            const char *close = comment ? static_cast<const char *>(memmem(p, size_t(end - p), "-->", 3))
                                        : static_cast<const char *>(std::memchr(p, '>', size_t(end - p)));
            if (!close)
                break;
            p = close;
            continue;
        }
        const bool closing = p < end && *p == '/';
        if (closing)
            ++p;
        if (p >= end || !isLetter(*p))
            continue;
        QByteArray name;
        while (p < end && (isLetter(*p) || (*p >= '0' && *p <= '9')) && name.size() < 16)
            name += lower(*p++);
        const char *gt = static_cast<const char *>(std::memchr(p, '>', size_t(end - p)));
        if (!gt)
            break;
        if (closing) {
            if (!isVoidOrSelfClosing(name) && depth > 0)
                --depth;
        } else if (!isVoidOrSelfClosing(name) && gt[-1] != '/') {
            deepest = std::max(deepest, ++depth);
        }
        p = gt;
        // Raw text: nothing in it is a tag.
        if (!closing && (name == "script" || name == "style" || name == "textarea" || name == "title")) {
            const QByteArray endTag = "</" + name;
            const qsizetype at = html.indexOf(endTag, p - html.constData());
            const qsizetype atUpper = html.indexOf(endTag.toUpper(), p - html.constData());
            const qsizetype first = at < 0 ? atUpper : (atUpper < 0 ? at : std::min(at, atUpper));
            if (first < 0)
                break;
            p = html.constData() + first;
        }
    }
    return deepest;
}

Page readPage(const QByteArray &utf8, bool withShown)
{
    Page page;
    if (estimatedNesting(utf8) > kMaxHtmlNesting) {
        page.problem = QStringLiteral("la page imbrique plus de %1 éléments").arg(kMaxHtmlNesting);
        return page;
    }
    const Parsed parsed(utf8);
    std::vector<const GumboNode *> stack{parsed.output->root};
    while (!stack.empty()) {
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
    if (withShown)
        page.shown = readShownRecipe(parsed.output->root);
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
    if (estimatedNesting(utf8) > kMaxHtmlNesting)
        return {};
    const Parsed parsed(utf8);
    return textOf(parsed.output->root);
}

} // namespace gratinel::importer
