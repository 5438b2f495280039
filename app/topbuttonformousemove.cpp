#include "topbuttonformousemove.h"

#include <QApplication>
#include <QMouseEvent>

TopButtonForMouseMove::TopButtonForMouseMove(QWidget *parent)
    : QPushButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

bool TopButtonForMouseMove::event(QEvent *e)
{
    QWidget *notice = parentWidget() ? parentWidget()->window() : nullptr;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        if (notice) {
            m_parentPosAtPress = notice->pos();
            m_globalPosAtPress = static_cast<QMouseEvent *>(e)->globalPos();
        }
        break;
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(e);
        if (notice && me->buttons() != Qt::NoButton
            && (me->globalPos() - m_globalPosAtPress).manhattanLength() > QApplication::startDragDistance()) {
            m_moving = true;
            notice->move(me->globalPos() + m_parentPosAtPress - m_globalPosAtPress);
            m_moving = false;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_moving = false;
        break;
    default:
        break;
    }
    return QPushButton::event(e);
}
