// A plain view that adds nothing to QWidget, kept for layouts that name a view of their own class.
#pragma once

#include <QWidget>

class CustomView : public QWidget
{
public:
    using QWidget::QWidget;
};
