// Inputs as the pages test and store them: without the spaces typed around them.
#pragma once

#include <QString>

namespace gratinel {

// text without its leading and trailing space characters; tabs, line ends and every other
// character stay.
inline QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace gratinel
