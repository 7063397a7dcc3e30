#include "app/VideoListView.h"

#include "app/VideoListDelegate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QPushButton *makeTab(const QString &text, const QString &toolTip, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setCheckable(true);
    button->setToolTip(toolTip);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QWidget *tabRow(std::initializer_list<QPushButton *> buttons, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (QPushButton *button : buttons) {
        button->setParent(row);
        layout->addWidget(button);
    }
    return row;
}
} // namespace

VideoListView::VideoListView(QWidget *parent)
    : QWidget(parent), _model(new VideoListModel(this)), _listTable(new QTableView(this)),
      _tabTripButton(makeTab(tr("Trip"), tr("List from Engine ON till OFF"), this)),
      _tabChapterButton(makeTab(tr("Chapter"), tr("Break down list of selected trip"), this)),
      _tabEventButton(makeTab(tr("Event"), tr("Event list at the time of sensing shock"), this)),
      _tabSurveillanceButton(
          makeTab(tr("Surveillance"), tr("Surveillance list at the time of sensing shock"), this)),
      _tabAdventureButton(makeTab(tr("Adventure"), tr("List from Adventure ON till OFF"), this))
{
    setObjectName(QStringLiteral("VideoList"));
    _tabViewA = tabRow({_tabTripButton, _tabChapterButton, _tabAdventureButton}, this);
    _tabViewB = tabRow({_tabEventButton, _tabSurveillanceButton}, this);
    connect(_tabTripButton, &QPushButton::clicked, this, &VideoListView::onTripButton);
    connect(_tabChapterButton, &QPushButton::clicked, this, &VideoListView::onChapterButton);
    connect(_tabEventButton, &QPushButton::clicked, this, &VideoListView::onEventButton);
    connect(_tabSurveillanceButton, &QPushButton::clicked, this, &VideoListView::onSurveillanceButton);
    connect(_tabAdventureButton, &QPushButton::clicked, this, &VideoListView::onAdventureButton);

    _listTable->setModel(_model);
    _listTable->setItemDelegate(new VideoListDelegate(_listTable));
    // Rows are never selected by a click: the current row is drawn from the model.
    _listTable->setSelectionMode(QAbstractItemView::NoSelection);
    _listTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    _listTable->setShowGrid(false);
    _listTable->verticalHeader()->hide();
    _listTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    _listTable->verticalHeader()->setDefaultSectionSize(VideoListDelegate::ROW_HEIGHT);
    _listTable->horizontalHeader()->setSectionResizeMode(VideoListModel::InfoColumn, QHeaderView::Stretch);
    _listTable->horizontalHeader()->setSectionResizeMode(VideoListModel::ImageColumn, QHeaderView::Fixed);
    _listTable->horizontalHeader()->resizeSection(VideoListModel::ImageColumn, 120);
    _listTable->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignBottom);
    _listTable->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { color: white; background: rgb(51,51,51); font-size: 15px;"
                       " border: none; padding-left: 4px; }"
                       " QHeaderView::section:first { border-right: 1px solid black; }"));
    // Tab goes on to the window's next control rather than from cell to cell, round and round; the
    // keyboard's focus shows as a frame in the controls' blue.
    _listTable->setTabKeyNavigation(false);
    _listTable->setStyleSheet(QStringLiteral("QTableView { background: black; border: 1px solid black; }"
                                             "QTableView:focus { border-color: #5a9be0; }"));
    connect(_listTable, &QTableView::pressed, this,
            [this](const QModelIndex &index) { emit rowClicked(_model->listType(), index.row()); });
    connect(_model, &VideoListModel::rowToShow, this, [this](int row) {
        if (row >= 0 && row < _model->rowCount())
            _listTable->scrollTo(_model->index(row, 0));
    });

    _tabRows = new QVBoxLayout;
    _tabRows->setContentsMargins(0, 0, 0, 0);
    _tabRows->setSpacing(2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(_tabRows);
    layout->addWidget(_listTable, 1);
    updateTabs();
}

QPushButton *VideoListView::tabButton(CommonConst::ListType type) const
{
    switch (type) {
    case CommonConst::ListType::Trip:
        return _tabTripButton;
    case CommonConst::ListType::Event:
        return _tabEventButton;
    case CommonConst::ListType::Surveillance:
        return _tabSurveillanceButton;
    case CommonConst::ListType::Adventure:
        return _tabAdventureButton;
    case CommonConst::ListType::TripChapter:
    case CommonConst::ListType::AdvChapter:
        return _tabChapterButton;
    }
    return nullptr;
}

void VideoListView::setListData(CardData &card)
{
    _model->setListData(card);
    updateTabs();
}

bool VideoListView::selectRow(int row, CommonConst::ListType type, bool switchList)
{
    const bool selected = _model->selectRow(row, type, switchList);
    if (selected && switchList)
        updateTabs();
    return selected;
}

bool VideoListView::isTripRowOnTop() const
{
    return _tabRows->indexOf(_tabViewA) == 0;
}

void VideoListView::updateTabs()
{
    const CommonConst::ListType type = _model->listType();
    for (QPushButton *button :
         {_tabEventButton, _tabChapterButton, _tabTripButton, _tabAdventureButton, _tabSurveillanceButton})
        button->setChecked(false);
    tabButton(type)->setChecked(true);
    // The row that holds the list shown lies next to the table.
    const bool sensing = type == CommonConst::ListType::Event || type == CommonConst::ListType::Surveillance;
    _tabRows->removeWidget(_tabViewA);
    _tabRows->removeWidget(_tabViewB);
    _tabRows->addWidget(sensing ? _tabViewA : _tabViewB);
    _tabRows->addWidget(sensing ? _tabViewB : _tabViewA);
}

void VideoListView::onTripButton()
{
    _model->setListType(CommonConst::ListType::Trip);
    updateTabs();
}

void VideoListView::onChapterButton()
{
    _model->setListType(_model->chapterListType());
    updateTabs();
}

void VideoListView::onEventButton()
{
    _model->setListType(CommonConst::ListType::Event);
    updateTabs();
}

void VideoListView::onSurveillanceButton()
{
    _model->setListType(CommonConst::ListType::Surveillance);
    updateTabs();
}

void VideoListView::onAdventureButton()
{
    _model->setListType(CommonConst::ListType::Adventure);
    updateTabs();
}
