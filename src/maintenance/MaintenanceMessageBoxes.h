// The maintenance alerts and questions as message boxes over a parent window.
#pragma once

#include "maintenance/MaintenancePrompter.h"

#include <QPointer>
#include <QWidget>

class MaintenanceMessageBoxes : public MaintenancePrompter
{
public:
    explicit MaintenanceMessageBoxes(QWidget *parent = nullptr) : _parent(parent) {}

    void warn(const QString &text, const QString &cause = {}) override;
    bool confirm(const QString &text, bool critical) override;
    RemoveAnswer askRemoveFailure(bool folder, const QString &cause = {}) override;

private:
    QPointer<QWidget> _parent;
};
