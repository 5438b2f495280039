#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "formslots.h"
#include "highdpi.h"
#include "resourcesinit.h"

#include <QApplication>
#include <QDebug>
#include <QTimer>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    app::initPurgatexResources();
    qDebug() << "before init first data";
    initEnvironment();
    initSession();
    initLibraryPaths();
    initWorkflowTimers();
    ui->setupUi(this);
    app::connectFormSlots(this); // the form's on_<name>_<signal> slots
    app::bindFormPictures(this);
    // Every control of the window and its notices inherits the focus marks
    // (added before anything is polished, so no control is styled twice).
    ui->centralwidget->setStyleSheet(ui->centralwidget->styleSheet() + QLatin1Char('\n') + focusStyleSheet());
    initStepProcesses();
    initStepTimers();
    initDeviceWatcher();
    qDebug() << "after init first data";

    initWindowShell();
    initLinkNotices();
    app::smoothButtonPictures(this);
    initKeyboard();
    initAccessibility();

    ui->testLabel_2->hide();
    ui->testLabel_3->hide();
    ui->testLabel_4->hide();
    ui->label_test_debug->hide();
    ui->label_test_debug_2->hide();
    qDebug() << "after init ui";

    m_stepTimer[StepTestPort]->start(100);
    // A window not shown by then finishes its start-up at once; a shown
    // one after its first frame (MainWindow::event).
    QTimer::singleShot(0, this, [this] {
        if (!m_shownOnce)
            finishStartup();
    });
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    if (m_recordWriter) {
        // A record still being written is finished before the window goes
        // (the application, whose fonts lay out its PDF, goes after it);
        // nobody is told of it.
        m_recordWriter->done = nullptr;
        m_recordWriter->idle = nullptr;
        m_recordWriter->finishNow(m_closeRecordWaitMs);
    }
    // The window's own destruction moves the focus; nothing of the window
    // answers the application's signals from here on.
    disconnect(qApp, nullptr, this, nullptr);
    teardownSession();
    teardownDeviceLink();
    delete ui;
}
