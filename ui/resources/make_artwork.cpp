// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Draws the window's pictures: the badge shown in both panels and the icon.
//   taxcalc_artwork OUTPUT_FOLDER
// writes badge.jpg, icons/taxcalc-SIZE.png for every size a desktop asks for and
// icons/taxcalc.svg there. The results are committed beside this file, so the build
// never runs it.
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace taxcalc {
namespace {

// The palette of the badge: a red rim fading to pale orange, lit from the top left.
const QColor kFaceRed(208, 24, 24);
const QColor kFaceOrange(255, 222, 170);
const QColor kShadowRed(150, 14, 14);
const QColor kGreenLight(120, 210, 110);
const QColor kGreenDark(20, 120, 48);
const QColor kGreenSide(40, 150, 60);

// The sizes of the hicolor icon theme that desktops ask for.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The slogan of the promotional notice, one line each.
const QStringList kSlogan = {QStringLiteral("稳健"), QStringLiteral("致富")};

QColor Mix(const QColor &from, const QColor &to, double t) {
    auto channel = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

// Square contours with rounded corners: the rim is red all the way round,
// corners included, while the middle stays pale behind both lines of text.
void PaintFace(QImage &image, const QRect &face) {
    const double cx = face.x() + (face.width() - 1) / 2.0;
    const double cy = face.y() + (face.height() - 1) / 2.0;
    const double half = face.width() / 2.0;
    for (int y = face.top(); y <= face.bottom(); ++y) {
        for (int x = face.left(); x <= face.right(); ++x) {
            const double nx = std::abs(x - cx) / half;
            const double ny = std::abs(y - cy) / half;
            const double square = std::max(nx, ny);
            const double round = std::min(1.0, std::hypot(nx, ny));
            const double d = 0.75 * square + 0.25 * round;
            image.setPixelColor(x, y, Mix(kFaceOrange, kFaceRed, d * d));
        }
    }
}

// A raised rim `width` pixels wide: green where the light falls (top, left),
// dark red in the shade (bottom, right), mitred at the corners.
void PaintBevel(QPainter &painter, const QRectF &outer, double width) {
    const QPointF tl = outer.topLeft();
    const QPointF tr = outer.topRight();
    const QPointF bl = outer.bottomLeft();
    const QPointF br = outer.bottomRight();
    const QPointF in_tl = tl + QPointF(width, width);
    const QPointF in_tr = tr + QPointF(-width, width);
    const QPointF in_bl = bl + QPointF(width, -width);
    const QPointF in_br = br + QPointF(-width, -width);

    // The shade first under the whole rim, the lit sides over it: no seam of
    // background shows along the mitres where anti-aliased edges meet.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kShadowRed);
    QPainterPath ring;
    ring.addRect(outer);
    ring.addRect(QRectF(in_tl, in_br));
    painter.drawPath(ring);

    QLinearGradient top(0, tl.y(), 0, in_tl.y());
    top.setColorAt(0, kGreenLight);
    top.setColorAt(1, kGreenDark);
    QLinearGradient left(tl.x(), 0, in_tl.x(), 0);
    left.setColorAt(0, kGreenSide);
    left.setColorAt(1, kGreenDark);
    painter.setBrush(left);
    painter.drawPolygon(QPolygonF({tl, in_tl, in_bl, bl}));
    painter.setBrush(top);
    painter.drawPolygon(QPolygonF({tl, tr, in_tr, in_tl}));
}

// A Kai face or nothing: a sans fallback would silently change the badge's look.
QFont KaiFont(int pixel_size, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("楷体"), QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN"),
                      QStringLiteral("AR PL KaitiM GB")});
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

bool IsKai(const QFont &font) {
    const QString family = QFontInfo(font).family();
    return family.contains(QStringLiteral("Kai"), Qt::CaseInsensitive) ||
           family.contains(QStringLiteral("楷"));
}

// Centres the drawn ink of `text` (not its advance box) on `centre`, so that
// the characters sit evenly whatever the face's side bearings.
QPainterPath CentredText(const QFont &font, const QString &text, const QPointF &centre) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    return path.translated(centre - ink.center());
}

void PaintText(QPainter &painter, const QPainterPath &path, double weight) {
    painter.setBrush(Qt::black);
    if (weight > 0) {
        // Kai strokes are thin; a hairline of the same ink keeps them bold on the red rim.
        painter.setPen(QPen(Qt::black, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.drawPath(path);
}

QImage MakeBadge() {
    const int size = 96;
    const int margin = 2;
    const int rim = 5;
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    PaintFace(image, QRect(margin + rim, margin + rim, size - 2 * (margin + rim), size - 2 * (margin + rim)));

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintBevel(painter, QRectF(margin, margin, size - 2 * margin, size - 2 * margin), rim);

    const QFont font = KaiFont(37, false);
    const double middle = size / 2.0;
    const double line_gap = 19.5;
    PaintText(painter, CentredText(font, kSlogan[0], QPointF(middle, middle - line_gap)), 0.9);
    PaintText(painter, CentredText(font, kSlogan[1], QPointF(middle, middle + line_gap)), 0.9);
    return image;
}

// The badge in small around a yuan sign. Drawn with lines on a 16-pixel grid
// rather than with a font, so that every bar and the stem fall on whole pixels
// and stay crisp at 16, where any character of the slogan blurs.
void PaintYuan(QPainter &painter, int size) {
    const double u = size / 16.0;
    auto at = [u](double x, double y) { return QPointF(x * u, y * u); };
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 2 * u, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPolyline(QPolygonF({at(3.5, 2.5), at(8, 8), at(12.5, 2.5)}));
    painter.drawLine(at(8, 7.5), at(8, 14));
    painter.setPen(QPen(Qt::black, u, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(at(4, 9.5), at(12, 9.5));
    painter.drawLine(at(4, 11.5), at(12, 11.5));
}

// The rim is a pixel at 16, three from 24 to 32, and as wide as at 32 beyond.
int IconRim(int size) {
    return size < 24 ? 1 : std::max(3, size * 3 / 32);
}

QImage MakeIcon(int size) {
    const int rim = IconRim(size);
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    PaintFace(image, QRect(rim, rim, size - 2 * rim, size - 2 * rim));

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintBevel(painter, QRectF(0, 0, size, size), rim);
    PaintYuan(painter, size);
    return image;
}

// The same icon drawn as a vector on the 16-unit grid of PaintYuan: a radial face,
// the lit and shaded rim 1.5 units wide (as at 32 pixels), the yuan sign.
QByteArray MakeSvgIcon() {
    const auto colour = [](const QColor &c) { return c.name().toLatin1(); };
    QByteArray svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 16 16\">\n";
    svg += "  <defs>\n";
    svg += "    <radialGradient id=\"face\" cx=\"8\" cy=\"8\" r=\"9\" gradientUnits=\"userSpaceOnUse\">\n";
    for (const double t : {0.0, 0.5, 0.75, 1.0}) {
        svg += "      <stop offset=\"" + QByteArray::number(t) + "\" stop-color=\"" +
               colour(Mix(kFaceOrange, kFaceRed, t * t)) + "\"/>\n";
    }
    svg += "    </radialGradient>\n";
    svg += "    <linearGradient id=\"top\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1.5\" gradientUnits=\"userSpaceOnUse\">\n";
    svg += "      <stop offset=\"0\" stop-color=\"" + colour(kGreenLight) + "\"/>\n";
    svg += "      <stop offset=\"1\" stop-color=\"" + colour(kGreenDark) + "\"/>\n";
    svg += "    </linearGradient>\n";
    svg += "    <linearGradient id=\"left\" x1=\"0\" y1=\"0\" x2=\"1.5\" y2=\"0\" gradientUnits=\"userSpaceOnUse\">\n";
    svg += "      <stop offset=\"0\" stop-color=\"" + colour(kGreenSide) + "\"/>\n";
    svg += "      <stop offset=\"1\" stop-color=\"" + colour(kGreenDark) + "\"/>\n";
    svg += "    </linearGradient>\n";
    svg += "  </defs>\n";
    svg += "  <rect width=\"16\" height=\"16\" fill=\"" + colour(kShadowRed) + "\"/>\n";
    svg += "  <rect x=\"1.5\" y=\"1.5\" width=\"13\" height=\"13\" fill=\"url(#face)\"/>\n";
    svg += "  <polygon points=\"0,0 1.5,1.5 1.5,14.5 0,16\" fill=\"url(#left)\"/>\n";
    svg += "  <polygon points=\"0,0 16,0 14.5,1.5 1.5,1.5\" fill=\"url(#top)\"/>\n";
    svg += "  <g stroke=\"#000000\" fill=\"none\">\n";
    svg += "    <polyline points=\"3.5,2.5 8,8 12.5,2.5\" stroke-width=\"2\" stroke-linejoin=\"miter\"/>\n";
    svg += "    <line x1=\"8\" y1=\"7.5\" x2=\"8\" y2=\"14\" stroke-width=\"2\"/>\n";
    svg += "    <line x1=\"4\" y1=\"9.5\" x2=\"12\" y2=\"9.5\" stroke-width=\"1\"/>\n";
    svg += "    <line x1=\"4\" y1=\"11.5\" x2=\"12\" y2=\"11.5\" stroke-width=\"1\"/>\n";
    svg += "  </g>\n";
    svg += "</svg>\n";
    return svg;
}

bool Save(const QImage &image, const QString &path, const char *format, int quality, QTextStream &err) {
    if (image.save(path, format, quality)) {
        return true;
    }
    err << "taxcalc_artwork: cannot write " << path << "\n";
    return false;
}

int Run(int argc, char **argv) {
    // Fonts need a platform; the offscreen one needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: taxcalc_artwork OUTPUT_FOLDER\n";
        return 2;
    }
    if (!IsKai(KaiFont(37, false))) {
        err << "taxcalc_artwork: no Kai face found (install fonts-arphic-ukai); got "
            << QFontInfo(KaiFont(37, false)).family() << "\n";
        return 1;
    }
    const QDir out(args[1]);
    if (!out.mkpath(QStringLiteral("icons"))) {
        err << "taxcalc_artwork: cannot create " << out.filePath(QStringLiteral("icons")) << "\n";
        return 1;
    }
    bool ok = Save(MakeBadge(), out.filePath(QStringLiteral("badge.jpg")), "JPG", 92, err);
    for (const int size : kIconSizes) {
        ok = ok && Save(MakeIcon(size), out.filePath(QStringLiteral("icons/taxcalc-%1.png").arg(size)), "PNG", -1,
                        err);
    }
    QFile svg(out.filePath(QStringLiteral("icons/taxcalc.svg")));
    const QByteArray vector = MakeSvgIcon();
    if (ok && (!svg.open(QIODevice::WriteOnly) || svg.write(vector) != vector.size())) {
        err << "taxcalc_artwork: cannot write " << svg.fileName() << "\n";
        ok = false;
    }
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace taxcalc

int main(int argc, char **argv) {
    return taxcalc::Run(argc, argv);
}
