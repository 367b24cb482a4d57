// Where archives of a net distribution are downloaded from.
//
// The script layer needs the location's identity (the host name and the
// directory that name the net directory of an archive); the transfer itself
// lives with the network install.
#pragma once

#include <string>

#include "platform/rtl/component.h"

namespace wenmoor {

enum TNetProtocol : uint8_t { npFTP, npHTTP };
WENMOOR_ENUM(TNetProtocol, npFTP, npHTTP)

class TCustomNetInstallLocation : public TComponent {
  WENMOOR_CLASS(TCustomNetInstallLocation, TComponent)
 public:
  explicit TCustomNetInstallLocation(TComponent* owner);
  ~TCustomNetInstallLocation() override;

  const std::string& Host() const { return host_; }
  void SetHost(const std::string& v) { host_ = v; }
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& v) { directory_ = v; }
  TNetProtocol Protocol() const { return protocol_; }
  void SetProtocol(TNetProtocol p) { protocol_ = p; }

 private:
  std::string host_;
  std::string directory_;
  TNetProtocol protocol_ = npHTTP;
};

// The process-wide current net location (the install component's
// NetLocation sets it); null when none.
TCustomNetInstallLocation* CurrentNetLocation();
void SetCurrentNetLocation(TCustomNetInstallLocation* location);

}  // namespace wenmoor
