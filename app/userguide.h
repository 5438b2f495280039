#pragma once

#include <QString>
#include <QUrl>

namespace app {

// The user guide shipped with the program: <program folder>/help/user-guide.html
// (a build, the Windows install folder) or, installed on Linux,
// <prefix>/share/doc/purgatex/user-guide.html beside <prefix>/bin.
// When neither exists (a test build, a damaged install) the copy compiled
// into the program is written to the per-user cache folder and that one is used.
// section is an anchor of the guide ("usb-debugging", "usb-drivers",
// "security-levels", "limits") or empty for its beginning.
QUrl userGuideUrl(const QString &section = QString());

// The shipped guide for a program in programFolder, or an empty string.
QString shippedUserGuide(const QString &programFolder);

// Writes the compiled-in guide as <folder>/user-guide.html (the folder is made
// when missing) and returns that path, or an empty string when it cannot be
// written. A copy that already holds the guide is kept. Whatever else lies at
// that name (an older copy, a symbolic link, a link to nowhere) is replaced by
// a new file: nothing is ever written through a link.
QString writeUserGuideCopy(const QString &folder);

} // namespace app
