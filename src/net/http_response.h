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

// Whether the final HTTP status code ("404") says that the body is not the
// file: anything but a success (2xx). Redirects that name a new place have
// been followed before the final status; one that names none, like every
// error, leaves a page that must not be taken for the file. A code that is
// not a number is no such statement.
bool IsFailureStatus(std::string_view status_code);

}  // namespace wenmoor
