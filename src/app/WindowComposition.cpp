#include "app/WindowComposition.h"

#include "player/RenderPathChoice.h"

#include <QQuickWindow>
#include <QSGRendererInterface>

void WindowComposition::followRenderPath()
{
    if (RenderPathChoice::isSoftwarePreferredHere())
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}
