#include "videotools/BackgroundPictureReads.h"

#include "card/ChapterData.h"

#include <QObject>

BackgroundPictureReads::BackgroundPictureReads(std::function<void(const Chapters &)> done)
    : _done(std::move(done)), _receiver(std::make_unique<QObject>())
{
}

BackgroundPictureReads::~BackgroundPictureReads()
{
    {
        std::lock_guard lock(_mutex);
        _stop = true;
        _queue.clear();
    }
    _wake.notify_one();
    if (_thread.joinable())
        _thread.join();
}

void BackgroundPictureReads::read(std::shared_ptr<ChapterData> chapter)
{
    {
        std::lock_guard lock(_mutex);
        _queue.push_back(std::move(chapter));
        if (!_thread.joinable())
            _thread = std::thread([this] { run(); });
    }
    _wake.notify_one();
}

void BackgroundPictureReads::run()
{
    std::unique_lock lock(_mutex);
    for (;;) {
        _wake.wait(lock, [this] { return _stop || !_queue.empty(); });
        if (_stop)
            return;
        std::shared_ptr<ChapterData> chapter = std::move(_queue.front());
        _queue.pop_front();
        lock.unlock();
        // The data itself is not held here: the chapter keeps its outline, the recent chapters their data.
        chapter->getPicture(true);
        lock.lock();
        _read.push_back(std::move(chapter));
        // One hand-over for all the reads that end before the receiver's thread gets to it.
        if (!_isHandOverPosted) {
            _isHandOverPosted = true;
            QMetaObject::invokeMethod(
                _receiver.get(), [this] { handOver(); }, Qt::QueuedConnection);
        }
    }
}

void BackgroundPictureReads::handOver()
{
    Chapters read;
    {
        std::lock_guard lock(_mutex);
        read.swap(_read);
        _isHandOverPosted = false;
    }
    _done(read);
}
