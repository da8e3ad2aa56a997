// How messages quote characters: one that cannot be seen is named by its code.
#pragma once

#include <QString>

namespace gratinel {

// True for a character a message cannot show so that the reader sees it: a control, a format
// character (joiners, direction marks, the byte order mark), a space other than the plain
// space (the no-break space included), a line or paragraph separator, a mark with no letter to
// carry it, a filler, a surrogate, private or unassigned code.
bool isInvisibleCharacter(char32_t c);

// The code of c, as "U+0089" (four hexadecimal digits at least, in capitals).
QString characterCode(char32_t c);

// c as a message quotes it: its code ("U+0089", "U+200B") when it is invisible, else itself.
QString characterName(char32_t c);

// text as a message quotes it: each invisible character replaced by "<U+0089>", its code
// between angle brackets, so that a name or a path shows where the character is.
QString visibleText(const QString &text);

} // namespace gratinel
