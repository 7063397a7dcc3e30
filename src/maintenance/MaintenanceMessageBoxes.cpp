#include "maintenance/MaintenanceMessageBoxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("MaintenancePrompter", text);
}
} // namespace

void MaintenanceMessageBoxes::warn(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, tr("Warning"), text, QMessageBox::Ok, _parent);
    box.exec();
}

bool MaintenanceMessageBoxes::confirm(const QString &text, bool critical)
{
    QMessageBox box(critical ? QMessageBox::Critical : QMessageBox::Information, tr("confirmation"), text,
                    QMessageBox::NoButton, _parent);
    QPushButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    QPushButton *ok = box.addButton(tr("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

MaintenancePrompter::RemoveAnswer MaintenanceMessageBoxes::askRemoveFailure(bool folder)
{
    QMessageBox box(QMessageBox::Critical, tr("Warning"),
                    tr("The action can't be completed because the folder or a file in it is open in another "
                       "program. Please try again after closing the other application."),
                    QMessageBox::NoButton, _parent);
    QPushButton *cancel = folder ? nullptr : box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    QPushButton *ignore = folder ? box.addButton(tr("ignore"), QMessageBox::RejectRole) : nullptr;
    QPushButton *retry = box.addButton(tr("Retry"), QMessageBox::AcceptRole);
    if (!folder)
        ignore = box.addButton(tr("ignore"), QMessageBox::DestructiveRole);
    box.setDefaultButton(folder ? ignore : cancel);
    box.exec();
    if (box.clickedButton() == retry)
        return RemoveAnswer::Retry;
    if (box.clickedButton() == ignore)
        return RemoveAnswer::Ignore;
    return folder ? RemoveAnswer::Ignore : RemoveAnswer::Cancel;
}
