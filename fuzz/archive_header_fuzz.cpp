// Archive header lists from outside: any bytes, read at any offset, give a
// list or one of the archive's errors, in time bounded by the input (a
// header chain that loops or overlaps is refused), and every header read
// survives a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/file_header.h"
#include "platform/rtl/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wenmoor;
  if (size < 1) return 0;
  // The first byte picks the offset of the archive inside the input.
  const int64_t offset = data[0] % 16;
  TMemoryStream stream(std::vector<uint8_t>(data + 1, data + size));
  TFileHeaders list;
  try {
    list.ReadFromStream(stream, offset);
  } catch (const EWnmrCompress&) {
    // Refused; what was read before stays and is checked below.
  }
  // Headers lie one after another: there cannot be more than fit.
  if (static_cast<size_t>(list.Count()) > size / TFileHeaderRec::kSize) std::abort();
  for (int i = 0; i < list.Count(); ++i) {
    const TFileHeaderRec& rec = list.GetFileHeaders(i).Rec;
    if (rec.FileName.size() > TFileHeaderRec::kFileNameCapacity) std::abort();
    if (rec.FileVersion.size() > TFileHeaderRec::kFileVersionCapacity) std::abort();
    const auto bytes = rec.Encode();
    const TFileHeaderRec again = TFileHeaderRec::Decode(bytes);
    // Compare bitwise where a NaN date would make == fail.
    if (again.Encode() != bytes) std::abort();
    if (list.IndexOf(rec.FileName) > i) std::abort();  // the first of equal names is found
  }
  // Writing the list back as a spanned header block reads back the same.
  if (list.Count() > 0 && list.Count() < 64) {
    TMemoryStream out;
    list.Spanned = true;
    list.WriteToStream(out);
    TFileHeaders back;
    back.ReadFromStream(out, 0);
    if (back.Count() != list.Count()) std::abort();
  }
  return 0;
}
