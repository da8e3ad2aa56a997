// Tab strip drawn with the style's tab-widget frame.
#include "book/tabstrip.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace gratinel {

TabStrip::TabStrip(QWidget *parent) : QWidget(parent), bar_(new QTabBar(this))
{
    bar_->setObjectName(QStringLiteral("TabStrip1Tabs"));
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setFocusPolicy(Qt::TabFocus);
    connect(bar_, &QTabBar::currentChanged, this, [this] { Q_EMIT tabClicked(); });
}

void TabStrip::addTab(const QIcon &icon, const QString &caption, const QString &toolTip)
{
    const QSignalBlocker block(bar_);
    const int i = bar_->addTab(icon, caption);
    bar_->setTabToolTip(i, toolTip);
    bar_->resize(bar_->sizeHint());
}

int TabStrip::selectedTab() const
{
    return bar_->currentIndex() + 1;
}

void TabStrip::selectTab(int index)
{
    bar_->setCurrentIndex(index - 1);
}

QRect TabStrip::paneRect() const
{
    const int top = bar_->sizeHint().height() - 1;
    return QRect(0, top, width(), height() - top);
}

QRect TabStrip::clientRect() const
{
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = paneRect();
    opt.shape = QTabBar::RoundedNorth;
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, this);
    return paneRect().adjusted(frame + 2, frame + 2, -(frame + 2), -(frame + 2));
}

void TabStrip::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = paneRect();
    opt.shape = QTabBar::RoundedNorth;
    opt.tabBarSize = bar_->sizeHint();
    opt.tabBarRect = QRect(QPoint(2, 0), bar_->sizeHint());
    opt.selectedTabRect = bar_->tabRect(bar_->currentIndex()).translated(2, 0);
    opt.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, opt);
}

void TabStrip::resizeEvent(QResizeEvent *event)
{
    bar_->setGeometry(2, 0, qMin(width() - 2, bar_->sizeHint().width()), bar_->sizeHint().height());
    QWidget::resizeEvent(event);
}

} // namespace gratinel
