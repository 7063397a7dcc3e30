#include "videotools/SavePanel.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

std::unique_ptr<QFileDialog> SavePanel::make(QWidget *parent, const Request &request)
{
    auto panel = std::make_unique<QFileDialog>(parent, request.message);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setOption(QFileDialog::DontUseNativeDialog); // the extension row needs Qt's own panel
    // The folder by itself: a path handed to the panel's constructor or to selectFile() that does
    // not exist would land in the name field.
    panel->setDirectory(QFileInfo(request.folder).isDir() ? request.folder : QDir::homePath());
    panel->setNameFilter(request.filter.isEmpty() ? QStringLiteral("*.") + request.extension
                                                  : request.filter);
    panel->setDefaultSuffix(request.extension);
    if (!request.fileName.isEmpty())
        panel->selectFile(request.fileName);
    if (!request.extensionLabel.isEmpty()) {
        if (auto *grid = qobject_cast<QGridLayout *>(panel->layout())) {
            auto *label = new QLabel(request.extensionLabel, panel.get());
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            auto *popUp = new QComboBox(panel.get());
            popUp->addItem(request.extension);
            const int row = grid->rowCount();
            grid->addWidget(label, row, 0);
            grid->addWidget(popUp, row, 1);
        }
    }
    return panel;
}

std::optional<QString> SavePanel::run(QWidget *parent, const Request &request)
{
    const std::unique_ptr<QFileDialog> panel = make(parent, request);
    if (panel->exec() != QDialog::Accepted || panel->selectedFiles().isEmpty())
        return std::nullopt;
    return panel->selectedFiles().constFirst();
}
