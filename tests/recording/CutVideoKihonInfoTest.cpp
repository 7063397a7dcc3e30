#include "recording/CutVideoKihonInfo.h"
#include "recording/ClipRecording.h"
#include <functional>
#include <gtest/gtest.h>
#include <plist/plist.h>

namespace {

// Frames every stepMs from 0 to lengthMs; a frame's counter is its key plus 50000.
std::shared_ptr<VideoInfo> recording(int lengthMs, int stepMs = 100)
{
    return clipRecording(lengthMs / stepMs + 1, stepMs, 50000, false);
}

// Rewrites an archive's object list with raw property-list calls, for archives our own writer would
// never make.
QByteArray rewrite(const QByteArray &bytes, const std::function<void(plist_t objects)> &edit)
{
    plist_t plist = nullptr;
    plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &plist);
    edit(plist_dict_get_item(plist, "$objects"));
    char *out = nullptr;
    uint32_t length = 0;
    plist_to_bin(plist, &out, &length);
    QByteArray result(out, length);
    plist_to_bin_free(out);
    plist_free(plist);
    return result;
}

// The text of a string node; empty for none or another kind.
QString textOf(plist_t node)
{
    char *text = nullptr;
    if (node)
        plist_get_string_val(node, &text);
    const QString value = QString::fromUtf8(text);
    free(text);
    return value;
}

// Edits every object of a class.
QByteArray editArchive(const QByteArray &bytes, const char *className,
                       const std::function<void(plist_t)> &edit)
{
    return rewrite(bytes, [&](plist_t objects) {
        for (uint32_t i = 0; i < plist_array_get_size(objects); ++i) {
            plist_t object = plist_array_get_item(objects, i);
            uint64_t cls = 0;
            if (plist_get_node_type(object) != PLIST_DICT || !plist_dict_get_item(object, "$class"))
                continue;
            plist_get_uid_val(plist_dict_get_item(object, "$class"), &cls);
            if (textOf(plist_dict_get_item(plist_array_get_item(objects, uint32_t(cls)), "$classname")) ==
                className)
                edit(object);
        }
    });
}

// The class whose members carry a key's prefix.
const char *classOf(const char *key)
{
    const QByteArray prefix = QByteArray(key).left(4);
    return prefix == "cvki"   ? "CutVideoKihonInfo"
           : prefix == "cvsi" ? "CutVideoSettingInfo"
                              : "CutVideoFooterInfo";
}

// The clip as decoding gives it back: no stored camera build or mode is read.
CutVideoKihonInfo settingsAsRead(CutVideoKihonInfo clip)
{
    clip._settingInfo._terminalType = TerminalType::None;
    clip._settingInfo._recMode = CommonConst::RecMode::Nomal;
    return clip;
}

QByteArray without(const QByteArray &bytes, const char *key)
{
    return editArchive(bytes, classOf(key), [key](plist_t object) { plist_dict_remove_item(object, key); });
}

QByteArray withNull(const QByteArray &bytes, const char *key)
{
    return editArchive(bytes, classOf(key),
                       [key](plist_t object) { plist_dict_set_item(object, key, plist_new_uid(0)); });
}

plist_t dict(std::initializer_list<std::pair<const char *, plist_t>> items)
{
    plist_t object = plist_new_dict();
    for (const auto &[key, node] : items)
        plist_dict_set_item(object, key, node);
    return object;
}

} // namespace

TEST(CutVideoKihonInfoTest, OneChapterKeysRunFromTheFrameAtOrBeforeTheStart)
{
    auto chapter = recording(30000);
    const auto info =
        CutVideoKihonInfo::initFromVideoInfo(*chapter, 12000, 20000, 30500, true, false, true, false);
    ASSERT_EQ(info._footerCamera1List.size(), 81u);
    int64_t expected = 0;
    for (const auto &[key, footer] : info._footerCamera1List) {
        EXPECT_EQ(key, std::exchange(expected, expected + 100));
        EXPECT_TRUE(footer.isComplete()) << key;
    }
    EXPECT_EQ(info._totalTimeSpan, 8000);
    EXPECT_EQ(info._totalMovieTimeSpan, 30500 - 12000);
    EXPECT_EQ(info._footerCamera1List.at(8000)._movieTimeStamp, 8000u);
    EXPECT_EQ(info._footerCamera1List.at(100)._longitude, -12100);
    EXPECT_EQ(info._lastTime, clipStart.addingMilliseconds(20000));

    // A start between frames takes the frame before.
    const auto between =
        CutVideoKihonInfo::initFromVideoInfo(*chapter, 12050, 20000, 30000, false, false, false, false);
    EXPECT_EQ(between._footerCamera1List.at(0)._timeStamp, 62000u) << "the frame at 12000";
    EXPECT_EQ(between._footerCamera1List.at(50)._timeStamp, 62100u) << "the frame at 12100";
    EXPECT_EQ(between._footerCamera1List.at(50)._movieTimeStamp, 100u);
    EXPECT_EQ(between._totalTimeSpan, 7950);
}

TEST(CutVideoKihonInfoTest, FurtherChaptersFollowOneMillisecondAfterThePreviousAndMovieTimeStampsAreClamped)
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

    // Movie time stamps that fall below the start frame's (a later block restarting its count).
    auto chapter = recording(3000);
    chapter->editFrames(1, [](std::span<const int32_t> keys, std::vector<VideoFrame> &frames) {
        frames[size_t(std::find(keys.begin(), keys.end(), 2000) - keys.begin())]._movieTimeStamp = 10;
    });
    info = CutVideoKihonInfo::initFromVideoInfo(*chapter, 1000, 3000, 3000, false, false, false, false);
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
    // Every member read back, the odd footer's included, writes the same archive again; the camera build
    // and the mode come back as None and Nomal, whatever was stored.
    EXPECT_EQ(back->archivedData(), settingsAsRead(info).archivedData());
}

TEST(CutVideoKihonInfoTest, OptionalAndMissingMembersAndAnArchiveWrittenTheMacWay)
{
    auto chapter = recording(2000);
    auto info = CutVideoKihonInfo::initFromVideoInfo(*chapter, 0, 2000, 2000, false, false, false, false);
    const QByteArray bytes = *info.archivedData();

    // Optional members: null or absent give no value; integer and bool keys their zero.
    const auto read = [](const QByteArray &archive) { return CutVideoKihonInfo::unarchive(archive).value(); };
    EXPECT_FALSE(read(withNull(bytes, "cvki_zqa_detectType"))._detectType);
    EXPECT_FALSE(read(without(bytes, "cvki_zqa_detectTime"))._detectTime);
    EXPECT_EQ(read(without(bytes, "cvki_zqa_totalMoviewTimeSpan"))._totalMovieTimeSpan, 0);
    const auto noGps = read(without(bytes, "cvfi_zqa_gps"))._footerCamera1List.at(0);
    EXPECT_TRUE(!noGps._gps && noGps._gps2);
    EXPECT_FALSE(read(withNull(bytes, "cvfi_zqa_timeStamp"))._footerCamera1List.at(0).isComplete());
    EXPECT_EQ(read(without(bytes, "cvsi_zqa_recMode"))._settingInfo._recMode, CommonConst::RecMode::Nomal);

    // Required members: any one missing or of another type fails the whole archive.
    const char *required[] = {
        "cvki_zqa_settingInfo", "cvki_zqa_footerCamera1List", "cvki_zqa_footerSoundList",
        "cvki_zqa_sw",          "cvki_zqa_firstTime",         "cvki_zqa_lastTime",
        "cvsi_zqa_fileVersion", "cvfi_zqa_posWest",           "cvfi_zqa_posSouth"};
    for (const char *key : required) {
        EXPECT_FALSE(CutVideoKihonInfo::unarchive(without(bytes, key))) << key;
        EXPECT_FALSE(CutVideoKihonInfo::unarchive(withNull(bytes, key))) << key;
    }
    EXPECT_FALSE(CutVideoKihonInfo::unarchive(editArchive(bytes, "CutVideoKihonInfo", [](plist_t object) {
        plist_dict_set_item(object, "cvki_zqa_sw", plist_new_uid(1)); // the "$null" text's neighbour
    })));
    EXPECT_FALSE(CutVideoKihonInfo::unarchive(editArchive(bytes, "CutVideoFooterInfo", [](plist_t object) {
        plist_dict_set_item(object, "cvfi_zqa_posWest", plist_new_uint(70000)); // not 16-bit
    })));

    // A root of another class, and bytes that are no archive.
    EXPECT_FALSE(CutVideoKihonInfo::unarchive(
        rewrite(bytes, [](plist_t) {}).replace("CutVideoKihonInfo", "CutVideoKihonInfX")));
    EXPECT_FALSE(CutVideoKihonInfo::unarchive(QByteArray("not an archive")));
    for (qsizetype size = 0; size < bytes.size(); size += 7) {
        (void)CutVideoKihonInfo::unarchive(bytes.left(size)); // no crash on any truncation
    }

    // The other platform's app writes module-prefixed class names (the module name in UTF-16),
    // mutable dictionaries and a mutable string object.
    const QByteArray mac = rewrite(bytes, [](plist_t objects) {
        const uint32_t count = plist_array_get_size(objects);
        plist_t chain = plist_new_array();
        plist_array_append_item(chain, plist_new_string("NSMutableString"));
        plist_array_append_item(
            objects, dict({{"$classname", plist_new_string("NSMutableString")}, {"$classes", chain}}));
        for (uint32_t i = 0; i < count; ++i) {
            plist_t object = plist_array_get_item(objects, i);
            plist_t name = plist_get_node_type(object) == PLIST_DICT
                               ? plist_dict_get_item(object, "$classname")
                               : nullptr;
            const QString value = textOf(name ? name : object);
            if (name && value.startsWith("CutVideo"))
                plist_set_string_val(name, ("ドライブ録." + value).toUtf8().constData());
            else if (name && value == "NSDictionary")
                plist_set_string_val(name, "NSMutableDictionary");
            else if (!name && value == "0714")
                plist_array_set_item(
                    objects,
                    dict({{"$class", plist_new_uid(count)}, {"NS.string", plist_new_string("0714")}}), i);
        }
    });
    ASSERT_NE(mac, bytes);
    const auto back = CutVideoKihonInfo::unarchive(mac);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->archivedData(), settingsAsRead(info).archivedData()) << "the same clip as ours";
}
