#include "platform/ui/backend.h"

#include <cstdlib>
#include <map>

#include "platform/rtl/sysutils.h"
#include "platform/ui/application.h"

namespace wenmoor {
namespace {

std::map<std::string, BackendFactory, std::less<>>& Registry() {
  static std::map<std::string, BackendFactory, std::less<>> registry;
  return registry;
}

constexpr const char* kHeadless = "headless";
constexpr const char* kQt = "qt";

std::string KnownNames() {
  std::string names;
  for (const std::string& n : RegisteredBackends()) names += (names.empty() ? "" : ", ") + n;
  return names;
}

}  // namespace

EnvLookup ProcessEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
    const char* v = std::getenv(name);
    if (!v) return std::nullopt;
    return std::string(v);
  };
}

void RegisterBackend(std::string name, BackendFactory factory) { Registry()[std::move(name)] = std::move(factory); }

bool IsBackendRegistered(std::string_view name) { return Registry().count(name) > 0; }

std::vector<std::string> RegisteredBackends() {
  std::vector<std::string> names;
  for (const auto& [name, factory] : Registry()) names.push_back(name);
  return names;
}

std::unique_ptr<UiBackend> CreateBackend(std::string_view name, const EnvLookup& env) {
  auto it = Registry().find(name);
  if (it == Registry().end())
    throw EBackendUnavailable("There is no user interface named \"%s\" (known: %s)", name, KnownNames());
  std::unique_ptr<UiBackend> backend = it->second(env);
  if (!backend) throw EBackendUnavailable("The user interface \"%s\" cannot start", name);
  return backend;
}

bool DisplayAvailable(const EnvLookup& env) {
  auto set = [&](const char* name) {
    std::optional<std::string> v = env(name);
    return v && !v->empty();
  };
  std::optional<std::string> platform = env("QT_QPA_PLATFORM");
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || (platform && *platform == "offscreen");
}

std::unique_ptr<UiBackend> ChooseBackend(const EnvLookup& env, const std::function<void(const std::string&)>& notice) {
  std::string wanted = Trim(env("WENMOOR_UI").value_or(""));
  auto say = [&](const std::string& line) {
    if (notice) notice(line);
  };
  if (wanted.empty()) {
    if (DisplayAvailable(env) && IsBackendRegistered(kQt)) {
      try {
        return CreateBackend(kQt, env);
      } catch (const std::exception& e) {
        say(Format("wenmoor: the Qt user interface cannot start (%s); running headless", e.what()));
      }
    }
    return CreateBackend(kHeadless, env);
  }
  std::string name = LowerCase(wanted);
  if (name == kHeadless) return CreateBackend(kHeadless, env);
  if (!IsBackendRegistered(name)) {
    say(Format("wenmoor: WENMOOR_UI=%s names no user interface of this program (known: %s); running headless",
               wanted, KnownNames()));
    return CreateBackend(kHeadless, env);
  }
  try {
    return CreateBackend(name, env);
  } catch (const std::exception& e) {
    say(Format("wenmoor: the user interface \"%s\" cannot start (%s); running headless", name, e.what()));
  }
  return CreateBackend(kHeadless, env);
}

TSize TextExtent(const TFont& font, std::string_view text, int wrap_width) {
  return TApplication::Instance().Backend().MeasureText(font, text, wrap_width);
}

}  // namespace wenmoor
