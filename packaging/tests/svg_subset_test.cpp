// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "svg_subset.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>

#include <cstdlib>
#include <ostream>
#include <string>

namespace {

// Wraps shapes in a 64 x 64 document.
QByteArray Doc(const std::string& body, const std::string& viewBox = "0 0 64 64") {
  return QByteArray::fromStdString("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" +
                                   viewBox + "\">" + body + "</svg>");
}

bool Near(const QColor& a, const QColor& b, int tolerance = 8) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

std::string Describe(const QColor& c) {
  return QString("rgba(%1,%2,%3,%4)")
      .arg(c.red())
      .arg(c.green())
      .arg(c.blue())
      .arg(c.alpha())
      .toStdString();
}

const QColor kClear(0, 0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

struct PixelCase {
  const char* name;
  std::string body;
  int x, y;  // pixel in a 64 x 64 rendering
  QColor expected;
};

// A failing case is named, not dumped byte by byte.
void PrintTo(const PixelCase& c, std::ostream* out) {
  *out << c.name;
}

class Pixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(Pixels, ColourAtPoint) {
  const PixelCase& c = GetParam();
  const auto result = svg_subset::Render(Doc(c.body), 64);
  ASSERT_FALSE(result.image.isNull()) << result.error.toStdString();
  const QColor actual = result.image.pixelColor(c.x, c.y);
  EXPECT_TRUE(Near(actual, c.expected))
      << "got " << Describe(actual) << ", want " << Describe(c.expected);
}

const char* kRing =
    "<path d='M8 8 H56 V56 H8 Z M20 20 H44 V44 H20 Z' fill='red' fill-rule='evenodd'/>";

INSTANTIATE_TEST_SUITE_P(
    Shapes, Pixels,
    ::testing::Values(
        PixelCase{"RectInside", "<rect x='10' y='10' width='20' height='20' fill='red'/>", 20, 20,
                  kRed},
        PixelCase{"RectOutside", "<rect x='10' y='10' width='20' height='20' fill='red'/>", 40, 20,
                  kClear},
        PixelCase{"DefaultFillIsBlack", "<rect width='64' height='64'/>", 5, 5, kBlack},
        PixelCase{"RoundedCornerCut", "<rect width='64' height='64' rx='20' fill='red'/>", 1, 1,
                  kClear},
        PixelCase{"RoundedEdgeKept", "<rect width='64' height='64' rx='20' fill='red'/>", 32, 1,
                  kRed},
        PixelCase{"RyAloneRounds", "<rect width='64' height='64' ry='20' fill='red'/>", 1, 1,
                  kClear},
        PixelCase{"CircleCentre", "<circle cx='32' cy='32' r='10' fill='#00f'/>", 32, 32, kBlue},
        PixelCase{"CircleBeyondRadius", "<circle cx='32' cy='32' r='10' fill='#00f'/>", 32, 45,
                  kClear},
        PixelCase{"EllipseWide", "<ellipse cx='32' cy='32' rx='30' ry='5' fill='red'/>", 58, 32,
                  kRed},
        PixelCase{"EllipseFlat", "<ellipse cx='32' cy='32' rx='30' ry='5' fill='red'/>", 32, 40,
                  kClear},
        PixelCase{"Polygon", "<polygon points='0,0 64,0 0,64' fill='red'/>", 10, 10, kRed},
        PixelCase{"PolygonOtherHalf", "<polygon points='0,0 64,0 0,64' fill='red'/>", 54, 54,
                  kClear},
        PixelCase{"PathAbsolute", "<path d='M0 0 L64 0 L64 64 Z' fill='red'/>", 54, 10, kRed},
        PixelCase{"PathRelative", "<path d='m0 0 l64 0 l0 64 z' fill='red'/>", 54, 10, kRed},
        PixelCase{"PathHV", "<path d='M10 10 h20 v20 H10 V10 z' fill='red'/>", 20, 20, kRed},
        PixelCase{"PathImplicitLineAfterMove", "<path d='M0 0 64 0 64 64 Z' fill='red'/>", 54, 10,
                  kRed},
        PixelCase{"PathCurve", "<path d='M0 32 C0 0 64 0 64 32 Z' fill='red'/>", 32, 20, kRed},
        PixelCase{"PathQuad", "<path d='M0 64 Q32 -32 64 64 Z' fill='red'/>", 32, 30, kRed},
        PixelCase{"EvenOddHole", kRing, 32, 32, kClear},
        PixelCase{"EvenOddRing", kRing, 12, 12, kRed},
        PixelCase{"NonZeroFillsHole",
                  "<path d='M8 8 H56 V56 H8 Z M20 20 H44 V44 H20 Z' fill='red'/>", 32, 32, kRed},
        PixelCase{"StrokeOnLine",
                  "<line x1='0' y1='32' x2='64' y2='32' stroke='blue' stroke-width='6'/>", 32, 32,
                  kBlue},
        PixelCase{"LineIsNeverFilled", "<line x1='0' y1='0' x2='64' y2='64' fill='red'/>", 40, 20,
                  kClear},
        PixelCase{"ButtCapEndsAtEnd",
                  "<line x1='20' y1='32' x2='44' y2='32' stroke='blue' stroke-width='8'/>", 17, 32,
                  kClear},
        PixelCase{"RoundCapReachesPast",
                  "<line x1='20' y1='32' x2='44' y2='32' stroke='blue' stroke-width='8' "
                  "stroke-linecap='round'/>",
                  17, 32, kBlue},
        PixelCase{"FillNone", "<rect width='64' height='64' fill='none' stroke='red'/>", 32, 32,
                  kClear},
        PixelCase{"GroupFillInherited", "<g fill='blue'><rect width='64' height='64'/></g>", 32, 32,
                  kBlue},
        PixelCase{"ElementOverridesGroup",
                  "<g fill='blue'><rect width='64' height='64' fill='red'/></g>", 32, 32, kRed},
        PixelCase{"LaterShapeOnTop",
                  "<rect width='64' height='64' fill='red'/><circle cx='32' cy='32' r='8' "
                  "fill='blue'/>",
                  32, 32, kBlue},
        PixelCase{"FillOpacity", "<rect width='64' height='64' fill='red' fill-opacity='0.5'/>", 32,
                  32, QColor(255, 0, 0, 128)},
        PixelCase{"TitleIgnored", "<title>x</title><rect width='64' height='64' fill='red'/>", 5, 5,
                  kRed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SvgSubsetScaling, SameDrawingAtEverySize) {
  const QByteArray svg = Doc("<rect x='0' y='0' width='32' height='64' fill='red'/>");
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const auto result = svg_subset::Render(svg, size);
    ASSERT_FALSE(result.image.isNull()) << size;
    EXPECT_EQ(result.image.size(), QSize(size, size));
    EXPECT_TRUE(Near(result.image.pixelColor(size / 4, size / 2), kRed)) << size;
    EXPECT_TRUE(Near(result.image.pixelColor(size * 3 / 4, size / 2), kClear)) << size;
  }
}

TEST(SvgSubsetScaling, ViewBoxOriginAndProportions) {
  // The view box starts at (100, 100): the shape there lands at the top left.
  auto result = svg_subset::Render(
      Doc("<rect x='100' y='100' width='32' height='32' fill='red'/>", "100 100 64 64"), 64);
  ASSERT_FALSE(result.image.isNull()) << result.error.toStdString();
  EXPECT_TRUE(Near(result.image.pixelColor(10, 10), kRed));
  EXPECT_TRUE(Near(result.image.pixelColor(50, 50), kClear));

  // A wide view box keeps its proportions and is centred vertically.
  result = svg_subset::Render(Doc("<rect width='128' height='64' fill='red'/>", "0 0 128 64"), 64);
  ASSERT_FALSE(result.image.isNull());
  EXPECT_TRUE(Near(result.image.pixelColor(32, 5), kClear));
  EXPECT_TRUE(Near(result.image.pixelColor(32, 32), kRed));
  EXPECT_TRUE(Near(result.image.pixelColor(32, 58), kClear));
}

TEST(SvgSubsetScaling, SizeWithoutViewBox) {
  const auto result = svg_subset::Render(
      "<svg xmlns='http://www.w3.org/2000/svg' width='32px' height='32'>"
      "<rect width='16' height='32' fill='red'/></svg>",
      64);
  ASSERT_FALSE(result.image.isNull()) << result.error.toStdString();
  EXPECT_TRUE(Near(result.image.pixelColor(10, 32), kRed));
  EXPECT_TRUE(Near(result.image.pixelColor(50, 32), kClear));
}

struct RejectCase {
  const char* name;
  QByteArray svg;
  int size;
  const char* mentions;  // part of the error text
};

// A failing case is named, not dumped byte by byte.
void PrintTo(const RejectCase& c, std::ostream* out) {
  *out << c.name;
}

class Rejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(Rejects, WithAReason) {
  const RejectCase& c = GetParam();
  const auto result = svg_subset::Render(c.svg, c.size);
  EXPECT_TRUE(result.image.isNull());
  EXPECT_TRUE(result.error.contains(QLatin1String(c.mentions)))
      << "error was: " << result.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Unsupported, Rejects,
    ::testing::Values(
        RejectCase{"Text", Doc("<text x='1' y='1'>A</text>"), 64, "<text>"},
        RejectCase{"Gradient", Doc("<linearGradient id='g'/>"), 64, "<linearGradient>"},
        RejectCase{"Transform", Doc("<rect width='9' height='9' transform='rotate(45)'/>"), 64,
                   "transform"},
        RejectCase{"GroupTransform", Doc("<g transform='scale(2)'/>"), 64, "transform"},
        RejectCase{"ArcCommand", Doc("<path d='M0 0 A5 5 0 0 1 10 10'/>"), 64, "'A'"},
        RejectCase{"PathWithoutCommand", Doc("<path d='10 10'/>"), 64, "command"},
        RejectCase{"PathMissingNumber", Doc("<path d='M10'/>"), 64, "number"},
        RejectCase{"OddPoints", Doc("<polygon points='1 2 3'/>"), 64, "number"},
        RejectCase{"BadLength", Doc("<rect width='ten' height='9'/>"), 64, "width"},
        RejectCase{"BadColour", Doc("<rect width='9' height='9' fill='#12'/>"), 64, "colour"},
        RejectCase{"NegativeRadius", Doc("<circle r='-1'/>"), 64, "radius"},
        RejectCase{"NegativeSize", Doc("<rect width='-1' height='9'/>"), 64, "negative"},
        RejectCase{"BadLinecap", Doc("<line stroke-linecap='pointy'/>"), 64, "linecap"},
        RejectCase{"ShapeWithChild", Doc("<rect width='9' height='9'><rect/></rect>"), 64, "empty"},
        RejectCase{"StrayText", Doc("hello"), 64, "text"},
        RejectCase{"NotSvg", "<html/>", 64, "<svg>"},
        RejectCase{"NoSize", "<svg xmlns='http://www.w3.org/2000/svg'/>", 64, "viewBox"},
        RejectCase{"Malformed", Doc("<rect width='9'"), 64, "line 1"},
        RejectCase{"Empty", "", 64, "svg"}, RejectCase{"ZeroSize", Doc(""), 0, "size"},
        RejectCase{"HugeSize", Doc(""), 100000, "size"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SvgSubsetErrors, NameTheLine) {
  const auto result = svg_subset::Render(
      "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 8 8'>\n<rect/>\n<text/>\n</svg>", 8);
  EXPECT_TRUE(result.error.startsWith(QLatin1String("line 3:"))) << result.error.toStdString();
}

// The programs' own icons: every installed size renders, with transparent
// rounded corners and an opaque middle.
TEST(ProgramIcons, RenderAtEveryInstalledSize) {
  const QDir dir(QStringLiteral(ZELV_ICON_DIR));
  for (const char* icon : {"numora.svg", "bildwort.svg"}) {
    QFile file(dir.filePath(QLatin1String(icon)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << icon;
    const QByteArray svg = file.readAll();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
      const auto result = svg_subset::Render(svg, size);
      ASSERT_FALSE(result.image.isNull()) << icon << ": " << result.error.toStdString();
      EXPECT_EQ(result.image.pixelColor(0, 0).alpha(), 0) << icon << " " << size;
      EXPECT_EQ(result.image.pixelColor(size / 2, size / 2).alpha(), 255) << icon << " " << size;
    }
  }
}

}  // namespace
