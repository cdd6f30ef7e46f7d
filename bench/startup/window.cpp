// The tool's own start: exactly what its main() does before the event loop.
#include "app/startup.h"
#include "mainwindow.h"
#include "shown.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.labelsetup.LabelSetup"));
    QTranslator translator;
    configureApplication(app, translator, app.arguments().mid(1), QLocale::system());
    MainWindow window;
    window.setWindowTitle(mainWindowTitle());
    FirstPaint paint;
    window.installEventFilter(&paint);
    window.show();
    return app.exec();
}
