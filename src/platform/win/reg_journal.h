// The journal of a hive: changes appended since the hive file was last
// written, so that a change costs one small write instead of rewriting a
// file of megabytes.
//
// File layout ("system.reg.journal" beside "system.reg"):
//
//   magic    8 bytes  "WMRJRNL1"
//   record*  u32 payload length, u32 CRC-32 of the payload, payload
//
// All integers are little-endian. A payload is
//
//   u8 op, u64 time (FILETIME), str path, then for SetValue: str name,
//   u32 type, str data; for DeleteValue: str name      (str = u32 length + bytes)
//
// Every operation is idempotent and carries its own time: replaying a
// journal, or a prefix of it, again on top of a hive that already holds its
// effects gives the same hive. That is what makes the order "rename the new
// hive file, then empty the journal" safe when a process dies in between.
//
// A record that is cut short or fails its checksum ends the journal: it is
// the tail of a write that was interrupted (the writer holds the prefix lock,
// so only a dead writer leaves one), and it was never reported as done.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/reg_hive.h"

namespace wenmoor::platform {

inline constexpr std::string_view kJournalMagic = "WMRJRNL1";

struct JournalRecord {
  enum class Op : uint8_t { CreateKey = 1, DeleteTree = 2, SetValue = 3, DeleteValue = 4 };
  Op op = Op::CreateKey;
  uint64_t time = 0;
  std::string path;
  std::string name;
  RegValue value;

  bool operator==(const JournalRecord&) const = default;
};

// The record framed for appending (length, checksum, payload).
std::string EncodeRecord(const JournalRecord& record);

// Decodes the framed records of `bytes` (the journal after its magic),
// appending them to `out`. Returns the number of bytes taken by whole,
// valid records; anything after that is a torn tail.
size_t DecodeRecords(std::string_view bytes, std::vector<JournalRecord>& out);

void ApplyRecord(RegHive& hive, const JournalRecord& record);

}  // namespace wenmoor::platform
