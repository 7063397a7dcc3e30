// Answers the application-modal windows that a call runs, from inside their own event loops: every
// message box is read (its texts kept) and closed as Escape would close it; any other modal window
// goes to the given handler, which must close it. Header only: for the suites that link Qt Widgets.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <vector>

class ModalAnswerer
{
public:
    struct Box
    {
        QString title, text, informative, detailed;
        int width = 0; // as shown
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    explicit ModalAnswerer(std::function<void(QWidget *)> other = {}) : _other(std::move(other))
    {
        _timer.setInterval(10);
        QObject::connect(&_timer, &QTimer::timeout, [this] { answer(); });
        _timer.start();
    }

    std::vector<Box> boxes;

private:
    void answer()
    {
        // Every shown dialog, not only the active modal widget: a window left over by an earlier test
        // may stand on the modal stack.
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QDialog *>(window);
            // A window is answered once; a new one may reuse the address of one that went.
            if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool())
                continue;
            dialog->setProperty("answered", true);
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                boxes.push_back({box->windowTitle(), box->text(), box->informativeText(), box->detailedText(),
                                 box->width(), box->icon()});
                box->reject();
            } else if (_other) {
                _other(dialog);
            }
            return;
        }
    }

    std::function<void(QWidget *)> _other;
    QTimer _timer;
};
