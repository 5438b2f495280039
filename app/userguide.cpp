#include "userguide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace app {

namespace {

const char GuideName[] = "user-guide.html";

#ifndef PURGATEX_DOC_FROM_BIN
#define PURGATEX_DOC_FROM_BIN "../share/doc/purgatex"
#endif

QByteArray compiledGuide()
{
    QFile source(QStringLiteral(":/Help/user-guide.html"));
    return source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
}

// The per-user cache folder; without one (no home folder), a private folder
// of this process made under the temporary folder.
QString copyFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty())
        return QDir(cache).filePath(QStringLiteral("help"));
    static QTemporaryDir privateFolder;
    return privateFolder.isValid() ? privateFolder.path() : QString();
}

} // namespace

QString shippedUserGuide(const QString &programFolder)
{
    const QDir folder(programFolder);
    for (const QString &path : {folder.filePath(QStringLiteral("help/user-guide.html")),
                                QDir::cleanPath(folder.filePath(QStringLiteral(PURGATEX_DOC_FROM_BIN "/user-guide.html")))}) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

QString writeUserGuideCopy(const QString &folder)
{
    const QByteArray text = compiledGuide();
    if (text.isEmpty() || folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    const QString path = QDir(folder).filePath(QLatin1String(GuideName));
    const QFileInfo existing(path);
    if (!existing.isSymLink() && existing.isFile()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == text)
            return path;
    }
    // A new file of our own, made under a fresh name, then put in place of
    // whatever had the name: a rename replaces a link, it does not follow it.
    QTemporaryFile fresh(QDir(folder).filePath(QStringLiteral("user-guide-XXXXXX.html")));
    if (!fresh.open() || fresh.write(text) != text.size() || !fresh.flush())
        return QString();
    fresh.close(); // the file stays until the object goes
    if (existing.exists() || existing.isSymLink())
        QFile::remove(path);
    if (!fresh.rename(path))
        return QString();
    fresh.setAutoRemove(false);
    return path;
}

QUrl userGuideUrl(const QString &section)
{
    QString path = shippedUserGuide(QCoreApplication::applicationDirPath());
    if (path.isEmpty())
        path = writeUserGuideCopy(copyFolder());
    if (path.isEmpty())
        return QUrl();
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!section.isEmpty())
        url.setFragment(section);
    return url;
}

} // namespace app
