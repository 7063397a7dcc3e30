#include "card/FileProblemList.h"

#include <algorithm>

bool FileProblemList::add(const QString &file, const QString &reason)
{
    if (reason.isEmpty())
        return false;
    std::lock_guard lock(_mutex);
    const bool known = std::any_of(_problems.begin(), _problems.end(),
                                   [&](const Problem &p) { return p.file == file && p.reason == reason; });
    if (known)
        return false;
    _problems.push_back({file, reason});
    return true;
}

std::vector<FileProblemList::Problem> FileProblemList::problems() const
{
    std::lock_guard lock(_mutex);
    return _problems;
}

void FileProblemList::clear()
{
    std::lock_guard lock(_mutex);
    _problems.clear();
}
