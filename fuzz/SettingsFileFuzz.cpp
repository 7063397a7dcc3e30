// libFuzzer target: the camera's settings file read as SETINF.DAT and as GROUP.DAT, and written back.
#include "FuzzFile.h"

#include "recording/SettingInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzFile file(QStringLiteral("SETINF.DAT"));
    const QString &path = file.write(data, size);
    SettingInfo settings;
    settings.Load_SETINF(path);
    (void)settings.toBytes();
    settings.Load(path);
    (void)settings.toBytes();
    return 0;
}
