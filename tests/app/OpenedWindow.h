// The real main window with stand-ins only for its modal runs, network and browser, started up and
// given a source to open, for the tests that follow what the user does in it.
#pragma once

#include "app/CardOpener.h"
#include "app/MainWindow.h"
#include "app/ModalRunner.h"
#include "support/EventLoop.h"

#include <QUrl>
#include <memory>

struct NoModalRuns : ModalRunner
{
    void run(ModalWindow::Type, QWidget *, const QString &, std::optional<QSize>) override {}
};

// Not a first launch; the alerts go to the prompter given.
inline std::unique_ptr<MainWindow> startedWindow(UserDefaultUtil &settings, MessagePrompter &prompter)
{
    settings.viewerFirstLaunch = true;
    auto window = std::make_unique<MainWindow>(MainWindow::Services{
        settings, prompter, [](std::function<void(bool)> done) { done(false); }, std::nullopt,
        [](MainWindow &) { return std::make_unique<NoModalRuns>(); }, [](const QUrl &) {},
        [] { return false; }, [](const QString &, const QString &) { return std::optional<QString>(); }});
    window->startUp();
    window->cardOpener()->pauseMsec = 0;
    return window;
}

// Opens the source as the Open From dialog does and waits until the opening has ended.
inline bool openSource(MainWindow &window, const QUrl &source)
{
    bool opened = false;
    const QMetaObject::Connection connection =
        QObject::connect(window.cardOpener(), &CardOpener::finished, [&] { opened = true; });
    window.cardOpener()->openVideoData(source, true, MovieType::Backup);
    const bool ended = EventLoop::waitUntil([&] { return opened; });
    QObject::disconnect(connection);
    return ended;
}
