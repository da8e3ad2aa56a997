// The usual Windows-1252 spelling of the characters the book cannot hold.
#pragma once

#include <QString>
#include <QStringList>

namespace gratinel::spelling {

// What storableSpelling changed: each character once, in order of first appearance,
// as "⅓ → 1/3" for a replacement and as the character itself for a removal; a character
// that cannot be seen, and a replacement that is one space, by its code ("U+200B",
// "U+202F → U+00A0", see characterName).
struct Changes {
    QStringList replaced;
    QStringList removed;

    bool isEmpty() const { return replaced.isEmpty() && removed.isEmpty(); }
    void merge(const Changes &other);
    // "remplacés : ⅓ → 1/3, ℃ → °C ; supprimés : 🍐", or empty when nothing changed.
    QString describe() const;
};

// The replacement of c, or no value when the table has none. The table: the Unicode
// fractions the code page lacks (⅓ → 1/3, ⅔ → 2/3, ⅛ → 1/8, ...; ½ ¼ ¾ are in it), ℃ → °C,
// ℉ → °F, arrows (→ ->, ← <-, ⇒ =>), ≤ → <=, ≥ → >=, ≠ → !=, ≈ → ~, − (minus) → -,
// ″ → ", ′ → ', ‛ → ', ‟ → ", ⁄ → /, the typographic spaces (thin and narrow no-break
// spaces become the no-break space 0xA0, the others a plain space), the dashes (‐ ‑ → -,
// ‒ → –, ― → —), the ligatures ﬀ ﬁ ﬂ ﬃ ﬄ, and the line and paragraph separators → line end.
const QString *replacement(char32_t c);

// text with every character outside Windows-1252 replaced by its spelling from the table,
// a letter with a diacritic the code page lacks by its base letter (č → c, ł → l, ő → o,
// ș → s, ğ → g, đ → d, ı → i; ǘ keeps its ü), any other removed; what was done is added to changes when given. The
// text is first put in its composed form (NFC), so that an accent typed as a separate mark
// joins its letter.
QString storableSpelling(const QString &text, Changes *changes = nullptr);

} // namespace gratinel::spelling
