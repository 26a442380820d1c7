// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Draws the window's pictures: the badge shown in both panels and the window icon.
//   taxcalc_artwork OUTPUT_FOLDER
// writes badge.jpg, icons/taxcalc-32.png and icons/taxcalc-16.png there. The
// results are committed beside this file, so the build never runs it.
#include <QByteArray>
#include <QColor>
#include <QDir>
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

QImage MakeIcon(int size) {
    const int rim = size < 24 ? 1 : 3;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    PaintFace(image, QRect(rim, rim, size - 2 * rim, size - 2 * rim));

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintBevel(painter, QRectF(0, 0, size, size), rim);
    PaintYuan(painter, size);
    return image;
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
    const bool ok =
        Save(MakeBadge(), out.filePath(QStringLiteral("badge.jpg")), "JPG", 92, err) &&
        Save(MakeIcon(32), out.filePath(QStringLiteral("icons/taxcalc-32.png")), "PNG", -1, err) &&
        Save(MakeIcon(16), out.filePath(QStringLiteral("icons/taxcalc-16.png")), "PNG", -1, err);
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace taxcalc

int main(int argc, char **argv) {
    return taxcalc::Run(argc, argv);
}
