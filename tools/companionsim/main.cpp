// purgatex-companion-sim: the companion app of a simulated phone, listening on
// 127.0.0.1 (port 10000 by default, where the adb forward lands). Prints what
// it is asked to erase.

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include "companionsimulator.h"
#include "protocol/messages.h"

int main(int argc, char *argv[])
{
    // Images are drawn at start; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("purgatex-companion-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated companion app of a phone."));
    parser.addHelpOption();
    QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("TCP port on 127.0.0.1."),
                                  QStringLiteral("N"), QStringLiteral("10000"));
    QCommandLineOption dataOption(QStringLiteral("data"),
                                  QStringLiteral("Folder with homeinfo.txt (the home-info text) "
                                                 "and sdk.txt (SDK level) to override the generated phone."),
                                  QStringLiteral("DIR"));
    QCommandLineOption contactsOption(QStringLiteral("contacts"),
                                      QStringLiteral("Number of generated contacts."),
                                      QStringLiteral("N"), QStringLiteral("24"));
    QCommandLineOption unerasableOption(QStringLiteral("unerasable"),
                                        QStringLiteral("Erase key (a record id or a file location) that "
                                                       "the phone fails to erase; may be repeated."),
                                        QStringLiteral("KEY"));
    QCommandLineOption unnamedOption(QStringLiteral("unnamed"),
                                     QStringLiteral("Leave every third call, message and contact without a name, "
                                                    "and a call and a contact without a number."));
    QCommandLineOption oddFilesOption(QStringLiteral("odd-files"),
                                      QStringLiteral("Add files whose names and folders hold \";\", and files "
                                                     "without a usable location."));
    QCommandLineOption messagesOption(QStringLiteral("messages"),
                                      QStringLiteral("Replace the messages by N generated ones."), QStringLiteral("N"));
    QCommandLineOption messageCharsOption(QStringLiteral("message-chars"),
                                          QStringLiteral("Characters per generated message body."),
                                          QStringLiteral("N"), QStringLiteral("200"));
    parser.addOption(unnamedOption);
    parser.addOption(oddFilesOption);
    parser.addOption(messagesOption);
    parser.addOption(messageCharsOption);
    QCommandLineOption photosOption(QStringLiteral("photos"),
                                    QStringLiteral("Replace the photos by N camera photos (JPEG with an Exif "
                                                   "thumbnail; names recur in other folders and contain others)."),
                                    QStringLiteral("N"));
    QCommandLineOption photoSizeOption(QStringLiteral("photo-size"),
                                       QStringLiteral("Pixel size of the camera photos."), QStringLiteral("WxH"),
                                       QStringLiteral("4000x3000"));
    QCommandLineOption photoPicturesOption(QStringLiteral("photo-pictures"),
                                           QStringLiteral("Different pictures among the camera photos, each drawn "
                                                          "once (0: one per photo)."),
                                           QStringLiteral("K"), QStringLiteral("8"));
    QCommandLineOption noExifOption(QStringLiteral("no-exif-thumbnail"),
                                    QStringLiteral("Camera photos without the Exif thumbnail."));
    QCommandLineOption photoChunkOption(QStringLiteral("photo-chunk"),
                                        QStringLiteral("Image bytes per photo frame."), QStringLiteral("BYTES"),
                                        QStringLiteral("4096"));
    parser.addOption(portOption);
    parser.addOption(photosOption);
    parser.addOption(photoSizeOption);
    parser.addOption(photoPicturesOption);
    parser.addOption(noExifOption);
    parser.addOption(photoChunkOption);
    parser.addOption(dataOption);
    parser.addOption(contactsOption);
    QCommandLineOption keptOption(QStringLiteral("kept"),
                                  QStringLiteral("Erase key that the phone reports erased but keeps listing; "
                                                 "may be repeated."),
                                  QStringLiteral("KEY"));
    parser.addOption(unerasableOption);
    parser.addOption(keptOption);
    parser.process(app);

    QTextStream out(stdout);
    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        QTextStream(stderr) << "invalid port: " << parser.value(portOption) << '\n';
        return 2;
    }

    SimDataSet data = SimDataSet::generate(qBound(0, parser.value(contactsOption).toInt(), 60000));
    if (parser.isSet(messagesOption))
        data.lists[Message] = SimDataSet::generateMessages(qBound(0, parser.value(messagesOption).toInt(), 5000000),
                                                           qBound(1, parser.value(messageCharsOption).toInt(), 10000),
                                                           2000);
    if (parser.isSet(unnamedOption))
        data.dropSomeNames();
    if (parser.isSet(oddFilesOption))
        data.addOddFileEntries();
    if (parser.isSet(photosOption)) {
        SimDataSet::CameraPhotos photos;
        photos.count = qBound(0, parser.value(photosOption).toInt(), 65535);
        const QStringList wh = parser.value(photoSizeOption).split(QLatin1Char('x'));
        photos.size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        if (photos.size.width() < 1 || photos.size.height() < 1
            || qint64(photos.size.width()) * photos.size.height() > 100000000) {
            QTextStream(stderr) << "invalid photo size: " << parser.value(photoSizeOption) << '\n';
            return 2;
        }
        photos.pictures = qMax(0, parser.value(photoPicturesOption).toInt());
        photos.exifThumbnail = !parser.isSet(noExifOption);
        data.lists[Photo].clear();
        data.photoData.clear();
        data.photoFormat.clear();
        data.addCameraPhotos(photos);
        out << photos.count << " camera photos of " << photos.size.width() << "x" << photos.size.height()
            << Qt::endl;
    }
    CompanionSimulator sim(data);
    sim.setPhotoChunkBytes(parser.value(photoChunkOption).toInt());
    if (parser.isSet(dataOption)) {
        const QDir dir(parser.value(dataOption));
        QFile home(dir.filePath(QStringLiteral("homeinfo.txt")));
        if (home.open(QIODevice::ReadOnly))
            sim.data().homeInfo = QString::fromUtf8(home.readAll()).trimmed();
        QFile sdk(dir.filePath(QStringLiteral("sdk.txt")));
        if (sdk.open(QIODevice::ReadOnly))
            sim.setSdkLevel(QString::fromUtf8(sdk.readAll()).trimmed().toInt());
    }

    const QStringList unerasable = parser.values(unerasableOption);
    sim.setUnerasableKeys(QSet<QString>(unerasable.begin(), unerasable.end()));
    const QStringList kept = parser.values(keptOption);
    sim.setKeptKeys(QSet<QString>(kept.begin(), kept.end()));

    QObject::connect(&sim, &CompanionSimulator::clientConnected, [&out]() {
        out << "desktop connected" << Qt::endl;
    });
    QObject::connect(&sim, &CompanionSimulator::clientDisconnected, [&out]() {
        out << "desktop disconnected" << Qt::endl;
    });
    QObject::connect(&sim, &CompanionSimulator::eraseRequested,
                     [&out](const CompanionSimulator::EraseRecord &r) {
                         out << "erase " << proto::categoryName(r.category) << " item " << r.sequence
                             << "/" << r.batchSize << " level " << r.level << ": " << r.key << Qt::endl;
                     });
    QObject::connect(&sim, &CompanionSimulator::eraseBatchAnswered, [&out](Category c, int done, int failed) {
        out << "erased " << proto::categoryName(c) << ": " << done << " done, " << failed << " failed"
            << Qt::endl;
    });
    QObject::connect(&sim, &CompanionSimulator::requestReceived, [&out](quint16 type) {
        if (type == proto::CloseProgram)
            out << "close requested" << Qt::endl;
    });

    if (!sim.listen(quint16(port))) {
        QTextStream(stderr) << "cannot listen on 127.0.0.1:" << port << '\n';
        return 1;
    }
    out << "companion app simulator listening on 127.0.0.1:" << sim.port() << Qt::endl;
    return app.exec();
}
