// Collects what Qt's logging lets through while it lives (the category rules decide), instead of
// printing it.
#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

class MessageCapture
{
public:
    struct Message
    {
        QtMsgType type;
        QString category;
        QString text;
    };

    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    std::vector<Message> messages() const;
    // How many messages of this type came from categories whose names start with prefix.
    int count(QtMsgType type, const QString &categoryPrefix) const;

private:
    QtMessageHandler _previous;
};
