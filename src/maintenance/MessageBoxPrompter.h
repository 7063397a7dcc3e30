// The settings dialogs' alerts as modal message boxes.
#pragma once

#include "maintenance/MessagePrompter.h"

#include <QCoreApplication>

class MessageBoxPrompter : public MessagePrompter
{
    Q_DECLARE_TR_FUNCTIONS(MessageBoxPrompter)
public:
    bool confirm(QWidget *parent, const QString &text) override;
    bool confirmCancelFirst(QWidget *parent, const QString &text) override;
    void warn(QWidget *parent, const QString &text, const QString &cause = {}) override;
    void caution(QWidget *parent, const QString &text) override;
    void inform(QWidget *parent, const QString &text) override;
    void announce(QWidget *parent, const QString &title, const QString &text) override;
};
