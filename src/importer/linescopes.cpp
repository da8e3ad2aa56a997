// The ends of the elements that hold headings.
#include "importer/linescopes.h"

namespace gratinel::importer {

void LineScopes::open(const GumboNode *holder, const std::vector<PageLine> &lines)
{
    if (holder && holder->type == GUMBO_NODE_ELEMENT && !lines.empty())
        scopes_.push_back({holder, lines.size() - 1});
}

void LineScopes::close(const GumboNode *holder, std::vector<PageLine> &lines)
{
    // Only the last line can have nothing after it: at most one scope moves up.
    std::size_t moved = SIZE_MAX;
    while (!scopes_.empty() && scopes_.back().holder == holder) {
        const std::size_t at = scopes_.back().line;
        scopes_.pop_back();
        if (at + 1 >= lines.size() && holder->parent && holder->parent->type == GUMBO_NODE_ELEMENT)
            moved = at;
        else
            lines[at].scopeEnd = lines.size();
    }
    if (moved != SIZE_MAX)
        scopes_.push_back({holder->parent, moved});
}

} // namespace gratinel::importer
