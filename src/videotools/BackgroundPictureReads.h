// Reads chapters' driving data on a thread of its own, one at a time in the order asked, so that the main
// thread reads no recording: afterwards a chapter has what it keeps for good (its outline), and its data
// while it is among the recent ones. The chapters read are handed back in batches on the thread that made
// this object.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class ChapterData;
class QObject;

class BackgroundPictureReads
{
public:
    using Chapters = std::vector<std::shared_ptr<ChapterData>>;

    // done: the chapters whose read has ended since its last call, with or without data.
    explicit BackgroundPictureReads(std::function<void(const Chapters &read)> done);
    // Waits for the read under way; those not begun are dropped.
    ~BackgroundPictureReads();
    BackgroundPictureReads(const BackgroundPictureReads &) = delete;
    BackgroundPictureReads &operator=(const BackgroundPictureReads &) = delete;

    void read(std::shared_ptr<ChapterData> chapter);

private:
    void run();
    void handOver();

    std::function<void(const Chapters &)> _done;
    std::unique_ptr<QObject> _receiver; // where the batches arrive; its queued calls die with it
    std::mutex _mutex;
    std::condition_variable _wake;
    std::deque<std::shared_ptr<ChapterData>> _queue;
    Chapters _read;
    bool _isHandOverPosted = false;
    bool _stop = false;
    std::thread _thread; // started with the first read
};
