// Multi-line text boxes whose text comes back exactly as it went in.
//
// QPlainTextEdit::toPlainText() and the copies Qt makes of a selection turn the no-break
// space (byte A0 of the book's texts, the French space before ":" and "!") into a plain
// space. Everything that reads a recipe text out of a box goes through these instead, so
// that showing, editing, printing, sending and copying keep every character.
#pragma once

#include <QPlainTextEdit>
#include <QString>

class QTextCursor;

namespace gratinel {

// The whole text of the box, every character kept, lines separated by '\n'.
QString exactText(const QPlainTextEdit *box);

// The text selected by cursor, kept the same way; empty when nothing is selected.
QString exactSelection(const QTextCursor &cursor);

// A multi-line box whose copies, cuts and drags carry the exact selected text.
class ExactTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ExactTextEdit(QWidget *parent = nullptr) : QPlainTextEdit(parent) {}

protected:
    QMimeData *createMimeDataFromSelection() const override;
};

} // namespace gratinel
