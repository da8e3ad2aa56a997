// Help viewer window.
#include "platform/helpwindow.h"

#include "platform/apptitle.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace gratinel {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Aide de %1").arg(appTitle()));
    browser_->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 520);
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
    show();
    raise();
    activateWindow();
}

} // namespace gratinel
