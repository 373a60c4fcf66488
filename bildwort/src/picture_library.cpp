// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

#include "reading_game.h"
#include "word_list.h"
#include "zelvlib/module_resources.h"
#include "zelvlib/shared_object_check.h"

namespace bildwort {

namespace {

LibraryDamage DamageOf(const zelv::SharedObjectCheck& check, const QString& file) {
  using Fault = zelv::SharedObjectFault;
  using Kind = LibraryDamage::Kind;
  Kind kind = Kind::BadHeaders;
  switch (check.fault) {
    case Fault::Empty:
      kind = Kind::Empty;
      break;
    case Fault::NotElf:
    case Fault::NotShared:
      kind = Kind::NotALibrary;
      break;
    case Fault::WrongKind:
      kind = Kind::WrongKind;
      break;
    case Fault::Truncated:
      kind = Kind::Truncated;
      break;
    case Fault::Unreadable:
      kind = Kind::Unreadable;
      break;
    case Fault::BadHeaders:
    case Fault::None:
      kind = Kind::BadHeaders;
      break;
  }
  return LibraryDamage{
      kind, file, check.size, check.needed,
      QString::fromLatin1(check.detail.data(), static_cast<qsizetype>(check.detail.size()))};
}

QImage DecodePicture(const QString& baseName, int id) {
  const auto bytes = zelv::ReadModuleResource(baseName, QStringLiteral("BITMAP"), id);
  if (!bytes) return QImage();
  return QImage::fromData(*bytes);
}

}  // namespace

ProcessTrialLoader::ProcessTrialLoader(QString program, int timeoutMs)
    : program_(std::move(program)), timeoutMs_(timeoutMs) {}

std::optional<LibraryDamage> ProcessTrialLoader::Try(const QString& file, const QString& baseName) {
  using Kind = LibraryDamage::Kind;
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program_, {QString::fromLatin1(kTrialLoadOption), file, baseName});
  // Without its own program there is no trial; the file's check decides.
  if (!process.waitForStarted(timeoutMs_)) return std::nullopt;
  if (!process.waitForFinished(timeoutMs_)) {
    process.kill();
    process.waitForFinished();
    return LibraryDamage{Kind::TrialHung, file, 0, 0, QString::number(timeoutMs_ / 1000)};
  }
  const QString errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
  if (process.exitStatus() == QProcess::CrashExit) {
    return LibraryDamage{Kind::TrialCrashed, file, 0, 0, errors};
  }
  switch (process.exitCode()) {
    case 0:
    case kTrialNotFound:  // nothing by that name: missing, not damaged
      return std::nullopt;
    case kTrialRefused:
      return LibraryDamage{Kind::TrialRefused, file, 0, 0, errors.section(QLatin1Char('\n'), -1)};
    default:  // a sanitizer's report of a crash ends the process this way
      return LibraryDamage{Kind::TrialCrashed, file, 0, 0, errors};
  }
}

int RunTrialLoad(const QString& file, const QString& baseName) {
  QLibrary library(file);
  if (!library.load()) {
    std::fprintf(stderr, "%s\n", qPrintable(library.errorString()));
    return file.contains(QLatin1Char('/')) ? kTrialRefused : kTrialNotFound;
  }
  library.resolve("ShowAbout");
  library.resolve("Hilfe");
  // Everything the game reads from it, read the same way.
  if (const auto text =
          zelv::ReadModuleResource(baseName, QStringLiteral("TEXT"), QStringLiteral("LISTE"))) {
    const size_t lines =
        SplitWordList(std::string_view(text->constData(), static_cast<size_t>(text->size())))
            .size();
    const int count = static_cast<int>(std::min<size_t>(lines, ReadingGame::kBoardCells));
    for (int id = 1; id <= count; ++id) DecodePicture(baseName, id);
  }
  library.unload();
  return 0;
}

ZelvpicsLibrary::ZelvpicsLibrary(QString baseName, QStringList firstFolders, TrialLoader* trial)
    : baseName_(std::move(baseName)), firstFolders_(std::move(firstFolders)), trial_(trial) {}

ZelvpicsLibrary::~ZelvpicsLibrary() {
  Release();
}

QStringList ZelvpicsLibrary::ProgramFolder() {
  if (QCoreApplication::instance() == nullptr) return {};
  return {QCoreApplication::applicationDirPath()};
}

QString ZelvpicsLibrary::FindFile() const {
  const QStringList folders = SearchedFolders() + zelv::SystemLibraryFolders();
  for (const QString& folder : folders) {
    const QString path = QDir(folder).filePath(FileName());
    if (QFileInfo(path).isFile()) return path;
  }
  return QString();
}

bool ZelvpicsLibrary::Load() {
  if (IsLoaded()) return true;
  damage_.reset();
  // The file the loader would map is checked first: a damaged one would
  // end the program inside the loader.
  const QString file = FindFile();
  if (!file.isEmpty()) {
    const zelv::SharedObjectCheck check = zelv::CheckSharedObjectFile(file);
    if (!check.Ok()) {
      damage_ = DamageOf(check, file);
      return false;
    }
  }
  if (trial_ != nullptr) {
    // One that only the loader's own cache knows is tried by its name.
    damage_ = trial_->Try(file.isEmpty() ? baseName_ : file, baseName_);
    if (damage_) return false;
  }
  if (LoadFile(file.isEmpty() ? baseName_ : file)) return true;
  if (!file.isEmpty()) {
    damage_ = LibraryDamage{LibraryDamage::Kind::TrialRefused, file, 0, 0, library_.errorString()};
  }
  return false;
}

bool ZelvpicsLibrary::LoadFile(const QString& file) {
  // With a bare name QLibrary adds the platform's prefix and suffix
  // (lib... .so) and the loader searches.
  library_.setFileName(file);
  if (!library_.load()) return false;
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
  return DecodePicture(baseName_, id);
}

}  // namespace bildwort
