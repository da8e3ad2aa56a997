// Image window: load, activation, sizing to the image within the screen, click and Escape.
#include "viewer/frmimage.h"

#include "platform/apptitle.h"
#include "platform/platform.h"
#include "platform/screenfit.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace gratinel {

namespace {

constexpr qint16 kListPage = 11;
// Below this width the caption, which says how to close the window, would be cut.
constexpr int kMinClientWidth = 480;
constexpr int kMinClientHeight = 120;

} // namespace

frmImage::frmImage(Platform &platform, const QString &recipeTitle, const QString &imagePath,
                   qint16 pageCode, QWidget *owner)
    : QDialog(owner), platform_(platform), recipeTitle_(recipeTitle), imagePath_(imagePath), pageCode_(pageCode)
{
    setObjectName(QStringLiteral("frmImage"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scrollImage"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll_->setWidgetResizable(false);
    scroll_->setBackgroundRole(QPalette::Window);

    Picture1 = new QLabel;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->installEventFilter(this);
    scroll_->setWidget(Picture1);
    scroll_->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
}

QString frmImage::captionFor(const QString &recipeTitle)
{
    return appTitle() + QStringLiteral(" - ") + recipeTitle.trimmed()
        + QStringLiteral(" (cliquez sur l'image ou touche ECHAP pour fermer la fenêtre)");
}

void frmImage::Form_Load()
{
    loadFailed_ = false;
    if (pageCode_ != kListPage)
        return;
    setWindowTitle(captionFor(recipeTitle_));
    const QImage image = platform_.loadImage(imagePath_);
    if (image.isNull()) {
        loadFailed_ = true;
        return;
    }
    Picture1->setPixmap(QPixmap::fromImage(image));
    Picture1->resize(image.size());
    fitToImage();
}

void frmImage::fitToImage()
{
    // The window takes the image's size, within the screen; beyond it the scroll bars come,
    // and the wheel and the arrow keys move the image.
    const QSize room = clientRoom(this);
    QSize client = Picture1->size();
    if (client.width() > room.width())
        client.rheight() += scroll_->horizontalScrollBar()->sizeHint().height();
    if (client.height() > room.height())
        client.rwidth() += scroll_->verticalScrollBar()->sizeHint().width();
    fitToScreen(this, client.expandedTo(QSize(kMinClientWidth, kMinClientHeight)));
}

int frmImage::exec()
{
    Form_Load();
    if (loadFailed_) {
        Form_Activate();
        return Rejected;
    }
    return QDialog::exec();
}

void frmImage::Form_Activate()
{
    platform_.setPointer(Platform::Pointer::Normal);
    if (!loadFailed_)
        return;
    hide();
    if (pageCode_ == kListPage)
        platform_.msgBox(QStringLiteral("Fichier image\r\n") + imagePath_ + QStringLiteral("\r\nnon trouvé ou incompatible."),
                         Platform::Icon::Critical);
    reject();
}

void frmImage::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Picture1->setFocus();
    Form_Activate();
}

void frmImage::keyPressEvent(QKeyEvent *event)
{
    // Escape closes; every other key is left alone (the scroll bars still take the arrows).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        reject();
        return;
    }
    event->ignore();
}

void frmImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        accept();
    else
        QDialog::mouseReleaseEvent(event);
}

bool frmImage::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the picture, or on the empty part of the window beside it, closes it.
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton && widget && widget->rect().contains(mouse->position().toPoint())) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace gratinel
