// Draws every picture of the program (flat style, blue #1EB2EA) into the
// resource folder given as the first argument, once at its size and once at
// twice its size for high-DPI screens ("name@2x.png", picked by Qt when the
// screen scales by more than 1). The pictures are committed; run this again
// after changing a drawing:
//   QT_QPA_PLATFORM=offscreen build/resources/purgatex-drawimages resources
// The PNG files are written with unfiltered rows (writePng); with --rewrite
// the pictures already in the folder are written again that way, pixel for
// pixel, without drawing anything:
//   QT_QPA_PLATFORM=offscreen build/resources/purgatex-drawimages --rewrite resources
//
// The pictures that carry words are drawn again in every language a
// translation is given for (purgatex_<language>.qm, built from the
// program's .ts files), into <resources>/<language>/, which the resource
// list names for that language:
//   build/resources/purgatex-drawimages resources build/translations/purgatex_de.qm
// Their words are the program's texts (the accessible names of the same
// controls share them) and, for what only a picture shows, the context
// "pictures".
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontMetrics>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QTranslator>

#include <cmath>
#include <functional>

namespace {

const QColor Blue(0x1E, 0xB2, 0xEA);
const QColor BlueLight(0x47, 0xC3, 0xF0);
const QColor BlueDark(0x15, 0x95, 0xC6);
const QColor BluePale(0xE8, 0xF7, 0xFD);
const QColor Ink(0x33, 0x33, 0x33);
const QColor Grey(0x66, 0x66, 0x66);
const QColor GreyLight(0xBF, 0xBF, 0xBF);
const QColor Warm(0xE8, 0x54, 0x1E);
const QColor Green(0x3C, 0xB8, 0x6B);
const QColor White(Qt::white);

QString g_root;
int g_count = 0;
// Empty while drawing the pictures themselves; the language ("de") while
// drawing the pictures that carry words again in it.
QString g_language;
// 1 for the pictures themselves, 2 for their "@2x" versions. Every drawing
// works in the picture's own coordinates; the painter scales.
int g_scale = 1;

QImage canvas(int w, int h)
{
    QImage img(w * g_scale, h * g_scale, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(g_scale);
    img.fill(Qt::transparent);
    return img;
}

quint32 crc32(const QByteArray &bytes)
{
    static quint32 table[256];
    if (!table[1]) {
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    quint32 c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ quint8(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray *out, quint32 v)
{
    out->append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

void appendChunk(QByteArray *png, const char *type, const QByteArray &data)
{
    appendBigEndian(png, quint32(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    png->append(typed);
    appendBigEndian(png, crc32(typed));
}

// The picture as an 8-bit RGBA PNG (the colours QImage::save() writes) whose
// rows carry no filter. libpng's writer picks a filter per row, mostly Paeth,
// which Qt's reader undoes pixel by pixel: unfiltered, the program reads its
// pictures several times faster (the first page's in a third of the time),
// and these flat drawings compress as well.
bool writePng(const QImage &picture, const QString &path)
{
    const QImage img = picture.convertToFormat(QImage::Format_ARGB32);
    QByteArray rows;
    rows.reserve((img.width() * 4 + 1) * img.height());
    for (int y = 0; y < img.height(); ++y) {
        rows.append('\0'); // filter type: none
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            rows.append(char(qRed(line[x]))).append(char(qGreen(line[x]))).append(char(qBlue(line[x])))
                .append(char(qAlpha(line[x])));
    }
    QByteArray header;
    appendBigEndian(&header, quint32(img.width()));
    appendBigEndian(&header, quint32(img.height()));
    header.append("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, standard filters, no interlace
    QByteArray density;
    appendBigEndian(&density, quint32(img.dotsPerMeterX()));
    appendBigEndian(&density, quint32(img.dotsPerMeterY()));
    density.append('\x01'); // per metre

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(&png, "IHDR", header);
    appendChunk(&png, "pHYs", density);
    appendChunk(&png, "IDAT", qCompress(rows, 9).mid(4)); // a zlib stream after qCompress's length
    appendChunk(&png, "IEND", QByteArray());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(png) == png.size();
}

// The words of the window's controls, and those only a picture shows.
class Ui
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};
class Pictures
{
    Q_DECLARE_TR_FUNCTIONS(pictures)
};

// Writes a picture (in a language's own folder when drawing one: only those
// that carry words).
void save(const QImage &img, const QString &rel, bool carriesWords = false)
{
    if (!g_language.isEmpty() && !carriesWords)
        return;
    QString name = g_language.isEmpty() ? rel : g_language + QLatin1Char('/') + rel;
    if (g_scale != 1)
        name.insert(name.lastIndexOf(QLatin1Char('.')), QStringLiteral("@%1x").arg(g_scale));
    const QString path = g_root + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool written = path.endsWith(QLatin1String(".png")) ? writePng(img, path) : img.save(path);
    if (!written)
        qFatal("cannot write %s", qPrintable(path));
    ++g_count;
}

QFont font(int px, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void begin(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// Words in a box. A translation longer than the English is made smaller
// (down to 3/4 of the size) until it fits the box; a label on one line
// that still does not fit is wrapped.
void text(QPainter &p, const QRectF &r, const QString &s, const QColor &c, int px, bool bold = false,
          int flags = Qt::AlignCenter)
{
    p.save();
    p.setPen(c);
    int size = px;
    if (!g_language.isEmpty()) {
        const auto fits = [&](int candidate, int withFlags) {
            const QRectF needed = QFontMetricsF(font(candidate, bold)).boundingRect(r, withFlags, s);
            return needed.width() <= r.width() + 0.5 && needed.height() <= r.height() + 0.5;
        };
        while (size > (px * 3 + 3) / 4 && !fits(size, flags))
            --size;
        if (!fits(size, flags) && !(flags & Qt::TextWordWrap) && fits(size, flags | Qt::TextWordWrap))
            flags |= Qt::TextWordWrap;
    }
    p.setFont(font(size, bold));
    p.drawText(r, flags, s);
    p.restore();
}

// ---------------------------------------------------------------- glyphs

// The product mark: a shield with a stylised sweep across it.
void drawMark(QPainter &p, const QRectF &r, const QColor &shield, const QColor &sweep)
{
    p.save();
    QPainterPath path;
    const qreal x = r.x(), y = r.y(), w = r.width(), h = r.height();
    path.moveTo(x + w / 2, y);
    path.lineTo(x + w, y + h * 0.18);
    path.cubicTo(x + w, y + h * 0.62, x + w * 0.78, y + h * 0.86, x + w / 2, y + h);
    path.cubicTo(x + w * 0.22, y + h * 0.86, x, y + h * 0.62, x, y + h * 0.18);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(shield);
    p.drawPath(path);
    p.setPen(QPen(sweep, std::max<qreal>(1.5, w * 0.11), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x + w * 0.28, y + h * 0.36), QPointF(x + w * 0.72, y + h * 0.36));
    p.drawLine(QPointF(x + w * 0.28, y + h * 0.54), QPointF(x + w * 0.62, y + h * 0.54));
    p.drawLine(QPointF(x + w * 0.36, y + h * 0.72), QPointF(x + w * 0.52, y + h * 0.72));
    p.restore();
}

void drawPhone(QPainter &p, const QRectF &r, const QColor &body, const QColor &screen, qreal stroke = 0)
{
    p.save();
    const qreal rad = r.width() * 0.14;
    p.setPen(stroke > 0 ? QPen(body, stroke) : Qt::NoPen);
    p.setBrush(stroke > 0 ? QBrush(Qt::NoBrush) : QBrush(body));
    p.drawRoundedRect(r, rad, rad);
    if (stroke <= 0) {
        const QRectF s(r.x() + r.width() * 0.08, r.y() + r.height() * 0.1, r.width() * 0.84, r.height() * 0.76);
        p.setBrush(screen);
        p.drawRoundedRect(s, 2, 2);
        p.setBrush(screen);
        const qreal d = r.width() * 0.13;
        p.drawEllipse(QPointF(r.center().x(), r.bottom() - r.height() * 0.065), d / 2, d / 2);
    } else {
        p.drawLine(QPointF(r.x() + r.width() * 0.35, r.bottom() - r.height() * 0.09),
                   QPointF(r.right() - r.width() * 0.35, r.bottom() - r.height() * 0.09));
    }
    p.restore();
}

void drawTrash(QPainter &p, const QRectF &r, const QColor &c, qreal stroke)
{
    p.save();
    p.setPen(QPen(c, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal w = r.width(), h = r.height();
    p.drawLine(QPointF(r.x(), r.y() + h * 0.2), QPointF(r.right(), r.y() + h * 0.2));
    p.drawLine(QPointF(r.x() + w * 0.35, r.y() + h * 0.2), QPointF(r.x() + w * 0.38, r.y()));
    p.drawLine(QPointF(r.x() + w * 0.38, r.y()), QPointF(r.x() + w * 0.62, r.y()));
    p.drawLine(QPointF(r.x() + w * 0.62, r.y()), QPointF(r.x() + w * 0.65, r.y() + h * 0.2));
    QPainterPath bin;
    bin.moveTo(r.x() + w * 0.1, r.y() + h * 0.3);
    bin.lineTo(r.x() + w * 0.18, r.bottom());
    bin.lineTo(r.right() - w * 0.18, r.bottom());
    bin.lineTo(r.right() - w * 0.1, r.y() + h * 0.3);
    p.drawPath(bin);
    for (qreal f : {0.38, 0.62})
        p.drawLine(QPointF(r.x() + w * f, r.y() + h * 0.42), QPointF(r.x() + w * f, r.bottom() - h * 0.12));
    p.restore();
}

void drawPerson(QPainter &p, const QRectF &r, const QColor &c)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const qreal w = r.width(), h = r.height();
    p.drawEllipse(QRectF(r.x() + w * 0.3, r.y(), w * 0.4, h * 0.42));
    QPainterPath body;
    body.moveTo(r.x(), r.bottom());
    body.cubicTo(r.x(), r.y() + h * 0.5, r.right(), r.y() + h * 0.5, r.right(), r.bottom());
    body.closeSubpath();
    p.drawPath(body);
    p.restore();
}

void drawLock(QPainter &p, const QRectF &r, const QColor &c, const QColor &hole)
{
    p.save();
    const qreal w = r.width(), h = r.height();
    p.setPen(QPen(c, w * 0.14));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.x() + w * 0.22, r.y(), w * 0.56, h * 0.7), 0, 180 * 16);
    p.drawLine(QPointF(r.x() + w * 0.22, r.y() + h * 0.35), QPointF(r.x() + w * 0.22, r.y() + h * 0.45));
    p.drawLine(QPointF(r.right() - w * 0.22, r.y() + h * 0.35), QPointF(r.right() - w * 0.22, r.y() + h * 0.45));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(r.x(), r.y() + h * 0.42, w, h * 0.58), w * 0.1, w * 0.1);
    p.setBrush(hole);
    p.drawEllipse(QPointF(r.center().x(), r.y() + h * 0.68), w * 0.09, w * 0.09);
    p.restore();
}

void drawAppsGrid(QPainter &p, const QRectF &r, const QColor &c)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const qreal cell = r.width() / 2;
    for (int i = 0; i < 4; ++i) {
        const QRectF q(r.x() + (i % 2) * cell + cell * 0.1, r.y() + (i / 2) * cell + cell * 0.1, cell * 0.8, cell * 0.8);
        if (i == 3) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(c, cell * 0.18, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(q.center().x(), q.top() + cell * 0.1), QPointF(q.center().x(), q.bottom() - cell * 0.1));
            p.drawLine(QPointF(q.left() + cell * 0.1, q.center().y()), QPointF(q.right() - cell * 0.1, q.center().y()));
        } else {
            p.drawRoundedRect(q, cell * 0.2, cell * 0.2);
        }
    }
    p.restore();
}

void drawTick(QPainter &p, const QRectF &r, const QColor &c, qreal stroke)
{
    p.save();
    p.setPen(QPen(c, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath t;
    t.moveTo(r.x() + r.width() * 0.12, r.y() + r.height() * 0.52);
    t.lineTo(r.x() + r.width() * 0.4, r.y() + r.height() * 0.8);
    t.lineTo(r.x() + r.width() * 0.88, r.y() + r.height() * 0.2);
    p.drawPath(t);
    p.restore();
}

void drawCircleGlyph(QPainter &p, const QRectF &r, const QColor &c, const QString &glyph)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(r);
    text(p, r, glyph, White, int(r.height() * 0.62), true);
    p.restore();
}

void drawNote(QPainter &p, const QRectF &r, const QColor &c)
{
    p.save();
    const qreal w = r.width(), h = r.height();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(r.x(), r.y() + h * 0.68, w * 0.38, h * 0.3));
    p.drawEllipse(QRectF(r.x() + w * 0.58, r.y() + h * 0.56, w * 0.38, h * 0.3));
    p.setPen(QPen(c, w * 0.1, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(r.x() + w * 0.33, r.y() + h * 0.82), QPointF(r.x() + w * 0.33, r.y() + h * 0.14));
    p.drawLine(QPointF(r.x() + w * 0.91, r.y() + h * 0.7), QPointF(r.x() + w * 0.91, r.y() + h * 0.02));
    p.setPen(QPen(c, w * 0.16, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(r.x() + w * 0.33, r.y() + h * 0.18), QPointF(r.x() + w * 0.91, r.y() + h * 0.06));
    p.restore();
}

void drawFilm(QPainter &p, const QRectF &r, const QColor &c)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(r.adjusted(0, r.height() * 0.15, 0, -r.height() * 0.15), r.width() * 0.12, r.width() * 0.12);
    p.setBrush(White);
    QPolygonF tri;
    tri << QPointF(r.x() + r.width() * 0.4, r.y() + r.height() * 0.33) << QPointF(r.x() + r.width() * 0.4, r.y() + r.height() * 0.67)
        << QPointF(r.x() + r.width() * 0.68, r.center().y());
    p.drawPolygon(tri);
    p.restore();
}

void drawPicture(QPainter &p, const QRectF &r, const QColor &c)
{
    p.save();
    p.setPen(QPen(c, r.width() * 0.08));
    p.setBrush(Qt::NoBrush);
    const QRectF f = r.adjusted(r.width() * 0.05, r.height() * 0.15, -r.width() * 0.05, -r.height() * 0.15);
    p.drawRoundedRect(f, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    QPolygonF m;
    m << QPointF(f.left() + 2, f.bottom() - 2) << QPointF(f.left() + f.width() * 0.38, f.top() + f.height() * 0.4)
      << QPointF(f.left() + f.width() * 0.6, f.top() + f.height() * 0.7) << QPointF(f.left() + f.width() * 0.75, f.top() + f.height() * 0.5)
      << QPointF(f.right() - 2, f.bottom() - 2);
    p.drawPolygon(m);
    p.drawEllipse(QPointF(f.right() - f.width() * 0.22, f.top() + f.height() * 0.28), f.width() * 0.09, f.width() * 0.09);
    p.restore();
}

void drawBubble(QPainter &p, const QRectF &r, const QColor &c)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const QRectF b = r.adjusted(0, r.height() * 0.1, 0, -r.height() * 0.25);
    p.drawRoundedRect(b, r.width() * 0.18, r.width() * 0.18);
    QPolygonF tail;
    tail << QPointF(b.left() + b.width() * 0.22, b.bottom() - 1) << QPointF(b.left() + b.width() * 0.18, r.bottom())
         << QPointF(b.left() + b.width() * 0.45, b.bottom() - 1);
    p.drawPolygon(tail);
    p.setBrush(White);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(b.left() + b.width() * (0.28 + 0.22 * i), b.center().y()), r.width() * 0.07, r.width() * 0.07);
    p.restore();
}

void drawClock(QPainter &p, const QRectF &r, const QColor &c)
{
    p.save();
    p.setPen(QPen(c, r.width() * 0.1));
    p.setBrush(Qt::NoBrush);
    const QRectF e = r.adjusted(r.width() * 0.06, r.height() * 0.06, -r.width() * 0.06, -r.height() * 0.06);
    p.drawEllipse(e);
    p.setPen(QPen(c, r.width() * 0.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(e.center(), QPointF(e.center().x(), e.top() + e.height() * 0.22));
    p.drawLine(e.center(), QPointF(e.center().x() + e.width() * 0.24, e.center().y() + e.height() * 0.1));
    p.restore();
}

void drawMagnifier(QPainter &p, const QRectF &r, const QColor &c, qreal stroke)
{
    p.save();
    p.setPen(QPen(c, stroke, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const qreal d = r.width() * 0.62;
    p.drawEllipse(QRectF(r.x(), r.y(), d, d));
    p.drawLine(QPointF(r.x() + d * 0.86, r.y() + d * 0.86), QPointF(r.right(), r.bottom()));
    p.restore();
}

void drawWarning(QPainter &p, const QRectF &r, const QColor &c)
{
    p.save();
    QPainterPath tri;
    tri.moveTo(r.center().x(), r.top());
    tri.lineTo(r.right(), r.bottom());
    tri.lineTo(r.left(), r.bottom());
    tri.closeSubpath();
    p.setPen(QPen(c, r.width() * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(c);
    p.drawPath(tri);
    text(p, QRectF(r.x(), r.y() + r.height() * 0.22, r.width(), r.height() * 0.78), QStringLiteral("!"), White,
         int(r.height() * 0.6), true);
    p.restore();
}

void drawCable(QPainter &p, const QPointF &from, const QPointF &to, const QColor &c, qreal width)
{
    p.save();
    QPainterPath path(from);
    path.cubicTo(QPointF(from.x(), to.y() + 40), QPointF(to.x() - 60, to.y()), to);
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

void drawMonitor(QPainter &p, const QRectF &r, const QColor &frame, const QColor &screen)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(frame);
    const QRectF body(r.x(), r.y(), r.width(), r.height() * 0.72);
    p.drawRoundedRect(body, 6, 6);
    p.setBrush(screen);
    p.drawRect(body.adjusted(8, 8, -8, -14));
    p.setBrush(frame);
    p.drawRect(QRectF(r.center().x() - r.width() * 0.07, body.bottom(), r.width() * 0.14, r.height() * 0.18));
    p.drawRoundedRect(QRectF(r.center().x() - r.width() * 0.22, r.bottom() - r.height() * 0.1, r.width() * 0.44, r.height() * 0.1), 3, 3);
    p.restore();
}

// Screen content: a short settings list with one highlighted row.
void drawSettingsScreen(QPainter &p, const QRectF &s, const QStringList &rows, int highlight, bool toggle)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(White);
    p.drawRect(s);
    const qreal rowH = s.height() / (rows.size() + 1);
    p.setBrush(Blue);
    p.drawRect(QRectF(s.x(), s.y(), s.width(), rowH));
    text(p, QRectF(s.x() + 6, s.y(), s.width() - 6, rowH), rows.first(), White, 11, true, Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 1; i < rows.size(); ++i) {
        const QRectF row(s.x(), s.y() + rowH * i, s.width(), rowH);
        if (i == highlight) {
            p.setBrush(BluePale);
            p.setPen(Qt::NoPen);
            p.drawRect(row);
        }
        text(p, row.adjusted(6, 0, -4, 0), rows.at(i), i == highlight ? BlueDark : Grey, 10, i == highlight,
             Qt::AlignLeft | Qt::AlignVCenter);
        p.setPen(QPen(QColor(0xE5, 0xE6, 0xE7), 1));
        p.drawLine(row.bottomLeft(), row.bottomRight());
        if (toggle && i == highlight) {
            const QRectF sw(row.right() - 30, row.center().y() - 7, 24, 14);
            p.setPen(Qt::NoPen);
            p.setBrush(Blue);
            p.drawRoundedRect(sw, 7, 7);
            p.setBrush(White);
            p.drawEllipse(QPointF(sw.right() - 7, sw.center().y()), 5, 5);
        }
    }
    p.restore();
}

// ---------------------------------------------------------------- top bar

void topButtons()
{
    struct Item
    {
        const char *file;
        const char *label;
        std::function<void(QPainter &, const QRectF &, const QColor &, const QColor &)> icon;
    };
    const QList<Item> items = {
        {"MyPhone", QT_TRANSLATE_NOOP("MainWindow", "My Phone"),
         [](QPainter &p, const QRectF &r, const QColor &fg, const QColor &bg) {
             drawPhone(p, QRectF(r.center().x() - 14, r.y(), 28, r.height()), fg, bg);
             drawMark(p, QRectF(r.center().x() - 7, r.y() + 13, 14, 16), fg, bg);
         }},
        {"EraseAllData", QT_TRANSLATE_NOOP("MainWindow", "Erase All"),
         [](QPainter &p, const QRectF &r, const QColor &fg, const QColor &) {
             drawTrash(p, QRectF(r.center().x() - 17, r.y() + 3, 34, 38), fg, 3.2);
         }},
        {"ErasePrivateData", QT_TRANSLATE_NOOP("MainWindow", "Erase Private"),
         [](QPainter &p, const QRectF &r, const QColor &fg, const QColor &bg) {
             drawPerson(p, QRectF(r.center().x() - 20, r.y() + 4, 30, 36), fg);
             p.setPen(Qt::NoPen);
             p.setBrush(bg);
             p.drawRoundedRect(QRectF(r.center().x() + 1, r.y() + 17, 22, 26), 3, 3);
             drawLock(p, QRectF(r.center().x() + 4, r.y() + 19, 16, 22), fg, bg);
         }},
        {"EraseAppData", QT_TRANSLATE_NOOP("MainWindow", "Erase Apps"),
         [](QPainter &p, const QRectF &r, const QColor &fg, const QColor &) {
             drawAppsGrid(p, QRectF(r.center().x() - 19, r.y() + 3, 38, 38), fg);
         }},
    };
    for (const Item &item : items) {
        // 1 normal, 2 hover, 3 pressed, 4 disabled (faded: the scope
        // buttons wait for the phone).
        for (int state = 1; state <= 4; ++state) {
            QImage img = canvas(86, 92);
            QPainter p(&img);
            begin(p);
            QColor fg = White, bg = Blue;
            if (state == 2) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(255, 255, 255, 46));
                p.drawRoundedRect(QRectF(0, 0, 86, 96), 6, 6);
                bg = QColor(0x5A, 0xC8, 0xF0);
            } else if (state == 3) {
                p.setPen(Qt::NoPen);
                p.setBrush(White);
                p.drawRoundedRect(QRectF(0, 0, 86, 96), 6, 6);
                fg = Blue;
                bg = White;
            } else if (state == 4) {
                fg = QColor(255, 255, 255, 102);
            }
            // The icon is drawn on its own layer so that its inner parts
            // (screen, lock) are cut out and show whatever lies below.
            QImage layer = canvas(86, 92);
            {
                QPainter l(&layer);
                begin(l);
                l.setCompositionMode(QPainter::CompositionMode_Source);
                item.icon(l, QRectF(0, 12, 86, 44), fg, Qt::transparent);
            }
            Q_UNUSED(bg);
            p.drawImage(0, 0, layer);
            // A label too wide for one line (a translation) takes two.
            const QString label = Ui::tr(item.label);
            const bool oneLine = QFontMetricsF(font(11, true)).horizontalAdvance(label) <= 86;
            text(p, QRectF(0, 62, 86, oneLine ? 22 : 30), label, fg, 11, true,
                 Qt::AlignCenter | (oneLine ? 0 : Qt::TextWordWrap));
            p.end();
            save(img, QStringLiteral("Image/Top/%1%2.png").arg(QLatin1String(item.file)).arg(state), true);
        }
    }

    QImage logo = canvas(182, 26);
    {
        QPainter p(&logo);
        begin(p);
        drawMark(p, QRectF(8, 3, 18, 20), White, Blue);
        const QString name = QStringLiteral("Purgatex");
        text(p, QRectF(32, 0, 150, 26), name, White, 15, true, Qt::AlignLeft | Qt::AlignVCenter);
        const int nameWidth = QFontMetrics(font(15, true)).horizontalAdvance(name);
        text(p, QRectF(32 + nameWidth + 5, 2, 150 - nameWidth - 5, 26), QStringLiteral("for Android"), White, 10, false,
             Qt::AlignLeft | Qt::AlignVCenter);
    }
    save(logo, QStringLiteral("Image/Top/logo.png"));
}

void cornerButtons()
{
    for (int open = 0; open < 2; ++open) {
        QImage img = canvas(43, 31);
        QPainter p(&img);
        begin(p);
        if (open) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 60));
            p.drawRect(QRectF(0, 0, 43, 31));
        }
        p.setPen(QPen(White, 2, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(14, 10 + i * 5.5), QPointF(29, 10 + i * 5.5));
        p.end();
        save(img, QStringLiteral("Image/RightTopButton/menu%1.png").arg(open + 1));
    }
    for (int state = 1; state <= 3; ++state) {
        for (int kind = 0; kind < 2; ++kind) {
            QImage img = canvas(43, 30);
            QPainter p(&img);
            begin(p);
            p.setPen(Qt::NoPen);
            if (state == 2)
                p.setBrush(kind ? QColor(0xE8, 0x3B, 0x3B) : QColor(255, 255, 255, 60));
            else if (state == 3)
                p.setBrush(kind ? QColor(0xB8, 0x24, 0x24) : BlueDark);
            else
                p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(0, 0, 43, 30));
            p.setPen(QPen(White, 2, Qt::SolidLine, Qt::RoundCap));
            if (kind) {
                p.drawLine(QPointF(16, 9), QPointF(27, 20));
                p.drawLine(QPointF(27, 9), QPointF(16, 20));
            } else {
                p.drawLine(QPointF(15, 15), QPointF(28, 15));
            }
            p.end();
            save(img, QStringLiteral("Image/RightTopButton/%1%2.png").arg(kind ? QStringLiteral("closeWin") : QStringLiteral("minWin")).arg(state));
        }
    }
}

void menuItems()
{
    const char *names[] = {"item_normal_bg", "item_normal_on_bg", "item_normal_selected_bg"};
    for (int state = 0; state < 3; ++state) {
        QImage img = canvas(131, 41);
        QPainter p(&img);
        begin(p);
        p.fillRect(QRect(0, 0, 131, 41), state == 0 ? White : state == 1 ? Blue : BlueDark);
        if (state == 0) {
            p.setPen(QColor(0xEE, 0xEE, 0xEE));
            p.drawLine(12, 40, 119, 40);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(state == 0 ? Blue : White);
        p.drawEllipse(QPointF(22, 20.5), 3, 3);
        p.end();
        save(img, QStringLiteral("Image/RightTopMenuItems/%1.png").arg(QLatin1String(names[state])));
    }
    QImage head = canvas(129, 76);
    {
        QPainter p(&head);
        begin(p);
        p.fillRect(QRect(0, 0, 129, 76), BluePale);
        drawMark(p, QRectF(12, 16, 26, 30), Blue, BluePale);
        text(p, QRectF(44, 14, 85, 22), QStringLiteral("Purgatex"), BlueDark, 14, true, Qt::AlignLeft | Qt::AlignVCenter);
        text(p, QRectF(44, 34, 85, 16), QStringLiteral("for Android"), Grey, 10, false, Qt::AlignLeft | Qt::AlignVCenter);
        text(p, QRectF(12, 54, 110, 16), QStringLiteral("Version 1.0"), Grey, 9, false, Qt::AlignLeft | Qt::AlignVCenter);
    }
    save(head, QStringLiteral("Image/RightTopMenuItems/menu_head.png"));
}

// ---------------------------------------------------------------- buttons

void actionButtons()
{
    enum Kind { Primary, Secondary, Danger, IconOnly };
    struct Button
    {
        const char *file;
        QString label;
        QSize size;
        Kind kind;
    };
    const QList<Button> buttons = {
        {"OK", Ui::tr("OK"), {89, 28}, Primary},
        {"Cancel", Ui::tr("Cancel"), {89, 28}, Secondary},
        {"Back", Ui::tr("Back"), {140, 42}, Secondary},
        {"EraseNow", Ui::tr("Erase Now"), {140, 42}, Danger},
        {"Scan", Ui::tr("Scan"), {128, 40}, Primary},
        {"Erase", Ui::tr("Erase"), {140, 42}, Primary},
        {"Stop", Ui::tr("Stop"), {140, 42}, Secondary},
        {"Home", Ui::tr("Home"), {140, 42}, Primary},
        {"Setting", Ui::tr("Change"), {84, 24}, Secondary},
        {"Search", QString(), {32, 28}, IconOnly},
    };
    for (const Button &b : buttons) {
        for (int state = 1; state <= 3; ++state) {
            QImage img = canvas(b.size.width(), b.size.height());
            QPainter p(&img);
            begin(p);
            const QRectF r(0.5, 0.5, b.size.width() - 1, b.size.height() - 1);
            QColor fill, edge, fg;
            switch (b.kind) {
            case Primary:
            case IconOnly:
                fill = state == 1 ? Blue : state == 2 ? BlueLight : BlueDark;
                edge = fill;
                fg = White;
                break;
            case Secondary:
                fill = state == 1 ? White : state == 2 ? BluePale : QColor(0xC9, 0xEC, 0xFA);
                edge = Blue;
                fg = state == 3 ? BlueDark : Blue;
                break;
            case Danger:
                fill = state == 1 ? Warm : state == 2 ? QColor(0xF0, 0x70, 0x40) : QColor(0xC4, 0x43, 0x14);
                edge = fill;
                fg = White;
                break;
            }
            p.setPen(QPen(edge, 1));
            p.setBrush(fill);
            p.drawRoundedRect(r, 4, 4);
            if (b.kind == IconOnly)
                drawMagnifier(p, QRectF(9, 7, 14, 14), White, 2.2);
            else
                text(p, r.adjusted(3, 0, -3, 0), b.label, fg, b.size.height() >= 40 ? 16 : 13, b.size.height() >= 40);
            p.end();
            save(img, QStringLiteral("Image/Action/%1%2.png").arg(QLatin1String(b.file)).arg(state), b.kind != IconOnly);
        }
    }
}

// ---------------------------------------------------------------- notices

// A message picture: a glyph on the left and the message wrapped beside it.
void message(const QString &rel, QSize size, const QString &msg, const std::function<void(QPainter &, const QRectF &)> &glyph,
             int px = 14)
{
    QImage img = canvas(size.width(), size.height());
    QPainter p(&img);
    begin(p);
    p.fillRect(img.rect(), White);
    const qreal g = 44;
    glyph(p, QRectF(22, (size.height() - g) / 2, g, g));
    text(p, QRectF(84, 6, size.width() - 84 - 20, size.height() - 12), msg, Ink, px, false,
         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
    p.end();
    save(img, rel, true);
}

void notices()
{
    auto question = [](QPainter &p, const QRectF &r) { drawCircleGlyph(p, r, Blue, QStringLiteral("?")); };
    auto warning = [](QPainter &p, const QRectF &r) { drawWarning(p, r, Warm); };
    auto info = [](QPainter &p, const QRectF &r) { drawCircleGlyph(p, r, Blue, QStringLiteral("i")); };
    const QSize small(352, 108);
    message(QStringLiteral("Image/Dialog/stop-scan.png"), small, Ui::tr("Are you sure you want to stop the scanning?"), question);
    message(QStringLiteral("Image/Dialog/stop-erase.png"), small,
            Ui::tr("The program is wiping your data, are you sure you want to stop the wiping process? This will cause "
                   "the data won't be wiped completely."),
            warning, 12);
    // (An opening quote stands apart from a word starting with A to F:
    // lupdate would read the letter as part of the character's number.)
    message(QStringLiteral("Image/StaticUI/confirmEraseInput_Error_Dialog.png"), small,
            Ui::tr("Please type word \u2018" "Erase\u2019 in the box to confirm."), warning);
    message(QStringLiteral("Image/Dialog/select-one.png"), small, Ui::tr("Please select one item at least! Then next."), info);
    message(QStringLiteral("Image/Dialog/factory-reset.png"), small,
            Ui::tr("To completely erase all settings from your Android device. We suggest restoring factory settings"),
            info, 13);
    message(QStringLiteral("Image/Dialog/open-app.png"), QSize(352, 167),
            Ui::tr("Please open the App \u2018Purgatex for Android\u2019 on your device."),
            [](QPainter &p, const QRectF &r) {
                drawPhone(p, QRectF(r.x() + 8, r.y() - 8, 30, 56), Blue, BluePale);
                drawMark(p, QRectF(r.x() + 15, r.y() + 8, 16, 18), Blue, BluePale);
            });
    message(QStringLiteral("Image/Dialog/reconnect.png"), QSize(411, 120), Ui::tr("Please reconnect your device to PC"),
            [](QPainter &p, const QRectF &r) {
                drawPhone(p, QRectF(r.x() + 8, r.y() - 8, 30, 56), Blue, BluePale);
                p.setPen(QPen(Warm, 3, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(r.center().x(), r.bottom() + 8), QPointF(r.center().x(), r.bottom() + 16));
            },
            15);
    message(QStringLiteral("Image/Dialog/port-used.png"), QSize(411, 120),
            Ui::tr("Another program is using the port needed to reach your device. Please close this program and try "
                   "again:"),
            warning, 13);

    QImage about = canvas(501, 170);
    {
        QPainter p(&about);
        begin(p);
        p.fillRect(about.rect(), White);
        drawMark(p, QRectF(28, 22, 60, 68), Blue, White);
        text(p, QRectF(110, 18, 370, 30), QStringLiteral("Purgatex for Android"), Blue, 22, true, Qt::AlignLeft | Qt::AlignVCenter);
        text(p, QRectF(110, 48, 370, 20), QStringLiteral("Version 1.0"), Grey, 12, false, Qt::AlignLeft | Qt::AlignVCenter);
        text(p, QRectF(110, 74, 370, 56),
             Ui::tr("Permanently erases contacts, call history, messages, photos, audio, video and app data from an "
                    "Android phone connected by USB."),
             Ink, 13, false, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        text(p, QRectF(110, 134, 370, 20), Pictures::tr("Copyright \u00A9 2026 The Purgatex team"), Grey, 11, false,
             Qt::AlignLeft | Qt::AlignVCenter);
    }
    save(about, QStringLiteral("Image/Dialog/about-us.png"), true);

    QImage server = canvas(30, 30);
    {
        QPainter p(&server);
        begin(p);
        drawMark(p, QRectF(5, 3, 20, 24), White, QColor(0x01, 0xB1, 0xED));
    }
    save(server, QStringLiteral("Image/StaticUI/logo_server.png"));
}

// ---------------------------------------------------------------- tables

void checkBox(const QString &rel, int size, bool checked, bool round, bool disabled = false)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    begin(p);
    const QRectF r(1.5, 1.5, size - 3, size - 3);
    p.setPen(QPen(disabled ? QColor(0xDD, 0xDD, 0xDD) : checked ? Blue : QColor(0xAA, 0xAA, 0xAA), 1.5));
    p.setBrush(disabled ? QColor(0xF2, 0xF2, 0xF2) : checked ? Blue : White);
    if (round)
        p.drawEllipse(r);
    else
        p.drawRoundedRect(r, 3, 3);
    if (checked)
        drawTick(p, r.adjusted(size * 0.18, size * 0.2, -size * 0.18, -size * 0.2), White, size * 0.12);
    p.end();
    save(img, rel);
}

void tables()
{
    checkBox(QStringLiteral("Image/Private/contactTable_headUnselect.png"), 20, false, false);
    checkBox(QStringLiteral("Image/Private/contactTable_headSelected.png"), 20, true, false);
    checkBox(QStringLiteral("Image/Private/contactTable_itemUnselect.png"), 20, false, true);
    checkBox(QStringLiteral("Image/Private/contactTable_itemSelected.png"), 20, true, true);
    checkBox(QStringLiteral("Image/Private/messageTable_itemUnselect.png"), 18, false, true);
    checkBox(QStringLiteral("Image/Private/messageTable_itemSelected.png"), 18, true, true);
    checkBox(QStringLiteral("Image/App/check_off.png"), 20, false, false);
    for (int on = 0; on < 2; ++on) {
        QImage img = canvas(18, 18);
        QPainter p(&img);
        begin(p);
        p.setPen(QPen(on ? Blue : QColor(0xAA, 0xAA, 0xAA), 1.5));
        p.setBrush(White);
        p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
        if (on) {
            p.setPen(Qt::NoPen);
            p.setBrush(Blue);
            p.drawEllipse(QPointF(9, 9), 4.5, 4.5);
        }
        p.end();
        save(img, QStringLiteral("Image/StaticUI/radio_%1.png").arg(on ? QStringLiteral("on") : QStringLiteral("off")));
    }
    checkBox(QStringLiteral("Image/App/check_on.png"), 20, true, false);
    checkBox(QStringLiteral("Image/App/check_disabled.png"), 20, false, false, true);

    for (int selected = 0; selected < 2; ++selected) {
        QImage img = canvas(150, 62);
        QPainter p(&img);
        p.fillRect(img.rect(), selected ? White : QColor(0xF4, 0xF5, 0xF6));
        p.setPen(QColor(0xE5, 0xE6, 0xE7));
        p.drawLine(0, 61, 149, 61);
        if (selected)
            p.fillRect(QRect(0, 0, 4, 62), Blue);
        else
            p.drawLine(149, 0, 149, 61);
        p.end();
        save(img, QStringLiteral("Image/Private/tableBg_%1.png").arg(selected ? QStringLiteral("Selected") : QStringLiteral("Normal")));
    }

    auto roundIcon = [](const QString &rel, const std::function<void(QPainter &, const QRectF &)> &glyph) {
        QImage img = canvas(40, 40);
        QPainter p(&img);
        begin(p);
        p.setPen(Qt::NoPen);
        p.setBrush(BluePale);
        p.drawEllipse(QRectF(0, 0, 40, 40));
        glyph(p, QRectF(10, 10, 20, 20));
        p.end();
        save(img, rel);
    };
    roundIcon(QStringLiteral("Image/StaticUI/ContactIcon.png"), [](QPainter &p, const QRectF &r) { drawPerson(p, r, Blue); });
    roundIcon(QStringLiteral("Image/Private/audioTable_audioIcon.png"), [](QPainter &p, const QRectF &r) { drawNote(p, r, Blue); });
    roundIcon(QStringLiteral("Image/Private/vedioTable_vedioIcon.png"), [](QPainter &p, const QRectF &r) { drawFilm(p, r, Blue); });

    QImage del = canvas(24, 24);
    {
        QPainter p(&del);
        begin(p);
        drawTrash(p, QRectF(4, 3, 16, 18), Grey, 1.6);
    }
    save(del, QStringLiteral("Image/StaticUI/Delete.png"));

    QImage wrong = canvas(56, 56);
    {
        QPainter p(&wrong);
        begin(p);
        p.setPen(QPen(GreyLight, 2, Qt::DashLine));
        p.setBrush(QColor(0xF4, 0xF5, 0xF6));
        p.drawRoundedRect(QRectF(2, 2, 52, 52), 6, 6);
        text(p, QRectF(0, 0, 56, 56), QStringLiteral("?"), Grey, 26, true);
    }
    save(wrong, QStringLiteral("Image/added/wrongFormat.png"));

    struct Cat
    {
        const char *name;
        std::function<void(QPainter &, const QRectF &, const QColor &)> glyph;
    };
    const QList<Cat> cats = {
        {"contact", [](QPainter &p, const QRectF &r, const QColor &c) { drawPerson(p, r.adjusted(3, 2, -3, -2), c); }},
        {"history", [](QPainter &p, const QRectF &r, const QColor &c) { drawClock(p, r, c); }},
        {"message", [](QPainter &p, const QRectF &r, const QColor &c) { drawBubble(p, r, c); }},
        {"photo", [](QPainter &p, const QRectF &r, const QColor &c) { drawPicture(p, r, c); }},
        {"audio", [](QPainter &p, const QRectF &r, const QColor &c) { drawNote(p, r.adjusted(3, 3, -3, -3), c); }},
        {"vedio", [](QPainter &p, const QRectF &r, const QColor &c) { drawFilm(p, r, c); }},
    };
    for (const Cat &cat : cats) {
        for (int selected = 0; selected < 2; ++selected) {
            QImage img = canvas(32, 32);
            QPainter p(&img);
            begin(p);
            cat.glyph(p, QRectF(2, 2, 28, 28), selected ? Blue : QColor(0x9A, 0x9A, 0x9A));
            p.end();
            save(img, QStringLiteral("Image/Private/cat_%1_%2.png").arg(QLatin1String(cat.name), selected ? QStringLiteral("selected") : QStringLiteral("normal")));
        }
    }
}

// App tiles: neutral tiles with the app's initial, not the apps' own marks.
void appTiles()
{
    struct Tile
    {
        const char *file;
        QString letter;
        QColor color;
    };
    const QList<Tile> tiles = {
        {"facebook", QStringLiteral("F"), QColor(0x4A, 0x6F, 0xB5)},
        {"twitter", QStringLiteral("T"), QColor(0x2E, 0xA3, 0xD6)},
        {"kikmessenger", QStringLiteral("K"), QColor(0x6B, 0xB8, 0x3C)},
        {"viber", QStringLiteral("V"), QColor(0x7D, 0x5B, 0xB5)},
        {"skype", QStringLiteral("S"), QColor(0x1F, 0x8F, 0xD0)},
        {"whatsapp", QStringLiteral("W"), QColor(0x3C, 0xA8, 0x5E)},
    };
    for (const Tile &t : tiles) {
        QImage img = canvas(64, 64);
        QPainter p(&img);
        begin(p);
        p.setPen(Qt::NoPen);
        p.setBrush(t.color);
        QPainterPath tile;
        tile.addRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
        p.drawPath(tile);
        p.setClipPath(tile);
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawEllipse(QRectF(30, -14, 46, 46));
        p.setClipping(false);
        text(p, QRectF(2, 2, 60, 60), t.letter, White, 30, true);
        p.end();
        save(img, QStringLiteral("Image/App/%1.png").arg(QLatin1String(t.file)));
    }
}

// ---------------------------------------------------------------- pages

QImage bigPhone(int w, int h)
{
    QImage img = canvas(w, h);
    QPainter p(&img);
    begin(p);
    const QRectF body(w * 0.1, 4, w * 0.8, h - 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3A, 0x3F, 0x44));
    p.drawRoundedRect(body, 22, 22);
    const QRectF screen = body.adjusted(10, 40, -10, -46);
    QLinearGradient grad(screen.topLeft(), screen.bottomRight());
    grad.setColorAt(0, BlueLight);
    grad.setColorAt(1, BlueDark);
    p.setBrush(grad);
    p.drawRoundedRect(screen, 4, 4);
    p.setBrush(QColor(0x55, 0x5B, 0x61));
    p.drawRoundedRect(QRectF(body.center().x() - 20, body.top() + 18, 40, 6), 3, 3);
    p.drawEllipse(QPointF(body.center().x(), body.bottom() - 23), 13, 13);
    drawMark(p, QRectF(screen.center().x() - 32, screen.center().y() - 56, 64, 74), White, BlueDark);
    text(p, QRectF(screen.x(), screen.center().y() + 28, screen.width(), 26), QStringLiteral("Purgatex"), White, 18, true);
    p.end();
    return img;
}

void pages()
{
    save(bigPhone(220, 400), QStringLiteral("Image/MyPhone/phone.png"));

    QImage connect = canvas(400, 250);
    {
        QPainter p(&connect);
        begin(p);
        p.setPen(Qt::NoPen);
        p.setBrush(BluePale);
        p.drawEllipse(QRectF(40, 190, 320, 50));
        drawMonitor(p, QRectF(190, 30, 190, 190), QColor(0x3A, 0x3F, 0x44), BluePale);
        drawMark(p, QRectF(265, 60, 40, 46), Blue, BluePale);
        drawCable(p, QPointF(96, 194), QPointF(188, 150), GreyLight, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3A, 0x3F, 0x44));
        p.drawRoundedRect(QRectF(180, 144, 12, 12), 2, 2);
        drawPhone(p, QRectF(60, 40, 72, 140), QColor(0x3A, 0x3F, 0x44), Blue);
        p.setBrush(QColor(0x3A, 0x3F, 0x44));
        p.drawRoundedRect(QRectF(89, 180, 14, 14), 2, 2);
        text(p, QRectF(60, 62, 72, 60), QStringLiteral("USB"), White, 16, true);
    }
    save(connect, QStringLiteral("Image/MyPhone/connect.png"));

    QImage usb = canvas(780, 390);
    {
        QPainter p(&usb);
        begin(p);
        struct Step
        {
            QString caption;
            QStringList rows;
            int highlight;
            bool toggle;
        };
        const QList<Step> steps = {
            {Pictures::tr("Open Settings and tap \u201C" "About phone\u201D"),
             {Pictures::tr("Settings"), Pictures::tr("Network"), Pictures::tr("Display"), Pictures::tr("Battery"),
              Pictures::tr("Storage"), Pictures::tr("System"), Pictures::tr("About phone")},
             6, false},
            {Pictures::tr("Tap \u201C" "Build number\u201D 7 times"),
             {Pictures::tr("About phone"), Pictures::tr("Model"), Pictures::tr("Android version"), Pictures::tr("Status"),
              Pictures::tr("Legal"), Pictures::tr("Build number"), Pictures::tr("Kernel")},
             5, false},
            {Pictures::tr("In \u201C" "Developer options\u201D turn on \u201CUSB debugging\u201D"),
             {Pictures::tr("Developer options"), Pictures::tr("Stay awake"), Pictures::tr("OEM unlocking"),
              Pictures::tr("Running services"), Pictures::tr("USB debugging"), Pictures::tr("Mock location"),
              Pictures::tr("Animation scale")},
             4, true},
        };
        for (int i = 0; i < steps.size(); ++i) {
            const qreal x0 = 20 + i * 260;
            const QRectF phone(x0 + 55, 10, 150, 290);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x3A, 0x3F, 0x44));
            p.drawRoundedRect(phone, 16, 16);
            drawSettingsScreen(p, phone.adjusted(8, 30, -8, -34), steps[i].rows, steps[i].highlight, steps[i].toggle);
            p.setBrush(QColor(0x55, 0x5B, 0x61));
            p.drawEllipse(QPointF(phone.center().x(), phone.bottom() - 17), 9, 9);
            drawCircleGlyph(p, QRectF(x0 + 10, 8, 34, 34), Blue, QString::number(i + 1));
            text(p, QRectF(x0, 310, 240, 70), steps[i].caption, Ink, 14, false, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap);
            if (i < 2) {
                p.setPen(QPen(BlueLight, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                const qreal ax = x0 + 232, ay = 155;
                p.drawLine(QPointF(ax, ay), QPointF(ax + 22, ay));
                p.drawLine(QPointF(ax + 14, ay - 8), QPointF(ax + 22, ay));
                p.drawLine(QPointF(ax + 14, ay + 8), QPointF(ax + 22, ay));
            }
        }
    }
    save(usb, QStringLiteral("Image/MyPhone/usbdebug.png"), true);

    QImage install = canvas(300, 190);
    {
        QPainter p(&install);
        begin(p);
        drawMonitor(p, QRectF(10, 20, 140, 150), QColor(0x3A, 0x3F, 0x44), BluePale);
        drawMark(p, QRectF(62, 42, 36, 42), Blue, BluePale);
        drawPhone(p, QRectF(215, 30, 70, 135), QColor(0x3A, 0x3F, 0x44), BluePale);
        p.setPen(QPen(Blue, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(160, 95), QPointF(200, 95));
        p.drawLine(QPointF(190, 85), QPointF(200, 95));
        p.drawLine(QPointF(190, 105), QPointF(200, 95));
        drawMark(p, QRectF(236, 70, 28, 32), Blue, BluePale);
    }
    save(install, QStringLiteral("Image/MyPhone/installing.png"));

    QImage sms = canvas(300, 330);
    {
        QPainter p(&sms);
        begin(p);
        const QRectF phone(60, 4, 180, 322);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3A, 0x3F, 0x44));
        p.drawRoundedRect(phone, 20, 20);
        const QRectF screen = phone.adjusted(10, 34, -10, -40);
        p.setBrush(QColor(0x8A, 0x90, 0x96));
        p.drawRect(screen);
        const QRectF dlg = screen.adjusted(10, 60, -10, -60);
        p.setBrush(White);
        p.drawRoundedRect(dlg, 4, 4);
        text(p, dlg.adjusted(8, 8, -6, 0), Pictures::tr("Change SMS app?"), Ink, 11, true, Qt::AlignLeft | Qt::AlignTop);
        text(p, dlg.adjusted(10, 32, -10, -30), Pictures::tr("Use Purgatex instead of your messaging app as your SMS app?"),
             Grey, 11, false, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        text(p, QRectF(dlg.right() - 110, dlg.bottom() - 28, 50, 22), Pictures::tr("No"), Grey, 12, true);
        p.setPen(Qt::NoPen);
        p.setBrush(BluePale);
        p.drawRoundedRect(QRectF(dlg.right() - 56, dlg.bottom() - 30, 48, 24), 3, 3);
        text(p, QRectF(dlg.right() - 56, dlg.bottom() - 30, 48, 24), Pictures::tr("Yes"), BlueDark, 12, true);
        p.setPen(QPen(Warm, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(dlg.right() - 32, dlg.bottom() - 18), 30, 20);
    }
    save(sms, QStringLiteral("Image/MyPhone/smsapp.png"), true);

    auto badge = [](const QString &rel, const std::function<void(QPainter &)> &draw) {
        QImage img = canvas(150, 150);
        QPainter p(&img);
        begin(p);
        p.setPen(Qt::NoPen);
        p.setBrush(BluePale);
        p.drawEllipse(QRectF(5, 5, 140, 140));
        draw(p);
        p.end();
        save(img, rel);
    };
    badge(QStringLiteral("Image/Erase/erasing.png"), [](QPainter &p) {
        drawPhone(p, QRectF(52, 28, 46, 88), QColor(0x3A, 0x3F, 0x44), White);
        p.setPen(QPen(Blue, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(24, 24, 102, 102), 30 * 16, 120 * 16);
        p.drawArc(QRectF(24, 24, 102, 102), 210 * 16, 120 * 16);
        drawTrash(p, QRectF(63, 50, 24, 28), Blue, 2.4);
    });
    badge(QStringLiteral("Image/Erase/completed.png"), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Green);
        p.drawEllipse(QRectF(30, 30, 90, 90));
        drawTick(p, QRectF(48, 50, 54, 50), White, 9);
    });
    // A run that did not erase everything it was given: an exclamation mark.
    badge(QStringLiteral("Image/Erase/incomplete.png"), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Warm);
        p.drawEllipse(QRectF(30, 30, 90, 90));
        p.setBrush(White);
        p.drawRoundedRect(QRectF(68.5, 44, 13, 42), 6.5, 6.5);
        p.drawEllipse(QRectF(67.5, 92, 15, 15));
    });
    badge(QStringLiteral("Image/Erase/scanning.png"), [](QPainter &p) {
        drawPhone(p, QRectF(44, 26, 50, 96), QColor(0x3A, 0x3F, 0x44), White);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawEllipse(QRectF(70, 58, 40, 40));
        drawMagnifier(p, QRectF(70, 58, 52, 52), Blue, 6);
    });
}

// The program icon at size x size: the mark on a rounded blue tile.
QImage programIcon(int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    begin(p);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    p.drawRoundedRect(QRectF(0, 0, 32, 32), 6, 6);
    drawMark(p, QRectF(6, 4, 20, 24), White, Blue);
    return img;
}

void favicon()
{
    const QImage img = programIcon(32);
    const QString path = g_root + QStringLiteral("/images/StaticUI/bitbug_favicon.ico");
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, "ico");
    if (!writer.write(img.convertToFormat(QImage::Format_ARGB32)))
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(writer.errorString()));
    ++g_count;
    // The menu entry's icon in the hicolor theme (installed, not compiled in).
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        save(programIcon(size), QStringLiteral("icons/hicolor/%1x%1/apps/purgatex.png").arg(size));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--rewrite") == 0) {
        QDirIterator it(QString::fromLocal8Bit(argv[2]), {QStringLiteral("*.png")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QImage picture(path);
            if (picture.isNull() || !writePng(picture, path))
                qFatal("cannot rewrite %s", qPrintable(path));
            ++g_count;
        }
        QTextStream(stdout) << g_count << " pictures rewritten\n";
        return 0;
    }
    if (argc < 2) {
        QTextStream(stderr) << "usage: purgatex-drawimages [--rewrite] <resources folder> [purgatex_<language>.qm ...]\n";
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    // The pictures that carry words, in each language given.
    for (int i = 2; i < argc; ++i) {
        const QString qm = QString::fromLocal8Bit(argv[i]);
        QTranslator translator;
        if (!translator.load(qm)) {
            QTextStream(stderr) << "cannot load the translation " << qm << "\n";
            return 1;
        }
        QCoreApplication::installTranslator(&translator);
        g_language = QFileInfo(qm).completeBaseName().section(QLatin1Char('_'), 1);
        for (int scale : {1, 2}) {
            g_scale = scale;
            topButtons();
            actionButtons();
            notices();
            pages();
        }
        QCoreApplication::removeTranslator(&translator);
        QTextStream(stdout) << g_count << " pictures written to " << g_root << "/" << g_language << "\n";
        g_count = 0;
    }
    if (argc > 2)
        return 0;
    for (int scale : {1, 2}) {
        g_scale = scale;
        topButtons();
        cornerButtons();
        menuItems();
        actionButtons();
        notices();
        tables();
        appTiles();
        pages();
    }
    g_scale = 1;
    favicon();
    QTextStream(stdout) << g_count << " pictures written to " << g_root << "\n";
    return 0;
}
