// The G circle chart: the circle artwork, the fading trace of gX/gY and the yellow dot of the current frame,
// with the scope button in its lower right corner.
#pragma once

#include "graph/CircleChartModel.h"
#include "graph/GraphImages.h"

#include <QWidget>

class CardData;
class MoveProtectInfo;
class QToolButton;
class UserDefaultUtil;

class CircleChartView : public QWidget
{
    Q_OBJECT
public:
    // settings: the viewer's settings store (the scope is read from and saved to it); may be null.
    explicit CircleChartView(UserDefaultUtil *settings = nullptr, QWidget *parent = nullptr);

    void loadMovieChapters(std::shared_ptr<DrivingDataSource> source);
    void loadEventChapters(CardData &card, MoveProtectInfo &protectInfo);
    void loadEventChapters(std::shared_ptr<DrivingDataSource> source, CommonConst::PlayType type,
                           int minValue, int maxValue);
    void updateMarker(int value, CommonConst::PlayStatus status);
    void timelineRefreshed(int value);
    // The scope button: next scope, saved as "dispCircleChartMaxG".
    void saveScopeSetting();

    CircleChartModel &model() { return _model; }
    QToolButton *scopeButton() const { return _scopeButton; }
    QSize sizeHint() const override { return {130, 130}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateScopeImages();

    UserDefaultUtil *_settings;
    CircleChartModel _model;
    GraphImages _images;
    QToolButton *_scopeButton = nullptr;
};
