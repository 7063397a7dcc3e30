// Info record handed with every recording file unit to the readers: user codes, dates and folder names.
#pragma once

#include "recording/Date.h"

#include <QList>
#include <QString>
#include <QStringList>

class FullTimeDataInfo
{
public:
    // A division of a recording; it carries nothing yet.
    class Division
    {
    };

    static inline const QString DATE_FORMAT = QStringLiteral("yyyyMMddHHmmss");

    virtual ~FullTimeDataInfo() = default;

    // Set the 14-digit local-time text of the date.
    virtual void setStartDate(const Date &arg);
    virtual void setCreationDate(const Date &arg);
    // Car code, driver code, start date, creation date and folder name are all set.
    virtual bool checkAllProperties() const;
    // Both records have car code, driver code and start date, and they are equal.
    virtual bool checkInfoByKey(const FullTimeDataInfo &arg) const;
    // -1, 0 or 1 by car code, driver code, start date, creation date and folder name, compared by character
    // value; 0 when obj is none.
    virtual int CompareTo(const FullTimeDataInfo *obj) const;

    QString _userCarCode;
    QString _userDriverCode;
    QString _userDriverName;
    QString _startDate;
    QList<Division> _divisionlist;
    QString _creationDate;
    QString _dirName;
    QString _fullPath;
    QString _orgDirName;
    QStringList _divisiones;
    QString _map_X;
    QString _map_Y;
    QString _map_X_endpoint;
    QString _map_Y_endpoint;
    bool _allNGData = false;
};
