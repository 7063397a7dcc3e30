// The "Trim Tool" panel: which data to burn in, and Save, Back and Cancel for the marked range. Save
// checks the range, asks where to save, checks the disk and runs the trim job on a thread of its own.
#pragma once

#include "videotools/OverlayFlags.h"
#include "videotools/ToolInfo.h"
#include "videotools/TrimWorker.h"

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class ToolViewDelegate;
class TrimRunner;
class TrimPrompts;
class UserDefaultUtil;

class TrimView : public QWidget
{
    Q_OBJECT

public:
    static inline const QString EX_MOV = QStringLiteral("mp4");

    // settings: the viewer's store, read for the last choices and written with the new ones.
    explicit TrimView(UserDefaultUtil &settings, QWidget *parent = nullptr);
    ~TrimView() override;

    // Set by the opener before setupControls. The delegate outlives the tool (the main window).
    std::optional<ToolInfo> toolinfo;
    ToolViewDelegate *delegate = nullptr;
    // Replaces the Qt dialogs (the main window's own, or a test's fake).
    void setPrompts(std::unique_ptr<TrimPrompts> prompts);
    // Where the job makes its work folder (the per-user temporary folder unless set).
    void setWorkFolderBase(const QString &folder) { _workFolderBase = folder; }
    // Another program in place of ffmpeg from the PATH (tests).
    void setFfmpegProgram(const QString &program) { _ffmpegProgram = program; }

    void setupControls();
    void saveAction();
    void backAction();
    void cancelAction();
    // The tool window's close button.
    void windowClosing();
    // The progress dialog's Cancel or close button.
    void taskProgressDialogOnClose();

    bool cutFlg() const { return _cutFlg; }
    bool isRunning() const;
    // The check boxes as they stand (on or mixed counts as on).
    OverlayFlags checkedFlags() const;
    // Sets the progress dialog's bar to percent (99 at most unless forced) and its label.
    void updateProgress(double percent, bool force);

    // The texts of the panel and its alerts, translated.
    QString txtTitleTrim, overview1, overview2, txtBack, al_warningTitle, al_warningMsg, txtChkAccel,
        txtChkCoordi, strHour, strMinute, bigDataMsgFormat, warnDiskMsg, notAddMsg, txtChkDate, txtChkSpeed,
        txtSave, txtCancel, al_errorMsg, al_infoTitle, al_infoMsg, txtConfirmation;

private:
    void startTrim(const QString &destination);
    bool checkDiskSpace(const QString &destinationFolder);
    void onTrimFinished(TrimWorker::Result result, const QString &error);

    UserDefaultUtil &_settings;
    std::unique_ptr<TrimPrompts> _prompts;
    QString _workFolderBase;
    QString _ffmpegProgram;
    bool _cutFlg = false;
    bool _isCancelled = false;
    TrimRunner *_runner = nullptr;

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
};
