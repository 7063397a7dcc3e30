// The real copier: writes to a temporary name beside the target, reads the written file back from the disk
// and compares size and hash with the source's, and only then renames it over the target. The old target
// is never removed first, and a folder standing where the file goes is refused. The bytes are copied inside
// the kernel where the file systems allow it (copy_file_range), else read and written here. The copy is
// read back on a thread of its own, piece by piece as it is written, so that reading the card and writing
// the copy go on meanwhile.
#pragma once

#include "maintenance/FileCopier.h"

#include <QByteArray>
#include <cstdint>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

class StreamHash;

class VerifiedFileCopier : public FileCopier
{
public:
    VerifiedFileCopier();
    Result copy(const QString &source, const QString &target) override;

protected:
    // System-call seams for fault injection (a full disk, a read-only folder, a file changing mid-copy).
    virtual ssize_t readChunk(int fd, char *buffer, size_t size);
    virtual ssize_t writeChunk(int fd, const char *buffer, size_t size);
    virtual int openTemporary(const QByteArray &path);
    // copy_file_range from the current offsets: bytes copied, 0 at the source's end, -1 with errno.
    virtual ssize_t copyRange(int in, int out, size_t size);

private:
    struct Digest
    {
        std::uint64_t length = 0;
        std::uint64_t hash = 0;
    };
    // One file's bytes: the source's as copied and the copy's as read back from the disk.
    struct Copied
    {
        enum class Failure
        {
            None,
            Read,
            Write,
            ReadBack,
        };
        Digest source;
        Digest readBack;
        Failure failure = Failure::None;
        int error = 0; // errno of the failure
    };
    // Closes the descriptor on every way out.
    struct Fd
    {
        int fd = -1;
        ~Fd()
        {
            if (fd >= 0)
                ::close(fd);
        }
    };
    Result copyOpen(int in, Fd &out, const QString &source, const QString &target,
                    const QByteArray &temporary);
    Copied copyAndReadBack(int in, int out);
    // One piece through the buffer: its length, 0 at the source's end, -1 after a failure noted in copied.
    ssize_t copyThroughBuffer(int in, int out, StreamHash &source, Copied &copied);
    // Hashes length bytes of fd from offset (fewer when the file is shorter) through buffer; false on a
    // read error.
    static bool hashRange(int fd, off_t offset, off_t length, StreamHash &hash, std::vector<char> &buffer);
    // Hashes a written range as the disk holds it.
    static bool readBack(int fd, off_t offset, off_t length, StreamHash &hash, std::vector<char> &buffer);

    std::vector<char> _buffer;
    std::vector<char> _readBackBuffer; // the read-back thread's
};
