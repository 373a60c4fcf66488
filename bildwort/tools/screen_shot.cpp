// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Screenshot helper for scripts/screenshot-bildwort.sh: on an X display where
// the real program runs, acts as a user would (mouse clicks and keys, sent
// through the XTEST extension), then saves the screen cut to what differs
// from the black root window.
//   bildwort_screen_shot [--click X Y | --key KEYSYM | --type TEXT]... <output .png>
// KEYSYM is an X key name such as Return, Down or a.
#include <QGuiApplication>
#include <QImage>
#include <QLibrary>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

namespace {

int Fail(const char* message) {
  std::fprintf(stderr, "bildwort_screen_shot: %s\n", message);
  return 1;
}

// libX11 and libXtst are opened at run time, so building the tool needs no
// X development headers.
class FakeInput {
 public:
  FakeInput() : x11_(QStringLiteral("X11"), 6), xtst_(QStringLiteral("Xtst"), 6) {
    if (!x11_.load() || !xtst_.load()) return;
    open_ = reinterpret_cast<OpenDisplay>(x11_.resolve("XOpenDisplay"));
    close_ = reinterpret_cast<CloseDisplay>(x11_.resolve("XCloseDisplay"));
    flush_ = reinterpret_cast<Flush>(x11_.resolve("XFlush"));
    keysym_ = reinterpret_cast<StringToKeysym>(x11_.resolve("XStringToKeysym"));
    keycode_ = reinterpret_cast<KeysymToKeycode>(x11_.resolve("XKeysymToKeycode"));
    motion_ = reinterpret_cast<FakeMotion>(xtst_.resolve("XTestFakeMotionEvent"));
    button_ = reinterpret_cast<FakeButton>(xtst_.resolve("XTestFakeButtonEvent"));
    key_ = reinterpret_cast<FakeKey>(xtst_.resolve("XTestFakeKeyEvent"));
    if (open_ && close_ && flush_ && keysym_ && keycode_ && motion_ && button_ && key_) {
      display_ = open_(nullptr);
    }
  }
  ~FakeInput() {
    if (display_ != nullptr) close_(display_);
  }

  bool IsValid() const { return display_ != nullptr; }

  void Click(int x, int y) {
    motion_(display_, -1, x, y, 0);
    button_(display_, 1, 1, 0);
    button_(display_, 1, 0, 50);
    Settle();
  }

  bool Key(const QString& name) {
    const unsigned long sym = keysym_(name.toLatin1().constData());
    const unsigned char code = sym == 0 ? 0 : keycode_(display_, sym);
    if (code == 0) return false;
    key_(display_, code, 1, 0);
    key_(display_, code, 0, 30);
    Settle();
    return true;
  }

 private:
  using OpenDisplay = void* (*)(const char*);
  using CloseDisplay = int (*)(void*);
  using Flush = int (*)(void*);
  using StringToKeysym = unsigned long (*)(const char*);
  using KeysymToKeycode = unsigned char (*)(void*, unsigned long);
  using FakeMotion = int (*)(void*, int, int, int, unsigned long);
  using FakeButton = int (*)(void*, unsigned int, int, unsigned long);
  using FakeKey = int (*)(void*, unsigned int, int, unsigned long);

  void Settle() {
    flush_(display_);
    QThread::msleep(300);  // let the program react and draw
  }

  QLibrary x11_;
  QLibrary xtst_;
  OpenDisplay open_ = nullptr;
  CloseDisplay close_ = nullptr;
  Flush flush_ = nullptr;
  StringToKeysym keysym_ = nullptr;
  KeysymToKeycode keycode_ = nullptr;
  FakeMotion motion_ = nullptr;
  FakeButton button_ = nullptr;
  FakeKey key_ = nullptr;
  void* display_ = nullptr;
};

QRect ContentOf(const QImage& screen) {
  QRect box;
  for (int y = 0; y < screen.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
    for (int x = 0; x < screen.width(); ++x) {
      if ((line[x] & 0xffffff) != 0) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  FakeInput input;
  while (args.size() > 1 && args[0].startsWith(QLatin1String("--"))) {
    if (!input.IsValid()) return Fail("cannot send input (XTEST)");
    if (args[0] == QLatin1String("--click") && args.size() > 3) {
      input.Click(args[1].toInt(), args[2].toInt());
      args = args.mid(3);
    } else if (args[0] == QLatin1String("--key")) {
      if (!input.Key(args[1])) return Fail("unknown key");
      args = args.mid(2);
    } else if (args[0] == QLatin1String("--type")) {
      for (const QChar c : args[1]) {
        if (!input.Key(c == QLatin1Char(' ') ? QStringLiteral("space") : QString(c))) {
          return Fail("cannot type that text");
        }
      }
      args = args.mid(2);
    } else {
      break;
    }
  }
  if (args.size() != 1) {
    return Fail(
        "usage: bildwort_screen_shot [--click X Y | --key KEYSYM | --type TEXT]... <output .png>");
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return Fail("no screen");
  const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
  const QRect content = ContentOf(shot);
  if (content.isEmpty()) return Fail("the screen is empty");
  if (!shot.copy(content).save(args[0], "PNG")) return Fail("cannot write the picture");
  return 0;
}
