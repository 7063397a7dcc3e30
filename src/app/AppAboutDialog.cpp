#include "app/AppAboutDialog.h"

#include "recording/CommonConst.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AppAboutDialog::AppAboutDialog(QWidget *parent)
    : QDialog(parent), _lblAppVersion(new QLabel(this)), _okBtn(new QPushButton(tr("OK"), this))
{
    auto *layout = new QVBoxLayout(this);
    auto *name = new QLabel(CommonConst::FMT_FORM_TITLE_DEFAULT, this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    _lblAppVersion->setAlignment(Qt::AlignCenter);
    _lblAppVersion->setObjectName(QStringLiteral("lblAppVersion"));
    layout->addWidget(name);
    layout->addWidget(_lblAppVersion);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(_okBtn);
    layout->addLayout(row);
    _okBtn->setDefault(true);
    connect(_okBtn, &QPushButton::clicked, this, &QDialog::accept);
    setMinimumWidth(320);
    setVersionLabel();
}

QString AppAboutDialog::windowTitleText()
{
    return tr("Version information");
}

void AppAboutDialog::setVersionLabel()
{
    _lblAppVersion->setText(
        QCoreApplication::applicationVersion().split(QLatin1Char('.')).join(QLatin1Char('.')));
}
