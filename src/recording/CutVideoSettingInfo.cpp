#include "recording/CutVideoSettingInfo.h"

#include "platform/ArchivedValue.h"

namespace {
constexpr const char *KEY_FILE_VERSION = "cvsi_zqa_fileVersion";
constexpr const char *KEY_TERMINAL_TYPE = "cvsi_zqa_terminalType";
constexpr const char *KEY_REC_MODE = "cvsi_zqa_recMode";
// Stored for a field without a value; the cases are stored as their declaration order, for the
// archive's sake only: decoding reads neither back.
constexpr int64_t NO_VALUE = -1;
} // namespace

KeyedArchiver::Ref CutVideoSettingInfo::encodeWithCoder(KeyedArchiver &archiver) const
{
    const auto self = archiver.encodeObject(CLASS_NAME);
    archiver.setObject(self, KEY_FILE_VERSION, archiver.encodeString(_fileVersion));
    archiver.setInteger(self, KEY_TERMINAL_TYPE, _terminalType ? int64_t(*_terminalType) : NO_VALUE);
    archiver.setInteger(self, KEY_REC_MODE, _recMode ? int64_t(*_recMode) : NO_VALUE);
    return self;
}

std::optional<CutVideoSettingInfo> CutVideoSettingInfo::initWithCoder(const ArchivedValue &coder)
{
    const auto fileVersion = coder.decodeString(KEY_FILE_VERSION);
    if (!fileVersion.isPresent()) {
        return std::nullopt;
    }
    CutVideoSettingInfo info;
    info._fileVersion = fileVersion.value;
    // The integers stored for the camera build and the recording mode have no meaning that every
    // writer of clips shares, so none is turned back into a case: every clip reads as None and Nomal.
    info._terminalType = TerminalType::None;
    info._recMode = CommonConst::RecMode::Nomal;
    return info;
}
