#pragma once

#include <QList>
#include <QString>

// The erase record's JSON file is for programs: its words stay English
// whatever language the window speaks. The reasons it carries (why a run
// ended, why items were not sent, why the check could not run) go into the
// account in English, and shown() gives back the user's words for them
// wherever the window or the PDF shows them. A fixed reason is marked for
// translation where it is made, QT_TRANSLATE_NOOP("recordtext", ...); a
// reason with blanks filled is made in both languages (text(), arg()) and
// kept (keep()).
namespace workflow::recordtext {

// A text in English and in the user's language.
struct Text
{
    QString english;
    QString shown;

    // Fills the lowest %1, %2, ... of both.
    Text arg(const QString &a) const;
    Text arg(const Text &a) const;
    Text arg(qint64 n) const;
};

// A text of the translation context "recordtext". `source` must be a
// literal lupdate sees, QT_TRANSLATE_NOOP("recordtext", ...) or, with a
// count (n >= 0), QT_TRANSLATE_N_NOOP("recordtext", ...): "%n" in it is the
// count, and the translation may have plural forms.
Text text(const char *source, int n = -1);
// The parts joined by a separator (a source as above).
Text join(const QList<Text> &parts, const char *separator);

// Notes the user's words of `t` for shown() and returns its English.
QString keep(const Text &t);
// The user's words for a reason: one kept before, else the translation of a
// fixed reason (context "recordtext"), else the text itself (the window
// speaks English, or the text is not one of ours).
QString shown(const QString &english);

} // namespace workflow::recordtext
