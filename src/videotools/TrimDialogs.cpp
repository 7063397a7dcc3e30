#include "videotools/TrimDialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("TrimView", text);
}
} // namespace

TrimDialogs::~TrimDialogs()
{
    closeProgress();
}

void TrimDialogs::showAlert(Style style, const QString &title, const QString &text)
{
    QMessageBox box(style == Style::Critical ? QMessageBox::Critical : QMessageBox::Information, title, text,
                    QMessageBox::NoButton, _parent);
    box.addButton(tr("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool TrimDialogs::confirm(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::NoButton, _parent);
    QPushButton *ok = box.addButton(tr("OK"), QMessageBox::AcceptRole);
    box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok;
}

std::optional<QString> TrimDialogs::chooseDestination(const QString &folder, const QString &extension)
{
    QFileDialog dialog(_parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the extension row below needs Qt's own panel
    dialog.setDirectory(folder);
    dialog.setNameFilter(QStringLiteral("*.") + extension);
    dialog.setDefaultSuffix(extension);
    // The panel's "extension: " row with its one-item pop-up.
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout())) {
        auto *label = new QLabel(QStringLiteral("extension: "), &dialog);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *popUp = new QComboBox(&dialog);
        popUp->addItem(extension);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(popUp, row, 1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void TrimDialogs::openProgress(const QString &title, std::function<void()> onCancel)
{
    closeProgress();
    _progress = new QProgressDialog(tr("Trimming video file."), tr("Cancel"), 0, 100, _parent);
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
    _progress->setLabelText(tr("Trimming video file.") + QLatin1Char('\n') + label);
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
