// A fixture for downloads through a net install location: a fresh machine,
// a location, a record of every OnDataReceived and of every message pump.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/cmp_TNetInstallLocation.h"
#include "platform/ui/application.h"
#include "platform/win/curl_transfer.h"
#include "platform/win/internet.h"
#include "support/temp_prefix.h"

namespace wenmoor::test {

struct ReceivedBlock {
  TObject* sender = nullptr;
  std::string file_name;
  int bytes = 0;
  int total = 0;
  int file_size = 0;
  std::string data;
};

class DownloadFixture : public ::testing::Test {
 protected:
  // Local files go to C:\dl.
  static constexpr const char* kLocalDir = "C:\\dl";

  void SetUp() override {
    prefix_ = std::make_unique<TempPrefix>();
    std::filesystem::create_directories(prefix_->Host(kLocalDir));
    platform::SetDefaultInternetTimeouts({10000, 10000});
    platform::SetLastInternetResponse("");
    SetDownloadAborted(false);
    previous_hook_ = SetProcessMessagesHook([this] { ++pumps_; });
    loc_ = CreateUnowned<TNetInstallLocation>();
    loc_->SetName("WebSite");
    loc_->OnDataReceived.Assign([this](TObject* sender, const std::string& name, int bytes, int total, int size,
                                       const char* data) {
      blocks_.push_back({sender, name, bytes, total, size, std::string(data, static_cast<size_t>(bytes))});
      if (on_block_) on_block_(blocks_.back());
    });
  }

  void TearDown() override {
    loc_.reset();
    SetProcessMessagesHook(previous_hook_);
    SetDownloadAborted(false);
    platform::SetDefaultInternetTimeouts({});
    prefix_.reset();
  }

  TLoginInformation& Login() { return *loc_->LoginInformation(); }
  static std::string Local(const std::string& name) { return std::string(kLocalDir) + "\\" + name; }
  std::filesystem::path LocalHost(const std::string& name) const { return prefix_->Host(Local(name)); }
  bool LocalExists(const std::string& name) const { return std::filesystem::exists(LocalHost(name)); }
  std::string ReadLocal(const std::string& name) const { return prefix_->ReadFile(Local(name)); }
  void WriteLocal(const std::string& name, const std::string& content) const {
    prefix_->WriteFile(Local(name), content);
  }
  // The names in C:\dl: a failed download must leave no temporary file.
  std::vector<std::string> LocalDirEntries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(prefix_->Host(kLocalDir)))
      names.push_back(e.path().filename().string());
    return names;
  }

  // Runs `f` and returns its exception's message (fails the test if none
  // or of another type).
  template <class E>
  std::string MessageOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const E& e) {
      return e.what();
    } catch (const std::exception& e) {
      ADD_FAILURE() << "other exception: " << e.what();
      return {};
    }
    ADD_FAILURE() << "no exception";
    return {};
  }

  std::vector<int> BlockSizes() const {
    std::vector<int> sizes;
    for (const ReceivedBlock& b : blocks_) sizes.push_back(b.bytes);
    return sizes;
  }
  std::string ReceivedData() const {
    std::string all;
    for (const ReceivedBlock& b : blocks_) all += b.data;
    return all;
  }

  std::unique_ptr<TempPrefix> prefix_;
  ComponentPtr<TNetInstallLocation> loc_;
  std::vector<ReceivedBlock> blocks_;
  std::function<void(const ReceivedBlock&)> on_block_;
  int pumps_ = 0;

 private:
  std::function<void()> previous_hook_;
};

// Seconds since `start`.
inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace wenmoor::test
