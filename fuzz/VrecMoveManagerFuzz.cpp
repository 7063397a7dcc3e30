// libFuzzer target: VREC_MOV_MNG.DAT as the card loader reads it, and the record look-up over it.
#include "FuzzFile.h"

#include "card/CardData.h"
#include "card/VrecMoveManagerInfo.h"
#include "recording/FileUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzFile file(QStringLiteral("VREC_MOV_MNG.DAT"));
    file.write(data, size);
    CardData card;
    card.readVrecMoveManagerFile(file.url());
    for (const auto &record : card._vrecList) {
        const auto found = card.findVrecRecord(FileUtil::getTripKey(record->_fileName),
                                               FileUtil::getFileNumber(record->_fileName));
        (void)found;
    }
    return 0;
}
