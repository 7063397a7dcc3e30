// The hidden files a backup leaves beside its targets when it dies mid-run (a copy under a temporary name,
// or an earlier file set aside by older versions), found by name and cleared by the next run in the
// folders it writes. A copy still being written is locked by its writer and left alone.
#pragma once

#include <QString>
#include <optional>

class BackupLeftovers
{
public:
    BackupLeftovers() = delete;

    struct Leftover
    {
        enum class Kind
        {
            Copy, // a copy never renamed into place: only the run that wrote it wanted it
            Kept, // an earlier file set aside: it goes back to its name when that name is free
        };
        Kind kind;
        QString target; // the name it stands beside; empty when too long a name was shortened away
    };

    // The leftover a file name denotes, as the copier and older runs make them: ".NAME.XXXXXXXX.part",
    // ".NAME.XXXXXXXX.keep", or without NAME; none for any other name.
    static std::optional<Leftover> parse(const QString &fileName);

    // Removes the copies in folder and puts set-aside files back where their name is free (else removes
    // them, the name holding a whole file). Returns how many it cleared.
    static int sweep(const QString &folder);
};
