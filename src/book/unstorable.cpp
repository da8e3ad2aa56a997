// Inputs holding characters the book's code page cannot hold are refused before anything is
// written: stored, they would read back as "?".
#include "book/frmrecettes.h"

#include "store/cp1252.h"
#include "store/module1.h"

#include <QLineEdit>
#include <QTextCursor>

namespace gratinel {

QString unstorableMessage(const QStringList &characters)
{
    const QString list = characters.join(u' ');
    return characters.size() == 1
               ? QStringLiteral("Ce caractère ne peut pas être enregistré dans le livre : %1").arg(list)
               : QStringLiteral("Ces caractères ne peuvent pas être enregistrés dans le livre : %1").arg(list);
}

namespace {

QString textOf(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        return exactText(plain);
    return {};
}

// Puts the focus in box and selects the character that starts at index.
void showCharacter(QWidget *box, qsizetype index)
{
    const QString text = textOf(box);
    const int length = text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    box->setFocus();
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->setSelection(int(index), length);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(box)) {
        QTextCursor cursor = plain->textCursor();
        cursor.setPosition(int(index));
        cursor.setPosition(int(index) + length, QTextCursor::KeepAnchor);
        plain->setTextCursor(cursor);
    }
}

} // namespace

bool frmRecettes::refuseUnstorable(std::initializer_list<QWidget *> boxes)
{
    QStringList characters;
    QWidget *first = nullptr;
    qsizetype firstIndex = -1;
    for (QWidget *box : boxes) {
        const QString text = textOf(box);
        const qsizetype index = cp1252::firstUnstorable(text);
        if (index < 0)
            continue;
        if (!first) {
            first = box;
            firstIndex = index;
        }
        for (const QString &c : cp1252::unstorable(text)) {
            if (characters.size() < 10 && !characters.contains(c))
                characters << c;
        }
    }
    if (!first)
        return false;
    Platform &platform = m_.windows();
    platform.setPointer(Platform::Pointer::Normal);
    platform.beep();
    platform.msgBox(unstorableMessage(characters), Platform::Icon::Warning);
    showCharacter(first, firstIndex);
    return true;
}

} // namespace gratinel
