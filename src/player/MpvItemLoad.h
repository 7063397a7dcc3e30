// The load of a media engine's items into its mpv core, and which of the core's events are the item's. A
// load waits for the stops sent before it, which the core might otherwise carry out after it; its reply
// names its playlist entry, and only that entry's events are the item's. The core may start, open or fail
// the entry before the reply comes through. What a file's container says is read before the core opens it.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

struct mpv_event;
struct mpv_handle;

class MpvItemLoad
{
public:
    // What one of the core's events means for the item.
    enum class Outcome
    {
        None,
        Loaded,    // its file is open
        Failed,    // the core could not open or play it
        EndOfFile, // it played to its end
        Stopped,   // a stop is done: a load that waited for it may go
    };

    struct Probe
    {
        bool playable = false;
        int64_t durationMs = 0;
        double frameRate = 0.0;
    };

    // The tags of the replies to the loads and the stops.
    MpvItemLoad(uint64_t loadTag, uint64_t stopTag) : _loadTag(loadTag), _stopTag(stopTag) {}

    // What the file's container says, read before the core opens it.
    Probe probe(const QString &path) const;

    // The file to load next: it waits until it is sent.
    void ask(const QString &path);
    // The item is gone: a load not yet sent no longer goes, and no entry is the item's.
    void drop();
    // A load waits and no stop is in flight.
    bool isDue() const { return _isPending && _stopsInFlight == 0; }
    // Sends the load that waits, showing first the picture at startSec (the file's first without it); false
    // when the core refused it.
    bool send(mpv_handle *core, std::optional<double> startSec);
    // Sends the core's stop: it closes the file in its own time.
    void stop(mpv_handle *core);
    // One of the core's events, while the engine holds an item (hasItem) or not.
    Outcome take(const mpv_event &event, bool hasItem);

private:
    Outcome takeLoadReply(const mpv_event &event, bool hasItem);

    uint64_t _loadTag;
    uint64_t _stopTag;
    mutable QString _probedPath;
    mutable Probe _probed;
    QString _path;
    bool _isPending = false;
    // The playlist entry of the latest load, known once the core answers it (-1 until then); loads not
    // yet answered; the entries the core last started, loaded and failed.
    int64_t _expectedEntryId = -1;
    int _loadsInFlight = 0;
    int _stopsInFlight = 0;
    int64_t _startedEntryId = -2;
    int64_t _loadedEntryId = -2;
    int64_t _failedEntryId = -2;
};
