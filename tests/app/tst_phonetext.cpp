// Text from the phone, the companion app and the PC's tools is data: markup in
// a home-info field, a battery line, a contact, a message, a photo location or
// a process name is shown letter for letter, and no file that it names is
// opened. The texts reach the real window through the simulated phone.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "companionsimulator.h"
#include "simphone.h"

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <memory>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

constexpr int kWait = 60000;

// Counts the times a file is opened, by anyone (inotify).
class FileOpenProbe
{
public:
    explicit FileOpenProbe(const QString &path)
    {
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd >= 0)
            m_wd = inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN);
    }
    ~FileOpenProbe()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isValid() const { return m_fd >= 0 && m_wd >= 0; }
    int opens()
    {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (ssize_t at = 0; at < n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                m_opens += (event->mask & IN_OPEN) ? 1 : 0;
                at += ssize_t(sizeof(inotify_event)) + event->len;
            }
        }
        return m_opens;
    }

private:
    int m_fd = -1;
    int m_wd = -1;
    int m_opens = 0;
};

// A small real picture, so that a label that takes the text for markup
// would load and draw it.
bool writeProbePicture(const QString &path)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image.save(path, "PNG");
}

// The hostile texts, each naming the probe file P.
struct Hostile
{
    QString img, bold, link;
    explicit Hostile(const QString &p)
        : img(QStringLiteral("<img src=\"%1\">").arg(p))
        , bold(QStringLiteral("<b>bold</b>"))
        , link(QStringLiteral("<a href=\"%1\">link</a>").arg(p))
    {
    }
    // Fields of the companion app's lists and home info are separated by ";",
    // so an entity with its ";" arrives only through the tools' output.
    QString model() const { return img + QStringLiteral("Nimbus Z7"); }
    QString version() const { return QStringLiteral("<b>11</b>"); }
    QString serial() const { return link; }
    QString romTotal() const { return img + QStringLiteral(" 32 GB"); }
    QString sdTotal() const { return QStringLiteral("<b>64 GB</b>"); }
    QString battery() const { return QStringLiteral("<b>85</b> &amp; ") + img; }
    QString contactName() const { return img + QStringLiteral("Ann Hostile"); }
    QString contactMail() const { return QStringLiteral("<b>ann</b>@example.org"); }
    QString contactAddress() const { return link; }
    QString messageName() const { return QStringLiteral("<b>Ann</b> <i>H</i>"); }
    QString messageBody() const { return img + QStringLiteral(" see <a href=\"x\">you</a> at 6"); }
    // A location ends in "/" and the file's name.
    QString photoName() const { return img + QStringLiteral(".jpg"); }
    QString photoLocation() const { return QStringLiteral("/sdcard/DCIM/") + photoName(); }
    // tasklist's first word: no blanks (a tab separates the attribute).
    QString processName() const { return QStringLiteral("&amp;<b>x</b>") + QString(img).replace(' ', '\t'); }
};

QString listText(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines.join(QLatin1Char('\n'));
}

// The first row of a table with a cell that shows the text.
int rowShowing(const QTableWidget *table, const QString &text)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            if (table->item(row, column) && table->item(row, column)->text() == text)
                return row;
        }
    }
    return -1;
}

} // namespace

class TestPhoneText : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_probePath;
    std::unique_ptr<Hostile> m_text;
    std::unique_ptr<FileOpenProbe> m_probe;
    std::unique_ptr<SimPhone> m_phone;
    std::unique_ptr<CompanionSimulator> m_sim;
    std::unique_ptr<MainWindow> m_w;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_probePath = m_dir.filePath(QStringLiteral("probe.png"));
        QVERIFY(writeProbePicture(m_probePath));
        m_text.reset(new Hostile(m_probePath));
    }

    // The texts below are markup to Qt, and the probe sees a label that
    // takes them for markup open the file: the checks further down can fail.
    void hostileTextsAreMarkup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("namesFile");
        const Hostile &t = *m_text;
        QTest::newRow("model") << t.model() << true;
        QTest::newRow("serial") << t.serial() << false;
        QTest::newRow("battery") << t.battery() << true;
        QTest::newRow("contact name") << t.contactName() << true;
        QTest::newRow("message body") << t.messageBody() << true;
        QTest::newRow("process name") << t.processName() << true;
    }
    void hostileTextsAreMarkup()
    {
        QFETCH(QString, text);
        QFETCH(bool, namesFile);
        QVERIFY(Qt::mightBeRichText(text));
        const QString copy = m_dir.filePath(QStringLiteral("control.png"));
        QVERIFY(writeProbePicture(copy));
        FileOpenProbe probe(copy);
        QVERIFY(probe.isValid());
        QLabel label;
        label.setText(QString(text).replace(m_probePath, copy));
        label.grab();
        QCOMPARE(probe.opens() > 0, namesFile);
        QVERIFY(QFile::remove(copy));
    }

    // Every label of the window and its notices is plain text from the start,
    // so no label that is filled later takes what it shows for markup.
    void everyLabelIsPlainText()
    {
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        const QList<QLabel *> labels = w.findChildren<QLabel *>();
        QVERIFY(labels.size() > 100);
        for (const QLabel *label : labels)
            QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }

    // The link is brought up by the device link against the simulated phone,
    // whose home info, battery and data all carry markup, and a private scan
    // fills the tables.
    void connectAndScanHostilePhone()
    {
        const Hostile &t = *m_text;
        m_probe.reset(new FileOpenProbe(m_probePath));
        QVERIFY(m_probe->isValid());
        m_phone.reset(new SimPhone);
        QVERIFY(m_phone->isValid());
        m_phone->set(QStringLiteral("battery.level"), t.battery());

        SimDataSet data = SimDataSet::generate(6);
        data.homeInfo = QStringList{t.model(), t.version(), t.serial(), QStringLiteral("28"),
                                    QStringLiteral("arm64-v8a"), t.romTotal(), QStringLiteral("10.5 GB"),
                                    t.sdTotal(), QStringLiteral("40.2 GB")}
                            .join(QLatin1Char(';'));
        data.lists[Contact].prepend(QStringList{QStringLiteral("c900"), t.contactName(), QStringLiteral("+15550199"),
                                                t.contactMail(), t.contactAddress(), QStringLiteral("Org")}
                                        .join(QLatin1Char(';')));
        data.lists[Message].prepend(QStringList{QStringLiteral("m900"), t.messageName(), QStringLiteral("+15550198"),
                                                t.messageBody(), QStringLiteral("2026-11-30 18:00:00")}
                                        .join(QLatin1Char(';')));
        const QString firstPhoto = data.lists[Photo].first().section(QLatin1Char(';'), 3);
        data.lists[Photo].prepend(QStringLiteral("%1;%2;jpg;%3")
                                      .arg(t.photoName())
                                      .arg(data.photoData.value(firstPhoto).size())
                                      .arg(t.photoLocation()));
        data.photoData.insert(t.photoLocation(), data.photoData.value(firstPhoto));
        data.photoFormat.insert(t.photoLocation(), QStringLiteral("jpg"));

        m_sim.reset(new CompanionSimulator(data));
        QVERIFY(m_sim->listen());
        m_w.reset(new MainWindow); // the device link starts by itself
        m_w->m_companionPort = m_sim->port();
        m_w->show();
        QTRY_VERIFY_WITH_TIMEOUT(m_w->m_homeInfoReadable, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!m_w->ui->A_MP_ConnectedInfomation_5->isHidden(), kWait);
        m_w->grab();

        QTest::mouseClick(m_w->ui->S_Private_Button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!m_w->ui->B_EAll_ToScan->isHidden(), kWait);
        QTest::mouseClick(m_w->ui->EAll_Label_ToScan, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_w->m_workPhase, Scanned, kWait);
        m_w->grab();
    }

    void shownLetterForLetter_data()
    {
        QTest::addColumn<QString>("show");   // a page, or the category whose row is clicked
        QTest::addColumn<QString>("rowText"); // a cell of the row
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("expected");
        const Hostile &t = *m_text;
        const QString phone = QStringLiteral("phone page");
        QTest::newRow("model") << phone << QString() << "MP_Label_Model" << t.model();
        QTest::newRow("model, title") << phone << QString() << "MP_Label_PhoneName" << t.model();
        QTest::newRow("version") << phone << QString() << "MP_Label_SystemVersion" << t.version();
        QTest::newRow("serial") << phone << QString() << "MP_Label_SerialNumber" << t.serial();
        QTest::newRow("phone storage") << phone << QString() << "MP_Label_Phone_Free"
                                       << QStringLiteral("Total:") + t.romTotal();
        QTest::newRow("card storage") << phone << QString() << "MP_Label_Sdcard_Free"
                                      << QStringLiteral("Total:") + t.sdTotal();
        QTest::newRow("battery") << phone << QString() << "MP_Label_Power"
                                 << QStringLiteral(" ") + t.battery() + QStringLiteral("%");
        QTest::newRow("scan page model") << QStringLiteral("scan page") << QString() << "EAll_Label_PhoneVersion"
                                         << t.model();
        QTest::newRow("scan page storage") << QStringLiteral("scan page") << QString() << "EAll_Label_RomTotal"
                                           << t.romTotal() + QStringLiteral(" Total");
        QTest::newRow("contact name") << "contact" << t.contactName() << "EP_IsScanning_Label_Name"
                                      << t.contactName();
        QTest::newRow("contact details") << "contact" << t.contactName() << "EP_IsScanning_ListWidget_InfoShow"
                                         << QStringList{t.contactMail(), t.contactAddress(), QStringLiteral("Org")}
                                                .join(QLatin1Char('\n'));
        QTest::newRow("message name") << "message" << t.messageName() << "EP_IsScanning_Label_Name"
                                      << t.messageName();
        QTest::newRow("message body") << "message" << t.messageName() << "EP_IsScanning_ListWidget_InfoShow"
                                      << QStringLiteral("2026-11-30 18:00:00\n") + t.messageBody();
        QTest::newRow("photo location") << "photo" << t.photoName() << "EP_IsScanning_Label_PhotoLocation"
                                        << t.photoLocation();
    }
    void shownLetterForLetter()
    {
        QFETCH(QString, show);
        QFETCH(QString, rowText);
        QFETCH(QString, widget);
        QFETCH(QString, expected);
        QVERIFY2(m_w, "the hostile phone was not reached");
        MainWindow &w = *m_w;
        if (show == QLatin1String("phone page")) {
            w.hidePages();
            w.ui->A_MP_ConnectedInfomation_5->show();
        } else if (show == QLatin1String("scan page")) {
            w.hidePages();
            w.ui->B_EAll_ToScan->show();
        } else {
            const int category = show == QLatin1String("contact") ? Contact
                : show == QLatin1String("message")               ? Message
                                                                 : Photo;
            w.hidePages();
            w.ui->C_EPrivate_IsScanning_2->show();
            w.selectCategory(category);
            QTableWidget *table = w.categoryTable(category);
            const int row = rowShowing(table, rowText);
            QVERIFY2(row > 0, "row not found");
            emit table->itemClicked(table->item(row, 1));
        }
        QWidget *shown = w.findChild<QWidget *>(widget);
        QVERIFY(shown);
        if (auto *label = qobject_cast<QLabel *>(shown)) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(label->text(), expected);
        } else {
            QCOMPARE(listText(qobject_cast<QListWidget *>(shown)), expected);
        }
        w.grab();
        QCOMPARE(m_probe->opens(), 0);
    }

    // A Linux process name can hold "<": the port-used notice names the
    // holder of port 5037 as tasklist prints it.
    void processNameShownLetterForLetter()
    {
        m_w.reset();
        m_sim.reset();
        m_phone.reset();
        const QString name = m_text->processName();
        FileOpenProbe probe(m_probePath);
        QVERIFY(probe.isValid());
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.setNetstatLines({QStringLiteral("  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       4321")});
        phone.setTask(4321, name);
        MainWindow w;
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(!w.ui->A_MP_D_PortUsed->isHidden(), kWait);
        QCOMPARE(w.ui->A_MP_D_PortUsed_Label_Info->textFormat(), Qt::PlainText);
        QCOMPARE(w.ui->A_MP_D_PortUsed_Label_Info->text(), name);
        w.ui->A_MP_D_PortUsed->grab();
        QCOMPARE(probe.opens(), 0);
    }

    void cleanupTestCase()
    {
        m_w.reset();
        m_sim.reset();
        m_phone.reset();
    }
};

QTEST_MAIN(TestPhoneText)
#include "tst_phonetext.moc"
