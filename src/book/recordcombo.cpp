// Combo set up so that showing, sizing and opening it never measures every entry.
#include "book/recordcombo.h"

#include <QListView>
#include <QProxyStyle>

namespace gratinel {

namespace {

// The list opens below the box as a plain scrolled list: the style's other way (a
// popup laid over the box, placed on the current entry) measures every entry first.
class PlainPopupStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

RecordCombo::RecordCombo(const FrenchOrder &order, QWidget *parent)
    : QComboBox(parent), model_(new RecordListModel(order, this))
{
    auto *style = new PlainPopupStyle();
    style->setParent(this);
    setStyle(style);
    auto *list = new QListView(this);
    list->setUniformItemSizes(true);
    list->setLayoutMode(QListView::Batched);
    list->setBatchSize(200);
    setView(list);
    // A long list scrolls with a scroll bar, not with arrows at its ends.
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setModel(model_);
    setMaxVisibleItems(20);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
}

qint32 RecordCombo::recordAt(int row) const
{
    if (row < 0 || row >= model_->count())
        return 0;
    return model_->at(row).record;
}

QString RecordCombo::selectedText() const
{
    const int row = currentIndex();
    return row >= 0 && row < model_->count() ? model_->at(row).text : QString();
}

} // namespace gratinel
