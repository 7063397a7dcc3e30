#include "card/CardData.h"
#include "card/CardFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace {
// Reads the bytes as each of the three management files.
size_t readAll(const QByteArray &bytes)
{
    TempDir dir;
    const auto url = QUrl::fromLocalFile(dir.write("DATA.DAT", bytes));
    CardData card;
    card.readVrecMoveManagerFile(url);
    for (int section = 0; section <= 3; ++section)
        card.readMoveProtectFile(url, section);
    card.readAdvMoveProtectFile(url);
    return card._vrecList.size() + card._moveProtectList.size() + card._advMoveProtectList.size();
}
} // namespace

// Cut and scrambled management files give shorter lists, never a read past the data.
TEST(ManagementFileRobustnessTest, EveryCutOfValidFilesAndRandomBytesReadSafely)
{
    using W = ManagementFileWriter;
    ManagementRecordValues v;
    v.fileName = "2024050112000001";
    const auto vrec = W::vrecFile(0, {W::vrecRecord(v), W::vrecRecord(v)});
    v.type = 0x10;
    const auto prct = W::prctFile(
        0, {std::vector{W::prctRecord(v)}, std::vector{W::prctRecord(v)}, std::vector{W::prctRecord(v)}});
    v.type = 0x25;
    const auto adv = W::advFile({W::advRecord(v)});
    for (const auto &file : {vrec, prct, adv}) {
        size_t previous = 0;
        for (qsizetype cut = 0; cut <= file.size(); cut += file.size() > 4096 ? 97 : 7) {
            const auto taken = readAll(file.left(cut));
            EXPECT_GE(taken, previous) << cut; // a longer prefix never gives fewer records
            previous = taken;
        }
    }
    std::mt19937 random(99);
    std::uniform_int_distribution<int> length(0, 0x3600);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 60; ++i) {
        QByteArray bytes(length(random), '\0');
        for (auto &b : bytes)
            b = static_cast<char>(byte(random) < 32 ? 0x25 : byte(random)); // plenty of record types
        readAll(bytes);
    }
}
