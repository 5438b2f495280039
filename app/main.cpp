#include "highdpi.h"
#include "mainwindow.h"
#include "translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    enableHighDpiScaling();
    QApplication app(argc, argv);
    // Names the per-user folders (the erase records among them).
    QCoreApplication::setApplicationName(QStringLiteral("Purgatex"));
    QCoreApplication::addLibraryPath(QStringLiteral("C:/Program Files (x86)/Purgatex/"));
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath());
    // The user's language, or PURGATEX_LANGUAGE ("de", "en").
    installTranslations();
    auto *window = new MainWindow;
    window->show();
    const int code = app.exec();
    delete window;
    return code;
}
