// Room for window titles: Qt sizes a message box by its texts and leaves little of a short alert's title
// bar ("Information" over "Saved") beside the window manager's icon and buttons, which then shows the
// title as "…". The filter widens every message box of the application to show its whole title; windows
// sized by their content use widthForTitle themselves.
#pragma once

#include <QObject>

class QWidget;

class TitleBarWidths : public QObject
{
    Q_OBJECT
public:
    // Room the window manager's title bar takes besides the title: its icon, three buttons and gaps.
    static constexpr int TITLE_BAR_EXTRAS = 120;

    // The width a window needs for its title in the bold font title bars use.
    static int widthForTitle(const QWidget &window);

    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
