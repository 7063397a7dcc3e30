#include "recording/CutVideoBoxWriter.h"

#include "recording/CutVideoKihonInfo.h"
#include "recording/SettingInfo.h"

#include <QFile>
#include <QtEndian>
#include <limits>

namespace {
bool failWith(QString *error, const QString &text)
{
    if (error) {
        *error = text;
    }
    return false;
}
} // namespace

std::optional<QByteArray> CutVideoBoxWriter::makeBox(const QByteArray &archive)
{
    const QByteArray type = QByteArrayLiteral("udat");
    const SettingInfo::Bytes item = SettingInfo().getItem(SettingInfo::DataType::FileInfo);
    const qint64 size = qint64(4) + type.size() + qint64(item.size()) + archive.size();
    if (size > qint64(std::numeric_limits<quint32>::max())) {
        return std::nullopt;
    }
    QByteArray box(4, '\0');
    qToBigEndian(quint32(size), box.data());
    box += type;
    box.append(reinterpret_cast<const char *>(item.data()), qsizetype(item.size()));
    box += archive;
    return box;
}

bool CutVideoBoxWriter::append(const QString &path, const CutVideoKihonInfo &info, QString *error)
{
    const auto archive = info.archivedData();
    if (!archive) {
        return failWith(error, QStringLiteral("cannot archive the clip's metadata"));
    }
    const auto box = makeBox(*archive);
    if (!box) {
        return failWith(error, QStringLiteral("the clip's metadata is too large for its box"));
    }
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        return failWith(error, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    }
    const qint64 oldSize = file.size();
    const bool written = file.write(*box) == box->size() && file.flush();
    if (!written) {
        const QString reason = file.errorString();
        // A partial box would make the clip's last box unreadable: take it off again.
        file.resize(oldSize);
        return failWith(error, QStringLiteral("cannot write %1: %2").arg(path, reason));
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        QFile(path).resize(oldSize);
        return failWith(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
    return true;
}
