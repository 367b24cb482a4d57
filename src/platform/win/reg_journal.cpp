#include "platform/win/reg_journal.h"

#include <zlib.h>

namespace wenmoor::platform {

namespace {

// Far above any real record; a larger length can only be damage.
constexpr uint32_t kMaxPayload = 64u << 20;

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU64(std::string& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutStr(std::string& out, std::string_view s) {
  PutU32(out, static_cast<uint32_t>(s.size()));
  out += s;
}

uint32_t Crc(std::string_view s) {
  return static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(s.data()), static_cast<uInt>(s.size())));
}

// Reads from a payload; every read checks the bounds and clears `ok` when
// the payload ends early.
struct Cursor {
  std::string_view s;
  bool ok = true;

  uint64_t Int(int bytes) {
    if (s.size() < static_cast<size_t>(bytes)) return ok = false, 0;
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(static_cast<uint8_t>(s[i])) << (8 * i);
    s.remove_prefix(static_cast<size_t>(bytes));
    return v;
  }
  std::string_view Str() {
    const uint64_t n = Int(4);
    if (!ok || s.size() < n) return ok = false, std::string_view();
    std::string_view r = s.substr(0, n);
    s.remove_prefix(n);
    return r;
  }
};

bool DecodePayload(std::string_view payload, JournalRecord& r) {
  Cursor c{payload};
  const auto op = static_cast<uint8_t>(c.Int(1));
  if (op < 1 || op > 4) return false;
  r.op = static_cast<JournalRecord::Op>(op);
  r.time = c.Int(8);
  r.path = std::string(c.Str());
  if (r.op == JournalRecord::Op::SetValue || r.op == JournalRecord::Op::DeleteValue) {
    r.name = std::string(c.Str());
  }
  if (r.op == JournalRecord::Op::SetValue) {
    r.value.type = static_cast<uint32_t>(c.Int(4));
    std::string_view data = c.Str();
    r.value.data.assign(data.begin(), data.end());
  }
  return c.ok && c.s.empty();
}

}  // namespace

std::string EncodeRecord(const JournalRecord& r) {
  std::string payload;
  payload += static_cast<char>(r.op);
  PutU64(payload, r.time);
  PutStr(payload, r.path);
  if (r.op == JournalRecord::Op::SetValue || r.op == JournalRecord::Op::DeleteValue) PutStr(payload, r.name);
  if (r.op == JournalRecord::Op::SetValue) {
    PutU32(payload, r.value.type);
    PutStr(payload, std::string_view(reinterpret_cast<const char*>(r.value.data.data()), r.value.data.size()));
  }
  std::string framed;
  framed.reserve(payload.size() + 8);
  PutU32(framed, static_cast<uint32_t>(payload.size()));
  PutU32(framed, Crc(payload));
  framed += payload;
  return framed;
}

size_t DecodeRecords(std::string_view bytes, std::vector<JournalRecord>& out) {
  size_t pos = 0;
  while (bytes.size() - pos >= 8) {
    Cursor head{bytes.substr(pos, 8)};
    const auto len = static_cast<uint32_t>(head.Int(4));
    const auto crc = static_cast<uint32_t>(head.Int(4));
    if (len > kMaxPayload || bytes.size() - pos - 8 < len) break;
    std::string_view payload = bytes.substr(pos + 8, len);
    JournalRecord r;
    if (Crc(payload) != crc || !DecodePayload(payload, r)) break;
    out.push_back(std::move(r));
    pos += 8 + len;
  }
  return pos;
}

void ApplyRecord(RegHive& hive, const JournalRecord& r) {
  switch (r.op) {
    case JournalRecord::Op::CreateKey:
      hive.Create(r.path, r.time);
      break;
    case JournalRecord::Op::DeleteTree:
      hive.DeleteTree(r.path, r.time);
      break;
    case JournalRecord::Op::SetValue:
      hive.SetValue(r.path, r.name, r.value, r.time);
      break;
    case JournalRecord::Op::DeleteValue:
      hive.DeleteValue(r.path, r.name, r.time);
      break;
  }
}

}  // namespace wenmoor::platform
