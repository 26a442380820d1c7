// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The committed pictures as the window loads them: from the resources, at the
// sizes the picture boxes and the window icon need, with the look the badge is
// meant to have, and still what the generator draws.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdlib>

namespace taxcalc {
namespace {

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage Load(const QString &path) {
    QImageReader reader(path);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

bool IsWhite(QRgb c) {
    return qRed(c) >= 235 && qGreen(c) >= 235 && qBlue(c) >= 235;
}
bool IsGreen(QRgb c) {
    return qGreen(c) >= qRed(c) + 40 && qGreen(c) >= qBlue(c) + 40;
}
bool IsRed(QRgb c) {
    return qRed(c) >= 130 && qRed(c) >= qGreen(c) + 90 && qRed(c) >= qBlue(c) + 90;
}
bool IsInk(QRgb c) {
    return qRed(c) < 70 && qGreen(c) < 70 && qBlue(c) < 70;
}
// Pale orange: light, red above green above blue, blue well short of white.
bool IsPaleOrange(QRgb c) {
    return qRed(c) >= 230 && qGreen(c) >= 170 && qGreen(c) < qRed(c) && qBlue(c) + 25 <= qGreen(c) &&
           qBlue(c) >= 100;
}

int InkIn(const QImage &image, const QRect &box) {
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            count += IsInk(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

class ArtworkTest : public QObject {
    Q_OBJECT

private slots:
    void LoadsFromResources_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::newRow("badge") << ":/badge.jpg" << QByteArray("jpeg") << QSize(96, 96);
        QTest::newRow("icon 32") << ":/icons/taxcalc-32.png" << QByteArray("png") << QSize(32, 32);
        QTest::newRow("icon 16") << ":/icons/taxcalc-16.png" << QByteArray("png") << QSize(16, 16);
    }

    void LoadsFromResources() {
        QFETCH(QString, path);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QImageReader reader(path);
        QCOMPARE(reader.format(), format);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), size);
    }

    void BadgeColours_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("expected");
        // The thin white margin, on all four sides.
        QTest::newRow("margin top left") << QPoint(0, 0) << "white";
        QTest::newRow("margin top") << QPoint(48, 1) << "white";
        QTest::newRow("margin left") << QPoint(1, 48) << "white";
        QTest::newRow("margin right") << QPoint(95, 48) << "white";
        QTest::newRow("margin bottom") << QPoint(48, 94) << "white";
        QTest::newRow("margin bottom right") << QPoint(95, 95) << "white";
        // Green bevels at the top and left only.
        QTest::newRow("top bevel") << QPoint(48, 4) << "green";
        QTest::newRow("top bevel near right") << QPoint(85, 4) << "green";
        QTest::newRow("left bevel") << QPoint(4, 48) << "green";
        QTest::newRow("left bevel near bottom") << QPoint(4, 85) << "green";
        QTest::newRow("right rim") << QPoint(91, 48) << "red";
        QTest::newRow("bottom rim") << QPoint(48, 91) << "red";
        // The face is red at its edges.
        QTest::newRow("face top left") << QPoint(8, 8) << "red";
        QTest::newRow("face top right") << QPoint(87, 8) << "red";
        QTest::newRow("face bottom left") << QPoint(8, 87) << "red";
        QTest::newRow("face bottom right") << QPoint(87, 87) << "red";
    }

    void BadgeColours() {
        QFETCH(QPoint, at);
        QFETCH(QString, expected);
        const QRgb c = Load(QStringLiteral(":/badge.jpg")).pixel(at);
        const bool ok = expected == "white" ? IsWhite(c) : expected == "green" ? IsGreen(c) : IsRed(c);
        QVERIFY2(ok, qPrintable(QStringLiteral("rgb(%1, %2, %3) is not %4")
                                    .arg(qRed(c))
                                    .arg(qGreen(c))
                                    .arg(qBlue(c))
                                    .arg(expected)));
    }

    // The middle of the face is pale orange wherever no stroke covers it.
    void BadgeMiddleIsPaleOrange() {
        const QImage badge = Load(QStringLiteral(":/badge.jpg"));
        int pale = 0;
        int bare = 0;
        for (int y = 40; y < 56; ++y) {
            for (int x = 40; x < 56; ++x) {
                const QRgb c = badge.pixel(x, y);
                if (qGray(c) > 150) {
                    ++bare;
                    pale += IsPaleOrange(c) ? 1 : 0;
                }
            }
        }
        QVERIFY(bare >= 64);
        QVERIFY2(pale * 10 >= bare * 9, qPrintable(QStringLiteral("%1 of %2 pale").arg(pale).arg(bare)));
    }

    // Two lines of two large characters: ink in each quarter of the face, none on
    // the rim or the margin.
    void BadgeCarriesFourCharacters() {
        const QImage badge = Load(QStringLiteral(":/badge.jpg"));
        for (const QRect &quarter :
             {QRect(8, 8, 40, 40), QRect(48, 8, 40, 40), QRect(8, 48, 40, 40), QRect(48, 48, 40, 40)}) {
            QVERIFY2(InkIn(badge, quarter) >= 120,
                     qPrintable(QStringLiteral("quarter at %1, %2").arg(quarter.x()).arg(quarter.y())));
        }
        QCOMPARE(InkIn(badge, QRect(0, 0, 96, 7)), 0);
        QCOMPARE(InkIn(badge, QRect(0, 0, 7, 96)), 0);
        QCOMPARE(InkIn(badge, QRect(0, 89, 96, 7)), 0);
        QCOMPARE(InkIn(badge, QRect(89, 0, 7, 96)), 0);
    }

    // The yuan sign's two bars and stem fall on whole pixels at both sizes,
    // with a clear row of face between the bars.
    void IconYuanIsCrisp_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("unit");
        QTest::newRow("16") << ":/icons/taxcalc-16.png" << 1;
        QTest::newRow("32") << ":/icons/taxcalc-32.png" << 2;
        for (const int size : {48, 64, 128, 256}) {
            QTest::newRow(qPrintable(QString::number(size)))
                << QStringLiteral(TAXCALC_RESOURCE_DIR "/icons/taxcalc-%1.png").arg(size) << size / 16;
        }
    }

    void IconYuanIsCrisp() {
        QFETCH(QString, path);
        QFETCH(int, unit);
        const QImage icon = Load(path);
        const int left_of_stem = 5 * unit;
        for (int row : {9, 11}) {
            for (int dy = 0; dy < unit; ++dy) {
                QVERIFY(IsInk(icon.pixel(left_of_stem, row * unit + dy)));
            }
        }
        for (int dy = 0; dy < unit; ++dy) {
            QVERIFY(!IsInk(icon.pixel(left_of_stem, 10 * unit + dy)));
            QVERIFY(!IsInk(icon.pixel(left_of_stem, 8 * unit + dy)));
        }
        for (int x = 7 * unit; x < 9 * unit; ++x) {
            QVERIFY(IsInk(icon.pixel(x, 12 * unit)));
        }
        QVERIFY(IsGreen(icon.pixel(8 * unit, 0)));
        QVERIFY(IsGreen(icon.pixel(0, 8 * unit)));
        QVERIFY(!IsGreen(icon.pixel(16 * unit - 1, 8 * unit)));
        QVERIFY(qAlpha(icon.pixel(0, 0)) == 255 && qAlpha(icon.pixel(16 * unit - 1, 16 * unit - 1)) == 255);
    }

    // A change to the generator that is not followed by a new set of pictures
    // shows here. The JPEG may differ by rounding if libjpeg changes.
    void CommittedPicturesMatchTheGenerator() {
        QTemporaryDir out;
        QVERIFY(out.isValid());
        QProcess tool;
        tool.start(QStringLiteral(TAXCALC_ARTWORK_TOOL), {out.path()});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0,
                 tool.readAllStandardError().constData());
        QList<QPair<QString, int>> pictures = {{QStringLiteral("badge.jpg"), 3}};
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            pictures.append({QStringLiteral("icons/taxcalc-%1.png").arg(size), 0});
        }
        for (const auto &[name, tolerance] : pictures) {
            const QImage fresh = Load(out.filePath(name));
            const QImage committed = Load(QStringLiteral(TAXCALC_RESOURCE_DIR "/") + name);
            QCOMPARE(fresh.size(), committed.size());
            int worst = 0;
            for (int y = 0; y < fresh.height(); ++y) {
                for (int x = 0; x < fresh.width(); ++x) {
                    const QRgb a = fresh.pixel(x, y);
                    const QRgb b = committed.pixel(x, y);
                    worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                      std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
                }
            }
            QVERIFY2(worst <= tolerance, qPrintable(name + QStringLiteral(" differs by %1").arg(worst)));
        }
        QCOMPARE(ReadAll(out.filePath(QStringLiteral("icons/taxcalc.svg"))),
                 ReadAll(QStringLiteral(TAXCALC_RESOURCE_DIR "/icons/taxcalc.svg")));
    }

    // The scalable icon is well-formed SVG of a square 256 pixels wide, and draws
    // the rim and the sign in the colours of the pictures.
    void ScalableIconIsSquareSvg() {
        const QByteArray svg = ReadAll(QStringLiteral(TAXCALC_RESOURCE_DIR "/icons/taxcalc.svg"));
        QXmlStreamReader reader(svg);
        QVERIFY(reader.readNextStartElement());
        QCOMPARE(reader.name(), QStringLiteral("svg"));
        QCOMPARE(reader.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
        QCOMPARE(reader.attributes().value(QStringLiteral("viewBox")), QStringLiteral("0 0 16 16"));
        QCOMPARE(reader.attributes().value(QStringLiteral("width")), QStringLiteral("256"));
        int lines = 0;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement &&
                (reader.name() == QStringLiteral("line") || reader.name() == QStringLiteral("polyline"))) {
                ++lines;
            }
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(lines, 4);
        QVERIFY(svg.contains("#d01818"));  // the face's red rim
        QVERIFY(svg.contains("#78d26e"));  // the lit green edge
    }
};

}  // namespace taxcalc

int main(int argc, char **argv) {
    // Fonts and image plugins need a platform; the offscreen one needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    taxcalc::ArtworkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "artwork_test.moc"
