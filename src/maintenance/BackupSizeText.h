// Byte counts as shown by the backup and delete dialogs: megabytes of 1,048,576 bytes with one decimal and
// "," between groups of three digits, followed by " MB"; a negative count is the empty text.
#pragma once

#include <QString>
#include <cstdint>

class BackupSizeText
{
public:
    BackupSizeText() = delete;

    // The backup dialog: rounded to the nearest tenth, halves away from zero.
    static QString backupText(std::int64_t bytes);
    // The delete dialog: first cut down to hundredths, then rounded to tenths (halves to even).
    static QString cleanupText(std::int64_t bytes);

private:
    static QString formatTenths(std::int64_t tenths);
};
