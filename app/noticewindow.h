#pragma once

#include <QWidget>

// A notice of the window (the form's notices are of this class): a frameless
// dialog window from the moment it is made. Made as a child widget and turned
// into a window afterwards, a notice would be styled once more, with every
// widget on it, only to change its kind. It declares no class of its own
// (no Q_OBJECT), so style sheets, screen readers and code see a QWidget, as
// the form describes it.
class NoticeWindow : public QWidget
{
public:
    explicit NoticeWindow(QWidget *parent = nullptr)
        : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
    {
    }
};
