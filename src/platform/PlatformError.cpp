#include "platform/PlatformError.h"

PlatformError::PlatformError(QString domain, int code)
    : _domain(std::move(domain)), _code(code),
      _what(QStringLiteral("%1 (%2)").arg(_domain).arg(code).toStdString())
{
}
