// The backup tree as an item model for the outline of the backup and delete dialogs: trip rows with a
// tri-state check box, chapter rows below them with a plain one, the start time and the event mark.
#pragma once

#include "maintenance/BackupTree.h"

#include <QAbstractItemModel>

class BackupTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column
    {
        TripColumn = 0,
        ChapterColumn = 1,
        StartTimeColumn = 2,
        EventColumn = 3,
        ColumnCount = 4
    };

    explicit BackupTreeModel(QObject *parent = nullptr);

    void setTree(BackupTree tree);
    const BackupTree &tree() const { return _tree; }
    // Date texts: a pattern of the date-format setting, a zone identifier, and whether summer time shows.
    void setDateDisplay(const QString &format, const QString &timeZone, bool summerTime);
    void setAll(int state);
    // The index of the trip row whose trip index (in the card's full list) is given.
    QModelIndex tripIndex(int idx) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // Any check state changed (the dialogs recompute their size texts).
    void checksChanged();

private:
    // Chapter rows carry their trip row + 1 as internal id; trip rows carry 0.
    static bool isChapter(const QModelIndex &index) { return index.internalId() != 0; }
    static Qt::CheckState toCheckState(int state);
    void tripChanged(int row);

    BackupTree _tree;
    QString _format;
    QString _timeZone;
    bool _summerTime = false;
};
