// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "task_templates.h"

#include <QFile>

// The templates are compiled into the trainer's core library. A static
// library's resources are linked only when something refers to them, so the
// loader registers them itself (registering twice is harmless).
static void RegisterTemplateResources() {
  Q_INIT_RESOURCE(templates);
}

namespace numora {
namespace {

// Blanks and control characters, as the line rules count them.
bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

bool IsTemplateLine(std::string_view line) {
  std::size_t first = 0;
  while (first < line.size() && IsBlankOrControl(line[first])) ++first;
  // Trailing blanks cannot change whether the trimmed text is empty or starts
  // with ";", so only the front needs trimming.
  return first < line.size() && line[first] != ';';
}

}  // namespace

TTemplateList LoadTemplates(std::string_view text) {
  TTemplateList templates;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (IsTemplateLine(line)) templates.emplace_back(line);
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return templates;
}

TTemplateList LoadShippedTemplates() {
  RegisterTemplateResources();
  QFile resource(QStringLiteral(":/numora/task_templates.txt"));
  if (!resource.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = resource.readAll();
  return LoadTemplates(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace numora
