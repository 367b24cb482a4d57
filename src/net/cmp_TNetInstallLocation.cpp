#include "net/cmp_TNetInstallLocation.h"

namespace wenmoor {
namespace {
TCustomNetInstallLocation*& Current() {
  static TCustomNetInstallLocation* current = nullptr;
  return current;
}
}  // namespace

TCustomNetInstallLocation* CurrentNetLocation() { return Current(); }
void SetCurrentNetLocation(TCustomNetInstallLocation* location) { Current() = location; }

TCustomNetInstallLocation::TCustomNetInstallLocation(TComponent* owner) : TComponent(owner) {}

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
  if (Current() == this) Current() = nullptr;
}

WENMOOR_REGISTER_CLASS(TCustomNetInstallLocation) {}

}  // namespace wenmoor
