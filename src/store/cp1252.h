// Windows-1252 text as stored in the book's files, and the line-end forms of a recipe text.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace gratinel::cp1252 {

// Every one of the 256 byte values decodes to one character; the five bytes the
// code page leaves undefined (81, 8D, 8F, 90, 9D) decode to the C1 controls of the
// same value, so that decode then encode gives back the same bytes.
QString decode(const QByteArray &bytes);
QString decode(const char *bytes, qsizetype len);

// One byte per character; a character the code page cannot hold becomes '?'.
QByteArray encode(const QString &text);

// True when every character of text has its own byte in the code page.
bool canEncode(const QString &text);

// The characters of text the code page cannot hold, each once, in the order they first come,
// at most max of them, as messages quote them (characterName: "U+0089" for a control or an
// invisible character). A character beyond the 16-bit range (an emoji) is one entry.
QStringList unstorable(const QString &text, int max = 10);

// Index in text of the first character the code page cannot hold, -1 when there is none.
qsizetype firstUnstorable(const QString &text);

// The text as it will read back once stored: characters outside the code page replaced by '?'.
QString storable(const QString &text);

// A recipe text as the program edits it (lines separated by '\n') to the stored form,
// lines separated by carriage return + line feed, encoded. Existing CRLF pairs are kept.
QByteArray encodeText(const QString &text);

// Stored bytes of a recipe text to the form shown in a text box ('\n' between lines).
QString decodeText(const QByteArray &bytes);

// Upper case of one stored byte as the code page has it: a-z, the accented letters
// à..þ (not ÷), š, œ, ž and ÿ go to their capitals; ß, µ and every other byte stay.
// Indexed by the unsigned byte value.
const unsigned char *upperTable();
inline char toUpper(char byte) { return char(upperTable()[static_cast<unsigned char>(byte)]); }
// Every byte of bytes through toUpper.
QByteArray toUpper(const QByteArray &bytes);

} // namespace gratinel::cp1252
