#pragma once

#include <QString>
#include <QUrl>

// The user guide shipped with the program: <program folder>/help/user-guide.html.
// When that file is missing (a test build, a damaged install) the copy compiled
// into the program is written to a temporary folder and that one is used.
// section is an anchor of the guide ("usb-debugging", "usb-drivers",
// "security-levels", "limits") or empty for its beginning.
QUrl userGuideUrl(const QString &section = QString());
