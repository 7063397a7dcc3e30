// libFuzzer target: the recording header file "Playback.inf" (Shift-JIS INI text).
#include "FuzzFile.h"

#include "recording/PlaybackInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzFile file(QStringLiteral("Playback.inf"));
    PlaybackInfo playback;
    playback.load(file.write(data, size));
    return 0;
}
