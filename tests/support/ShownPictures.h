// What a screen showed of a trip whose chapters' pictures carry their numbers (samplecard's frame stamp),
// from the numbers read off the screen and when each first showed: per chapter border the old chapter's
// last pictures never shown and the new one's first, and how late the new one's first came; pictures never
// shown inside a chapter; a picture held longer than three picture intervals; a number lower than the one
// before inside a chapter.
#pragma once

#include "support/ScreenStampWatch.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ShownPictures
{
public:
    struct Border
    {
        int oldUnshown = 0; // the old chapter's last pictures never shown
        int newSkipped = 0; // the new chapter's first pictures never shown
        // The new chapter's first picture's arrival less the moment the old chapter's picture number
        // picturesPerChapter was due by the old chapter's rhythm (dueNs); positive: it came late. None
        // when the old chapter showed nothing after play started.
        std::optional<double> gapMs;
        // When the new chapter's first picture showed.
        int64_t firstNewNs = 0;
    };
    struct Freeze
    {
        int chapter = 0;
        int frame = 0;
        double ms = 0.0;  // how long the picture stayed
        int64_t atNs = 0; // when it showed
        // Pictures of its chapter still to come when it froze (how far before the border).
        int picturesLeft = 0;
    };
    struct StepBack
    {
        int chapter = 0;
        int from = 0;
        int to = 0;
    };

    // picturesPerChapter: pictures in each chapter's movie; intervalMs: one picture's time on screen at
    // the playing rate. Samples before fromNs (the picture waiting for play) are left out.
    static ShownPictures analyse(const std::vector<ScreenStampWatch::Sample> &samples, int picturesPerChapter,
                                 double intervalMs, int64_t fromNs = 0);
    // When picture number `picture` of a movie is due by the rhythm its pictures showed in: the median
    // over the pictures given of first showing less number times intervalMs, which a few late showings
    // (a busy painter) hardly move, unlike the last picture's showing. Unreadable samples are left out;
    // none without a readable one.
    static std::optional<int64_t> dueNs(const std::vector<ScreenStampWatch::Sample> &pictures, int picture,
                                        double intervalMs);

    std::vector<Border> borders;
    std::vector<Freeze> freezes;
    std::vector<StepBack> stepsBack;
    // Per chapter seen: pictures between its first and last shown that never showed.
    std::vector<int> midUnshown;
    int chapters = 0;
    // The highest number shown in the last chapter; -1 when nothing was read.
    int lastPicture = -1;
    int unreadable = 0;
    // Distinct pictures shown per second, from the first change to the last picture's arrival.
    double picturesPerSecond = 0.0;

    // What the machine gave the player between two moments: how long the threads the pictures depend on
    // waited for a CPU beyond the usual while other programs or the host had it (ms), and the share of the
    // time of the CPUs the player may use that other programs took (0 to 1); either none where it is not
    // known.
    struct Machine
    {
        std::optional<double> withheldMs;
        std::optional<double> othersShare;
        // The threads that ran or waited most meanwhile, for the logs; may be empty.
        std::string busiest;
    };
    using MachineAt = std::function<Machine(int64_t fromNs, int64_t toNs)>;
    // Other programs held at least this share of the player's CPUs: its threads share their caches and
    // cores (hyperthreads) with them without waiting for a CPU, and what they get is not known.
    static constexpr double TAKEN_SHARE = 0.5;
    // A fault that overran what is allowed by overrunMs is the machine's where it withheld at least that
    // much, or other programs took the machine meanwhile.
    static bool machineExplains(const Machine &machine, double overrunMs);
    // Sorts the faults a busy machine may cause into those it explains and those it does not, one line
    // each. A freeze is explained where the machine withheld at least its overrun of three picture
    // intervals, or other programs took the machine meanwhile; a border that cut more than one picture,
    // where either held in the second before it for the pictures cut beyond one.
    void weigh(double intervalMs, const MachineAt &machineAt);
    std::vector<std::string> unexplained, explained;

    int midUnshownTotal() const;
    int worstBorderCut() const;
    // Pictures unshown at all borders, the old chapters' and the new ones'.
    int borderCutTotal() const;
    // One line of figures, for the logs.
    std::string summary() const;
};
