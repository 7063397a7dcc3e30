#include "maintenance/MaintenanceMessageBoxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

void MaintenanceMessageBoxes::warn(const QString &text, const QString &cause)
{
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("MaintenancePrompter", "Warning"),
                    text, QMessageBox::Ok, _parent);
    box.setInformativeText(cause);
    box.exec();
}

bool MaintenanceMessageBoxes::confirm(const QString &text, bool critical)
{
    QMessageBox box(critical ? QMessageBox::Critical : QMessageBox::Information,
                    QCoreApplication::translate("MaintenancePrompter", "confirmation"), text,
                    QMessageBox::NoButton, _parent);
    QPushButton *cancel =
        box.addButton(QCoreApplication::translate("MaintenancePrompter", "Cancel"), QMessageBox::RejectRole);
    QPushButton *ok =
        box.addButton(QCoreApplication::translate("MaintenancePrompter", "OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

MaintenancePrompter::RemoveAnswer MaintenanceMessageBoxes::askRemoveFailure(bool folder, const QString &cause)
{
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("MaintenancePrompter", "Warning"),
                    QCoreApplication::translate(
                        "MaintenancePrompter",
                        "The action can't be completed because the folder or a file in it is open in another "
                        "program. Please try again after closing the other application."),
                    QMessageBox::NoButton, _parent);
    box.setInformativeText(cause);
    QPushButton *cancel = folder ? nullptr
                                 : box.addButton(QCoreApplication::translate("MaintenancePrompter", "Cancel"),
                                                 QMessageBox::RejectRole);
    QPushButton *ignore = folder ? box.addButton(QCoreApplication::translate("MaintenancePrompter", "ignore"),
                                                 QMessageBox::RejectRole)
                                 : nullptr;
    QPushButton *retry =
        box.addButton(QCoreApplication::translate("MaintenancePrompter", "Retry"), QMessageBox::AcceptRole);
    if (!folder)
        ignore = box.addButton(QCoreApplication::translate("MaintenancePrompter", "ignore"),
                               QMessageBox::DestructiveRole);
    box.setDefaultButton(folder ? ignore : cancel);
    box.exec();
    if (box.clickedButton() == retry)
        return RemoveAnswer::Retry;
    if (box.clickedButton() == ignore)
        return RemoveAnswer::Ignore;
    return folder ? RemoveAnswer::Ignore : RemoveAnswer::Cancel;
}
