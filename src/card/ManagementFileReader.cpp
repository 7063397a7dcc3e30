#include "card/ManagementFileReader.h"

#include "card/AdvMoveProtectInfo.h"
#include "card/FileProblemList.h"
#include "card/MoveProtectInfo.h"
#include "card/VrecMoveManagerInfo.h"
#include "platform/BoundedFileReader.h"
#include "recording/DataUtility.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {
// Section bounds of MOV_PRCT.DAT by kind (NON, G, SURV, SW); NON has no records.
constexpr qsizetype kSectionStart[] = {0x200, 0x200, 0x1600, 0x2A00};
constexpr qsizetype kSectionEnd[] = {0x0, 0x1600, 0x2A00, 0x3400};
} // namespace

std::optional<QByteArray> ManagementFileReader::readFile(const QUrl &url, qint64 maxBytes, bool isFixedSize)
{
    if (!url.isLocalFile())
        return std::nullopt;
    const QString path = url.toLocalFile();
    if (_openReads) {
        if (const auto it = _openReads->constFind(path); it != _openReads->constEnd())
            return *it;
    }
    std::optional<QByteArray> bytes;
    // A card without one of its management files is usual and not worth a message.
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
        auto contents = BoundedFileReader::readFile(path, maxBytes,
                                                    isFixedSize ? BoundedFileReader::Oversize::TakePrefix
                                                                : BoundedFileReader::Oversize::Refuse);
        if (contents.ok())
            bytes = std::move(contents.bytes);
        else
            _problems.add(path, contents.error);
    }
    if (_openReads)
        _openReads->insert(path, bytes);
    return bytes;
}

bool ManagementFileReader::readVrecMoveManagerFile(const QUrl &url,
                                                   std::vector<std::shared_ptr<VrecMoveManagerInfo>> &out)
{
    const auto file = readFile(url, MAX_FILE_BYTES, false);
    if (!file || file->size() < VrecMoveManagerInfo::HEADER_SIZE)
        return false;
    const auto data = DataUtility::asBytes(*file);
    const uint8_t mode = data[0];
    // Mode 0 skips every invalid record, mode 1 stops at the first end marker, any other mode
    // takes nothing. Only whole records are read: the file may end without an end marker.
    if (mode > 1)
        return true;
    for (qsizetype offset = VrecMoveManagerInfo::HEADER_SIZE;
         offset + VrecMoveManagerInfo::RECORD_SIZE <= file->size();
         offset += VrecMoveManagerInfo::RECORD_SIZE) {
        auto record =
            std::make_shared<VrecMoveManagerInfo>(data.subspan(offset, VrecMoveManagerInfo::RECORD_SIZE));
        if (record->_infoEnable)
            out.push_back(std::move(record));
        else if (mode == 1 && record->_readStopFlag)
            break;
    }
    return true;
}

bool ManagementFileReader::readMoveProtectFile(const QUrl &url, int section,
                                               std::vector<std::shared_ptr<MoveProtectInfo>> &out)
{
    // Its sections end at a fixed place: nothing past the last one is ever looked at.
    const auto file = readFile(url, kSectionEnd[3], true);
    if (!file || file->size() < MoveProtectInfo::HEADER_SIZE)
        return false;
    if (section < 0 || section > 3)
        return true;
    const auto data = DataUtility::asBytes(*file);
    const uint8_t mode = data[0];
    if (mode > 1)
        return true;
    // A file cut short ends the section at its last whole record.
    const auto end = std::min(kSectionEnd[section], file->size());
    const auto detect = static_cast<MoveProtectInfo::DetectStatus>(section);
    for (qsizetype offset = kSectionStart[section]; offset + MoveProtectInfo::RECORD_SIZE <= end;
         offset += MoveProtectInfo::RECORD_SIZE) {
        auto record =
            std::make_shared<MoveProtectInfo>(data.subspan(offset, MoveProtectInfo::RECORD_SIZE), detect);
        if (record->_isInfoEnable)
            out.push_back(std::move(record));
        else if (mode == 1 && record->_isReadStopFlag)
            break;
    }
    return true;
}

bool ManagementFileReader::readAdvMoveProtectFile(const QUrl &url,
                                                  std::vector<std::shared_ptr<AdvMoveProtectInfo>> &out)
{
    const auto file = readFile(url, MAX_FILE_BYTES, false);
    if (!file || file->size() < AdvMoveProtectInfo::HEADER_SIZE)
        return false;
    const auto data = DataUtility::asBytes(*file);
    // A file name is taken once: the first record with it wins.
    QSet<QString> names;
    for (const auto &record : out)
        names.insert(record->_fileName);
    // Every whole record after the header is taken (the camera's files leave no spare record).
    for (qsizetype offset = AdvMoveProtectInfo::HEADER_SIZE;
         offset + AdvMoveProtectInfo::RECORD_SIZE <= file->size();
         offset += AdvMoveProtectInfo::RECORD_SIZE) {
        auto record =
            std::make_shared<AdvMoveProtectInfo>(data.subspan(offset, AdvMoveProtectInfo::RECORD_SIZE));
        if (!record->_infoEnable)
            continue;
        if (!names.contains(record->_fileName)) {
            names.insert(record->_fileName);
            out.push_back(std::move(record));
        }
    }
    return true;
}
