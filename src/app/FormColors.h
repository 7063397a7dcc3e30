// The colours of the main window's form, also behind the detached map window's view: black, with white
// text. They live with the widgets that use them; the shared constants of the recording layer know no
// colours.
#pragma once

#include <QColor>

namespace FormColors {
inline const QColor FROM_TEXT_COLOR = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 1.0f);
inline const QColor FROM_BACKGROUND_COLOR = QColor::fromRgbF(0.0f, 0.0f, 0.0f, 1.0f);
} // namespace FormColors
