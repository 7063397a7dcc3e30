// Where the keys go when the program hides or disables the player panel's control that has them: to the
// panel itself. The toolkit would hand them to the next control in the window, where a Space presses a
// button the user never chose (Stop after Pause hides at the item's end, the next item after the last frame
// step). The panel's own hand-overs, play to pause and back, set the focus afterwards and still hold.
#pragma once

#include <QObject>

class QWidget;

class PanelFocusKeeper : public QObject
{
    Q_OBJECT
public:
    explicit PanelFocusKeeper(QWidget &panel);

    // From the panel's focusNextPrevChild, which the toolkit calls to move the focus off a control it hides
    // or disables: true when the focus went to the panel instead.
    bool takeBack();

protected:
    // The window coming back gives the focus of a control hidden meanwhile to the next control, and a
    // focus it never had to its first control, without asking the panel: the panel takes it first.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &_panel;
};
