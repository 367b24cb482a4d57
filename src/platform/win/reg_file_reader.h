// Reader of Wine's hive files ("WINE REGISTRY Version 2").
//
// The format, as Wine writes it:
//
//   WINE REGISTRY Version 2
//   ;; All keys relative to REGISTRY\\Machine
//
//   #arch=win64
//
//   [Software\\Classes\\.txt] 1796986036      key path (escaped), seconds since 1970
//   #time=1dd895cfcb6350c                     modification time, FILETIME in hex
//   #class="..."                              optional class name
//   #link                                     optional: the key is a symbolic link
//   @="txtfile"                               the default value
//   "Name"="text"                             REG_SZ
//   "Name"=str(2):"%SystemRoot%"              string of another kind (hex kind number)
//   "Name"=dword:0000002a                     REG_DWORD
//   "Name"=hex:01,02,\                        REG_BINARY, continued on the next line
//     03
//   "Name"=hex(7):41,00,00,00,00,00           bytes of any kind (hex kind number)
//
// Strings use Wine's escapes (see reg_text.h) and may also hold raw UTF-8.
// Option lines starting with '#' that the reader does not know, and ';'
// comments inside a key, are kept verbatim and written back.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/win/reg_hive.h"

namespace wenmoor::platform {

// Parses a whole hive file. `file` names it in errors. Throws
// RegistryFormatError(file, line, reason) on anything it cannot interpret;
// nothing is returned then.
std::unique_ptr<RegHive> ReadRegFile(std::string_view text, const std::string& file);

}  // namespace wenmoor::platform
