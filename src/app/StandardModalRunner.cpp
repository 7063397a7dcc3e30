#include "app/StandardModalRunner.h"

#include <QDialog>
#include <QPointer>

StandardModalRunner::StandardModalRunner(UserDefaultUtil &flags, QWidget *parent,
                                         std::function<void(bool)> setChildWindowsTopMost)
    : _flags(flags), _parent(parent), _setChildWindowsTopMost(std::move(setChildWindowsTopMost))
{
}

void StandardModalRunner::run(ModalWindow::Type type, QWidget *view, const QString &title,
                              std::optional<QSize> contentSize)
{
    ModalWindow window(&_flags, _parent);
    window.setType(type);
    QMetaObject::Connection finished;
    if (auto *dialog = qobject_cast<QDialog *>(view)) {
        // The dialog's own OK and Cancel end the run; a nested dialog's run has returned by then.
        finished = QObject::connect(dialog, &QDialog::finished, &window, &ModalWindow::abortModal);
    } else if (view && view->metaObject()->indexOfSignal("closeRequested()") >= 0) {
        // The maintenance dialogs are plain widgets that ask for their window to close.
        finished = QObject::connect(view, SIGNAL(closeRequested()), &window, SLOT(abortModal()));
    }
    QPointer<QWidget> parent(_parent);
    window.runStandard(view, {title, contentSize, _setChildWindowsTopMost, [parent] {
                                  if (parent && parent->isVisible())
                                      parent->activateWindow();
                              }});
    QObject::disconnect(finished);
}
