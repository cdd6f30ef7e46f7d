#include "app/startup.h"
#include "mainwindow.h"

#include <QApplication>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    // --version and --help are answered on the terminal, before the toolkit
    // looks for a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const QString answer = commandLineAnswer(arguments); !answer.isEmpty()) {
        std::fputs(answer.toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    // The installed menu entry: desktops match the window to it by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.labelsetup.LabelSetup"));
    QTranslator translator;
    // The toolkit has already taken its own options out of the arguments;
    // what remains may name the interface language.
    configureApplication(app, translator, app.arguments().mid(1), QLocale::system());

    MainWindow window;
    window.setWindowTitle(mainWindowTitle());
    window.show();
    return app.exec();
}
