#include "mainwindow.h"

#include "browser/tablespec.h"

#include <QDebug>

// After a category has been shown the scan goes on: its share goes to the
// progress and the next category is asked for (or the cancel is repeated).
void MainWindow::advanceScanAfter(int category)
{
    const TableSpec &spec = tableSpec(category);
    scanCategoryRendered(category);
    const QString scope =
        m_eraseType == EraseType::All ? QStringLiteral("All update ") : QStringLiteral("Private update ");
    qDebug() << (scope + QLatin1String(spec.progressName)) << scanProgressOfScope();
    if (m_eraseType == EraseType::Private)
        qDebug() << (QStringLiteral("end update ") + QLatin1String(spec.logName));
}
