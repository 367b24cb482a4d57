// The process-wide archive component used for building and for installing
// from the main archive; it lives as long as the process.
#pragma once

namespace wenmoor {

class TWnmrCompress;
TWnmrCompress& SharedArchive();

}  // namespace wenmoor
