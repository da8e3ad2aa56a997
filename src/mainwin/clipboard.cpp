// Cut, copy, paste and select all on the focused text box of the recipe book.
#include "mainwin/frmmain.h"

#include "book/exacttext.h"
#include "book/frmrecettes.h"
#include "store/module1.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace gratinel {

namespace {

QLineEdit *lineEditOf(QWidget *w)
{
    auto *line = qobject_cast<QLineEdit *>(w);
    // The edit line inside a list or a spin box is part of that control, not a text box.
    if (line && (qobject_cast<QComboBox *>(line->parentWidget()) || qobject_cast<QAbstractSpinBox *>(line->parentWidget())))
        return nullptr;
    return line;
}

bool isTextBox(QWidget *w)
{
    return lineEditOf(w) || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QTextEdit *>(w);
}

// The selection and the edits of the three kinds of text box, in one shape.
struct TextBox {
    QLineEdit *line = nullptr;
    QPlainTextEdit *plain = nullptr;
    QTextEdit *rich = nullptr;

    explicit TextBox(QWidget *w)
        : line(lineEditOf(w)), plain(qobject_cast<QPlainTextEdit *>(w)), rich(qobject_cast<QTextEdit *>(w))
    {
    }

    // A read-only multi-line box shows a stored text: cutting or pasting there would change
    // what is shown without changing the book. A single-line box is always a target: the
    // add page's image path, read-only for typing, is set and removed through these commands.
    bool showsStoredText() const
    {
        return plain ? plain->isReadOnly() : rich ? rich->isReadOnly() : false;
    }
    QTextCursor cursor() const { return plain ? plain->textCursor() : rich->textCursor(); }
    void setCursor(const QTextCursor &c) const
    {
        if (plain)
            plain->setTextCursor(c);
        else
            rich->setTextCursor(c);
    }
    // Lines of a multi-line selection come out separated by '\n'.
    QString selectedText() const
    {
        return line ? line->selectedText() : exactSelection(cursor());
    }
    void replaceSelection(const QString &text) const
    {
        if (line) {
            line->insert(text);
        } else {
            QTextCursor c = cursor();
            c.insertText(text);
            setCursor(c);
        }
    }
    void selectAll() const
    {
        if (line)
            line->selectAll();
        else if (plain)
            plain->selectAll();
        else
            rich->selectAll();
    }
};

// Gives Ctrl+X, Ctrl+C, Ctrl+V and Ctrl+A in a text box of the frame to the menu's
// commands while these are on: a text box would otherwise claim some of them and not
// others (a read-only box claims none, and the keys did nothing there).
class EditShortcutRouter : public QObject {
public:
    EditShortcutRouter(QWidget *frame, QList<QAction *> actions)
        : QObject(frame), frame_(frame), actions_(std::move(actions))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(watched);
        if (w->window() != frame_ || !isTextBox(w))
            return false;
        const QKeySequence keys(static_cast<QKeyEvent *>(event)->keyCombination());
        for (QAction *a : actions_) {
            if (a->isEnabled() && a->shortcut() == keys) {
                // Not claimed by the box: the shortcut goes to the menu item.
                event->ignore();
                return true;
            }
        }
        return false;
    }

private:
    QWidget *frame_;
    QList<QAction *> actions_;
};

} // namespace

QWidget *frmMain::clipboardTarget() const
{
    // The frame's focus widget, also while another program is active; only the text
    // boxes of the recipe book count.
    QWidget *focus = focusWidget();
    if (!focus || !recettes_ || !recettes_->isAncestorOf(focus) || !isTextBox(focus))
        return nullptr;
    return focus;
}

void frmMain::routeEditShortcuts()
{
    QList<QAction *> actions;
    for (const char *name : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditSelect"}) {
        if (QAction *a = menuItem(QString::fromLatin1(name)))
            actions << a;
    }
    new EditShortcutRouter(this, actions);
}

void frmMain::mnuEditCut_Click()
{
    QWidget *target = clipboardTarget();
    if (!target || TextBox(target).showsStoredText()) {
        m_.platform.beep();
        return;
    }
    const TextBox box(target);
    // The image path box cannot be typed in: Cut takes the whole path, so that a chosen
    // image can be taken off the recipe.
    if (box.line && box.line->isReadOnly())
        box.line->selectAll();
    m_.windows().setClipboardText(box.selectedText());
    if (!box.selectedText().isEmpty())
        box.replaceSelection(QString());
}

void frmMain::mnuEditCopy_Click()
{
    QWidget *target = clipboardTarget();
    const QString selected = target ? TextBox(target).selectedText() : QString();
    if (selected.isEmpty()) {
        m_.platform.beep();
        return;
    }
    m_.windows().setClipboardText(selected);
}

void frmMain::mnuEditPaste_Click()
{
    QWidget *target = clipboardTarget();
    if (!target || TextBox(target).showsStoredText()) {
        m_.platform.beep();
        return;
    }
    const TextBox box(target);
    QString text = m_.windows().clipboardText();
    // A single-line box holds one line: the line breaks of a copied passage become spaces.
    if (box.line) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(u'\r', u' ');
        text.replace(u'\n', u' ');
    }
    // The image path box cannot be typed in: a pasted path takes the whole box, with the
    // checks of a chosen path.
    if (box.line && box.line->isReadOnly()) {
        recettes_->pasteImagePath(text);
        return;
    }
    box.replaceSelection(text);
}

void frmMain::mnuEditSelect_Click()
{
    QWidget *target = clipboardTarget();
    if (!target) {
        m_.platform.beep();
        return;
    }
    TextBox(target).selectAll();
}

} // namespace gratinel
