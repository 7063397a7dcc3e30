// Test helper: a card folder of placeholder movie files (no driving data) with its management files.
#pragma once

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "recording/FileUtil.h"
#include "samplecard/ManagementFileWriter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QUrl>

#include <array>
#include <memory>
#include <span>
#include <vector>

class CardFixture
{
public:
    static constexpr uint32_t BASE_SECONDS = 1714564800; // 2024-05-01 12:00:00 UTC

    CardFixture() : _root(QDir(_dir.path()).filePath("MOVE")) { QDir().mkpath(_root); }

    const QString &root() const { return _root; }
    QUrl folderUrl() const { return FileUtil::fileUrl(_root); }

    static QString recordName(const QString &key, int number)
    {
        return key + QString("%1").arg(number, 4, 10, QChar('0'));
    }
    static QString movieName(const QString &key, int number)
    {
        return "m" + recordName(key, number) + ".MP4";
    }

    // An empty movie file in MOVE/<folder>/; with a time stamp, also its movie-management record
    // (start date BASE_SECONDS + startSeconds).
    QUrl addMovie(const QString &key, int number, std::optional<uint32_t> timeStamp, int64_t startSeconds = 0,
                  const QString &folder = "MOVE001")
    {
        const auto path = _dir.write("MOVE/" + folder + "/" + movieName(key, number), QByteArray());
        if (timeStamp)
            addVrec(key, number, *timeStamp, startSeconds);
        return QUrl::fromLocalFile(path);
    }

    void addVrec(const QString &key, int number, uint32_t timeStamp, int64_t startSeconds)
    {
        _vrec.push_back(ManagementFileWriter::vrecRecord(values(0x17, key, number, timeStamp, startSeconds)));
    }

    // section 1 G, 2 SURV, 3 SW.
    void addEvent(int section, const QString &key, int number, uint32_t timeStamp, int64_t atSeconds = 0)
    {
        const auto v = values(section == 3 ? 0x20 : 0x10, key, number, timeStamp, atSeconds);
        _prct[static_cast<size_t>(section - 1)].push_back(ManagementFileWriter::prctRecord(v));
    }

    void addAdventure(const QString &key, int number, int64_t atSeconds = 0)
    {
        _adv.push_back(ManagementFileWriter::advRecord(values(0x25, key, number, 0, atSeconds)));
    }

    void writeManagementFiles() const
    {
        if (!_vrec.empty())
            _dir.write("MOVE/VREC_MOV_MNG.DAT", ManagementFileWriter::vrecFile(0, _vrec));
        if (!_prct[0].empty() || !_prct[1].empty() || !_prct[2].empty())
            _dir.write("MOVE/MOV_PRCT.DAT", ManagementFileWriter::prctFile(0, _prct));
        if (!_adv.empty())
            _dir.write("MOVE/ADV_PRCT.DAT", ManagementFileWriter::advFile(_adv));
    }

    void write(const QString &relativePath, const QByteArray &bytes = {}) const
    {
        _dir.write(relativePath, bytes);
    }

    template <typename Card = CardData> std::unique_ptr<Card> load(const QUrl &url = {}) const
    {
        writeManagementFiles();
        auto card = std::make_unique<Card>();
        card->loadCardFolder(url.isEmpty() ? folderUrl() : url);
        return card;
    }

    // A card with the management files read but no trips: tests then make trips by hand.
    std::unique_ptr<CardData> recordsOnly() const
    {
        writeManagementFiles();
        auto card = std::make_unique<CardData>();
        card->readVrecMoveManagerFile(QUrl::fromLocalFile(_root + "/VREC_MOV_MNG.DAT"));
        for (int section = 1; section <= 3; ++section)
            card->readMoveProtectFile(QUrl::fromLocalFile(_root + "/MOV_PRCT.DAT"), section);
        card->readAdvMoveProtectFile(QUrl::fromLocalFile(_root + "/ADV_PRCT.DAT"));
        return card;
    }

    static std::span<const uint8_t> bytes(const QByteArray &data)
    {
        return {reinterpret_cast<const uint8_t *>(data.constData()), static_cast<size_t>(data.size())};
    }

    static std::vector<int> numbers(const ChapterList &chapters)
    {
        std::vector<int> result;
        for (const auto &c : chapters)
            result.push_back(c->fileNumber());
        return result;
    }

private:
    static ManagementRecordValues values(uint8_t type, const QString &key, int number, uint32_t timeStamp,
                                         int64_t atSeconds)
    {
        ManagementRecordValues v;
        v.type = type;
        v.fileName = recordName(key, number);
        v.timeStamp = timeStamp;
        v.unixSeconds = static_cast<uint32_t>(BASE_SECONDS + atSeconds);
        return v;
    }

    TempDir _dir;
    QString _root;
    std::vector<QByteArray> _vrec;
    std::array<std::vector<QByteArray>, 3> _prct;
    std::vector<QByteArray> _adv;
};
