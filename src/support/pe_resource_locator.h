// Finds a resource in a PE image (32-bit PE32 or 64-bit PE32+) held in memory,
// the way the Windows loader finds it: DOS header, PE header, the resource
// data directory, a walk of the three-level resource directory (type, name,
// language), and the data entry's RVA mapped to a file offset through the
// section table.
//
// Contract
// - Pure parsing: bytes in, a value out. Nothing is read outside `image`.
// - Anything that is not a well-formed PE image, or whose headers, section
//   table or resource directory point outside the file, yields nullopt; no
//   exception is raised for bad input. Every loop is bounded by counts read
//   from the file and by the file's size, so hostile input cannot hang it.
// - The returned span views `image`: it is valid as long as `image` is.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace wenmoor {

enum class PeFormat : std::uint8_t {
  Pe32,      // optional header magic 0x10B (32-bit images)
  Pe32Plus,  // optional header magic 0x20B (64-bit images)
};

struct PeResource {
  std::span<const std::uint8_t> data;  // the resource's bytes, inside the image
  std::uint16_t language = 0;          // the language of the entry that was taken
  PeFormat format = PeFormat::Pe32;
};

class PeResourceLocator {
 public:
  // Resource types are numbered as Windows numbers them.
  static constexpr std::uint16_t kRtVersion = 16;

  // The first resource of numeric type `type_id`: its first name (named
  // entries come before numbered ones, each group in the order stored),
  // and of that its first language. This is the resource that the platform's
  // version functions read.
  static std::optional<PeResource> FindFirst(std::span<const std::uint8_t> image,
                                             std::uint16_t type_id);
};

}  // namespace wenmoor
