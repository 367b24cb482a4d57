// PendingFileRenameOperations: the pairs, empty targets and all.
#include <gtest/gtest.h>

#include "platform/win/pending_renames.h"
#include "support/temp_prefix.h"

namespace wenmoor::platform {
namespace {

TEST(PendingRenamesTest, FormatAndParseAreInverse) {
  const std::vector<PendingRename> renames = {
      {"C:\\dir\\a.1", "C:\\dir\\a.dll", true},
      {"C:\\temp\\old.tmp", "", false},
      {"C:\\x", "C:\\y", false},
  };
  const std::vector<std::string> items = FormatPendingRenames(renames);
  EXPECT_EQ(items, (std::vector<std::string>{"\\??\\C:\\dir\\a.1", "!\\??\\C:\\dir\\a.dll", "\\??\\C:\\temp\\old.tmp",
                                             "", "\\??\\C:\\x", "\\??\\C:\\y"}));
  EXPECT_EQ(DecodeMultiSz(EncodeMultiSz(items)), (std::vector<std::string>{
                                                      "\\??\\C:\\dir\\a.1", "!\\??\\C:\\dir\\a.dll",
                                                      "\\??\\C:\\temp\\old.tmp", "", "\\??\\C:\\x", "\\??\\C:\\y",
                                                      ""}));  // the empty string that ends the list
  EXPECT_EQ(ParsePendingRenames(DecodeMultiSz(EncodeMultiSz(items))), renames);
}

TEST(PendingRenamesTest, ReadsWhatWindowsWrites) {
  // A delete last: its empty target and the end of the list run together.
  std::vector<uint8_t> data;
  for (char16_t c : std::u16string(u"\\??\\C:\\a\0\0\0", 11)) {
    data.push_back(static_cast<uint8_t>(c));
    data.push_back(0);
  }
  EXPECT_EQ(ParsePendingRenames(DecodeMultiSz(data)), (std::vector<PendingRename>{{"C:\\a", "", false}}));
  // A source without a target, and odd bytes, are dropped, never read past.
  EXPECT_TRUE(ParsePendingRenames({"\\??\\C:\\lonely"}).empty());
  EXPECT_TRUE(ParsePendingRenames(DecodeMultiSz({0x41})).empty());
}

TEST(PendingRenamesTest, AddingKeepsWhatIsRecorded) {
  test::TempPrefix prefix;
  RegistryStore& reg = CurrentRegistry();
  // Recorded by someone else, with a spelling of their own.
  reg.SetValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue,
               RegValue::Binary(EncodeMultiSz({"\\??\\c:\\other\\x.tmp", ""}), REG_MULTI_SZ));
  AddPendingRename(reg, {"C:\\a.1", "C:\\a.dll", true});
  EXPECT_EQ(ReadPendingRenames(reg),
            (std::vector<PendingRename>{{"c:\\other\\x.tmp", "", false}, {"C:\\a.1", "C:\\a.dll", true}}));
  ClearPendingRenames(reg);
  EXPECT_TRUE(ReadPendingRenames(reg).empty());
}

}  // namespace
}  // namespace wenmoor::platform
