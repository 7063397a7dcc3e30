// An image button with a white title, a second image while the pointer is over it and a third while
// it is disabled. The zoom menu drives the hover look from the keyboard: while _flgZoomBtnForKey is set
// real pointer entries are ignored and only the panel's own mouseEntered calls highlight. The button draws
// its title itself, aligned inside its width less the title margins: a tool button only centres its text.
#pragma once

#include <QIcon>
#include <QMargins>
#include <QToolButton>

class EXTextButton : public QToolButton
{
    Q_OBJECT
public:
    enum class Look
    {
        Normal,
        Hover,
        Disabled
    };

    explicit EXTextButton(QWidget *parent = nullptr);

    // Images by name from ":/images/player/<name>.svg"; hover and disabled images are optional.
    void setImages(const QString &normal, const QString &hover = {}, const QString &disabled = {});
    // The tool bar's Tab handling finds buttons by this name.
    void setIdentifier(const QString &identifier) { setObjectName(identifier); }
    QString identifier() const { return objectName(); }

    // realEvent: the pointer entered; false for the panel's keyboard highlight.
    void mouseEntered(bool realEvent);
    void mouseExited();
    bool isMouseOver() const { return _isMouseOver; }
    bool flgZoomBtnForKey() const { return _flgZoomBtnForKey; }
    void setFlgZoomBtnForKey(bool on) { _flgZoomBtnForKey = on; }
    Look look() const { return _look; }

    void setTitleAlignment(Qt::Alignment alignment);
    void setTitleMargins(const QMargins &margins);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void show(Look look);
    void updateCellInside();

    QIcon _originalImage, _mouseOverImage, _disableImage;
    bool _isMouseOver = false;
    bool _flgZoomBtnForKey = false;
    Look _look = Look::Normal;
    Qt::Alignment _titleAlignment = Qt::AlignCenter;
    QMargins _titleMargins;
};
