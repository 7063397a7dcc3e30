// The video list panel: two rows of tab buttons over the table of the list shown. A click on a row is
// only reported (rowClicked); the main window decides what plays and marks the row through the model.
#pragma once

#include "app/VideoListModel.h"

#include <QWidget>

class QPushButton;
class QTableView;
class QVBoxLayout;

class VideoListView : public QWidget
{
    Q_OBJECT
public:
    explicit VideoListView(QWidget *parent = nullptr);

    VideoListModel *model() const { return _model; }
    QTableView *listTable() const { return _listTable; }
    QPushButton *tabButton(CommonConst::ListType type) const;

    // The lists of a newly opened card, the Trip tab shown.
    void setListData(CardData &card);
    bool selectRow(int row, CommonConst::ListType type, bool switchList);
    // Which of the two tab rows is on top: the row of the list shown lies next to the table.
    bool isTripRowOnTop() const;

public slots:
    void onTripButton();
    void onChapterButton();
    void onEventButton();
    void onSurveillanceButton();
    void onAdventureButton();

signals:
    void rowClicked(CommonConst::ListType type, int row);

private:
    void updateTabs();

    VideoListModel *_model;
    QTableView *_listTable;
    QVBoxLayout *_tabRows;
    QWidget *_tabViewA; // Trip, Chapter, Adventure
    QWidget *_tabViewB; // Event, Surveillance
    QPushButton *_tabTripButton;
    QPushButton *_tabChapterButton;
    QPushButton *_tabEventButton;
    QPushButton *_tabSurveillanceButton;
    QPushButton *_tabAdventureButton;
};
