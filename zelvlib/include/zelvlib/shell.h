// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening documents, web addresses and mail links with the desktop's own
// handlers, and finding files beside the program.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QLabel;
class QWidget;

namespace zelv {

// The address a target text stands for: "mailto:" links (blanks after the
// colon are dropped), addresses with a scheme, "www." addresses, and paths of
// existing files. Empty or unusable text gives an invalid QUrl.
QUrl TargetUrl(const QString& target);

// Asks the desktop to open target (a file path, web address or "mailto:"
// link). Returns true if the request was accepted; shows nothing on failure.
// The owner window is accepted for the callers' sake: the desktop's handler
// raises the window it opens by itself.
bool OpenDocument(QWidget* owner, const QString& target);

// Marks the link label as visited (purple, for the rest of its life), then
// opens its caption text as OpenDocument does.
bool OpenLabelLink(QLabel* label);

// The function that hands a URL to the desktop. Tests install their own so
// that no browser or mail program starts; an empty function restores the
// desktop's handler. Returns the opener installed before.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener SetUrlOpener(UrlOpener opener);

// Installs an opener for the life of the object, then puts the old one back.
class ScopedUrlOpener {
 public:
  explicit ScopedUrlOpener(UrlOpener opener) : previous_(SetUrlOpener(std::move(opener))) {}
  ~ScopedUrlOpener() { SetUrlOpener(std::move(previous_)); }
  ScopedUrlOpener(const ScopedUrlOpener&) = delete;
  ScopedUrlOpener& operator=(const ScopedUrlOpener&) = delete;

 private:
  UrlOpener previous_;
};

// The folder of the running program file.
QString ProgramFolder();
// The path of fileName in folder, if a file (not a folder) exists there;
// empty text otherwise.
QString ExistingFileIn(const QString& folder, const QString& fileName);

}  // namespace zelv
