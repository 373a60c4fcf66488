// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the reading game asks of its picture library: to be loaded and
// released, its two exports (about box and help) and its resources (the word
// list and one picture per line).
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QLibrary>
#include <QString>
#include <QStringList>
#include <optional>

namespace bildwort {

class PictureLibrary {
 public:
  virtual ~PictureLibrary() = default;

  // Loads the library and looks up its exports; false when it cannot be
  // loaded.
  virtual bool Load() = 0;
  virtual void Release() = 0;

  // The exports. One the library lacks does nothing.
  virtual void ShowAbout(const QIcon& icon) = 0;
  virtual void Hilfe() = 0;

  // The word list "LISTE" of type "TEXT", its bytes unchanged; std::nullopt
  // when the library has none.
  virtual std::optional<QByteArray> ReadWordList() = 0;

  // Bitmap `id` (1 .. N); a null image when missing or unreadable.
  virtual QImage ReadPicture(int id) = 0;

  // Where Load looks, for telling a parent what is missing: the library's
  // file name and the folders searched before the system's own library
  // folders.
  virtual QString FileName() const = 0;
  virtual QStringList SearchedFolders() const = 0;
};

// The shared library "zelvpics" (libzelvpics.so), searched for in the
// program's folder first and then by the system's usual library search.
class ZelvpicsLibrary final : public PictureLibrary {
 public:
  // `baseName` is the library's name without prefix and suffix; it also
  // names the prefix of its resources. `firstFolders` are searched before
  // the usual search.
  explicit ZelvpicsLibrary(QString baseName = QStringLiteral("zelvpics"),
                           QStringList firstFolders = ProgramFolder());
  ~ZelvpicsLibrary() override;

  bool Load() override;
  void Release() override;
  void ShowAbout(const QIcon& icon) override;
  void Hilfe() override;
  std::optional<QByteArray> ReadWordList() override;
  QImage ReadPicture(int id) override;
  // "lib<base name>.so"; the folders given first, then those of
  // LD_LIBRARY_PATH, which the usual search tries before the system's own.
  QString FileName() const override;
  QStringList SearchedFolders() const override;

  bool IsLoaded() const { return library_.isLoaded(); }
  // The file that was loaded, empty before loading.
  QString LoadedFile() const { return IsLoaded() ? library_.fileName() : QString(); }

  static QStringList ProgramFolder();

 private:
  using ShowAboutEntry = void (*)(const QIcon*);
  using HilfeEntry = void (*)();

  QString baseName_;
  QStringList firstFolders_;
  QLibrary library_;
  ShowAboutEntry showAbout_ = nullptr;
  HilfeEntry hilfe_ = nullptr;
};

}  // namespace bildwort
