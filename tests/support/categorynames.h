#pragma once

// The names the report page and the erase record give the twelve categories,
// written out as the user reads them, so that a test finds a category in a
// record or on a page without asking the program what it calls it.

#include "protocol/categories.h"

#include <QString>

namespace expected {

inline const char *const kCategoryNames[CategoryCount] = {"Contact", "History",  "Message", "Photo",
                                                          "Audio",   "Video",    "Facebook", "Twitter",
                                                          "Skype",   "Viber",    "Kik",      "WhatsApp"};

inline QString categoryName(int category) { return QString::fromLatin1(kCategoryNames[category]); }

// The category of that name, or CategoryCount when no category has it.
inline int categoryNamed(const QString &name)
{
    int c = 0;
    while (c < CategoryCount && name != QLatin1String(kCategoryNames[c]))
        ++c;
    return c;
}

} // namespace expected
