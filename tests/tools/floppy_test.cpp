// Transferring a self-extracting distribution onto disks too small for it.
//
// A disk of limited size is emulated by the host's limit on the size of one
// file (prlimit --fsize, with SIGXFSZ ignored so that a write past it comes
// up short as on a full disk): each disk file is one disk, drive A: is a
// directory of the machine. The install program is started as the loading
// program starts it for "*TODISK".
#include <gtest/gtest.h>

#include "distribution_fixture.h"

namespace wenmoor::test {
namespace {

class FloppyTest : public DistributionFixture {
 protected:
  FloppyTest() {
    // Data that does not compress, so that files.1 needs more than one disk.
    std::string data(6 << 20, '\0');
    uint32_t x = 2463534242u;
    for (char& c : data) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      c = static_cast<char>(x);
    }
    WriteHostFile(src_dir() / "b.bin", data);
    // The installation asks for each further disk through its dialog.
    std::string script = kSmokeScript;
    script.insert(script.rfind("end"), R"(  object DiskManager: TDialogManager
    Container = Install1
    ManagerType = dmChangeDisk
  end
  object ChangeDiskDlg: TChangeDiskDlg
    Container = Install1
    DialogManager = DiskManager
  end
)");
    SetScript(script);
  }

  fs::path floppy() const { return prog_dir().parent_path() / "floppy"; }

  // Runs the transfer with disks of `disk_size` bytes, the disk prompts
  // answered by `answers`.
  Outcome Transfer(int64_t disk_size, const std::string& answers) const {
    const fs::path answer_file = prog_dir() / "answers.txt";
    WriteHostFile(answer_file, answers);
    const fs::path temp_copy = prog_dir().parent_path() / "tempcopy";
    fs::create_directories(temp_copy);
    fs::copy_file(program(), temp_copy / "wenmoor-setup", fs::copy_options::overwrite_existing);
    fs::copy_file(prog_dir() / "wenmoor-setup.dfm", temp_copy / "wenmoor-setup.dfm",
                  fs::copy_options::overwrite_existing);
    const std::string inner = "trap '' XFSZ; exec prlimit --fsize=" + std::to_string(disk_size) + " '" +
                              (temp_copy / "wenmoor-setup").string() + "' '-s" + WinOf(build_dir()) +
                              "' -esetup.exe -c -f";
    return Run("/bin/sh", "-c \"" + inner + "\"", "WENMOOR_ANSWERS='" + answer_file.string() + "'");
  }

  void SetUp() override {
    ASSERT_EQ(Build().status, 0);
    fs::create_directories(floppy());
    ASSERT_EQ(Wenmoor("prefix create").status, 0);
    fs::create_symlink(floppy(), prefix() / "dosdevices" / "a:");
    loader_size_ = static_cast<int64_t>(fs::file_size(FrameworkDir() / "WenmoorLoadProgram.exe"));
  }

  int64_t loader_size_ = 0;
};

// The disks of these tests are sized from the loading program, with room for
// a few hundred KB of the distribution beyond it. The sanitizer build's
// programs are some hundred MB each, which changes what goes onto which disk,
// so the spreading is checked in the normal build only.
#if defined(__SANITIZE_ADDRESS__)
#define SKIP_WITH_INFLATED_PROGRAMS() GTEST_SKIP() << "the sanitizer build's programs do not fit the disk layout"
#else
#define SKIP_WITH_INFLATED_PROGRAMS() static_cast<void>(0)
#endif

TEST_F(FloppyTest, SpreadsFilesOverDisksAskingForEachAndTheDisksInstall) {
  SKIP_WITH_INFLATED_PROGRAMS();
  const int64_t disk = loader_size_ + (256 << 10);
  Outcome o = Transfer(disk, "[message \"Please insert disk *\" every]\npress OK\n");
  ASSERT_EQ(o.status, 0) << o.output;
  EXPECT_NE(o.output.find("Please insert disk 2"), std::string::npos) << o.output;
  EXPECT_TRUE(fs::exists(floppy() / "files.2"));
  for (const auto& entry : fs::directory_iterator(floppy()))
    EXPECT_LE(static_cast<int64_t>(fs::file_size(entry)), disk) << entry.path();

  // Disk 2 is another disk: the installation asks for it, and the user
  // names where it is.
  const fs::path disk2 = prog_dir().parent_path() / "disk2";
  fs::create_directories(disk2);
  for (int n = 2; fs::exists(floppy() / ("files." + std::to_string(n))); ++n)
    fs::rename(floppy() / ("files." + std::to_string(n)), disk2 / ("files." + std::to_string(n)));
  const fs::path answers = prog_dir() / "install-answers.txt";
  WriteHostFile(answers, "[form \"Setup needs the next disk\"]\npress BrowseBtn\n"
                         "[folder \"*\"]\nset path = " + WinOf(disk2) + "\n"
                         "[form \"Setup needs the next disk\"]\npress InstallBtn\n");
  fs::permissions(floppy() / "setup.exe", fs::perms::owner_all);
  Outcome run = Run(floppy() / "setup.exe", "", "WENMOOR_ANSWERS='" + answers.string() + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("Please insert disk number 2"), std::string::npos) << run.output;
  EXPECT_EQ(ReadHostFile(product_dir() / "Data" / "b.bin"), ReadHostFile(src_dir() / "b.bin"));
}

TEST_F(FloppyTest, AFullDiskOrACancelledPromptEndsTheTransferWithItsMessage) {
  SKIP_WITH_INFLATED_PROGRAMS();
  struct Case {
    const char* name;
    int64_t disk;
    const char* answers;
    const char* message;
  };
  const Case cases[] = {
      {"setup.exe does not fit", 100000, "", "Cannot create setup.exe on the A drive. Probably not enough room"},
      {"the user cancels", loader_size_ + (256 << 10), "[message \"Please insert disk 2\"]\npress Cancel\n",
       "Aborted by user"},
  };
  for (const Case& c : cases) {
    fs::remove_all(floppy());
    fs::create_directories(floppy());
    Outcome o = Transfer(c.disk, c.answers);
    EXPECT_EQ(o.status, 1) << c.name << ": " << o.output;
    EXPECT_NE(o.output.find(c.message), std::string::npos) << c.name << ": " << o.output;
  }
}

}  // namespace
}  // namespace wenmoor::test
