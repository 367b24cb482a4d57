#include "net/net_location_list.h"

#include <algorithm>

#include "net/net_exceptions.h"

namespace wenmoor {

void TCustomNetInstallLocationList::Add(TCustomNetInstallLocation* location) {
  if (!location) throw IENetList("Cannot add a blank location to the global net location list");
  if (IndexOf(location) < 0) items_.push_back(location);
}

void TCustomNetInstallLocationList::Remove(const TCustomNetInstallLocation* location) {
  std::erase(items_, location);
}

TCustomNetInstallLocation* TCustomNetInstallLocationList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", index);
  return items_[static_cast<size_t>(index)];
}

int TCustomNetInstallLocationList::IndexOf(const TCustomNetInstallLocation* location) const {
  auto it = std::find(items_.begin(), items_.end(), location);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TCustomNetInstallLocationList& NetLocations() {
  static TCustomNetInstallLocationList list;
  return list;
}

}  // namespace wenmoor
