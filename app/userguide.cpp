#include "userguide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString installedGuide()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help/user-guide.html"));
    return QFileInfo::exists(path) ? path : QString();
}

QString extractedGuide()
{
    const QString dir = QDir::temp().filePath(QStringLiteral("purgatex-help"));
    const QString path = QDir(dir).filePath(QStringLiteral("user-guide.html"));
    QFile source(QStringLiteral(":/Help/user-guide.html"));
    if (!source.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray text = source.readAll();
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == text)
        return path;
    existing.close();
    QDir().mkpath(dir);
    QFile target(path);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate) || target.write(text) != text.size())
        return QString();
    return path;
}

} // namespace

QUrl userGuideUrl(const QString &section)
{
    QString path = installedGuide();
    if (path.isEmpty())
        path = extractedGuide();
    if (path.isEmpty())
        return QUrl();
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!section.isEmpty())
        url.setFragment(section);
    return url;
}
