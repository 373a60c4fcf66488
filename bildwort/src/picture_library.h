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

// Why a library file that was found cannot be used. The file is checked
// before the loader maps it, and then loaded once in a process of its own,
// so that damage ends that process and never the game.
struct LibraryDamage {
  enum class Kind {
    Empty,         // the file has no bytes
    NotALibrary,   // no shared library at all
    WrongKind,     // a library for another kind of computer
    Truncated,     // shorter than its headers say (`size` of `needed` bytes)
    BadHeaders,    // headers that contradict themselves
    Unreadable,    // the file cannot be read
    TrialCrashed,  // loading it ended the trial process
    TrialRefused,  // the system's loader refused it (`detail` says why)
    TrialHung,     // the trial process did not finish in time
  };
  Kind kind = Kind::NotALibrary;
  QString file;
  quint64 size = 0;
  quint64 needed = 0;
  QString detail;
};

// Loads a library in a short-lived process of its own and reads all its
// resources there; the damage found, or std::nullopt when all went well (or
// when no trial could be made: then the checks before it decide alone).
class TrialLoader {
 public:
  virtual ~TrialLoader() = default;
  virtual std::optional<LibraryDamage> Try(const QString& file, const QString& baseName) = 0;
};

// The trial in a child process: `program` started with kTrialLoadOption,
// the file and the base name, which runs RunTrialLoad and exits.
class ProcessTrialLoader final : public TrialLoader {
 public:
  explicit ProcessTrialLoader(QString program, int timeoutMs = 30000);
  std::optional<LibraryDamage> Try(const QString& file, const QString& baseName) override;

 private:
  QString program_;
  int timeoutMs_;
};

inline constexpr char kTrialLoadOption[] = "--try-picture-library";
// The exit codes of the trial process besides 0 (all read) and a signal.
inline constexpr int kTrialRefused = 3;
inline constexpr int kTrialNotFound = 4;

// The trial process's work: loads `file` (a bare name uses the usual
// search), reads the word list and every picture it names, and returns the
// process's exit code; the loader's message goes to standard error.
int RunTrialLoad(const QString& file, const QString& baseName);

class PictureLibrary {
 public:
  virtual ~PictureLibrary() = default;

  // Loads the library and looks up its exports; false when it cannot be
  // loaded.
  virtual bool Load() = 0;
  // After a failed Load: what is wrong with the file that was found;
  // std::nullopt when none was found.
  virtual std::optional<LibraryDamage> Damage() const { return std::nullopt; }
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
// program's folder first and then by the system's usual library search. The
// file found is checked before it is loaded, and with a trial loader given,
// loaded on trial first.
class ZelvpicsLibrary final : public PictureLibrary {
 public:
  // `baseName` is the library's name without prefix and suffix; it also
  // names the prefix of its resources. `firstFolders` are searched before
  // the usual search. `trial` (may be null) outlives the library.
  explicit ZelvpicsLibrary(QString baseName = QStringLiteral("zelvpics"),
                           QStringList firstFolders = ProgramFolder(),
                           TrialLoader* trial = nullptr);
  ~ZelvpicsLibrary() override;

  bool Load() override;
  std::optional<LibraryDamage> Damage() const override { return damage_; }
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

  // The file the loader would take: the first "lib<base name>.so" in the
  // searched folders and then the system's; empty when there is none.
  QString FindFile() const;

 private:
  bool LoadFile(const QString& file);

  using ShowAboutEntry = void (*)(const QIcon*);
  using HilfeEntry = void (*)();

  QString baseName_;
  QStringList firstFolders_;
  TrialLoader* trial_;
  QLibrary library_;
  std::optional<LibraryDamage> damage_;
  ShowAboutEntry showAbout_ = nullptr;
  HilfeEntry hilfe_ = nullptr;
};

}  // namespace bildwort
