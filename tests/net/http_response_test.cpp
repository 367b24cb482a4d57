// What the download makes of an HTTP server's answer.
#include "net/http_response.h"

#include <gtest/gtest.h>

#include <string>

namespace wenmoor {
namespace {

TEST(HttpResponseTest, ContentLengthIsADecimalNumberOrZero) {
  const std::pair<const char*, int64_t> cases[] = {
      {"0", 0},          {"8192", 8192},   {" 42 ", 42},  {"104857600", 104857600},
      {"", 0},           {"abc", 0},       {"12ab", 0},   {"-5", 0},
      {"+5", 0},         {"1 2", 0},       {"0x10", 0},   {"999999999999999999", 999999999999999999},
      {"9999999999999999999", 0},  // beyond 63 bits: no number we can hold
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseContentLength(text), value) << "'" << text << "'";
}

TEST(HttpResponseTest, NotFoundPageIsSeenInTheFirstThirtyCharactersUpToAZeroByte) {
  const std::pair<std::string, bool> cases[] = {
      {"<html><title>404 Not Found</title>", true},
      {"404", true},
      {"HTTP error 404", true},
      {std::string(27, ' ') + "404", true},    // ends at character 30
      {std::string(28, ' ') + "404", false},   // starts within, ends beyond
      {std::string("ab\0 404", 7), false},     // after the first zero byte
      {"<html>Error code: 40", false},
      {"", false},
      {std::string("\x1f\x8b\x08\0", 4) + "404404", false},  // binary data with a zero early
  };
  for (const auto& [block, found] : cases)
    EXPECT_EQ(LooksLikeNotFoundPage(block.data(), block.size()), found) << "'" << block << "'";
}

TEST(HttpResponseTest, EveryFinalStatusButSuccessIsAFailure) {
  const std::pair<const char*, bool> cases[] = {
      {"200", false}, {"204", false}, {"299", false}, {"300", true}, {"302", true}, {"404", true},
      {"500", true},  {"599", true},  {"", false},    {"abc", false}, {" 404 ", true},
  };
  for (const auto& [code, failure] : cases) EXPECT_EQ(IsFailureStatus(code), failure) << code;
}

}  // namespace
}  // namespace wenmoor
