// SplitToDisks of TWnmrCompress: writes an unspanned archive (possibly
// embedded at Offset in a larger file) as a spanned one over numbered disk
// files, asking OnNewDisk for each new disk.
//
// Disk file 1 gets the preamble (Spanned = 1) and the whole header block,
// first as a placeholder; then every member's data follows in header order,
// copied in blocks of 8,192 bytes. A write that comes up short means the
// disk is full: the rest of the block goes to the start of the next disk
// file. At the end the header block is written again with each member's
// first and last disk and position.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wenmoor {

class TStream;
class TWnmrCompress;
class TFileHeader;

class ArchiveSplitter {
 public:
  explicit ArchiveSplitter(TWnmrCompress& owner);
  ~ArchiveSplitter();
  ArchiveSplitter(const ArchiveSplitter&) = delete;
  ArchiveSplitter& operator=(const ArchiveSplitter&) = delete;

  void Run(const std::string& dest_dir, const std::string& disk_file_name);

 private:
  void CopyMember(TFileHeader& header);
  // Writes one block to the current disk, going on to the next disk when
  // this one is full.
  void WriteBlock(const uint8_t* data, int64_t count);
  void BeginNextDisk(const uint8_t* rest, int64_t count);
  std::unique_ptr<TStream> Create(const std::string& path);

  TWnmrCompress& c_;
  std::string dest_dir_;
  std::string disk_file_name_;  // file-name part of DiskFileName
  std::string last_disk_path_;  // the disk file written last
  std::unique_ptr<TStream> output_;
  int64_t out_pos_ = 0;
  std::vector<uint8_t> block_;
};

}  // namespace wenmoor
