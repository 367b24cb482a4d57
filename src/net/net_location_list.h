// TCustomNetInstallLocationList: the process-wide list of every net install
// location. A location enters it in its constructor and leaves it in its
// destructor; the list never owns what it lists.
#pragma once

#include <vector>

namespace wenmoor {

class TCustomNetInstallLocation;

class TCustomNetInstallLocationList {
 public:
  // Appends `location`; raises IENetList "Cannot add a blank location to the
  // global net location list" for null. Adding one that is listed already
  // changes nothing.
  void Add(TCustomNetInstallLocation* location);
  // Removes `location` if it is listed.
  void Remove(const TCustomNetInstallLocation* location);
  int Count() const { return static_cast<int>(items_.size()); }
  // The location at `index`; raises EListError when out of range.
  TCustomNetInstallLocation* Items(int index) const;
  int IndexOf(const TCustomNetInstallLocation* location) const;

 private:
  std::vector<TCustomNetInstallLocation*> items_;
};

// The one list of the process.
TCustomNetInstallLocationList& NetLocations();

}  // namespace wenmoor
