#include "deferredstyle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QStyle>
#include <QTimer>
#include <QWidget>

namespace app::deferredstyle {
namespace {

// The widget and everything on it, parents before their children (the order
// in which a show polishes them).
void collect(QWidget *w, QList<QWidget *> *out)
{
    out->append(w);
    for (QObject *child : w->children())
        if (child->isWidgetType())
            collect(static_cast<QWidget *>(child), out);
}

class Registry : public QObject
{
public:
    explicit Registry(QObject *parent) : QObject(parent) {}

    void defer(QWidget *part)
    {
        if (!part || m_partOf.contains(part))
            return;
        m_parts.append(part);
        QList<QWidget *> widgets;
        collect(part, &widgets);
        for (QWidget *w : qAsConst(widgets)) {
            m_partOf.insert(w, part);
            w->installEventFilter(this);
            // Qt's style sheet style keeps the parsed style sheet of every
            // widget whose children it has styled or been asked about, and
            // drops it when the widget goes only once the widget itself has
            // been styled or asked about. A part destroyed before it was ever
            // styled would leave its sheet behind, to be taken for the sheet
            // of a later widget made at the same address. Asking about the
            // widget once makes the style forget it with the widget.
            if (!w->styleSheet().isEmpty() && !w->children().isEmpty())
                w->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, w);
        }
        // Only the keys are dropped; nothing of a destroyed part is reached.
        connect(part, &QObject::destroyed, this, [this, part] { forget(part); });
    }

    QWidget *partOf(const QObject *w) const { return m_partOf.value(w); }

    // Gives every widget of the part the polish it was left without.
    void style(QWidget *part)
    {
        if (!m_parts.removeOne(part))
            return;
        disconnect(part, &QObject::destroyed, this, nullptr);
        QList<QWidget *> widgets;
        collect(part, &widgets);
        for (QWidget *w : qAsConst(widgets)) {
            w->removeEventFilter(this);
            m_partOf.remove(w);
        }
        for (QWidget *w : qAsConst(widgets)) {
            if (m_owed.remove(w)) {
                QEvent polish(QEvent::Polish);
                QCoreApplication::sendEvent(w, &polish);
            }
        }
        forget(part); // widgets of the part deleted while it waited
    }

    void styleRemaining()
    {
        if (m_scheduled || m_parts.isEmpty())
            return;
        m_scheduled = true;
        // A queued call: one part per turn of the event loop.
        QTimer::singleShot(0, this, [this] {
            m_scheduled = false;
            if (m_parts.isEmpty())
                return;
            style(m_parts.first());
            styleRemaining();
        });
    }

    int pending() const { return m_parts.size(); }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::Polish:
            // The window's show reaches the part: the polish is owed.
            if (m_partOf.contains(watched)) {
                m_owed.insert(watched);
                return true;
            }
            break;
        case QEvent::Show:
        case QEvent::Paint:
            if (QWidget *part = m_partOf.value(watched))
                style(part);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void forget(QWidget *part)
    {
        m_parts.removeOne(part);
        for (auto it = m_partOf.begin(); it != m_partOf.end();) {
            if (it.value() == part) {
                m_owed.remove(it.key());
                it = m_partOf.erase(it);
            } else {
                ++it;
            }
        }
    }

    QList<QWidget *> m_parts;                 // waiting, in the order deferred
    QHash<const QObject *, QWidget *> m_partOf; // every widget of a waiting part
    QSet<const QObject *> m_owed;             // swallowed polish, to be given
    bool m_scheduled = false;
};

QPointer<Registry> g_registry;

Registry *registry()
{
    if (!g_registry && QCoreApplication::instance())
        g_registry = new Registry(QCoreApplication::instance());
    return g_registry;
}

} // namespace

void defer(const QList<QWidget *> &parts)
{
    Registry *r = registry();
    if (!r)
        return;
    for (QWidget *part : parts)
        r->defer(part);
}

void ensureStyled(QWidget *w)
{
    if (!w)
        return;
    if (g_registry) {
        if (QWidget *part = g_registry->partOf(w))
            g_registry->style(part);
    }
    w->ensurePolished();
}

void styleRemaining()
{
    if (g_registry)
        g_registry->styleRemaining();
}

int pendingParts()
{
    return g_registry ? g_registry->pending() : 0;
}

} // namespace app::deferredstyle
