// Moves the camera settings between the settings file model and the camera settings dialog's state:
// showing what SETINF.DAT holds, and writing the controls as GROUP.DAT.
#pragma once

#include <QString>
#include <optional>

class CameraSettingModel;
class SettingInfo;

class CameraSettingFile
{
public:
    CameraSettingFile() = delete;

    static constexpr const char *GROUP_FILE_NAME = "GROUP.DAT";

    // Shows info's items in a fixed order; an item that is absent, unreadable or outside its control's
    // range leaves the control as it was (a number of files out of range shows the slider's maximum).
    // True when the device type is one this viewer cannot edit (the read warning is due).
    static bool load(CameraSettingModel &model, const SettingInfo &info);

    // A fresh settings file model holding the controls' values (the model's texts as they stand).
    static SettingInfo build(const CameraSettingModel &model);

    enum class SaveResult
    {
        NoFolder, // no card folder: nothing written
        Saved,    // GROUP.DAT written and read back equal
        Failed    // writing or the read-back failed: no GROUP.DAT left in the folder
    };
    // False while the camera's factory Wi-Fi password is not known to this program (its bytes are the
    // settings model's "no data" filler): the reset box cannot be offered.
    static bool canResetWifiPass();

    // Commits the texts being edited, then writes GROUP.DAT into cardFolder and checks it by reading it back.
    // error, when given, gets the file and the system's reason of a failure.
    static SaveResult save(CameraSettingModel &model, const std::optional<QString> &cardFolder,
                           QString *error = nullptr);
};
