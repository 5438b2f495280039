#pragma once

// The data of the simulated phone: what the companion-app simulator lists,
// sends and erases.

#include <QColor>
#include <QHash>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

#include "protocol/categories.h"

struct SimDataSet
{
    // Records / entries per category, as the companion app sends them
    // (fields separated by ";").
    QStringList lists[CategoryCount];
    // Image bytes and format per photo location.
    QHash<QString, QByteArray> photoData;
    QHash<QString, QString> photoFormat;
    // model;version;serial;sdk;field4;rom total;rom free;sd total;sd free
    QString homeInfo;

    // A phone with a few dozen records per text category, real JPEG and PNG
    // photos, audio, video and data for some of the apps.
    static SimDataSet generate(int contactCount = 24);
    // Only contacts (for large-list runs).
    static QStringList generateContacts(int count);
    // `count` messages of about `bodyChars` characters each, from `numbers`
    // different senders (for large-list runs).
    static QStringList generateMessages(int count, int bodyChars, int numbers);

    // Record number i of a list that never ends.
    static QString endlessRecord(Category c, int i);

    // Variations of a phone, for the demo and the tests:
    // every third call, message and contact without a name, and a contact
    // and a call without a number;
    void dropSomeNames();
    // photos, audio and video whose names and folders hold ";", and entries
    // without a location or with one that is not the file's.
    void addOddFileEntries();
    // Camera photos: JPEGs of a real camera's pixel size (a few MB each at
    // 4000 x 3000), with the Exif thumbnail a camera writes. The photos lie in
    // several folders: every photo's name recurs in another folder, and
    // names contain others ("IMG_0001.jpg" in "edit_IMG_0001.jpg"). Each
    // picture is drawn once and its bytes reused by every photo showing it.
    struct CameraPhotos
    {
        int count = 0;
        QSize size = QSize(4000, 3000);
        int pictures = 0;          // different pictures; 0: one per photo
        bool exifThumbnail = true; // as cameras write them
    };
    void addCameraPhotos(const CameraPhotos &photos);
    // The picture a camera photo shows (its index among addCameraPhotos'
    // photos modulo the number of pictures) and that picture's main colour.
    static QColor cameraPictureColour(int picture);
    static QByteArray cameraJpeg(int picture, const QSize &size, bool exifThumbnail);
    // A JPEG with an Exif block (APP1) holding this thumbnail, as cameras
    // write it (the JPEG unchanged when the thumbnail does not fit a block).
    static QByteArray withExifThumbnail(const QByteArray &jpeg, const QByteArray &thumbnail);

    // Home info of the default simulated phone.
    static QString defaultHomeInfo(int sdkLevel = 28);

    // Key under which an item is erased: the id of a text record, the
    // location of a file entry, the whole entry of app data.
    static QString eraseKey(Category c, const QString &item);
    // Removes every item whose key is one of these; returns the keys removed.
    QSet<QString> erase(Category c, const QSet<QString> &keys);
};
