// The walk of a page into the lines its reader sees.
#include "importer/pagelines.h"

#include "importer/htmlpage.h"
#include "importer/limits.h"
#include "importer/linescopes.h"
#include "importer/linetext.h"
#include "importer/mealmaster.h"
#include "importer/pageelements.h"

namespace gratinel::importer {

namespace {

// Lines kept of one page, and nodes visited: past them the rest of the page is not read.
constexpr std::size_t kMaxPageLines = 100'000;
constexpr std::size_t kMaxVisits = 4'000'000;

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
            if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_CDATA || (n->type == GUMBO_NODE_WHITESPACE && inPre())) {
                text_.append(n->v.text.text, bold_ > 0, link_ > 0);
                continue;
            }
            if (n->type == GUMBO_NODE_WHITESPACE) {
                text_.separate();
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
        int ownerBelow = -1; // the context that owned text before this one
        int list = 0;        // Item: its list; Row: its table
        bool layout = false; // Row: its cells hold blocks, it is no row of data
        int cells = 0, headCells = 0;
        bool head = false;   // Row: in <thead>
        bool ordered = false; // List, Item: numbered
    };
    struct OpenContainer {
        const GumboNode *node;
        int number;
    };

    std::vector<Context> ctx_;
    int owner_ = -1; // the innermost context that owns text
    LineText text_;
    LineScopes scopes_;
    std::vector<HeadingRole> inside_; // roles of the plug-in containers we are in
    std::vector<OpenContainer> openContainers_;
    std::vector<const GumboNode *> siteNodes_;
    const GumboNode *pluginNode_ = nullptr;
    int bold_ = 0, link_ = 0, home_ = 0, site_ = 0;
    int ids_ = 0, containers_ = 0;
    std::size_t pluginTitleAt_ = SIZE_MAX; // the first line of the plug-in's title element
    bool heldTerm_ = false;   // the text holds a <dt> whose <dd> may follow

    bool inPre() const { return !ctx_.empty() && ctx_.back().kind == Ctx::Pre; }

    // Contexts that own their text: a heading, an item, a row of data, a block. A cell's text
    // is its row's, unless the row is a layout.
    static bool ownsText(const Context &c)
    {
        return c.kind != Ctx::Cell && c.kind != Ctx::List && c.kind != Ctx::Table && !(c.kind == Ctx::Row && c.layout);
    }

    Context *owner() { return owner_ >= 0 ? &ctx_[size_t(owner_)] : nullptr; }

    void add(PageLine line)
    {
        if (out.lines.size() < kMaxPageLines)
            out.lines.push_back(std::move(line));
    }

    // A line that marks a place: a Stop, the start or the end of a plug-in's list.
    void mark(PageLine::Kind kind, int container = 0, HeadingRole role = HeadingRole::None)
    {
        flush();
        PageLine line;
        line.kind = kind;
        line.container = container;
        line.role = role;
        add(std::move(line));
    }

    // The text gathered so far as lines of the context that owns it.
    void flush(bool headerRow = false)
    {
        if (!text_.hasLetters() && !inPre()) {
            text_.take();
            return;
        }
        Context *c = owner();
        const Ctx kind = c ? c->kind : Ctx::Div;
        const LineText::Line taken = text_.take(kind == Ctx::Pre);
        PageLine line;
        line.bold = taken.bold;
        line.link = taken.link;
        if (kind == Ctx::Pre) {
            const QString &raw = taken.text;
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
        line.text = taken.text;
        if (line.text.isEmpty())
            return;
        switch (kind) {
        case Ctx::Heading:
            line.kind = PageLine::Heading;
            line.level = std::uint8_t(1 + int(c->node->v.element.tag - GUMBO_TAG_H1));
            line.siteName = site_ > 0 || (home_ > 0 && line.link);
            add(std::move(line));
            scopes_.open(c->node->parent, out.lines);
            break;
        case Ctx::Item:
            line.kind = PageLine::Item;
            line.list = c->list;
            line.ordered = c->ordered;
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
    }

    void addText(PageLine &line, const GumboNode *block)
    {
        line.kind = PageLine::Text;
        // Only a short line can be a label whose section ends with the element holding it.
        const bool label = line.text.size() <= 100;
        add(std::move(line));
        if (label && block)
            scopes_.open(block, out.lines);
    }

    // Starts reading element n; false when its content is not read.
    bool enter(const GumboNode *n)
    {
        const GumboTag tag = n->v.element.tag;
        if (tag == GUMBO_TAG_META || tag == GUMBO_TAG_TITLE) {
            readHeadElement(n, out);
            return false;
        }
        const bool inHeading = owner() && owner()->kind == Ctx::Heading;
        const Visit visit = visitOf(n);
        if (visit == Visit::Skip)
            return false;
        if (visit == Visit::Stop) {
            mark(PageLine::Stop);
            return false;
        }
        // A heading's date, category or author is not its title.
        if (inHeading && isHeadingAside(n))
            return false;
        block(n);
        switch (tag) {
        case GUMBO_TAG_B: case GUMBO_TAG_STRONG: case GUMBO_TAG_U:
            ++bold_;
            break;
        case GUMBO_TAG_SPAN: case GUMBO_TAG_LABEL:
            // Parts of a line styled apart ("<span>500 g</span><span>bloem</span>") are words apart.
            if (*rawAttr(n, "class"))
                text_.separate();
            break;
        case GUMBO_TAG_A:
            ++link_;
            home_ += isHomeLink(n) ? 1 : 0;
            break;
        default:
            break;
        }
        if (isSiteMark(n)) {
            ++site_;
            siteNodes_.push_back(n);
        }
        container(n);
        if (out.pluginTitle.isEmpty() && isPluginTitleElement(n)) {
            flush();
            pluginTitleAt_ = out.lines.size();
            pluginNode_ = n;
        }
        return true;
    }

    // A plug-in's list of ingredients or of steps, unless we are in one of its kind already.
    void container(const GumboNode *n)
    {
        if (inside_.size() >= size_t(kMaxDepth))
            return;
        const HeadingRole role = pluginListRole(n);
        if (role == HeadingRole::None || std::find(inside_.begin(), inside_.end(), role) != inside_.end())
            return;
        mark(PageLine::Open, ++containers_, role);
        inside_.push_back(role);
        openContainers_.push_back({n, containers_});
    }

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
                text_.separate();
                return;
            }
            if (inPre()) {
                text_.append(u'\n');
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
            if (c && c->kind == Ctx::Item && text_.hasLetters()) {
                flush();
                if (!out.lines.empty())
                    out.lines.back().holdsList = true;
            } else if (!inText) {
                flush();
            }
            push(n, Ctx::List);
            ctx_.back().ordered = tag == GUMBO_TAG_OL;
            return;
        case GUMBO_TAG_LI: case GUMBO_TAG_DT: case GUMBO_TAG_DD: {
            const bool inList = !ctx_.empty() && ctx_.back().kind == Ctx::List;
            if (!inList && inText) {
                text_.separate();
                return;
            }
            // A term and its description make one item ("1 kg" "æbler").
            if (inList && tag == GUMBO_TAG_DD && heldTerm_) {
                heldTerm_ = false;
                text_.separate();
            } else {
                flush();
            }
            push(n, inList ? Ctx::Item : Ctx::Div);
            if (inList) {
                ctx_.back().list = ctx_[ctx_.size() - 2].id;
                ctx_.back().ordered = ctx_[ctx_.size() - 2].ordered;
            }
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
                text_.markCell();
                push(n, Ctx::Cell);
            }
            return;
        }
        case GUMBO_TAG_PRE:
            flush();
            push(n, Ctx::Pre);
            return;
        case GUMBO_TAG_HR:
            // A thematic break: what follows is about something else.
            mark(PageLine::Stop);
            return;
        default:
            if (inText) {
                text_.separate();
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
        if (text_.hasTextBeforeCell()) {
            const LineText::Line before = text_.takeBeforeCell();
            PageLine line;
            line.text = before.text;
            line.bold = before.bold;
            line.link = before.link;
            addText(line, row->node);
        }
        row->layout = true;
        // The row and its cells own their text now: who owns it is found again.
        owner_ = -1;
        for (size_t i = 0; i < ctx_.size(); ++i) {
            if (ctx_[i].kind == Ctx::Cell)
                ctx_[i].kind = Ctx::Div;
            ctx_[i].ownerBelow = owner_;
            if (ownsText(ctx_[i]))
                owner_ = int(i);
        }
        flush();
    }

    void push(const GumboNode *n, Ctx kind)
    {
        Context c{n, kind, ++ids_, owner_};
        ctx_.push_back(c);
        if (ownsText(c))
            owner_ = int(ctx_.size()) - 1;
    }

    void leave(const GumboNode *n)
    {
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
            owner_ = c.ownerBelow;
            ctx_.pop_back();
            }
        switch (tag) {
        case GUMBO_TAG_B: case GUMBO_TAG_STRONG: case GUMBO_TAG_U:
            --bold_;
            break;
        case GUMBO_TAG_A:
            --link_;
            home_ -= isHomeLink(n) ? 1 : 0;
            break;
        default:
            break;
        }
        if (!siteNodes_.empty() && siteNodes_.back() == n) {
            siteNodes_.pop_back();
            --site_;
        }
        if (!openContainers_.empty() && openContainers_.back().node == n) {
            mark(PageLine::Close, openContainers_.back().number);
            openContainers_.pop_back();
            inside_.pop_back();
        }
        if (n == pluginNode_ && out.pluginTitle.isEmpty()) {
            flush();
            if (pluginTitleAt_ < out.lines.size())
                out.pluginTitle = out.lines[pluginTitleAt_].text;
            else
                pluginTitleAt_ = SIZE_MAX; // nothing in it: the next one may say it
        }
        scopes_.close(n, out.lines);
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
