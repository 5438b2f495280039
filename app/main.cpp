#include "highdpi.h"
#include "mainwindow.h"
#include "translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    app::enableHighDpiScaling();
    QApplication application(argc, argv);
    // Names the per-user folders (the erase records among them).
    QCoreApplication::setApplicationName(QStringLiteral("Purgatex"));
    QCoreApplication::addLibraryPath(QStringLiteral("C:/Program Files (x86)/Purgatex/"));
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath());
    // The user's language, or PURGATEX_LANGUAGE ("de", "en").
    app::installTranslations();
    auto *window = new MainWindow;
    window->show();
    const int code = application.exec();
    delete window;
    return code;
}
