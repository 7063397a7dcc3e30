#include "recording/FullTimeDataInfo.h"

#include <QTimeZone>

void FullTimeDataInfo::setStartDate(const Date &arg)
{
    _startDate = arg.toCompactText(QTimeZone::systemTimeZone());
}

void FullTimeDataInfo::setCreationDate(const Date &arg)
{
    _creationDate = arg.toCompactText(QTimeZone::systemTimeZone());
}

bool FullTimeDataInfo::checkAllProperties() const
{
    return !_userCarCode.isEmpty() && !_userDriverCode.isEmpty() && !_startDate.isEmpty() &&
           !_creationDate.isEmpty() && !_dirName.isEmpty();
}

bool FullTimeDataInfo::checkInfoByKey(const FullTimeDataInfo &arg) const
{
    if (_userCarCode.isEmpty() || _userDriverCode.isEmpty() || _startDate.isEmpty())
        return false;
    if (arg._userCarCode.isEmpty() || arg._userDriverCode.isEmpty() || arg._startDate.isEmpty())
        return false;
    return _userCarCode == arg._userCarCode && _userDriverCode == arg._userDriverCode &&
           _startDate == arg._startDate;
}

int FullTimeDataInfo::CompareTo(const FullTimeDataInfo *obj) const
{
    if (!obj)
        return 0;
    for (const auto field :
         {&FullTimeDataInfo::_userCarCode, &FullTimeDataInfo::_userDriverCode, &FullTimeDataInfo::_startDate,
          &FullTimeDataInfo::_creationDate, &FullTimeDataInfo::_dirName}) {
        // Plain comparison by UTF-16 code unit, case-sensitive: "A" sorts before "a".
        const int c = QString::compare(this->*field, obj->*field, Qt::CaseSensitive);
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    return 0;
}
