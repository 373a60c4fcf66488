// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "svg_subset.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>
#include <vector>

namespace svg_subset {
namespace {

// Presentation attributes inherited from <svg> and <g> down to the shapes.
struct Style {
  std::optional<QColor> fill = QColor(Qt::black);
  std::optional<QColor> stroke;
  double strokeWidth = 1.0;
  double fillOpacity = 1.0;
  double strokeOpacity = 1.0;
  Qt::PenCapStyle cap = Qt::FlatCap;
  Qt::PenJoinStyle join = Qt::MiterJoin;
  Qt::FillRule fillRule = Qt::WindingFill;
};

// A failure while reading the document; carries the message up to Render.
struct ParseError {
  QString message;
};

bool IsNumberStart(QChar c) {
  return c.isDigit() || c == '-' || c == '+' || c == '.';
}

// Reads the numbers of a points list or path, separated by blanks or commas.
class NumberScanner {
 public:
  explicit NumberScanner(QStringView text) : text_(text) {}

  void SkipSeparators() {
    while (pos_ < text_.size() && (text_[pos_].isSpace() || text_[pos_] == ',')) ++pos_;
  }
  bool AtEnd() {
    SkipSeparators();
    return pos_ >= text_.size();
  }
  bool NextIsNumber() {
    SkipSeparators();
    return pos_ < text_.size() && IsNumberStart(text_[pos_]);
  }
  QChar TakeChar() { return text_[pos_++]; }

  double Number() {
    SkipSeparators();
    const qsizetype start = pos_;
    if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
    bool digits = false;
    bool dot = false;
    while (pos_ < text_.size()) {
      const QChar c = text_[pos_];
      if (c.isDigit()) {
        digits = true;
      } else if (c == '.' && !dot) {
        dot = true;
      } else {
        break;
      }
      ++pos_;
    }
    if (digits && pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      qsizetype p = pos_ + 1;
      if (p < text_.size() && (text_[p] == '-' || text_[p] == '+')) ++p;
      if (p < text_.size() && text_[p].isDigit()) {
        while (p < text_.size() && text_[p].isDigit()) ++p;
        pos_ = p;
      }
    }
    bool ok = false;
    const double value = text_.mid(start, pos_ - start).toDouble(&ok);
    if (!digits || !ok) {
      throw ParseError{QStringLiteral("number expected at \"%1\"").arg(text_.mid(start, 12))};
    }
    return value;
  }

 private:
  QStringView text_;
  qsizetype pos_ = 0;
};

double ParseLength(const QString& text, const QString& what) {
  QString t = text.trimmed();
  if (t.endsWith(QLatin1String("px"))) t.chop(2);
  bool ok = false;
  const double value = t.toDouble(&ok);
  if (!ok) throw ParseError{QStringLiteral("%1: not a number: \"%2\"").arg(what, text)};
  return value;
}

std::optional<QColor> ParsePaint(const QString& text) {
  const QString t = text.trimmed();
  if (t == QLatin1String("none")) return std::nullopt;
  const QColor color = QColor::fromString(t);
  if (!color.isValid()) throw ParseError{QStringLiteral("unknown colour \"%1\"").arg(text)};
  return color;
}

double ParseOpacity(const QString& text) {
  return std::clamp(ParseLength(text, QStringLiteral("opacity")), 0.0, 1.0);
}

QPainterPath ParsePathData(const QString& data) {
  QPainterPath path;
  NumberScanner scan(data);
  QPointF current;
  QPointF subpathStart;
  QChar command;
  while (!scan.AtEnd()) {
    if (!scan.NextIsNumber()) {
      command = scan.TakeChar();
    } else if (command.isNull() || command.toUpper() == 'Z') {
      throw ParseError{QStringLiteral("path data: command letter expected")};
    }
    const bool relative = command.isLower();
    const QPointF base = relative ? current : QPointF();
    auto point = [&] {
      const double x = scan.Number();
      const double y = scan.Number();
      return base + QPointF(x, y);
    };
    switch (command.toUpper().unicode()) {
      case 'M':
        current = point();
        subpathStart = current;
        path.moveTo(current);
        // Further pairs after a move are lines.
        command = relative ? QChar('l') : QChar('L');
        break;
      case 'L':
        current = point();
        path.lineTo(current);
        break;
      case 'H':
        current.setX((relative ? current.x() : 0.0) + scan.Number());
        path.lineTo(current);
        break;
      case 'V':
        current.setY((relative ? current.y() : 0.0) + scan.Number());
        path.lineTo(current);
        break;
      case 'C': {
        const QPointF c1 = point();
        const QPointF c2 = point();
        current = point();
        path.cubicTo(c1, c2, current);
        break;
      }
      case 'Q': {
        const QPointF c = point();
        current = point();
        path.quadTo(c, current);
        break;
      }
      case 'Z':
        path.closeSubpath();
        current = subpathStart;
        break;
      default:
        throw ParseError{QStringLiteral("path data: unsupported command '%1'").arg(command)};
    }
  }
  return path;
}

QPolygonF ParsePoints(const QString& text) {
  QPolygonF points;
  NumberScanner scan(text);
  while (!scan.AtEnd()) {
    const double x = scan.Number();
    const double y = scan.Number();
    points << QPointF(x, y);
  }
  return points;
}

class Renderer {
 public:
  Renderer(const QByteArray& svg, int size) : reader_(svg), size_(size) {}

  RenderResult Run() {
    RenderResult result;
    if (size_ <= 0 || size_ > 4096) {
      result.error = QStringLiteral("size out of range: %1").arg(size_);
      return result;
    }
    image_ = QImage(size_, size_, QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter_ = &painter;
    try {
      ReadDocument();
    } catch (const ParseError& e) {
      result.error = QStringLiteral("line %1: %2").arg(reader_.lineNumber()).arg(e.message);
      return result;
    }
    painter.end();
    result.image = image_;
    return result;
  }

 private:
  void ReadDocument() {
    while (!reader_.atEnd()) {
      const auto token = reader_.readNext();
      if (token == QXmlStreamReader::StartElement) {
        if (reader_.name() != QLatin1String("svg")) throw ParseError{"root element is not <svg>"};
        ReadRoot();
        return;
      }
    }
    // A document that ends before any element (an empty file) has no <svg>;
    // say that rather than the XML reader's "premature end".
    if (reader_.hasError() && reader_.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
      throw ParseError{reader_.errorString()};
    }
    throw ParseError{QStringLiteral("no <svg> element")};
  }

  void ReadRoot() {
    const auto attrs = reader_.attributes();
    double minX = 0, minY = 0, width = 0, height = 0;
    if (attrs.hasAttribute(QLatin1String("viewBox"))) {
      NumberScanner scan(attrs.value(QLatin1String("viewBox")));
      minX = scan.Number();
      minY = scan.Number();
      width = scan.Number();
      height = scan.Number();
    } else if (attrs.hasAttribute(QLatin1String("width")) &&
               attrs.hasAttribute(QLatin1String("height"))) {
      width = ParseLength(attrs.value(QLatin1String("width")).toString(), "width");
      height = ParseLength(attrs.value(QLatin1String("height")).toString(), "height");
    }
    if (!(width > 0) || !(height > 0)) throw ParseError{"<svg> needs a positive viewBox or size"};
    // Fit the view box into the square, centred, keeping its proportions.
    const double scale = std::min(size_ / width, size_ / height);
    painter_->translate((size_ - width * scale) / 2, (size_ - height * scale) / 2);
    painter_->scale(scale, scale);
    painter_->translate(-minX, -minY);
    ReadChildren(ApplyStyle(Style{}, {"version", "width", "height", "viewBox"}));
  }

  // Reads the elements up to the end of the current one.
  void ReadChildren(const Style& style) {
    while (!reader_.atEnd()) {
      const auto token = reader_.readNext();
      if (token == QXmlStreamReader::EndElement) return;
      if (token == QXmlStreamReader::Characters && !reader_.isWhitespace()) {
        throw ParseError{QStringLiteral("unexpected text")};
      }
      if (token != QXmlStreamReader::StartElement) continue;
      ReadElement(style);
    }
    if (reader_.hasError()) throw ParseError{reader_.errorString()};
  }

  void ReadElement(const Style& parent) {
    const QString name = reader_.name().toString();
    if (name == QLatin1String("title") || name == QLatin1String("desc")) {
      reader_.skipCurrentElement();
      return;
    }
    if (name == QLatin1String("g")) {
      ReadChildren(ApplyStyle(parent, {}));
      return;
    }
    QPainterPath path;
    bool fillable = true;
    const auto attrs = reader_.attributes();
    auto number = [&](const char* attr, double fallback) {
      const auto text = attrs.value(QLatin1String(attr));
      return text.isNull() ? fallback : ParseLength(text.toString(), QLatin1String(attr));
    };
    Style style;
    if (name == QLatin1String("rect")) {
      style = ApplyStyle(parent, {"x", "y", "width", "height", "rx", "ry"});
      const double w = number("width", 0), h = number("height", 0);
      if (w < 0 || h < 0) throw ParseError{QStringLiteral("negative rectangle size")};
      double rx = number("rx", -1), ry = number("ry", -1);
      if (rx < 0) rx = std::max(ry, 0.0);
      if (ry < 0) ry = rx;
      rx = std::min(rx, w / 2);
      ry = std::min(ry, h / 2);
      path.addRoundedRect(QRectF(number("x", 0), number("y", 0), w, h), rx, ry);
    } else if (name == QLatin1String("circle")) {
      style = ApplyStyle(parent, {"cx", "cy", "r"});
      const double r = number("r", 0);
      if (r < 0) throw ParseError{QStringLiteral("negative radius")};
      path.addEllipse(QPointF(number("cx", 0), number("cy", 0)), r, r);
    } else if (name == QLatin1String("ellipse")) {
      style = ApplyStyle(parent, {"cx", "cy", "rx", "ry"});
      const double rx = number("rx", 0), ry = number("ry", 0);
      if (rx < 0 || ry < 0) throw ParseError{QStringLiteral("negative radius")};
      path.addEllipse(QPointF(number("cx", 0), number("cy", 0)), rx, ry);
    } else if (name == QLatin1String("line")) {
      style = ApplyStyle(parent, {"x1", "y1", "x2", "y2"});
      path.moveTo(number("x1", 0), number("y1", 0));
      path.lineTo(number("x2", 0), number("y2", 0));
      fillable = false;
    } else if (name == QLatin1String("polygon") || name == QLatin1String("polyline")) {
      style = ApplyStyle(parent, {"points"});
      const QPolygonF points = ParsePoints(attrs.value(QLatin1String("points")).toString());
      if (!points.isEmpty()) {
        path.addPolygon(points);
        if (name == QLatin1String("polygon")) path.closeSubpath();
      }
    } else if (name == QLatin1String("path")) {
      style = ApplyStyle(parent, {"d"});
      path = ParsePathData(attrs.value(QLatin1String("d")).toString());
    } else {
      throw ParseError{QStringLiteral("unsupported element <%1>").arg(name)};
    }
    Draw(path, style, fillable);
    // Shapes have no children the icons would need.
    while (!reader_.atEnd()) {
      const auto token = reader_.readNext();
      if (token == QXmlStreamReader::EndElement) return;
      if (token == QXmlStreamReader::StartElement ||
          (token == QXmlStreamReader::Characters && !reader_.isWhitespace())) {
        throw ParseError{QStringLiteral("<%1> must be empty").arg(name)};
      }
    }
  }

  // Applies the element's presentation attributes to the inherited style and
  // rejects every attribute that is neither presentation nor in `geometry`.
  Style ApplyStyle(Style style, std::initializer_list<const char*> geometry) {
    for (const auto& attr : reader_.attributes()) {
      const QString name = attr.qualifiedName().toString();
      const QString value = attr.value().toString();
      if (name == QLatin1String("fill")) {
        style.fill = ParsePaint(value);
      } else if (name == QLatin1String("stroke")) {
        style.stroke = ParsePaint(value);
      } else if (name == QLatin1String("stroke-width")) {
        style.strokeWidth = ParseLength(value, name);
        if (style.strokeWidth < 0) throw ParseError{QStringLiteral("negative stroke width")};
      } else if (name == QLatin1String("fill-opacity")) {
        style.fillOpacity = ParseOpacity(value);
      } else if (name == QLatin1String("stroke-opacity")) {
        style.strokeOpacity = ParseOpacity(value);
      } else if (name == QLatin1String("stroke-linecap")) {
        if (value == QLatin1String("butt")) {
          style.cap = Qt::FlatCap;
        } else if (value == QLatin1String("round")) {
          style.cap = Qt::RoundCap;
        } else if (value == QLatin1String("square")) {
          style.cap = Qt::SquareCap;
        } else {
          throw ParseError{QStringLiteral("unknown stroke-linecap \"%1\"").arg(value)};
        }
      } else if (name == QLatin1String("stroke-linejoin")) {
        if (value == QLatin1String("miter")) {
          style.join = Qt::MiterJoin;
        } else if (value == QLatin1String("round")) {
          style.join = Qt::RoundJoin;
        } else if (value == QLatin1String("bevel")) {
          style.join = Qt::BevelJoin;
        } else {
          throw ParseError{QStringLiteral("unknown stroke-linejoin \"%1\"").arg(value)};
        }
      } else if (name == QLatin1String("fill-rule")) {
        if (value == QLatin1String("nonzero")) {
          style.fillRule = Qt::WindingFill;
        } else if (value == QLatin1String("evenodd")) {
          style.fillRule = Qt::OddEvenFill;
        } else {
          throw ParseError{QStringLiteral("unknown fill-rule \"%1\"").arg(value)};
        }
      } else if (name == QLatin1String("id") || name == QLatin1String("xmlns") ||
                 name.startsWith(QLatin1String("xmlns:"))) {
        // Names only; nothing to draw.
      } else if (std::none_of(geometry.begin(), geometry.end(),
                              [&](const char* g) { return name == QLatin1String(g); })) {
        throw ParseError{QStringLiteral("unsupported attribute \"%1\"").arg(name)};
      }
    }
    return style;
  }

  void Draw(QPainterPath path, const Style& style, bool fillable) {
    path.setFillRule(style.fillRule);
    if (fillable && style.fill) {
      QColor fill = *style.fill;
      fill.setAlphaF(fill.alphaF() * style.fillOpacity);
      painter_->fillPath(path, fill);
    }
    if (style.stroke && style.strokeWidth > 0) {
      QColor stroke = *style.stroke;
      stroke.setAlphaF(stroke.alphaF() * style.strokeOpacity);
      painter_->strokePath(path,
                           QPen(stroke, style.strokeWidth, Qt::SolidLine, style.cap, style.join));
    }
  }

  QXmlStreamReader reader_;
  int size_;
  QImage image_;
  QPainter* painter_ = nullptr;
};

}  // namespace

RenderResult Render(const QByteArray& svg, int size) {
  return Renderer(svg, size).Run();
}

}  // namespace svg_subset
