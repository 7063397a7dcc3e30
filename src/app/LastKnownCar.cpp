#include "app/LastKnownCar.h"

std::optional<CarFix> LastKnownCar::at(const std::shared_ptr<PlayMovieValueInfo> &item,
                                       const std::shared_ptr<ChapterData> &chapter, const Walk &walk)
{
    if (_isKnown && _item.lock() == item && _chapter.lock() == chapter)
        return _fix;
    _item = item;
    _chapter = chapter;
    _fix = walk();
    _isKnown = true;
    return _fix;
}

void LastKnownCar::forget()
{
    _isKnown = false;
    _fix.reset();
}
