#include "app/ModalWindow.h"

#include "app/TitleBarWidths.h"

#include "app/ModalWindowDelegate.h"
#include "recording/UserDefaultUtil.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

ModalWindow::ModalWindow(UserDefaultUtil *flags, QWidget *parent) : QDialog(parent), _flags(flags)
{
    setModal(true);
    setWindowModality(Qt::ApplicationModal);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Only the close button: the window has no minimise, maximise or help buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

void ModalWindow::setContentView(QWidget *view)
{
    if (_content == view)
        return;
    if (_content) {
        layout()->removeWidget(_content);
        _content->hide();
        _content->setParent(nullptr);
    }
    _content = view;
    if (view) {
        view->setParent(this);
        layout()->addWidget(view);
        view->show();
    }
}

void ModalWindow::releaseContent()
{
    // The dialog object outlives this window: hand its view back before the window goes.
    auto *empty = new QWidget(this);
    QWidget *old = _content;
    setContentView(empty);
    if (old)
        old->setParent(nullptr);
}

void ModalWindow::center()
{
    if (_type == Type::Trim || _type == Type::Capture)
        return;
    QRect area;
    if (parentWidget() && parentWidget()->isVisible())
        area = parentWidget()->window()->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void ModalWindow::abortModal()
{
    if (isVisible())
        done(QDialog::Rejected);
}

const char *ModalWindow::flagKey() const
{
    switch (_type) {
    case Type::ViewerSetting:
        return UserDefaultUtil::KEY_VIEWER_SETTING_FLG;
    case Type::CameraSetting:
        return UserDefaultUtil::KEY_CAMERA_SETTING_FLG;
    case Type::BackupDelete:
        return UserDefaultUtil::KEY_BACKUP_DELETE_FLG;
    case Type::BackupSetting:
        return UserDefaultUtil::KEY_BACKUP_SETTING_FLG;
    default:
        return nullptr;
    }
}

void ModalWindow::closeButtonPressed()
{
    if ((_type == Type::TaskProgress || _type == Type::Trim) && _mwDelegate) {
        // The delegate decides whether the run ends (a trim or copy may first have to stop).
        _mwDelegate->modalWindowClosing();
        return;
    }
    if (const char *key = flagKey(); key && _flags)
        _flags->setFlag(QString::fromLatin1(key), false);
    if (_type == Type::CameraSetting || _type == Type::BackupSetting)
        releaseContent();
    abortModal();
}

void ModalWindow::closeEvent(QCloseEvent *event)
{
    // The window never closes by itself; the run's end hides it.
    event->ignore();
    closeButtonPressed();
}

void ModalWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        if (_type == Type::OpenForm || _type == Type::Trim || _type == Type::Capture)
            abortModal();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ModalWindow::reject()
{
    // QDialog ends a run on its own paths (Escape, the close button); here only abortModal does.
}

void ModalWindow::runStandard(QWidget *view, const RunOptions &options)
{
    setContentView(view);
    setWindowTitle(options.title);
    if (options.contentSize && view)
        view->setFixedSize(*options.contentSize);
    adjustSize();
    // A window sized by its content is also as wide as its title needs.
    if (!options.contentSize)
        resize(std::max(width(), TitleBarWidths::widthForTitle(*this)), height());
    center();
    if (options.setChildWindowsTopMost)
        options.setChildWindowsTopMost(false);
    exec();
    hide();
    if (_content == view && view) {
        layout()->removeWidget(view);
        view->hide();
        view->setParent(nullptr);
        _content = nullptr;
    }
    if (options.setChildWindowsTopMost)
        options.setChildWindowsTopMost(true);
    if (options.afterRun)
        options.afterRun();
}
