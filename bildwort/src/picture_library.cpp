// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_library.h"

#include <QCoreApplication>
#include <QDir>
#include <utility>

#include "zelvlib/module_resources.h"

namespace bildwort {

ZelvpicsLibrary::ZelvpicsLibrary(QString baseName, QStringList firstFolders)
    : baseName_(std::move(baseName)), firstFolders_(std::move(firstFolders)) {}

ZelvpicsLibrary::~ZelvpicsLibrary() {
  Release();
}

QStringList ZelvpicsLibrary::ProgramFolder() {
  if (QCoreApplication::instance() == nullptr) return {};
  return {QCoreApplication::applicationDirPath()};
}

bool ZelvpicsLibrary::Load() {
  if (IsLoaded()) return true;
  QStringList candidates;
  for (const QString& folder : std::as_const(firstFolders_)) {
    if (!folder.isEmpty()) candidates << QDir(folder).filePath(baseName_);
  }
  candidates << baseName_;  // the usual search
  for (const QString& candidate : std::as_const(candidates)) {
    // QLibrary adds the platform's prefix and suffix (lib... .so).
    library_.setFileName(candidate);
    if (library_.load()) break;
  }
  if (!IsLoaded()) return false;
  showAbout_ = reinterpret_cast<ShowAboutEntry>(library_.resolve("ShowAbout"));
  hilfe_ = reinterpret_cast<HilfeEntry>(library_.resolve("Hilfe"));
  return true;
}

void ZelvpicsLibrary::Release() {
  showAbout_ = nullptr;
  hilfe_ = nullptr;
  if (IsLoaded()) library_.unload();
}

void ZelvpicsLibrary::ShowAbout(const QIcon& icon) {
  if (showAbout_ != nullptr) showAbout_(&icon);
}

void ZelvpicsLibrary::Hilfe() {
  if (hilfe_ != nullptr) hilfe_();
}

std::optional<QByteArray> ZelvpicsLibrary::ReadWordList() {
  if (!IsLoaded()) return std::nullopt;
  return zelv::ReadModuleResource(baseName_, QStringLiteral("TEXT"), QStringLiteral("LISTE"));
}

QString ZelvpicsLibrary::FileName() const {
  return QStringLiteral("lib%1.so").arg(baseName_);
}

QStringList ZelvpicsLibrary::SearchedFolders() const {
  QStringList folders;
  for (const QString& folder : std::as_const(firstFolders_)) {
    if (!folder.isEmpty()) folders << QDir::toNativeSeparators(folder);
  }
  const QString path = qEnvironmentVariable("LD_LIBRARY_PATH");
  for (const QString& folder : path.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
    if (!folders.contains(folder)) folders << folder;
  }
  return folders;
}

QImage ZelvpicsLibrary::ReadPicture(int id) {
  if (!IsLoaded()) return QImage();
  const auto bytes = zelv::ReadModuleResource(baseName_, QStringLiteral("BITMAP"), id);
  if (!bytes) return QImage();
  return QImage::fromData(*bytes);
}

}  // namespace bildwort
