#include "app/PanelLayout.h"

PanelLayout::Sizes PanelLayout::sizesFor(bool fullScreen)
{
    if (fullScreen)
        return {0, 0, 0, 0};
    return {360, 360, 360, 175};
}
