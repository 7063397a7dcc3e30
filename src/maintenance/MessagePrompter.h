// The alerts of the settings dialogs, behind an interface so that their flows run in tests without a
// modal loop.
#pragma once

#include <QString>

class QWidget;

class MessagePrompter
{
public:
    virtual ~MessagePrompter() = default;
    // A question titled "confirmation" with "OK" (the default) before "Cancel"; true for OK.
    virtual bool confirm(QWidget *parent, const QString &text) = 0;
    // The same question with "Cancel" first and the default, for a question whose OK throws away what the
    // user has: Return keeps it. True for OK.
    virtual bool confirmCancelFirst(QWidget *parent, const QString &text) = 0;
    // A critical alert titled "Warning"; cause, when given, says why (the file and the system's error).
    virtual void warn(QWidget *parent, const QString &text, const QString &cause = {}) = 0;
    // The same alert in the warning style, not the critical one: for a chapter that is missing or cannot
    // be loaded, which the user can put right by choosing another.
    virtual void caution(QWidget *parent, const QString &text) = 0;
    // An informational alert titled "Information".
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // An informational alert with a title of its own.
    virtual void announce(QWidget *parent, const QString &title, const QString &text) = 0;
};
