// Carries the map in a window of its own: one content view, reused by every detached window of a run;
// each detaching makes a new window at the size the last one was given, centred on the screen.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>

class NewWindowViewDelegate;
class QWidget;

class NewWindowView : public QObject
{
    Q_OBJECT
public:
    // The macOS-style title bar the remembered window size includes, in points.
    static constexpr int TITLE_BAR_HEIGHT = 22;

    // windowParent: the main window, so the detached window goes with it.
    explicit NewWindowView(QWidget *windowParent, QObject *parent = nullptr);
    ~NewWindowView() override;

    void setDelegate(NewWindowViewDelegate *delegate) { _delegate = delegate; }
    // The content view: a strip with the close control over the map's area.
    QWidget *view() const { return _view; }
    QWidget *backgroundView() const { return _backgroundView; }
    // The map's current window; none while docked.
    QWidget *window() const { return _window; }

    // Takes the map into the map area (out of wherever it was) and pins it to the area's edges.
    void addMapView(QWidget *mapView);
    // A new window around the content view, shown at the remembered size and centred.
    QWidget *openWindow(const QString &title);
    // Closes the current window as its close box does.
    void windowCloseOnclick();

    // The size every new window of this run opens at, title bar included.
    QSize rememberedWindowSize() const { return _rememberedSize; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupWindow();

    NewWindowViewDelegate *_delegate = nullptr;
    QWidget *_windowParent;
    QWidget *_view;
    QWidget *_backgroundView;
    QPointer<QWidget> _window;
    QPointer<QWidget> _parentView; // the map last put into the area
    QSize _rememberedSize{480, 294};
};
