// libFuzzer target: the MP4 box walk, the udat entry table, the recording reader (camera files and
// the cut-clip prefix) and the lookups and per-frame values over whatever it read.
#include "recording/Mp4Reader.h"
#include "recording/Mp4RecordingReader.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);

    const Mp4Reader boxes(bytes);
    for (const auto &[type, box] : boxes.boxData())
        (void)boxes.readPayload(type);
    for (const auto &[offset, count] : boxes.readUdatTable())
        (void)boxes.readEntry(offset, count);

    bool isError = false;
    auto info = Mp4RecordingReader::read(bytes, Date::distantPast(), Date::distantFuture(), isError, {});
    if (info) {
        for (int camera = 0; camera < 3; ++camera) {
            for (int64_t position : {int64_t(-1), int64_t(0), int64_t(35), int64_t(info->_timeSpan)})
                (void)info->findFrame(camera, position, true);
        }
        PictureData picture(QUrl::fromLocalFile("/nonexistent/fuzz.MP4"), PictureData::PictureDataType::All,
                            Date::distantPast(), Date::distantFuture(), nullptr, std::nullopt, {});
        picture.video = info;
        picture.setDistance();
        picture.setDirection();
    }

    // A narrow window, and the payload's own first bytes as the expected clip prefix.
    const auto payload = boxes.readPayload(Mp4Reader::BoxType::Udat);
    (void)Mp4RecordingReader::read(bytes, Date::fromUnixSeconds(1700000000),
                                   Date::fromUnixSeconds(1800000000), isError, {});
    if (payload.size() >= 8) {
        const QByteArray prefix(reinterpret_cast<const char *>(payload.data()), 8);
        (void)Mp4RecordingReader::read(bytes, Date::distantPast(), Date::distantFuture(), isError, prefix);
    }
    return 0;
}
