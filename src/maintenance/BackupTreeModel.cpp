#include "maintenance/BackupTreeModel.h"

BackupTreeModel::BackupTreeModel(QObject *parent) : QAbstractItemModel(parent) {}

void BackupTreeModel::setTree(BackupTree tree)
{
    beginResetModel();
    _tree = std::move(tree);
    endResetModel();
    emit checksChanged();
}

void BackupTreeModel::setDateDisplay(const QString &format, const QString &timeZone, bool summerTime)
{
    _format = format;
    _timeZone = timeZone;
    _summerTime = summerTime;
    if (rowCount() > 0)
        emit dataChanged(index(0, StartTimeColumn), index(rowCount() - 1, StartTimeColumn));
}

void BackupTreeModel::setAll(int state)
{
    _tree.setAll(state);
    for (int row = 0; row < rowCount(); ++row)
        tripChanged(row);
    emit checksChanged();
}

QModelIndex BackupTreeModel::tripIndex(int idx) const
{
    const int row = _tree.rowOfTrip(idx);
    return row < 0 ? QModelIndex() : index(row, 0);
}

QModelIndex BackupTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    return createIndex(row, column, parent.isValid() ? quintptr(parent.row() + 1) : quintptr(0));
}

QModelIndex BackupTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || !isChapter(child))
        return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int BackupTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(_tree.backups().size());
    if (isChapter(parent) || parent.column() != 0)
        return 0;
    return int(_tree.backups()[size_t(parent.row())].children.size());
}

int BackupTreeModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

Qt::CheckState BackupTreeModel::toCheckState(int state)
{
    return state == 1 ? Qt::Checked : (state == 0 ? Qt::Unchecked : Qt::PartiallyChecked);
}

QVariant BackupTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Backup &trip = _tree.backups()[size_t(isChapter(index) ? index.internalId() - 1 : index.row())];
    const BackupItem *item = isChapter(index) ? &trip.children[size_t(index.row())] : nullptr;
    switch (role) {
    case Qt::CheckStateRole:
        if (index.column() == TripColumn && !item)
            return toCheckState(trip.trip);
        if (index.column() == ChapterColumn && item)
            return toCheckState(item->chapterItem);
        return {};
    case Qt::DisplayRole:
        if (index.column() == StartTimeColumn)
            return (item ? item->startingTime : trip.startingTime).toString(_format, _timeZone, _summerTime);
        if (index.column() == EventColumn)
            return (item ? item->dateEvent : trip.dateEvent) ? tr("Yes") : QString();
        return {};
    default:
        return {};
    }
}

bool BackupTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !(flags(index) & Qt::ItemIsUserCheckable))
        return false;
    const auto checkState = value.value<Qt::CheckState>();
    const int state = checkState == Qt::Checked ? 1 : (checkState == Qt::Unchecked ? 0 : -1);
    const int row = isChapter(index) ? int(index.internalId() - 1) : index.row();
    const int idx = _tree.backups()[size_t(row)].idx;
    if (isChapter(index))
        _tree.setChapterState(idx, index.row(), state);
    else
        _tree.setTripState(idx, state);
    tripChanged(row);
    emit checksChanged();
    return true;
}

void BackupTreeModel::tripChanged(int row)
{
    emit dataChanged(index(row, TripColumn), index(row, TripColumn), {Qt::CheckStateRole});
    const QModelIndex parent = index(row, 0);
    const int children = rowCount(parent);
    if (children > 0)
        emit dataChanged(index(0, ChapterColumn, parent), index(children - 1, ChapterColumn, parent),
                         {Qt::CheckStateRole});
}

Qt::ItemFlags BackupTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // No user tri-state: a click on a mixed trip box checks the whole trip.
    if ((index.column() == TripColumn && !isChapter(index)) ||
        (index.column() == ChapterColumn && isChapter(index)))
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant BackupTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TripColumn:
        return tr("Trip");
    case ChapterColumn:
        return tr("Chapter");
    case StartTimeColumn:
        return tr("Start time");
    case EventColumn:
        return tr("Event");
    default:
        return {};
    }
}
