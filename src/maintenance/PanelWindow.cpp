#include "maintenance/PanelWindow.h"

#include <QKeyEvent>
#include <QVBoxLayout>

PanelWindow::PanelWindow(QWidget *panel, QWidget *parent) : QDialog(parent), _panel(panel)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    connect(panel, SIGNAL(closeRequested()), this, SLOT(reject()));
}

PanelWindow::~PanelWindow()
{
    if (_panel) {
        layout()->removeWidget(_panel);
        _panel->setParent(nullptr);
    }
}

void PanelWindow::keyPressEvent(QKeyEvent *event)
{
    // QDialog would reject on Escape; only the panel's own buttons and the close button end this run.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
