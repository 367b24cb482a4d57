// A registry journal left damaged on disk: decoding takes the valid records
// in front and stops, and replaying them into a hive never fails.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/win/reg_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wenmoor::platform;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<JournalRecord> records;
  const size_t valid = DecodeRecords(bytes, records);
  if (valid > size) std::abort();
  RegHive hive;
  std::string reencoded;
  for (const JournalRecord& r : records) {
    ApplyRecord(hive, r);
    reencoded += EncodeRecord(r);
  }
  // What was taken is exactly the valid prefix, record for record.
  if (reencoded != bytes.substr(0, valid)) std::abort();
  return 0;
}
