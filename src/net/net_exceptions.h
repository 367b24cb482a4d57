// The errors of net install locations.
//
//   Exception
//   ├─ ENIL                       a download failed; decorated message
//   │  ├─ ENIL_OpenSession, ENIL_OpenService, ENIL_FailDataQuery,
//   │  │  ENIL_ReadFile, ENIL_FileNotFound
//   │  ├─ ENIL_FTP ─ ENIL_FTPSetDir, ENIL_FTPOpenFile, ENIL_FTPCloseFile
//   │  ├─ ENIL_HTTP ─ ENIL_HTTPOpenFile, ENIL_HTTPSendRequest
//   │  └─ IENetList                the list of all locations refused a value
//   ├─ ENIL_WriteDestFile         the local file could not be written
//   ├─ ENIL_FailLoadWININET       the transfer library could not start
//   └─ ENIL_FailLoadDLLProc
//
// An ENIL's message is the specific text followed by what the user (or
// support) needs to tell why: "<text>. Error message <name of the last
// Internet error>. Server <host of the connected location>. Response from
// server <the server's last response>". The decoration is taken when the
// exception is constructed, so construct it right after the failing call.
// The other three carry their text unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/exceptions.h"

namespace wenmoor {

// The decorated message for `text`, from the thread's last error, the
// connected location and the server's last response.
std::string DecorateNetMessage(std::string_view text);
// The name shown for an Internet error code: the library's constant name,
// or "Unregistered error code".
std::string NetErrorName(uint32_t code);

class ENIL : public Exception {
 public:
  explicit ENIL(std::string_view text) : Exception(DecorateNetMessage(text)) {}
  template <class A, class... Rest>
  ENIL(std::string_view format, const A& first, const Rest&... rest)
      : Exception(DecorateNetMessage(Format(format, first, rest...))) {}
};

WENMOOR_EXCEPTION(ENIL_OpenSession, ENIL);
WENMOOR_EXCEPTION(ENIL_OpenService, ENIL);
WENMOOR_EXCEPTION(ENIL_FailDataQuery, ENIL);
WENMOOR_EXCEPTION(ENIL_ReadFile, ENIL);
WENMOOR_EXCEPTION(ENIL_FileNotFound, ENIL);
WENMOOR_EXCEPTION(ENIL_FTP, ENIL);
WENMOOR_EXCEPTION(ENIL_FTPSetDir, ENIL_FTP);
WENMOOR_EXCEPTION(ENIL_FTPOpenFile, ENIL_FTP);
WENMOOR_EXCEPTION(ENIL_FTPCloseFile, ENIL_FTP);
WENMOOR_EXCEPTION(ENIL_HTTP, ENIL);
WENMOOR_EXCEPTION(ENIL_HTTPOpenFile, ENIL_HTTP);
WENMOOR_EXCEPTION(ENIL_HTTPSendRequest, ENIL_HTTP);
WENMOOR_EXCEPTION(IENetList, ENIL);

WENMOOR_EXCEPTION(ENIL_WriteDestFile, Exception);
WENMOOR_EXCEPTION(ENIL_FailLoadWININET, Exception);
WENMOOR_EXCEPTION(ENIL_FailLoadDLLProc, Exception);

}  // namespace wenmoor
