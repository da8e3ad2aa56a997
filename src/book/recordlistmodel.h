// The entries of a sorted list of families or recipes: a shown text and a record number each.
#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

namespace gratinel {

class FrenchOrder;

struct ListEntry {
    QString text;
    qint32 record = 0;
};

class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The record number of an entry, as item data.
    static constexpr int RecordRole = Qt::UserRole;

    explicit RecordListModel(const FrenchOrder &order, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Adds the entries to those already there and keeps the whole list sorted: French
    // order, case ignored; entries that compare equal keep the order they were added in.
    // The view is told once, however many entries come.
    void addEntries(std::vector<ListEntry> entries);
    void clear();
    // Holds the entries of sorted, in its order, in place of its own: for lists that show
    // the same entries, sorted once.
    void copyFrom(const RecordListModel &sorted);

    int count() const { return int(entries_.size()); }
    const ListEntry &at(int row) const { return entries_[size_t(row)]; }
    // Row of the entry with this record number, or -1.
    int rowOfRecord(qint32 record) const;

private:
    const FrenchOrder &order_;
    std::vector<ListEntry> entries_;
};

} // namespace gratinel
