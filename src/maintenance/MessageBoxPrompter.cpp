#include "maintenance/MessageBoxPrompter.h"

#include <QMessageBox>
#include <QPushButton>

bool MessageBoxPrompter::confirm(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, tr("confirmation"), text, QMessageBox::NoButton, parent);
    QPushButton *ok = box.addButton(tr("OK"), QMessageBox::AcceptRole);
    box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok;
}

bool MessageBoxPrompter::confirmCancelFirst(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, tr("confirmation"), text, QMessageBox::NoButton, parent);
    QPushButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    QPushButton *ok = box.addButton(tr("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

void MessageBoxPrompter::warn(QWidget *parent, const QString &text, const QString &cause)
{
    QMessageBox box(QMessageBox::Critical, tr("Warning"), text, QMessageBox::Ok, parent);
    box.setInformativeText(cause);
    box.exec();
}

void MessageBoxPrompter::caution(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, tr("Warning"), text, QMessageBox::Ok, parent);
    box.exec();
}

void MessageBoxPrompter::inform(QWidget *parent, const QString &text)
{
    announce(parent, tr("Information"), text);
}

void MessageBoxPrompter::announce(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.exec();
}
