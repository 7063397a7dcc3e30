// The window every dialog and tool runs in, application-modal. Its type decides what the close button
// and Escape do, whether it centres, and which in-use flag the close button releases.
#pragma once

#include <QDialog>
#include <QSize>
#include <cstdint>
#include <functional>
#include <optional>

class ModalWindowDelegate;
class UserDefaultUtil;

class ModalWindow : public QDialog
{
    Q_OBJECT
public:
    enum class Type : std::uint8_t
    {
        OpenForm = 0,
        ViewerSetting = 1,
        CameraSetting = 2,
        BackupDelete = 3,
        TaskProgress = 4,
        BackupSetting = 5,
        Trim = 6,
        Capture = 7,
        Etc = 8,
    };

    // flags: the store of the in-use flags the close button releases; may be null where no type
    // that releases a flag is used.
    explicit ModalWindow(UserDefaultUtil *flags, QWidget *parent = nullptr);

    Type type() const { return _type; }
    void setType(Type type) { _type = type; }
    ModalWindowDelegate *mwDelegate() const { return _mwDelegate; }
    void setMwDelegate(ModalWindowDelegate *delegate) { _mwDelegate = delegate; }

    // The dialog's own view; the window does not take it over for good: after the run the opener gets
    // it back unparented (a close button that empties the window hands it back at once).
    void setContentView(QWidget *view);
    QWidget *contentView() const { return _content; }

    // Centres on the parent or the screen, except for trim and capture windows, which keep the place
    // their opener gave them.
    void center();

public slots:
    // Ends the modal run; the only way a run ends.
    void abortModal();

public:
    // The opener's standard run: title, optional content size, child windows lowered around the run,
    // the window hidden afterwards. Returns when the run ends.
    struct RunOptions
    {
        QString title;
        std::optional<QSize> contentSize;
        std::function<void(bool topMost)> setChildWindowsTopMost;
        std::function<void()> afterRun; // e.g. make the main window key again
    };
    void runStandard(QWidget *view, const RunOptions &options);

    // Applies the close button's row for this type; never closes the window by itself.
    void closeButtonPressed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    const char *flagKey() const;
    void releaseContent();

    UserDefaultUtil *_flags;
    Type _type = Type::Etc;
    ModalWindowDelegate *_mwDelegate = nullptr;
    QWidget *_content = nullptr;
};
