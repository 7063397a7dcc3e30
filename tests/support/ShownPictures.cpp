#include "support/ShownPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <set>

namespace {

struct Shown
{
    int64_t atNs;
    int chapter;
    int frame;
};

} // namespace

ShownPictures ShownPictures::analyse(const std::vector<ScreenStampWatch::Sample> &samples,
                                     int picturesPerChapter, double intervalMs, int64_t fromNs)
{
    ShownPictures result;
    // The pictures in the order they showed, each with its chapter: a number far below the one before is
    // the next chapter's.
    std::vector<Shown> shown;
    int chapter = 0;
    for (const auto &sample : samples) {
        if (sample.frame < 0) {
            result.unreadable += sample.atNs >= fromNs;
            continue;
        }
        if (!shown.empty()) {
            const Shown &last = shown.back();
            if (sample.frame == last.frame)
                continue;
            if (sample.frame + picturesPerChapter / 2 < last.frame)
                ++chapter;
        }
        shown.push_back({sample.atNs, chapter, sample.frame});
    }
    // The picture on screen when play started counts; what went before it does not.
    auto start = std::find_if(shown.begin(), shown.end(), [&](const Shown &s) { return s.atNs >= fromNs; });
    if (start != shown.begin())
        --start;
    shown.erase(shown.begin(), start);
    if (shown.empty())
        return result;

    result.chapters = shown.back().chapter - shown.front().chapter + 1;
    std::vector<std::set<int>> seen(static_cast<size_t>(shown.back().chapter + 1));
    // Each chapter's pictures as they showed once play started, for its rhythm: the picture waiting for
    // play showed at no time of the movie's.
    std::vector<std::vector<ScreenStampWatch::Sample>> played(seen.size());
    for (auto it = std::next(shown.begin()); it != shown.end(); ++it)
        played[size_t(it->chapter)].push_back({it->atNs, it->frame});
    for (size_t i = 0; i < shown.size(); ++i) {
        const Shown &s = shown[i];
        seen[size_t(s.chapter)].insert(s.frame);
        if (i > 0 && shown[i - 1].chapter == s.chapter && s.frame < shown[i - 1].frame)
            result.stepsBack.push_back({s.chapter, shown[i - 1].frame, s.frame});
    }
    for (int c = shown.front().chapter; c <= shown.back().chapter; ++c) {
        const std::set<int> &frames = seen[size_t(c)];
        if (frames.empty()) {
            result.midUnshown.push_back(0);
            continue;
        }
        const int span = *frames.rbegin() - *frames.begin() + 1;
        result.midUnshown.push_back(span - int(frames.size()));
        if (c > shown.front().chapter) {
            const std::set<int> &before = seen[size_t(c - 1)];
            Border border;
            border.oldUnshown =
                before.empty() ? picturesPerChapter : picturesPerChapter - 1 - *before.rbegin();
            border.newSkipped = *frames.begin();
            // A chapter after the first began after play started, so it has a first arrival.
            border.firstNewNs = played[size_t(c)].front().atNs;
            if (const auto due = dueNs(played[size_t(c - 1)], picturesPerChapter, intervalMs))
                border.gapMs = double(border.firstNewNs - *due) / 1e6;
            result.borders.push_back(border);
        }
    }
    result.lastPicture = *seen.back().rbegin();

    // Freezes: from the first change after the start to the moment the trip's last picture arrived; that
    // one stays, as a player's last picture does.
    const auto end = std::find_if(shown.begin(), shown.end(), [&](const Shown &s) {
        return s.chapter == shown.back().chapter && s.frame == result.lastPicture;
    });
    for (auto it = shown.begin(); it != end && std::next(it) != shown.end(); ++it) {
        if (it == shown.begin())
            continue; // the picture waiting for play to start
        const double ms = double(std::next(it)->atNs - it->atNs) / 1e6;
        if (ms > 3.0 * intervalMs)
            result.freezes.push_back(
                {it->chapter, it->frame, ms, it->atNs, picturesPerChapter - 1 - it->frame});
    }
    if (shown.size() > 1 && end != shown.begin()) {
        const double seconds = double(end->atNs - std::next(shown.begin())->atNs) / 1e9;
        const auto pictures = std::distance(std::next(shown.begin()), end);
        if (seconds > 0.0)
            result.picturesPerSecond = double(pictures) / seconds;
    }
    return result;
}

std::optional<int64_t> ShownPictures::dueNs(const std::vector<ScreenStampWatch::Sample> &pictures,
                                            int picture, double intervalMs)
{
    // Where each picture puts the movie's picture 0.
    std::vector<int64_t> starts;
    for (const auto &p : pictures) {
        if (p.frame >= 0)
            starts.push_back(p.atNs - std::llround(p.frame * intervalMs * 1e6));
    }
    if (starts.empty())
        return std::nullopt;
    const auto middle = starts.begin() + std::ptrdiff_t(starts.size() / 2);
    std::nth_element(starts.begin(), middle, starts.end());
    int64_t start = *middle;
    if (starts.size() % 2 == 0)
        start = (start + *std::max_element(starts.begin(), middle)) / 2;
    return start + std::llround(picture * intervalMs * 1e6);
}

bool ShownPictures::machineExplains(const Machine &machine, double overrunMs)
{
    return machine.withheldMs.value_or(0.0) >= overrunMs || machine.othersShare.value_or(0.0) >= TAKEN_SHARE;
}

void ShownPictures::weigh(double intervalMs, const MachineAt &machineAt)
{
    unexplained.clear();
    explained.clear();
    const auto judge = [&](const std::string &what, double overrunMs, int64_t fromNs, int64_t toNs) {
        const Machine machine = machineAt(fromNs, toNs);
        const double withheld = machine.withheldMs.value_or(0.0), others = machine.othersShare.value_or(0.0);
        char line[256];
        std::snprintf(line, sizeof line,
                      "%s, over by %.0f ms, the machine withheld %.0f ms, other programs took %.0f%% of the "
                      "player's CPUs",
                      what.c_str(), overrunMs, withheld, 100.0 * others);
        std::string text = line;
        if (!machine.busiest.empty())
            text += "; busiest: " + machine.busiest;
        (machineExplains(machine, overrunMs) ? explained : unexplained).push_back(std::move(text));
    };
    for (const Freeze &f : freezes) {
        judge("freeze c" + std::to_string(f.chapter) + "/" + std::to_string(f.frame) + " " +
                  std::to_string(int(f.ms)) + " ms",
              f.ms - 3.0 * intervalMs, f.atNs, f.atNs + int64_t(f.ms * 1e6));
    }
    for (size_t i = 0; i < borders.size(); ++i) {
        const Border &b = borders[i];
        const int cut = std::max(b.oldUnshown, b.newSkipped);
        if (cut > 1)
            judge("border " + std::to_string(i + 1) + " cut " + std::to_string(cut), (cut - 1) * intervalMs,
                  b.firstNewNs - 1'000'000'000, b.firstNewNs);
    }
}

int ShownPictures::midUnshownTotal() const
{
    return std::accumulate(midUnshown.begin(), midUnshown.end(), 0);
}

int ShownPictures::worstBorderCut() const
{
    int worst = 0;
    for (const Border &b : borders)
        worst = std::max({worst, b.oldUnshown, b.newSkipped});
    return worst;
}

int ShownPictures::borderCutTotal() const
{
    int total = 0;
    for (const Border &b : borders)
        total += b.oldUnshown + b.newSkipped;
    return total;
}

std::string ShownPictures::summary() const
{
    std::string cuts, skips;
    for (const Border &b : borders) {
        cuts += (cuts.empty() ? "" : ",") + std::to_string(b.oldUnshown);
        skips += (skips.empty() ? "" : ",") + std::to_string(b.newSkipped);
    }
    // Where each freeze and step back was: chapter and picture.
    std::string where;
    for (const Freeze &f : freezes)
        where += " c" + std::to_string(f.chapter) + "/" + std::to_string(f.frame) + ":" +
                 std::to_string(int(f.ms)) + "ms";
    std::string back;
    for (const StepBack &b : stepsBack)
        back += " c" + std::to_string(b.chapter) + ":" + std::to_string(b.from) + ">" + std::to_string(b.to);
    char line[4096];
    std::snprintf(
        line, sizeof line,
        "borders %zu, old pictures unshown [%s], new skipped [%s], freezes %zu [%s ], steps back %zu "
        "[%s ], mid-chapter unshown %d, last picture %d, %.1f pictures/s, unreadable %d",
        borders.size(), cuts.c_str(), skips.c_str(), freezes.size(), where.c_str(), stepsBack.size(),
        back.c_str(), midUnshownTotal(), lastPicture, picturesPerSecond, unreadable);
    return line;
}
