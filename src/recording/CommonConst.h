// Values several subsystems must agree on: recording spans, limits, card file names and patterns, temporary
// folders, titles, and the small enums of the player and the recording list.
#pragma once

#include "recording/Date.h"

#include <QString>
#include <array>
#include <cstdint>

// Layout scale: a base length times HEIGHT_SCALE_NUMERATOR / HEIGHT_SCALE_DENOMINATOR.
inline constexpr double HEIGHT_SCALE_NUMERATOR = 30.0;
inline constexpr double HEIGHT_SCALE_DENOMINATOR = 1080.0;

class CommonConst
{
public:
    CommonConst() = delete;

    // Times in milliseconds.
    static constexpr int MIN_CUTMOVIE = 2000;
    static constexpr int MAX_CUTMOVIE = 1800000;
    static constexpr int REC_SPAN_HIGH_QUALITY = 40000;
    static constexpr int REC_SPAN_NORMAL = 52000;
    static constexpr int REC_SPAN_LONG = 79000;
    static constexpr int MOVE_FILE_SIZE = 36; // MB per movie file, for disk-space estimates
    static constexpr int EVENT_TIME_SPAN_FRONT = 12000;
    static constexpr int EVENT_TIME_SPAN_BACK = 8000;
    static constexpr int SURV_TIME_SPAN_BACK = 60000;
    static constexpr std::int32_t FILE_SIZE_SETTING_WRITE = 32768; // bytes of GROUP.DAT

    static constexpr double GAMMA_MAX = 5.0;
    static constexpr double GAMMA_MIN = 0.1;
    static constexpr double GAMMA_DEFAULT = 1.0;
    static constexpr double BS_KM = 15.0;
    static constexpr double PI_KM = 150.0;
    static constexpr float G_VALUE_MIN = -7.999f;
    static constexpr float G_VALUE_MUL = 1000.0f; // milli-g per g
    static constexpr float REC_MODE_FPS_HQ = 28.0f;
    static constexpr float REC_MODE_FPS_NOMAL = 28.0f;
    static constexpr float REC_MODE_FPS_LONG_REC = 28.0f;

    static inline const QString APP_TITLE = QStringLiteral("Orvalind");
    static inline const QString FMT_FORM_TITLE_DEFAULT = QStringLiteral("Orvalind");
    static inline const QString DIR_PATH_CARD_SUBDIR = QStringLiteral("MOVE");
    static inline const QString DATETIME_LABEL_NODATA = QStringLiteral("----/--/-- --:--");
    static inline const QString FILE_NAME_VREC = QStringLiteral("VREC_MOV_MNG.DAT");
    static inline const QString FILE_NAME_PRCT = QStringLiteral("MOV_PRCT.DAT");
    static inline const QString FILE_NAME_ADVP = QStringLiteral("ADV_PRCT.DAT");
    static inline const QString FILE_NAME_SETTING_WRITE = QStringLiteral("GROUP.DAT");
    static inline const QString FILE_NAME_SETTING_READ = QStringLiteral("SETINF.DAT");
    // Case-insensitive, Unicode \w. The whole name: a name that only starts like a chapter (such as
    // "m2024050112300009.MP40009") is no movie and would be read as another layout.
    static inline const QString PATTERN_MOVE = QStringLiteral("^\\w{17}\\.MP4\\z");
    // The camera's own form of this pattern starts with "^*", an empty match that PCRE2 rejects; without it
    // the pattern matches the same paths: a "move<digits>/<name>.mp4" anywhere in the relative path,
    // ending the path as the listing's name ends it.
    static inline const QString PATTERN_MOVE_REGEX_DIR = QStringLiteral("move[0-9]+/\\w+\\.[mM][pP]4\\z");
    static inline const QString PATTERN_MOVE_REGEX_FILE = QStringLiteral("m[0-9]{16}\\.[mM][pP]4");
    static inline const QString PATTERN_MOVE_REGEX_FILE2 = QStringLiteral("[0-9]{12}_[0-9]{4}\\.[mM][pP]4");
    static inline const QString PATTERN_MOVE_REGEX_INFO = QStringLiteral("[0-9]{16}");
    static inline const QString EVT_FILENAME = QStringLiteral("Video.dat");
    static inline const QString MOVIE_FILENAME_PRE = QStringLiteral("M");
    static inline const QString AACSOUND_FILE = QStringLiteral("sound.dat");
    static inline const QString WAVSOUND_FILE = QStringLiteral("sound.wav");
    static inline const QString CHANNEL1_TMP_FILE = QStringLiteral("channel1.dat");
    static inline const QString CHANNEL2_TMP_FILE = QStringLiteral("channel2.dat");
    static inline const QString CHANNEL1_MP4_FILE = QStringLiteral("channel1.mp4");
    static inline const QString CHANNEL2_MP4_FILE = QStringLiteral("channel2.mp4");

    // "HALVERO-QIN" then ".", 0, 0: the marker of picture data in the card's recordings.
    static constexpr std::array<std::uint8_t, 14> IMAGE_DATA_IDENTIFIER = {
        'H', 'A', 'L', 'V', 'E', 'R', 'O', '-', 'Q', 'I', 'N', 0x2E, 0x00, 0x00};
    // Stands for a missing date.
    static constexpr Date DEFAULT_DATE = Date::distantPast();

    // Computed once per process on first use (thread-safe). The temporary folders end in "/"; they are
    // only named here, their users create and empty them. They lie in the running copy's own folder of
    // the user's private temporary folder (mode 0700, see UserTempFolder::runPath).
    static const QString &DIR_PATH_TMP();     // <run folder>/TMP/
    static const QString &ARCHIVE_PATH_TMP(); // <run folder>/ArchiveTmp/
    static const QString &DIR_PATH_THUMB();   // DIR_PATH_TMP + THUMB/
    static const QString &DIR_PATH_MAP();     // DIR_PATH_TMP + MAP/
    // Titles translated with the "CommonConst" context; the English text when there is no translation.
    static const QString &FMT_FORM_TITLE_MOVIE(); // "Recording always on"
    static const QString &FMT_FORM_TITLE_EVENT(); // "Event recording"

    // The four temporary paths computed below another user temp folder (the pure part of the above).
    struct TempPaths
    {
        QString dirPathTmp;
        QString archivePathTmp;
        QString dirPathThumb;
        QString dirPathMap;
    };
    static TempPaths tempPathsBelow(const QString &userTempFolder);

    enum class PlayStatus
    {
        NotReady,
        Play,
        Pause,
        Stop,
    };
    enum class PlayType
    {
        Event,
        Movie,
        Surveillance,
        Adventure,
    };
    enum class ListType
    {
        Trip,
        Event,
        Surveillance,
        Adventure,
        TripChapter,
        AdvChapter,
    };
    enum class MouseStatus
    {
        MouseDown,
        MouseDragged,
        MouseUp,
    };
    // The spelling "Nomal" is the camera software's own.
    enum class RecMode
    {
        HighQuality,
        Nomal,
        LongRec,
    };

    // Time covered by one movie file of the mode (ms), and its frame rate.
    static constexpr int recSpan(RecMode mode)
    {
        return mode == RecMode::HighQuality ? REC_SPAN_HIGH_QUALITY
               : mode == RecMode::Nomal     ? REC_SPAN_NORMAL
                                            : REC_SPAN_LONG;
    }
    static constexpr float recModeFps(RecMode mode)
    {
        return mode == RecMode::HighQuality ? REC_MODE_FPS_HQ
               : mode == RecMode::Nomal     ? REC_MODE_FPS_NOMAL
                                            : REC_MODE_FPS_LONG_REC;
    }
    static QString caseName(RecMode mode);
};
