#include "player/MpvItemLoad.h"

#include "platform/MovieProbe.h"
#include "player/MpvCore.h"

#include <QByteArray>

#include <algorithm>

#include <mpv/client.h>

MpvItemLoad::Probe MpvItemLoad::probe(const QString &path) const
{
    // The panel checks a file and then loads it: keep the last answer.
    if (path == _probedPath)
        return _probed;
    const auto movie = MovieProbe::probeKept(path);
    _probedPath = path;
    _probed = movie && movie->hasVideo ? Probe{true, movie->durationMs, movie->frameRate} : Probe{};
    return _probed;
}

void MpvItemLoad::ask(const QString &path)
{
    _path = path;
    _isPending = true;
}

void MpvItemLoad::drop()
{
    _isPending = false;
    _expectedEntryId = -1;
}

bool MpvItemLoad::send(mpv_handle *core, std::optional<double> startSec)
{
    _isPending = false;
    // The reply names the playlist entry; until then no event of the core is taken for this item.
    _expectedEntryId = -1;
    if (!MpvCore::loadAsync(core, _loadTag, _path, startSec))
        return false;
    ++_loadsInFlight;
    return true;
}

void MpvItemLoad::stop(mpv_handle *core)
{
    // A load asked for meanwhile goes once the stop is done.
    const char *args[] = {"stop", nullptr};
    if (mpv_command_async(core, _stopTag, args) >= 0)
        ++_stopsInFlight;
}

MpvItemLoad::Outcome MpvItemLoad::take(const mpv_event &event, bool hasItem)
{
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == _loadTag)
            return takeLoadReply(event, hasItem);
        if (event.reply_userdata != _stopTag)
            return Outcome::None;
        _stopsInFlight = std::max(0, _stopsInFlight - 1);
        return Outcome::Stopped;
    case MPV_EVENT_START_FILE:
        _startedEntryId = static_cast<mpv_event_start_file *>(event.data)->playlist_entry_id;
        return Outcome::None;
    case MPV_EVENT_FILE_LOADED:
        _loadedEntryId = _startedEntryId;
        if (hasItem && _expectedEntryId >= 0 && _startedEntryId == _expectedEntryId)
            return Outcome::Loaded;
        return Outcome::None;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<mpv_event_end_file *>(event.data);
        if (end->reason == MPV_END_FILE_REASON_ERROR)
            _failedEntryId = end->playlist_entry_id;
        if (!hasItem || _expectedEntryId < 0 || end->playlist_entry_id != _expectedEntryId)
            return Outcome::None;
        if (end->reason == MPV_END_FILE_REASON_ERROR)
            return Outcome::Failed;
        return end->reason == MPV_END_FILE_REASON_EOF ? Outcome::EndOfFile : Outcome::None;
    }
    default:
        return Outcome::None;
    }
}

MpvItemLoad::Outcome MpvItemLoad::takeLoadReply(const mpv_event &event, bool hasItem)
{
    // A later load replaces this one: its reply is the one that counts.
    if (--_loadsInFlight > 0 || !hasItem || _isPending)
        return Outcome::None;
    if (event.error < 0)
        return Outcome::Failed;
    const auto *reply = static_cast<const mpv_event_command *>(event.data);
    if (reply && reply->result.format == MPV_FORMAT_NODE_MAP) {
        const mpv_node_list *map = reply->result.u.list;
        for (int i = 0; i < map->num; ++i) {
            if (qstrcmp(map->keys[i], "playlist_entry_id") == 0 && map->values[i].format == MPV_FORMAT_INT64)
                _expectedEntryId = map->values[i].u.int64;
        }
    }
    // The core may have opened the file, or failed to, before its answer came through.
    if (_expectedEntryId >= 0 && _failedEntryId == _expectedEntryId)
        return Outcome::Failed;
    if (_expectedEntryId >= 0 && _loadedEntryId == _expectedEntryId)
        return Outcome::Loaded;
    return Outcome::None;
}
