// The tools' dialogs and main window as the tool suites see them: every call recorded.
#pragma once

#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimPrompts.h"

#include <QEventLoop>
#include <QList>
#include <QStringList>
#include <functional>
#include <optional>

struct FakeToolPrompts : TrimPrompts
{
    // "alert:<text>", "confirm:<text>", "save:<folder>:<extension>", "progress:<label>", "close"
    QStringList calls;
    bool answer = true;
    std::optional<QString> destination;
    std::function<void()> onCancel;
    std::function<void(double)> onProgress;
    QEventLoop *loop = nullptr; // left at the first alert

    void showAlert(Style, const QString &, const QString &text) override
    {
        calls << "alert:" + text;
        if (loop)
            loop->quit();
    }
    bool confirm(const QString &, const QString &text) override
    {
        calls << "confirm:" + text;
        return answer;
    }
    std::optional<QString> chooseDestination(const QString &folder, const QString &extension) override
    {
        calls << "save:" + folder + ":" + extension;
        return destination;
    }
    void openProgress(const QString &, std::function<void()> cancel) override
    {
        onCancel = std::move(cancel);
    }
    void setProgress(double value, const QString &label) override
    {
        calls << "progress:" + label;
        if (onProgress)
            onProgress(value);
    }
    void closeProgress() override { calls << "close"; }
};

struct FakeToolDelegate : ToolViewDelegate
{
    QList<int> results;
    int closed = 0; // closeToolWindow calls
    QEventLoop *loop = nullptr;
    void toolWindowClosed(int result) override
    {
        results << result;
        if (loop)
            loop->quit();
    }
    void closeToolWindow() override { ++closed; }
};
