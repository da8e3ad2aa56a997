// Wiring of the frame's print, send, clipboard, web, help and associated-viewer commands.
#include "mainwin/frmmain.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>

#include <functional>

namespace gratinel {

namespace {

// Runs a command when its label is clicked with the left button.
class ClickFilter : public QObject {
public:
    ClickFilter(QLabel *label, std::function<void()> onClick) : QObject(label), onClick_(std::move(onClick))
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            onClick_();
            return true;
        }
        return false;
    }

private:
    std::function<void()> onClick_;
};

} // namespace

void frmMain::connectOutputCommands()
{
    const std::pair<const char *, void (frmMain::*)()> handlers[] = {
        {"mnuFilePrint", &frmMain::mnuFilePrint_Click},
        {"mnuFilePrintLivret", &frmMain::mnuFilePrintLivret_Click},
        {"mnuEditCut", &frmMain::mnuEditCut_Click},
        {"mnuEditCopy", &frmMain::mnuEditCopy_Click},
        {"mnuEditPaste", &frmMain::mnuEditPaste_Click},
        {"mnuEditSelect", &frmMain::mnuEditSelect_Click},
        {"mnuEditEnvoyerTtx", &frmMain::mnuEditEnvoyerTtx_Click},
        {"mnuEditEnvoyerNotePad", &frmMain::mnuEditEnvoyerNotePad_Click},
        {"mnuViewImageVisuAssocie", &frmMain::mnuViewImageVisuAssocie_Click},
        {"mnuHelpContents", &frmMain::ShowHelpContents},
        {"mnuHelpGrSurLeWeb", &frmMain::mnuHelpGrSurLeWeb_Click},
    };
    for (const auto &[name, handler] : handlers) {
        if (QAction *a = menuItem(QString::fromLatin1(name)))
            connect(a, &QAction::triggered, this, handler);
    }
    new ClickFilter(lblAdresseWeb_, [this] { lblAdresseWeb_Click(); });
    routeEditShortcuts();

    // F1 opens the help at its contents from every window of the program; the recipe
    // book's help buttons send it too.
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setObjectName(QStringLiteral("F1"));
    f1->setContext(Qt::ApplicationShortcut);
    connect(f1, &QShortcut::activated, this, &frmMain::ShowHelpContents);
}

} // namespace gratinel
