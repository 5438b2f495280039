#include "workflow/recordtext.h"

#include <QCoreApplication>
#include <QHash>

namespace workflow::recordtext {

namespace {

// The user's words of the English texts kept, for the life of the program
// (a few reasons per erase run; the language does not change meanwhile).
QHash<QString, QString> &keptWords()
{
    static QHash<QString, QString> words;
    return words;
}

QString withCount(QString text, int n)
{
    if (n < 0)
        return text;
    text.replace(QLatin1String("%Ln"), QString::number(n));
    text.replace(QLatin1String("%n"), QString::number(n));
    return text;
}

} // namespace

Text Text::arg(const QString &a) const
{
    return {english.arg(a), shown.arg(a)};
}

Text Text::arg(const Text &a) const
{
    return {english.arg(a.english), shown.arg(a.shown)};
}

Text Text::arg(qint64 n) const
{
    return {english.arg(n), shown.arg(n)};
}

Text text(const char *source, int n)
{
    return {withCount(QString::fromUtf8(source), n), QCoreApplication::translate("recordtext", source, nullptr, n)};
}

Text join(const QList<Text> &parts, const char *separator)
{
    const Text sep = text(separator);
    Text joined;
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            joined.english += sep.english;
            joined.shown += sep.shown;
        }
        joined.english += parts.at(i).english;
        joined.shown += parts.at(i).shown;
    }
    return joined;
}

QString keep(const Text &t)
{
    if (t.shown != t.english)
        keptWords().insert(t.english, t.shown);
    return t.english;
}

QString shown(const QString &english)
{
    const auto kept = keptWords().constFind(english);
    if (kept != keptWords().constEnd())
        return kept.value();
    return QCoreApplication::translate("recordtext", english.toUtf8().constData());
}

} // namespace workflow::recordtext
