// The window of a nested selection whose panel is a plain widget: the panel's closeRequested() ends its
// run, as do the close button and an opener's done(); Escape leaves the choice open. The panel stays its
// owner's and is handed back unparented when the window goes.
#pragma once

#include <QDialog>
#include <QPointer>

class QKeyEvent;

class PanelWindow : public QDialog
{
    Q_OBJECT
public:
    // panel: a widget with a closeRequested() signal.
    explicit PanelWindow(QWidget *panel, QWidget *parent = nullptr);
    ~PanelWindow() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<QWidget> _panel;
};
