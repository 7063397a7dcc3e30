// Shift-JIS (code page 932) text conversion, used for the recording header files the camera writes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

class ShiftJisCodec
{
public:
    // The text, or nothing when the bytes are not valid CP932.
    static std::optional<QString> decode(QByteArrayView bytes);
    // The bytes, or nothing when the text has a character CP932 cannot hold.
    static std::optional<QByteArray> encode(QStringView text);
};
