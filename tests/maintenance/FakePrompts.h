// Test stand-ins for the dialogs' alerts and the application's restart.
#pragma once

#include "maintenance/ApplicationRestarter.h"
#include "maintenance/MessagePrompter.h"

#include <QString>
#include <QStringList>
#include <functional>

class FakePrompter : public MessagePrompter
{
public:
    bool confirmAnswer = true;
    QStringList shown;       // "confirm: text", "warn: text", "inform: text" in order
    QStringList causes;      // the cause given with each warning, in order
    QStringList cancelFirst; // the questions asked with Cancel first and their default, in order
    // Runs while a question or warning is up.
    std::function<void()> whileShown;

    bool confirm(QWidget *, const QString &text) override
    {
        shown << "confirm: " + text;
        if (whileShown)
            whileShown();
        return confirmAnswer;
    }
    bool confirmCancelFirst(QWidget *, const QString &text) override
    {
        shown << "confirm: " + text;
        cancelFirst << text;
        if (whileShown)
            whileShown();
        return confirmAnswer;
    }
    void warn(QWidget *, const QString &text, const QString &cause = {}) override
    {
        shown << "warn: " + text;
        causes << cause;
        if (whileShown)
            whileShown();
    }
    // Shown as a warning ("warn: text"), so that the stand-ins that catch warnings catch these too.
    void caution(QWidget *parent, const QString &text) override { warn(parent, text); }
    void inform(QWidget *, const QString &text) override { shown << "inform: " + text; }
    void announce(QWidget *, const QString &title, const QString &text) override
    {
        shown << title + ": " + text;
    }
};

class FakeRestarter : public ApplicationRestarter
{
public:
    int terminations = 0;
    void terminateForRestart() override { ++terminations; }
};
