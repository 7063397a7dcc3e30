// libFuzzer target: MOV_PRCT.DAT as the card loader reads it, every section of it.
#include "FuzzFile.h"

#include "card/CardData.h"
#include "card/MoveProtectInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzFile file(QStringLiteral("MOV_PRCT.DAT"));
    file.write(data, size);
    CardData card;
    for (int section = 0; section <= 4; ++section)
        card.readMoveProtectFile(file.url(), section);
    for (const auto &record : card._moveProtectList) {
        (void)card.getEventChapters(*record);
        (void)card.getSurveillanceChapters(*record);
    }
    return 0;
}
