// libFuzzer target: ADV_PRCT.DAT as the card loader reads it, and the adventure clips over its records.
#include "FuzzFile.h"

#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzFile file(QStringLiteral("ADV_PRCT.DAT"));
    file.write(data, size);
    CardData card;
    card.readAdvMoveProtectFile(file.url());
    for (const auto &record : card._advMoveProtectList) {
        (void)record->fileNumber();
        (void)card.getAdventureChapters(*record);
    }
    return 0;
}
