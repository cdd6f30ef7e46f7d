// iconpainter: draws the twelve button icons of the main window and writes
// them as 64 x 64 PNG files with an alpha channel.
//
//   iconpainter <output directory>
//   iconpainter --hicolor <theme directory>
//
// The second form draws the program's own icon (the receipt slip, which is
// also the window icon) at the sizes desktops look for and writes it as
// <theme directory>/<N>x<N>/apps/labelsetup.png; the build runs it for the
// installed icon set, so no copy of those files is kept.
//
// Every icon is drawn on the same 64-unit grid with the same round 4-unit
// outline in the ink colour, a pale fill for bodies and one mid-blue accent
// for the part that carries the meaning (the arrow, the waves, the text
// lines), so that the icons read as one family next to each other on the
// buttons. The file names are the resource names the window form refers to
// (":/png/<name>"); keep them when changing a drawing.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr int kSize = 64;
constexpr qreal kStroke = 4.0;

const QColor kInk(0x1d, 0x5f, 0xa8);     // outlines
const QColor kFill(0xd8, 0xe9, 0xfb);    // bodies
const QColor kAccent(0x3d, 0x9b, 0xef);  // meaning-carrying details

QPen pen(const QColor &colour, qreal width = kStroke)
{
    QPen p(colour, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// Outline in ink with the pale body fill.
void body(QPainter &p, const QPainterPath &path)
{
    p.setPen(pen(kInk));
    p.setBrush(kFill);
    p.drawPath(path);
}

void accentLine(QPainter &p, QPointF a, QPointF b, qreal width = kStroke)
{
    p.setPen(pen(kAccent, width));
    p.setBrush(Qt::NoBrush);
    p.drawLine(a, b);
}

void accentDot(QPainter &p, QPointF centre, qreal radius)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(centre, radius, radius);
}

QPointF polar(QPointF centre, qreal radius, qreal degrees)
{
    const qreal a = degrees * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a)};
}

// A chip with pins: digitisation (DAC self-learning).
void drawDigitisation(QPainter &p)
{
    p.setPen(pen(kInk));
    for (qreal at : {27.0, 37.0}) {
        p.drawLine(QPointF(at, 8), QPointF(at, 18));
        p.drawLine(QPointF(at, 46), QPointF(at, 56));
        p.drawLine(QPointF(8, at), QPointF(18, at));
        p.drawLine(QPointF(46, at), QPointF(56, at));
    }
    QPainterPath chip;
    chip.addRoundedRect(QRectF(17, 17, 30, 30), 5, 5);
    body(p, chip);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(26, 26, 12, 12), 2, 2);
}

// A plug with its cable: interface configuration (connecting, Wi-Fi setup).
void drawInterface(QPainter &p)
{
    p.setPen(pen(kInk));
    p.drawLine(QPointF(25, 8), QPointF(25, 20));
    p.drawLine(QPointF(39, 8), QPointF(39, 20));
    QPainterPath cable;
    cable.moveTo(32, 44);
    cable.lineTo(32, 50);
    cable.cubicTo(32, 56, 40, 58, 48, 56);
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);
    QPainterPath plug;
    plug.moveTo(16, 20);
    plug.lineTo(48, 20);
    plug.lineTo(48, 32);
    plug.quadTo(48, 44, 36, 44);
    plug.lineTo(28, 44);
    plug.quadTo(16, 44, 16, 32);
    plug.closeSubpath();
    body(p, plug);
    accentDot(p, QPointF(32, 31), 4);
}

// A gear: management (applying settings, initialisation).
void drawManagement(QPainter &p)
{
    const QPointF c(32, 32);
    constexpr qreal root = 17.5;
    constexpr qreal tip = 25.0;
    QPolygonF outline;
    for (int k = 0; k < 8; ++k) {
        const qreal a = k * 45.0;
        outline << polar(c, root, a - 22.5) << polar(c, root, a - 13.0) << polar(c, tip, a - 8.5)
                << polar(c, tip, a + 8.5) << polar(c, root, a + 13.0);
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    body(p, gear);
    p.setPen(pen(kInk));
    p.setBrush(kAccent);
    p.drawEllipse(c, 7, 7);
}

// A down arrow into a tray: fetching (reading from the printer).
void drawFetch(QPainter &p)
{
    QPainterPath tray;
    tray.moveTo(10, 36);
    tray.lineTo(10, 50);
    tray.quadTo(10, 54, 14, 54);
    tray.lineTo(50, 54);
    tray.quadTo(54, 54, 54, 50);
    tray.lineTo(54, 36);
    tray.lineTo(44, 36);
    tray.lineTo(40, 42);
    tray.lineTo(24, 42);
    tray.lineTo(20, 36);
    tray.closeSubpath();
    body(p, tray);
    accentLine(p, QPointF(32, 8), QPointF(32, 30));
    p.setPen(pen(kAccent));
    p.drawPolyline(QPolygonF({QPointF(23, 21), QPointF(32, 30), QPointF(41, 21)}));
}

// A loudspeaker with sound waves: key sound and buzzer.
void drawKeySound(QPainter &p)
{
    QPainterPath speaker;
    speaker.addPolygon(QPolygonF({QPointF(9, 25), QPointF(19, 25), QPointF(32, 13), QPointF(32, 51),
                                  QPointF(19, 39), QPointF(9, 39)}));
    speaker.closeSubpath();
    body(p, speaker);
    p.setPen(pen(kAccent));
    p.setBrush(Qt::NoBrush);
    const QPointF c(32, 32);
    for (qreal r : {10.0, 19.0}) {
        QPainterPath wave;
        wave.arcMoveTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), -42);
        wave.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), -42, 84);
        p.drawPath(wave);
    }
}

// A page with a folded corner: documents and files.
void drawDocument(QPainter &p)
{
    QPainterPath page;
    page.moveTo(15, 8);
    page.lineTo(37, 8);
    page.lineTo(49, 20);
    page.lineTo(49, 56);
    page.lineTo(15, 56);
    page.closeSubpath();
    body(p, page);
    p.setPen(pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(37, 8), QPointF(37, 20), QPointF(49, 20)}));
    accentLine(p, QPointF(23, 31), QPointF(41, 31));
    accentLine(p, QPointF(23, 39), QPointF(41, 39));
    accentLine(p, QPointF(23, 47), QPointF(34, 47));
}

// A stack of discs: storage (firmware download into the printer's flash).
void drawStorage(QPainter &p)
{
    const qreal left = 12, right = 52, top = 14, bottom = 50, ry = 7;
    const qreal w = right - left;
    QPainterPath can;
    can.moveTo(left, top);
    can.lineTo(left, bottom);
    can.arcTo(QRectF(left, bottom - ry, w, 2 * ry), 180, 180);
    can.lineTo(right, top);
    can.arcTo(QRectF(left, top - ry, w, 2 * ry), 0, -180);
    can.closeSubpath();
    body(p, can);
    p.setPen(pen(kInk));
    p.setBrush(kAccent);
    p.drawEllipse(QRectF(left, top - ry, w, 2 * ry));
    p.setPen(pen(kAccent));
    p.setBrush(Qt::NoBrush);
    for (qreal y : {26.0, 38.0}) {
        QPainterPath band;
        band.arcMoveTo(QRectF(left, y - ry, w, 2 * ry), 200);
        band.arcTo(QRectF(left, y - ry, w, 2 * ry), 200, 140);
        p.drawPath(band);
    }
}

// Scissors: the cutter.
void drawCutter(QPainter &p)
{
    const QPointF leftRing(19, 47), rightRing(45, 47);
    constexpr qreal ring = 7.5;
    // Each blade runs from the top of one ring, through the pivot, to the
    // opposite tip; drawn as a tapered shape so the pair reads as scissors.
    auto blade = [&](QPointF from, QPointF tipPoint) {
        const QLineF axis(from, tipPoint);
        const QLineF normal = axis.normalVector().unitVector();
        const QPointF n(normal.dx() * 3.5, normal.dy() * 3.5);
        QPainterPath path;
        path.moveTo(from + n);
        path.lineTo(tipPoint);
        path.lineTo(from - n);
        path.closeSubpath();
        body(p, path);
    };
    blade(QPointF(23, 40), QPointF(44, 8));
    blade(QPointF(41, 40), QPointF(20, 8));
    p.setPen(pen(kInk));
    p.setBrush(kFill);
    p.drawEllipse(leftRing, ring, ring);
    p.drawEllipse(rightRing, ring, ring);
    accentDot(p, QPointF(32, 26.5), 3.5);
}

// An "i" in a circle: status and information.
void drawInfo(QPainter &p)
{
    QPainterPath circle;
    circle.addEllipse(QPointF(32, 32), 24, 24);
    body(p, circle);
    accentDot(p, QPointF(32, 20), 3.5);
    accentLine(p, QPointF(32, 29), QPointF(32, 45), 5.0);
}

// A mortarboard: the sensor self-learning functions.
void drawLearning(QPainter &p)
{
    QPainterPath base;
    base.moveTo(17, 29);
    base.lineTo(17, 42);
    base.quadTo(32, 52, 47, 42);
    base.lineTo(47, 29);
    body(p, base);
    QPainterPath board;
    board.addPolygon(
        QPolygonF({QPointF(32, 11), QPointF(58, 23), QPointF(32, 35), QPointF(6, 23)}));
    board.closeSubpath();
    body(p, board);
    accentLine(p, QPointF(52, 26), QPointF(52, 42));
    accentDot(p, QPointF(52, 45), 3.5);
}

// A circular arrow: restart.
void drawRestart(QPainter &p)
{
    const QPointF c(32, 34);
    constexpr qreal r = 20;
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.setPen(Qt::NoPen);
    p.setBrush(kFill);
    p.drawEllipse(c, r - 2, r - 2);

    // Clockwise from the upper right round to the upper left, leaving a gap
    // at the top for the arrowhead.
    constexpr qreal start = 60, span = -290;
    QPainterPath arc;
    arc.arcMoveTo(box, start);
    arc.arcTo(box, start, span);
    p.setPen(pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);

    const qreal endDeg = start + span;
    const qreal end = endDeg * std::numbers::pi / 180.0;
    const QPointF base = polar(c, r, endDeg);
    const QPointF along(std::sin(end), std::cos(end));  // clockwise travel on screen
    const QPointF outward((base - c) / r);
    const QPolygonF head({base + along * 9.0, base - along * 3.0 + outward * 8.0,
                          base - along * 3.0 - outward * 8.0});
    p.setPen(pen(kInk, 3.0));
    p.setBrush(kInk);
    p.drawPolygon(head);
    accentDot(p, c, 5);
}

// A receipt with a torn edge: labels and the self-test print-out.
void drawReceipt(QPainter &p)
{
    QPainterPath slip;
    slip.moveTo(15, 8);
    slip.lineTo(49, 8);
    slip.lineTo(49, 55);
    const qreal teeth = 4;
    const qreal step = (49.0 - 15.0) / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal x = 49 - i * step;
        slip.lineTo(x - step / 2, 50);
        slip.lineTo(x - step, 55);
    }
    slip.closeSubpath();
    body(p, slip);
    accentLine(p, QPointF(23, 19), QPointF(41, 19));
    accentLine(p, QPointF(23, 27), QPointF(41, 27));
    accentLine(p, QPointF(23, 35), QPointF(41, 35));
    accentLine(p, QPointF(23, 43), QPointF(32, 43));
}

struct Icon {
    const char *file;
    std::function<void(QPainter &)> draw;
};

// The receipt drawn on its 64-unit grid, scaled to size x size pixels.
QImage paint(const std::function<void(QPainter &)> &draw, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        if (size != kSize)
            painter.scale(qreal(size) / kSize, qreal(size) / kSize);
        draw(painter);
    }
    // Convert to straight alpha so the file carries plain RGBA pixels.
    return image.convertToFormat(QImage::Format_ARGB32);
}

int writeHicolor(const QDir &theme)
{
    int failures = 0;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = theme.filePath(QStringLiteral("%1x%1/apps").arg(size));
        const QString path = dir + QStringLiteral("/labelsetup.png");
        if (!QDir().mkpath(dir) || !paint(drawReceipt, size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--hicolor") == 0)
        return writeHicolor(QDir(QString::fromLocal8Bit(argv[2])));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n       %s --hicolor <theme directory>\n", argv[0],
                     argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const std::vector<Icon> icons = {
        {"shuzihua.png", drawDigitisation},   {"jiekoupeizhi.png", drawInterface},
        {"guanli.png", drawManagement},       {"huoqu.png", drawFetch},
        {"anjianyin-copy.png", drawKeySound}, {"wendang.png", drawDocument},
        {"cunchu.png", drawStorage},          {"a-qiedao2x.png", drawCutter},
        {"tsicon.png", drawInfo},             {"xuexi.png", drawLearning},
        {"zhongqi.png", drawRestart},         {"fapiao.png", drawReceipt},
    };

    int failures = 0;
    for (const Icon &icon : icons) {
        const QString path = out.filePath(QString::fromLatin1(icon.file));
        if (!paint(icon.draw, kSize).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
