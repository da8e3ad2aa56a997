// The walk of a page into the lines its reader sees.
#include "importer/pagelines.h"

#include "importer/htmlpage.h"
#include "importer/limits.h"
#include "importer/mealmaster.h"

#include <gumbo.h>

#include <cstring>
#include <strings.h>

namespace gratinel::importer {

namespace {

// Lines kept of one page, and nodes visited: past them the rest of the page is not read.
constexpr std::size_t kMaxPageLines = 100'000;
constexpr std::size_t kMaxVisits = 4'000'000;

const char *rawAttr(const GumboNode *n, const char *name)
{
    const GumboAttribute *a = gumbo_get_attribute(&n->v.element.attributes, name);
    return a ? a->value : "";
}

bool hasAttr(const GumboNode *n, const char *name)
{
    return gumbo_get_attribute(&n->v.element.attributes, name) != nullptr;
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
    if (hasAttr(n, "hidden"))
        return true;
    const char *style = rawAttr(n, "style");
    return *style && (strcasestr(style, "display:none") || strcasestr(style, "display: none"));
}

enum class Visit { Read, Skip, Stop };

// What the reader does with an element: read it, leave it out, or leave it out as the place
// where the recipe's own text is over.
Visit visitOf(const GumboNode *n)
{
    switch (n->v.element.tag) {
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_SVG:
    case GUMBO_TAG_MATH: case GUMBO_TAG_IFRAME: case GUMBO_TAG_OBJECT: case GUMBO_TAG_EMBED: case GUMBO_TAG_SELECT:
    case GUMBO_TAG_BUTTON: case GUMBO_TAG_INPUT: case GUMBO_TAG_TEXTAREA: case GUMBO_TAG_VIDEO: case GUMBO_TAG_AUDIO:
    case GUMBO_TAG_CANVAS: case GUMBO_TAG_FIGCAPTION: case GUMBO_TAG_ASIDE: case GUMBO_TAG_OPTION:
        return Visit::Skip;
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

class Walker {
public:
    PageLines out;

    void run(const GumboNode *root)
    {
        struct Frame {
            const GumboNode *node;
            bool leaving;
        };
        std::vector<Frame> stack{{root, false}};
        std::size_t visits = 0;
        while (!stack.empty() && out.lines.size() < kMaxPageLines && ++visits < kMaxVisits) {
            const Frame f = stack.back();
            stack.pop_back();
            const GumboNode *n = f.node;
            if (f.leaving) {
                leave(n);
                continue;
            }
            if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_CDATA) {
                text(n->v.text.text);
                continue;
            }
            if (n->type == GUMBO_NODE_WHITESPACE) {
                if (inPre())
                    text(n->v.text.text);
                else
                    buf_ += u' ';
                continue;
            }
            if (n->type != GUMBO_NODE_ELEMENT && n->type != GUMBO_NODE_DOCUMENT && n->type != GUMBO_NODE_TEMPLATE)
                continue;
            const GumboVector *children = &n->v.document.children;
            if (n->type != GUMBO_NODE_DOCUMENT) {
                children = &n->v.element.children;
                if (!enter(n))
                    continue;
                stack.push_back({n, true});
            }
            for (unsigned i = children->length; i > 0; --i)
                stack.push_back({static_cast<const GumboNode *>(children->data[i - 1]), false});
        }
        flush();
    }

private:
    enum class Ctx : std::uint8_t { Div, Heading, Item, List, Table, Row, Cell, Pre };
    struct Context {
        const GumboNode *node;
        Ctx kind;
        int id = 0;
        int list = 0;       // Item: its list; Row: its table
        bool layout = false; // Row: its cells hold blocks, it is no row of data
        int cells = 0, headCells = 0;
        bool head = false;  // Row: in <thead>
    };
    struct Scope {
        const GumboNode *holder;
        std::size_t line;
    };

    std::vector<Context> ctx_;
    std::vector<Scope> scopes_;
    std::vector<HeadingRole> inside_; // roles of the plug-in containers we are in
    std::vector<const GumboNode *> marked_; // elements whose end must be seen (see leave)
    QString buf_;
    int letters_ = 0, boldLetters_ = 0, linkLetters_ = 0;
    int bold_ = 0, link_ = 0, home_ = 0, site_ = 0, skipInHeading_ = 0;
    int ids_ = 0, containers_ = 0;
    bool lineBroken_ = false; // the current block gave a line already
    bool heldTerm_ = false;   // the buffer holds a <dt> whose <dd> may follow
    // Where the current cell's text starts in the buffer, and the letters before it.
    qsizetype cellStart_ = 0;
    int cellLetters_ = 0, cellBold_ = 0, cellLink_ = 0;

    bool inPre() const { return !ctx_.empty() && ctx_.back().kind == Ctx::Pre; }

    // The innermost context that owns text: a heading, an item, a row of data, or a block.
    Context *owner()
    {
        for (auto it = ctx_.rbegin(); it != ctx_.rend(); ++it) {
            if (it->kind == Ctx::Cell) {
                // A cell's text is its row's, unless the row is a layout.
                continue;
            }
            if (it->kind == Ctx::Row && it->layout)
                continue;
            if (it->kind == Ctx::List || it->kind == Ctx::Table)
                continue;
            return &*it;
        }
        return nullptr;
    }

    void text(const char *utf8)
    {
        const QString t = QString::fromUtf8(utf8);
        if (buf_.size() < kMaxFieldChars)
            buf_ += t;
        int letters = 0;
        for (const QChar c : t)
            if (c.isLetterOrNumber())
                ++letters;
        letters_ += letters;
        if (bold_ > 0)
            boldLetters_ += letters;
        if (link_ > 0)
            linkLetters_ += letters;
    }

    void resetBuffer()
    {
        buf_.clear();
        letters_ = boldLetters_ = linkLetters_ = 0;
    }

    void add(PageLine line)
    {
        if (out.lines.size() < kMaxPageLines)
            out.lines.push_back(std::move(line));
    }

    // The text gathered so far as lines of the context that owns it.
    void flush(bool headerRow = false)
    {
        if (letters_ == 0 && !inPre()) {
            resetBuffer();
            return;
        }
        Context *c = owner();
        PageLine line;
        line.bold = letters_ > 0 && boldLetters_ == letters_;
        line.link = letters_ > 0 && linkLetters_ == letters_;
        line.block = c ? c->id : 0;
        line.firstOfBlock = !lineBroken_;
        const Ctx kind = c ? c->kind : Ctx::Div;
        if (kind == Ctx::Pre) {
            const QString raw = buf_;
            resetBuffer();
            if (looksLikeMealMaster(raw)) {
                if (out.mealMaster.size() < kMaxScripts)
                    out.mealMaster << raw;
                return;
            }
            for (const QString &l : raw.split(u'\n')) {
                line.text = collapseSpaces(l);
                if (!line.text.isEmpty())
                    addText(line, c->node);
            }
            return;
        }
        line.text = collapseSpaces(buf_);
        resetBuffer();
        if (line.text.isEmpty())
            return;
        switch (kind) {
        case Ctx::Heading:
            line.kind = PageLine::Heading;
            line.level = std::uint8_t(1 + int(c->node->v.element.tag - GUMBO_TAG_H1));
            line.siteName = site_ > 0 || (home_ > 0 && line.link);
            add(std::move(line));
            scope(c->node->parent);
            break;
        case Ctx::Item:
            line.kind = PageLine::Item;
            line.list = c->list;
            add(std::move(line));
            break;
        case Ctx::Row:
            line.kind = headerRow ? PageLine::HeaderRow : PageLine::Row;
            line.list = c->list;
            line.bold = c->cells > 0 && c->headCells == c->cells;
            add(std::move(line));
            break;
        default:
            addText(line, c ? c->node : nullptr);
            break;
        }
        lineBroken_ = true;
    }

    void addText(PageLine &line, const GumboNode *block)
    {
        line.kind = PageLine::Text;
        // Only a short line can be a label whose section ends with the element holding it.
        const bool label = line.text.size() <= 100;
        add(std::move(line));
        if (label && block)
            scope(block);
    }

    void scope(const GumboNode *holder)
    {
        if (holder && holder->type == GUMBO_NODE_ELEMENT && !out.lines.empty())
            scopes_.push_back({holder, out.lines.size() - 1});
    }

    // The end of holder: the lines whose scope it held end here, or in the element above when
    // nothing followed them in it (a heading alone in its own wrapper).
    void endScopes(const GumboNode *holder)
    {
        std::size_t moved = SIZE_MAX;
        while (!scopes_.empty() && scopes_.back().holder == holder) {
            const std::size_t at = scopes_.back().line;
            scopes_.pop_back();
            if (at + 1 >= out.lines.size() && holder->parent && holder->parent->type == GUMBO_NODE_ELEMENT)
                moved = at;
            else
                out.lines[at].scopeEnd = out.lines.size();
        }
        if (moved != SIZE_MAX)
            scopes_.push_back({holder->parent, moved});
    }

    void meta(const GumboNode *n)
    {
        const QString property = QString::fromUtf8(*rawAttr(n, "property") ? rawAttr(n, "property") : rawAttr(n, "name"));
        const auto content = [&] { return collapseSpaces(QString::fromUtf8(rawAttr(n, "content"))); };
        if (property == QLatin1String("og:title") && out.ogTitle.isEmpty())
            out.ogTitle = content();
        else if ((property == QLatin1String("og:site_name") || property == QLatin1String("application-name")) && out.siteName.isEmpty())
            out.siteName = content();
        else if (property == QLatin1String("og:image") && out.ogImage.isEmpty())
            out.ogImage = content();
        else if (property == QLatin1String("og:type") && content().startsWith(QLatin1String("product"), Qt::CaseInsensitive))
            out.product = true;
    }

    // Starts reading element n; false when its content is not read.
    bool enter(const GumboNode *n)
    {
        const GumboTag tag = n->v.element.tag;
        if (tag == GUMBO_TAG_META) {
            meta(n);
            return false;
        }
        if (tag == GUMBO_TAG_TITLE) {
            if (out.pageTitle.isEmpty() && n->v.element.children.length > 0) {
                const auto *t = static_cast<const GumboNode *>(n->v.element.children.data[0]);
                if (t->type == GUMBO_NODE_TEXT)
                    out.pageTitle = collapseSpaces(QString::fromUtf8(t->v.text.text));
            }
            return false;
        }
        const bool inHeading = !ctx_.empty() && owner() && owner()->kind == Ctx::Heading;
        const Visit visit = visitOf(n);
        if (visit == Visit::Skip)
            return false;
        if (visit == Visit::Stop) {
            flush();
            PageLine stop;
            stop.kind = PageLine::Stop;
            add(std::move(stop));
            return false;
        }
        // A heading's date, category or author is not its title.
        if (inHeading && (tag == GUMBO_TAG_TIME || tag == GUMBO_TAG_SMALL
                          || namedAs(n, {"date", "time", "meta", "category", "categories", "cat", "posted", "published"})))
            return false;
        marked_.push_back(n);
        block(n);
        switch (tag) {
        case GUMBO_TAG_B: case GUMBO_TAG_STRONG: case GUMBO_TAG_U:
            ++bold_;
            break;
        case GUMBO_TAG_SPAN: case GUMBO_TAG_LABEL:
            // Parts of a line styled apart ("<span>500 g</span><span>bloem</span>") are words apart.
            if (*rawAttr(n, "class") && !buf_.isEmpty() && !buf_.back().isSpace())
                buf_ += u' ';
            break;
        case GUMBO_TAG_A: {
            ++link_;
            const char *href = rawAttr(n, "href");
            if (!std::strcmp(href, "/") || !std::strcmp(href, "./") || !std::strcmp(href, "index.html"))
                ++home_;
            break;
        }
        default:
            break;
        }
        if (namedAs(n, {"logo", "brand", "masthead", "navbar"}, {"site-title", "site-name", "site-logo", "site-branding"})) {
            ++site_;
            siteNodes_.push_back(n);
        }
        container(n);
        if (const char *classes = rawAttr(n, "class");
            out.pluginTitle.isEmpty() && *classes && (strcasestr(classes, "name") || strcasestr(classes, "title"))
            && isPluginTitle(QString::fromUtf8(classes))) {
            flush();
            out.pluginTitleAt = out.lines.size();
            pluginNode_ = n;
        }
        return true;
    }

    // A plug-in's list of ingredients or of steps, unless we are in one of its kind already.
    void container(const GumboNode *n)
    {
        const char *classes = rawAttr(n, "class");
        const char *id = rawAttr(n, "id");
        bool named = false;
        for (const char *v : {classes, id})
            for (const char *w : {"ingredient", "instruction", "direction", "method", "steps", "preparation"})
                named = named || (*v && strcasestr(v, w));
        if (!named || inside_.size() >= size_t(kMaxDepth))
            return;
        const HeadingRole role = containerRole(QString::fromUtf8(classes) + u' ' + QString::fromUtf8(id));
        if (role == HeadingRole::None || std::find(inside_.begin(), inside_.end(), role) != inside_.end())
            return;
        flush();
        PageLine open;
        open.kind = PageLine::Open;
        open.role = role;
        open.container = ++containers_;
        add(std::move(open));
        inside_.push_back(role);
        openContainers_.push_back({n, containers_});
    }
    struct OpenContainer {
        const GumboNode *node;
        int number;
    };
    std::vector<OpenContainer> openContainers_;
    std::vector<const GumboNode *> siteNodes_;
    const GumboNode *pluginNode_ = nullptr;

    // The start of a block-level element: the lines it makes.
    void block(const GumboNode *n)
    {
        const GumboTag tag = n->v.element.tag;
        Context *c = owner();
        const bool inRow = !ctx_.empty() && ctx_.back().kind == Ctx::Cell;
        if (tag == GUMBO_TAG_BR) {
            if (inRow && !rowOf()->layout) {
                layoutRow();
            } else if (c && (c->kind == Ctx::Heading || c->kind == Ctx::Item || c->kind == Ctx::Row)) {
                buf_ += u' ';
                return;
            }
            if (inPre()) {
                buf_ += u'\n';
                return;
            }
            flush();
            return;
        }
        if (!isBlockTag(tag) && tag != GUMBO_TAG_TD && tag != GUMBO_TAG_TH && tag != GUMBO_TAG_THEAD)
            return;
        // A block in a cell: the table is a layout, its rows no rows of data.
        if (inRow && !rowOf()->layout && tag != GUMBO_TAG_TD && tag != GUMBO_TAG_TH)
            layoutRow();
        c = owner();
        const bool inText = c && (c->kind == Ctx::Heading || c->kind == Ctx::Item || (c->kind == Ctx::Row && !c->layout));
        switch (tag) {
        case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4: case GUMBO_TAG_H5: case GUMBO_TAG_H6:
            if (c && c->kind == Ctx::Heading)
                return;
            flush();
            push(n, Ctx::Heading);
            return;
        case GUMBO_TAG_UL: case GUMBO_TAG_OL: case GUMBO_TAG_DL: case GUMBO_TAG_MENU:
            if (c && c->kind == Ctx::Item && letters_ > 0) {
                flush();
                if (!out.lines.empty())
                    out.lines.back().holdsList = true;
            } else if (!inText) {
                flush();
            }
            push(n, Ctx::List);
            return;
        case GUMBO_TAG_LI: case GUMBO_TAG_DT: case GUMBO_TAG_DD: {
            const bool inList = !ctx_.empty() && ctx_.back().kind == Ctx::List;
            if (!inList && inText) {
                buf_ += u' ';
                return;
            }
            // A term and its description make one item ("1 kg" "æbler").
            if (inList && tag == GUMBO_TAG_DD && heldTerm_) {
                heldTerm_ = false;
                buf_ += u' ';
                push(n, Ctx::Item);
                ctx_.back().list = ctx_[ctx_.size() - 2].id;
                return;
            }
            flush();
            push(n, inList ? Ctx::Item : Ctx::Div);
            if (inList)
                ctx_.back().list = ctx_[ctx_.size() - 2].id;
            return;
        }
        case GUMBO_TAG_TABLE:
            flush();
            push(n, Ctx::Table);
            return;
        case GUMBO_TAG_TR: {
            flush();
            int table = 0;
            bool head = false;
            for (auto it = ctx_.rbegin(); it != ctx_.rend() && !table; ++it)
                if (it->kind == Ctx::Table)
                    table = it->id;
            for (const GumboNode *p = n->parent; p && p->type == GUMBO_NODE_ELEMENT && p->v.element.tag != GUMBO_TAG_TABLE; p = p->parent)
                head = head || p->v.element.tag == GUMBO_TAG_THEAD;
            push(n, Ctx::Row);
            ctx_.back().list = table;
            ctx_.back().head = head;
            return;
        }
        case GUMBO_TAG_TD: case GUMBO_TAG_TH: {
            Context *row = rowOf();
            if (!row) {
                flush();
                push(n, Ctx::Div);
                return;
            }
            ++row->cells;
            if (tag == GUMBO_TAG_TH)
                ++row->headCells;
            if (row->layout) {
                flush();
                push(n, Ctx::Div);
            } else {
                buf_ += u' ';
                cellStart_ = buf_.size();
                cellLetters_ = letters_;
                cellBold_ = boldLetters_;
                cellLink_ = linkLetters_;
                push(n, Ctx::Cell);
            }
            return;
        }
        case GUMBO_TAG_PRE:
            flush();
            push(n, Ctx::Pre);
            return;
        case GUMBO_TAG_HR: {
            // A thematic break: what follows is about something else.
            flush();
            PageLine stop;
            stop.kind = PageLine::Stop;
            add(std::move(stop));
            return;
        }
        default:
            if (inText) {
                buf_ += u' ';
                return;
            }
            flush();
            push(n, Ctx::Div);
            return;
        }
    }

    // The row of the cell we are in.
    Context *rowOf()
    {
        for (auto it = ctx_.rbegin(); it != ctx_.rend(); ++it) {
            if (it->kind == Ctx::Row)
                return &*it;
            if (it->kind != Ctx::Cell)
                return nullptr;
        }
        return nullptr;
    }

    // The row we are in holds blocks: the cells before this one make a line of text ("Zutaten:"
    // beside the cell of the list), and its cells are blocks.
    void layoutRow()
    {
        Context *row = rowOf();
        if (!row)
            return;
        if (cellStart_ <= buf_.size() && cellLetters_ > 0) {
            const QString rest = buf_.mid(cellStart_);
            const int letters = letters_ - cellLetters_, bold = boldLetters_ - cellBold_, link = linkLetters_ - cellLink_;
            PageLine line;
            line.text = collapseSpaces(buf_.left(cellStart_));
            line.bold = boldLetters_ - bold == letters_ - letters;
            line.link = linkLetters_ - link == letters_ - letters;
            line.block = row->id;
            addText(line, row->node);
            buf_ = rest;
            letters_ = letters;
            boldLetters_ = bold;
            linkLetters_ = link;
        }
        row->layout = true;
        for (Context &c : ctx_)
            if (c.kind == Ctx::Cell)
                c.kind = Ctx::Div;
        flush();
    }

    void push(const GumboNode *n, Ctx kind)
    {
        ctx_.push_back({n, kind, ++ids_});
        lineBroken_ = false;
    }

    void leave(const GumboNode *n)
    {
        if (marked_.empty() || marked_.back() != n)
            return;
        marked_.pop_back();
        const GumboTag tag = n->v.element.tag;
        if (!ctx_.empty() && ctx_.back().node == n) {
            const Context c = ctx_.back();
            heldTerm_ = false;
            if (c.kind == Ctx::Item && tag == GUMBO_TAG_DT) {
                heldTerm_ = true; // its description follows
            } else if (c.kind == Ctx::Row && !c.layout) {
                flush(c.head || (c.cells >= 2 && c.headCells == c.cells));
            } else if (c.kind != Ctx::Cell) {
                flush();
            }
            ctx_.pop_back();
            lineBroken_ = false;
        }
        switch (tag) {
        case GUMBO_TAG_B: case GUMBO_TAG_STRONG: case GUMBO_TAG_U:
            --bold_;
            break;
        case GUMBO_TAG_A: {
            --link_;
            const char *href = rawAttr(n, "href");
            if (!std::strcmp(href, "/") || !std::strcmp(href, "./") || !std::strcmp(href, "index.html"))
                --home_;
            break;
        }
        default:
            break;
        }
        if (!siteNodes_.empty() && siteNodes_.back() == n) {
            siteNodes_.pop_back();
            --site_;
        }
        if (!openContainers_.empty() && openContainers_.back().node == n) {
            flush();
            PageLine close;
            close.kind = PageLine::Close;
            close.container = openContainers_.back().number;
            add(std::move(close));
            openContainers_.pop_back();
            inside_.pop_back();
        }
        if (n == pluginNode_ && out.pluginTitle.isEmpty()) {
            flush();
            if (out.pluginTitleAt < out.lines.size())
                out.pluginTitle = out.lines[out.pluginTitleAt].text;
            else
                out.pluginTitleAt = SIZE_MAX; // nothing in it: the next one may say it
        }
        endScopes(n);
    }
};

} // namespace

PageLines readPageLines(const GumboInternalNode *root)
{
    Walker walker;
    walker.run(root);
    return std::move(walker.out);
}

} // namespace gratinel::importer
