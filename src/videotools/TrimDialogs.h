// The trim tool's alerts, question, save panel and progress dialog as Qt dialogs.
#pragma once

#include "videotools/TrimPrompts.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

class TrimDialogs : public TrimPrompts
{
public:
    explicit TrimDialogs(QWidget *parent) : _parent(parent) {}
    ~TrimDialogs() override;

    void showAlert(Style style, const QString &title, const QString &text,
                   const QString &cause = {}) override;
    bool confirm(const QString &title, const QString &text) override;
    std::optional<QString> chooseDestination(const QString &folder, const QString &extension) override;
    void openProgress(const QString &title, std::function<void()> onCancel) override;
    void setProgress(double value, const QString &label) override;
    void closeProgress() override;

private:
    QPointer<QWidget> _parent;
    QPointer<QProgressDialog> _progress;
};
