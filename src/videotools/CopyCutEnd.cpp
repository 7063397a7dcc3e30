#include "videotools/CopyCutEnd.h"

#include <algorithm>
#include <limits>

CopyCutEnd::End CopyCutEnd::end(const std::vector<PacketTimesReader::Packet> &packets, int64_t lengthMs)
{
    const int64_t endUs = lengthMs * 1000;
    const size_t n = packets.size();
    // The cut after c packets is whole when every picture it keeps is shown before every one it leaves;
    // it is off by the pictures it keeps from after the end plus those it leaves from before it.
    std::vector<int64_t> leftFirstUs(n + 1, std::numeric_limits<int64_t>::max());
    std::vector<int64_t> leftBefore(n + 1, 0);
    for (size_t i = n; i-- > 0;) {
        leftFirstUs[i] = std::min(leftFirstUs[i + 1], packets[i].ptsUs);
        leftBefore[i] = leftBefore[i + 1] + (packets[i].ptsUs < endUs ? 1 : 0);
    }
    const auto asked = size_t(std::count_if(
        packets.begin(), packets.end(), [&](const PacketTimesReader::Packet &p) { return p.dtsUs < endUs; }));
    int64_t keptLastUs = std::numeric_limits<int64_t>::min();
    int64_t keptAfter = 0;
    size_t best = 0;
    int64_t bestOff = std::numeric_limits<int64_t>::max();
    // Not the cut before the first packet nor after the last: what lies beyond them is unknown.
    for (size_t c = 1; c < n; ++c) {
        keptLastUs = std::max(keptLastUs, packets[c - 1].ptsUs);
        keptAfter += packets[c - 1].ptsUs >= endUs ? 1 : 0;
        const int64_t off = keptAfter + leftBefore[c];
        if (keptLastUs < leftFirstUs[c] && (off < bestOff || (off == bestOff && c == asked))) {
            best = c;
            bestOff = off;
        }
    }
    if (best == 0 || best == asked)
        return {lengthMs, std::nullopt};
    // The group ends where the first picture left out is shown. ffmpeg keeps the packets decoded before
    // that, among them pictures shown after it: they go, cut off halfway to the group's last picture.
    int64_t groupLastUs = std::numeric_limits<int64_t>::min();
    for (size_t i = 0; i < best; ++i)
        groupLastUs = std::max(groupLastUs, packets[i].ptsUs);
    const int64_t groupEndMs = (leftFirstUs[best] + 500) / 1000;
    if (groupEndMs <= 0)
        return {lengthMs, std::nullopt};
    return {groupEndMs, groupLastUs + (leftFirstUs[best] - groupLastUs) / 2};
}
