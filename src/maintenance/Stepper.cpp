#include "maintenance/Stepper.h"

#include <QToolButton>
#include <QVBoxLayout>

Stepper::Stepper(QWidget *parent) : QWidget(parent), _up(new QToolButton(this)), _down(new QToolButton(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *button : {_up, _down}) {
        button->setArrowType(button == _up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFixedSize(18, 12);
        layout->addWidget(button);
    }
    connect(_up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(_down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}
