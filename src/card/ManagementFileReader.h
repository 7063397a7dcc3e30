// Parses a card's management files (VREC_MOV_MNG.DAT, MOV_PRCT.DAT, ADV_PRCT.DAT) into record lists.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <vector>

class AdvMoveProtectInfo;
class FileProblemList;
class MoveProtectInfo;
class VrecMoveManagerInfo;

class ManagementFileReader
{
public:
    // VREC_MOV_MNG.DAT and ADV_PRCT.DAT have no size of their own; a real card's are a few hundred
    // KB, so a larger file is refused rather than allocated.
    static constexpr qint64 MAX_FILE_BYTES = 64 << 20;

    // Files that exist but cannot be read are listed in `problems`.
    explicit ManagementFileReader(FileProblemList &problems) : _problems(problems) {}

    // Between these two calls each file is read from the card once, however many of its sections
    // are taken: a card could change it between two reads of one open.
    void beginOpen() { _openReads.emplace(); }
    void endOpen() { _openReads.reset(); }

    // Append the file's valid records to `out`; false when the file cannot be read or is shorter
    // than its header.
    bool readVrecMoveManagerFile(const QUrl &url, std::vector<std::shared_ptr<VrecMoveManagerInfo>> &out);
    // `section` is a detect status (1 G, 2 SURV, 3 SW); another value reads nothing but the header.
    bool readMoveProtectFile(const QUrl &url, int section,
                             std::vector<std::shared_ptr<MoveProtectInfo>> &out);
    // A record naming a file already in `out` is dropped.
    bool readAdvMoveProtectFile(const QUrl &url, std::vector<std::shared_ptr<AdvMoveProtectInfo>> &out);

private:
    // At most maxBytes; past it a file is refused unless its format has a fixed size. None for a
    // missing file, and a problem listed for one that cannot be read.
    std::optional<QByteArray> readFile(const QUrl &url, qint64 maxBytes, bool isFixedSize);

    FileProblemList &_problems;
    std::optional<QHash<QString, std::optional<QByteArray>>> _openReads; // by path
};
