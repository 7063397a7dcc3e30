// The "Capture Image" panel: which driving data to write into the still, Save and Cancel. Save asks
// where to save and takes the still on a thread of its own.
#pragma once

#include "videotools/OverlayFlags.h"
#include "videotools/ToolInfo.h"

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class ToolViewDelegate;
class TrimPrompts;
class UserDefaultUtil;

class CaptureView : public QWidget
{
    Q_OBJECT

public:
    static inline const QString EX_IMAGE = QStringLiteral("jpeg");

    explicit CaptureView(UserDefaultUtil &settings, QWidget *parent = nullptr);
    ~CaptureView() override;

    // Set by the opener before setupControls. The delegate outlives the tool (the main window).
    std::optional<ToolInfo> toolinfo;
    ToolViewDelegate *delegate = nullptr;
    // Replaces the Qt dialogs (the main window's own, or a test's fake).
    void setPrompts(std::unique_ptr<TrimPrompts> prompts);

    void setupControls();
    void saveAction();
    void cancelAction();
    // The tool window's close button.
    void windowClosing() { cancelAction(); }
    void setControlsEnabled(bool enabled);

    bool cutFlg() const { return _cutFlg; }
    bool isBusy() const { return _isBusy; }
    OverlayFlags checkedFlags() const;

    QString overview1, txtChkAccelCap, txtChkCoordiCap, txtChkDate, txtChkSpeed, txtSave, txtCancel,
        al_errorMSgCap, al_infoTitle, al_infoMsg, notAddMsg, al_warningTitle;

signals:
    // The still was written (after the "Saved" alert), or failed (after its alert).
    void captureFinished(bool saved);

private:
    void startCapture(const QString &destination);
    void onCaptureFinished(bool saved, const QString &error);

    UserDefaultUtil &_settings;
    std::unique_ptr<TrimPrompts> _prompts;
    bool _cutFlg = false;
    bool _isBusy = false;

    QLabel *lblInsert = nullptr;
    QLabel *lblNotAdd = nullptr;
    QCheckBox *chkDate = nullptr;
    QCheckBox *chkSpeed = nullptr;
    QCheckBox *chkAccel = nullptr;
    QCheckBox *chkPoint = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnCancel = nullptr;
    QProgressBar *indicator = nullptr;
};
