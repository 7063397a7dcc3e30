// The About window's content: the program's version number and an OK button; OK and Escape end the
// window's modal run.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class AppAboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AppAboutDialog(QWidget *parent = nullptr);

    // The application's version, parts joined with "." (no prefix).
    void setVersionLabel();
    QLabel *lblAppVersion() const { return _lblAppVersion; }
    QPushButton *okBtn() const { return _okBtn; }

    static QString windowTitleText();

private:
    QLabel *_lblAppVersion;
    QPushButton *_okBtn;
};
