// Rich text (RTF) to plain text, for the read-only rich text box.
//
// Keeps the text of the document body: paragraph and line marks become line
// breaks, \tab a tab, \'hh a Windows-1252 character, \uN the Unicode
// character N (skipping the \ucN fallback characters after it), the usual
// typographic symbols (\emdash, \lquote, \bullet, ...) their characters;
// drops control words, font, colour and style tables, pictures, document
// information, field instructions and every "\*" destination. The result
// is UTF-8, lines separated by CR LF.
//
// Never fails: malformed input (unbalanced braces, a cut-off control word,
// bad hex digits) gives the text that could be read. Nesting is tracked
// without recursion, so deep input cannot exhaust the stack.
#pragma once

#include <string>
#include <string_view>

namespace wenmoor {

// Whether `text` starts (after blanks) with "{\rtf".
bool LooksLikeRtf(std::string_view text);
std::string RtfToPlainText(std::string_view rtf);

}  // namespace wenmoor
