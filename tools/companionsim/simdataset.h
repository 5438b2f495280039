#pragma once

// The data of the simulated phone: what the companion-app simulator lists,
// sends and erases.

#include <QHash>
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
    // Home info of the default simulated phone.
    static QString defaultHomeInfo(int sdkLevel = 28);

    // Key under which an item is erased: the id of a text record, the
    // location of a file entry, the whole entry of app data.
    static QString eraseKey(Category c, const QString &item);
    // Removes the item with this key; false when there is none.
    bool erase(Category c, const QString &key);
};
