// The owner of a progress dialog: told when the user cancels a trim and after each completion alert.
#pragma once

class TaskProgressDialogDelegate
{
public:
    virtual void taskProgressDialogOnClose() = 0;

protected:
    ~TaskProgressDialogDelegate() = default;
};
