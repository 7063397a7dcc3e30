#include "samplecard/SampleScenario.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t scaled(int64_t ms, double factor)
{
    return std::llround(double(ms) * factor);
}

// Every time of the scenario multiplied by factor: chapters, profiles, events and the GPS gap, so
// the driving data keeps its shape over longer chapters.
void stretch(SampleScenario &s, double factor)
{
    for (SampleTrip &trip : s.trips) {
        for (SampleChapter &chapter : trip.chapters) {
            // Start and end are scaled, not the length, so that chapters laid end to end stay so.
            const int64_t end = scaled(chapter.startMs + chapter.durationMs, factor);
            chapter.startMs = scaled(chapter.startMs, factor);
            chapter.durationMs = int(end - chapter.startMs);
        }
        for (auto &p : trip.route)
            p.atMs = scaled(p.atMs, factor);
        for (auto &p : trip.speed)
            p.atMs = scaled(p.atMs, factor);
        for (auto &p : trip.g)
            p.atMs = scaled(p.atMs, factor);
        for (auto &e : trip.events)
            e.atMs = scaled(e.atMs, factor);
        if (trip.gpsLostFromMs >= 0) {
            trip.gpsLostFromMs = scaled(trip.gpsLostFromMs, factor);
            trip.gpsLostToMs = scaled(trip.gpsLostToMs, factor);
        }
    }
}

} // namespace

int SampleEvent::detectionCode() const
{
    switch (kind) {
    case Kind::GSensor:
        return 10;
    case Kind::ExtSwitch:
        return 20;
    case Kind::Surveillance:
        return 30;
    case Kind::Adventure:
        return 32;
    }
    return 10;
}

int64_t SampleTrip::durationMs() const
{
    int64_t end = 0;
    for (const auto &c : chapters)
        end = std::max(end, c.startMs + c.durationMs);
    return end;
}

SampleScenario SampleScenario::standard()
{
    SampleScenario s;

    // Trip 1: north-east of the origin, three chapters of 4 s, a shock in the second one.
    SampleTrip a;
    a.key = "202405011230";
    a.start = QDateTime(QDate(2024, 5, 1), QTime(12, 30, 0), Qt::UTC);
    a.counterStart = 3600000;
    a.chapters = {{1, 0, 4000}, {2, 4000, 4000}, {3, 8000, 4000}};
    a.chapters.back().powerDownAtEnd = true;
    a.route = {{0, 139.7000, 35.6500}, {6000, 139.7010, 35.6520}, {12000, 139.7030, 35.6520}};
    a.speed = {{0, 0.0}, {2000, 30.0}, {8000, 54.5}, {12000, 10.0}};
    a.g = {{0, 0.0, 0.0, 0.0}, {5000, 0.1, -0.05, 0.02}, {5500, -0.6, 0.3, 0.1}, {6000, 0.0, 0.0, 0.0}};
    a.events = {{SampleEvent::Kind::GSensor, 5500, 0x10, 0x01}};
    a.gpsLostFromMs = 9000;
    a.gpsLostToMs = 10000;
    s.trips.push_back(a);

    // Trip 2: west and south of the origin, two chapters, an overspeed warning.
    SampleTrip b;
    b.key = "202405021700";
    b.start = QDateTime(QDate(2024, 5, 2), QTime(17, 0, 0), Qt::UTC);
    b.counterStart = 200000;
    b.chapters = {{1, 0, 3000}, {2, 3000, 3000}};
    b.route = {{0, -58.3800, -34.6000}, {6000, -58.3830, -34.6040}};
    b.speed = {{0, 80.0}, {6000, 120.0}};
    b.g = {{0, 0.0, 0.0, 0.0}};
    b.events = {{SampleEvent::Kind::ExtSwitch, 4000, 0x14, 0x00}};
    s.trips.push_back(b);

    // Trip 3: numbered 1, 2 and 4; the gap splits it into two trips of one key.
    SampleTrip c;
    c.key = "202405031000";
    c.start = QDateTime(QDate(2024, 5, 3), QTime(10, 0, 0), Qt::UTC);
    c.counterStart = 900000;
    c.chapters = {{1, 0, 3000}, {2, 3000, 3000}, {4, 9000, 3000}};
    c.route = {{0, 2.3500, 48.8500}, {12000, 2.3600, 48.8550}};
    c.speed = {{0, 20.0}, {12000, 40.0}};
    c.g = {{0, 0.0, 0.0, 0.0}};
    s.trips.push_back(c);

    // Trip 4: parked, a surveillance recording triggered 1 s into it.
    SampleTrip d;
    d.key = "202405032200";
    d.start = QDateTime(QDate(2024, 5, 3), QTime(22, 0, 0), Qt::UTC);
    d.counterStart = 50000;
    d.chapters = {{1, 0, 3000}, {2, 3000, 3000}};
    d.route = {{0, 2.3600, 48.8550}};
    d.speed = {{0, 0.0}};
    d.g = {{0, 0.0, 0.0, 0.0}, {1000, 0.05, 0.0, 0.0}, {1500, 0.0, 0.0, 0.0}};
    d.events = {{SampleEvent::Kind::Surveillance, 1000, 0x00, 0x00}};
    s.trips.push_back(d);

    // Trip 5: an adventure recording over three consecutive chapters.
    SampleTrip e;
    e.key = "202405041500";
    e.start = QDateTime(QDate(2024, 5, 4), QTime(15, 0, 0), Qt::UTC);
    e.counterStart = 7200000;
    e.chapters = {{1, 0, 3000}, {2, 3000, 3000}, {3, 6000, 3000}};
    e.route = {{0, 11.2500, 43.7700}, {9000, 11.2550, 43.7720}};
    e.speed = {{0, 15.0}, {9000, 25.0}};
    e.g = {{0, 0.0, 0.0, 0.0}};
    e.events = {{SampleEvent::Kind::Adventure, 0, 0x00, 0x00}};
    s.trips.push_back(e);
    return s;
}

SampleScenario SampleScenario::singleChapter(int durationMs)
{
    return chapters(1, durationMs);
}

SampleScenario SampleScenario::chapters(int count, int durationMs)
{
    SampleScenario s;
    SampleTrip t;
    t.key = "202406151000";
    t.start = QDateTime(QDate(2024, 6, 15), QTime(10, 0, 0), Qt::UTC);
    t.counterStart = 500000;
    for (int n = 1; n <= count; ++n)
        t.chapters.push_back({n, int64_t(n - 1) * durationMs, durationMs});
    const int64_t total = int64_t(count) * durationMs;
    t.route = {{0, 135.0, 34.0}, {total, 135.0 + 0.01 * count, 34.0 + 0.01 * count}};
    t.speed = {{0, 40.0}, {total, 60.0}};
    t.g = {{0, 0.0, 0.0, 0.0}, {total, 0.2, -0.2, 0.05}};
    s.trips.push_back(t);
    return s;
}

SampleScenario SampleScenario::camera(int firstChapterMs)
{
    SampleScenario s = standard();
    stretch(s, double(std::max(firstChapterMs, 1)) / STANDARD_FIRST_CHAPTER_MS);
    s.withMovieSize(CAMERA_WIDTH, CAMERA_HEIGHT);
    return s;
}

void SampleScenario::withMovieSize(int width, int height)
{
    videoWidth = width;
    videoHeight = height;
    // Small movies stay the tests' quick ones, plain and cached per length: the date would not be
    // readable on them anyway.
    const bool asCamera = width >= MIN_STAMP_WIDTH;
    videoFps = asCamera ? CAMERA_FPS : 0.0;
    timeStamp = asCamera;
    compactMovies = asCamera;
}
