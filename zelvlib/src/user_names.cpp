// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zelvlib/user_names.h"

#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#include <QSettings>
#else
#include <pwd.h>
#include <unistd.h>

#include <vector>
#endif

namespace zelv {

namespace {

// The names come from fixed buffers of 256 characters; a longer name is cut
// there.
constexpr qsizetype kNameBufferChars = 255;

QString AccountName() {
#ifdef Q_OS_WIN
  wchar_t buffer[256] = {};
  DWORD size = 256;
  if (!GetUserNameW(buffer, &size)) return QString();
  return QString::fromWCharArray(buffer);
#else
  long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
  if (bufferSize <= 0) bufferSize = 16384;
  std::vector<char> buffer(static_cast<size_t>(bufferSize));
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_name) {
    return QString();
  }
  return QString::fromLocal8Bit(found->pw_name);
#endif
}

QString DefaultLogonUser() {
#ifdef Q_OS_WIN
  const QSettings winlogon(
      QStringLiteral(
          "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\WinLogon"),
      QSettings::NativeFormat);
  return winlogon.value(QStringLiteral("DefaultUserName")).toString();
#else
  // No registry here, and no setting that means the same.
  return QString();
#endif
}

QString UpperAscii(const QString& text) {
  QString upper = text;
  for (QChar& ch : upper) {
    if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) ch = QChar(ch.unicode() - 0x20);
  }
  return upper;
}

}  // namespace

QString ChooseLogonUserName(const QString& accountName,
                            const std::function<QString()>& readDefaultLogonUser) {
  const QString name = accountName.left(kNameBufferChars);
  if (UpperAscii(name) == QLatin1String("SYSTEM")) {
    return readDefaultLogonUser ? readDefaultLogonUser().left(kNameBufferChars) : QString();
  }
  return name;
}

QString GetLogonUserName() {
  return ChooseLogonUserName(AccountName(), DefaultLogonUser);
}

QString GetMachineName() {
  return QSysInfo::machineHostName().left(kNameBufferChars);
}

}  // namespace zelv
