#include "recording/ShiftJisCodec.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Runs one whole conversion with a descriptor of its own, so calls from several threads never
// share iconv state.
std::optional<QByteArray> convert(const char *to, const char *from, QByteArrayView input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray out;
    out.resize(input.size() * 4 + 16);
    char *in = const_cast<char *>(input.data());
    size_t inLeft = size_t(input.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            if (errno == E2BIG) {
                const qsizetype used = outPtr - out.data();
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = size_t(out.size() - used);
                continue;
            }
            ok = false; // EILSEQ or EINVAL: invalid or truncated sequence
            break;
        }
    }
    if (ok && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1))
        ok = false;
    const qsizetype used = outPtr - out.data();
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.truncate(used);
    return out;
}

} // namespace

std::optional<QString> ShiftJisCodec::decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const auto utf8 = convert("UTF-8", "CP932", bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

std::optional<QByteArray> ShiftJisCodec::encode(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    const QByteArray utf8 = text.toUtf8();
    return convert("CP932", "UTF-8", utf8);
}
