// Archives from outside, extracted, tested and split: any input ends in
// success or one of the archive's errors, without a crash or a hang, and
// nothing is written outside the extraction directory. The input is the
// archive file (or, spanned, its first two disk files), in a prefix whose
// only drive is C:, with output files on a "disk" of 1 MB so that a member
// claiming gigabytes cannot fill the real one.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "archive/cmp_TWnmrCompress.h"
#include "fuzz_machine.h"
#include "platform/rtl/stream.h"

namespace fs = std::filesystem;
using namespace wenmoor;

namespace {

class SmallDisk : public TWnmrCompress {
 public:
  explicit SmallDisk(TComponent* owner) : TWnmrCompress(owner) {}

 protected:
  std::unique_ptr<TStream> CreateOutput(const std::string& path) override {
    class Capped : public TStream {
     public:
      explicit Capped(std::unique_ptr<TStream> inner) : inner_(std::move(inner)) {}
      int64_t Read(void* b, int64_t n) override { return inner_->Read(b, n); }
      int64_t Write(const void* b, int64_t n) override {
        return inner_->Write(b, std::min(n, std::max<int64_t>(0, (1 << 20) - inner_->Position())));
      }
      int64_t Seek(int64_t o, TSeekOrigin origin) override { return inner_->Seek(o, origin); }
      int64_t Size() override { return inner_->Size(); }
      void SetSize(int64_t s) override { inner_->SetSize(s); }

     private:
      std::unique_ptr<TStream> inner_;
    };
    return std::make_unique<Capped>(TWnmrCompress::CreateOutput(path));
  }
};

void Write(const fs::path& p, const uint8_t* data, size_t size) {
  std::ofstream(p, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                             static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const fs::path work = fuzz::FuzzMachine::Get("wenmoor-archive-fuzz").DriveC("f");
  fs::remove_all(work);
  fs::create_directories(work / "out");
  // Byte 0: bit 0 spanned (the rest is cut into two disk files at byte 1's
  // share of it), bits 1-3 the overwrite rule, bits 4-7 an offset.
  const uint8_t mode = data[0];
  const uint8_t cut_share = data[1];
  data += 2;
  size -= 2;
  if (mode & 1) {
    const size_t cut = size * cut_share / 256;
    Write(work / "a.1", data, cut);
    Write(work / "a.2", data + cut, size - cut);
  } else {
    Write(work / "a.1", data, size);
  }
  // Something for the overwrite rules to compare with.
  Write(work / "out" / "x.txt", data, std::min<size_t>(size, 10));

  auto c = CreateUnowned<SmallDisk>();
  c->SetCompressedFile("C:\\f\\a.1");
  c->SetOffset((mode & 1) ? 0 : mode >> 4);
  c->SetOverwrite(static_cast<TOverwriteType>(((mode >> 1) & 7) % (owAsk + 1)));
  int disks_asked = 0;
  c->OnNewDisk.Assign([&](TWnmrCompress*, int, std::string&) {
    if (++disks_asked > 300) std::abort();  // four asks per disk at most, 255 disks
  });
  try {
    c->ReadHeaders();
  } catch (const EWnmrCompress&) {
    return 0;
  }
  for (int i = 0; i < std::min(c->FileCount(), 8); ++i) {
    c->SetCompressedFile("C:\\f\\a.1");
    try {
      c->TestMember(i);
    } catch (const EWnmrCompress&) {
    }
    TStringList list{c->Headers().GetFileHeaders(i).Rec.FileName};
    c->SetCompressedFile("C:\\f\\a.1");
    c->SetExtractDirectory("C:\\f\\out");
    c->SetFilesToProcess(list);
    try {
      c->Extract();
    } catch (const EWnmrCompress&) {
    }
  }
  c->SetCompressedFile("C:\\f\\a.1");
  if (!(mode & 1)) {
    try {
      c->SplitToDisks("C:\\f\\disks", "d.1");
    } catch (const EWnmrCompress&) {
    }
  }
  // Nothing but the inputs and the two output directories may be there.
  static const std::set<std::string> allowed = {"a.1", "a.2", "out", "disks"};
  for (const auto& e : fs::directory_iterator(work))
    if (!allowed.count(e.path().filename().string())) std::abort();
  for (const auto& e : fs::recursive_directory_iterator(work / "out"))
    if (e.is_directory()) std::abort();  // members land as plain files, never in made-up folders
  return 0;
}
