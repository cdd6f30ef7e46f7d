// The floor: a bare main window of the same size showing the same Chinese
// text, with nothing of the tool linked.
#include "shown.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("标签机设置工具V1.0.9"));
    window.setCentralWidget(new QLabel(QStringLiteral("标签机设置工具")));
    window.setFixedSize(1360, 780);
    FirstPaint paint;
    window.installEventFilter(&paint);
    window.show();
    return app.exec();
}
