// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/module_resources.h"

#include <QFile>
#include <QFileInfo>

namespace zelv {

namespace {

bool IsSafePart(const QString& part) {
  return !part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..") &&
         !part.contains(QLatin1Char('/')) && !part.contains(QLatin1Char('\\'));
}

}  // namespace

QString ModuleResourcePath(const QString& module, const QString& type, const QString& name) {
  if (!IsSafePart(module) || !IsSafePart(type) || !IsSafePart(name)) return QString();
  return QStringLiteral(":/%1/%2/%3").arg(module, type, name);
}

std::optional<QByteArray> ReadModuleResource(const QString& module, const QString& type,
                                             const QString& name) {
  const QString path = ModuleResourcePath(module, type, name);
  if (path.isEmpty()) return std::nullopt;
  // A directory of that name is no resource.
  if (!QFileInfo(path).isFile()) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  // readAll() copies the bytes out of the module's memory.
  QByteArray bytes = file.readAll();
  bytes.detach();
  return bytes;
}

std::optional<QByteArray> ReadModuleResource(const QString& module, const QString& type, int id) {
  if (id < 1) return std::nullopt;
  return ReadModuleResource(module, type, QString::number(id));
}

}  // namespace zelv
