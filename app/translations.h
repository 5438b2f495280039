#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The program speaks the user's language where it has a translation
// (purgatex_<language>.qm, compiled into the program under ":/translations"),
// English otherwise. English is the language of the sources and needs no
// translation. Log lines and the erase record's JSON file stay English.

// The languages a translation ships for ("de"), sorted.
QStringList shippedLanguages();

// The language to speak for the languages the user asks for, in the order
// asked ("de-DE", "en_GB", "C"): the first that is English or has a
// translation; English ("en") when none does. Pure.
QString chooseLanguage(const QStringList &asked, const QStringList &shipped);

// The languages asked for: PURGATEX_LANGUAGE (a language such as "de" or
// "en") when set, else the system's user-interface languages (on Linux from
// LANGUAGE, LC_ALL, LC_MESSAGES and LANG).
QStringList askedLanguages();

// Loads the translation of `language` and, where Qt's own translations are
// at hand (Qt's translations folder, or "translations" beside the program),
// Qt's texts in it (the line edits' context menus); makes it the default
// locale, so numbers and the pictures that carry words follow it. English
// loads nothing and only sets the default locale. Call once the application
// object exists and before the window is made. Returns whether the
// program's own translation was loaded (always true for English).
bool installTranslation(const QString &language);

// installTranslation(chooseLanguage(askedLanguages(), shippedLanguages())),
// logging the choice. Returns the language chosen.
QString installTranslations();

} // namespace app
