// Picks one of the mounted removable volumes (the camera's card) by name, and remembers the choice by
// name under the owner's settings key for the next time.
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class CardDriveSelectDialogDelegate;
class QComboBox;
class UserDefaultUtil;
class VolumeLister;

class CardDriveSelectDialog : public QDialog
{
    Q_OBJECT
public:
    enum class CardDriveType
    {
        FileOpen,
        CameraSetting
    };

    CardDriveSelectDialog(UserDefaultUtil &settings, const VolumeLister &volumes, QWidget *parent = nullptr);

    CardDriveSelectDialogDelegate *delegate = nullptr;
    std::optional<QString> userDefaultsKey;
    CardDriveType selectCardDriveType = CardDriveType::FileOpen;

    // Refills the list from the mounted volumes and preselects the remembered one.
    void loadDriveList();

    const QStringList &cardDriveName() const { return _cardDriveName; }
    const QStringList &cardDriveURLs() const { return _cardDriveURLs; }
    const QString &dirPathCard() const { return _dirPathCard; }
    QComboBox *cmbCardDriveFolder() const { return _cmbCardDriveFolder; }

public slots:
    void btnOk_Click();
    void btnCancel_Click();

protected:
    // Escape leaves the choice open: only OK and Cancel end its run.
    void keyPressEvent(QKeyEvent *event) override;

private:
    UserDefaultUtil &_settings;
    const VolumeLister &_volumes;
    QComboBox *_cmbCardDriveFolder;
    QStringList _cardDriveName;
    QStringList _cardDriveURLs;
    QString _dirPathCard;
};
