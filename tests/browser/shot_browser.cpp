// Screenshots of the result page, one per category, with thumbnails loaded,
// and of the app page, filled from the simulated phone. Not a test.
// Run under a display: xvfb-run -a <build>/tests/browser/shot_browser <out dir>

#include "browserfixture.h"

#include "protocol/records.h"
#include "simdataset.h"

#include <QApplication>
#include <QDir>
#include <QRadioButton>

using namespace fixture;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);
    qputenv("QT_LOGGING_RULES", "default.debug=false");

    MainWindow w;
    quiet(w);
    const SimDataSet d = SimDataSet::generate(14);
    proto::addTextRecords(proto::joinRecords(d.lists[Contact]),
                          {&w.m_contactMapIdData, &w.m_contactMapNameId, &w.m_contactMapNumberId});
    proto::addTextRecords(proto::joinRecords(d.lists[History]),
                          {&w.m_historyMapIdData, &w.m_historyMapNameId, &w.m_historyMapNumberId});
    proto::addTextRecords(proto::joinRecords(d.lists[Message]),
                          {&w.m_messageMapIdData, &w.m_messageMapNameId, &w.m_messageMapNumberId});
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Photo]), &w.m_photoDir);
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Audio]), &w.m_audioDir);
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Vedio]), &w.m_vedioDir);
    for (int c = Contact; c <= Vedio; ++c)
        render(w, Category(c));
    for (const QString &entry : d.lists[Photo]) {
        const QStringList f = entry.split(';');
        auto *img = new QImage;
        img->loadFromData(d.photoData.value(f[3]));
        w.m_photoMapNameImage.insert(f[0], img);
    }
    w.updateTablePhoto();

    w.show();
    w.hidePages();
    auto showPage = [&w](const char *name) {
        QWidget *page = w.findChild<QWidget *>(QLatin1String(name));
        page->setGeometry(0, 110, 900, 490);
        page->raise();
        page->show();
    };
    showPage("C_EPrivate_IsScanning_2");
    // a few rows chosen, so the colours show
    click(w.categoryTable(Contact), 2);
    click(w.categoryTable(Contact), 3);
    click(w.categoryTable(History), 1);
    click(w.categoryTable(Message), 2);
    click(w.categoryTable(Photo), 2);
    click(w.categoryTable(Audio), 0);

    const char *names[] = {"contacts", "history", "messages", "photos", "audio", "video"};
    for (int c = Contact; c <= Vedio; ++c) {
        w.selectCategory(c);
        if (c == Contact)
            click(w.categoryTable(Contact), 2), click(w.categoryTable(Contact), 2);
        if (c == Photo)
            click(w.categoryTable(Photo), 2), click(w.categoryTable(Photo), 2);
        app.processEvents();
        w.grab().save(QStringLiteral("%1/result-%2.png").arg(outDir, QLatin1String(names[c])));
    }

    for (const auto &list : {Facebook, Twitter, Viber, Whatsapp})
        w.m_appDirFound[list - FirstAppCategory] = true;
    w.updateAppView();
    w.hidePages();
    w.findChild<QWidget *>("C_EPrivate_IsScanning_2")->hide();
    showPage("D_EApp_ToScanAndIsScanning");
    app.processEvents();
    w.grab().save(outDir + QStringLiteral("/app-page.png"));
    return 0;
}
