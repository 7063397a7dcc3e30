#include "app/WindowComposition.h"

#include "player/RenderPathChoice.h"

#include <QQuickWindow>
#include <QSGRendererInterface>

void WindowComposition::followRenderPath()
{
    static const bool chosen = [] {
        if (RenderPathChoice::isSoftwarePreferredHere())
            QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return true;
    }();
    (void)chosen;
}
