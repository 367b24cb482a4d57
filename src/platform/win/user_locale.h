// The language of the user of the emulated machine (GetUserDefaultLangID).
//
// Wine keeps the user's locale in HKCU\Control Panel\International: "Locale"
// (the locale identifier in eight hexadecimal digits, "00000407") and
// "LocaleName" ("de-DE"). A prefix that says nothing there (one we created)
// follows the Unix locale of the process: LC_ALL, then LC_MESSAGES, then
// LANG ("de_DE.UTF-8"). Without any of them, or with "C"/"POSIX", the user
// speaks US English (0x0409), as a Windows machine installed in English.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/win/registry_store.h"

namespace wenmoor::platform {

using LANGID = uint16_t;

// The Windows language identifier of a locale name in the Unix form
// ("pt_BR.UTF-8", "nb_NO@euro") or the Windows form ("pt-BR"); nullopt for a
// language this table does not know and for "C" and "POSIX".
std::optional<LANGID> LangIdOfLocaleName(std::string_view name);

// The user's language as `registry` and the environment give it (above).
LANGID UserDefaultLangID(RegistryStore& registry);

// UserDefaultLangID of the current machine. Raises what opening the
// machine's registry raises.
LANGID GetUserDefaultLangID();

}  // namespace wenmoor::platform
