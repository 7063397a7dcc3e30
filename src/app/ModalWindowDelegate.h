// Told when the close button is pressed on a progress or trim window, which decide themselves whether
// the run ends.
#pragma once

class ModalWindowDelegate
{
public:
    virtual void modalWindowClosing() = 0;

protected:
    ~ModalWindowDelegate() = default;
};
