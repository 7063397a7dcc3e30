// The tool panel: trim or capture in one panel, chosen by the ToolInfo's type, with its controls laid
// out in code for that tool. It runs the same trim job and still capture as the two separate tools;
// where it differs from them: the save panel starts on the Desktop, the capture runs on a thread, the
// still takes the panel's own brightness rule, and the trim's progress counts the job's finished steps.
#pragma once

#include "videotools/OverlayFlags.h"
#include "videotools/ToolInfo.h"
#include "videotools/TrimWorker.h"

#include <QPoint>
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
class TrimRunner;
class UserDefaultUtil;

class ToolDialogView : public QWidget
{
    Q_OBJECT

public:
    static inline const QString EX_MOV = QStringLiteral("mp4");
    static inline const QString EX_IMAGE = QStringLiteral("jpeg");
    static constexpr int VIEW_WIDTH = 400;

    explicit ToolDialogView(UserDefaultUtil &settings, QWidget *parent = nullptr);
    ~ToolDialogView() override;

    // Set by whoever shows the panel, before viewDidAppear.
    std::optional<ToolInfo> toolinfo;
    ToolViewDelegate *delegate = nullptr;
    std::optional<QPoint> locatePoint; // where the window's top-left corner goes
    void setPrompts(std::unique_ptr<TrimPrompts> prompts);
    void setWorkFolderBase(const QString &folder) { _workFolderBase = folder; }
    void setFfmpegProgram(const QString &program) { _ffmpegProgram = program; }

    // Once the panel is in its window: builds the controls and the layout of the tool in toolinfo.
    void viewDidAppear();
    void saveAction();
    void backAction();
    void cancelAction();
    void setControlsEnabled(bool enabled);
    QString makeDurationText(int64_t ms) const;
    // The progress dialog's bar and label; 100 shows as 99 until the final update.
    void updateProgress(bool isFinal, double percent);
    // The progress dialog's Cancel.
    void taskProgressDialogOnClose();

    bool cutFlg() const { return _cutFlg; }
    bool cancelFlg() const { return _cancelFlg; }
    bool isBusy() const;
    OverlayFlags checkedFlags() const;
    const QString &sEx() const { return _sEx; }

    QString txtTitleTrim, overview1, overview2, txtBack, al_warningTitle, al_warningMsg, txtChkAccel,
        txtChkCoordi, strHour, strMinute, bigDataMsgFormat, warnDiskMsg, notAddMsg, txtTitleCap, overviewCap,
        txtChkAccelCap, txtChkCoordiCap, txtChkDate, txtChkSpeed, txtSave, txtCancel, al_errorMsg,
        al_errorMSgCap, al_infoTitle, al_infoMsg, txtConfirmation;

    // Built by viewDidAppear; none before.
    QLabel *lblInsert = nullptr;
    QLabel *lblWarning = nullptr;
    QLabel *lblNotAdd = nullptr;
    QCheckBox *chkDate = nullptr;
    QCheckBox *chkSpeed = nullptr;
    QCheckBox *chkAccel = nullptr;
    QCheckBox *chkPoint = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnBack = nullptr;
    QPushButton *btnCancel = nullptr;
    QProgressBar *indicator = nullptr;

private:
    bool isCapture() const { return toolinfo && toolinfo->type == ToolType::Capture; }
    void buildControls();
    void layoutTrimControls();
    void layoutCaptureControls();
    void startTool(const QString &destination);
    // Shows why destination may not be written, if it may not; true then.
    bool refuseDestination(const QString &destination);
    void startCapture(const QString &destination);
    void startTrim(const QString &destination);
    void onTrimFinished(TrimWorker::Result result, const QString &error);
    void onCaptureFinished(bool saved, const QString &error);

    UserDefaultUtil &_settings;
    std::unique_ptr<TrimPrompts> _prompts;
    TrimRunner *_runner = nullptr;
    QString _workFolderBase;
    QString _ffmpegProgram;
    QString _sEx;
    bool _cutFlg = false;
    bool _cancelFlg = false;
    bool _isCapturing = false;
};
