// Path joining, the movie file's number and trip key, URL splitting, and the search for a card's movie files.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstdint>
#include <optional>
#include <utility>

// URLs are file URLs. A URL "denotes a directory" when its path ends in "/" (the URL's own flag, no file
// system access); fileUrl() makes such URLs for existing folders.
class FileUtil
{
public:
    FileUtil() = delete;

    // Appends each name to base, putting one "/" before it unless the text so far ends in "/". Names are
    // not inspected ("/x" gives a double slash).
    static QString appendPath(const QString &base, const QString &name, const QStringList &names = {});
    // The last four characters of the name without extension and folders, as a signed decimal; 0 when
    // there are fewer than four or they are no number ("-123" gives -123).
    static std::int32_t getFileNumber(const QString &name);
    // The 12-digit trip key cut from the start of the name: "m" + 16 digits + ".mp4" gives the 12 after the
    // "m"; 12 digits "_" 4 digits ".mp4", or 16 digits, give the first 12; empty otherwise.
    static QString getTripKey(const QString &name);
    // (the URL itself, "") for a URL that denotes a directory, else (its folder, its last component).
    static std::pair<std::optional<QUrl>, QString> splitPath(const QUrl &url);
    // Files below the folder (recursively, skipping hidden items and the contents of folders named
    // exactly "_extras") whose name contains a match of the pattern. Folders are never listed. Empty
    // when the URL does not denote a directory or cannot be read. Sorted by name within each folder.
    static QList<QUrl> findFiles(const QUrl &folder, const QString &pattern);
    // The movie files of a selection: a folder, one of the three management files (its folder is
    // searched) or a single ".MP4" file (itself). A movie file lies in a "move<digits>" folder below the
    // selected folder and has a trip key and a file number above 0.
    static QList<QUrl> searchMovieFiles(const QUrl &selection);

    // True when something exists at every path, as QFileInfo::exists finds it. Each folder is listed once
    // instead of each file being looked up: a long trip's thousands of chapters lie in a few folders.
    static bool allExist(const QStringList &paths);
    // True when something exists at the URL's path and it is a directory.
    static bool isDirectory(const QUrl &url);
    // File URL of a path, with a trailing "/" when the path is an existing folder.
    static QUrl fileUrl(const QString &path);
    // A hidden name beside target for a file that is renamed over it, or kept in its place, later:
    // ".NAME.XXXXXXXX.SUFFIX", or ".XXXXXXXX.SUFFIX" when that would pass the file system's 255 bytes.
    static QString hiddenPathBeside(const QString &target, const QString &suffix);
    // Writes a working file that lives only as long as its job (a folder removed with it). Not synced:
    // a sync would wait for every large file written to the same file system before it.
    static bool writeScratchFile(const QString &path, const QByteArray &bytes);
};

// Length characters drawn uniformly from digits and ASCII letters; for temporary file names.
QString randomString(int length);
