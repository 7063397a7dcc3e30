// The copier's read-back, which follows the writing on a thread of its own: a file of several pieces is
// read back partly while it is still being written, and a wrong byte anywhere is still found.
#include "maintenance/VerifiedFileCopier.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
// Flips the byte at a given offset of the copy as it is written; can refuse the kernel's copy.
class FlippingCopier : public VerifiedFileCopier
{
public:
    qint64 flipAt = -1;
    bool refusesKernelCopy = false;

protected:
    ssize_t writeChunk(int fd, const char *buffer, size_t size) override
    {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        QByteArray bytes(buffer, qsizetype(size));
        if (flipAt >= at && flipAt < at + off_t(size))
            bytes[qsizetype(flipAt - at)] = char(bytes[qsizetype(flipAt - at)] ^ 0x01);
        return VerifiedFileCopier::writeChunk(fd, bytes.constData(), size);
    }
    ssize_t copyRange(int in, int out, size_t size) override
    {
        if (refusesKernelCopy) {
            errno = EXDEV;
            return -1;
        }
        const off_t at = ::lseek(out, 0, SEEK_CUR);
        const ssize_t n = VerifiedFileCopier::copyRange(in, out, size);
        char byte = 0;
        if (n > 0 && flipAt >= at && flipAt < at + n && ::pread(out, &byte, 1, flipAt) == 1) {
            byte ^= 0x01;
            EXPECT_EQ(::pwrite(out, &byte, 1, flipAt), 1);
        }
        return n;
    }
};
} // namespace

TEST(VerifiedFileCopierTest, AWrongByteIsFoundWhereverTheReadBackMeetsIt)
{
    // Several of the copier's pieces, with a short last one.
    constexpr qint64 SIZE = (qint64(40) << 20) + 3;
    TempDir dir;
    QByteArray bytes(SIZE, Qt::Uninitialized);
    for (qint64 i = 0; i < SIZE; ++i)
        bytes[i] = char(i * 13 + (i >> 12));
    const QString source = dir.write("a.MP4", bytes);
    const QString target = dir.filePath("copy.MP4");
    struct Case
    {
        const char *name;
        qint64 flipAt;
        bool ok;
    };
    const Case cases[] = {
        {"whole", -1, true},
        {"first byte, read back while writing goes on", 0, false},
        {"middle", SIZE / 2, false},
        {"last byte, read back after the writing", SIZE - 1, false},
    };
    for (const bool refusesKernelCopy : {false, true}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) +
                         (refusesKernelCopy ? ", through the buffer" : ", in the kernel"));
            QFile::remove(target);
            FlippingCopier copier;
            copier.flipAt = c.flipAt;
            copier.refusesKernelCopy = refusesKernelCopy;
            const auto result = copier.copy(source, target);
            EXPECT_EQ(result.ok, c.ok);
            QFile copy(target);
            if (c.ok) {
                ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
                EXPECT_TRUE(copy.readAll() == bytes);
            } else {
                EXPECT_FALSE(copy.exists()); // nothing left under either name
                EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
            }
        }
    }
}
