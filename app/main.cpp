#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::addLibraryPath(QStringLiteral("C:/Program Files (x86)/Purgatex/"));
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath());
    auto *window = new MainWindow;
    window->show();
    const int code = app.exec();
    delete window;
    return code;
}
