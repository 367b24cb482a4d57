// Extract of TWnmrCompress: inflates the members named by FilesToProcess
// into ExtractDirectory, under the Overwrite rule, across the disk files of
// a spanned archive.
//
// Each member is inflated into a temporary file in the target's directory;
// only a member that inflated completely, to exactly its FileSize, replaces
// the target (by rename), so damaged data never costs the existing file.
// The zlib stream is read in blocks of 65,536 bytes. Output is reported in
// blocks of 4,096 bytes: before each, Abort is tested and pending messages
// are processed, and after it OnStatus fires. Inflating and writing go 64 KB
// at a time underneath (one zlib call and one write instead of sixteen),
// which leaves the reports exactly as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wenmoor {

class TStream;
class TWnmrCompress;
struct TFileHeaderRec;

class ArchiveExtractor {
 public:
  explicit ArchiveExtractor(TWnmrCompress& owner);
  void Run();
  // TWnmrCompress::TestMember.
  void Test(int index);

  // The part of `name` after its last "\", "/" or ":": all that a stored
  // path may contribute to a target, so no member leaves its directory.
  static std::string FileNamePart(const std::string& name);

 private:
  void ExtractLine(const std::string& line);
  // ExtractDirectory + DestFileName, after reducing DestFileName to its
  // file-name part. A name that cannot be a file ("", ".", "..") fails with
  // "Cannot create the file %s".
  std::string Target();
  // Whether an existing target is to be replaced (fires OnReplace).
  bool MayReplace(const TFileHeaderRec& rec, std::string& target);
  // Writes the member into `temp`; true when its zlib stream ended.
  bool InflateInto(const TFileHeaderRec& rec, const std::string& temp, const std::string& target, int64_t& size);
  bool Inflate(const TFileHeaderRec& rec, TStream& out);
  // Reads the next input block of the member; 0 at its end on this disk.
  int64_t Refill(const TFileHeaderRec& rec);

  TWnmrCompress& c_;
  std::vector<uint8_t> in_;
  int64_t in_pos_ = 0;  // position of the next byte read from the input
  // The member's first bytes as inflated, to know a program without
  // reading the file back.
  char head_[4] = {};
  long head_size_ = 0;
};

}  // namespace wenmoor
