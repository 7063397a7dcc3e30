// A synthetic card described as data: trips of chapters, route, speed, G and events over time.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

// One point of a profile: a value at a time offset from the start of the trip (ms). Values between
// two points are interpolated linearly; before the first and after the last the end value holds.
struct SampleRoutePoint
{
    int64_t atMs = 0;
    double longitudeDeg = 0.0; // west is negative
    double latitudeDeg = 0.0;  // south is negative
};

struct SampleSpeedPoint
{
    int64_t atMs = 0;
    double speedKmh = 0.0;
};

struct SampleGPoint
{
    int64_t atMs = 0;
    double gX = 0.0; // g
    double gY = 0.0;
    double gZ = 0.0; // without gravity; the camera stores it with 1 g added
};

// Something that happened during a trip: marks the frame records around it.
struct SampleEvent
{
    enum class Kind
    {
        GSensor,      // shock: detection code 10
        ExtSwitch,    // the event switch was pressed: detection code 20
        Surveillance, // parking surveillance trigger: detection code 30
        Adventure,    // adventure-mode recording: detection code 32
    };
    Kind kind = Kind::GSensor;
    int64_t atMs = 0;             // offset from the trip start
    uint8_t violationCode = 0x10; // packed BCD written at byte 45 of the record at the event (0 = none)
    uint8_t switchByte = 0;       // written to byte 30 of the record at the event

    // The camera's detection code for this kind (decimal, written as packed BCD).
    int detectionCode() const;
};

// One chapter: one movie file of a trip.
struct SampleChapter
{
    int fileNumber = 1;          // 1 ... 9999
    int64_t startMs = 0;         // offset of its first frame from the trip start
    int durationMs = 3000;       // length of the movie
    int detectionCode = 17;      // header byte 0 (decimal; 17 is a plain movie)
    int recMode = 1;             // settings item (10, 03): 0 HighQuality, 1 Nomal, 2 LongRec
    bool powerDownAtEnd = false; // the last frame record reports a power-down
};

struct SampleTrip
{
    QString key;                    // 12 digits, the trip key of the movie file names
    QDateTime start;                // UTC wall-clock time of the first frame
    uint32_t counterStart = 100000; // the camera's millisecond counter at the first frame
    std::vector<SampleChapter> chapters;
    std::vector<SampleRoutePoint> route;
    std::vector<SampleSpeedPoint> speed;
    std::vector<SampleGPoint> g;
    std::vector<SampleEvent> events;
    int64_t gpsLostFromMs = -1; // records in [gpsLostFromMs, gpsLostToMs) have no position
    int64_t gpsLostToMs = -1;

    int64_t durationMs() const;
};

struct SampleScenario
{
    std::vector<SampleTrip> trips;
    double fps = 28.0;               // frame records per second of movie
    int soundRecordsPerBlock = 1;    // records with identifier 0xAA written in each block
    QString movieFolder = "MOVE001"; // folder below MOVE/ that holds the movie files
    int videoWidth = 64;             // the base movie made by ffmpeg
    int videoHeight = 48;
    double videoFps = 0.0;      // pictures per second of the base movie; 0: the record rate (fps)
    bool timeStamp = false;     // the recording's date and time (UTC) drawn into the picture
    bool compactMovies = false; // a slower encoder preset that keeps large movies small
    int keyFrameInterval = 0;   // frames between key frames of the base movie; 0: the encoder's own
    bool frameStamp = false;    // the picture carries its frame number (SampleCardWriter::videoSource)
    int soundTailMs = 0;        // sound recorded on past the picture's last frame, as some cameras do
    bool soundMarks = false;    // the sound is silent but for a 100 ms tone at each whole second of a movie
    QString versionText = "104 1.00.00"; // first line of ver.txt
    uint16_t fileVersion = 0x0714;       // settings item (00, 01) of every chapter header
    bool terminalSeparate = false;       // settings item (01, 09)
    uint32_t blockKey = 0x5A3C0001;      // header bytes 44-47, repeated at byte 60 of each record
    QString userCarCode = "12345678";
    QString userDriverCode = "87654321";
    QString title = "テスト走行";
    int movieMs = 0; // length of every chapter's movie; 0 gives each the length of its driving data

    static constexpr int STANDARD_FIRST_CHAPTER_MS = 4000;
    static constexpr int CAMERA_FIRST_CHAPTER_MS = 20000;
    static constexpr int CAMERA_WIDTH = 1280;
    static constexpr int CAMERA_HEIGHT = 720;
    static constexpr double CAMERA_FPS = 30.0;
    static constexpr int MIN_STAMP_WIDTH = 320;

    // The fixed scenario at test scale: five trips of 4 s and 3 s chapters, 64x48 movies.
    static SampleScenario standard();
    // The same scenario as `samplecard OUT` writes it by default, as a camera records: every time
    // stretched so that the first trip's chapters last firstChapterMs (the others three quarters of
    // that), with withMovieSize(1280, 720).
    static SampleScenario camera(int firstChapterMs = CAMERA_FIRST_CHAPTER_MS);
    // Movies of the given size. From MIN_STAMP_WIDTH on they are as a camera writes them: 30 pictures a
    // second, the recording time stamped in, compactly encoded; smaller ones stay the quick test movies.
    void withMovieSize(int width, int height);
    // One trip with one chapter of the given length: for benchmarks and quick tests.
    static SampleScenario singleChapter(int durationMs);
    // One trip of count chapters of durationMs each (count at most 9999), for memory benchmarks.
    static SampleScenario chapters(int count, int durationMs);
};
