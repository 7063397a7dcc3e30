// The checks a backup request passes before any copy starts: the folder name, the selection and the space.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class BackupFolderName
{
public:
    BackupFolderName() = delete;

    enum class Problem
    {
        Empty,
        BadFormat,
        TooLong,
        NoChapter,
        NoSpace
    };

    // The first failing check in the dialog's order; none when the request may go on.
    static std::optional<Problem> check(const QString &name, int checkedChapters, std::int64_t freeBytes,
                                        std::int64_t selectionBytes);
    // The user-visible text of a problem (translated).
    static QString message(Problem problem);
    // Characters as the user sees them (grapheme clusters).
    static int graphemeCount(const QString &text);
};
