#include "support/MessageCapture.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex g_mutex;
std::vector<MessageCapture::Message> g_messages;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    QMutexLocker lock(&g_mutex);
    g_messages.push_back({type, QString::fromUtf8(context.category ? context.category : ""), text});
}
} // namespace

MessageCapture::MessageCapture()
{
    QMutexLocker lock(&g_mutex);
    g_messages.clear();
    _previous = qInstallMessageHandler(&collect);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(_previous);
}

std::vector<MessageCapture::Message> MessageCapture::messages() const
{
    QMutexLocker lock(&g_mutex);
    return g_messages;
}

int MessageCapture::count(QtMsgType type, const QString &categoryPrefix) const
{
    int n = 0;
    for (const Message &message : messages())
        n += message.type == type && message.category.startsWith(categoryPrefix);
    return n;
}
