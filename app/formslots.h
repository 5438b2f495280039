#pragma once

class QObject;

namespace app {

// Connects the receiver's slots named on_<objectName>_<signal>(...) to the
// signals of the receiver and its children, by the same rule as
// QMetaObject::connectSlotsByName() and with the same warnings, which the
// form no longer calls (uic runs with --no-autoconnection). That one reads
// the name of every child for every slot, which for the window (some 270
// children, some 100 such slots) costs a good part of building the form;
// this one reads each name once and looks a slot's objects up by name.
void connectFormSlots(QObject *receiver);

} // namespace app
