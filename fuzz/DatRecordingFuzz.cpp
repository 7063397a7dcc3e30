// libFuzzer target: the four DAT readers (movie, event, divided, legacy frame file) over one file, and
// the lookups and per-frame values over what they read.
#include "DatFuzzStretch.h"
#include "recording/DividedDatReader.h"
#include "recording/EventRecordingReader.h"
#include "recording/LegacyFrameFileReader.h"
#include "recording/MovieDatReader.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

// The readers take paths; the input goes to a file named as the divided reader expects, in a folder that
// goes with the run when it ends (libFuzzer ends it through exit()).
const QString &inputPath()
{
    static const QTemporaryDir dir(QDir::temp().filePath(QStringLiteral("orv-datfuzz-XXXXXX")));
    static const QString path = dir.filePath(QStringLiteral("Video.dat"));
    return path;
}

void exercise(const std::shared_ptr<VideoInfo> &info)
{
    for (int camera = 0; camera < 4; ++camera) {
        for (int64_t position : {int64_t(-1), int64_t(0), int64_t(200), int64_t(info->_timeSpan)})
            (void)info->findFrame(camera, position, true);
    }
    PictureData picture(QUrl::fromLocalFile("/nonexistent/fuzz.DAT"), PictureData::PictureDataType::All,
                        Date::distantPast(), Date::distantFuture(), nullptr, std::nullopt, {});
    picture.video = info;
    picture.setDistance();
    picture.setDirection();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // An input ending in a length and the mark stands for a file of that length (up to 4 GiB): the
    // bytes before them, then a hole. Crafted cards claim gigabytes in a few KB this way.
    std::optional<qint64> stretch;
    if (size >= 8 + DatFuzzStretch::MARK.size() &&
        std::equal(DatFuzzStretch::MARK.begin(), DatFuzzStretch::MARK.end(),
                   data + size - DatFuzzStretch::MARK.size())) {
        size -= DatFuzzStretch::MARK.size() + 8;
        uint64_t length = 0;
        for (size_t i = 0; i < 8; ++i)
            length = length << 8 | data[size + i];
        stretch = qint64(std::min<uint64_t>(length, DatFuzzStretch::MAX_LENGTH));
    }
    QFile file(inputPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    if (stretch && *stretch > qint64(size))
        file.resize(*stretch);
    file.close();

    const Date left = Date::distantPast();
    const Date right = Date::distantFuture();
    // Thumbnail and Classify keep the temporary files out of most runs; one reader writes them.
    const auto type = size % 2 ? PictureData::PictureDataType::All : PictureData::PictureDataType::Classify;
    bool isError = false;
    exercise(MovieDatReader::read(inputPath(), left, right, type, nullptr, isError));
    exercise(EventRecordingReader::readFileEvent(inputPath(), left, right,
                                                 PictureData::PictureDataType::Thumbnail, nullptr, isError));
    exercise(LegacyFrameFileReader::readFileOther(inputPath(), Date::fromUnixSeconds(1700000000), right,
                                                  PictureData::PictureDataType::All, nullptr, isError));
    QStringList errors;
    exercise(DividedDatReader::fromDivisionFile(QUrl::fromLocalFile(inputPath()), errors));
    return 0;
}
