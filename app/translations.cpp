#include "translations.h"

#include "resourcesinit.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

namespace app {

namespace {

const char *const TranslationsFolder = ":/translations";

// "de-DE", "de_AT", "de" -> "de"; "C" and "POSIX" -> "en"; empty for what
// names no language.
QString languageOf(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed == QLatin1String("C") || trimmed == QLatin1String("POSIX"))
        return QStringLiteral("en");
    const QLocale locale(trimmed);
    if (trimmed.isEmpty() || locale.language() == QLocale::C)
        return QString();
    return locale.name().section(QLatin1Char('_'), 0, 0);
}

} // namespace

QStringList shippedLanguages()
{
    initPurgatexResources();
    QStringList languages;
    const QStringList files = QDir(QLatin1String(TranslationsFolder))
                                  .entryList({QStringLiteral("purgatex_*.qm")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        languages << file.mid(9, file.size() - 9 - 3);
    return languages;
}

QString chooseLanguage(const QStringList &asked, const QStringList &shipped)
{
    for (const QString &name : asked) {
        const QString language = languageOf(name);
        if (language == QLatin1String("en") || shipped.contains(language))
            return language;
    }
    return QStringLiteral("en");
}

QStringList askedLanguages()
{
    const QString chosen = qEnvironmentVariable("PURGATEX_LANGUAGE").trimmed();
    if (!chosen.isEmpty())
        return {chosen};
    return QLocale::system().uiLanguages();
}

bool installTranslation(const QString &language)
{
    initPurgatexResources();
    // Numbers and the pictures that carry words follow the language chosen;
    // the system's locale stays where it speaks it (de_AT stays de_AT).
    const QLocale system = QLocale::system();
    const bool systemSpeaksIt = language == QLatin1String("en")
                                    ? system.language() == QLocale::English || system.language() == QLocale::C
                                    : system.language() == QLocale(language).language();
    QLocale::setDefault(systemSpeaksIt ? system : QLocale(language));
    if (language == QLatin1String("en"))
        return true;

    auto *own = new QTranslator(QCoreApplication::instance());
    if (!own->load(QStringLiteral("purgatex_") + language, QLatin1String(TranslationsFolder))) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);

    // Qt's own texts; optional (Windows installs bring them in "translations"
    // beside the program).
    auto *qt = new QTranslator(QCoreApplication::instance());
    const QString qtFile = QStringLiteral("qtbase_") + language;
    if (qt->load(qtFile, QLibraryInfo::location(QLibraryInfo::TranslationsPath))
        || qt->load(qtFile, QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return true;
}

QString installTranslations()
{
    const QStringList asked = askedLanguages();
    const QString language = chooseLanguage(asked, shippedLanguages());
    const bool loaded = installTranslation(language);
    qDebug() << "language:" << language << "of" << asked << (loaded ? "" : "(translation not loaded)");
    return language;
}

} // namespace app
