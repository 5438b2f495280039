#pragma once

#include <QPoint>
#include <QPushButton>

// The drag bar at the top of a notice window: dragging it moves the notice
// (its parent window) and nothing else.
class TopButtonForMouseMove : public QPushButton
{
    Q_OBJECT

public:
    explicit TopButtonForMouseMove(QWidget *parent = nullptr);

    bool m_moving = false;
    QPoint m_parentPosAtPress;
    QPoint m_globalPosAtPress;

protected:
    bool event(QEvent *e) override;
};
