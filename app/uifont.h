#pragma once

#include <QFont>
#include <QStringList>

// Fonts by lists of families that exist on Windows and fall back to
// sans-serif families where they do not (Linux; Wine, which lacks Windows'
// fonts): a family a system lacks never turns into its serif default.
namespace app::uifont {

// `first`, then Arial, Segoe UI, Tahoma, Liberation Sans and DejaVu Sans,
// each once.
QStringList sansFamilies(const QString &first);

// A sans-serif font of that first family and size.
QFont sans(const QString &first, int pointSize);

// The same fallbacks behind the family of `font` (the system's UI font).
QFont withFallbacks(const QFont &font);

} // namespace app::uifont
