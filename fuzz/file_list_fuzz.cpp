// The remote list of files of a net distribution, as a server hands it to
// the installing side: any bytes must read without a crash, and what is
// read keeps the format's bounds.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/install_net.h"
#include "platform/rtl/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wenmoor;
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  std::vector<TFileListRecord> records;
  const bool complete = ReadFileList(stream, records);
  // Every record read came from 80 bytes of the input, after the count.
  if (!records.empty() && size < 4 + records.size() * 80) std::abort();
  if (complete && (size < 4 || static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                                     static_cast<uint32_t>(data[3]) << 24) != records.size()))
    std::abort();
  for (const TFileListRecord& r : records) {
    if (r.Size < 0 || !std::isfinite(r.FileDate)) std::abort();
    if (r.Name.size() > 40 || r.Name.find('\0') != std::string::npos) std::abort();
    if (r.Version.size() > 20 || r.Version.find('\0') != std::string::npos) std::abort();
  }
  return 0;
}
