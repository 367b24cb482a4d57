#include "platform/ui/qt/qt_display.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <cctype>
#include <filesystem>
#include <string>

#include "platform/ui/qt/qt_convert.h"

namespace wenmoor::qt {
namespace {

std::string Get(const EnvLookup& env, const char* name) { return env(name).value_or(""); }

// Whether Qt has the platform plugin `name` ("xcb", "offscreen", ...).
bool HasPlatformPlugin(const std::string& name) {
  const QDir dir(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
  return !dir.entryList({QStringLiteral("libq%1.so").arg(QString::fromStdString(name))}, QDir::Files).isEmpty();
}

// A local X display (":0", "unix:1.0") is reachable when its socket is
// there; a display on another host is taken on trust.
bool XDisplayReachable(const std::string& display, std::string& why) {
  const size_t colon = display.rfind(':');
  if (colon == std::string::npos) {
    why = "DISPLAY=" + display + " names no display";
    return false;
  }
  const std::string host = display.substr(0, colon);
  if (!host.empty() && host != "unix") return true;
  std::string number;
  for (size_t i = colon + 1; i < display.size() && std::isdigit(static_cast<unsigned char>(display[i])); ++i)
    number += display[i];
  std::error_code ec;
  if (number.empty() || !std::filesystem::exists("/tmp/.X11-unix/X" + number, ec)) {
    why = "no X server answers at DISPLAY=" + display;
    return false;
  }
  return true;
}

bool WaylandReachable(const EnvLookup& env, std::string& why) {
  std::filesystem::path socket = Get(env, "WAYLAND_DISPLAY");
  if (socket.is_relative()) socket = std::filesystem::path(Get(env, "XDG_RUNTIME_DIR")) / socket;
  std::error_code ec;
  if (!std::filesystem::exists(socket, ec)) {
    why = "no Wayland compositor at " + socket.string();
    return false;
  }
  if (!HasPlatformPlugin("wayland")) {
    why = "Qt has no Wayland support here";
    return false;
  }
  return true;
}

// The off-screen platform warns about every window operation it has no use
// for (raising a window, size hints); those are no faults.
QtMessageHandler previous_handler = nullptr;
void QuietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support"))) return;
  if (previous_handler) previous_handler(type, context, message);
}

}  // namespace

std::string ChooseQtPlatform(const EnvLookup& env) {
  std::string platform = Get(env, "QT_QPA_PLATFORM");
  // Qt takes a list of fallbacks ("wayland;xcb"); the first is what we check.
  if (const size_t semi = platform.find(';'); semi != std::string::npos) platform.resize(semi);
  if (const size_t colon = platform.find(':'); colon != std::string::npos) platform.resize(colon);
  std::string why;
  if (platform.empty()) {
    if (!Get(env, "DISPLAY").empty() && XDisplayReachable(Get(env, "DISPLAY"), why)) return "xcb";
    if (!Get(env, "WAYLAND_DISPLAY").empty() && WaylandReachable(env, why)) return "wayland";
    if (why.empty()) why = "no display (DISPLAY and WAYLAND_DISPLAY are not set)";
    throw EBackendUnavailable("%s", why);
  }
  if (!HasPlatformPlugin(platform)) throw EBackendUnavailable("Qt has no platform \"%s\"", platform);
  if (platform == "xcb" && !XDisplayReachable(Get(env, "DISPLAY"), why)) throw EBackendUnavailable("%s", why);
  if (platform == "wayland" && !WaylandReachable(env, why)) throw EBackendUnavailable("%s", why);
  return platform;
}

void StartQt(const EnvLookup& env) {
  if (QApplication::instance()) return;
  // Kept for the life of the process, as QApplication requires.
  static std::string platform;
  platform = ChooseQtPlatform(env);
  static char program[] = "wenmoor";
  static char platform_switch[] = "-platform";
  static char* argv[] = {program, platform_switch, platform.data(), nullptr};
  static int argc = 3;
  // Never deleted: widgets of forms that outlive a backend still need it,
  // and Qt must not be torn down during the exit of the process.
  if (platform == "offscreen") previous_handler = qInstallMessageHandler(QuietOffscreenWarnings);
  auto* app = new QApplication(argc, argv);
  app->setQuitOnLastWindowClosed(false);
  InstallFontSubstitutes();
  // Boxes and dialogs of the backend in the forms' default font.
  app->setFont(ToQFont(TFont()));
}

}  // namespace wenmoor::qt
