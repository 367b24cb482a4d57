// Runs a clean-up step on every way out of a body, as try/finally does.
#pragma once

namespace wenmoor {

// Runs `body`, then `cleanup`. When the body fails, the clean-up still runs
// and the body's exception passes on (a failure of the clean-up itself is
// dropped then, so that it cannot hide the first one); after a good body a
// failing clean-up raises.
template <class Body, class Cleanup>
void WithCleanup(Body body, Cleanup cleanup) {
  try {
    body();
  } catch (...) {
    try {
      cleanup();
    } catch (...) {
    }
    throw;
  }
  cleanup();
}

}  // namespace wenmoor
