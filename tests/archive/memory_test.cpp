// Memory stays flat: compressing and extracting a member of 256 MB (a sparse
// file, so the test costs no disk space to set up) never holds the file in
// memory, only blocks of it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "archive/cmp_TWnmrCompress.h"
#include "archive_fixture.h"

namespace wenmoor {
namespace {

// The peak resident size of this process in KB since the last reset.
long PeakKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Starts a new peak at the current size (Linux's clear_refs).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

class MemoryTest : public test::ArchiveFixture {};

TEST_F(MemoryTest, LargeMembersPassThroughBuffersOnly) {
  constexpr int64_t kSize = int64_t{256} << 20;
  {
    std::filesystem::create_directories(Host(""));
    std::ofstream sparse(Host("big.bin"), std::ios::binary);
    sparse.seekp(kSize - 1);
    sparse.put('!');
  }
  auto c = NewCompress();
  c->SetCompressionLevel(colFastest);
  constexpr long kAllowanceKb = 24 * 1024;  // buffers, zlib's state, the allocator's slack

  ResetPeak();
  long before = PeakKb();
  ASSERT_GT(before, 0);
  Compress(*c, "big.arc", {"big.bin"});
  EXPECT_LT(PeakKb() - before, kAllowanceKb) << "compressing";

  c->SetExtractDirectory(Win("out"));
  TStringList list{Win("big.bin")};
  c->SetFilesToProcess(list);
  ResetPeak();
  before = PeakKb();
  c->Extract();
  EXPECT_LT(PeakKb() - before, kAllowanceKb) << "extracting";
  ASSERT_EQ(std::filesystem::file_size(Host("out/big.bin")), static_cast<uintmax_t>(kSize));
  std::ifstream out(Host("out/big.bin"), std::ios::binary);
  out.seekg(kSize - 2);
  EXPECT_EQ(out.get(), 0);
  EXPECT_EQ(out.get(), '!');
}

}  // namespace
}  // namespace wenmoor
