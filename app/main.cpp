#include "app/startup.h"
#include "mainwindow.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTranslator translator;
    // The toolkit has already taken its own options out of the arguments;
    // what remains may name the interface language.
    configureApplication(app, translator, app.arguments().mid(1), QLocale::system());

    MainWindow window;
    window.setWindowTitle(mainWindowTitle());
    window.show();
    return app.exec();
}
