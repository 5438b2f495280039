// Whole user journeys, randomised and seeded, through the real window against
// the companion-app simulator: ticks across categories, select-all, search and
// clear, category switches, rescans, scope changes, cancels (some cutting off
// a batch the phone carried out but had not answered, whose answer then comes
// after the cancel's acknowledgement, later, or never) and resumed runs; and a
// phone that misbehaves: a list it refuses, a message body holding a forged
// record with another sender's id, failures it does not name while its counts
// contradict them, and, after the reboot, items still listed as they were or
// in another form, or another phone in its place.
// Whatever the journey, the simulator is asked to erase exactly what the user
// ticked and confirmed, each key once (again only after its batch was cut
// off), at the level the confirm page showed, and the completion report
// counts exactly what was not erased and what is not confirmed. What a row stands for
// is worked out here from the records the simulator listed (by the number, the
// file name or another shown field), never from the program's own
// row-to-record helpers. Whatever happens, nothing is claimed erased that the
// phone did not confirm, nothing is called verified that the check after the
// reboot did not find gone, and the page says what the record on disk says.
//
// PURGATEX_JOURNEYS=N or --journeys N runs N journeys (200 by default);
// PURGATEX_JOURNEY_SEED=S or --seed S sets the first seed. A failing journey
// prints its seed and its steps; run it alone with --journeys 1 --seed S.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "companionsimulator.h"
#include "protocol/messages.h"
#include "protocol/records.h"
#include "support/categorynames.h"
#include "support/windowrig.h"
#include "workflow/eraseplan.h"
#include "workflow/scanplan.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

int g_journeys = 200;
quint64 g_firstSeed = 20261208;
// How often each kind of step was taken, shown after the run.
QMap<QString, int> g_stepCounts;

const char *const kTables[6] = {"tableContactWidget", "tableHistoryWidget", "tableMessageWidget",
                                "tablePhotoWidget",   "tableAudioWidget",   "tableVedioWidget"};
const char *const kCategoryButtons[6] = {"EP_IsScanning_PushButton_Contact", "EP_IsScanning_PushButton_CallHistory",
                                         "EP_IsScanning_PushButton_Message", "EP_IsScanning_PushButton_Photo",
                                         "EP_IsScanning_PushButton_Audio",   "EP_IsScanning_PushButton_Vedio"};
// The shown column that tells records without a number apart, and the record
// field it shows.
const int kUniqueColumn[3] = {3, 5, 3};

// A file the generated phone lists: the entry and, independently of how the
// program reads it, its name and the location it is erased by.
struct FileItem
{
    QString entry;
    QString name;
    QString location; // empty: the entry gives no location it can be erased by
};

struct Phone
{
    SimDataSet data;
    QList<FileItem> files[CategoryCount];
    QSet<QString> unerasable;
    bool defaultSms = false;
    // Failures it answers without naming the item, while its final answer
    // counts every item of the batch as done.
    bool contradictory = false;
    // A category whose list it answers with its failure reply (-1: none).
    int refused = -1;
};

QString pick(QRandomGenerator &rng, const QStringList &from)
{
    return from.at(int(rng.bounded(quint32(from.size()))));
}

bool chance(QRandomGenerator &rng, int percent)
{
    return int(rng.bounded(100u)) < percent;
}

// A phone with a few of everything: records without a name or a number,
// numbers shared by several records, files whose names and folders hold ";",
// files without a usable location.
Phone makePhone(QRandomGenerator &rng)
{
    Phone p;
    p.data = SimDataSet::generate(0);
    for (QStringList &list : p.data.lists)
        list.clear();
    p.data.photoData.clear();
    p.data.photoFormat.clear();
    p.defaultSms = chance(rng, 50);

    QStringList numbers;
    for (int i = 0; i < 6; ++i)
        numbers << QStringLiteral("+1555010%1").arg(i);
    const QStringList names{"Ada Arden", "Bruno Brook", "Carla Calder", "Dmitri Dorn", "Elena Ellery"};
    const auto name = [&] { return chance(rng, 30) ? QString() : pick(rng, names); };
    const auto number = [&] { return chance(rng, 15) ? QString() : pick(rng, numbers); };
    const QDateTime base(QDate(2026, 11, 1), QTime(9, 0));
    const auto date = [&](int i) { return base.addSecs(qint64(i) * 421).toString("yyyy-MM-dd HH:mm:ss"); };

    const int contacts = int(rng.bounded(14u));
    for (int i = 0; i < contacts; ++i)
        p.data.lists[Contact] << QStringLiteral("c%1;%2;%3;c%1@example.org;%1 Elm Street;%4")
                                     .arg(i)
                                     .arg(name(), number(), pick(rng, {"Lumen Works", "Independent", ""}));
    const int calls = int(rng.bounded(15u));
    for (int i = 0; i < calls; ++i)
        p.data.lists[History] << QStringLiteral("h%1;%2;%3;%4;%5;%6")
                                     .arg(i)
                                     .arg(name(), number(), pick(rng, {"Missed", "Incoming", "Outgoing"}))
                                     .arg(rng.bounded(600u))
                                     .arg(date(i));
    const int messages = int(rng.bounded(17u));
    for (int i = 0; i < messages; ++i)
        p.data.lists[Message] << QStringLiteral("m%1;%2;%3;%4 #%1;%5")
                                     .arg(i)
                                     .arg(name(), number(),
                                          pick(rng, {"See you at six", "Your code is 4821", "Lunch?", "Call me"}),
                                          date(1000 + i));
    // A spammer's message whose body holds the record separator and a record
    // carrying the id of another sender's message.
    if (messages > 1 && chance(rng, 25)) {
        const QString victim = p.data.lists[Message].at(int(rng.bounded(quint32(messages)))).section(';', 0, 0);
        p.data.lists[Message] << QStringLiteral("m900;Spammer;+15550999;Win a prize ,*#*,%1;Spammer;+15550999;"
                                                "claim it;%2")
                                     .arg(victim, date(2000));
    }

    struct FileKind
    {
        Category c;
        const char *ext;
        QStringList folders;
    };
    const FileKind kinds[] = {{Photo, "jpg", {"/sdcard/DCIM/Camera", "/sdcard/Trip;2026", "/sdcard/a;b"}},
                              {Audio, "m4a", {"/sdcard/Recordings", "/sdcard/Music/Live;Set"}},
                              {Vedio, "mp4", {"/sdcard/DCIM/Camera", "/sdcard/Movies;old"}}};
    for (const FileKind &k : kinds) {
        const int n = int(rng.bounded(7u));
        for (int i = 0; i < n; ++i) {
            FileItem f;
            const bool usable = !chance(rng, 20);
            // A file without a usable location keeps its name free of ";", so
            // that its row shows the name whole.
            const QStringList patterns = usable ? QStringList{"IMG_%1.%2", "Trip;%1.%2", "a;b;%1.%2", "x%1.%2"}
                                                : QStringList{"lost_%1.%2"};
            f.name = pick(rng, patterns).arg(i).arg(QLatin1String(k.ext));
            const QString folder = pick(rng, k.folders);
            const QString size = QString::number(100 + rng.bounded(5000000u));
            QString given;
            if (usable) {
                f.location = folder + QLatin1Char('/') + f.name;
                given = f.location;
            } else {
                given = pick(rng, {QString(), folder + "/other_" + f.name, QString(folder).mid(1) + '/' + f.name});
            }
            f.entry = QStringList{f.name, size, QLatin1String(k.ext), given}.join(QLatin1Char(';'));
            p.files[k.c] << f;
            p.data.lists[k.c] << f.entry;
        }
    }
    const char *const packages[] = {"com.facebook.katana", "com.twitter.android", "com.skype.raider",
                                    "com.viber.voip",      "kik.android",         "com.whatsapp"};
    for (int c = FirstAppCategory; c < CategoryCount; ++c) {
        const int n = int(rng.bounded(4u));
        for (int i = 0; i < n; ++i)
            p.data.lists[c] << QStringLiteral("/sdcard/Android/data/%1/files/f%2.db")
                                   .arg(QLatin1String(packages[c - FirstAppCategory]))
                                   .arg(i);
    }

    if (chance(rng, 30)) {
        QStringList keys;
        for (int c = Contact; c <= Message; ++c)
            for (const QString &r : qAsConst(p.data.lists[c]))
                keys << r.section(';', 0, 0);
        for (int c = Photo; c <= Vedio; ++c)
            for (const FileItem &f : qAsConst(p.files[c]))
                if (!f.location.isEmpty())
                    keys << f.location;
        for (int c = FirstAppCategory; c < CategoryCount; ++c)
            keys << p.data.lists[c];
        for (int i = 0; i < 2 && !keys.isEmpty(); ++i)
            p.unerasable << pick(rng, keys);
        p.contradictory = chance(rng, 40);
    }
    if (chance(rng, 12))
        p.refused = int(rng.bounded(quint32(CategoryCount)));
    return p;
}

class Journey
{
public:
    explicit Journey(quint64 seed) : m_seed(seed), m_rng(seed), m_phone(makePhone(m_rng)), m_sim(m_phone.data)
    {
        m_sim.setDefaultSmsApp(m_phone.defaultSms);
        m_sim.setUnerasableKeys(m_phone.unerasable);
        m_sim.setContradictoryFailures(m_phone.contradictory);
        if (m_phone.refused >= 0)
            m_sim.setListRefused(Category(m_phone.refused), true);
        rig::quiet(m_w); // no device link: the socket is connected by hand
        m_w.m_recordsFolder = m_records.path();
        // A batch the phone does not answer after a cancel is given up soon.
        m_w.m_lateAnswerWaitMs = 200;
        m_w.m_homeInfoPollMs = 5;
    }

    bool run();
    QString report() const
    {
        return QStringLiteral("journey with seed %1 failed: %2\nsteps:\n  %3")
            .arg(m_seed)
            .arg(m_failure, m_steps.join(QStringLiteral("\n  ")));
    }

private:
    enum class Page { Results, Confirm, AppPage, Done };

    bool expect(bool ok, const QString &what)
    {
        if (!ok && m_failure.isEmpty())
            m_failure = what;
        return ok;
    }
    bool failed() const { return !m_failure.isEmpty(); }
    // A long journey heads for its end: no more going back, rescans or cancels.
    bool hurry() const { return m_steps.size() > 80; }
    void step(const QString &s)
    {
        m_steps << s;
        const QString word = s.section(QLatin1Char(' '), 0, 0);
        ++g_stepCounts[word == QLatin1String("scan") ? s : word];
    }
    bool waitFor(const std::function<bool()> &done, const QString &what)
    {
        return expect(rig::waitFor(m_w, done, 20000), QStringLiteral("timed out waiting for ") + what);
    }
    bool click(QAbstractButton *b, const QString &what)
    {
        if (!expect(b && b->isVisible() && b->isEnabled(), what + QStringLiteral(" cannot be clicked")))
            return false;
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
        return true;
    }
    QTableWidget *table(int c) const { return m_w.findChild<QTableWidget *>(QLatin1String(kTables[c])); }

    // ----- what rows stand for, from the listed records -----
    QString identityOfRow(int c, int row) const;
    QStringList keysOf(int c, const QString &identity) const;
    QSet<QString> expectedIdentities(int c) const;
    QStringList allKeys(int c) const;
    bool checkTable(int c);

    // ----- the journey's parts -----
    bool scan(EraseType scope);
    Page privateResults();
    Page confirmAndErase(Page back);
    Page appPage();
    void clickRow(int c, int row);
    void search(bool clear);
    bool checkRun(const QSet<QString> chosen[CategoryCount], int from, quint16 level);
    bool checkReport();
    bool allSent(const QSet<QString> chosen[CategoryCount]);
    // ----- the record against the phone and the page -----
    QJsonObject lastRecord();
    bool checkClaims();
    bool checkPageAgainstRecord();
    bool roundTrip();
    bool connectAsTheLinkDoes();
    void comeBackAfterReboot();
    QStringList ambiguousChosen(int c) const;
    bool inScope(int c) const { return workflow::scanplan::scopeCategories(m_scope).contains(c); }

    quint64 m_seed;
    QRandomGenerator m_rng;
    Phone m_phone;
    CompanionSimulator m_sim;
    QTemporaryDir m_records;
    MainWindow m_w;
    QStringList m_steps;
    QString m_failure;

    EraseType m_scope = EraseType::Private;
    int m_scans = 0;
    QStringList m_listed[CategoryCount]; // what the simulator listed in the last scan
    int m_firstRequestOfScan = 0;
    // The user's choice, as the user made it: per private category the rows
    // (numbers, records without a number, files) ticked.
    QSet<QString> m_ticked[6];
    bool m_searching[3] = {};
    QString m_searchText[3];
    int m_current = Contact;
    int m_cancels = 0;
    // Erase requests (indices into the simulator's list) of batches the phone
    // carried out and never answered, the cancel having come first.
    QSet<int> m_cutRequests;
    // Ids of text records listed more than once in the last scan's lists.
    QSet<QString> m_ambiguous[CategoryCount];
    // The simulator's answered batches before the scan.
    int m_firstBatchOfScan = 0;
    // An answer came after the cancel had given its batch up and a new run
    // had started, or the phone contradicts itself: the report's figures
    // are only bounded, not worked out exactly.
    bool m_inexact = false;
    // Keys of a category's batch a cancel gave up on, until the category is
    // sent again: a batch of other keys is then in doubt (the late answer
    // could not be told from its own) and the phone's counts confirm none
    // of it.
    QSet<QString> m_givenUp[CategoryCount];
};

// A keyed row stands for its number ("n:" + number), or, without a number,
// for the one record it shows ("r:" + id); a file row for its file ("f:" +
// index in the listing).
QString Journey::identityOfRow(int c, int row) const
{
    QTableWidget *t = table(c);
    if (c <= Message) {
        const QString number = t->item(row, 2) ? t->item(row, 2)->text() : QString();
        if (!number.isEmpty())
            return QStringLiteral("n:") + number;
        const QString shown = t->item(row, kUniqueColumn[c]) ? t->item(row, kUniqueColumn[c])->text() : QString();
        for (const QString &record : m_listed[c]) {
            const QStringList f = record.split(QLatin1Char(';'));
            if (f.value(2).isEmpty() && f.value(kUniqueColumn[c]) == shown)
                return QStringLiteral("r:") + f.value(0);
        }
        return QStringLiteral("?unknown row ") + shown;
    }
    const QString name = t->item(row, c == Photo ? 2 : 1) ? t->item(row, c == Photo ? 2 : 1)->text() : QString();
    const QList<FileItem> &files = m_phone.files[c];
    for (int i = 0; i < files.size(); ++i)
        if (files.at(i).name == name && m_listed[c].contains(files.at(i).entry))
            return QStringLiteral("f:") + QString::number(i);
    return QStringLiteral("?unknown file ") + name;
}

QStringList Journey::keysOf(int c, const QString &identity) const
{
    QStringList keys;
    // A record whose id the phone listed more than once is never chosen.
    if (identity.startsWith(QLatin1String("n:"))) {
        const QString number = identity.mid(2);
        for (const QString &record : m_listed[c])
            if (record.section(QLatin1Char(';'), 2, 2) == number
                && !m_ambiguous[c].contains(record.section(QLatin1Char(';'), 0, 0)))
                keys << record.section(QLatin1Char(';'), 0, 0);
    } else if (identity.startsWith(QLatin1String("r:"))) {
        if (!m_ambiguous[c].contains(identity.mid(2)))
            keys << identity.mid(2);
    } else if (identity.startsWith(QLatin1String("f:"))) {
        const QString location = m_phone.files[c].value(identity.mid(2).toInt()).location;
        if (!location.isEmpty())
            keys << location;
    }
    return keys;
}

// The rows a table should show: every number and every record without one,
// or those whose record text holds the search text.
QSet<QString> Journey::expectedIdentities(int c) const
{
    QSet<QString> rows;
    if (c <= Message) {
        for (const QString &record : m_listed[c]) {
            if (m_searching[c] && !record.contains(m_searchText[c]))
                continue;
            const QStringList f = record.split(QLatin1Char(';'));
            rows << (f.value(2).isEmpty() ? QStringLiteral("r:") + f.value(0) : QStringLiteral("n:") + f.value(2));
        }
        return rows;
    }
    for (int i = 0; i < m_phone.files[c].size(); ++i)
        if (m_listed[c].contains(m_phone.files[c].at(i).entry))
            rows << QStringLiteral("f:") + QString::number(i);
    return rows;
}

QStringList Journey::allKeys(int c) const
{
    QStringList keys;
    if (c <= Message) {
        for (const QString &record : m_listed[c])
            if (!m_ambiguous[c].contains(record.section(QLatin1Char(';'), 0, 0)))
                keys << record.section(QLatin1Char(';'), 0, 0);
    } else if (c <= Vedio) {
        for (const FileItem &f : m_phone.files[c])
            if (!f.location.isEmpty() && m_listed[c].contains(f.entry))
                keys << f.location;
    } else {
        keys = m_listed[c];
    }
    return keys;
}

// The table shows the rows it should, each once, checked exactly when the
// user's choice holds it.
bool Journey::checkTable(int c)
{
    QTableWidget *t = table(c);
    const QSet<QString> expected = expectedIdentities(c);
    QSet<QString> shown;
    for (int row = 1; row <= expected.size(); ++row) {
        const QString id = identityOfRow(c, row);
        if (!expect(!shown.contains(id), QStringLiteral("table %1 shows %2 twice").arg(c).arg(id)))
            return false;
        shown << id;
        const bool checked = t->item(row, 0) && t->item(row, 0)->checkState() == Qt::Checked;
        if (!expect(checked == m_ticked[c].contains(id),
                    QStringLiteral("table %1 row %2 (%3) shows %4").arg(c).arg(row).arg(id).arg(checked ? "checked" : "unchecked")))
            return false;
    }
    for (int row = expected.size() + 1; row < t->rowCount(); ++row)
        if (!expect(!t->item(row, 1) || t->item(row, 1)->text().isEmpty(),
                    QStringLiteral("table %1 has a data row beyond its %2 rows").arg(c).arg(expected.size())))
            return false;
    return expect(shown == expected, QStringLiteral("table %1 shows other rows than its records").arg(c));
}

bool Journey::scan(EraseType scope)
{
    QAbstractButton *button = scope == EraseType::All ? m_w.ui->S_All_Button
        : scope == EraseType::App                    ? m_w.ui->S_App_Button
                                                     : m_w.ui->S_Private_Button;
    step(QStringLiteral("scan %1").arg(scope == EraseType::All ? "all" : scope == EraseType::App ? "app" : "private"));
    if (!click(button, QStringLiteral("scope button")))
        return false;
    if (!waitFor([&] { return m_w.ui->EAll_Label_ToScan->isVisible(); }, QStringLiteral("the scan page")))
        return false;
    for (QStringList &l : m_listed)
        l.clear();
    m_firstRequestOfScan = m_sim.eraseRequests().size();
    QTest::mouseClick(m_w.ui->EAll_Label_ToScan, Qt::LeftButton);
    QWidget *const resultPage = scope == EraseType::All ? m_w.ui->M_ConformErase_1
        : scope == EraseType::App                       ? m_w.ui->D_EApp_ToScanAndIsScanning
                                                        : m_w.ui->C_EPrivate_IsScanning_2;
    if (!waitFor([&] { return m_w.m_workPhase == Scanned && resultPage->isVisible()
                              && !m_w.ui->M_All_Private_IsScanning->isVisible(); },
                 QStringLiteral("the scan")))
        return false;
    ++m_scans;
    m_scope = scope;
    // What the phone listed: the simulator answers from its data as it is,
    // and the program reads the records out of the joined text (a field may
    // hold the separator); a refused list holds nothing.
    m_firstBatchOfScan = m_sim.answeredBatches().size();
    for (int c = 0; c < CategoryCount; ++c) {
        m_listed[c].clear();
        m_ambiguous[c].clear();
        if (c == m_phone.refused)
            continue;
        for (const QString &record : proto::splitRecords(proto::joinRecords(m_sim.data().lists[c])))
            if (!record.isEmpty())
                m_listed[c] << record;
        if (c > Message)
            continue;
        QHash<QString, int> ids;
        for (const QString &record : qAsConst(m_listed[c]))
            ++ids[record.section(QLatin1Char(';'), 0, 0)];
        for (auto it = ids.cbegin(); it != ids.cend(); ++it)
            if (it.value() > 1)
                m_ambiguous[c] << it.key();
    }
    for (QSet<QString> &t : m_ticked)
        t.clear();
    for (bool &s : m_searching)
        s = false;
    m_current = Contact;
    if (scope == EraseType::Private)
        return expect(m_w.ui->EP_IsScanning_TextBroswerEditor->text().isEmpty(), QStringLiteral("search box kept"))
            && checkTable(Contact);
    return true;
}

void Journey::clickRow(int c, int row)
{
    QTableWidget *t = table(c);
    QTableWidgetItem *item = t->item(row, 2);
    if (!expect(item, QStringLiteral("no cell to click")))
        return;
    const int shown = expectedIdentities(c).size();
    const bool headChecked = t->item(0, 0)->checkState() == Qt::Checked;
    step(QStringLiteral("click table %1 row %2%3").arg(c).arg(row).arg(row == 0 ? (headChecked ? " (head, checked)" : " (head)") : ""));
    QStringList rowIdentities;
    for (int r = 1; r <= shown; ++r)
        rowIdentities << identityOfRow(c, r);
    t->scrollToItem(item);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, t->visualItemRect(item).center());

    // What the click means to the user: a row toggles (a file without a
    // location cannot be ticked), the head row selects every row shown or,
    // when checked, clears them, a padding row does nothing.
    if (row == 0) {
        for (const QString &id : qAsConst(rowIdentities)) {
            if (headChecked)
                m_ticked[c].remove(id);
            else if (!keysOf(c, id).isEmpty())
                m_ticked[c].insert(id);
        }
    } else if (row <= shown) {
        const QString id = rowIdentities.at(row - 1);
        if (m_ticked[c].contains(id))
            m_ticked[c].remove(id);
        else if (!keysOf(c, id).isEmpty())
            m_ticked[c].insert(id);
    }
    checkTable(c);
}

void Journey::search(bool clear)
{
    QLineEdit *box = m_w.ui->EP_IsScanning_TextBroswerEditor;
    QString text;
    if (!clear) {
        const QStringList &records = m_listed[qMin(m_current, int(Message))];
        if (!records.isEmpty() && chance(m_rng, 80)) {
            const QString r = pick(m_rng, records);
            const int from = int(m_rng.bounded(quint32(r.size())));
            text = r.mid(from, 1 + int(m_rng.bounded(6u)));
        } else {
            text = pick(m_rng, {"+15550103", "Ada", "no such text", "  "});
        }
    }
    step(QStringLiteral("search \"%1\" in %2").arg(text).arg(m_current));
    box->clear();
    if (!text.isEmpty())
        QTest::keyClicks(box, text);
    if (chance(m_rng, 50))
        QTest::mouseClick(m_w.ui->EP_IsScanning_PusuButton_SearchButton, Qt::LeftButton);
    else
        QTest::keyClick(box, Qt::Key_Return);
    if (m_current > Message)
        return; // files are not searched
    m_searchText[m_current] = box->text().trimmed();
    m_searching[m_current] = !m_searchText[m_current].isEmpty();
    checkTable(m_current);
}

// The private results: the user clicks around, then erases or scans again.
Journey::Page Journey::privateResults()
{
    const int actions = 1 + int(m_rng.bounded(14u));
    for (int i = 0; i < actions && !failed(); ++i) {
        const int what = int(m_rng.bounded(100u));
        if (what < 20) {
            const int c = int(m_rng.bounded(6u));
            step(QStringLiteral("category %1").arg(c));
            if (!click(m_w.findChild<QPushButton *>(QLatin1String(kCategoryButtons[c])), QStringLiteral("category button")))
                return Page::Done;
            m_current = c;
            if (!expect(table(c)->isVisible(), QStringLiteral("table %1 not shown").arg(c)))
                return Page::Done;
            checkTable(c);
        } else if (what < 70) {
            const int rows = table(m_current)->rowCount();
            clickRow(m_current, 1 + int(m_rng.bounded(quint32(qMax(1, rows - 1)))));
        } else if (what < 80) {
            clickRow(m_current, 0);
        } else if (what < 90) {
            search(false);
        } else {
            search(true);
        }
    }
    return failed() ? Page::Done : Page::Results;
}

Journey::Page Journey::appPage()
{
    QRadioButton *const apps[AppCategoryCount] = {m_w.ui->EApp_RatioButton_Facebook, m_w.ui->EApp_RatioButton_Twitter,
                                                  m_w.ui->EApp_RatioButton_Skype,    m_w.ui->EApp_RatioButton_Viber,
                                                  m_w.ui->EApp_RatioButton_KikMessenger, m_w.ui->EApp_RatioButton_WhatsApp};
    for (int c = FirstAppCategory; c < CategoryCount; ++c)
        if (!expect(apps[c - FirstAppCategory]->isEnabled() == !m_listed[c].isEmpty(),
                    QStringLiteral("app %1 offered %2").arg(c).arg(m_listed[c].isEmpty() ? "without data" : "not")))
            return Page::Done;
    const int clicks = int(m_rng.bounded(5u));
    for (int i = 0; i < clicks; ++i) {
        const int k = int(m_rng.bounded(7u));
        QAbstractButton *b = k == 6 ? m_w.ui->EApp_RatioButton_SelectAll : apps[k];
        step(QStringLiteral("app button %1").arg(k));
        if (b->isEnabled())
            QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    }
    step(QStringLiteral("erase apps"));
    if (!click(m_w.ui->EApp_PushButton_Erase, QStringLiteral("app erase button")))
        return Page::Done;
    return Page::Confirm;
}

// Every key sent since Erase Now was chosen then, at the level shown then;
// no key is sent twice since the scan.
bool Journey::checkRun(const QSet<QString> chosen[CategoryCount], int from, quint16 level)
{
    const QList<CompanionSimulator::EraseRecord> requests = m_sim.eraseRequests();
    for (int i = from; i < requests.size(); ++i) {
        const auto &e = requests.at(i);
        if (!expect(chosen[e.category].contains(e.key),
                    QStringLiteral("erased %1 of category %2, which was not chosen").arg(e.key).arg(e.category)))
            return false;
        if (!expect(e.level == level, QStringLiteral("erased at level %1, %2 shown").arg(e.level).arg(level)))
            return false;
    }
    // A key is sent again only when its batch was cut off unanswered.
    QHash<QString, int> sends;
    for (int i = m_firstRequestOfScan; i < requests.size(); ++i) {
        const QString k = QString::number(requests.at(i).category) + QLatin1Char(':') + requests.at(i).key;
        if (!expect(sends.value(k) == 0, QStringLiteral("%1 sent twice since the scan").arg(k)))
            return false;
        if (!m_cutRequests.contains(i))
            ++sends[k];
    }
    return true;
}

// Everything chosen was sent in this run or an earlier one of the scan.
bool Journey::allSent(const QSet<QString> chosen[CategoryCount])
{
    const QList<CompanionSimulator::EraseRecord> requests = m_sim.eraseRequests();
    QSet<QString> sent[CategoryCount];
    for (int i = m_firstRequestOfScan; i < requests.size(); ++i)
        sent[requests.at(i).category] << requests.at(i).key;
    for (int c = 0; c < CategoryCount; ++c)
        for (const QString &key : chosen[c])
            if (!expect(sent[c].contains(key), QStringLiteral("%1 of category %2 was chosen, never sent").arg(key).arg(c)))
                return false;
    return true;
}

// The completion report counts exactly the items not erased: those the phone
// could not erase since the scan (also in a run cancelled before this one),
// in an All run the files without a usable location, and the records whose
// id the phone listed more than once (in an All run all of them, in a
// private run those of the numbers ticked). What a cancelled run was to
// erase and the user unticked since is no part of it. A key whose batch was
// cut off unanswered is gone (or could not be erased): sent again, the phone
// fails it, and the report says it is not confirmed erased. A list the phone
// refused is named as not read. Only an All run that erased everything says
// that all data was erased.
bool Journey::checkReport()
{
    const QString text = m_w.ui->M_EraseCompleted_Label_Text->text();
    const bool success = text == QLatin1String("All data on your device has been erased permanently!");
    QStringList notRead;
    if (m_phone.refused >= 0 && inScope(m_phone.refused))
        notRead << expected::categoryName(m_phone.refused);
    const QString notReadSentence =
        QStringLiteral("The phone did not let the program read %1: nothing of it was erased.").arg(notRead.join(", "));
    if (!expect(notRead.isEmpty() != text.contains(QLatin1String("The phone did not let the program read"))
                    && (notRead.isEmpty() || text.endsWith(notReadSentence)),
                QStringLiteral("report: \"%1\", lists not read: %2").arg(text, notRead.join(", "))))
        return false;
    if (m_inexact)
        return expect(!success || (m_scope == EraseType::All && notRead.isEmpty()),
                      QStringLiteral("report: \"%1\" of a run that did not erase everything").arg(text));

    int notErased = 0;
    int notConfirmed = 0;
    QSet<QString> cut;
    const QList<CompanionSimulator::EraseRecord> requests = m_sim.eraseRequests();
    for (int i = m_firstRequestOfScan; i < requests.size(); ++i) {
        const QString k = QString::number(requests.at(i).category) + QLatin1Char(':') + requests.at(i).key;
        if (m_cutRequests.contains(i))
            cut << k;
        else if (cut.contains(k))
            ++notConfirmed;
        else if (m_phone.unerasable.contains(requests.at(i).key))
            ++notErased;
    }
    if (m_scope == EraseType::All)
        for (int c = Photo; c <= Vedio; ++c)
            for (const FileItem &f : m_phone.files[c])
                notErased += f.location.isEmpty() && m_listed[c].contains(f.entry) ? 1 : 0;
    for (int c = Contact; c <= Message; ++c)
        if (inScope(c))
            notErased += ambiguousChosen(c).size();
    const auto figure = [&](const char *pattern) {
        const QRegularExpressionMatch m = QRegularExpression(QLatin1String(pattern)).match(text);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    };
    const bool everything = notErased == 0 && notConfirmed == 0 && notRead.isEmpty();
    const bool right = everything && m_scope == EraseType::All
                           ? success
                           : !success && figure("(\\d+) items? could not be erased") == notErased
                                 && figure("(\\d+) items? (?:is|are) not confirmed erased") == notConfirmed
                                 && !text.contains(QLatin1String("did not confirm"));
    return expect(right, QStringLiteral("report: \"%1\", %2 not erased, %3 not confirmed")
                             .arg(text)
                             .arg(notErased)
                             .arg(notConfirmed));
}

// The ids listed more than once that the run stands for: in an All run every
// one, in a private run those of the numbers whose rows are ticked.
QStringList Journey::ambiguousChosen(int c) const
{
    if (m_ambiguous[c].isEmpty() || (m_scope != EraseType::All && m_scope != EraseType::Private))
        return {};
    QSet<QString> numbers;
    for (const QString &id : m_ticked[c])
        if (id.startsWith(QLatin1String("n:")))
            numbers << id.mid(2);
    QSet<QString> ids;
    for (const QString &record : m_listed[c]) {
        const QString id = record.section(QLatin1Char(';'), 0, 0);
        if (m_ambiguous[c].contains(id)
            && (m_scope == EraseType::All || numbers.contains(record.section(QLatin1Char(';'), 2, 2))))
            ids << id;
    }
    return QStringList(ids.begin(), ids.end());
}

QJsonObject Journey::lastRecord()
{
    // The record is written on a thread of its own.
    if (!waitFor([&] { return !m_w.eraseRecordWriting(); }, QStringLiteral("the record")))
        return QJsonObject();
    QFile f(m_w.m_recordWritten.jsonPath);
    if (!expect(f.open(QIODevice::ReadOnly), QStringLiteral("no record written")))
        return QJsonObject();
    return QJsonDocument::fromJson(f.readAll()).object();
}

// Nothing is claimed erased that the phone did not confirm: per category the
// record's confirmed figure is at most the number of keys the simulator
// erased (or kept while reporting them erased) in a batch whose answer it
// sent, since the scan.
bool Journey::checkClaims()
{
    const QJsonObject rec = lastRecord();
    QSet<QString> confirmed[CategoryCount];
    const QList<CompanionSimulator::AnsweredBatch> batches = m_sim.answeredBatches();
    for (int i = m_firstBatchOfScan; i < batches.size(); ++i)
        if (batches.at(i).delivered)
            for (const QString &key : batches.at(i).reportedErased)
                confirmed[batches.at(i).category] << key;
    for (const QJsonValue v : rec[QStringLiteral("categories")].toArray()) {
        const QJsonObject cat = v.toObject();
        const int c = expected::categoryNamed(cat[QStringLiteral("category")].toString());
        if (!expect(c < CategoryCount, QStringLiteral("record names an unknown category")))
            return false;
        const int claimed = cat[QStringLiteral("confirmed_erased")].toInt();
        if (!expect(claimed <= confirmed[c].size(),
                    QStringLiteral("record claims %1 of category %2 erased, the phone confirmed %3")
                        .arg(claimed)
                        .arg(c)
                        .arg(confirmed[c].size())))
            return false;
        if (!expect(!cat[QStringLiteral("list_not_read")].toBool() || c == m_phone.refused,
                    QStringLiteral("category %1 called not read").arg(c)))
            return false;
    }
    return true;
}

// The page says what the record on disk says: the report's table row by
// row, the headline, the title; the cancel notice the figures of the run.
bool Journey::checkPageAgainstRecord()
{
    const QJsonObject rec = lastRecord();
    const QString outcome = rec[QStringLiteral("outcome")].toString();
    if (m_w.ui->M_EraseCompleted_3->isVisible()) {
        QTableWidget *table = m_w.ui->M_EraseCompleted_Table;
        const QJsonArray cats = rec[QStringLiteral("categories")].toArray();
        if (!expect(table->rowCount() == cats.size(), QStringLiteral("report table and record differ in rows")))
            return false;
        for (int r = 0; r < cats.size(); ++r) {
            const QJsonObject cat = cats.at(r).toObject();
            QStringList page;
            for (int col = 0; col < 5; ++col)
                page << table->item(r, col)->text();
            const QString chosen = cat[QStringLiteral("list_not_read")].toBool()
                                       ? QStringLiteral("not read")
                                       : QString::number(cat[QStringLiteral("chosen")].toInt());
            const QStringList recorded{cat[QStringLiteral("category")].toString(), chosen,
                                       QString::number(cat[QStringLiteral("confirmed_erased")].toInt()),
                                       QString::number(cat[QStringLiteral("failed")].toInt()),
                                       QString::number(cat[QStringLiteral("not_confirmed")].toInt()
                                                       + cat[QStringLiteral("not_sent")].toInt())};
            if (!expect(page == recorded, QStringLiteral("report row \"%1\", record \"%2\"")
                                              .arg(page.join(' '), recorded.join(' '))))
                return false;
        }
        const bool allErased = m_w.ui->M_EraseCompleted_Label_Text->text()
                               == QLatin1String("All data on your device has been erased permanently!");
        if (!expect(allErased == (outcome == QLatin1String("completed") && m_scope == EraseType::All),
                    QStringLiteral("headline \"%1\" for a record \"%2\"")
                        .arg(m_w.ui->M_EraseCompleted_Label_Text->text(), outcome)))
            return false;
        const QString status = rec[QStringLiteral("verification")][QStringLiteral("status")].toString();
        const QString title = m_w.ui->M_EraseCompleted_Label_Title->text();
        if (!expect((title == QLatin1String("Erase not verified")) == (status == QLatin1String("verification failed")),
                    QStringLiteral("title \"%1\" for verification \"%2\"").arg(title, status)))
            return false;
        const QString line = m_w.ui->M_EraseCompleted_Label_Verify->text();
        return expect(line.startsWith(QLatin1String("Verified:")) == (status == QLatin1String("verified")),
                      QStringLiteral("verification line \"%1\" for \"%2\"").arg(line, status));
    }
    const QString notice = m_w.ui->T_D_EraseCancelled_Label_Message->text();
    const int erased = rec[QStringLiteral("totals")][QStringLiteral("confirmed_erased")].toInt();
    const int chosen = rec[QStringLiteral("totals")][QStringLiteral("chosen")].toInt();
    const QString said = erased == 0
                             ? QStringLiteral("Nothing was confirmed erased before the cancel")
                             : QStringLiteral("Erased before the cancel: %1 of %2 chosen item").arg(erased).arg(chosen);
    return expect(outcome == QLatin1String("cancelled") && notice.contains(said),
                  QStringLiteral("cancel notice \"%1\", record \"%2\" %3 of %4")
                      .arg(notice, outcome)
                      .arg(erased)
                      .arg(chosen));
}

// Every frame the simulator has written has been read: the answer to a
// request sent now comes after them.
bool Journey::roundTrip()
{
    m_w.m_messageCountReadable = false;
    m_w.getMessageCount();
    return waitFor([&] { return m_w.m_messageCountReadable; }, QStringLiteral("a round trip to the phone"));
}

// After a private or app run the phone restarts and comes back: the same
// phone, an item it reported erased still listed as it was or in another
// form, or another phone in its place. Nothing is called verified that the
// phone may still hold.
void Journey::comeBackAfterReboot()
{
    const QJsonObject before = lastRecord();
    const QString pending = before[QStringLiteral("verification")][QStringLiteral("status")].toString();
    if (m_scope == EraseType::All) {
        expect(pending == QLatin1String("not applicable"), QStringLiteral("an All run is to be verified"));
        return;
    }
    if (pending != QLatin1String("pending"))
        return;
    // The items the run calls erased, one by one: the phone lists one of them
    // again, as it was or in another form.
    QList<QPair<int, QString>> reported;
    for (int c = 0; c < CategoryCount; ++c)
        for (const QString &key : m_w.m_eraseAccount.keys(c, workflow::EraseAccount::KeyState::Erased))
            reported << qMakePair(c, key);
    const int event = int(m_rng.bounded(100u));
    const bool swapped = event < 20;
    const bool kept = event >= 20 && event < 40 && !reported.isEmpty();
    const bool otherForm = event >= 40 && event < 60 && !reported.isEmpty();
    step(swapped ? QStringLiteral("reboot, another phone")
                 : kept    ? QStringLiteral("reboot, an item still listed")
                 : otherForm ? QStringLiteral("reboot, an item listed in another form")
                             : QStringLiteral("reboot"));
    if (swapped) {
        SimDataSet other = SimDataSet::generate(3);
        other.homeInfo.replace(QLatin1String("R58N91XKQ2B"), QLatin1String("ZX81OTHER77"));
        m_sim.swapPhoneOnNextConnection(other);
    } else if (kept || otherForm) {
        const QPair<int, QString> item = reported.at(int(m_rng.bounded(quint32(reported.size()))));
        const int c = item.first;
        QString entry = item.second; // an app's entry is its key
        if (c <= Message) {
            for (const QString &record : qAsConst(m_listed[c]))
                if (record.section(QLatin1Char(';'), 0, 0) == item.second)
                    entry = record;
            if (otherForm)
                entry = QLatin1Char(';') + entry.section(QLatin1Char(';'), 1); // without its id
        } else if (c <= Vedio) {
            for (const FileItem &f : m_phone.files[c])
                if (f.location == item.second)
                    entry = f.entry;
            if (otherForm)
                entry = chance(m_rng, 50) ? entry.toUpper() : entry.section(QLatin1Char(';'), 0, 2) + QLatin1Char(';');
        } else if (otherForm) {
            entry = entry.toUpper();
        }
        m_sim.data().lists[c] << entry;
    }

    // The phone is back: the link comes up as after a reboot, on a new
    // connection that asks for the phone's particulars afresh.
    m_w.stopDeviceLink();
    m_w.m_timerVerifyErase->setInterval(5); // its poll ticks as fast as the others here
    if (!expect(connectAsTheLinkDoes(), QStringLiteral("the phone did not come back")))
        return;
    if (!waitFor([&] {
            const auto s = m_w.m_eraseAccount.verification().status;
            return s != workflow::EraseAccount::Verification::Status::Pending && s != workflow::EraseAccount::Verification::Status::Running;
        }, QStringLiteral("the check after the reboot")))
        return;
    const QJsonObject rec = lastRecord();
    QString status = rec[QStringLiteral("verification")][QStringLiteral("status")].toString();
    step(QStringLiteral("verification: ") + status);
    const QString reason = rec[QStringLiteral("verification")][QStringLiteral("reason")].toString();
    if (!reason.isEmpty())
        status += QStringLiteral(" (") + reason + QLatin1Char(')');
    if (swapped)
        expect(status == QLatin1String("could not run (a different phone is connected)"),
               QStringLiteral("another phone: verification %1").arg(status));
    else if (kept)
        expect(status == QLatin1String("verification failed"),
               QStringLiteral("an item still listed: verification %1").arg(status));
    else if (otherForm)
        expect(status.startsWith(QLatin1String("could not check")),
               QStringLiteral("an item listed in another form: verification %1").arg(status));
    if (status == QLatin1String("verified")) {
        // The lists the check read hold nothing it could not match.
        for (const QJsonValue v : rec[QStringLiteral("verification")][QStringLiteral("categories")].toArray()) {
            const int c = expected::categoryNamed(v.toObject()[QStringLiteral("category")].toString());
            if (!expect(c < CategoryCount, QStringLiteral("verification names an unknown category")))
                return;
            for (const QString &entry : m_sim.data().lists[c]) {
                const bool readable = c > Vedio || (c <= Message ? !entry.section(QLatin1Char(';'), 0, 0).isEmpty()
                                                                 : !proto::entryLocation(entry).isEmpty());
                if (!expect(readable, QStringLiteral("verified with an entry it cannot read listed: %1").arg(entry)))
                    return;
            }
        }
    }
    checkPageAgainstRecord();
}

// The confirm page: the level, the word, Erase Now, and a run that completes,
// or is cancelled and then resumed or left.
Journey::Page Journey::confirmAndErase(Page back)
{
    if (!waitFor([&] { return m_w.ui->M_ConformErase_1->isVisible(); }, QStringLiteral("the confirm page")))
        return Page::Done;
    QLineEdit *word = m_w.ui->M_ConformErase_LineEdit_InputErase;
    if (!expect(word->text().isEmpty(), QStringLiteral("the confirm page opened with \"%1\" typed").arg(word->text())))
        return Page::Done;
    if (back != Page::Done && !hurry() && chance(m_rng, 15)) {
        step(QStringLiteral("back"));
        click(m_w.ui->M_ConformErase_PushButton_Back, QStringLiteral("back"));
        return back;
    }
    if (chance(m_rng, 50)) {
        QAbstractButton *levels[] = {m_w.ui->T_M_SelectLevel_RatioButton_HighLevel,
                                     m_w.ui->T_M_SelectLevel_RatioButton_MediumLevel,
                                     m_w.ui->T_M_SelectLevel_RatioButton_LowLevel};
        const int k = int(m_rng.bounded(3u));
        step(QStringLiteral("level %1").arg(k));
        if (!click(m_w.ui->M_ConformErase_PushButton_Setting, QStringLiteral("level setting"))
            || !click(levels[k], QStringLiteral("level")) || !click(m_w.ui->T_M_SelectLevel_PusuButton_OK, QStringLiteral("level ok")))
            return Page::Done;
    }
    const QString shownLevel = m_w.ui->M_ConformErase_Label_SecurityLevel->text();
    const quint16 level = shownLevel == QLatin1String("High") ? 10 : shownLevel == QLatin1String("Medium") ? 7 : 3;

    // What the user chose, as keys.
    QSet<QString> chosen[CategoryCount];
    // An All run erases whatever the phone listed (also when none of it can
    // be sent); the other runs what was chosen.
    bool any = false;
    for (int c = 0; c < CategoryCount; ++c) {
        if (m_scope == EraseType::All)
            any = any || !m_listed[c].isEmpty();
        if (m_scope == EraseType::All) {
            const QStringList keys = allKeys(c);
            chosen[c] = QSet<QString>(keys.begin(), keys.end());
        } else if (m_scope == EraseType::App) {
            QRadioButton *const apps[AppCategoryCount] = {
                m_w.ui->EApp_RatioButton_Facebook, m_w.ui->EApp_RatioButton_Twitter,  m_w.ui->EApp_RatioButton_Skype,
                m_w.ui->EApp_RatioButton_Viber,    m_w.ui->EApp_RatioButton_KikMessenger, m_w.ui->EApp_RatioButton_WhatsApp};
            if (c >= FirstAppCategory && apps[c - FirstAppCategory]->isChecked())
                chosen[c] = QSet<QString>(m_listed[c].begin(), m_listed[c].end());
        } else if (c <= Vedio) {
            for (const QString &id : qAsConst(m_ticked[c]))
                for (const QString &key : keysOf(c, id))
                    chosen[c] << key;
        }
        any = any || !chosen[c].isEmpty();
    }
    // Now and then the phone carries out the run's first batch and has not
    // answered it yet when the user cancels. Its answer is never sent, or
    // sent right after the cancel's acknowledgement, or after the cancel
    // gave it up, or only when the next run begins.
    const bool cutFirstBatch = any && !hurry() && m_cancels < 2 && chance(m_rng, 15);
    enum class Held { Drop, AfterAck, AfterGiveUp, AtNextRun };
    const int pickHeld = int(m_rng.bounded(100u));
    const Held held = pickHeld < 40 ? Held::Drop : pickHeld < 65 ? Held::AfterAck : pickHeld < 85 ? Held::AfterGiveUp
                                                                                                  : Held::AtNextRun;
    step(QStringLiteral("erase now at %1").arg(shownLevel));
    QTest::keyClicks(word, QStringLiteral("Erase"));
    const int from = m_sim.eraseRequests().size();
    m_sim.setHeldOnCancel(held == Held::Drop       ? CompanionSimulator::HeldOnCancel::Drop
                          : held == Held::AfterAck ? CompanionSimulator::HeldOnCancel::AnswerAfterAck
                                                   : CompanionSimulator::HeldOnCancel::Keep);
    // (Answers still held from an earlier cancel are sent now, as this run
    // begins.)
    m_sim.setHoldEraseAnswers(cutFirstBatch);
    if (!click(m_w.ui->M_ConformErase_PushButton_EraseNow, QStringLiteral("Erase Now")))
        return Page::Done;

    if (!any) {
        // Nothing chosen: the notice asks for a choice, nothing is sent.
        const bool ran = m_w.ui->M_IsErasing_2->isVisible() || m_w.ui->M_EraseCompleted_3->isVisible();
        if (!expect(!ran && m_w.ui->T_D_SelectedItemLessOne->isVisible(), QStringLiteral("no notice for an empty choice")))
            return Page::Done;
        click(m_w.ui->T_D_SelectedItemLessOne_PushButton_Ok, QStringLiteral("notice ok"));
        // Whatever the clicks sent has reached the simulator once a marker
        // request written after it has.
        const int marks = m_sim.count(proto::GetMessageCount);
        m_w.getMessageCount();
        if (!waitFor([&] { return m_sim.count(proto::GetMessageCount) > marks; }, QStringLiteral("the marker request")))
            return Page::Done;
        expect(m_sim.eraseRequests().size() == from, QStringLiteral("sent something for an empty choice"));
        word->clear();
        if (back == Page::Done || hurry())
            return Page::Done;
        click(m_w.ui->M_ConformErase_PushButton_Back, QStringLiteral("back"));
        return back;
    }

    // The run starts once the default-SMS-app answers are in; what shows
    // ticked is what it stands for, also when all of it was erased before a
    // cancel (the run then ends at once, reporting it).
    if (!waitFor([&] { return m_w.ui->M_IsErasing_2->isVisible() || m_w.ui->M_EraseCompleted_3->isVisible()
                              || m_w.ui->T_D_SelectedItemLessOne->isVisible(); },
                 QStringLiteral("the run")))
        return Page::Done;
    if (!expect(!m_w.ui->T_D_SelectedItemLessOne->isVisible(),
                QStringLiteral("asked for a choice while the choice shows ticked")))
        return Page::Done;
    if (cutFirstBatch
        && !waitFor([&] { return m_sim.heldEraseAnswers() > 0 || m_w.ui->M_EraseCompleted_3->isVisible(); },
                    QStringLiteral("the first batch")))
        return Page::Done;
    const bool cancel = cutFirstBatch || (!hurry() && m_cancels < 2 && chance(m_rng, 30));
    if (cancel) {
        if (m_w.ui->M_IsErasing_PubuButton_Stop->isVisible()) {
            const char *const heldWords[] = {"held answer dropped, stop",
                                             "held answer after the acknowledgement, stop",
                                             "held answer after the give-up, stop",
                                             "held answer at the next run, stop"};
            step(m_sim.heldEraseAnswers() > 0 ? QLatin1String(heldWords[int(held)]) : QStringLiteral("stop"));
            ++m_cancels;
            click(m_w.ui->M_IsErasing_PubuButton_Stop, QStringLiteral("stop"));
            if (m_w.ui->T_D_IsErasing_Stop_PushButton_Ok->isVisible())
                click(m_w.ui->T_D_IsErasing_Stop_PushButton_Ok, QStringLiteral("stop ok"));
        }
    }
    if (!waitFor([&] { return m_w.ui->M_EraseCompleted_3->isVisible() || m_w.ui->M_ConformErase_1->isVisible(); },
                 QStringLiteral("the end of the run")))
        return Page::Done;
    const bool heldSomething = m_sim.heldEraseAnswers() > 0;
    {
        QSet<QString> sentNow[CategoryCount];
        const QList<CompanionSimulator::EraseRecord> requests = m_sim.eraseRequests();
        for (int i = from; i < requests.size(); ++i)
            sentNow[requests.at(i).category] << requests.at(i).key;
        for (int c = 0; c < CategoryCount; ++c) {
            if (m_givenUp[c].isEmpty() || sentNow[c].isEmpty())
                continue;
            m_inexact = m_inexact || sentNow[c] != m_givenUp[c];
            m_givenUp[c].clear();
        }
    }
    const auto giveUp = [&] {
        const QList<CompanionSimulator::EraseRecord> requests = m_sim.eraseRequests();
        for (int i = from; i < requests.size(); ++i) {
            m_cutRequests << i;
            m_givenUp[requests.at(i).category] << requests.at(i).key;
        }
    };
    if (cutFirstBatch) {
        switch (held) {
        case Held::Drop:
            // Held until the cancel, which dropped it (a run that sent
            // nothing held nothing).
            giveUp();
            m_sim.setHoldEraseAnswers(false);
            break;
        case Held::AfterAck:
            // Answered after the acknowledgement, while the cancel waited.
            m_sim.setHoldEraseAnswers(false);
            break;
        case Held::AfterGiveUp:
            // The cancel gave the batch up and wrote its record; the answer
            // comes now: it is the cancelled run's, the record is rewritten.
            m_sim.setHoldEraseAnswers(false);
            roundTrip();
            break;
        case Held::AtNextRun:
            // Sent as the next run begins, when it may no longer be told from
            // that run's own answers; the batch is sent again meanwhile.
            giveUp();
            m_inexact = m_inexact || heldSomething;
            break;
        }
    }
    if (!checkRun(chosen, from, level))
        return Page::Done;
    if (m_phone.contradictory)
        m_inexact = true;
    if (!checkClaims() || !checkPageAgainstRecord())
        return Page::Done;
    if (m_w.ui->M_EraseCompleted_3->isVisible()) {
        step(QStringLiteral("completed"));
        if (allSent(chosen))
            checkReport();
        if (!failed())
            comeBackAfterReboot();
        return Page::Done;
    }
    step(QStringLiteral("cancelled"));
    if (m_scope == EraseType::App || back == Page::Done || chance(m_rng, 50))
        return confirmAndErase(m_scope == EraseType::App ? Page::AppPage : back);
    step(QStringLiteral("back"));
    click(m_w.ui->M_ConformErase_PushButton_Back, QStringLiteral("back"));
    return back;
}

// Connects as the device link and the session do: a new connection, and the
// phone's particulars asked for and shown before anything else.
bool Journey::connectAsTheLinkDoes()
{
    m_w.m_homeInfoRequested = false;
    m_w.m_homeInfoShown = false;
    m_w.m_homeInfoReadable = false;
    if (!rig::connect(m_w, m_sim)
        || !rig::waitFor(m_w, [&] { return m_w.m_tcpSocket->state() == QAbstractSocket::ConnectedState; }))
        return false;
    m_w.newTCPConnected();
    const bool shown = rig::waitFor(m_w, [&] { return m_w.m_homeInfoShown; });
    m_w.m_timerNewTCPConnected->stop();
    m_w.m_timerHomeInfoReadable->stop();
    m_w.setScopeButtonsEnabled(true);
    return shown;
}

bool Journey::run()
{
    if (!expect(connectAsTheLinkDoes(), QStringLiteral("no connection to the simulator")))
        return false;
    EraseType scope = chance(m_rng, 70) ? EraseType::Private : chance(m_rng, 50) ? EraseType::All : EraseType::App;
    while (!failed()) {
        if (!scan(scope))
            return false;
        Page page = scope == EraseType::Private ? Page::Results
            : scope == EraseType::App           ? Page::AppPage
                                                : Page::Confirm;
        while (!failed() && page != Page::Done) {
            if (page == Page::Results) {
                page = privateResults();
                if (page == Page::Done)
                    break;
                if (m_scans < 3 && !hurry() && chance(m_rng, 12)) {
                    scope = chance(m_rng, 60) ? EraseType::Private : chance(m_rng, 50) ? EraseType::All : EraseType::App;
                    break; // a new scan
                }
                step(QStringLiteral("erase"));
                if (!click(m_w.ui->EP_IsScanning_PushButton_Erase, QStringLiteral("erase button")))
                    return false;
                page = confirmAndErase(Page::Results);
            } else if (page == Page::AppPage) {
                page = appPage();
                if (page == Page::Confirm)
                    page = confirmAndErase(Page::AppPage);
            } else {
                page = confirmAndErase(Page::Done);
            }
        }
        if (page == Page::Done)
            break;
    }
    return !failed();
}

} // namespace

class TestSelectionJourneys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qInfo("%d journeys from seed %llu", g_journeys, static_cast<unsigned long long>(g_firstSeed));
        m_clock.start();
    }
    // Ten journeys a row, so that any number of journeys stays within the
    // time allowed for one test row.
    void journeys_data()
    {
        QTest::addColumn<quint64>("first");
        QTest::addColumn<int>("count");
        for (int i = 0; i < g_journeys; i += 10) {
            const quint64 first = g_firstSeed + quint64(i);
            const int count = qMin(10, g_journeys - i);
            QTest::addRow("seeds %llu-%llu", static_cast<unsigned long long>(first),
                          static_cast<unsigned long long>(first + quint64(count) - 1))
                << first << count;
        }
    }
    void journeys()
    {
        QFETCH(quint64, first);
        QFETCH(int, count);
        for (int i = 0; i < count; ++i) {
            Journey j(first + quint64(i));
            if (!j.run())
                QFAIL(qPrintable(j.report()));
        }
    }
    void cleanupTestCase()
    {
        qInfo("%d journeys in %lld ms", g_journeys, static_cast<long long>(m_clock.elapsed()));
        QStringList counts;
        for (auto it = g_stepCounts.cbegin(); it != g_stepCounts.cend(); ++it)
            counts << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
        qInfo("steps taken: %s", qPrintable(counts.join(QStringLiteral(", "))));
    }

private:
    QElapsedTimer m_clock;
};

int main(int argc, char *argv[])
{
    // The suite's own arguments are taken out before QtTest reads the rest.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    bool ok = false;
    const int fromEnv = qEnvironmentVariableIntValue("PURGATEX_JOURNEYS", &ok);
    if (ok)
        g_journeys = fromEnv;
    const quint64 seedFromEnv = qgetenv("PURGATEX_JOURNEY_SEED").toULongLong(&ok);
    if (ok)
        g_firstSeed = seedFromEnv;
    QVector<char *> rest;
    for (int i = 0; i < argc; ++i) {
        if (i + 1 < argc && (args.at(i) == QLatin1String("--journeys") || args.at(i) == QLatin1String("--seed"))) {
            if (args.at(i) == QLatin1String("--journeys"))
                g_journeys = args.at(i + 1).toInt();
            else
                g_firstSeed = args.at(i + 1).toULongLong();
            ++i;
            continue;
        }
        rest << argv[i];
    }
    QApplication app(argc, argv);
    // Thousands of clicks: the window's debug lines are left out.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    TestSelectionJourneys test;
    return QTest::qExec(&test, rest.size(), rest.data());
}

#include "tst_selectionjourneys.moc"
