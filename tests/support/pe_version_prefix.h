// A fresh emulated machine (TempPrefix) onto whose drive C: the tests of
// the version component and the overwrite rules copy PE fixtures.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_prefix.h"

namespace wenmoor::test {

class PeVersionPrefixTest : public ::testing::Test {
 protected:
  // Copies tests/data/pe/<fixture> to C:\<name> and returns "C:\<name>".
  std::string Install(const std::string& fixture, const std::string& name) {
    std::filesystem::copy_file(std::string(WENMOOR_TEST_DATA) + "/pe/" + fixture, prefix_.DriveC() / name,
                               std::filesystem::copy_options::overwrite_existing);
    return "C:\\" + name;
  }

 private:
  TempPrefix prefix_;
};

}  // namespace wenmoor::test
