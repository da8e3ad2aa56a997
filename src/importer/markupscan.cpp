// A linear scan of a page's tags that bounds the HTML parser's stack and work before it runs.
//
// The parser (libgumbo) walks its stack of open elements for most tags (scope checks, end tags
// of unknown elements) and its list of formatting elements for text (they are reopened after
// a block closes them): its time is the sum of those walks, its recursion (freeing the tree)
// the depth of the tree. The scan keeps a model of both that never holds fewer elements than
// the parser: where the parser's rule is too intricate to follow (adoption of misnested
// formatting elements, template and select modes), the model keeps the elements open.
#include "importer/markupscan.h"

#include "importer/limits.h"

#include <QHash>

#include <cstring>
#include <vector>

namespace gratinel::importer {

namespace {

enum Flag : quint32 {
    Void = 1 << 0,
    Special = 1 << 1,
    Boundary = 1 << 2,    // ends the default scope
    ButtonScope = 1 << 3, // ends the button scope beside the default ones
    ListScope = 1 << 4,   // ends the list item scope beside the default ones
    TableScope = 1 << 5,
    Formatting = 1 << 6,
    Marker = 1 << 7,     // a marker in the list of formatting elements
    RawText = 1 << 8,    // its text ends only at its own end tag
    ClosesP = 1 << 9,    // its start tag closes a p in button scope
    Heading = 1 << 10,
    ForeignRoot = 1 << 11, // svg, math
    Integration = 1 << 12, // inside svg or math, its children are HTML again
    Breakout = 1 << 13,    // its start tag inside svg or math closes them
    TableSection = 1 << 14,
    Cell = 1 << 15,
    LiStop = 1 << 16, // special but not address, div or p: ends the search of an open li
    Reopens = 1 << 17, // special, yet its start tag reopens the formatting elements closed before it
};

struct Known {
    const char *name;
    quint32 flags;
};

constexpr quint32 S = Special, SL = Special | LiStop;

// Every element name the scan treats apart; any other is an ordinary element.
const Known kKnown[] = {
    {"html", SL | Boundary | TableScope}, {"head", SL}, {"body", SL},
    {"address", Special | ClosesP}, {"div", Special | ClosesP | Breakout}, {"p", Special | ClosesP | Breakout},
    {"article", SL | ClosesP}, {"aside", SL | ClosesP}, {"blockquote", SL | ClosesP | Breakout},
    {"center", SL | ClosesP | Breakout}, {"details", SL | ClosesP}, {"dialog", ClosesP}, {"dir", SL | ClosesP},
    {"dl", SL | ClosesP | Breakout}, {"fieldset", SL | ClosesP}, {"figcaption", SL | ClosesP}, {"figure", SL | ClosesP},
    {"footer", SL | ClosesP}, {"header", SL | ClosesP}, {"hgroup", SL | ClosesP}, {"main", SL | ClosesP},
    {"menu", SL | ClosesP | Breakout}, {"nav", SL | ClosesP}, {"ol", SL | ClosesP | ListScope | Breakout},
    {"ul", SL | ClosesP | ListScope | Breakout}, {"section", SL | ClosesP}, {"summary", SL | ClosesP},
    {"search", SL | ClosesP}, {"pre", SL | ClosesP | Breakout}, {"listing", SL | ClosesP | Breakout},
    {"form", SL | ClosesP},
    {"h1", SL | ClosesP | Heading | Breakout}, {"h2", SL | ClosesP | Heading | Breakout},
    {"h3", SL | ClosesP | Heading | Breakout}, {"h4", SL | ClosesP | Heading | Breakout},
    {"h5", SL | ClosesP | Heading | Breakout}, {"h6", SL | ClosesP | Heading | Breakout},
    {"li", SL | Breakout}, {"dd", SL | Breakout}, {"dt", SL | Breakout},
    {"applet", SL | Boundary | Marker | Reopens}, {"marquee", SL | Boundary | Marker | Reopens},
    {"object", SL | Boundary | Marker | Reopens},
    {"template", SL | Boundary | Marker | TableScope}, {"caption", SL | Boundary | Marker},
    {"table", SL | Boundary | TableScope | Breakout}, {"td", SL | Boundary | Marker | Cell},
    {"th", SL | Boundary | Marker | Cell}, {"tr", SL}, {"tbody", SL | TableSection}, {"thead", SL | TableSection},
    {"tfoot", SL | TableSection}, {"colgroup", SL}, {"button", SL | ButtonScope | Reopens}, {"select", SL | Reopens},
    {"frameset", SL}, {"noscript", SL}, {"plaintext", SL | ClosesP},
    // libgumbo makes a form of an isindex, closed at once: no isindex element is ever open.
    {"isindex", SL | Void | ClosesP},
    {"script", SL | RawText}, {"style", SL | RawText}, {"xmp", SL | RawText | ClosesP | Reopens}, {"iframe", SL | RawText},
    {"noembed", SL | RawText}, {"noframes", SL | RawText}, {"textarea", SL | RawText}, {"title", SL | RawText},
    {"area", SL | Void | Reopens}, {"base", SL | Void}, {"basefont", SL | Void}, {"bgsound", SL | Void},
    {"br", SL | Void | Breakout | Reopens}, {"col", SL | Void}, {"embed", SL | Void | Breakout | Reopens},
    {"frame", SL | Void}, {"hr", SL | Void | ClosesP | Breakout}, {"img", SL | Void | Breakout | Reopens},
    {"image", Void}, {"input", SL | Void | Reopens}, {"keygen", SL | Void | Reopens}, {"link", SL | Void},
    {"meta", SL | Void | Breakout}, {"param", SL | Void}, {"source", SL | Void}, {"track", SL | Void},
    {"wbr", SL | Void | Reopens},
    {"a", Formatting}, {"b", Formatting | Breakout}, {"big", Formatting | Breakout}, {"code", Formatting | Breakout},
    {"em", Formatting | Breakout}, {"font", Formatting}, {"i", Formatting | Breakout},
    {"nobr", Formatting | Breakout}, {"s", Formatting | Breakout}, {"small", Formatting | Breakout},
    {"strike", Formatting | Breakout}, {"strong", Formatting | Breakout}, {"tt", Formatting | Breakout},
    {"u", Formatting | Breakout}, {"ruby", Breakout}, {"span", Breakout}, {"sub", Breakout}, {"sup", Breakout},
    {"var", Breakout},
    {"svg", ForeignRoot}, {"math", ForeignRoot},
    {"foreignobject", Integration}, {"desc", Integration}, {"mi", Integration}, {"mo", Integration},
    {"mn", Integration}, {"ms", Integration}, {"mtext", Integration}, {"annotation-xml", Integration},
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

class Model {
public:
    explicit Model(qint64 workLimit) : limit_(workLimit)
    {
        for (const Known &k : kKnown) {
            ids_.insert(QByteArray(k.name), int(flags_.size()));
            flags_.push_back(k.flags);
        }
        other_ = name("\x01");
        body_ = name("body");
        html_ = name("html");
        head_ = name("head");
        p_ = name("p");
        li_ = name("li");
        dd_ = name("dd");
        dt_ = name("dt");
        tr_ = name("tr");
        tbody_ = name("tbody");
        tableId_ = name("table");
        caption_ = name("caption");
        option_ = name("option");
        optgroup_ = name("optgroup");
        a_ = name("a");
        font_ = name("font");
        select_ = name("select");
        colgroup_ = name("colgroup");
        frameset_ = name("frameset");
    }

    MarkupCost run(const QByteArray &html);

private:
    struct Entry {
        int id;
        bool foreign;
        int serial = -1; // a formatting element's, -1 for the others
    };
    struct ListEntry {
        int id; // -1 for a marker
        size_t attributes; // hash of the tag's attribute text
        int serial = -1;   // the formatting element it stands for
    };

    int name(const QByteArray &n)
    {
        const auto it = ids_.constFind(n);
        if (it != ids_.cend())
            return *it;
        if (ids_.size() >= kMaxElementNames)
            return other_;
        ids_.insert(n, int(flags_.size()));
        flags_.push_back(0);
        return int(flags_.size()) - 1;
    }

    // The flags of an element: inside svg and math only the integration points count, as
    // special and as scope ends.
    quint32 flagsOf(const Entry &e) const
    {
        const quint32 f = flags_[size_t(e.id)];
        if (!e.foreign)
            return f;
        return (f & Integration) ? (Integration | Special | Boundary | LiStop) : 0;
    }

    std::vector<int> &positions(const Entry &e)
    {
        const size_t key = size_t(e.id) * 2 + (e.foreign ? 1 : 0);
        if (key >= positions_.size())
            positions_.resize(std::max(key + 1, positions_.size() * 2));
        return positions_[key];
    }

    static int top(const std::vector<int> &v) { return v.empty() ? -1 : v.back(); }
    int topOf(int id, bool foreign = false) { return top(positions({id, foreign})); }

    // The innermost table context is a table (not a template).
    bool inTable() { return top(table_) >= 0 && topOf(tableId_) == top(table_); }

    void charge(qint64 steps) { work_ += steps; }

    int depth() const { return int(stack_.size()) + 2 + formattingCount_; } // html and body come first

    void push(const Entry &e)
    {
        const int at = int(stack_.size());
        stack_.push_back(e);
        positions(e).push_back(at);
        if (e.serial >= 0)
            serialAt_[size_t(e.serial)] = at;
        const quint32 f = flagsOf(e);
        for (const auto &[flag, list] : indexLists())
            if (f & flag)
                (this->*list).push_back(at);
        if (!e.foreign)
            html_Entries_.push_back(at);
        if (!e.foreign && (f & Marker))
            formatting_.push_back({-1, 0});
        deepest_ = std::max(deepest_, depth());
    }

    // Pops every element above position at, and the one at it.
    void popTo(int at)
    {
        while (int(stack_.size()) > at) {
            const Entry e = stack_.back();
            stack_.pop_back();
            positions(e).pop_back();
            if (e.serial >= 0)
                serialAt_[size_t(e.serial)] = -1;
            const quint32 f = flagsOf(e);
            for (const auto &[flag, list] : indexLists())
                if (f & flag)
                    (this->*list).pop_back();
            if (!e.foreign) {
                html_Entries_.pop_back();
                if (f & Marker)
                    clearToMarker();
            }
        }
    }

    void clearToMarker()
    {
        while (!formatting_.empty()) {
            const ListEntry last = formatting_.back();
            formatting_.pop_back();
            if (last.id < 0)
                break;
            --formattingCount_;
        }
    }

    using IndexList = std::vector<int> Model::*;
    static const std::vector<std::pair<quint32, IndexList>> &indexLists()
    {
        static const std::vector<std::pair<quint32, IndexList>> lists = {
            {Special, &Model::special_},       {Boundary, &Model::boundary_},   {Boundary | ButtonScope, &Model::button_},
            {Boundary | ListScope, &Model::list_}, {TableScope, &Model::table_}, {LiStop, &Model::liStop_},
            {Heading, &Model::heading_},       {TableSection, &Model::section_}, {Cell, &Model::cell_},
            {ForeignRoot, &Model::foreignRoot_},
        };
        return lists;
    }

    void startTag(int id, bool selfClosing, int attributes, size_t attributeHash);
    void endTag(int id);
    // Text of length bytes in the body.
    void text(qint64 length);
    // A new formatting element pushed: its serial.
    int pushFormatting(int id, bool foreign)
    {
        const int serial = int(serialAt_.size());
        serialAt_.push_back(-1);
        push({id, foreign, serial});
        return serial;
    }
    // The start tag of a formatting element: Noah's ark keeps three alike after the last marker
    // (the one it drops from the list stays open).
    void addFormatting(int id, size_t attributeHash, int serial);
    // The formatting elements of the list closed since they were opened, made and opened again
    // after the last one still open, as the parser does before most start tags and every
    // character of the body.
    void reopenFormatting();
    // The position of the last entry of the list for id after the last marker, or -1.
    int formattingEntry(int id) const;

    qint64 limit_;
    qint64 work_ = 0;
    int deepest_ = 2;
    QHash<QByteArray, int> ids_;
    std::vector<quint32> flags_;
    std::vector<std::vector<int>> positions_;
    std::vector<Entry> stack_;
    std::vector<int> special_, boundary_, button_, list_, table_, liStop_, heading_, section_, cell_, foreignRoot_,
        html_Entries_;
    std::vector<ListEntry> formatting_;
    int formattingCount_ = 0;
    std::vector<int> serialAt_; // where each formatting element is in the stack, -1 once closed
    qint64 htmlAttributes_ = 0;
    qint64 bodyAttributes_ = 0;
    int other_ = 0, body_ = 0, html_ = 0, head_ = 0, p_ = 0, li_ = 0, dd_ = 0, dt_ = 0, tr_ = 0, tbody_ = 0,
        tableId_ = 0, caption_ = 0, option_ = 0, optgroup_ = 0, a_ = 0, font_ = 0, select_ = 0,
        colgroup_ = 0, frameset_ = 0;
    bool misread_ = false;
};

int Model::formattingEntry(int id) const
{
    for (int i = int(formatting_.size()) - 1; i >= 0; --i) {
        if (formatting_[size_t(i)].id < 0)
            return -1;
        if (formatting_[size_t(i)].id == id)
            return i;
    }
    return -1;
}

void Model::reopenFormatting()
{
    size_t from = formatting_.size();
    while (from > 0 && formatting_[from - 1].id >= 0 && serialAt_[size_t(formatting_[from - 1].serial)] < 0)
        --from;
    // The parser looks for each entry it passes in the whole stack.
    charge(qint64(formatting_.size() - from + 1) * (qint64(stack_.size()) + 1));
    for (; from < formatting_.size(); ++from) {
        const int serial = int(serialAt_.size());
        serialAt_.push_back(-1);
        formatting_[from].serial = serial;
        push({formatting_[from].id, false, serial});
    }
}

void Model::text(qint64 length)
{
    if (length <= 0 || formatting_.empty())
        return;
    reopenFormatting();
    // For each character the parser looks for the list's last element in its stack, from the
    // bottom: a step much smaller than a tag's, counted as a sixteenth.
    if (const ListEntry &last = formatting_.back(); last.id >= 0)
        charge(length * (serialAt_[size_t(last.serial)] + 1) / 16);
}

void Model::addFormatting(int id, size_t attributeHash, int serial)
{
    int alike = 0;
    int first = -1;
    for (int i = int(formatting_.size()) - 1; i >= 0 && formatting_[size_t(i)].id >= 0; --i)
        if (formatting_[size_t(i)].id == id && formatting_[size_t(i)].attributes == attributeHash) {
            ++alike;
            first = i;
        }
    if (alike >= 3) {
        formatting_.erase(formatting_.begin() + first);
        --formattingCount_;
    }
    formatting_.push_back({id, attributeHash, serial});
    ++formattingCount_;
}

void Model::startTag(int id, bool selfClosing, int attributes, size_t attributeHash)
{
    charge(qint64(stack_.size()) + formattingCount_ + 1);
    const quint32 known = flags_[size_t(id)];
    // The current node decides whether the tag is read as svg or math, or as HTML.
    if (!stack_.empty() && stack_.back().foreign && !(flagsOf(stack_.back()) & Integration)) {
        if (id == font_) {
            // A font is HTML only with some attributes: taken as HTML, it closes nothing.
            addFormatting(id, attributeHash, pushFormatting(id, false));
            return;
        }
        if (!(known & Breakout)) {
            // libgumbo takes an svg or math element named as a table part for the HTML one when
            // it looks for the mode to go back to, and then fails an assertion.
            if ((known & (Cell | TableSection | TableScope)) || id == tr_ || id == caption_ || id == select_
                || id == colgroup_ || id == frameset_)
                misread_ = true;
            if (!selfClosing)
                push({id, true});
            return;
        }
        // An HTML element inside svg or math closes them up to HTML again.
        while (!stack_.empty() && stack_.back().foreign && !(flagsOf(stack_.back()) & Integration))
            popTo(int(stack_.size()) - 1);
    }
    if (id == html_ || id == body_ || id == head_) {
        // Their attributes go to the element already made, each compared with those it has.
        qint64 &had = id == html_ ? htmlAttributes_ : bodyAttributes_;
        charge(attributes * had);
        had += attributes;
        return;
    }
    if (known & ForeignRoot) {
        if (!selfClosing)
            push({id, true});
        return;
    }
    const auto inScope = [](int at, const std::vector<int> &ends) { return at >= 0 && at >= top(ends); };
    if ((known & Cell) && inTable()) {
        // A new cell closes the open one, and a row is opened when none is.
        if (const int cell = top(cell_); cell >= 0 && cell > top(table_))
            popTo(cell);
        if (topOf(tr_) < top(table_)) {
            if (top(section_) < top(table_))
                push({tbody_, false});
            push({tr_, false});
        }
    } else if ((id == tr_ || (known & TableSection)) && inTable()) {
        if (const int cell = top(cell_); cell >= 0 && cell > top(table_))
            popTo(cell);
        if (const int row = topOf(tr_); row >= 0 && row > top(table_))
            popTo(row);
        if (known & TableSection) {
            if (const int s = top(section_); s >= 0 && s > top(table_))
                popTo(s);
        } else if (top(section_) < top(table_)) {
            push({tbody_, false});
        }
    } else if (id == li_ || id == dd_ || id == dt_) {
        int open = topOf(id);
        if (id != li_)
            open = std::max(open, topOf(id == dd_ ? dt_ : dd_));
        if (open >= 0 && open > top(liStop_))
            popTo(open);
    } else if (id == option_ || id == optgroup_) {
        if (!stack_.empty() && stack_.back().id == option_ && !stack_.back().foreign)
            popTo(int(stack_.size()) - 1);
    } else if (id == a_) {
        // An open link is closed by the next one.
        if (const int entry = formattingEntry(id); entry >= 0) {
            charge(8 * qint64(depth()) * depth());
            formatting_.erase(formatting_.begin() + entry);
            --formattingCount_;
            if (const int at = topOf(id); at >= 0 && at > top(special_))
                popTo(at);
        }
    }
    if (known & ClosesP) {
        if (inScope(topOf(p_), button_))
            popTo(topOf(p_));
        if ((known & Heading) && !stack_.empty() && (flagsOf(stack_.back()) & Heading))
            popTo(int(stack_.size()) - 1);
    }
    if (!(known & Special) || (known & Reopens))
        reopenFormatting();
    if (known & Void)
        return;
    if (known & RawText) {
        deepest_ = std::max(deepest_, depth() + 1);
        return;
    }
    if (known & Formatting)
        addFormatting(id, attributeHash, pushFormatting(id, false));
    else
        push({id, false});
}

void Model::endTag(int id)
{
    charge(qint64(stack_.size()) + formattingCount_ + 1);
    const quint32 known = flags_[size_t(id)];
    // Inside svg or math an end tag closes the nearest element of its name above any HTML one.
    if (!stack_.empty() && stack_.back().foreign) {
        const int at = topOf(id, true);
        if (at >= 0 && at > top(html_Entries_)) {
            popTo(at);
            return;
        }
    }
    if (id == other_ || id == body_ || id == html_ || id == head_)
        return;
    const auto closeInScope = [&](int at, const std::vector<int> &ends) {
        if (at >= 0 && at >= top(ends))
            popTo(at);
    };
    if (id == p_) {
        // With no p open, an empty one is made and closed.
        deepest_ = std::max(deepest_, depth() + 1);
        closeInScope(topOf(id), button_);
    } else if (id == li_) {
        closeInScope(topOf(id), list_);
    } else if (known & Heading) {
        closeInScope(top(heading_), boundary_);
    } else if (id == tableId_ || id == tr_ || (known & (TableSection | Cell)) || id == caption_) {
        // Outside a table their tags are dropped.
        if (inTable() || id == tableId_)
            closeInScope(topOf(id), table_);
    } else if (known & Formatting) {
        const int entry = formattingEntry(id);
        const int at = topOf(id);
        if (entry < 0 && at < 0)
            return;
        if (at < 0 || at < top(boundary_)) {
            // Not open, or out of scope: the list entry goes when it is not open.
            if (at < 0 && entry >= 0) {
                formatting_.erase(formatting_.begin() + entry);
                --formattingCount_;
            }
            return;
        }
        if (at < top(special_)) {
            // Misnested across a block: the parser rebuilds the elements in between, several times.
            charge(8 * qint64(depth()) * depth());
            return;
        }
        popTo(at);
        if (entry >= 0) {
            formatting_.erase(formatting_.begin() + entry);
            --formattingCount_;
        }
    } else if (known & Special) {
        closeInScope(topOf(id), boundary_);
    } else if (const int at = topOf(id); at >= 0 && at > top(special_)) {
        popTo(at);
    }
}

MarkupCost Model::run(const QByteArray &html)
{
    const char *const s = html.constData();
    const qsizetype n = html.size();
    qsizetype p = 0;
    const auto find = [&](qsizetype from, const char *what, size_t len) -> qsizetype {
        if (from >= n)
            return -1;
        const void *at = memmem(s + from, size_t(n - from), what, len);
        return at ? static_cast<const char *>(at) - s : -1;
    };
    QByteArray tagName;
    while (work_ <= limit_) {
        const qsizetype lt = find(p, "<", 1);
        text((lt < 0 ? n : lt) - p);
        if (lt < 0 || lt + 1 >= n)
            break;
        p = lt + 1;
        const char c = s[p];
        if (c == '!' || c == '?') {
            if (c == '!' && n - p >= 3 && s[p + 1] == '-' && s[p + 2] == '-') {
                // A comment: "<!-->" and "<!--->" end at once, otherwise the first "-->" or "--!>".
                qsizetype q = p + 3;
                if (q < n && s[q] == '>') {
                    p = q + 1;
                    continue;
                }
                if (q + 1 < n && s[q] == '-' && s[q + 1] == '>') {
                    p = q + 2;
                    continue;
                }
                qsizetype end = -1;
                while ((q = find(q, "--", 2)) >= 0) {
                    if (q + 2 < n && s[q + 2] == '>') {
                        end = q + 3;
                        break;
                    }
                    if (q + 3 < n && s[q + 2] == '!' && s[q + 3] == '>') {
                        end = q + 4;
                        break;
                    }
                    ++q;
                }
                if (end < 0)
                    break;
                p = end;
                continue;
            }
            // A doctype or a bogus comment ends at the first '>'.
            const qsizetype gt = find(p, ">", 1);
            if (gt < 0)
                break;
            p = gt + 1;
            continue;
        }
        const bool closing = c == '/';
        if (closing)
            ++p;
        if (p >= n)
            break;
        if (!isAsciiLetter(s[p])) {
            if (closing) {
                // "</>" is dropped, "</ ...>" is a bogus comment.
                const qsizetype gt = find(p, ">", 1);
                if (gt < 0)
                    break;
                p = gt + 1;
            }
            continue;
        }
        tagName.clear();
        while (p < n && !isSpace(s[p]) && s[p] != '/' && s[p] != '>')
            tagName += lower(s[p++]);
        // The attributes, as the tokenizer reads them: '>' inside quotes does not end the tag.
        int attributes = 0;
        bool selfClosing = false;
        const qsizetype attributesFrom = p;
        bool ended = false;
        enum { Before, Name, After, BeforeValue, Unquoted } state = Before;
        while (p < n && !ended) {
            const char ch = s[p];
            switch (state) {
            case Before:
            case After:
                if (isSpace(ch)) {
                    ++p;
                } else if (ch == '/') {
                    ++p;
                    if (p < n && s[p] == '>') {
                        selfClosing = true;
                        ended = true;
                        ++p;
                    }
                    state = Before;
                } else if (ch == '>') {
                    ended = true;
                    ++p;
                } else if (ch == '=' && state == After) {
                    ++p;
                    state = BeforeValue;
                } else {
                    ++attributes;
                    ++p;
                    state = Name;
                }
                break;
            case Name:
                if (isSpace(ch) || ch == '/' || ch == '>') {
                    state = After;
                } else {
                    if (ch == '=')
                        state = BeforeValue;
                    ++p;
                }
                break;
            case BeforeValue:
                if (isSpace(ch)) {
                    ++p;
                } else if (ch == '"' || ch == '\'') {
                    const qsizetype close = find(p + 1, &ch, 1);
                    p = close < 0 ? n : close + 1;
                    state = Before;
                } else if (ch == '>') {
                    state = Before;
                } else {
                    state = Unquoted;
                }
                break;
            case Unquoted:
                if (isSpace(ch))
                    state = Before;
                else if (ch == '>')
                    state = Before;
                else
                    ++p;
                break;
            }
        }
        if (!ended)
            break; // a tag cut by the end of the page is dropped
        // Each attribute is compared with those before it.
        charge(qint64(attributes) * attributes / 2);
        const int id = name(tagName);
        if (closing) {
            endTag(id);
            continue;
        }
        const size_t hash = qHash(QByteArrayView(s + attributesFrom, p - attributesFrom));
        const bool foreignContext = !stack_.empty() && stack_.back().foreign && !(flagsOf(stack_.back()) & Integration);
        startTag(id, selfClosing, attributes, hash);
        const quint32 known = flags_[size_t(id)];
        if (tagName == "plaintext" && !foreignContext)
            break; // the rest is text
        if ((known & RawText) && (!foreignContext || (known & Breakout))) {
            // Text to the first end tag of its name, in any case.
            qsizetype q = p;
            qsizetype end = -1;
            while ((q = find(q, "</", 2)) >= 0) {
                const qsizetype after = q + 2 + tagName.size();
                if (after <= n && QByteArrayView(s + q + 2, tagName.size()).compare(tagName, Qt::CaseInsensitive) == 0
                    && (after == n || isSpace(s[after]) || s[after] == '/' || s[after] == '>')) {
                    end = q;
                    break;
                }
                q += 2;
            }
            if (end < 0)
                break;
            p = end;
        }
    }
    MarkupCost cost;
    cost.depth = deepest_;
    cost.work = work_;
    cost.stopped = work_ > limit_;
    cost.misread = misread_;
    return cost;
}

} // namespace

MarkupCost scanMarkup(const QByteArray &html, qint64 workLimit)
{
    return Model(workLimit).run(html);
}

QString markupProblem(const QByteArray &html)
{
    const MarkupCost cost = scanMarkup(html, kHtmlWorkPerByte * html.size() + kHtmlWorkBase);
    if (cost.misread)
        return QStringLiteral("la page contient un dessin SVG ou MathML que l'analyseur HTML ne sait pas lire");
    if (cost.stopped)
        return QStringLiteral("la page est trop emmêlée pour être lue (balises mal fermées)");
    if (cost.depth > kMaxHtmlNesting)
        return QStringLiteral("la page imbrique plus de %1 éléments").arg(kMaxHtmlNesting);
    return {};
}

} // namespace gratinel::importer
