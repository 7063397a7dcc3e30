// screengrab: saves the whole screen of the X display as a PNG (screenshots of the viewer under Xvfb).
//   screengrab OUT.png

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: screengrab OUT.png\n", stderr);
        return 2;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]))) {
        std::fputs("screengrab: could not grab or save the screen\n", stderr);
        return 1;
    }
    return 0;
}
