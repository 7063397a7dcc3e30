#include "videotools/TrimDialogs.h"

#include "videotools/SavePanel.h"
#include "videotools/TrimRules.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

TrimDialogs::~TrimDialogs()
{
    closeProgress();
}

void TrimDialogs::showAlert(Style style, const QString &title, const QString &text, const QString &cause)
{
    QMessageBox box(style == Style::Critical ? QMessageBox::Critical : QMessageBox::Information, title, text,
                    QMessageBox::NoButton, _parent);
    box.setInformativeText(cause);
    box.addButton(QCoreApplication::translate("TrimView", "OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool TrimDialogs::confirm(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::NoButton, _parent);
    QPushButton *ok = box.addButton(QCoreApplication::translate("TrimView", "OK"), QMessageBox::AcceptRole);
    box.addButton(QCoreApplication::translate("TrimView", "Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok;
}

std::optional<QString> TrimDialogs::chooseDestination(const QString &folder, const QString &extension)
{
    SavePanel::Request request;
    request.folder = folder;
    request.extension = extension;
    // The panel's "extension: " row with its one-item pop-up; only the word is translated.
    request.extensionLabel = QCoreApplication::translate("TrimView", "extension") + QStringLiteral(": ");
    const auto chosen = SavePanel::run(_parent, request);
    if (!chosen)
        return std::nullopt;
    return TrimRules::withExtension(*chosen, extension);
}

void TrimDialogs::openProgress(const QString &title, std::function<void()> onCancel)
{
    closeProgress();
    _progress = new QProgressDialog(QCoreApplication::translate("TrimView", "Trimming video file."),
                                    QCoreApplication::translate("TrimView", "Cancel"), 0, 100, _parent);
    _progress->setWindowTitle(title);
    _progress->setWindowModality(Qt::ApplicationModal);
    _progress->setAutoClose(false);
    _progress->setAutoReset(false);
    _progress->setMinimumDuration(0);
    QObject::connect(_progress, &QProgressDialog::canceled, _progress, [onCancel = std::move(onCancel)] {
        if (onCancel)
            onCancel();
    });
    _progress->show();
}

void TrimDialogs::setProgress(double value, const QString &label)
{
    if (!_progress)
        return;
    _progress->setLabelText(QCoreApplication::translate("TrimView", "Trimming video file.") +
                            QLatin1Char('\n') + label);
    // Last: a modal progress dialog handles events inside setValue, where the job's end may close it.
    _progress->setValue(int(value));
}

void TrimDialogs::closeProgress()
{
    if (!_progress)
        return;
    // Closing is not cancelling: the canceled signal must not fire on the way out.
    QObject::disconnect(_progress, &QProgressDialog::canceled, nullptr, nullptr);
    _progress->close();
    _progress->deleteLater();
    _progress = nullptr;
}
