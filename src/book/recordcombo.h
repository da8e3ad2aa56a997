// A drop-down list of families or recipes that stays instant with tens of thousands of entries.
#pragma once

#include "book/recordlistmodel.h"

#include <QComboBox>

namespace gratinel {

class RecordCombo : public QComboBox {
    Q_OBJECT
public:
    RecordCombo(const FrenchOrder &order, QWidget *parent = nullptr);

    RecordListModel &entries() { return *model_; }
    const RecordListModel &entries() const { return *model_; }
    // Record number (item data) of the entry at row, or 0.
    qint32 recordAt(int row) const;
    // Record number of the selected entry, or 0 when none is selected.
    qint32 selectedRecord() const { return recordAt(currentIndex()); }
    // Text of the selected entry, or empty.
    QString selectedText() const;

private:
    RecordListModel *model_;
};

} // namespace gratinel
