#include "formpictures.h"

#include "highdpi.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QPointer>

namespace app {

namespace {

// Stand-ins handed out since the last bind: their cache key, the path.
QHash<qint64, QString> &standIns()
{
    static QHash<qint64, QString> map;
    return map;
}

// Loads a label's picture when the label is first shown or painted.
class LabelPictures : public QObject
{
public:
    explicit LabelPictures(QObject *parent) : QObject(parent) {}

    void add(QLabel *label, qint64 standIn, const QString &path)
    {
        m_pending.insert(label, {standIn, path});
        label->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Show || e->type() == QEvent::Paint) {
            auto *label = static_cast<QLabel *>(watched);
            const auto it = m_pending.constFind(label);
            if (it != m_pending.constEnd()) {
                const Pending p = it.value();
                m_pending.remove(label);
                label->removeEventFilter(this);
                if (label->pixmap(Qt::ReturnByValue).cacheKey() == p.standIn)
                    label->setPixmap(purgatexPicture(p.path));
            }
        }
        return false;
    }

private:
    struct Pending
    {
        qint64 standIn;
        QString path;
    };
    QHash<QObject *, Pending> m_pending;
};

} // namespace

QPixmap formPicture(const char *path)
{
    QPixmap standIn(1, 1);
    standIn.fill(Qt::transparent);
    standIns().insert(standIn.cacheKey(), QString::fromUtf8(path));
    return standIn;
}

void bindFormPictures(QWidget *root)
{
    QHash<qint64, QString> pending;
    pending.swap(standIns());
    if (pending.isEmpty())
        return;
    auto pathOf = [&pending](const QIcon &icon) {
        if (icon.isNull())
            return QString();
        return pending.value(icon.pixmap(QSize(1, 1)).cacheKey());
    };
    // Icons are few and on the top bar: at once.
    const QString windowIcon = pathOf(root->windowIcon());
    if (!windowIcon.isEmpty())
        root->setWindowIcon(QIcon(windowIcon));
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        const QString path = pathOf(button->icon());
        if (!path.isEmpty())
            button->setIcon(QIcon(path));
    }
    auto *labels = new LabelPictures(root);
    for (QLabel *label : root->findChildren<QLabel *>()) {
        const qint64 key = label->pixmap(Qt::ReturnByValue).cacheKey();
        const QString path = pending.value(key);
        if (!path.isEmpty())
            labels->add(label, key, path);
    }
}

} // namespace app
