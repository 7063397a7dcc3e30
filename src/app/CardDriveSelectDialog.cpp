#include "app/CardDriveSelectDialog.h"

#include "app/CardDriveSelectDialogDelegate.h"
#include "app/VolumeLister.h"
#include "recording/UserDefaultUtil.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString volumeName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}
} // namespace

CardDriveSelectDialog::CardDriveSelectDialog(UserDefaultUtil &settings, const VolumeLister &volumes,
                                             QWidget *parent)
    : QDialog(parent), _settings(settings), _volumes(volumes), _cmbCardDriveFolder(new QComboBox(this))
{
    auto *ok = new QPushButton(tr("OK"), this);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CardDriveSelectDialog::btnOk_Click);
    connect(cancel, &QPushButton::clicked, this, &CardDriveSelectDialog::btnCancel_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Select card drive"), this));
    layout->addWidget(_cmbCardDriveFolder);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

void CardDriveSelectDialog::loadDriveList()
{
    _cardDriveName.clear();
    _cmbCardDriveFolder->clear();
    _cardDriveURLs = _volumes.removablePaths();
    for (const QString &path : _cardDriveURLs)
        _cardDriveName << volumeName(path);
    _cmbCardDriveFolder->addItems(_cardDriveName);
    if (_cmbCardDriveFolder->count() == 0)
        return;
    const QVariant stored = userDefaultsKey ? _settings.value(*userDefaultsKey) : QVariant();
    const qsizetype found =
        stored.typeId() == QMetaType::QString ? _cardDriveName.indexOf(stored.toString()) : qsizetype(-1);
    _cmbCardDriveFolder->setCurrentIndex(found >= 0 ? static_cast<int>(found) : 0);
}

void CardDriveSelectDialog::btnOk_Click()
{
    if (delegate && !delegate->confirmStopWatchReset())
        return;
    const int row = _cmbCardDriveFolder->currentIndex();
    if (row < 0 || row >= _cardDriveURLs.size())
        return;
    _dirPathCard = _cardDriveURLs[row];
    if (userDefaultsKey)
        _settings.setValue(*userDefaultsKey, volumeName(_dirPathCard));
    if (delegate)
        delegate->openCardDrivePath(_dirPathCard + QStringLiteral("/MOVE/"));
    // The Open From dialog ends both runs itself.
    if (selectCardDriveType == CardDriveType::CameraSetting) {
        _settings.setFlag(QString::fromLatin1(UserDefaultUtil::KEY_CAMERA_SETTING_FLG), false);
        done(QDialog::Accepted);
    }
}

void CardDriveSelectDialog::btnCancel_Click()
{
    if (selectCardDriveType == CardDriveType::CameraSetting)
        _settings.setFlag(QString::fromLatin1(UserDefaultUtil::KEY_CAMERA_SETTING_FLG), false);
    done(QDialog::Rejected);
}

void CardDriveSelectDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
