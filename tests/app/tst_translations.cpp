#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/translations.h"
#include "companionsimulator.h"
#include "devicelink/linkhelp.h"
#include "workflow/eraseplan.h"
#include "workflow/eraserecord.h"
#include "workflow/erasesummary.h"
#include "workflow/recordtext.h"
#include "support/windowrig.h"

#include <QDirIterator>
#include <QHeaderView>
#include <QImageReader>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QResource>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// The German translation: complete for every text of the sources, and every
// German text fits its place on the pages and notices of the real window
// (at 1x; the screenshots show 2x). The suite speaks German throughout, as
// the program does when it starts with PURGATEX_LANGUAGE=de.
namespace {

using namespace rig;

// ----- the .ts file -----

struct TsMessage
{
    QString context;
    QString source;
    bool numerus = false;
    QString type; // "unfinished", "vanished", "obsolete" or empty
    QStringList translations;
};

QList<TsMessage> readTs(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QList<TsMessage> out;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            TsMessage m;
            m.context = context;
            m.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    m.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    m.type = xml.attributes().value(QLatin1String("type")).toString();
                    if (m.numerus) {
                        while (xml.readNextStartElement())
                            m.translations << xml.readElementText();
                    } else {
                        m.translations << xml.readElementText();
                    }
                } else {
                    xml.skipCurrentElement();
                }
            }
            out << m;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return out;
}

// The blanks a text fills: %1 ... %99, %L1, %n, %Ln, sorted.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("%L?(\\d{1,2}|n)"));
    QStringList found;
    auto it = re.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(0);
    found.sort();
    found.removeDuplicates();
    return found;
}

// ----- fitting -----

bool isTrace(const QWidget *w)
{
    const QString name = w->objectName();
    return name.startsWith(QLatin1String("testLabel")) || name.startsWith(QLatin1String("label_test"));
}

// Where a label, button, choice or field draws its words: the room it has
// and the room the words take, in the widget's coordinates. False when it
// shows no words.
struct TextPlace
{
    QString text;
    QRect room;
    QRect needed;
};

bool textPlace(QWidget *w, TextPlace *place)
{
    w->ensurePolished(); // the style sheet sets the font
    int flags = Qt::TextShowMnemonic;
    QString text;
    QRect room;
    if (auto *label = qobject_cast<QLabel *>(w)) {
        text = label->text();
        if (text.isEmpty() || label->pixmap(Qt::ReturnByValue).width() > 0)
            return false;
        const int margin = label->margin() + (label->indent() > 0 ? label->indent() : 0);
        room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    } else if (auto *button = qobject_cast<QPushButton *>(w)) {
        text = button->text();
        if (text.isEmpty())
            return false;
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = text;
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
        flags |= Qt::AlignCenter;
    } else if (auto *radio = qobject_cast<QRadioButton *>(w)) {
        text = radio->text();
        if (text.isEmpty())
            return false;
        QStyleOptionButton opt;
        opt.initFrom(radio);
        opt.text = text;
        room = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, radio);
        flags |= Qt::AlignLeft | Qt::AlignVCenter;
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        text = edit->placeholderText();
        if (text.isEmpty() || !edit->text().isEmpty())
            return false;
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
        room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit).adjusted(2, 0, -2, 0);
        flags |= Qt::AlignLeft | Qt::AlignVCenter;
    } else {
        return false;
    }
    place->text = text;
    place->room = room;
    place->needed = w->fontMetrics().boundingRect(room, flags, text);
    return true;
}

// "object: text (needs W x H, has W x H)" when the words do not fit.
QString overflow(QWidget *w, const TextPlace &p)
{
    if (p.needed.width() <= p.room.width() && p.needed.height() <= p.room.height())
        return QString();
    return QStringLiteral("%1: \"%2\" (needs %3 x %4, has %5 x %6)")
        .arg(w->objectName(), p.text)
        .arg(p.needed.width())
        .arg(p.needed.height())
        .arg(p.room.width())
        .arg(p.room.height());
}

// The column titles of a table's header that do not fit their column.
QStringList headerOverflows(QTableWidget *table)
{
    QStringList out;
    QHeaderView *header = table->horizontalHeader();
    if (header->isHidden())
        return out;
    const int margin = 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < table->columnCount(); ++c) {
        if (table->isColumnHidden(c) || !table->horizontalHeaderItem(c))
            continue;
        const QString text = table->horizontalHeaderItem(c)->text();
        const int needed = header->fontMetrics().horizontalAdvance(text) + margin;
        if (needed > header->sectionSize(c))
            out << QStringLiteral("%1 column %2: \"%3\" (needs %4, has %5)")
                       .arg(table->objectName())
                       .arg(c)
                       .arg(text)
                       .arg(needed)
                       .arg(header->sectionSize(c));
    }
    return out;
}

// Words laid over each other on purpose: the SMS page's highlighted "Yes"
// lies in the gap its sentence leaves for it.
bool meantToLieOver(const QWidget *a, const QWidget *b)
{
    const QStringList names{a->objectName(), b->objectName()};
    return names.contains(QLatin1String("A_MP_ChangeDefault_SMS_Label_Text"))
           && names.contains(QLatin1String("A_MP_ChangeDefault_SMS_Label_Yes"));
}

// Everything shown under `root` whose words do not fit, or run into the
// words of another widget, named by `where`.
QStringList overflowsUnder(QWidget *root, const QString &where)
{
    QStringList out;
    QList<QPair<QWidget *, QRect>> drawn; // the words' places in root's coordinates
    const auto widgets = root->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->isVisibleTo(root) || isTrace(w))
            continue;
        TextPlace place;
        if (textPlace(w, &place)) {
            const QString problem = overflow(w, place);
            if (!problem.isEmpty())
                out << where + QStringLiteral(": ") + problem;
            const QRect words = place.needed.intersected(w->rect());
            drawn << qMakePair(w, QRect(w->mapTo(root, words.topLeft()), words.size()));
        }
        if (auto *table = qobject_cast<QTableWidget *>(w))
            for (const QString &h : headerOverflows(table))
                out << where + QStringLiteral(": ") + h;
    }
    for (int i = 0; i < drawn.size(); ++i)
        for (int j = i + 1; j < drawn.size(); ++j) {
            QWidget *a = drawn.at(i).first;
            QWidget *b = drawn.at(j).first;
            if (a->isAncestorOf(b) || b->isAncestorOf(a) || meantToLieOver(a, b))
                continue;
            if (drawn.at(i).second.intersects(drawn.at(j).second))
                out << QStringLiteral("%1: the words of %2 run into those of %3")
                           .arg(where, a->objectName(), b->objectName());
        }
    return out;
}

workflow::EraseAccount::Phone phone()
{
    workflow::EraseAccount::Phone p;
    p.model = QStringLiteral("Pixel 7a");
    p.androidVersion = QStringLiteral("14");
    p.serial = QStringLiteral("R58N91XKQ2B");
    p.phoneTotal = QStringLiteral("118.6 GB");
    p.phoneFree = QStringLiteral("61.2 GB");
    return p;
}

QDateTime at(int secs)
{
    return QDateTime(QDate(2026, 12, 1), QTime(10, 15, 2), Qt::UTC).addSecs(secs);
}

// A run of contacts and photos: `sent` of each chosen sent and answered
// with `failed` failures, then ended.
workflow::EraseAccount account(workflow::EraseAccount::Outcome outcome, const QString &reason, int chosen, int sent, int failed)
{
    workflow::EraseAccount a;
    a.begin(EraseType::Private, 7, phone(), at(0));
    for (int c : {int(Contact), int(Photo)}) {
        QStringList keys;
        for (int i = 0; i < chosen; ++i)
            keys << (c == Photo ? QStringLiteral("/sdcard/DCIM/Camera/IMG_%1.jpg").arg(i) : QString::number(100 + i));
        a.choose(c, keys);
        for (int i = 0; i < sent; ++i)
            a.markSent(c, keys.at(i), quint32(i + 1));
        if (sent > 0)
            a.noteAnswer(c, quint32(sent - failed), quint32(failed));
    }
    a.markListNotRead(Message, workflow::eraseplan::listRefusedReason());
    a.end(outcome, at(60), reason);
    return a;
}

// Fails with every problem listed in the log (a test message is cut short).
bool noProblems(QStringList problems)
{
    problems.removeDuplicates();
    for (const QString &p : qAsConst(problems))
        qWarning().noquote() << p;
    return problems.isEmpty();
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

    std::unique_ptr<Rig> m_rig; // scanned once for the whole suite
    MainWindow *m_w = nullptr;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void chooseLanguage_data();
    void chooseLanguage();
    void everySourceTextHasAGermanTranslation();
    void germanPicturesMatchTheEnglishOnes();
    void pagesSpeakGerman_data();
    void pagesSpeakGerman();
    void germanTextsFitThePages();
    void germanTextsFitTheNotices();
    void recordStaysEnglishWhileThePdfAndReportSpeakGerman();
};

void TestTranslations::initTestCase()
{
    QVERIFY(app::shippedLanguages().contains(QStringLiteral("de")));
    QVERIFY(app::installTranslation(QStringLiteral("de")));
    QCOMPARE(QLocale().language(), QLocale::German);
    // A real Private scan of the simulated phone: the results page with its
    // tables, captions and column titles as the user sees them.
    m_rig = std::make_unique<Rig>();
    m_w = &m_rig->w;
    QVERIFY(m_rig->connect());
    QVERIFY(scanWhole(*m_w, m_w->ui->S_Private_Button));
}

void TestTranslations::cleanupTestCase()
{
    m_rig.reset();
}

void TestTranslations::chooseLanguage_data()
{
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("German of Germany") << QStringList{"de-DE"} << "de";
    QTest::newRow("German of Austria, as LANG writes it") << QStringList{"de_AT"} << "de";
    QTest::newRow("plain language") << QStringList{"de"} << "de";
    QTest::newRow("French first, German next") << QStringList{"fr-FR", "fr", "de-DE"} << "de";
    QTest::newRow("English first wins over German next") << QStringList{"en-GB", "de-DE"} << "en";
    QTest::newRow("C locale") << QStringList{"C"} << "en";
    QTest::newRow("no language Qt knows, then German") << QStringList{"xx-YY", "de"} << "de";
    QTest::newRow("only languages without a translation") << QStringList{"fr-FR", "ja-JP"} << "en";
    QTest::newRow("nothing asked") << QStringList{} << "en";
}

void TestTranslations::chooseLanguage()
{
    QFETCH(QStringList, asked);
    QFETCH(QString, chosen);
    QCOMPARE(app::chooseLanguage(asked, {QStringLiteral("de")}), chosen);
}

// lupdate, run over the sources as the build's purgatex-lupdate target runs
// it, finds nothing new, nothing gone and nothing untranslated: the .ts in the
// tree is exactly what lupdate makes of the sources, and every text has its
// German with the same blanks.
void TestTranslations::everySourceTextHasAGermanTranslation()
{
    const QString committed = QStringLiteral(PURGATEX_SOURCE_DIR "/translations/purgatex_de.ts");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fresh = dir.filePath(QStringLiteral("purgatex_de.ts"));
    QVERIFY(QFile::copy(committed, fresh));
    QFile(fresh).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(PURGATEX_SOURCE_DIR));
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList arguments = QStringLiteral(PURGATEX_LUPDATE_ARGUMENTS).split(QLatin1Char('|'));
    lupdate.start(QStringLiteral(PURGATEX_LUPDATE), arguments + QStringList{QStringLiteral("-ts"), fresh});
    QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
    const QString output = QString::fromLocal8Bit(lupdate.readAll());
    QCOMPARE(lupdate.exitCode(), 0);

    QString error;
    const QList<TsMessage> messages = readTs(fresh, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(messages.size() > 300);
    QStringList problems;
    for (const TsMessage &m : messages) {
        const QString where = m.context + QStringLiteral(": \"") + m.source + QLatin1Char('"');
        if (!m.type.isEmpty()) {
            problems << QStringLiteral("%1 is %2").arg(where, m.type);
            continue;
        }
        if (m.numerus && m.translations.size() != 2)
            problems << QStringLiteral("%1 has %2 plural forms, German has 2").arg(where).arg(m.translations.size());
        for (const QString &t : m.translations) {
            if (t.isEmpty())
                problems << where + QStringLiteral(" has an empty translation");
            else if (placeholders(t) != placeholders(m.source))
                problems << QStringLiteral("%1: \"%2\" fills other blanks").arg(where, t);
            // Pieces joined to their neighbours keep the blanks at their ends.
            if (m.source.startsWith(QLatin1Char(' ')) != t.startsWith(QLatin1Char(' '))
                || m.source.endsWith(QLatin1Char(' ')) != t.endsWith(QLatin1Char(' ')))
                problems << QStringLiteral("%1: \"%2\" has other blanks at its ends").arg(where, t);
        }
    }
    QVERIFY2(noProblems(problems), "see the lines above");

    QFile a(committed), b(fresh);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QVERIFY2(a.readAll() == b.readAll(),
             qPrintable(QStringLiteral("translations/purgatex_de.ts is not what lupdate makes of the sources: run "
                                       "cmake --build build --target purgatex-lupdate and translate what it adds\n")
                        + output));
}

// Every picture that carries words is drawn in German too, at the English
// picture's size and at twice it: a German picture without its "@2x" would
// leave a scaling screen the English one.
void TestTranslations::germanPicturesMatchTheEnglishOnes()
{
    const QString folder = QStringLiteral(PURGATEX_SOURCE_DIR "/resources/de/Image");
    QDirIterator it(folder, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    int pictures = 0;
    QStringList problems;
    while (it.hasNext()) {
        const QString file = it.next();
        const QString name = QStringLiteral(":/Image") + file.mid(folder.size());
        ++pictures;
        const QSize german = QImageReader(file).size();
        const QSize english = QImageReader(QStringLiteral(PURGATEX_SOURCE_DIR "/resources/Image")
                                           + file.mid(folder.size()))
                                  .size();
        if (german != english)
            problems << QStringLiteral("%1: %2x%3, English %4x%5")
                            .arg(name)
                            .arg(german.width())
                            .arg(german.height())
                            .arg(english.width())
                            .arg(english.height());
        if (!name.contains(QLatin1String("@2x")) && !QFile::exists(file.left(file.size() - 4) + QStringLiteral("@2x.png")))
            problems << name + QStringLiteral(" has no @2x drawing");
        // The program reads the German one under the English name.
        QResource compiled(name);
        QFile drawn(file);
        QVERIFY(drawn.open(QIODevice::ReadOnly));
        if (!compiled.isValid() || compiled.uncompressedData() != drawn.readAll())
            problems << name + QStringLiteral(" is not the compiled-in German picture");
    }
    QVERIFY2(pictures >= 100, qPrintable(QString::number(pictures)));
    QVERIFY2(noProblems(problems), "see the lines above");
    // The English stays for other languages.
    QResource english(QStringLiteral(":/Image/Action/EraseNow1.png"), QLocale::c());
    QResource german(QStringLiteral(":/Image/Action/EraseNow1.png"));
    QVERIFY(english.isValid() && german.isValid());
    QVERIFY(english.uncompressedData() != german.uncompressedData());
}

void TestTranslations::pagesSpeakGerman_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("text");
    QTest::newRow("form text") << "A_MP_IsInstalling_Label_Note" << "Hinweis:";
    QTest::newRow("level notice") << "T_M_SelectLevel_RatioButton_MediumLevel" << "Mittlere Stufe (empfohlen)";
    QTest::newRow("caption of a category, with its count") << "EP_IsScanning_PushButton_Contact" << "Kontakte\n(";
    QTest::newRow("search placeholder") << "EP_IsScanning_TextBroswerEditor" << "Name oder Nummer suchen";
    QTest::newRow("the confirm word stays the word to type") << "M_ConformErase_Label_EraseWord" << "\u2018Erase\u2019";
}

void TestTranslations::pagesSpeakGerman()
{
    QFETCH(QString, object);
    QFETCH(QString, text);
    QWidget *w = m_w->findChild<QWidget *>(object);
    QVERIFY(w);
    QString shown;
    if (auto *label = qobject_cast<QLabel *>(w))
        shown = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        shown = button->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(w))
        shown = edit->placeholderText();
    QVERIFY2(shown.startsWith(text), qPrintable(shown));
}

// Every page of the window with the German texts it can show: each scope of
// the scan page, the results page with every category, the confirm page
// with every scope, level and the longest summary, the countdowns, the
// report of each outcome.
void TestTranslations::germanTextsFitThePages()
{
    MainWindow &w = *m_w;
    QStringList problems;
    const auto check = [&](QWidget *page, const QString &where) {
        w.hidePages();
        page->show();
        problems << overflowsUnder(page, where);
    };
    // (The report page is shown only once filled, below.)
    for (QWidget *page : qAsConst(w.m_pageList))
        if (page != w.ui->M_EraseCompleted_3)
            check(page, page->objectName());

    for (EraseType scope : {EraseType::All, EraseType::Private, EraseType::App}) {
        w.showScanPage(scope);
        check(w.ui->B_EAll_ToScan, QStringLiteral("scan page %1").arg(int(scope)));
    }
    for (int c = Contact; c <= Vedio; ++c) {
        w.hidePages();
        w.ui->C_EPrivate_IsScanning_2->show();
        w.selectCategory(c);
        problems << overflowsUnder(w.ui->C_EPrivate_IsScanning_2, QStringLiteral("results, category %1").arg(c));
    }
    w.ui->M_All_Private_IsScanning_Label_leftTime->setText(w.tr("Calculating time ..."));
    check(w.ui->M_All_Private_IsScanning, QStringLiteral("scanning page"));
    w.ui->M_All_Private_IsScanning_Label_leftTime->setText(w.tr("Remain Time ") + QStringLiteral("12:34:56"));
    check(w.ui->M_All_Private_IsScanning, QStringLiteral("scanning page, time left"));
    w.ui->M_IsErasing_Label_TimeLeft->setText(w.tr("Remaining Time ") + QStringLiteral("12:34:56"));
    check(w.ui->M_IsErasing_2, QStringLiteral("erasing page, time left"));

    // The confirm page: each scope's title, each level, the longest summary.
    workflow::erasesummary::Figure figures[CategoryCount];
    const int counts[CategoryCount] = {12345, 23456, 34567, 4567, 567, 89, 1234, 123, 12, 1, 345, 6789};
    for (int c = 0; c < CategoryCount; ++c)
        figures[c].items = counts[c];
    for (EraseType scope : {EraseType::All, EraseType::Private, EraseType::App}) {
        for (quint16 level : {quint16(10), quint16(7), quint16(3)}) {
            w.m_eraseType = scope;
            w.showConfirmPage();
            w.setEraseLevel(level);
            w.ui->M_ConformErase_Label_WhatIsErased->setText(workflow::erasesummary::summary(scope, figures));
            problems << overflowsUnder(w.ui->M_ConformErase_1,
                                       QStringLiteral("confirm page, scope %1, level %2").arg(int(scope)).arg(level));
        }
    }
    figures[History].threads = 3;
    figures[Message].threads = 1;
    w.ui->M_ConformErase_Label_WhatIsErased->setText(workflow::erasesummary::summary(EraseType::Private, figures));
    problems << overflowsUnder(w.ui->M_ConformErase_1, QStringLiteral("confirm page, private by thread"));

    // The report page of each outcome.
    const QList<workflow::EraseAccount> runs = {
        account(workflow::EraseAccount::Outcome::Completed, QString(), 3, 3, 0),
        account(workflow::EraseAccount::Outcome::CompletedWithFailures, QString(), 120, 120, 7),
        account(workflow::EraseAccount::Outcome::Cancelled, QStringLiteral("cancelled by the user"), 2400, 1200, 0),
        account(workflow::EraseAccount::Outcome::Interrupted, QStringLiteral("the link to the phone was lost"), 2400, 1200, 3),
    };
    for (const workflow::EraseAccount &run : runs) {
        w.m_eraseAccount = run;
        workflow::eraseverification::prepare(w.m_eraseAccount);
        w.m_recordWritten = workflow::eraserecord::Written();
        w.m_recordWritten.pdfPath = QStringLiteral("/home/someone/.local/share/Purgatex/records/"
                                                   "erase-20261201-101502Z-R58N91XKQ2B.pdf");
        w.fillEraseReport();
        check(w.ui->M_EraseCompleted_3, QStringLiteral("report, %1").arg(workflow::eraserecord::outcomeText(run.outcome())));
    }
    QVERIFY2(noProblems(problems), "see the lines above");
}

// Every notice with the German texts it can show: the device link's help of
// every problem (as Windows and as Linux tell it), the driver advice of
// both, the cancel notice of both kinds, the app-state titles, the erase
// cancelled notice.
void TestTranslations::germanTextsFitTheNotices()
{
    MainWindow &w = *m_w;
    QStringList problems;
    const auto check = [&](QWidget *notice, const QString &where) {
        notice->show();
        problems << overflowsUnder(notice, where);
        notice->hide();
    };
    for (const auto &entry : qAsConst(w.m_noticeList))
        check(entry.first, entry.first->objectName());

    const QString detail = QStringLiteral("adb: failed to install Purgatex.apk: Failure [INSTALL_FAILED_VERSION_DOWNGRADE]");
    for (bool windows : {true, false}) {
        for (int p = 0; p < devicelink::LinkProblemCount; ++p) {
            const devicelink::HelpText help = devicelink::helpText(devicelink::LinkProblem(p), detail, windows);
            if (help.heading.isEmpty())
                continue;
            w.ui->A_MP_D_LinkHelp_Label_Heading->setText(help.heading);
            w.ui->A_MP_D_LinkHelp_Label_Text->setText(help.text);
            check(w.ui->A_MP_D_LinkHelp, QStringLiteral("link help %1 %2").arg(p).arg(windows ? "Windows" : "Linux"));
        }
        const devicelink::DriverAdvice advice = devicelink::driverAdvice(windows);
        w.ui->MP_D_ConnectedError_Label_Text3->setText(advice.suggestion);
        w.ui->MP_D_ConnectedError_Button_Url->setText(advice.linkText);
        check(w.ui->A_MP_D_DirverError_1_1, QStringLiteral("driver advice %1").arg(windows ? "Windows" : "Linux"));
    }
    for (bool erase : {true, false}) {
        w.showCancelNoAnswer(erase);
        check(w.ui->T_D_CancelNoAnswer, QStringLiteral("cancel not answered %1").arg(erase));
    }
    for (const char *title : {"App InActive", "App Active", "App State"}) {
        w.ui->T_AppState_TopTitle->setText(w.tr(title));
        check(w.ui->T_AppState, QStringLiteral("app state"));
    }
    w.m_eraseAccount = account(workflow::EraseAccount::Outcome::Cancelled, QStringLiteral("cancelled by the user"), 2400, 1200, 0);
    w.fillEraseReport();
    check(w.ui->T_D_EraseCancelled, QStringLiteral("erase cancelled"));
    QVERIFY2(noProblems(problems), "see the lines above");
}

// The record's JSON file is for programs: its words stay English while the
// window speaks German; the PDF is the user's document and speaks German,
// the reasons too.
void TestTranslations::recordStaysEnglishWhileThePdfAndReportSpeakGerman()
{
    workflow::EraseAccount a = account(workflow::EraseAccount::Outcome::Cancelled, QStringLiteral("cancelled by the user"), 4, 2, 1);
    a.markUnsendable(Photo, QStringLiteral("/sdcard/x"), QStringLiteral("too long for an erase request"));
    workflow::eraseverification::prepare(a);
    const QJsonObject j = workflow::eraserecord::toJson(a, QStringLiteral("1.0"));
    QCOMPARE(j["outcome"].toString(), QString("cancelled"));
    QCOMPARE(j["outcome_reason"].toString(), QString("cancelled by the user"));
    QCOMPARE(j["scope"].toString(), QString("private"));
    QCOMPARE(j["level"]["name"].toString(), QString("Medium"));
    QCOMPARE(j["verification"]["reason"].toString(), QString("the erase did not finish"));
    QVERIFY(j["verification"]["note"].toString().startsWith("Verification shows"));
    QStringList categories;
    for (const QJsonValue &c : j["categories"].toArray())
        categories << c["category"].toString();
    QCOMPARE(categories, (QStringList{"Contact", "Message", "Photo"}));
    const QJsonObject message = j["categories"].toArray().at(1).toObject();
    QCOMPARE(message["list_not_read_reason"].toString(), QString("the phone answered that it could not list them"));

    const QString pdf = workflow::eraserecord::toHtml(a, QStringLiteral("1.0"));
    for (const char *german : {"Löschprotokoll", "Grund", "vom Benutzer abgebrochen", "Je Kategorie", "Kontakte",
                               "das Telefon hat geantwortet, dass es sie nicht auflisten kann", "private Daten",
                               "Mittel (7)", "zu lang für eine Löschanfrage"})
        QVERIFY2(pdf.contains(QString::fromUtf8(german)), german);
    QVERIFY(!pdf.contains(QLatin1String("cancelled by the user")));
    QCOMPARE(workflow::eraserecord::reportTitle(a), QString::fromUtf8("Löschen abgebrochen"));
    QVERIFY(workflow::eraserecord::cancelSummary(a).startsWith(QString::fromUtf8("Das Löschen wurde abgebrochen.")));

    // A reason with its blanks filled: English in the record, German on the
    // page.
    m_w->m_eraseAccount = account(workflow::EraseAccount::Outcome::Completed, QString(), 2, 2, 0);
    workflow::eraseverification::prepare(m_w->m_eraseAccount);
    m_w->m_verifyTimeoutMs = 3 * 60000;
    m_w->m_timerVerifyGiveUp->setInterval(0);
    m_w->m_timerVerifyGiveUp->start();
    QTRY_COMPARE(m_w->m_eraseAccount.verification().status, workflow::EraseAccount::Verification::Status::CouldNotRun);
    const QJsonObject record = workflow::eraserecord::toJson(m_w->m_eraseAccount, "1.0");
    QCOMPARE(record["verification"]["reason"].toString(),
             QString("the phone did not come back and answer within 3 minutes"));
    QCOMPARE(workflow::eraseverification::pageLine(m_w->m_eraseAccount),
             QString::fromUtf8("Prüfung nicht möglich: das Telefon ist nicht innerhalb von 3 Minuten zurückgekehrt "
                               "und hat nicht geantwortet"));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
