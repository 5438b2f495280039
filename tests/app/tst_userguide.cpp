// The user guide's fallback copy, written when the guide beside the program is
// missing, never writes through a link planted where the copy goes.

#include "resourcesinit.h"
#include "userguide.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray compiledGuide()
{
    return readAll(QStringLiteral(":/Help/user-guide.html"));
}

} // namespace

class TestUserGuide : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        app::initPurgatexResources();
        QVERIFY(compiledGuide().contains("USB debugging"));
    }

    // The guide beside the program (a build, the Windows install folder)
    // comes before the installed documentation folder of a Linux install.
    void shippedGuideIsFound_data()
    {
        QTest::addColumn<QStringList>("present"); // under the prefix; the program lies in bin/
        QTest::addColumn<QString>("found");
        const QString beside = QStringLiteral("bin/help/user-guide.html");
        const QString installed = QStringLiteral("share/doc/purgatex/user-guide.html");
        QTest::newRow("beside the program") << QStringList{beside} << beside;
        QTest::newRow("installed") << QStringList{installed} << installed;
        QTest::newRow("both") << QStringList{installed, beside} << beside;
        QTest::newRow("none") << QStringList{} << QString();
        QTest::newRow("a folder of that name") << QStringList{installed + QStringLiteral("/x")} << QString();
    }
    void shippedGuideIsFound()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, found);
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("bin"))));
        for (const QString &file : present) {
            QVERIFY(QDir().mkpath(QFileInfo(prefix.filePath(file)).absolutePath()));
            QVERIFY(writeFile(prefix.filePath(file), compiledGuide()));
        }
        QCOMPARE(app::shippedUserGuide(prefix.filePath(QStringLiteral("bin"))),
                 found.isEmpty() ? QString() : prefix.filePath(found));
    }

    void copyReplacesWhatLiesThere_data()
    {
        QTest::addColumn<QString>("planted"); // what lies at <folder>/user-guide.html
        QTest::newRow("nothing") << "nothing";
        QTest::newRow("an older copy") << "old copy";
        QTest::newRow("link to another file") << "link";
        QTest::newRow("link to a missing file") << "dangling link";
        QTest::newRow("link to a file holding the guide") << "link to guide";
    }
    void copyReplacesWhatLiesThere()
    {
        QFETCH(QString, planted);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("cache/help"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath(QStringLiteral("user-guide.html"));
        const QString victim = dir.filePath(QStringLiteral("victim.txt"));
        const QByteArray victimText = planted == QLatin1String("link to guide") ? compiledGuide() : "not yours\n";
        if (planted == QLatin1String("old copy"))
            QVERIFY(writeFile(path, "<html>an older guide</html>"));
        if (planted.contains(QLatin1String("link"))) {
            if (planted != QLatin1String("dangling link"))
                QVERIFY(writeFile(victim, victimText));
            QVERIFY(QFile::link(victim, path));
        }

        QCOMPARE(app::writeUserGuideCopy(folder), path);
        const QFileInfo written(path);
        QVERIFY(!written.isSymLink());
        QVERIFY(written.isFile());
        QCOMPARE(readAll(path), compiledGuide());
        // The link's target is left as it was: not written, not made.
        if (planted == QLatin1String("dangling link"))
            QVERIFY(!QFileInfo::exists(victim));
        else if (planted.contains(QLatin1String("link")))
            QCOMPARE(readAll(victim), victimText);
        // No half-written file is left beside the copy.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden),
                 QStringList{QStringLiteral("user-guide.html")});
    }

    // Without the guide beside the program, the links of the window open the
    // copy in the per-user cache folder, not the shared temporary folder.
    void fallbackGoesToTheUserCache()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path()));
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        const QString folder = QDir(cache).filePath(QStringLiteral("help"));
#ifdef Q_OS_WIN
        // The per-user cache of Windows (%LOCALAPPDATA%), which no variable moves.
        QVERIFY(!cache.isEmpty() && !cache.startsWith(QDir::tempPath()));
        QDir(folder).removeRecursively();
#else
        QVERIFY(folder.startsWith(home.path()));
#endif
        QVERIFY(QDir().mkpath(folder));
        const QString victim = home.filePath(QStringLiteral("victim.txt"));
        QVERIFY(writeFile(victim, "not yours\n"));
        QVERIFY(QFile::link(victim, QDir(folder).filePath(QStringLiteral("user-guide.html"))));

        const QUrl url = app::userGuideUrl(QStringLiteral("usb-drivers"));
        qputenv("XDG_CACHE_HOME", oldCache);
        QCOMPARE(url.fragment(), QStringLiteral("usb-drivers"));
        QCOMPARE(url.toLocalFile(), QDir(folder).filePath(QStringLiteral("user-guide.html")));
        QCOMPARE(readAll(url.toLocalFile()), compiledGuide());
        QCOMPARE(readAll(victim), QByteArray("not yours\n"));
    }
};

QTEST_MAIN(TestUserGuide)
#include "tst_userguide.moc"
