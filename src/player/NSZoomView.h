// The zoom menu: the five scale buttons x1...x5 under the tool bar's zoom button. A pointer move over
// it hands the highlight back from the keyboard to the pointer.
#pragma once

#include <QFrame>

#include <array>

class EXTextButton;
class ZoomViewDelegate;

class NSZoomView : public QFrame
{
    Q_OBJECT
public:
    explicit NSZoomView(QWidget *parent = nullptr);

    void setDelegate(ZoomViewDelegate *delegate) { _delegate = delegate; }
    ZoomViewDelegate *delegate() const { return _delegate; }
    // btnx1 ... btnx5.
    EXTextButton *button(int index) const { return _buttons[static_cast<size_t>(index)]; }
    static constexpr int COUNT = 5;

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ZoomViewDelegate *_delegate = nullptr;
    std::array<EXTextButton *, COUNT> _buttons{};
};
