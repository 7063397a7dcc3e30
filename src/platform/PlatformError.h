// An error raised by a helper or reader: a domain text and a code, like the system errors they stand in for.
#pragma once

#include <QString>
#include <exception>
#include <string>

class PlatformError : public std::exception
{
public:
    PlatformError(QString domain, int code);

    const QString &domain() const { return _domain; }
    int code() const { return _code; }
    const char *what() const noexcept override { return _what.c_str(); }

private:
    QString _domain;
    int _code = 0;
    std::string _what;
};
