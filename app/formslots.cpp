#include "formslots.h"

#include <QDebug>
#include <QHash>
#include <QMetaMethod>
#include <QObject>

#include <algorithm>

namespace app {

namespace {

// The signal of `sender` a slot named for `signature` (what follows
// "on_<objectName>_") is connected to: the one of that very signature, else
// the first one (in declaration order, base classes first) with that name
// and at least the slot's parameters. An invalid method when there is none.
QMetaMethod signalFor(const QObject *sender, const char *signature, const char *slot)
{
    const QMetaObject *smo = sender->metaObject();
    const int exact = smo->indexOfSignal(signature);
    if (exact >= 0)
        return smo->method(exact);
    QMetaMethod first;
    QList<QByteArray> compatible;
    const int prefix = qstrlen(signature) - 1; // without the closing ')'
    for (int m = smo->methodCount() - 1; m >= 0; --m) {
        const QMetaMethod method = smo->method(m);
        if (method.methodType() != QMetaMethod::Signal)
            continue;
        if (!qstrncmp(method.methodSignature().constData(), signature, prefix)) {
            first = method;
            compatible.prepend(method.methodSignature());
        }
    }
    if (compatible.size() > 1)
        qWarning() << "QMetaObject::connectSlotsByName: Connecting slot" << slot
                   << "with the first of the following compatible signals:" << compatible;
    return first;
}

} // namespace

void connectFormSlots(QObject *receiver)
{
    if (!receiver)
        return;
    const QMetaObject *mo = receiver->metaObject();
    // Every object by name, each name read once; the order is the one
    // connectSlotsByName() tries them in (children in the order found, the
    // receiver itself last), which decides between objects of one name.
    const QObjectList list = receiver->findChildren<QObject *>(QString()) << receiver;
    QHash<QByteArray, QVector<int>> byName;
    for (int j = 0; j < list.size(); ++j) {
        const QByteArray name = list.at(j)->objectName().toLatin1();
        if (!name.isEmpty())
            byName[name].append(j);
    }

    for (int i = 0; i < mo->methodCount(); ++i) {
        if (!mo->method(i).name().startsWith("on_"))
            continue; // (the name is read without building the signature)
        const QByteArray slotSignature = mo->method(i).methodSignature();
        const char *slot = slotSignature.constData();
        if (slot[0] != 'o' || slot[1] != 'n' || slot[2] != '_')
            continue;

        // The objects whose name the slot's name continues with "_": a name
        // may hold '_' itself, so every later '_' may end it.
        QVector<int> candidates;
        for (int end = slotSignature.indexOf('_', 3); end >= 0; end = slotSignature.indexOf('_', end + 1)) {
            const auto found = byName.constFind(slotSignature.mid(3, end - 3));
            if (found != byName.constEnd())
                candidates += found.value();
        }
        std::sort(candidates.begin(), candidates.end());

        bool foundIt = false;
        for (int j : qAsConst(candidates)) {
            QObject *co = list.at(j);
            const QByteArray coName = co->objectName().toLatin1();
            const char *signal = slot + coName.size() + 4;
            const QMetaMethod signalMethod = signalFor(co, signal, slot);
            if (!signalMethod.isValid())
                continue;
            if (QObject::connect(co, signalMethod, receiver, mo->method(i))) {
                foundIt = true;
                break;
            }
        }
        if (foundIt) {
            // the slot is connected; its overloads made for default arguments are not
            while (mo->method(i + 1).attributes() & QMetaMethod::Cloned)
                ++i;
        } else if (!(mo->method(i).attributes() & QMetaMethod::Cloned)) {
            const int paren = slotSignature.indexOf('(');
            const int lastUnderscore = slotSignature.lastIndexOf('_', paren - 1);
            if (lastUnderscore > 3)
                qWarning("QMetaObject::connectSlotsByName: No matching signal for %s", slot);
        }
    }
}

} // namespace app
