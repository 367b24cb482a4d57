// The login settings of a net install location, and the names built from
// them: the URL form of the server directory, the path of an HTTP request,
// and the server's address.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/persistent.h"

namespace wenmoor {

class TCustomNetInstallLocation;

enum TInternetProtocol : uint8_t { ipFTP, ipHTTP };
WENMOOR_ENUM(TInternetProtocol, ipFTP, ipHTTP)

class TCustomLoginInformation : public TPersistent {
  WENMOOR_CLASS(TCustomLoginInformation, TPersistent)
 public:
  // `location` owns this object (may be null for a free-standing copy).
  explicit TCustomLoginInformation(TCustomNetInstallLocation* location = nullptr) : location_(location) {}

  bool Anonymous() const { return anonymous_; }
  void SetAnonymous(bool v);
  // The directory on the server, "\" or "/" separating its parts.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& v);
  // The server: a host name or address, optionally followed by ":port"
  // (an IPv6 address with a port in brackets: "[::1]:2121").
  const std::string& Hostname() const { return hostname_; }
  void SetHostname(const std::string& v);
  const std::string& Password() const { return password_; }
  void SetPassword(const std::string& v);
  TInternetProtocol Protocol() const { return protocol_; }
  void SetProtocol(TInternetProtocol v);
  const std::string& Username() const { return username_; }
  void SetUsername(const std::string& v);

  // Whether the settings are filled in enough to try: an anonymous login
  // needs a host name; any other needs at least one of host name, user
  // name and password (all blank after trimming is not enough).
  bool IsValid() const;

  // Copies the six values of another login object; raises EConvertError
  // for any other class.
  void Assign(const TPersistent& source) override;

  TCustomNetInstallLocation* Location() const { return location_; }

 private:
  // A value that changes how the server is reached closes the location's
  // open connection, so the next download connects with the new settings.
  void Changed();

  TCustomNetInstallLocation* location_;
  bool anonymous_ = true;
  std::string directory_;
  std::string hostname_;
  std::string password_;
  TInternetProtocol protocol_ = ipHTTP;
  std::string username_;
};

class TLoginInformation : public TCustomLoginInformation {
  WENMOOR_CLASS(TLoginInformation, TCustomLoginInformation)
 public:
  using TCustomLoginInformation::TCustomLoginInformation;
};

// The URL form of a server directory: "/" for one that is blank after
// trimming, otherwise every "\" turned into "/" (nothing else changes).
std::string ToURLPath(std::string_view directory);

// The path of the HTTP request for `remote_name` in `directory`: the
// directory's URL form with a separator after it, then the name
// ("pub\setup" -> "pub/setup/files.1"; a blank directory -> "/files.1").
// A directory that already ends in "\" or "/" gets no second separator.
std::string HttpObjectName(std::string_view directory, std::string_view remote_name);

// A Hostname split into the host and the port (0: the protocol's own).
// "host:2121" -> {"host", 2121}; "[::1]:21" -> {"::1", 21}; a bare IPv6
// address has no port. A port that is not a number from 1 to 65535 leaves
// the whole text as the host, which then fails to resolve.
struct NetServerAddress {
  std::string host;
  uint16_t port = 0;
};
NetServerAddress SplitHostPort(std::string_view hostname);

}  // namespace wenmoor
