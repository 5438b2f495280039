// The Linux install: `cmake --install` into a fresh prefix puts the program,
// its private helpers, the guide, the menu entry and its icons in their
// places and nothing of the tests or the simulated phone; the menu entry is
// valid; and the installed program, started headless, runs its helpers from
// the private folder.

#include "simphone.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWait = 120000;

struct Run
{
    int exitCode = -1;
    QByteArray out;
};

Run run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(kWait))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAll();
    return r;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;

    QString installed(const QString &path) const { return m_prefix.filePath(path); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        const QString build = qEnvironmentVariable("PURGATEX_BUILD_DIR");
        QVERIFY2(QFileInfo(build).isDir(), "PURGATEX_BUILD_DIR");
        const Run r = run(QStringLiteral(PURGATEX_CMAKE_COMMAND),
                          {QStringLiteral("--install"), build, QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY2(r.exitCode == 0, r.out.constData());
    }

    void filesInTheirPlaces_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        QTest::newRow("program") << "bin/Purgatex" << true;
        QTest::newRow("netstat") << "libexec/purgatex/netstat" << true;
        QTest::newRow("tasklist") << "libexec/purgatex/tasklist" << true;
        QTest::newRow("taskkill") << "libexec/purgatex/taskkill" << true;
        QTest::newRow("guide") << "share/doc/purgatex/user-guide.html" << false;
        QTest::newRow("menu entry") << "share/applications/purgatex.desktop" << false;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QStringLiteral("icon %1").arg(size)))
                << QStringLiteral("share/icons/hicolor/%1x%1/apps/purgatex.png").arg(size) << false;
    }
    void filesInTheirPlaces()
    {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo info(installed(path));
        QVERIFY2(info.isFile(), qPrintable(path));
        QCOMPARE(info.isExecutable(), executable);
        if (path.endsWith(QLatin1String(".png")))
            QCOMPARE(QImage(info.filePath()).size().width(), path.section('/', 3, 3).section('x', 0, 0).toInt());
    }

    // Only what a user needs: no helper on PATH, no stand-in adb, simulator
    // or test program.
    void nothingElse()
    {
        QStringList files;
        QDirIterator it(m_prefix.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(m_prefix.path()).relativeFilePath(it.next());
        files.sort();
        for (const QString &file : qAsConst(files)) {
            const bool expected = file == QLatin1String("bin/Purgatex") || file.startsWith(QLatin1String("libexec/purgatex/"))
                || file.startsWith(QLatin1String("share/doc/purgatex/")) || file == QLatin1String("share/applications/purgatex.desktop")
                || file.startsWith(QLatin1String("share/icons/hicolor/")) || file == QLatin1String("share/purgatex/Purgatex.apk");
            QVERIFY2(expected, qPrintable(file));
        }
        QCOMPARE(QDir(installed("bin")).entryList(QDir::Files), QStringList{QStringLiteral("Purgatex")});
    }

    void menuEntryIsValid()
    {
        const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        QVERIFY2(!validate.isEmpty(), "desktop-file-validate (package desktop-file-utils) is missing");
        const QString entry = installed("share/applications/purgatex.desktop");
        const Run r = run(validate, {entry});
        QVERIFY2(r.exitCode == 0 && r.out.trimmed().isEmpty(), r.out.constData());
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("\nExec=Purgatex\n"));
        QVERIFY(text.contains("\nIcon=purgatex\n"));
    }

    // Started headless with the simulated phone's adb on PATH and no tool
    // folder set, the installed program logs the helpers of its private
    // folder and runs the port check with them.
    void installedProgramFindsItsHelpers()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("PURGATEX_TOOLS_DIR"));
        env.insert(QStringLiteral("PURGATEX_SIM_DIR"), phone.dir());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PATH"), SimPhone::toolsDir() + QLatin1Char(':') + env.value(QStringLiteral("PATH")));

        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setWorkingDirectory(m_prefix.path());
        program.start(installed("bin/Purgatex"), QStringList());
        QVERIFY2(program.waitForStarted(kWait), qPrintable(program.errorString()));
        QByteArray log;
        const QByteArray helpers = "helpers used: \"" + QFile::encodeName(installed("libexec/purgatex/netstat")) + "\" \""
            + QFile::encodeName(installed("libexec/purgatex/tasklist")) + "\" \""
            + QFile::encodeName(installed("libexec/purgatex/taskkill")) + "\"";
        const QByteArray adb = "adb used: \"" + QFile::encodeName(SimPhone::toolPath(QStringLiteral("adb"))) + "\"";
        // The port check has read the installed netstat's table (of this
        // machine, whatever it holds) and judged it.
        const bool reached = QTest::qWaitFor(
            [&] {
                log += program.readAll();
                return log.contains("port readready") && log.contains("port,no e");
            },
            kWait);
        program.kill();
        program.waitForFinished(kWait);
        log += program.readAll();
        QVERIFY2(reached, log.right(3000).constData());
        QVERIFY2(log.contains(helpers), log.left(3000).constData());
        QVERIFY2(log.contains(adb), log.left(3000).constData());
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
