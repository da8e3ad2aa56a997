// Where the element that holds a heading (or a label) ends: its section ends there at the
// latest.
#pragma once

#include "importer/pagelines.h"

#include <gumbo.h>

#include <vector>

namespace gratinel::importer {

class LineScopes {
public:
    // The line just added (the last of lines) is held by holder.
    void open(const GumboNode *holder, const std::vector<PageLine> &lines);
    // The end of holder: the lines it held get their scope's end, or move to the element above
    // when nothing followed them in holder (a heading alone in its own wrapper).
    void close(const GumboNode *holder, std::vector<PageLine> &lines);

private:
    struct Scope {
        const GumboNode *holder;
        std::size_t line;
    };
    std::vector<Scope> scopes_; // holders nest: the innermost last
};

} // namespace gratinel::importer
