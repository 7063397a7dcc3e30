#include "maintenance/BackupFolderName.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

namespace {
// The characters a folder name may not hold. Bell, backspace, vertical tab and form feed pass.
bool isRefused(char16_t c)
{
    switch (c) {
    case u'"':
    case u'<':
    case u'>':
    case u'|':
    case u':':
    case u'*':
    case u'?':
    case u'\\':
    case u'/':
        return true;
    default:
        return c < 0x20 && c != 0x07 && c != 0x08 && c != 0x0B && c != 0x0C;
    }
}
} // namespace

std::optional<BackupFolderName::Problem> BackupFolderName::check(const QString &name, int checkedChapters,
                                                                 std::int64_t freeBytes,
                                                                 std::int64_t selectionBytes)
{
    if (name.isEmpty())
        return Problem::Empty;
    if (name.startsWith(u'.'))
        return Problem::BadFormat;
    for (const QChar c : name) {
        if (isRefused(c.unicode()))
            return Problem::BadFormat;
    }
    if (graphemeCount(name) >= 256)
        return Problem::TooLong;
    if (checkedChapters <= 0)
        return Problem::NoChapter;
    if (freeBytes <= selectionBytes)
        return Problem::NoSpace;
    return std::nullopt;
}

QString BackupFolderName::message(Problem problem)
{
    switch (problem) {
    case Problem::Empty:
        return QCoreApplication::translate("BackupSettingDialog", "Please provide the folder name.");
    case Problem::BadFormat:
        return QCoreApplication::translate("BackupSettingDialog", "The folder name format is not valid.");
    case Problem::TooLong:
        return QCoreApplication::translate("BackupSettingDialog",
                                           "Folder name should be less than 255 characters.");
    case Problem::NoChapter:
        return QCoreApplication::translate("BackupSettingDialog", "Chapter was not selected.");
    case Problem::NoSpace:
        return QCoreApplication::translate("BackupSettingDialog",
                                           "There is not enough disk space or memory available.");
    }
    return {};
}

int BackupFolderName::graphemeCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}
