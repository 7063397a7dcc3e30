// The main window with its stand-ins: no modal loops, no network, no browser; optionally the fake media
// engine in place of libmpv. Not a first launch unless asked.
#pragma once

#include "app/CardOpener.h"
#include "app/MainWindow.h"
#include "app/ModalRunner.h"
#include "recording/UserDefaultUtil.h"
#include "support/EventLoop.h"
#include "support/TempDir.h"

#include "../maintenance/FakePrompts.h"
#include "../player/FakeMediaEngine.h"

#include <QApplication>
#include <QCoreApplication>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

using Runs = std::vector<std::pair<ModalWindow::Type, QString>>; // kind and title of each modal run

// What a test does inside a modal run, in the user's place; the run ends when it returns.
using RunAction = std::function<void(ModalWindow::Type type, QWidget *view)>;

struct RecordingRunner : ModalRunner
{
    explicit RecordingRunner(Runs &runs, const RunAction *act = nullptr) : runs(runs), act(act) {}
    void run(ModalWindow::Type type, QWidget *view, const QString &title, std::optional<QSize> size) override
    {
        runs.emplace_back(type, title);
        sizes.push_back(size);
        if (act && *act)
            (*act)(type, view);
    }
    Runs &runs;
    const RunAction *act;
    std::vector<std::optional<QSize>> sizes;
};

struct Fixture
{
    explicit Fixture(bool firstLaunch = false, const QString &settingsFile = {}, bool fakeEngines = false,
                     std::optional<QUrl> updateServer = std::nullopt)
        : settings(settingsFile.isEmpty() ? dir.filePath("s.conf") : settingsFile)
    {
        settings.load();
        settings.viewerFirstLaunch = settings.viewerFirstLaunch || !firstLaunch;
        std::function<std::unique_ptr<MediaEngine>()> makeEngine;
        if (fakeEngines) {
            makeEngine = [this] {
                auto engine = std::make_unique<FakeMediaEngine>();
                engine->holdItems = holdItems;
                FakeMediaEngine *made = engine.get();
                engines.push_back(made);
                // A reset drops the player's engines; a test must not reach one through the list.
                QObject::connect(made, &QObject::destroyed, [this, made] { std::erase(engines, made); });
                return engine;
            };
        }
        window = std::make_unique<MainWindow>(MainWindow::Services{
            settings, prompter, [](std::function<void(bool)> done) { done(false); }, updateServer,
            [this](MainWindow &) {
                auto made = std::make_unique<RecordingRunner>(runs, &onRun);
                runner = made.get();
                return made;
            },
            [this](const QUrl &url) { opened.push_back(url); }, [this] { return otherCopyRunning; },
            [](const QString &, const QString &) { return std::optional<QString>(); }, makeEngine});
    }
    void startUpUntilShown()
    {
        bool shown = false;
        QObject::connect(window.get(), &MainWindow::startUpShown, [&] { shown = true; });
        window->startUp();
        EventLoop::waitUntil([&] { return shown; });
        // Step B, when due, was queued right behind the show.
        QCoreApplication::processEvents();
    }

    // Shown at 1280x800 and active, with source opened as a backup folder (its first item played when
    // autoPlay); false when it was not read.
    bool showAndOpenBackup(const QUrl &source, bool autoPlay = true)
    {
        startUpUntilShown();
        window->resize(1280, 800);
        QApplication::setActiveWindow(window.get());
        bool opened = false;
        QObject context;
        QObject::connect(window->cardOpener(), &CardOpener::finished, &context, [&] { opened = true; });
        window->cardOpener()->pauseMsec = 0;
        window->cardOpener()->openVideoData(source, autoPlay, MovieType::Backup);
        return EventLoop::waitUntil([&] { return opened; });
    }

    TempDir dir;
    UserDefaultUtil settings;
    FakePrompter prompter;
    Runs runs;
    RecordingRunner *runner = nullptr;
    RunAction onRun;
    bool otherCopyRunning = false; // another copy of the viewer holds every flag that is set
    std::vector<QUrl> opened;
    // Made by the player and still alive; with holdItems a later item stays opening until its
    // becomeReady.
    std::vector<FakeMediaEngine *> engines;
    bool holdItems = false;
    std::unique_ptr<MainWindow> window;
};
