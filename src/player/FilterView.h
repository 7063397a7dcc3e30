// A transparent cover over the panel's parent while the zoom menu is open: a click on it closes the
// menu and reaches nothing underneath.
#pragma once

#include <QWidget>

class FilterViewDelegate;

class FilterView : public QWidget
{
    Q_OBJECT
public:
    explicit FilterView(QWidget *parent = nullptr) : QWidget(parent) {}
    void setDelegate(FilterViewDelegate *delegate) { _delegate = delegate; }

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    FilterViewDelegate *_delegate = nullptr;
};
