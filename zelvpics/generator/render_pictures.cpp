// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: renders the sample library's pictures and word list and writes
// the resource collection file that compiles them into the library.
//   zelvpics_render <output folder> [contact sheet .png]
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <vector>

#include "picture_renderer.h"
#include "picture_table.h"

namespace {

int Fail(const QString& message) {
  std::fprintf(stderr, "zelvpics_render: %s\n", qPrintable(message));
  return 1;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
  // Rendering needs no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2 || args.size() > 3) {
    return Fail("usage: zelvpics_render <output folder> [contact sheet .png]");
  }
  const QDir out(args[1]);
  if (!out.mkpath("BITMAP")) return Fail("cannot create " + out.filePath("BITMAP"));

  const zelvpics::PictureRenderer renderer;
  if (!renderer.IsValid()) return Fail(renderer.Problem());

  const auto table = zelvpics::PictureTable();
  std::vector<QImage> pictures;
  QString qrc;
  QTextStream xml(&qrc);
  xml << "<RCC>\n  <qresource prefix=\"/zelvpics\">\n"
      << "    <file alias=\"TEXT/LISTE\">LISTE</file>\n";
  for (size_t i = 0; i < table.size(); ++i) {
    const auto& entry = table[i];
    const int id = static_cast<int>(i) + 1;
    if (!renderer.Supports(entry.Emoji)) {
      return Fail(QStringLiteral("picture %1 (%2): the font has no glyph U+%3")
                      .arg(id)
                      .arg(QString::fromUtf8(entry.English))
                      .arg(static_cast<uint>(entry.Emoji), 0, 16));
    }
    QImage picture = renderer.Render(entry.Emoji);
    if (!zelvpics::HasVisibleContent(picture)) {
      return Fail(QStringLiteral("picture %1 (%2) came out blank")
                      .arg(id)
                      .arg(QString::fromUtf8(entry.English)));
    }
    const QString file = QStringLiteral("BITMAP/%1.png").arg(id);
    if (!picture.save(out.filePath(file), "PNG")) return Fail("cannot write " + file);
    xml << "    <file alias=\"BITMAP/" << id << "\">" << file << "</file>\n";
    pictures.push_back(std::move(picture));
  }
  xml << "  </qresource>\n</RCC>\n";
  xml.flush();

  // Colour emoji fonts that fail to load colour bitmaps draw nothing or
  // outlines; a set without colour means the pictures are unusable.
  const auto coloured = std::count_if(pictures.begin(), pictures.end(), zelvpics::HasColour);
  if (coloured * 10 < static_cast<std::ptrdiff_t>(pictures.size()) * 9) {
    return Fail(
        QStringLiteral("only %1 of %2 pictures are in colour").arg(coloured).arg(pictures.size()));
  }

  if (!WriteFile(out.filePath("LISTE"), zelvpics::EncodeWordList(table))) {
    return Fail("cannot write the word list");
  }
  if (!WriteFile(out.filePath("zelvpics.qrc"), qrc.toUtf8())) {
    return Fail("cannot write the resource collection file");
  }
  if (args.size() == 3 && !zelvpics::ContactSheet(pictures, 12).save(args[2], "PNG")) {
    return Fail("cannot write " + args[2]);
  }
  return 0;
}
