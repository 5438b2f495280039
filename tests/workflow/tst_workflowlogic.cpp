#include "workflow/countdown.h"
#include "workflow/eraseplan.h"
#include "workflow/scanplan.h"

#include <QtTest>

// The workflow's decisions without a window: scan chain, countdown, erase run.
class TestWorkflowLogic : public QObject
{
    Q_OBJECT
private slots:
    void sharesSumToHundredPerScope_data();
    void sharesSumToHundredPerScope();
    void chainOrderEndsAtScopeEdge_data();
    void chainOrderEndsAtScopeEdge();
    void askDecision_data();
    void askDecision();

    void formatHms_data();
    void formatHms();
    void tickSequence_data();
    void tickSequence();
    void capsConsumeFinishedFlagsOnly();

    void confirmWord_data();
    void confirmWord();
    void selection();
    void keysNotAnswered_data();
    void keysNotAnswered();
    void scaledEstimatesComeFromReplyEachRun();
    void walkSteps_data();
    void walkSteps();
    void walkStopsAtCancelAfterPassing();
    void completionText_data();
    void completionText();
};

void TestWorkflowLogic::sharesSumToHundredPerScope_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QList<int>>("shares");
    QTest::newRow("private") << int(EraseType::Private) << QList<int>{10, 20, 20, 20, 20, 10, 0, 0, 0, 0, 0, 0};
    QTest::newRow("app") << int(EraseType::App) << QList<int>{0, 0, 0, 0, 0, 0, 10, 20, 20, 20, 20, 10};
    QTest::newRow("all") << int(EraseType::All) << QList<int>{5, 10, 10, 10, 10, 5, 5, 10, 10, 10, 10, 5};
}

void TestWorkflowLogic::sharesSumToHundredPerScope()
{
    QFETCH(int, scope);
    QFETCH(QList<int>, shares);
    int total = 0;
    for (int c = 0; c < CategoryCount; ++c) {
        QCOMPARE(workflow::scanplan::progressShare(EraseType(scope), c), shares[c]);
        total += workflow::scanplan::progressShare(EraseType(scope), c);
    }
    QCOMPARE(total, 100);
}

void TestWorkflowLogic::chainOrderEndsAtScopeEdge_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("next");
    QTest::newRow("private contact") << int(EraseType::Private) << int(Contact) << int(History);
    QTest::newRow("private vedio ends") << int(EraseType::Private) << int(Vedio) << -1;
    QTest::newRow("all vedio to facebook") << int(EraseType::All) << int(Vedio) << int(Facebook);
    QTest::newRow("all kik to whatsapp") << int(EraseType::All) << int(Kik) << int(Whatsapp);
    QTest::newRow("all whatsapp ends") << int(EraseType::All) << int(Whatsapp) << -1;
    QTest::newRow("app whatsapp ends") << int(EraseType::App) << int(Whatsapp) << -1;
    QTest::newRow("app outside scope") << int(EraseType::App) << int(Message) << -1;
}

void TestWorkflowLogic::chainOrderEndsAtScopeEdge()
{
    QFETCH(int, scope);
    QFETCH(int, category);
    QFETCH(int, next);
    QCOMPARE(workflow::scanplan::nextInChain(EraseType(scope), category), next);
}

void TestWorkflowLogic::askDecision_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("sdk");
    QTest::addColumn<QList<bool>>("gates");
    QTest::addColumn<float>("expected");
    QTest::addColumn<int>("decision");
    const QList<bool> open{true, true, true, true};
    const QList<bool> historyClosed{true, false, true, true};
    const QList<bool> filesClosed{true, true, true, false};
    QTest::newRow("old phone asks") << int(History) << 22 << historyClosed << 1.0f << int(workflow::scanplan::AskDecision::Ask);
    QTest::newRow("old phone empty") << int(History) << 22 << open << 0.0f << int(workflow::scanplan::AskDecision::SkipNoData);
    QTest::newRow("sdk23 gate closed") << int(History) << 23 << historyClosed << 5.0f
                                       << int(workflow::scanplan::AskDecision::SkipGateClosed);
    QTest::newRow("sdk23 gate open") << int(History) << 23 << open << 5.0f << int(workflow::scanplan::AskDecision::Ask);
    QTest::newRow("sdk23 open but empty") << int(Message) << 23 << open << 0.0f
                                          << int(workflow::scanplan::AskDecision::SkipNoData);
    QTest::newRow("apps use gate 3") << int(Kik) << 28 << filesClosed << 3.0f
                                     << int(workflow::scanplan::AskDecision::SkipGateClosed);
    QTest::newRow("vedio uses gate 3") << int(Vedio) << 28 << filesClosed << 3.0f
                                       << int(workflow::scanplan::AskDecision::SkipGateClosed);
    QTest::newRow("contact gate 0 ignores gate 3") << int(Contact) << 28 << filesClosed << 3.0f
                                                   << int(workflow::scanplan::AskDecision::Ask);
}

void TestWorkflowLogic::askDecision()
{
    QFETCH(int, category);
    QFETCH(int, sdk);
    QFETCH(QList<bool>, gates);
    QFETCH(float, expected);
    QFETCH(int, decision);
    const bool g[4] = {gates[0], gates[1], gates[2], gates[3]};
    QCOMPARE(int(workflow::scanplan::decideAsk(category, sdk, g, expected)), decision);
}

void TestWorkflowLogic::formatHms_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0:0:0";
    QTest::newRow("example") << 7530.0 << "2:5:30";
    QTest::newRow("truncated") << 59.99 << "0:0:59";
    QTest::newRow("minute edge") << 3599.0 << "0:59:59";
    QTest::newRow("below zero truncates to zero") << -0.5 << "0:0:0";
    QTest::newRow("many hours") << 100.0 * 3600 + 61 << "100:1:1";
}

void TestWorkflowLogic::formatHms()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(workflow::countdown::formatHms(seconds), text);
}

void TestWorkflowLogic::tickSequence_data()
{
    QTest::addColumn<float>("start");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<float>>("stored");
    QTest::newRow("one and a half")
        << 1.5f << QStringList{"Remain Time 0:0:0", "Remain Time 0:0:0", "Remaining Time 0:0:0"}
        << QList<float>{0.5f, 0.0f, 0.0f};
    QTest::newRow("from an hour")
        << 3601.0f << QStringList{"Remain Time 1:0:0", "Remain Time 0:59:59"} << QList<float>{3600.0f, 3599.0f};
    QTest::newRow("nothing left") << 0.0f << QStringList{"Remaining Time 0:0:0"} << QList<float>{0.0f};
}

void TestWorkflowLogic::tickSequence()
{
    QFETCH(float, start);
    QFETCH(QStringList, texts);
    QFETCH(QList<float>, stored);
    const float expected[CategoryCount] = {};
    bool finished[CategoryCount] = {};
    float left = start;
    for (int i = 0; i < texts.size(); ++i) {
        const workflow::countdown::Tick t = workflow::countdown::tick(left, expected, finished,
                                                  workflow::scanplan::scopeCategories(EraseType::Private),
                                                  QStringLiteral("Remain Time "), QStringLiteral("Remaining Time 0:0:0"));
        QCOMPARE(t.text, texts[i]);
        QCOMPARE(t.remaining, stored[i]);
        QCOMPARE(t.stop, i == texts.size() - 1 && texts[i].startsWith("Remaining"));
        left = t.remaining;
    }
}

void TestWorkflowLogic::capsConsumeFinishedFlagsOnly()
{
    float expected[CategoryCount] = {};
    for (int c = 0; c < CategoryCount; ++c)
        expected[c] = float(c + 1); // 1..12
    bool finished[CategoryCount] = {};
    const auto priv = workflow::scanplan::scopeCategories(EraseType::Private);

    // Contact finished: at most History..Vedio = 2+3+4+5+6 = 20.
    finished[Contact] = true;
    workflow::countdown::Tick t = workflow::countdown::tick(100, expected, finished, priv, "R ", "Z");
    QCOMPARE(t.remaining, 20.0f);
    QVERIFY(!finished[Contact]);

    // A cap never raises the time.
    finished[History] = true;
    t = workflow::countdown::tick(5, expected, finished, priv, "R ", "Z");
    QCOMPARE(t.remaining, 4.0f);

    // App flags are left alone by a private countdown; the app scope caps with
    // the app times only: Kik finished leaves Whatsapp's 12.
    finished[Kik] = true;
    t = workflow::countdown::tick(100, expected, finished, priv, "R ", "Z");
    QVERIFY(finished[Kik]);
    t = workflow::countdown::tick(100, expected, finished, workflow::scanplan::scopeCategories(EraseType::App), "R ", "Z");
    QCOMPARE(t.remaining, 12.0f);
    QVERIFY(!finished[Kik]);

    // Last category of the scope finished: the next tick shows 0 with the
    // running text, the one after stops.
    finished[Vedio] = true;
    t = workflow::countdown::tick(50, expected, finished, priv, "Remaining Time ", "Remaining Time 0:0:0");
    QCOMPARE(t.text, QString("Remaining Time 0:0:0"));
    QVERIFY(!t.stop);
    t = workflow::countdown::tick(t.remaining, expected, finished, priv, "Remaining Time ", "Remaining Time 0:0:0");
    QVERIFY(t.stop);

    // With nothing left the flags are not consumed.
    finished[Audio] = true;
    t = workflow::countdown::tick(0, expected, finished, priv, "R ", "Z");
    QVERIFY(finished[Audio]);
}

void TestWorkflowLogic::confirmWord_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exact") << "Erase" << true;
    QTest::newRow("lower case") << "erase" << false;
    QTest::newRow("leading blank") << " Erase" << false;
    QTest::newRow("trailing blank") << "Erase " << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("upper case") << "ERASE" << false;
}

void TestWorkflowLogic::confirmWord()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QCOMPARE(workflow::eraseplan::isConfirmWord(typed), accepted);
}

void TestWorkflowLogic::selection()
{
    bool eraseBack[CategoryCount] = {};
    bool selected[CategoryCount] = {};
    eraseBack[Twitter] = true;
    eraseBack[Contact] = true;

    const bool checked[AppCategoryCount] = {true, true, false, false, true, false};
    workflow::eraseplan::selectApps(checked, selected);
    QVERIFY(selected[Facebook]);
    QVERIFY(selected[Twitter]); // erased before a cancel: it passes as erased then
    QVERIFY(selected[Kik]);
    QVERIFY(!selected[Skype]);

    int scanned[CategoryCount] = {};
    scanned[Contact] = 2;
    scanned[Photo] = 1;
    scanned[Twitter] = 4;
    scanned[Viber] = 1;
    workflow::eraseplan::selectForAll(scanned, eraseBack, selected);
    QVERIFY(selected[Contact]); // private categories go by their scanned lists
    QVERIFY(selected[Photo]);
    QVERIFY(!selected[Message]);
    QVERIFY(!selected[Twitter]);
    QVERIFY(selected[Viber]);
    QVERIFY(!selected[Facebook]);

    QVERIFY(workflow::eraseplan::anySelected(selected, workflow::scanplan::scopeCategories(EraseType::App)));
    bool none[CategoryCount] = {};
    QVERIFY(!workflow::eraseplan::anySelected(none, workflow::scanplan::scopeCategories(EraseType::All)));
}

void TestWorkflowLogic::keysNotAnswered_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QStringList>("answered");
    QTest::addColumn<QStringList>("batch");
    QTest::newRow("first run sends every chosen key in order")
        << QStringList{"17", "3", "250"} << QStringList{} << QStringList{"17", "3", "250"};
    QTest::newRow("keys chosen after a cancel, earlier ones answered")
        << QStringList{"17", "3", "250", "9"} << QStringList{"17", "250"} << QStringList{"3", "9"};
    QTest::newRow("a key listed twice goes once")
        << QStringList{"/sdcard/a;b.jpg", "/sdcard/c.jpg", "/sdcard/a;b.jpg"} << QStringList{}
        << QStringList{"/sdcard/a;b.jpg", "/sdcard/c.jpg"};
    QTest::newRow("everything answered") << QStringList{"17"} << QStringList{"17", "3"} << QStringList{};
}

void TestWorkflowLogic::keysNotAnswered()
{
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, answered);
    QFETCH(QStringList, batch);
    QCOMPARE(workflow::eraseplan::keysNotAnswered(chosen, QSet<QString>(answered.begin(), answered.end())), batch);
}

void TestWorkflowLogic::scaledEstimatesComeFromReplyEachRun()
{
    float reply[CategoryCount];
    for (int c = 0; c < CategoryCount; ++c)
        reply[c] = 2;
    float run1[CategoryCount];
    float run2[CategoryCount];
    workflow::eraseplan::scaledEraseTimes(reply, 10, run1);
    workflow::eraseplan::scaledEraseTimes(reply, 10, run2);
    for (int c = 0; c < CategoryCount; ++c) {
        QCOMPARE(run1[c], c >= Photo ? 20.0f : 2.0f);
        QCOMPARE(run2[c], run1[c]);
    }
    QCOMPARE(workflow::eraseplan::sum(run1, workflow::scanplan::scopeCategories(EraseType::All)), 3 * 2.0f + 9 * 20.0f);
}

void TestWorkflowLogic::walkSteps_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QList<int>>("selectedList");
    QTest::addColumn<QList<int>>("doneList");
    QTest::addColumn<int>("progress");
    QTest::addColumn<QList<int>>("sent");
    QTest::newRow("app two checked, nothing back")
        << int(EraseType::App) << QList<int>{Twitter, Kik} << QList<int>{} << 10 << QList<int>{Twitter};
    QTest::newRow("app first back")
        << int(EraseType::App) << QList<int>{Twitter, Kik} << QList<int>{Twitter} << 70 << QList<int>{Twitter, Kik};
    QTest::newRow("app both back") << int(EraseType::App) << QList<int>{Twitter, Kik} << QList<int>{Twitter, Kik}
                                   << 100 << QList<int>{Twitter, Kik, Viber, Whatsapp};
    QTest::newRow("private nothing selected passes all")
        << int(EraseType::Private) << QList<int>{} << QList<int>{} << 100
        << QList<int>{History, Message, Photo, Audio, Vedio};
    QTest::newRow("all waits at contact") << int(EraseType::All) << QList<int>{Contact} << QList<int>{} << 0
                                          << QList<int>{};
}

void TestWorkflowLogic::walkSteps()
{
    QFETCH(int, scope);
    QFETCH(QList<int>, selectedList);
    QFETCH(QList<int>, doneList);
    QFETCH(int, progress);
    QFETCH(QList<int>, sent);
    bool selected[CategoryCount] = {};
    bool done[CategoryCount] = {};
    bool passed[CategoryCount] = {};
    for (int c : selectedList)
        selected[c] = true;
    for (int c : doneList)
        done[c] = true;
    int p = 0;
    QList<int> calls;
    const bool stopped = workflow::eraseplan::walkSteps(EraseType(scope), selected, done, passed, false, p,
                                              [&](int c) { calls << c; });
    QVERIFY(!stopped);
    QCOMPARE(p, progress);
    // The senders of unselected steps are called too (they send nothing).
    for (int c : sent)
        QVERIFY2(calls.contains(c), qPrintable(QString::number(c)));
    // A second tick with nothing new adds nothing.
    const int before = p;
    workflow::eraseplan::walkSteps(EraseType(scope), selected, done, passed, false, p, [&](int) {});
    QCOMPARE(p, before);
}

void TestWorkflowLogic::walkStopsAtCancelAfterPassing()
{
    bool selected[CategoryCount] = {};
    bool done[CategoryCount] = {};
    bool passed[CategoryCount] = {};
    selected[Contact] = selected[Photo] = true;
    done[Contact] = true;
    int p = 0;
    QList<int> calls;
    QVERIFY(workflow::eraseplan::walkSteps(EraseType::Private, selected, done, passed, true, p, [&](int c) { calls << c; }));
    QCOMPARE(p, 10);
    QVERIFY(calls.isEmpty());
    QVERIFY(passed[Contact]);
    QVERIFY(!passed[History]);
}

void TestWorkflowLogic::completionText_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("erased");
    // per category: notErased, notConfirmed, resentFailed; and lists
    // incomplete or not read
    QTest::addColumn<QVector<int>>("notErased");
    QTest::addColumn<QVector<int>>("notConfirmed");
    QTest::addColumn<QVector<int>>("resentFailed");
    QTest::addColumn<QVector<int>>("lists"); // 1 incomplete, 2 not read
    QTest::addColumn<QString>("text");
    const QVector<int> none(CategoryCount, 0);
    const int all = int(EraseType::All);
    const int priv = int(EraseType::Private);
    const int app = int(EraseType::App);
    QTest::newRow("all run, everything erased")
        << all << 120 << none << none << none << none << "All data on your device has been erased permanently!";
    // A private or app run erased what was chosen, never all data.
    QTest::newRow("private run, everything chosen erased")
        << priv << 2 << none << none << none << none << "2 items erased permanently.";
    QTest::newRow("app run, one item") << app << 1 << none << none << none << none << "1 item erased permanently.";
    QVector<int> some(CategoryCount, 0);
    some[Contact] = 2;
    some[Vedio] = 1;
    QTest::newRow("all run, two categories failed")
        << all << 40 << some << none << none << none
        << "40 items erased permanently. 3 items could not be erased (Contact: 2, Video: 1).";
    QVector<int> one(CategoryCount, 0);
    one[Whatsapp] = 1;
    QTest::newRow("nothing erased") << app << 0 << one << none << none << none
                                    << "Nothing was erased. 1 item could not be erased (WhatsApp: 1).";
    // Sent before a cancel without an answer, failed when sent again: never
    // called erased, nor "could not be erased".
    QVector<int> resent(CategoryCount, 0);
    resent[Facebook] = 4;
    QTest::newRow("failed when sent again")
        << app << 3 << none << resent << resent << none
        << "3 items erased permanently. 4 items are not confirmed erased (Facebook: 4): they may already have been "
           "erased before the cancel.";
    // Answers that contradict themselves, or that may be an earlier batch's.
    QVector<int> unconfirmed(CategoryCount, 0);
    unconfirmed[Photo] = 2;
    unconfirmed[Facebook] = 4;
    QTest::newRow("not confirmed, some of them sent before a cancel")
        << all << 9 << one << unconfirmed << resent << none
        << "9 items erased permanently. 1 item could not be erased (WhatsApp: 1). 2 items were sent, but the phone "
           "did not confirm them as erased (Photo: 2). 4 items are not confirmed erased (Facebook: 4): they may "
           "already have been erased before the cancel.";
    QVector<int> lists(CategoryCount, 0);
    lists[Contact] = 2;
    lists[Photo] = 2;
    lists[Message] = 1;
    QTest::newRow("all run with lists not read")
        << all << 30 << none << none << none << lists
        << "30 items erased permanently. One list could not be read whole from the phone (Message): what was not "
           "read has not been erased. The phone did not let the program read Contact, Photo: nothing of it was "
           "erased.";
    QVector<int> contactNotRead(CategoryCount, 0);
    contactNotRead[Contact] = 2;
    QTest::newRow("private run, contacts not read")
        << priv << 1 << none << none << none << contactNotRead
        << "1 item erased permanently. The phone did not let the program read Contact: nothing of it was erased.";
}

void TestWorkflowLogic::completionText()
{
    QFETCH(int, scope);
    QFETCH(int, erased);
    QFETCH(QVector<int>, notErased);
    QFETCH(QVector<int>, notConfirmed);
    QFETCH(QVector<int>, resentFailed);
    QFETCH(QVector<int>, lists);
    QFETCH(QString, text);
    workflow::eraseplan::CompletionFigures f;
    f.scope = EraseType(scope);
    f.erased = erased;
    for (int c = 0; c < CategoryCount; ++c) {
        f.notErased[c] = notErased[c];
        f.notConfirmed[c] = notConfirmed[c];
        f.resentFailed[c] = resentFailed[c];
        f.incomplete[c] = lists[c] == 1;
        f.notRead[c] = lists[c] == 2;
    }
    QCOMPARE(workflow::eraseplan::completionText(f), text);
    QCOMPARE(workflow::eraseplan::failedItems(3, 1), 3);
    QCOMPARE(workflow::eraseplan::failedItems(0, 2), 2);
}

QTEST_GUILESS_MAIN(TestWorkflowLogic)
#include "tst_workflowlogic.moc"
