#include "recording/CutVideoSettingInfo.h"

#include "platform/ArchivedValue.h"

namespace {
constexpr const char *KEY_FILE_VERSION = "cvsi_zqa_fileVersion";
constexpr const char *KEY_TERMINAL_TYPE = "cvsi_zqa_terminalType";
constexpr const char *KEY_REC_MODE = "cvsi_zqa_recMode";
// Stored for a field without a value; the cases are stored as their declaration order.
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
    // A stored case comes back as that case. Anything else (no value, an unknown number, an archive
    // without the key) reads as the values clips have always been read with: None and Nomal.
    const auto terminal = coder.decodeInteger(KEY_TERMINAL_TYPE, 0, 2);
    info._terminalType = terminal.isPresent() ? TerminalType(terminal.value) : TerminalType::None;
    const auto recMode = coder.decodeInteger(KEY_REC_MODE, 0, 2);
    info._recMode = recMode.isPresent() ? CommonConst::RecMode(recMode.value) : CommonConst::RecMode::Nomal;
    return info;
}
