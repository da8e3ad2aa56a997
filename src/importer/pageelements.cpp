// Telling what a page's elements are to its reader, from their tags, classes and ids.
#include "importer/pageelements.h"

#include "importer/htmlpage.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace gratinel::importer {

const char *rawAttr(const GumboNode *n, const char *name)
{
    // The parser gives attribute names in lower case.
    const GumboVector &attributes = n->v.element.attributes;
    for (unsigned i = 0; i < attributes.length; ++i) {
        const auto *a = static_cast<const GumboAttribute *>(attributes.data[i]);
        if (std::strcmp(a->name, name) == 0)
            return a->value;
    }
    return "";
}

namespace {

bool hasAttr(const GumboNode *n, const char *name)
{
    const GumboVector &attributes = n->v.element.attributes;
    for (unsigned i = 0; i < attributes.length; ++i)
        if (std::strcmp(static_cast<const GumboAttribute *>(attributes.data[i])->name, name) == 0)
            return true;
    return false;
}

// True when a word of the class and id tokens (split at '-' and '_') is one of words, or a
// token starts with one of prefixes. "has-sidebar", "comments-open" and "no-comments" name
// what the element has, not what it is.
bool sameWord(const char *at, size_t length, const char *word)
{
    return std::strlen(word) == length && strncasecmp(at, word, length) == 0;
}

bool contains(const char *at, size_t length, const char *part)
{
    const size_t n = std::strlen(part);
    for (size_t i = 0; i + n <= length; ++i)
        if (strncasecmp(at + i, part, n) == 0)
            return true;
    return false;
}

bool namedAs(const GumboNode *n, std::initializer_list<const char *> words, std::initializer_list<const char *> prefixes = {})
{
    if (n->v.element.attributes.length == 0)
        return false;
    for (const char *attr : {"class", "id"}) {
        const char *v = rawAttr(n, attr);
        while (*v) {
            while (*v == ' ' || *v == '\t' || *v == '\n')
                ++v;
            const char *end = v;
            while (*end && *end != ' ' && *end != '\t' && *end != '\n')
                ++end;
            const char *token = v;
            const size_t length = size_t(end - v);
            v = end;
            if (length == 0 || strncasecmp(token, "has-", 4) == 0 || strncasecmp(token, "no-", 3) == 0
                || strncasecmp(token, "is-", 3) == 0 || strncasecmp(token, "with-", 5) == 0 || contains(token, length, "-open")
                || contains(token, length, "-closed") || contains(token, length, "count") || contains(token, length, "link"))
                continue;
            for (const char *p : prefixes)
                if (strncasecmp(token, p, std::min(length, std::strlen(p))) == 0 && length >= std::strlen(p))
                    return true;
            // The first or the last word of the token: "comments-area", "jp-relatedposts", never
            // the middle one of "content-sidebar-wrap".
            size_t firstEnd = 0;
            while (firstEnd < length && token[firstEnd] != '-' && token[firstEnd] != '_')
                ++firstEnd;
            size_t lastStart = length;
            while (lastStart > 0 && token[lastStart - 1] != '-' && token[lastStart - 1] != '_')
                --lastStart;
            for (const char *w : words)
                if (sameWord(token, firstEnd, w) || sameWord(token + lastStart, length - lastStart, w))
                    return true;
        }
    }
    return false;
}

bool isFrame(GumboTag tag)
{
    return tag == GUMBO_TAG_HTML || tag == GUMBO_TAG_BODY || tag == GUMBO_TAG_MAIN || tag == GUMBO_TAG_ARTICLE
           || tag == GUMBO_TAG_FORM;
}

bool isHidden(const GumboNode *n)
{
    if (n->v.element.attributes.length == 0)
        return false;
    if (hasAttr(n, "hidden"))
        return true;
    const char *style = rawAttr(n, "style");
    return *style && (strcasestr(style, "display:none") || strcasestr(style, "display: none"));
}

} // namespace

Visit visitOf(const GumboNode *n)
{
    switch (n->v.element.tag) {
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_SVG:
    case GUMBO_TAG_MATH: case GUMBO_TAG_IFRAME: case GUMBO_TAG_OBJECT: case GUMBO_TAG_EMBED: case GUMBO_TAG_SELECT:
    case GUMBO_TAG_BUTTON: case GUMBO_TAG_INPUT: case GUMBO_TAG_TEXTAREA: case GUMBO_TAG_VIDEO: case GUMBO_TAG_AUDIO:
    case GUMBO_TAG_CANVAS: case GUMBO_TAG_FIGCAPTION: case GUMBO_TAG_OPTION:
        return Visit::Skip;
    case GUMBO_TAG_ASIDE:
        // An aside is beside the page's subject, unless it holds the recipe ("recipe-box").
        return namedAs(n, {"recipe", "recette", "rezept", "receta", "ricetta", "ingredients"},
                       {"recipe", "recette", "rezept", "receta", "ricetta", "wprm", "tasty"})
                   ? Visit::Read
                   : Visit::Skip;
    case GUMBO_TAG_NAV: case GUMBO_TAG_FOOTER:
        return Visit::Stop;
    default:
        break;
    }
    if (isHidden(n))
        return Visit::Skip;
    if (isFrame(n->v.element.tag) || (!*rawAttr(n, "class") && !*rawAttr(n, "id")))
        return Visit::Read;
    if (namedAs(n, {"comment", "comments", "respond", "reply", "replies", "discussion", "disqus", "share", "sharing", "social",
                    "sharedaddy", "shareaholic", "related", "relatedposts", "yarpp", "similar", "newsletter", "subscribe",
                    "subscription", "optin", "author", "authorbox", "byline", "footer", "pagination",
                    "navigation", "nav", "breadcrumb", "breadcrumbs", "reviews", "ratings", "tags", "taxonomy"},
                {"comment", "share", "related", "newsletter", "authorbox", "author-box", "about-author"}))
        return Visit::Stop;
    if (namedAs(n, {"sidebar", "widget", "widgets", "ad", "ads", "advert", "advertisement", "adsense", "adsbygoogle",
                    "sponsored", "promo", "cookie", "cookies", "consent", "popup", "modal", "overlay", "offscreen", "skip",
                    "menu", "toc", "jump", "rating", "stars"},
                {"advert", "adsbygoogle", "sidebar", "screen-reader", "sr-only", "visually-hidden", "wprm-recipe-jump",
                 "wprm-recipe-print", "wprm-recipe-rating"}))
        return Visit::Skip;
    return Visit::Read;
}

bool isBlockTag(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_P: case GUMBO_TAG_DIV: case GUMBO_TAG_UL: case GUMBO_TAG_OL: case GUMBO_TAG_LI: case GUMBO_TAG_DL:
    case GUMBO_TAG_DT: case GUMBO_TAG_DD: case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4:
    case GUMBO_TAG_H5: case GUMBO_TAG_H6: case GUMBO_TAG_TABLE: case GUMBO_TAG_TR: case GUMBO_TAG_SECTION:
    case GUMBO_TAG_ARTICLE: case GUMBO_TAG_PRE: case GUMBO_TAG_HEADER: case GUMBO_TAG_MAIN: case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_FIGURE: case GUMBO_TAG_ADDRESS: case GUMBO_TAG_CENTER: case GUMBO_TAG_DETAILS: case GUMBO_TAG_SUMMARY:
    case GUMBO_TAG_FIELDSET: case GUMBO_TAG_FORM: case GUMBO_TAG_BODY: case GUMBO_TAG_HR: case GUMBO_TAG_MENU:
    case GUMBO_TAG_CAPTION: case GUMBO_TAG_LEGEND: case GUMBO_TAG_HGROUP:
        return true;
    default:
        return false;
    }
}


bool isHeadingAside(const GumboNode *n)
{
    const GumboTag tag = n->v.element.tag;
    return tag == GUMBO_TAG_TIME || tag == GUMBO_TAG_SMALL
           || namedAs(n, {"date", "time", "meta", "category", "categories", "cat", "posted", "published"});
}

bool isSiteMark(const GumboNode *n)
{
    return namedAs(n, {"logo", "brand", "masthead", "navbar"}, {"site-title", "site-name", "site-logo", "site-branding"});
}

bool isHomeLink(const GumboNode *n)
{
    const char *href = rawAttr(n, "href");
    return n->v.element.tag == GUMBO_TAG_A && (!std::strcmp(href, "/") || !std::strcmp(href, "./") || !std::strcmp(href, "index.html"));
}

HeadingRole pluginListRole(const GumboNode *n)
{
    const char *classes = rawAttr(n, "class");
    const char *id = rawAttr(n, "id");
    bool named = false;
    for (const char *v : {classes, id})
        for (const char *w : {"ingredient", "instruction", "direction", "method", "steps", "preparation"})
            named = named || (*v && strcasestr(v, w));
    return named ? containerRole(QString::fromUtf8(classes) + u' ' + QString::fromUtf8(id)) : HeadingRole::None;
}

bool isPluginTitleElement(const GumboNode *n)
{
    const char *classes = rawAttr(n, "class");
    return *classes && (strcasestr(classes, "name") || strcasestr(classes, "title")) && isPluginTitle(QString::fromUtf8(classes));
}

void readHeadElement(const GumboNode *n, PageLines &page)
{
    if (n->v.element.tag == GUMBO_TAG_TITLE) {
        if (page.pageTitle.isEmpty() && n->v.element.children.length > 0) {
            const auto *t = static_cast<const GumboNode *>(n->v.element.children.data[0]);
            if (t->type == GUMBO_NODE_TEXT)
                page.pageTitle = collapseSpaces(QString::fromUtf8(t->v.text.text));
        }
        return;
    }
    const QString property = QString::fromUtf8(*rawAttr(n, "property") ? rawAttr(n, "property") : rawAttr(n, "name"));
    const auto content = [&] { return collapseSpaces(QString::fromUtf8(rawAttr(n, "content"))); };
    if (property == QLatin1String("og:title") && page.ogTitle.isEmpty())
        page.ogTitle = content();
    else if ((property == QLatin1String("og:site_name") || property == QLatin1String("application-name")) && page.siteName.isEmpty())
        page.siteName = content();
    else if (property == QLatin1String("og:image") && page.ogImage.isEmpty())
        page.ogImage = content();
    else if (property == QLatin1String("og:type") && content().startsWith(QLatin1String("product"), Qt::CaseInsensitive))
        page.product = true;
}

} // namespace gratinel::importer
