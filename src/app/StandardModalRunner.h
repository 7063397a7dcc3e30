// The real modal runs: a new ModalWindow per run over the main window.
#pragma once

#include "app/ModalRunner.h"

#include <functional>

class UserDefaultUtil;

class StandardModalRunner : public ModalRunner
{
public:
    // parent: the main window; setChildWindowsTopMost brackets every run.
    StandardModalRunner(UserDefaultUtil &flags, QWidget *parent,
                        std::function<void(bool topMost)> setChildWindowsTopMost);

    void run(ModalWindow::Type type, QWidget *view, const QString &title,
             std::optional<QSize> contentSize = std::nullopt) override;

private:
    UserDefaultUtil &_flags;
    QWidget *_parent;
    std::function<void(bool)> _setChildWindowsTopMost;
};
