// Help viewer window.
#include "platform/helpwindow.h"

#include "platform/apptitle.h"
#include "platform/screenfit.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace gratinel {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Aide de %1").arg(appTitle()));
    browser_->setOpenExternalLinks(true);

    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction *back = bar->addAction(QStringLiteral("< &Précédent"), browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction *forward = bar->addAction(QStringLiteral("&Suivant >"), browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    bar->addAction(QStringLiteral("S&ommaire"), this, [this] { browser_->scrollToAnchor(QStringLiteral("sommaire")); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
    resize(680, 560);
}

void HelpWindow::showContents(const QString &helpFile)
{
    QFile file(helpFile);
    if (file.open(QIODevice::ReadOnly)) {
        browser_->setSearchPaths({QFileInfo(helpFile).absolutePath()});
        browser_->setHtml(QString::fromUtf8(file.readAll()));
    } else {
        browser_->setHtml(QStringLiteral("<h3>Aide indisponible</h3><p>Le fichier d'aide <b>%1</b> "
                                         "est introuvable ou illisible.</p>")
                              .arg(helpFile.toHtmlEscaped()));
    }
    browser_->clearHistory();
    browser_->moveCursor(QTextCursor::Start);
    browser_->ensureCursorVisible();
    if (!isVisible())
        fitToScreen(this, size());
    show();
    raise();
    activateWindow();
}

} // namespace gratinel
