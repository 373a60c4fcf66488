// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPalette>

namespace zelv {

namespace {

UrlOpener& CurrentOpener() {
  static UrlOpener opener;
  return opener;
}

bool OpenUrl(const QUrl& url) {
  if (!url.isValid() || url.isEmpty()) return false;
  const UrlOpener& opener = CurrentOpener();
  if (opener) return opener(url);
  return QDesktopServices::openUrl(url);
}

bool StartsWith(const QString& text, QLatin1StringView prefix) {
  return text.startsWith(prefix, Qt::CaseInsensitive);
}

}  // namespace

QUrl TargetUrl(const QString& target) {
  const QString text = target.trimmed();
  if (text.isEmpty()) return QUrl();

  // The visible mail link keeps blanks after "mailto:" to look tidy; a mail
  // program would take them as part of the address.
  if (StartsWith(text, QLatin1StringView("mailto:"))) {
    const QString address = text.mid(7).trimmed();
    if (address.isEmpty()) return QUrl();
    return QUrl(QStringLiteral("mailto:") + address, QUrl::TolerantMode);
  }

  // An existing file wins over every other reading, so that a path with a
  // colon or blanks still opens the file.
  const QFileInfo file(text);
  if (file.exists()) return QUrl::fromLocalFile(file.absoluteFilePath());

  // A scheme of two letters or more ("https:", "file:"); a single letter is a
  // drive letter of a path that does not exist.
  const QUrl url(text, QUrl::StrictMode);
  if (url.isValid() && url.scheme().size() > 1) return url;

  if (StartsWith(text, QLatin1StringView("www."))) return QUrl::fromUserInput(text);
  return QUrl();
}

bool OpenDocument(QWidget* /*owner*/, const QString& target) {
  return OpenUrl(TargetUrl(target));
}

bool OpenLabelLink(QLabel* label) {
  if (!label) return false;
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(128, 0, 128));
  label->setPalette(palette);
  return OpenUrl(TargetUrl(label->text()));
}

UrlOpener SetUrlOpener(UrlOpener opener) {
  UrlOpener previous = std::move(CurrentOpener());
  CurrentOpener() = std::move(opener);
  return previous;
}

QString ProgramFolder() {
  return QCoreApplication::applicationDirPath();
}

QString ExistingFileIn(const QString& folder, const QString& fileName) {
  if (folder.isEmpty() || fileName.isEmpty()) return QString();
  const QFileInfo file(QDir(folder), fileName);
  return file.isFile() ? file.absoluteFilePath() : QString();
}

}  // namespace zelv
