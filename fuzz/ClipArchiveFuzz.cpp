// libFuzzer target: the keyed-archive reader and the trimmed clip's archive decoding over any bytes,
// and the clip reader that turns a decoded archive into frame tables.
#include "platform/KeyedUnarchiver.h"
#include "recording/CutClipReader.h"
#include "recording/CutVideoKihonInfo.h"
#include "recording/VideoInfo.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto archive = KeyedUnarchiver::fromData(bytes)) {
        const ArchivedValue root = archive->root();
        (void)root.className();
        for (const auto &[key, value] : root.decodeDictionary("cvki_zqa_footerCamera1List").value.entries()) {
            (void)key.toInteger();
            (void)value.decodeDate("cvfi_zqa_time");
        }
    }
    if (const auto clip = CutVideoKihonInfo::unarchive(bytes)) {
        (void)clip->archivedData();
    }
    VideoInfo info;
    bool isError = false;
    if (CutClipReader::read(info, std::span(data, size), Date::distantPast(), Date::distantFuture(),
                            isError)) {
        info.rebuildKeyLists();
        (void)info.findFrame(1, 0, true);
    }
    return 0;
}
