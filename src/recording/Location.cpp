#include "recording/Location.h"

const Location &Location::None()
{
    static const Location none;
    return none;
}
