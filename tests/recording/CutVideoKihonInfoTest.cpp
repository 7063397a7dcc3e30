#include "recording/CutVideoKihonInfo.h"

#include "recording/VideoInfo.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <functional>

namespace {

const Date clipStart = Date::fromUnixSeconds(1714566896);

// A recording whose frames sit every stepMs from 0 to lengthMs in both camera tables; a frame's
// movie time stamp is its key plus movieOffsetMs, its counter its key plus 50000.
std::shared_ptr<VideoInfo> recording(int lengthMs, int stepMs = 100, int movieOffsetMs = 0)
{
    auto info = std::make_shared<VideoInfo>();
    std::map<int, VideoFrame> table;
    for (int key = 0; key <= lengthMs; key += stepMs) {
        VideoFrame frame;
        frame.time = clipStart.addingMilliseconds(key);
        frame._timeStamp = uint32_t(50000 + key);
        frame._movieTimeStamp = uint32_t(key + movieOffsetMs);
        frame._id = 0x55;
        frame.blockNo = 1 + key / 1000;
        frame.speed = key / 100;
        frame._longitude = -key;
        frame._latitude = key;
        frame._posWest = 1;
        frame.gX = key / 1000.0;
        frame.pictureChannel = 1;
        frame.frameSize = 4096;
        table.emplace(key, frame);
    }
    info->setCameraFrames(1, table);
    info->setCameraFrames(0, table);
    info->rebuildKeyLists();
    info->detectType = 17;
    info->sw = 2;
    info->_playback.detectTime = clipStart.addingSeconds(5);
    info->_playback.detectPosition = 5000;
    info->_fileVersion = "0714";
    info->_terminalType = TerminalType::AllInOne;
    info->_recMode = CommonConst::RecMode::LongRec;
    return info;
}

std::vector<int64_t> keysOf(const CutVideoKihonInfo &info)
{
    std::vector<int64_t> keys;
    for (const auto &entry : info._footerCamera1List) {
        keys.push_back(entry.first);
    }
    return keys;
}

// Edits every object of a class in an archive with raw property-list calls, for archives that our
// own writer would never make.
QByteArray editArchive(const QByteArray &bytes, const char *className,
                       const std::function<void(plist_t)> &edit)
{
    plist_t plist = nullptr;
    plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &plist);
    plist_t objects = plist_dict_get_item(plist, "$objects");
    const uint32_t count = plist_array_get_size(objects);
    for (uint32_t i = 0; i < count; ++i) {
        plist_t object = plist_array_get_item(objects, i);
        plist_t cls =
            plist_get_node_type(object) == PLIST_DICT ? plist_dict_get_item(object, "$class") : nullptr;
        if (!cls) {
            continue;
        }
        uint64_t uid = 0;
        plist_get_uid_val(cls, &uid);
        char *name = nullptr;
        plist_get_string_val(plist_dict_get_item(plist_array_get_item(objects, uint32_t(uid)), "$classname"),
                             &name);
        if (name && std::string_view(name) == className) {
            edit(object);
        }
        free(name);
    }
    char *out = nullptr;
    uint32_t length = 0;
    plist_to_bin(plist, &out, &length);
    QByteArray result(out, length);
    plist_to_bin_free(out);
    plist_free(plist);
    return result;
}

QByteArray without(const QByteArray &bytes, const char *className, const char *key)
{
    return editArchive(bytes, className, [key](plist_t object) { plist_dict_remove_item(object, key); });
}

QByteArray withNull(const QByteArray &bytes, const char *className, const char *key)
{
    return editArchive(bytes, className,
                       [key](plist_t object) { plist_dict_set_item(object, key, plist_new_uid(0)); });
}

} // namespace

TEST(CutVideoKihonInfoTest, OneChapterKeysRunFromTheStart)
{
    auto chapter = recording(30000);
    const auto info =
        CutVideoKihonInfo::initFromVideoInfo(*chapter, 12000, 20000, 30500, true, false, true, false);
    const auto keys = keysOf(info);
    ASSERT_EQ(keys.size(), 81u);
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i], int64_t(i * 100));
    }
    EXPECT_EQ(info._totalTimeSpan, 8000);
    EXPECT_EQ(info._totalMovieTimeSpan, 30500 - 12000);
    EXPECT_EQ(info._footerCamera1List.at(0)._movieTimeStamp, 0u);
    EXPECT_EQ(info._footerCamera1List.at(0)._timeStamp, 62000u);
    EXPECT_EQ(info._footerCamera1List.at(8000)._movieTimeStamp, 8000u);
    EXPECT_EQ(info._footerCamera1List.at(100)._longitude, -12100);
    EXPECT_EQ(info._firstTime, clipStart.addingMilliseconds(12000));
    EXPECT_EQ(info._lastTime, clipStart.addingMilliseconds(20000));
    EXPECT_TRUE(info._footerSoundList.empty());
    for (const auto &[key, footer] : info._footerCamera1List) {
        EXPECT_TRUE(footer.isComplete()) << key;
    }
}

TEST(CutVideoKihonInfoTest, AStartBetweenFramesTakesTheFrameBefore)
{
    auto chapter = recording(30000);
    const auto info =
        CutVideoKihonInfo::initFromVideoInfo(*chapter, 12050, 20000, 30000, false, false, false, false);
    EXPECT_EQ(info._footerCamera1List.at(0)._timeStamp, 62000u) << "the frame at 12000";
    EXPECT_EQ(info._footerCamera1List.at(0)._movieTimeStamp, 0u);
    EXPECT_EQ(info._footerCamera1List.at(50)._timeStamp, 62100u) << "the frame at 12100";
    EXPECT_EQ(info._footerCamera1List.at(50)._movieTimeStamp, 100u);
    EXPECT_EQ(info._totalTimeSpan, 7950);
}

TEST(CutVideoKihonInfoTest, FurtherChaptersFollowOneMillisecondAfterThePrevious)
{
    auto first = recording(30000);
    auto second = recording(10000);
    auto info = CutVideoKihonInfo::initFromVideoInfo(*first, 25000, 30000, 30200, false, false, false, false);
    const int64_t movieBefore = info._totalMovieTimeSpan; // 30200 - 25000
    info.appendChapter(*second, 4000, 10300);
    const int64_t offset = (30000 - 25000) + 1;
    EXPECT_EQ(info._footerCamera1List.at(offset + 0)._timeStamp, 50000u);
    EXPECT_EQ(info._footerCamera1List.at(offset + 0)._movieTimeStamp, uint32_t(movieBefore));
    EXPECT_EQ(info._footerCamera1List.at(offset + 3500)._movieTimeStamp, uint32_t(movieBefore + 3500));
    EXPECT_FALSE(info._footerCamera1List.contains(offset + 4100));
    EXPECT_EQ(info._totalTimeSpan, offset + 4000);
    EXPECT_EQ(info._totalMovieTimeSpan, movieBefore + 10300);

    // A chapter without camera-1 frames gives its placeholder frame at the next offset.
    auto empty = std::make_shared<VideoInfo>();
    empty->setCameraFrames(1, {});
    const int64_t o = info._totalTimeSpan + 1;
    const int64_t b = info._totalMovieTimeSpan;
    info.appendChapter(*empty, 2000, 3000);
    ASSERT_TRUE(info._footerCamera1List.contains(o));
    EXPECT_EQ(info._footerCamera1List.at(o)._movieTimeStamp, uint32_t(b));
    EXPECT_EQ(info._totalTimeSpan, o + 2000);
    EXPECT_EQ(info._totalMovieTimeSpan, b + 3000);
}

TEST(CutVideoKihonInfoTest, MovieTimeStampsAreClampedNotWrapped)
{
    // Movie time stamps that fall below the start frame's (a later block restarting its count).
    auto chapter = recording(3000, 100, 0);
    chapter->editFrames(1, [](std::span<const int32_t> keys, std::vector<VideoFrame> &frames) {
        frames[size_t(std::find(keys.begin(), keys.end(), 2000) - keys.begin())]._movieTimeStamp = 10;
    });
    auto info = CutVideoKihonInfo::initFromVideoInfo(*chapter, 1000, 3000, 3000, false, false, false, false);
    EXPECT_EQ(info._footerCamera1List.at(1000)._movieTimeStamp, 0u) << "below the clip's start";
    EXPECT_EQ(info._footerCamera1List.at(1100)._movieTimeStamp, 1100u);

    // A sum past the 32-bit range.
    info._totalMovieTimeSpan = int64_t(0xFFFFFF00u);
    auto next = recording(1000);
    info.appendChapter(*next, 1000, 1000);
    EXPECT_EQ(info._footerCamera1List.rbegin()->second._movieTimeStamp, 0xFFFFFFFFu);
    const int64_t firstOfNext = info._totalTimeSpan - 1000;
    EXPECT_EQ(info._footerCamera1List.at(firstOfNext)._movieTimeStamp, 0xFFFFFF00u);
}

TEST(CutVideoKihonInfoTest, TwentyThousandFootersSurviveTheArchive)
{
    auto chapter = recording(20000 * 36 - 36, 36);
    auto info = CutVideoKihonInfo::initFromVideoInfo(*chapter, 0, 20000 * 36, 20000 * 36 + 10, true, true,
                                                     false, true);
    ASSERT_EQ(info._footerCamera1List.size(), 20000u);
    auto &odd = info._footerCamera1List.at(36);
    odd._gps = false;
    odd._gZ = -0.987;
    odd._powerDown = true;
    odd._posSouth = 1;
    odd._latitude = -2147483647;
    odd._iSwitch = -3;

    const auto bytes = info.archivedData();
    ASSERT_TRUE(bytes);
    const auto back = CutVideoKihonInfo::unarchive(*bytes);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->_footerCamera1List.size(), 20000u);
    for (const auto &[key, footer] : info._footerCamera1List) {
        ASSERT_TRUE(back->_footerCamera1List.at(key) == footer) << key;
    }
    EXPECT_EQ(back->_detectType, info._detectType);
    EXPECT_EQ(back->_detectTime, info._detectTime);
    EXPECT_EQ(back->_sw, info._sw);
    EXPECT_EQ(back->_detectPosition, info._detectPosition);
    EXPECT_EQ(back->_firstTime, info._firstTime);
    EXPECT_EQ(back->_lastTime, info._lastTime);
    EXPECT_EQ(back->_totalTimeSpan, info._totalTimeSpan);
    EXPECT_EQ(back->_totalMovieTimeSpan, info._totalMovieTimeSpan);
    EXPECT_EQ(back->_isDatetime, true);
    EXPECT_EQ(back->_isSpeed, true);
    EXPECT_EQ(back->_isAcceleration, false);
    EXPECT_EQ(back->_isPoint, true);
    EXPECT_EQ(back->_settingInfo._fileVersion, "0714");
    EXPECT_EQ(back->_settingInfo._terminalType, TerminalType::AllInOne);
    EXPECT_EQ(back->_settingInfo._recMode, CommonConst::RecMode::LongRec);
}

TEST(CutVideoKihonInfoTest, OptionalAndMissingMembers)
{
    auto chapter = recording(2000);
    auto info = CutVideoKihonInfo::initFromVideoInfo(*chapter, 0, 2000, 2000, false, false, false, false);
    const QByteArray bytes = *info.archivedData();

    // Optional members: null, absent or mistyped give no value; integer and bool keys their zero.
    auto back = CutVideoKihonInfo::unarchive(withNull(bytes, "CutVideoKihonInfo", "cvki_zqa_detectType"));
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->_detectType);
    back = CutVideoKihonInfo::unarchive(without(bytes, "CutVideoKihonInfo", "cvki_zqa_detectTime"));
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->_detectTime);
    back = CutVideoKihonInfo::unarchive(without(bytes, "CutVideoKihonInfo", "cvki_zqa_totalMoviewTimeSpan"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->_totalMovieTimeSpan, 0);
    back = CutVideoKihonInfo::unarchive(without(bytes, "CutVideoFooterInfo", "cvfi_zqa_gps"));
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->_footerCamera1List.at(0)._gps) << "absent bool reads false";
    EXPECT_TRUE(back->_footerCamera1List.at(0)._gps2);
    back = CutVideoKihonInfo::unarchive(withNull(bytes, "CutVideoFooterInfo", "cvfi_zqa_timeStamp"));
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->_footerCamera1List.at(0)._timeStamp);
    EXPECT_FALSE(back->_footerCamera1List.at(0).isComplete());
    back = CutVideoKihonInfo::unarchive(without(bytes, "CutVideoSettingInfo", "cvsi_zqa_recMode"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->_settingInfo._recMode, CommonConst::RecMode::Nomal);

    // Required members: any one missing or of another type fails the whole archive.
    const std::pair<const char *, const char *> required[] = {
        {"CutVideoKihonInfo", "cvki_zqa_settingInfo"},
        {"CutVideoKihonInfo", "cvki_zqa_footerCamera1List"},
        {"CutVideoKihonInfo", "cvki_zqa_footerSoundList"},
        {"CutVideoKihonInfo", "cvki_zqa_sw"},
        {"CutVideoKihonInfo", "cvki_zqa_firstTime"},
        {"CutVideoKihonInfo", "cvki_zqa_lastTime"},
        {"CutVideoSettingInfo", "cvsi_zqa_fileVersion"},
        {"CutVideoFooterInfo", "cvfi_zqa_posWest"},
        {"CutVideoFooterInfo", "cvfi_zqa_posSouth"},
    };
    for (const auto &[cls, key] : required) {
        EXPECT_FALSE(CutVideoKihonInfo::unarchive(without(bytes, cls, key))) << key;
        EXPECT_FALSE(CutVideoKihonInfo::unarchive(withNull(bytes, cls, key))) << key;
    }
    EXPECT_FALSE(CutVideoKihonInfo::unarchive(editArchive(bytes, "CutVideoKihonInfo", [](plist_t object) {
        plist_dict_set_item(object, "cvki_zqa_sw", plist_new_uid(1)); // the "$null" text's neighbour
    })));
    EXPECT_FALSE(CutVideoKihonInfo::unarchive(editArchive(bytes, "CutVideoFooterInfo", [](plist_t object) {
        plist_dict_set_item(object, "cvfi_zqa_posWest", plist_new_uint(70000)); // not 16-bit
    })));

    // A root of another class, and bytes that are no archive.
    EXPECT_FALSE(CutVideoKihonInfo::unarchive(editArchive(bytes, "CutVideoKihonInfo", [](plist_t) {
                                              }).replace("CutVideoKihonInfo", "CutVideoKihonInfX")));
    EXPECT_FALSE(CutVideoKihonInfo::unarchive(QByteArray("not an archive")));
    for (qsizetype size = 0; size < bytes.size(); size += 7) {
        (void)CutVideoKihonInfo::unarchive(bytes.left(size)); // no crash on any truncation
    }
}

TEST(CutVideoKihonInfoTest, ReadsAnArchiveWrittenTheMacWay)
{
    // Module-prefixed class names (the module name in UTF-16), mutable dictionaries, numbers as
    // separate objects, a mutable string, Swift's Int64 keys.
    plist_t plist = plist_new_dict();
    plist_t objects = plist_new_array();
    plist_dict_set_item(plist, "$version", plist_new_uint(100000));
    plist_dict_set_item(plist, "$archiver", plist_new_string("NSKeyedArchiver"));
    plist_dict_set_item(plist, "$objects", objects);
    uint64_t count = 0;
    auto add = [&](plist_t node) {
        plist_array_append_item(objects, node);
        return count++;
    };
    auto addClass = [&](const char *name, const char *super) {
        plist_t cls = plist_new_dict();
        plist_dict_set_item(cls, "$classname", plist_new_string(name));
        plist_t chain = plist_new_array();
        plist_array_append_item(chain, plist_new_string(name));
        if (super) {
            plist_array_append_item(chain, plist_new_string(super));
        }
        plist_array_append_item(chain, plist_new_string("NSObject"));
        plist_dict_set_item(cls, "$classes", chain);
        return add(cls);
    };
    auto instance = [&](uint64_t cls) {
        plist_t object = plist_new_dict();
        plist_dict_set_item(object, "$class", plist_new_uid(cls));
        return object;
    };
    auto date = [&](uint64_t cls, double since2001) {
        plist_t object = instance(cls);
        plist_dict_set_item(object, "NS.time", plist_new_real(since2001));
        return add(object);
    };
    auto number = [&](int64_t value) { return add(plist_new_uint(uint64_t(value))); };

    add(plist_new_string("$null"));
    const uint64_t kihonClass = addClass("ドライブ録.CutVideoKihonInfo", nullptr);
    const uint64_t settingClass = addClass("ドライブ録.CutVideoSettingInfo", nullptr);
    const uint64_t footerClass = addClass("ドライブ録.CutVideoFooterInfo", nullptr);
    const uint64_t dictClass = addClass("NSMutableDictionary", "NSDictionary");
    const uint64_t stringClass = addClass("NSMutableString", "NSString");
    const uint64_t dateClass = addClass("NSDate", nullptr);
    const double t0 = 1714566896.0 - 978307200.0;

    plist_t version = instance(stringClass);
    plist_dict_set_item(version, "NS.string", plist_new_string("0714"));
    const uint64_t versionRef = add(version);
    plist_t setting = instance(settingClass);
    plist_dict_set_item(setting, "cvsi_zqa_fileVersion", plist_new_uid(versionRef));
    plist_dict_set_item(setting, "cvsi_zqa_terminalType", plist_new_uint(0));
    plist_dict_set_item(setting, "cvsi_zqa_recMode", plist_new_uint(2));
    const uint64_t settingRef = add(setting);

    auto footer = [&](int64_t ms, bool gps) {
        plist_t object = instance(footerClass);
        plist_dict_set_item(object, "cvfi_zqa_blockNo", plist_new_uid(number(1)));
        plist_dict_set_item(object, "cvfi_zqa_time", plist_new_uid(date(dateClass, t0 + ms / 1000.0)));
        plist_dict_set_item(object, "cvfi_zqa_longitude", plist_new_uint(uint64_t(int64_t(-4968000))));
        plist_dict_set_item(object, "cvfi_zqa_latitude", plist_new_uint(1285200));
        plist_dict_set_item(object, "cvfi_zqa_posWest", plist_new_uid(number(1)));
        plist_dict_set_item(object, "cvfi_zqa_posSouth", plist_new_uid(number(0)));
        plist_dict_set_item(object, "cvfi_zqa_speed", plist_new_uint(42));
        plist_dict_set_item(object, "cvfi_zqa_gX", plist_new_real(0.25));
        plist_dict_set_item(object, "cvfi_zqa_gY", plist_new_real(-0.5));
        plist_dict_set_item(object, "cvfi_zqa_gZ", plist_new_real(0));
        plist_dict_set_item(object, "cvfi_zqa_iSwitch", plist_new_uint(0));
        plist_dict_set_item(object, "cvfi_zqa_gps", plist_new_bool(gps));
        plist_dict_set_item(object, "cvfi_zqa_gps2", plist_new_bool(1));
        plist_dict_set_item(object, "cvfi_zqa_powerDown", plist_new_bool(0));
        plist_dict_set_item(object, "cvfi_zqa_pictureChannel", plist_new_uid(number(1)));
        plist_dict_set_item(object, "cvfi_zqa_frameSize", plist_new_uid(number(30000)));
        plist_dict_set_item(object, "cvfi_zqa_timeStamp", plist_new_uid(number(900000 + ms)));
        plist_dict_set_item(object, "cvfi_zqa_id", plist_new_uid(number(0x55)));
        plist_dict_set_item(object, "cvfi_zqa_movieTimeStamp", plist_new_uid(number(ms)));
        return add(object);
    };
    auto dictionary = [&](std::vector<std::pair<uint64_t, uint64_t>> entries) {
        plist_t object = instance(dictClass);
        plist_t keys = plist_new_array();
        plist_t values = plist_new_array();
        for (const auto &[key, value] : entries) {
            plist_array_append_item(keys, plist_new_uid(key));
            plist_array_append_item(values, plist_new_uid(value));
        }
        plist_dict_set_item(object, "NS.keys", keys);
        plist_dict_set_item(object, "NS.objects", values);
        return add(object);
    };
    const uint64_t frames = dictionary({{number(0), footer(0, true)}, {number(36), footer(36, false)}});
    const uint64_t sounds = dictionary({});

    plist_t root = instance(kihonClass);
    plist_dict_set_item(root, "cvki_zqa_settingInfo", plist_new_uid(settingRef));
    plist_dict_set_item(root, "cvki_zqa_footerCamera1List", plist_new_uid(frames));
    plist_dict_set_item(root, "cvki_zqa_footerSoundList", plist_new_uid(sounds));
    plist_dict_set_item(root, "cvki_zqa_detectType", plist_new_uid(number(10)));
    plist_dict_set_item(root, "cvki_zqa_detectTime", plist_new_uid(date(dateClass, t0 + 0.5)));
    plist_dict_set_item(root, "cvki_zqa_sw", plist_new_uid(number(1)));
    plist_dict_set_item(root, "cvki_zqa_detectPosition", plist_new_uint(12000));
    plist_dict_set_item(root, "cvki_zqa_firstTime", plist_new_uid(date(dateClass, t0)));
    plist_dict_set_item(root, "cvki_zqa_lastTime", plist_new_uid(date(dateClass, t0 + 0.036)));
    plist_dict_set_item(root, "cvki_zqa_powerDown", plist_new_bool(0));
    plist_dict_set_item(root, "cvki_zqa_totalTimeSpan", plist_new_uint(36));
    plist_dict_set_item(root, "cvki_zqa_totalMoviewTimeSpan", plist_new_uint(72));
    plist_dict_set_item(root, "cvki_zqa_isDatetime", plist_new_bool(1));
    plist_dict_set_item(root, "cvki_zqa_isSpeed", plist_new_bool(0));
    plist_dict_set_item(root, "cvki_zqa_isAcceleration", plist_new_bool(0));
    plist_dict_set_item(root, "cvki_zqa_isPoint", plist_new_bool(1));
    const uint64_t rootRef = add(root);
    plist_t top = plist_new_dict();
    plist_dict_set_item(top, "root", plist_new_uid(rootRef));
    plist_dict_set_item(plist, "$top", top);

    char *out = nullptr;
    uint32_t length = 0;
    plist_to_bin(plist, &out, &length);
    const QByteArray bytes(out, length);
    plist_to_bin_free(out);
    plist_free(plist);
    const QString prefixed = QString::fromUtf8("ドライブ録.CutVideoKihonInfo");
    const QByteArray utf16(reinterpret_cast<const char *>(prefixed.utf16()), prefixed.size() * 2);
    QByteArray utf16be = utf16;
    for (qsizetype i = 0; i + 1 < utf16be.size(); i += 2) {
        std::swap(utf16be[i], utf16be[i + 1]);
    }
    ASSERT_TRUE(bytes.contains(utf16be)) << "the class name is stored as UTF-16";

    const auto info = CutVideoKihonInfo::unarchive(bytes);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->_settingInfo._fileVersion, "0714");
    EXPECT_EQ(info->_settingInfo._terminalType, TerminalType::Separate);
    EXPECT_EQ(info->_settingInfo._recMode, CommonConst::RecMode::LongRec);
    EXPECT_EQ(info->_detectType, uint8_t(10));
    EXPECT_EQ(info->_detectTime, Date::fromUnixMilliseconds(1714566896500));
    EXPECT_EQ(info->_sw, 1);
    EXPECT_EQ(info->_detectPosition, 12000);
    EXPECT_EQ(info->_firstTime, Date::fromUnixSeconds(1714566896));
    EXPECT_EQ(info->_totalMovieTimeSpan, 72);
    EXPECT_TRUE(info->_isDatetime);
    EXPECT_TRUE(info->_isPoint);
    ASSERT_EQ(info->_footerCamera1List.size(), 2u);
    const auto &second = info->_footerCamera1List.at(36);
    EXPECT_TRUE(second.isComplete());
    EXPECT_EQ(second._time, Date::fromUnixMilliseconds(1714566896036));
    EXPECT_EQ(second._longitude, -4968000);
    EXPECT_EQ(second._latitude, 1285200);
    EXPECT_EQ(second._posWest, 1);
    EXPECT_EQ(second._speed, 42);
    EXPECT_EQ(second._gX, 0.25);
    EXPECT_EQ(second._gY, -0.5);
    EXPECT_FALSE(second._gps);
    EXPECT_EQ(second._frameSize, 30000u);
    EXPECT_EQ(second._timeStamp, 900036u);
    EXPECT_EQ(second._id, uint8_t(0x55));
    EXPECT_EQ(second._movieTimeStamp, 36u);
}
