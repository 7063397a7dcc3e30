// Runs a dialog's view application-modal in a window of the given type, the main window's child
// windows lowered around the run; returns when the run has ended.
#pragma once

#include "app/ModalWindow.h"

#include <QSize>
#include <QString>
#include <optional>

class QWidget;

class ModalRunner
{
public:
    virtual ~ModalRunner() = default;
    // A QDialog view ends the run when it finishes (its own buttons).
    virtual void run(ModalWindow::Type type, QWidget *view, const QString &title,
                     std::optional<QSize> contentSize = std::nullopt) = 0;
};
