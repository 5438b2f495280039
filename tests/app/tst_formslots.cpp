#include "formslots.h"

#include <QtTest>

// The form's slots are connected by app::connectFormSlots(), which must connect
// exactly what QMetaObject::connectSlotsByName() connects and warn as it
// warns: each case builds the same objects twice, connects one set each way,
// fires every signal of both and compares what the slots saw.

class Sender : public QObject
{
    Q_OBJECT
signals:
    void fired();
    void valueChanged(int value);
    void valueChanged(const QString &text);
    void moved(int x, int y = 0);
};

class Receiver : public QObject
{
    Q_OBJECT
public:
    QStringList calls;

private:
    void note(const char *slot, const QString &args = QString())
    {
        calls << QStringLiteral("%1(%2) from %3").arg(QLatin1String(slot), args, sender()->property("tag").toString());
    }

public slots:
    void on_button_fired() { note("on_button_fired"); }
    void on_a_b_fired() { note("on_a_b_fired"); }
    void on_dup_fired() { note("on_dup_fired"); }
    void on_knob_valueChanged(int value) { note("on_knob_valueChanged", QString::number(value)); }
    void on_knob_valueChanged(const QString &text) { note("on_knob_valueChanged", text); }
    void on_dial_valueChanged() { note("on_dial_valueChanged"); } // two signals would do
    void on_pad_moved(int x) { note("on_pad_moved", QString::number(x)); }
    void on_opt_fired(int n = 5) { note("on_opt_fired", QString::number(n)); }
    void on_ghost_fired() { note("on_ghost_fired"); } // no object of that name
    void on_self_fired() { note("on_self_fired"); }
    void on_deep_fired() { note("on_deep_fired"); }
    void on_plain() { note("on_plain"); } // not of the on_<name>_<signal> form
    void onButtonFired() { note("onButtonFired"); }
};

namespace {

QStringList *g_messages = nullptr;

void collect(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (g_messages)
        *g_messages << message;
}

// A receiver with the objects a case names: "name" or "parent/name", "#tag"
// telling objects of one name apart; "self" names the receiver itself.
Receiver *build(const QStringList &layout)
{
    auto *receiver = new Receiver;
    receiver->setProperty("tag", QStringLiteral("receiver"));
    QHash<QString, QObject *> made;
    for (const QString &entry : layout) {
        const QString path = entry.section(QLatin1Char('#'), 0, 0);
        if (path == QLatin1String("self")) {
            receiver->setObjectName(path);
            continue;
        }
        const QString parentPath = path.section(QLatin1Char('/'), 0, -2);
        QObject *parent = parentPath.isEmpty() ? receiver : made.value(parentPath);
        auto *sender = new Sender;
        sender->setParent(parent);
        sender->setObjectName(path.section(QLatin1Char('/'), -1));
        sender->setProperty("tag", entry);
        made.insert(path, sender);
    }
    return receiver;
}

// What the slots see when every signal of every object is fired, and the
// warnings the connecting gave.
QStringList run(const QStringList &layout, void (*connectSlots)(QObject *))
{
    QScopedPointer<Receiver> receiver(build(layout));
    QStringList messages;
    g_messages = &messages;
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    connectSlots(receiver.data());
    qInstallMessageHandler(previous);
    g_messages = nullptr;

    for (Sender *s : receiver->findChildren<Sender *>()) {
        emit s->fired();
        emit s->valueChanged(7);
        emit s->valueChanged(QStringLiteral("seven"));
        emit s->moved(3);
    }
    return messages + receiver->calls;
}

void byQt(QObject *o)
{
    QMetaObject::connectSlotsByName(o);
}

} // namespace

class TestFormSlots : public QObject
{
    Q_OBJECT
private slots:
    void connectsWhatConnectSlotsByNameConnects_data()
    {
        QTest::addColumn<QStringList>("layout");
        QTest::newRow("one of each") << QStringList{"self", "button", "a", "a_b", "knob", "dial", "pad", "opt"};
        QTest::newRow("a name that is the start of another")
            << QStringList{"a"}; // on_a_b_fired looks for signal b_fired() on "a"
        QTest::newRow("two objects of one name") << QStringList{"dup#first", "dup#second"};
        QTest::newRow("nested, the receiver unnamed") << QStringList{"box", "box/deep", "box/button"};
        QTest::newRow("nothing named") << QStringList{};
    }
    void connectsWhatConnectSlotsByNameConnects()
    {
        QFETCH(QStringList, layout);
        const QStringList want = run(layout, byQt);
        const QStringList got = run(layout, app::connectFormSlots);
        QCOMPARE(got, want);
    }

    void connectsAndWarnsAsExpected()
    {
        // The same, spelled out for one case, so that the comparison above
        // cannot pass with nothing connected.
        const QStringList got = run({"button", "knob", "dial", "opt"}, app::connectFormSlots);
        QVERIFY(got.contains("on_button_fired() from button"));
        QVERIFY(got.contains("on_knob_valueChanged(7) from knob"));
        QVERIFY(got.contains("on_knob_valueChanged(seven) from knob"));
        QVERIFY(got.contains("on_dial_valueChanged() from dial"));
        QCOMPARE(got.count("on_dial_valueChanged() from dial"), 1);
        QVERIFY(got.contains("on_opt_fired(5) from opt"));
        QVERIFY(got.contains("QMetaObject::connectSlotsByName: No matching signal for on_ghost_fired()"));
        QVERIFY(!got.join('\n').contains("onButtonFired"));
    }
};

QTEST_MAIN(TestFormSlots)
#include "tst_formslots.moc"
