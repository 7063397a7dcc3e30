// Shows an MpvEngine's picture through mpv's OpenGL render context, at device-pixel size.
#pragma once

#include <QOpenGLWidget>
#include <QPointer>
#include <QTimer>

class MpvEngine;
struct mpv_render_context;

class MpvGLWidget : public QOpenGLWidget
{
    Q_OBJECT
public:
    MpvGLWidget(MpvEngine *engine, QWidget *parent = nullptr);
    ~MpvGLWidget() override;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void onUpdate();
    void drawFrame();
    // Draws the core's latest picture; false without a render context.
    bool draw();
    void freeContext();

    QPointer<MpvEngine> _engine;
    mpv_render_context *_context = nullptr;
    // Holds a frame until its display time.
    QTimer _drawTimer;
};
