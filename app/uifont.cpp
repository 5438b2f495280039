#include "uifont.h"

namespace app::uifont {

QStringList sansFamilies(const QString &first)
{
    QStringList families;
    for (const QString &family : {first, QStringLiteral("Arial"), QStringLiteral("Segoe UI"), QStringLiteral("Tahoma"),
                                  QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}) {
        if (!family.isEmpty() && !families.contains(family, Qt::CaseInsensitive))
            families << family;
    }
    return families;
}

QFont sans(const QString &first, int pointSize)
{
    QFont font(first, pointSize);
    font.setFamilies(sansFamilies(first));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont withFallbacks(const QFont &font)
{
    QFont out = font;
    out.setFamilies(sansFamilies(font.family()));
    out.setStyleHint(QFont::SansSerif);
    return out;
}

} // namespace app::uifont
