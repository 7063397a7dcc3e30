#include "videotools/TrimEndReport.h"

#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimPrompts.h"
#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcTool, "orv.videotools.tool", QtInfoMsg)
}

void TrimEndReport::finish(TrimPrompts &prompts, ToolViewDelegate *delegate, bool cancelled,
                           TrimWorker::Result result, const QString &reason,
                           const std::function<void()> &showFullProgress) const
{
    if (cancelled || result == TrimWorker::Result::Cancelled) {
        qCDebug(lcTool) << "cancel";
        prompts.closeProgress();
        return;
    }
    if (result == TrimWorker::Result::Saved) {
        showFullProgress();
        prompts.showAlert(TrimPrompts::Style::Informational, infoTitle, infoMessage);
        prompts.closeProgress();
        if (delegate)
            delegate->toolWindowClosed(ToolViewDelegate::Saved);
        return;
    }
    prompts.showAlert(TrimPrompts::Style::Critical, warningTitle, errorMessage, reason);
    prompts.closeProgress();
}
