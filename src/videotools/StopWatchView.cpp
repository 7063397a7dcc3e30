#include "videotools/StopWatchView.h"

#include "card/ChapterData.h"
#include "recording/UserDefaultUtil.h"
#include "videotools/BackgroundPictureReads.h"
#include "videotools/StopWatchViewDelegate.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel *valueLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font = label->font();
    font.setFamily(QStringLiteral("monospace"));
    font.setPointSizeF(font.pointSizeF() * 1.3);
    label->setFont(font);
    return label;
}

} // namespace

StopWatchView::StopWatchView(const UserDefaultUtil &settings, QWidget *parent)
    : QWidget(parent), _settings(settings)
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    for (int i = 0; i < StopWatchModel::LAP_MAX; ++i) {
        grid->addWidget(new QLabel(QString::number(i + 1), this), i, 0);
        lblLaps[size_t(i)] = valueLabel(this);
        lblSpeeds[size_t(i)] = valueLabel(this);
        grid->addWidget(lblLaps[size_t(i)], i, 1);
        grid->addWidget(lblSpeeds[size_t(i)], i, 2);
    }
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    grid->addWidget(line, StopWatchModel::LAP_MAX, 0, 1, 3);
    lblTimeTotal = valueLabel(this);
    lblSpeedTotal = valueLabel(this);
    grid->addWidget(new QLabel(tr("Total"), this), StopWatchModel::LAP_MAX + 1, 0);
    grid->addWidget(lblTimeTotal, StopWatchModel::LAP_MAX + 1, 1);
    grid->addWidget(lblSpeedTotal, StopWatchModel::LAP_MAX + 1, 2);

    btnStartStop = new QPushButton(tr("START/STOP"), this);
    btnLapReset = new QPushButton(tr("LAP/RESET"), this);
    btnReturn = new QPushButton(tr("PREVIOUS LAP"), this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {btnStartStop, btnLapReset, btnReturn}) {
        button->setFocusPolicy(Qt::NoFocus); // keys stay with the window: Escape hides it
        // A third of the row each, whatever their texts need.
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        buttons->addWidget(button, 1);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    fitButtonTexts(layout->contentsMargins(), buttons->spacing());
    resize(WIDTH, HEIGHT);

    connect(btnStartStop, &QPushButton::clicked, this, &StopWatchView::startStop);
    connect(btnLapReset, &QPushButton::clicked, this, &StopWatchView::lapReset);
    connect(btnReturn, &QPushButton::clicked, this, &StopWatchView::previousLap);
    _model.onMarkersChanged = [this](const StopWatchMarkers &markers) {
        if (_delegate)
            _delegate->updateStopWatchMarkers(markers);
    };
    _reads = std::make_unique<BackgroundPictureReads>([this](const BackgroundPictureReads::Chapters &read) {
        for (const auto &chapter : read)
            _model.chapterRead(*chapter);
        redrawLaps();
    });
    _model.readElsewhere = [this](const std::shared_ptr<ChapterData> &chapter) { _reads->read(chapter); };
    updateButtons();
    redrawLaps();
}

void StopWatchView::fitButtonTexts(QMargins margins, int spacing)
{
    // French and Spanish texts are wider than a third of the window: the three buttons then share the
    // largest font that lets the widest text fit.
    const std::array buttons{btnStartStop, btnLapReset, btnReturn};
    const int share = (WIDTH - margins.left() - margins.right() - 2 * spacing) / int(buttons.size());
    QStyleOptionButton option;
    option.initFrom(btnStartStop);
    option.rect = QRect(0, 0, share, btnStartStop->sizeHint().height());
    // Two pixels clear of the button's frame on either side.
    const int room =
        style()->subElementRect(QStyle::SE_PushButtonContents, &option, btnStartStop).width() - 4;
    QFont font = btnStartStop->font();
    const auto fits = [&] {
        const QFontMetrics metrics(font);
        return std::all_of(buttons.begin(), buttons.end(),
                           [&](QPushButton *b) { return metrics.horizontalAdvance(b->text()) <= room; });
    };
    while (!fits() && font.pointSizeF() > MIN_BUTTON_POINT_SIZE)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QPushButton *b : buttons)
        b->setFont(font);
}

void StopWatchView::setupWindow()
{
    setWindowTitle(tr("Stopwatch"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   (_topMostFlg ? Qt::WindowStaysOnTopHint : Qt::WindowFlags()));
    setFixedSize(WIDTH, HEIGHT);
    _isLoaded = true;
}

void StopWatchView::setTopMost(bool topMost)
{
    _topMostFlg = topMost;
    if (!_isLoaded)
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    if (visible)
        show(); // changing the flags hides a window
}

void StopWatchView::changed()
{
    updateButtons();
    redrawLaps();
}

void StopWatchView::refreshTimeline()
{
    if (_model.refreshTimeline())
        redrawLaps();
}

void StopWatchView::startStop()
{
    _model.startStop();
    changed();
}

void StopWatchView::lapReset()
{
    _model.lapReset();
    changed();
}

void StopWatchView::previousLap()
{
    _model.previousLap();
    changed();
}

void StopWatchView::stopMeasurement()
{
    _model.stopMeasurement();
    changed();
}

void StopWatchView::resetMeasurement()
{
    _model.resetMeasurement();
    changed();
}

void StopWatchView::clearData()
{
    _model.clearData();
    updateButtons();
}

void StopWatchView::setEventChapters(CardData &card, MoveProtectInfo &record)
{
    _model.setEventChapters(card, record);
    changed();
}

void StopWatchView::setTripChapters(CardData &card, AdvMoveProtectInfo &record)
{
    _model.setTripChapters(card, record);
    changed();
}

void StopWatchView::updateButtons()
{
    const StopWatchModel::Buttons state = _model.buttons();
    const std::pair<QPushButton *, bool> buttons[] = {
        {btnStartStop, state.startStop}, {btnLapReset, state.lapReset}, {btnReturn, state.previousLap}};
    const QString tips[] = {tr("START/STOP"), tr("LAP/RESET"), tr("PREVIOUS LAP")};
    for (size_t i = 0; i < std::size(buttons); ++i) {
        buttons[i].first->setEnabled(buttons[i].second);
        buttons[i].first->setToolTip(buttons[i].second ? tips[i] : QString());
    }
}

StopWatchView::~StopWatchView() = default;

void StopWatchView::redrawLaps()
{
    _model.setSpeedMeter(_settings.speedMeter);
    const auto rows = _model.rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        lblLaps[i]->setText(StopWatchModel::lapTimeText(rows[i]));
        lblSpeeds[i]->setText(StopWatchModel::speedText(rows[i], _model.isKmh()));
    }
    const auto total = _model.total();
    lblTimeTotal->setText(StopWatchModel::lapTimeText(total));
    lblSpeedTotal->setText(StopWatchModel::speedText(total, _model.isKmh()));
}

QString StopWatchView::lapText(int row) const
{
    return row < StopWatchModel::LAP_MAX ? lblLaps[size_t(row)]->text() : lblTimeTotal->text();
}

QString StopWatchView::speedText(int row) const
{
    return row < StopWatchModel::LAP_MAX ? lblSpeeds[size_t(row)]->text() : lblSpeedTotal->text();
}

void StopWatchView::hideWindow()
{
    hide();
    if (_delegate)
        _delegate->stopWatchHidden();
}

void StopWatchView::keyPressEvent(QKeyEvent *event)
{
    QWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape)
        hideWindow();
}

void StopWatchView::closeEvent(QCloseEvent *event)
{
    // The window object and the measurement stay: showing it again brings them back as they were.
    event->ignore();
    hideWindow();
}
