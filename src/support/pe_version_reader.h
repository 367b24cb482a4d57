// Reads the version resource of a PE file: finds RT_VERSION through
// PeResourceLocator and parses its VS_VERSIONINFO block (fixed file info,
// StringFileInfo string tables, VarFileInfo\Translation).
//
// Layout of every block of VS_VERSIONINFO, all little-endian, each block
// starting on a 4-byte boundary counted from the start of the resource:
//   WORD wLength        bytes of the block, children included
//   WORD wValueLength   bytes of a binary value, characters of a text value
//   WORD wType          1 = text value, 0 = binary value
//   WCHAR szKey[]       NUL-terminated
//   padding to 4, the value, padding to 4, then the child blocks.
// The root is "VS_VERSION_INFO" with VS_FIXEDFILEINFO as its value; its
// children are "StringFileInfo" (tables named "llllcccc", whose children are
// the strings) and "VarFileInfo" (whose "Translation" is an array of
// language/code-page word pairs).
//
// Contract
// - Pure parsing of bytes held by the caller; no file access of its own.
// - Input that is not a PE file, has no version resource, or is damaged so
//   that even the root block cannot be read yields nullopt. Damage further
//   in loses only what it touches: a block whose length overruns its parent
//   is cut at the parent's end, and a block that cannot be read ends the
//   list it is in. Nothing is ever read outside the given bytes, every loop
//   is bounded by the input's size, and no exception is raised for bad input.
// - A string's value runs to its NUL within its block, whatever wValueLength
//   says: tools disagree whether it counts characters or bytes.
// - Text is converted from UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "support/pe_version_info.h"

namespace wenmoor {

class PeVersionReader {
 public:
  // The version information of the PE image `image` (the whole file).
  static std::optional<PeVersionInfo> Read(std::span<const std::uint8_t> image);

  // Parses a VS_VERSIONINFO block by itself, such as the bytes of an
  // RT_VERSION resource. The result's resource_language and format are left
  // at their defaults.
  static std::optional<PeVersionInfo> ParseBlock(std::span<const std::uint8_t> block);
};

}  // namespace wenmoor
