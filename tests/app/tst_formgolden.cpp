// The form and the window built on it, checked against a text file kept in
// the tree (tests/app/golden/mainwindow.txt): every named widget of the form
// as it ships with its class, place and fixed text; then the window as the
// program makes it: the widgets its code adds or takes away, the names screen
// readers are told, and the order Tab walks. A difference fails with the first lines that
// differ; the whole dump is written beside the test binary.
//
// When the form or the window changes on purpose, write the file anew and
// read its diff before committing it:
//     PURGATEX_UPDATE_GOLDEN=1 build/tests/app/tst_formgolden

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QtTest>

namespace {

const char *const GoldenPath = PURGATEX_SOURCE_DIR "/tests/app/golden/mainwindow.txt";

QString quoted(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    t.replace(QLatin1Char('"'), QLatin1String("\\\""));
    t.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

bool named(const QWidget *w)
{
    return !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"));
}

// The text a user reads on the widget, as the form gives it.
QString fixedText(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text().isEmpty() ? QString() : QStringLiteral(" text=") + quoted(label->text());
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text().isEmpty() ? QString() : QStringLiteral(" text=") + quoted(button->text());
    if (auto *edit = qobject_cast<const QLineEdit *>(w)) {
        QString s;
        if (!edit->text().isEmpty())
            s += QStringLiteral(" text=") + quoted(edit->text());
        if (!edit->placeholderText().isEmpty())
            s += QStringLiteral(" placeholder=") + quoted(edit->placeholderText());
        return s;
    }
    return QString();
}

QString rect(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The named widgets under parent, one a line, indented by depth (unnamed
// containers are passed through).
void dumpTree(const QWidget *parent, int depth, QStringList &out)
{
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w)
            continue;
        if (!named(w)) {
            dumpTree(w, depth, out);
            continue;
        }
        out << QString(depth * 2, QLatin1Char(' ')) + QStringLiteral("%1 %2 %3%4")
                                                          .arg(QLatin1String(w->metaObject()->className()),
                                                               w->objectName(), rect(w->geometry()), fixedText(w));
        dumpTree(w, depth + 1, out);
    }
}

QStringList formDump()
{
    // The form as it ships, before the program changes any text or place.
    QMainWindow host;
    Ui::MainWindow form;
    form.setupUi(&host);
    QStringList out{QStringLiteral("[form]")};
    dumpTree(&host, 0, out);
    return out;
}

QStringList windowDump(MainWindow &w)
{
    QHash<QString, QString> inForm; // name: class
    {
        QMainWindow host;
        Ui::MainWindow form;
        form.setupUi(&host);
        for (const QWidget *c : host.findChildren<QWidget *>())
            if (named(c))
                inForm.insert(c->objectName(), QLatin1String(c->metaObject()->className()));
    }
    // Widgets the program adds to the form (+), takes away (-) or makes of
    // another class (~).
    const QList<QWidget *> all = w.findChildren<QWidget *>();
    QStringList added{QStringLiteral("[window beyond the form]")};
    QSet<QString> inWindow;
    QStringList accessible{QStringLiteral("[accessible names]")};
    for (const QWidget *c : all) {
        if (!named(c))
            continue;
        const QString line = QStringLiteral("%1 %2").arg(QLatin1String(c->metaObject()->className()), c->objectName());
        inWindow.insert(c->objectName());
        if (!inForm.contains(c->objectName()))
            added << QStringLiteral("+ ") + line;
        else if (inForm.value(c->objectName()) != QLatin1String(c->metaObject()->className()))
            added << QStringLiteral("~ ") + line;
        if (!c->accessibleName().isEmpty() || !c->accessibleDescription().isEmpty())
            accessible << QStringLiteral("%1 name=%2%3")
                              .arg(c->objectName(), quoted(c->accessibleName()),
                                   c->accessibleDescription().isEmpty()
                                       ? QString()
                                       : QStringLiteral(" description=") + quoted(c->accessibleDescription()));
    }
    QStringList gone;
    for (auto it = inForm.cbegin(); it != inForm.cend(); ++it)
        if (!inWindow.contains(it.key()))
            gone << QStringLiteral("- ") + it.key();
    gone.sort();
    added += gone;
    // The focus chain from the window round to it again: the controls Tab
    // can land on, in order (a control not on screen is passed over by Tab
    // but keeps its place).
    QStringList tab{QStringLiteral("[tab order]")};
    QSet<QWidget *> seen;
    for (QWidget *f = w.nextInFocusChain(); f && f != &w && !seen.contains(f); f = f->nextInFocusChain()) {
        seen.insert(f);
        if (named(f) && (f->focusPolicy() & Qt::TabFocus))
            tab << f->objectName();
    }
    return added + accessible + tab;
}

// The first lines where two dumps part, with a little context.
QString firstDifferences(const QStringList &want, const QStringList &got)
{
    QStringList report;
    const int n = qMax(want.size(), got.size());
    for (int i = 0; i < n && report.size() < 12; ++i) {
        const QString a = i < want.size() ? want.at(i) : QStringLiteral("<end>");
        const QString b = i < got.size() ? got.at(i) : QStringLiteral("<end>");
        if (a != b)
            report << QStringLiteral("line %1\n  golden: %2\n  now:    %3").arg(i + 1).arg(a, b);
    }
    return report.join(QLatin1Char('\n'));
}

} // namespace

class TestFormGolden : public QObject
{
    Q_OBJECT

private slots:
    void formAndWindowMatchTheGoldenFile()
    {
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop(); // no phone here
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(w.m_startupFinished); // the category tables are made after the first frame
        const QStringList dump = formDump() + windowDump(w);
        const QByteArray text = dump.join(QLatin1Char('\n')).toUtf8() + '\n';

        if (qEnvironmentVariableIntValue("PURGATEX_UPDATE_GOLDEN")) {
            QDir().mkpath(QFileInfo(QLatin1String(GoldenPath)).absolutePath());
            QFile out{QString::fromUtf8(GoldenPath)};
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(text);
            qInfo("wrote %s", GoldenPath);
            return;
        }

        QFile actual(QCoreApplication::applicationDirPath() + QStringLiteral("/mainwindow.actual.txt"));
        if (actual.open(QIODevice::WriteOnly | QIODevice::Truncate))
            actual.write(text);
        QFile golden{QString::fromUtf8(GoldenPath)};
        QVERIFY2(golden.open(QIODevice::ReadOnly), GoldenPath);
        const QStringList want = QString::fromUtf8(golden.readAll()).split(QLatin1Char('\n'));
        const QStringList got = QString::fromUtf8(text).split(QLatin1Char('\n'));
        QVERIFY2(want == got,
                 qPrintable(firstDifferences(want, got)
                            + QStringLiteral("\nwhole dump: %1\nif the change is meant, rerun with "
                                             "PURGATEX_UPDATE_GOLDEN=1 and review the diff")
                                  .arg(actual.fileName())));
    }
};

QTEST_MAIN(TestFormGolden)
#include "tst_formgolden.moc"
