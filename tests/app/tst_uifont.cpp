// The window's fonts name families that exist on Windows and fall back to
// sans-serif ones: where a system lacks them (Linux, Wine without Windows'
// fonts) the text is never set in a serif face. Runs on Linux and, cross-built,
// under Wine.

#include "uifont.h"

#include <QFontInfo>
#include <QtTest>

class TestUiFont : public QObject
{
    Q_OBJECT

private slots:
    void families_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QStringList>("families");
        const QStringList fallbacks = {"Arial", "Segoe UI", "Tahoma", "Liberation Sans", "DejaVu Sans"};
        QTest::newRow("table font") << "Arial" << fallbacks;
        QTest::newRow("Windows' UI font") << "Segoe UI"
                                          << QStringList{"Segoe UI", "Arial", "Tahoma", "Liberation Sans",
                                                         "DejaVu Sans"};
        QTest::newRow("other letter case, once") << "tahoma"
                                                 << QStringList{"tahoma", "Arial", "Segoe UI", "Liberation Sans",
                                                                "DejaVu Sans"};
        QTest::newRow("no family") << "" << fallbacks;
    }
    void families()
    {
        QFETCH(QString, first);
        QFETCH(QStringList, families);
        QCOMPARE(app::uifont::sansFamilies(first), families);
        const QFont font = app::uifont::sans(first, 9);
        QCOMPARE(font.families(), families);
        QCOMPARE(font.pointSize(), 9);
        QCOMPARE(font.styleHint(), QFont::SansSerif);
        QCOMPARE(app::uifont::withFallbacks(QFont(first, 11)).families(), families);
    }

    // What the system really draws with: a sans-serif family, also for a
    // first family it does not have.
    void resolvesToSansSerif_data()
    {
        QTest::addColumn<QString>("first");
        QTest::newRow("Arial") << "Arial";
        QTest::newRow("a family nobody has") << "Arail";
    }
    void resolvesToSansSerif()
    {
        QFETCH(QString, first);
        const QString drawn = QFontInfo(app::uifont::sans(first, 9)).family();
        QVERIFY2(!drawn.contains(QLatin1String("Serif")) || drawn.contains(QLatin1String("Sans")), qPrintable(drawn));
        QVERIFY2(!drawn.contains(QLatin1String("Times"), Qt::CaseInsensitive), qPrintable(drawn));
    }
};

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
