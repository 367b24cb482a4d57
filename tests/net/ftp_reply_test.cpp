// Joining the lines of an FTP control connection into replies.
#include "platform/win/ftp_reply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wenmoor::platform {
namespace {

// The replies that a sequence of lines makes.
std::vector<FtpReply> Replies(const std::vector<std::string>& lines) {
  FtpReplyAssembler a;
  std::vector<FtpReply> out;
  for (const std::string& line : lines) {
    if (auto r = a.Feed(line)) out.push_back(*r);
  }
  return out;
}

TEST(FtpReplyTest, SingleLineRepliesStandAlone) {
  const auto replies = Replies({"220 ready.\r\n", "331 Username ok, send password.\r\n", "230 Login successful."});
  ASSERT_EQ(replies.size(), 3u);
  EXPECT_EQ(replies[0].code, 220);
  EXPECT_EQ(replies[0].text, "220 ready.");
  EXPECT_EQ(replies[2].text, "230 Login successful.");
}

TEST(FtpReplyTest, MultiLineReplyEndsWithItsOwnCodeAndABlank) {
  const auto replies = Replies({"230-Welcome\r\n", " to the server\r\n", "220-not the end\r\n", "230-still not\r\n",
                                "230 Login successful.\r\n", "200 next"});
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].code, 230);
  EXPECT_EQ(replies[0].text,
            "230-Welcome\r\n to the server\r\n220-not the end\r\n230-still not\r\n230 Login successful.");
  EXPECT_EQ(replies[1].text, "200 next");
}

TEST(FtpReplyTest, LinesWithoutACodeAreRepliesOfCodeZero) {
  const auto replies = Replies({"garbage\r\n", "99 short\r\n", "2000 too long", "700 out of range", "200"});
  ASSERT_EQ(replies.size(), 5u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(replies[i].code, 0) << replies[i].text;
  EXPECT_EQ(replies[4].code, 200);
}

TEST(FtpReplyTest, AnEndlessReplyIsBounded) {
  FtpReplyAssembler a;
  ASSERT_FALSE(a.Feed("220-start"));
  const std::string line(1000, 'x');
  for (int i = 0; i < 100; ++i) ASSERT_FALSE(a.Feed(line));
  std::optional<FtpReply> r = a.Feed("220 end");
  ASSERT_TRUE(r);
  EXPECT_LE(r->text.size(), FtpReplyAssembler::kMaxReplyChars);
  EXPECT_FALSE(a.InReply());
}

TEST(FtpReplyTest, ReplyCodes) {
  const std::tuple<const char*, int, char> cases[] = {
      {"150 Opening", 150, ' '}, {"150-Opening", 150, '-'}, {"150", 150, '\0'}, {"150x", 0, '\0'},
      {"099 low", 0, '\0'},      {"600 high", 0, '\0'},     {"", 0, '\0'},      {"1a0 x", 0, '\0'},
  };
  for (const auto& [line, code, sep] : cases) {
    char got = 'z';
    EXPECT_EQ(FtpReplyCode(line, &got), code) << line;
    EXPECT_EQ(got, sep) << line;
  }
}

}  // namespace
}  // namespace wenmoor::platform
