// Test helper: a chapter's record in a card's "VREC_MOV_MNG.DAT" made empty, as on a card that lost it; the
// reader skips an empty record.
#pragma once

#include "samplecard/ManagementFileWriter.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// folder: the card's folder that holds the file.
inline bool loseMovieRecord(const QString &folder, int index)
{
    QFile records(folder + QStringLiteral("/VREC_MOV_MNG.DAT"));
    return records.open(QIODevice::ReadWrite) &&
           records.seek(ManagementFileWriter::VREC_HEADER_SIZE +
                        qint64(index) * ManagementFileWriter::VREC_RECORD_SIZE) &&
           records.write(QByteArray(ManagementFileWriter::VREC_RECORD_SIZE, '\0')) ==
               ManagementFileWriter::VREC_RECORD_SIZE;
}
