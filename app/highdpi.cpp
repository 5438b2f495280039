#include "highdpi.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QtMath>

namespace app {

void enableHighDpiScaling()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

QString doubleSizeName(const QString &path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= path.lastIndexOf(QLatin1Char('/')))
        return QString();
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

namespace {

// The pixmap QPixmap(path) would make of a picture, its alpha premultiplied
// here, on this thread: Qt converts a large picture on its thread pool,
// whose threads would be started for the first page's picture at start-up.
// Qt's own conversion, a band of rows at a time small enough to stay on
// this thread.
QPixmap pixmapOf(QImage image)
{
    if (image.format() == QImage::Format_ARGB32 && image.width() > 0) {
        const int width = image.width();
        const int bandRows = qMax(1, 16384 / width);
        for (int y = 0; y < image.height(); y += bandRows) {
            const int rows = qMin(bandRows, image.height() - y);
            const QImage band(image.constScanLine(y), width, rows, image.bytesPerLine(), QImage::Format_ARGB32);
            const QImage premultiplied = band.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            for (int r = 0; r < rows; ++r)
                memcpy(image.scanLine(y + r), premultiplied.constScanLine(r), size_t(width) * 4);
        }
        image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    }
    return QPixmap::fromImage(std::move(image));
}

} // namespace

QPixmap purgatexPicture(const QString &path)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QImage image;
    if (ratio <= 1.0)
        return image.load(path) ? pixmapOf(std::move(image)) : QPixmap(path);
    const QString twice = doubleSizeName(path);
    if (twice.isEmpty() || !QFile::exists(twice) || !image.load(twice))
        return QPixmap(path); // a picture without a 2x drawing (or not ours)
    image.setDevicePixelRatio(2.0);
    if (!qFuzzyCompare(ratio, 2.0)) {
        // 1.25, 1.5, 3, ...: scaled once, smoothly, to the device pixels the
        // picture covers, rather than by the painter at every paint.
        const QSize logical(qRound(image.width() / 2.0), qRound(image.height() / 2.0));
        image = image.scaled(qRound(logical.width() * ratio), qRound(logical.height() * ratio), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
        image.setDevicePixelRatio(ratio);
    }
    return pixmapOf(std::move(image));
}

QPixmap purgatexPicture(const char *path)
{
    return purgatexPicture(QString::fromUtf8(path));
}

namespace {

// QPushButton's own option set-up, reached as the button's paint event
// reaches it (a pointer to a protected member named through a subclass).
struct ButtonOption : QPushButton
{
    static void of(const QPushButton *button, QStyleOptionButton *option)
    {
        const auto init = &ButtonOption::initStyleOption;
        (button->*init)(option);
    }
};

bool wholeNumber(qreal ratio)
{
    return qFuzzyCompare(ratio, qreal(qRound(ratio)));
}

class SmoothButtonPainter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::Paint)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || wholeNumber(button->devicePixelRatioF()))
            return false;
        // What QPushButton::paintEvent does, with smooth picture scaling.
        QStylePainter painter(button);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        QStyleOptionButton option;
        ButtonOption::of(button, &option);
        painter.drawControl(QStyle::CE_PushButton, option);
        return true;
    }
};

} // namespace

void smoothButtonPictures(QWidget *root)
{
    auto *painter = new SmoothButtonPainter(root);
    for (QPushButton *button : root->findChildren<QPushButton *>())
        if (button->styleSheet().contains(QLatin1String("image:url")))
            button->installEventFilter(painter);
}

} // namespace app
