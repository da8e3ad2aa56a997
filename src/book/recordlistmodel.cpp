// Sorted list model: entries sorted once per fill, with precomputed collation keys.
#include "book/recordlistmodel.h"

#include "book/frenchorder.h"


namespace gratinel {

RecordListModel::RecordListModel(const FrenchOrder &order, QObject *parent)
    : QAbstractListModel(parent), order_(order)
{
}

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant RecordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(entries_.size()))
        return {};
    const ListEntry &e = entries_[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole)
        return e.text;
    if (role == RecordRole)
        return e.record;
    return {};
}

void RecordListModel::addEntries(std::vector<ListEntry> entries)
{
    if (entries.empty())
        return;
    std::vector<ListEntry> all;
    all.reserve(entries_.size() + entries.size());
    all.insert(all.end(), std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()));
    all.insert(all.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));

    std::vector<QString> texts;
    texts.reserve(all.size());
    for (const ListEntry &e : all)
        texts.push_back(e.text);
    const std::vector<size_t> idx = order_.sorted(texts);

    std::vector<ListEntry> sorted;
    sorted.reserve(all.size());
    for (size_t i : idx)
        sorted.push_back(std::move(all[i]));

    beginResetModel();
    entries_ = std::move(sorted);
    endResetModel();
}

void RecordListModel::clear()
{
    if (entries_.empty())
        return;
    beginResetModel();
    entries_.clear();
    endResetModel();
}

void RecordListModel::copyFrom(const RecordListModel &sorted)
{
    beginResetModel();
    entries_ = sorted.entries_;
    endResetModel();
}

int RecordListModel::rowOfRecord(qint32 record) const
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].record == record)
            return int(i);
    }
    return -1;
}

} // namespace gratinel
