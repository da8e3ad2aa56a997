// A row of tabs over a framed client area; the pages are laid over that area by their owner.
#pragma once

#include <QIcon>
#include <QRect>
#include <QWidget>

class QTabBar;

namespace gratinel {

class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget *parent = nullptr);

    void addTab(const QIcon &icon, const QString &caption, const QString &toolTip);
    QTabBar *bar() const { return bar_; }
    // Selected tab, from 1.
    int selectedTab() const;
    // Selects a tab, from 1, as a click on it does.
    void selectTab(int index);
    // The area inside the tab row and the border, in this widget's coordinates.
    QRect clientRect() const;

Q_SIGNALS:
    // The selected tab changed, by the user or by selectTab.
    void tabClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect paneRect() const;

    QTabBar *bar_;
};

} // namespace gratinel
