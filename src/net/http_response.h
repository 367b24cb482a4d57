// Reading what an HTTP server answered to a download request: the size it
// announced and whether it sent the file or a page saying it has none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace wenmoor {

// The Content-Length header's value as a number of bytes; 0 for a value
// that is not a decimal number (blanks around it are allowed) or one too
// large for 63 bits.
int64_t ParseContentLength(std::string_view value);

// The old servers' way of saying "no such file": a page whose first 30
// characters (up to the first zero byte), upper-cased, contain "404".
bool LooksLikeNotFoundPage(const char* block, size_t size);

// Whether an HTTP status code ("404") says that the request failed (4xx or
// 5xx). A code that is not a number is no such statement.
bool IsFailureStatus(std::string_view status_code);

}  // namespace wenmoor
