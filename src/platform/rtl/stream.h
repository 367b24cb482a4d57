// TStream: sequential and random access to bytes, as the component library
// has it. TMemoryStream keeps its bytes in memory; the file stream over the
// emulated machine's files is TFileStream in platform/win/file_stream.h.
//
// Read/Write return the number of bytes moved (short at the end of the
// data); ReadBuffer/WriteBuffer move all or raise EReadError "Stream read
// error" / EWriteError "Stream write error".
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rtl/persistent.h"

namespace wenmoor {

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size();
  virtual void SetSize(int64_t size) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies `count` bytes from `source` (all of it from its start when 0).
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;
  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t>& Bytes() { return data_; }

 private:
  std::vector<uint8_t> data_;
  int64_t pos_ = 0;
};

}  // namespace wenmoor
