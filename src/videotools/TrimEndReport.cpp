#include "videotools/TrimEndReport.h"

#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimPrompts.h"

void TrimEndReport::finish(TrimPrompts &prompts, ToolViewDelegate *delegate, bool cancelled,
                           TrimWorker::Result result, const QString &error,
                           const std::function<void()> &showFullProgress) const
{
    if (cancelled || result == TrimWorker::Result::Cancelled) {
        qInfo("cancel");
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
    qWarning("Trim failed: %s", qPrintable(error));
    prompts.showAlert(TrimPrompts::Style::Critical, warningTitle, errorMessage);
    prompts.closeProgress();
}
