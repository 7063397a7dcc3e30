// The "Stopwatch" window: ten lap rows and the total, with START/STOP, LAP/RESET and PREVIOUS LAP.
// Made once by the main window, which shows and hides it, feeds it the played item and its position,
// and draws its marks on the track bar through the delegate. Escape and the close button only hide it.
#pragma once

#include "videotools/StopWatchModel.h"

#include <QWidget>
#include <array>
#include <memory>

class BackgroundPictureReads;
class QLabel;
class QMargins;
class QPushButton;
class StopWatchViewDelegate;
class UserDefaultUtil;

class StopWatchView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int WIDTH = 324, HEIGHT = 440;

    // settings: read for the speed unit at every redraw.
    explicit StopWatchView(const UserDefaultUtil &settings, QWidget *parent = nullptr);
    ~StopWatchView() override;

    StopWatchModel &model() { return _model; }
    // Held weakly: the main window outlives the stopwatch.
    void setDelegate(StopWatchViewDelegate *delegate) { _delegate = delegate; }

    // After the window is first shown: a floating tool window above the main window.
    void setupWindow();
    bool isLoaded() const { return _isLoaded; }
    // Lowered while the main window runs a modal dialog, raised again afterwards.
    void setTopMost(bool topMost);
    bool topMostFlg() const { return _topMostFlg; }

    // The player's position on every frame; then redrawLaps.
    void setCurrentSumFrameTimeSpan(int64_t ms) { _model.setCurrentMs(ms); }
    void redrawLaps();
    // A chapter's length learned since the item was loaded: the marks stay on their pictures.
    void refreshTimeline();
    void stopMeasurement();
    void resetMeasurement();
    void clearData();
    void setEventChapters(CardData &card, MoveProtectInfo &record);
    void setTripChapters(CardData &card, AdvMoveProtectInfo &record);

    void startStop();
    void lapReset();
    void previousLap();
    // Escape and the close button: hide, keeping the measurement.
    void hideWindow();

    // For tests and screenshots: the texts of row 0..9 and of the total (index 10).
    QString lapText(int row) const;
    QString speedText(int row) const;
    QPushButton *btnStartStop = nullptr;
    QPushButton *btnLapReset = nullptr;
    QPushButton *btnReturn = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    static constexpr double MIN_BUTTON_POINT_SIZE = 6.0;

    void updateButtons();
    void changed();
    void fitButtonTexts(QMargins margins, int spacing);

    const UserDefaultUtil &_settings;
    StopWatchModel _model;
    // The recordings a lap needs, read off the main thread: a long trip's would hold the window. Ends
    // before the model it hands the chapters to.
    std::unique_ptr<BackgroundPictureReads> _reads;
    StopWatchViewDelegate *_delegate = nullptr;
    bool _isLoaded = false;
    bool _topMostFlg = true;
    std::array<QLabel *, StopWatchModel::LAP_MAX> lblLaps{};
    std::array<QLabel *, StopWatchModel::LAP_MAX> lblSpeeds{};
    QLabel *lblTimeTotal = nullptr;
    QLabel *lblSpeedTotal = nullptr;
};
