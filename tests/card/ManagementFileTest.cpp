#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "card/CardFixture.h"
#include "card/MoveProtectInfo.h"
#include "card/VrecMoveManagerInfo.h"

#include <gtest/gtest.h>

namespace {
using W = ManagementFileWriter;
using Detect = MoveProtectInfo::DetectStatus;
using B = CardFixture;

ManagementRecordValues record(int number, uint8_t type = 0x17)
{
    ManagementRecordValues v;
    v.type = type;
    v.fileName = CardFixture::recordName("202405011200", number);
    v.unixSeconds = CardFixture::BASE_SECONDS + static_cast<uint32_t>(number);
    return v;
}

const auto endMarker = [] { return record(0, 0xFF); };

using Records = std::initializer_list<ManagementRecordValues>;
std::vector<QByteArray> encoded(Records records, QByteArray (*encode)(const ManagementRecordValues &))
{
    std::vector<QByteArray> bytes;
    for (const auto &v : records)
        bytes.push_back(encode(v));
    return bytes;
}
QByteArray vrecFile(uint8_t mode, Records records)
{
    return W::vrecFile(mode, encoded(records, &W::vrecRecord));
}
QByteArray prctFile(uint8_t mode, Records g, Records surv, Records sw)
{
    return W::prctFile(
        mode, {encoded(g, &W::prctRecord), encoded(surv, &W::prctRecord), encoded(sw, &W::prctRecord)});
}
QByteArray advFile(Records records)
{
    return W::advFile(encoded(records, &W::advRecord));
}

constexpr int VREC = -1; // readNames' section for VREC_MOV_MNG.DAT
constexpr int ADV = -2;  // and for ADV_PRCT.DAT; others are the sections of MOV_PRCT.DAT

const QByteArray NO_FILE = "(no file)";

// The records a reader takes from the bytes, by file number (MOV_PRCT.DAT's with their kind, as
// "G1"), or "failed" when the reader fails.
std::string readNames(const QByteArray &file, int section)
{
    TempDir dir;
    const auto url =
        QUrl::fromLocalFile(file == NO_FILE ? dir.filePath("DATA.DAT") : dir.write("DATA.DAT", file));
    CardData card;
    const bool ok = section == VREC  ? card.readVrecMoveManagerFile(url)
                    : section == ADV ? card.readAdvMoveProtectFile(url)
                                     : card.readMoveProtectFile(url, section);
    QStringList names;
    for (const auto &r : card._vrecList)
        names << QString::number(r->_fileName.right(4).toInt());
    for (const auto &r : card._advMoveProtectList)
        names << QString::number(r->fileNumber());
    const char *kinds[] = {"", "G", "SURV", "SW"};
    for (const auto &r : card._moveProtectList)
        names << kinds[static_cast<int>(r->_detect)] + QString::number(r->_fileName.right(4).toInt());
    return ok ? names.join(' ').toStdString() : "failed";
}
} // namespace

TEST(ManagementFileTest, ReadersTakeTheRecordsThatCountUpToTheirEnd)
{
    const auto vrec = [](uint8_t mode) { return vrecFile(mode, {record(1), endMarker(), record(3)}); };
    const auto vrec2 = vrecFile(0, {record(1), record(2)});
    const auto prct = [](uint8_t mode) {
        return prctFile(mode, {record(1, 0x10), record(2, 0x10), endMarker(), record(4, 0x10)},
                        {record(5, 0x10)}, {record(6, 0x20), record(7, 0x20)});
    };
    const auto prct3 = prctFile(0, {record(1, 0x10), record(2, 0x10)}, {record(3, 0x10)}, {});
    // A surveillance record counts only with its valid-data flag; a switch record only of type 0x17 or 0x20.
    auto noSurveillance = record(5, 0x10);
    noSurveillance.survRecValidData = 0;
    const auto types =
        prctFile(0, {record(1, 0x10), record(2, 0x12), record(3, 0x17), record(4, 0x20), noSurveillance},
                 {noSurveillance, record(8, 0x10)}, {record(6, 0x11), record(7, 0x17)});
    auto letters = record(1, 0x25);
    letters.fileName = "202405011200ABCD";
    const auto adv = advFile({record(1, 0x25), record(2, 0x25)});
    struct Case
    {
        const char *what;
        QByteArray file;
        int section;
        const char *names;
    };
    const Case cases[] = {
        // The header's mode: 1 stops at an end marker, 0 skips it, 2 takes nothing.
        {"movie file, mode 1", vrec(1), VREC, "1"},
        {"movie file, mode 0", vrec(0), VREC, "1 3"},
        {"movie file, mode 2", vrec(2), VREC, ""},
        {"other types, number 0000", vrecFile(0, {record(1, 0x10), record(0), record(2)}), VREC, "2"},
        {"movie file cut in a record", vrec2.left(vrec2.size() - 1), VREC, "1"},
        {"movie file cut after a record", vrec2.left(64 + 80), VREC, "1"},
        {"movie file of its header", vrec2.left(64), VREC, ""},
        {"movie file shorter than its header", vrec2.left(63), VREC, "failed"},
        {"no movie file", NO_FILE, VREC, "failed"},
        // Each section of the protection file gives its kind; an end marker stops only its section.
        {"G section", prct(1), 1, "G1 G2"},
        {"surveillance section", prct(1), 2, "SURV5"},
        {"switch section", prct(1), 3, "SW6 SW7"},
        {"G section, mode 0", prct(0), 1, "G1 G2 G4"},
        {"G section, mode 2", prct(2), 1, ""},
        {"section 0", prct(1), 0, ""},
        {"G section of every type", types, 1, "G1 G2 G3 G4 G5"},
        {"surveillance without valid data", types, 2, "SURV8"},
        {"switch of another type", types, 3, "SW7"},
        {"protection file cut in the second G record", prct3.left(0x200 + 512 + 100), 1, "G1"},
        {"and its later sections are empty", prct3.left(0x200 + 512 + 100), 2, ""},
        {"cut in the surveillance record", prct3.left(0x1600 + 511), 2, ""},
        {"cut after the surveillance record", prct3.left(0x1600 + 512), 2, "SURV3"},
        {"protection file shorter than its header", prct3.left(511), 1, "failed"},
        // The adventure file has no end marker; names must end in a number.
        {"adventure file with an end marker", advFile({record(1, 0x25), endMarker(), record(3, 0x25)}), ADV,
         "1 3"},
        {"adventure name without a number", advFile({letters, record(2, 0x25)}), ADV, "2"},
        {"adventure file cut in a record", adv.left(adv.size() - 1), ADV, "1"},
        {"adventure file of its header", adv.left(512), ADV, ""},
        {"adventure file shorter than its header", adv.left(100), ADV, "failed"},
        {"no adventure file", NO_FILE, ADV, "failed"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readNames(c.file, c.section), c.names) << c.what;
}

TEST(ManagementFileTest, ReadersFailOnARemoteFileAndKeepTheFirstAdventureOfAName)
{
    TempDir dir;
    CardData card;
    EXPECT_FALSE(card.readVrecMoveManagerFile(QUrl("http://example.invalid/VREC_MOV_MNG.DAT")));

    // Of two adventure records of one name, the first wins.
    auto second = record(5, 0x25);
    second.unixSeconds = 1;
    const auto adv = QUrl::fromLocalFile(dir.write("ADV_PRCT.DAT", advFile({record(5, 0x25), second})));
    ASSERT_TRUE(card.readAdvMoveProtectFile(adv));
    ASSERT_EQ(card._advMoveProtectList.size(), 1u);
    EXPECT_EQ(card._advMoveProtectList[0]->_datetime, Date::fromUnixSeconds(record(5).unixSeconds));
}

// Every field with a value of its own; each record takes the fields its layout has.
TEST(ManagementFileTest, RecordFields)
{
    const auto base = record(12);
    auto v = base;
    std::tie(v.longitude, v.latitude, v.speedTenths, v.gXmg, v.gYmg, v.gZmg, v.sw, v.status, v.channel) =
        std::tuple(-0x1234, -0x42, uint16_t(57), 250, -100, 1500, uint8_t(3), uint8_t(9), uint8_t(6));
    std::tie(v.frameSize, v.timeStamp, v.id, v.timeStamp2, v.protectType, v.survRecValidData,
             v.advModeStartFlg, v.endUnixSeconds) =
        std::tuple(0xA0B0C0D0u, 0x11223344u, uint8_t(0x55), 77u, uint8_t(4), uint8_t(5), uint8_t(1),
                   1714568400u);
    const auto date = Date::fromUnixSeconds(v.unixSeconds);
    const VrecMoveManagerInfo movie(B::bytes(W::vrecRecord(v)));
    EXPECT_EQ(std::tuple(movie._detectType, movie._datetime, movie._fileName, movie._timeStamp, movie._sw,
                         movie._status),
              std::tuple(17, date, base.fileName, 0x11223344u, 3, 9));
    // Whole speed units only in this file; 1 g of gravity taken out of the vertical.
    EXPECT_EQ(std::tuple(movie._posWest, movie._longitude, movie._posSouth, movie._latitude, movie._speed,
                         movie._gX, movie._gY, movie._gZ),
              std::tuple(1, -0x1234, 1, -0x42, 5.0, 0.25, -0.1, 0.5));

    v.type = 0x20;
    const MoveProtectInfo event(B::bytes(W::prctRecord(v)), Detect::SW);
    EXPECT_EQ(std::tuple(event._detectType, event._detect, event._datetime, event._fileName),
              std::tuple(20, Detect::SW, date, base.fileName));
    EXPECT_EQ(std::tuple(event._longitude, event._posWest, event._latitude, event._posSouth, event._speed,
                         event._gX, event._gZ),
              std::tuple(-0x1234, 1, -0x42, 1, 5.7, 0.25, 0.5)); // the tenth is kept here
    EXPECT_EQ(std::tuple(event._sw, event._status, event._pictureChannel, event._frameSize, event._timeStamp,
                         event._id, event._timeStamp2, event._protectType, event._survRecValidData),
              std::tuple(3, 9, 6, 0xA0B0C0D0u, 0x11223344u, 0x55, 77u, 4, 5));

    v.type = 0x25;
    const AdvMoveProtectInfo adventure(B::bytes(W::advRecord(v)));
    EXPECT_EQ(std::tuple(adventure._infoEnable, adventure._detectType, adventure._datetime,
                         adventure._endDatetime, adventure.advModeStartFlg, adventure._timeStamp,
                         adventure.fileNumber(), adventure._speed),
              std::tuple(true, 25, date, Date::fromUnixSeconds(1714568400), 1, 0x11223344u, 12, 5.7));

    v.type = 0x17;
    v.hasPosition = false;
    const VrecMoveManagerInfo nowhere(B::bytes(W::vrecRecord(v)));
    EXPECT_EQ(std::tuple(nowhere._posWest, nowhere._longitude, nowhere._posSouth, nowhere._latitude),
              std::tuple(0, 0, 0, 0));
}

// Cut management files give shorter lists, never a read past the data (the fuzz runs feed them random
// bytes).
TEST(ManagementFileRobustnessTest, EveryCutOfAValidFileReadsSafely)
{
    const auto readAll = [](const QByteArray &bytes) {
        TempDir dir;
        const auto url = QUrl::fromLocalFile(dir.write("DATA.DAT", bytes));
        CardData card;
        card.readVrecMoveManagerFile(url);
        for (int section = 0; section <= 3; ++section)
            card.readMoveProtectFile(url, section);
        card.readAdvMoveProtectFile(url);
        return card._vrecList.size() + card._moveProtectList.size() + card._advMoveProtectList.size();
    };
    const auto event = record(1, 0x10);
    for (const auto &file : {vrecFile(0, {record(1), record(1)}), prctFile(0, {event}, {event}, {event}),
                             advFile({record(1, 0x25)})}) {
        size_t previous = 0;
        for (qsizetype cut = 0; cut <= file.size(); cut += file.size() > 4096 ? 97 : 7) {
            const auto taken = readAll(file.left(cut));
            EXPECT_GE(taken, previous) << cut; // a longer prefix never gives fewer records
            previous = taken;
        }
    }
}
