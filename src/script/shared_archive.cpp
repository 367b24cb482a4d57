#include "script/shared_archive.h"

#include "archive/cmp_TWnmrCompress.h"

namespace wenmoor {

TWnmrCompress& SharedArchive() {
  static ComponentPtr<TWnmrCompress> shared = CreateUnowned<TWnmrCompress>();
  return *shared;
}

}  // namespace wenmoor
