// The registry routines every part of the framework uses: write, read and
// delete in one call, with the predefined key given as a TRootKeys value,
// and the RunOnce registration that resumes an installation after a restart.
//
// All of them work on the machine's registry (platform::CurrentRegistry()).
// Failures: WriteRegistryString and WriteRegistryInteger raise
// EIRCannotWriteValue; the read and delete routines and AddRunOnce report
// failure through their result or not at all.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/typeinfo.h"
#include "platform/win/registry.h"

namespace wenmoor {

// The predefined keys, in the order of their ordinals (stored in the
// uninstall records as 0 to 5).
enum TRootKeys : uint8_t { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };
WENMOOR_ENUM(TRootKeys, hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers)

WENMOOR_EXCEPTION(EIRCannotWriteValue, Exception);

// The predefined key of a TRootKeys value.
HKEY RootKeyHandleOf(TRootKeys root);

// The TRootKeys ordinal of a predefined key; `default_index` for any other key.
int RootKeyIndexOf(HKEY root_key, int default_index);

// Sets the registry object's root key to the predefined key of ordinal
// `root`; a value outside 0 to 5 leaves it unchanged.
void SetRootKeyIndex(TRegistry& registry, int root);

// Opens or creates Key and writes the string value Name = Value.
// EIRCannotWriteValue "Cannot install into registry. Key: %s Ident: %s Value %s".
void WriteRegistryString(TRootKeys root, const std::string& key, const std::string& name, const std::string& value);
// The same for a 32-bit integer; EIRCannotWriteValue with the key path as message.
void WriteRegistryInteger(TRootKeys root, const std::string& key, const std::string& name, int32_t value);

// The string value, or `default_value` when the key or the value is
// missing or is not a string.
void ReadRegistryString(TRootKeys root, const std::string& key, const std::string& name, std::string& value,
                        const std::string& default_value);
// The integer value, or `default_value` in the same cases.
int32_t ReadRegistryInteger(TRootKeys root, const std::string& key, const std::string& name,
                            int32_t default_value);

// Deletes Key with all its subkeys; failures are ignored.
void DeleteRegistryKey(TRootKeys root, const std::string& key);

// Registers Command to run once at the next logon under
// \Software\Microsoft\Windows\CurrentVersion\RunOnce (HKEY_CURRENT_USER on
// the NT family, HKEY_LOCAL_MACHINE elsewhere). With `unique`, an existing
// value Name makes it Name1, Name2, ... The registry is synced to disk
// before the answer: a restart depends on it. False when it failed.
bool AddRunOnce(const std::string& name, const std::string& command, bool unique);

}  // namespace wenmoor
