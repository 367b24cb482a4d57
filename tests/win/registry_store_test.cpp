// The registry store over a prefix: mapping of the root keys, persistence,
// two processes on one prefix, and crashes at awkward moments.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win/reg_file_reader.h"
#include "platform/win/reg_journal.h"
#include "platform/win/registry_store.h"

namespace wenmoor::platform {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void Spit(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/wenmoor-reg-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    prefix_ = tmpl;
  }
  void TearDown() override { fs::remove_all(prefix_); }

  void CopyWineFixtures() {
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
      fs::copy_file(fs::path(WENMOOR_SHARED_FIXTURES) / "wine8-prefix" / name, prefix_ / name);
      fs::permissions(prefix_ / name, fs::perms::owner_write, fs::perm_options::add);
    }
  }

  fs::path prefix_;
};

TEST_F(RegistryStoreTest, ValuesOfEveryKindSurviveAReload) {
  const std::vector<std::pair<std::string, RegValue>> values = {
      {"", RegValue::String("default")},
      {"sz", RegValue::String("C:\\Program Files\\Qry \"quoted\"\n\xc3\xa9")},
      {"expand", RegValue::String("%SystemRoot%\\x", REG_EXPAND_SZ)},
      {"multi", RegValue::MultiString({"one", "two", ""})},
      {"dword", RegValue::DWord(0x80000001u)},
      {"binary", RegValue::Binary({0, 1, 2, 0xff})},
      {"empty", RegValue::Binary({})},
      {"qword", RegValue::Binary({1, 2, 3, 4, 5, 6, 7, 8}, REG_QWORD)},
      {"odd", RegValue::Binary({0x41}, REG_SZ)},
      {"kind", RegValue::Binary({9}, 0xffff0011u)},
  };
  {
    RegistryStore store(prefix_);
    for (const auto& [name, value] : values) ASSERT_TRUE(store.SetValue(RootKey::LocalMachine, "Software\\Kinds", name, value));
  }
  RegistryStore store(prefix_);
  for (const auto& [name, value] : values) {
    EXPECT_EQ(store.QueryValue(RootKey::LocalMachine, "software\\KINDS", name), value) << name;
  }
  EXPECT_EQ(store.ValueNames(RootKey::LocalMachine, "Software\\Kinds").size(), values.size());
  EXPECT_TRUE(fs::exists(prefix_ / "system.reg"));
  EXPECT_EQ(fs::file_size(prefix_ / "system.reg.journal"), 0u) << "the destructor folds the journal";
}

TEST_F(RegistryStoreTest, KeysCreateAndDeleteAsWindowsDoes) {
  RegistryStore store(prefix_);
  EXPECT_TRUE(store.CreateKey(RootKey::CurrentUser, "Software\\A\\B\\C"));
  EXPECT_TRUE(store.KeyExists(RootKey::CurrentUser, "\\software\\a\\b"));
  EXPECT_EQ(store.SubKeyNames(RootKey::CurrentUser, "Software\\A"), std::vector<std::string>{"B"});
  EXPECT_FALSE(store.DeleteKey(RootKey::CurrentUser, "Software\\A\\B")) << "has a subkey";
  EXPECT_FALSE(store.DeleteKey(RootKey::CurrentUser, "Software\\Missing"));
  EXPECT_TRUE(store.DeleteKey(RootKey::CurrentUser, "Software\\A\\B\\C"));
  EXPECT_TRUE(store.DeleteTree(RootKey::CurrentUser, "Software\\A"));
  EXPECT_FALSE(store.KeyExists(RootKey::CurrentUser, "Software\\A"));
  EXPECT_FALSE(store.DeleteTree(RootKey::CurrentUser, "Software\\A"));
  EXPECT_FALSE(store.DeleteTree(RootKey::CurrentUser, "")) << "a hive's root stays";
  EXPECT_FALSE(store.DeleteValue(RootKey::CurrentUser, "Software", "nothing"));
  EXPECT_EQ(store.QueryValue(RootKey::CurrentUser, "Software\\Nope", "x"), std::nullopt);
}

TEST_F(RegistryStoreTest, RootKeysMapOntoTheHives) {
  RegistryStore store(prefix_);
  // HKEY_CLASSES_ROOT: machine classes, with the user's classes winning on read.
  store.SetValue(RootKey::LocalMachine, "Software\\Classes\\.qry", "", RegValue::String("machine"));
  store.SetValue(RootKey::LocalMachine, "Software\\Classes\\.qry", "OnlyMachine", RegValue::DWord(1));
  EXPECT_EQ(store.QueryValue(RootKey::ClassesRoot, ".qry", "")->AsString(), "machine");
  store.SetValue(RootKey::CurrentUser, "Software\\Classes\\.qry", "", RegValue::String("user"));
  EXPECT_EQ(store.QueryValue(RootKey::ClassesRoot, ".qry", "")->AsString(), "user");
  EXPECT_EQ(store.QueryValue(RootKey::ClassesRoot, ".qry", "OnlyMachine")->AsDWord(), 1u);
  EXPECT_EQ(store.ValueNames(RootKey::ClassesRoot, ".qry"), (std::vector<std::string>{"", "OnlyMachine"}));
  // A write goes where the key is the user's, else to the machine.
  store.SetValue(RootKey::ClassesRoot, ".qry", "W", RegValue::DWord(2));
  EXPECT_TRUE(store.QueryValue(RootKey::CurrentUser, "Software\\Classes\\.qry", "W"));
  store.SetValue(RootKey::ClassesRoot, ".new", "W", RegValue::DWord(3));
  EXPECT_TRUE(store.QueryValue(RootKey::LocalMachine, "Software\\Classes\\.new", "W"));
  EXPECT_FALSE(store.KeyExists(RootKey::CurrentUser, "Software\\Classes\\.new"));
  store.CreateKey(RootKey::ClassesRoot, "qry.file\\shell");
  EXPECT_TRUE(store.KeyExists(RootKey::LocalMachine, "Software\\Classes\\qry.file\\shell"));
  store.CreateKey(RootKey::CurrentUser, "Software\\Classes\\useronly");
  EXPECT_EQ(store.SubKeyNames(RootKey::ClassesRoot, ""),
            (std::vector<std::string>{".new", ".qry", "qry.file", "useronly"}));
  // Deleting through HKEY_CLASSES_ROOT removes both copies.
  EXPECT_TRUE(store.DeleteTree(RootKey::ClassesRoot, ".qry"));
  EXPECT_FALSE(store.KeyExists(RootKey::CurrentUser, "Software\\Classes\\.qry"));
  EXPECT_FALSE(store.KeyExists(RootKey::LocalMachine, "Software\\Classes\\.qry"));

  // HKEY_USERS: .Default and the user's own key.
  EXPECT_EQ(store.SubKeyNames(RootKey::Users, ""), (std::vector<std::string>{".Default", "S-1-5-21-0-0-0-1000"}));
  store.SetValue(RootKey::Users, ".DEFAULT\\Control Panel", "x", RegValue::String("d"));
  store.SetValue(RootKey::Users, "S-1-5-21-0-0-0-1000\\Environment", "y", RegValue::String("u"));
  EXPECT_EQ(store.QueryValue(RootKey::CurrentUser, "Environment", "y")->AsString(), "u");
  EXPECT_FALSE(store.SetValue(RootKey::Users, "S-1-5-18\\X", "z", RegValue::DWord(0)));
  EXPECT_FALSE(store.KeyExists(RootKey::Users, "S-1-5-18"));
  EXPECT_FALSE(store.DeleteTree(RootKey::Users, ".Default"));

  // HKEY_CURRENT_CONFIG.
  store.SetValue(RootKey::CurrentConfig, "Software\\Fonts", "LogPixels", RegValue::DWord(96));
  EXPECT_EQ(store.QueryValue(RootKey::LocalMachine,
                             "System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts", "LogPixels")
                ->AsDWord(),
            96u);

  // HKEY_DYN_DATA lives in memory only.
  store.SetValue(RootKey::DynData, "PerfStats", "v", RegValue::DWord(7));
  EXPECT_EQ(store.QueryValue(RootKey::DynData, "PerfStats", "v")->AsDWord(), 7u);
  store.Sync();
  EXPECT_EQ(Slurp(prefix_ / "system.reg").find("PerfStats"), std::string::npos);
  EXPECT_NE(Slurp(prefix_ / "userdef.reg").find("[Control Panel]"), std::string::npos);
  EXPECT_NE(Slurp(prefix_ / "user.reg").find(";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000"),
            std::string::npos);
}

TEST_F(RegistryStoreTest, RewriteKeepsUntouchedContentOfAWinePrefix) {
  CopyWineFixtures();
  const std::string before = Slurp(prefix_ / "system.reg");
  {
    RegistryStore store(prefix_);
    store.SetValue(RootKey::LocalMachine, "Software\\Fennick Software\\Qry", "Ver", RegValue::String("5.2"));
    store.DeleteValue(RootKey::LocalMachine, "Software\\Classes\\.chm", "");
  }
  const std::string after = Slurp(prefix_ / "system.reg");
  auto old_hive = ReadRegFile(before, "before");
  auto new_hive = ReadRegFile(after, "after");
  // Everything the run did not touch is as it was, times included.
  size_t compared = 0;
  std::function<void(const RegNode&)> walk = [&](const RegNode& n) {
    const std::string path = n.Path();
    const bool written = !n.values.empty() || n.subkeys.empty() || n.link;  // implied keys have no time of their own
    if (written && !path.empty() && path != "Software\\Classes\\.chm") {
      const RegNode* m = new_hive->Find(path);
      ASSERT_NE(m, nullptr) << path;
      EXPECT_EQ(m->modified, n.modified) << path;
      ASSERT_EQ(m->values.size(), n.values.size()) << path;
      for (size_t i = 0; i < n.values.size(); ++i) EXPECT_EQ(m->values[i].value, n.values[i].value) << path;
      EXPECT_EQ(m->link, n.link) << path;
      ++compared;
    }
    for (const auto& sub : n.subkeys) walk(*sub);
  };
  walk(old_hive->Root());
  EXPECT_GT(compared, 8000u) << "keys written by Wine";
  const RegNode* chm = new_hive->Find("Software\\Classes\\.chm");
  ASSERT_NE(chm, nullptr);
  EXPECT_TRUE(chm->values.empty());
  EXPECT_GT(chm->modified, old_hive->Find("Software\\Classes\\.chm")->modified) << "a changed key gets a fresh time";
  EXPECT_EQ(new_hive->Find("Software\\Fennick Software\\Qry")->FindValue("ver")->value.AsString(), "5.2");
  // The untouched hives were not rewritten at all.
  EXPECT_EQ(Slurp(prefix_ / "user.reg"), Slurp(fs::path(WENMOOR_SHARED_FIXTURES) / "wine8-prefix" / "user.reg"));
}

TEST_F(RegistryStoreTest, AWriteAppendsToTheJournalInsteadOfRewritingTheHive) {
  CopyWineFixtures();
  RegistryStore store(prefix_);
  const auto reg_time = fs::last_write_time(prefix_ / "system.reg");
  const auto reg_size = fs::file_size(prefix_ / "system.reg");
  for (int i = 0; i < 100; ++i) {
    store.SetValue(RootKey::LocalMachine, "Software\\Bench", "v" + std::to_string(i), RegValue::String("x"));
  }
  EXPECT_EQ(fs::last_write_time(prefix_ / "system.reg"), reg_time);
  EXPECT_EQ(fs::file_size(prefix_ / "system.reg"), reg_size);
  EXPECT_LT(fs::file_size(prefix_ / "system.reg.journal"), 100u * 100);
  EXPECT_GT(fs::file_size(prefix_ / "system.reg.journal"), 100u * 30);
  // A second store sees the changes through the journal, before any fold.
  RegistryStore other(prefix_);
  EXPECT_EQ(other.ValueNames(RootKey::LocalMachine, "Software\\Bench").size(), 100u);
}

TEST_F(RegistryStoreTest, TwoStoresOnOnePrefixLoseNothing) {
  CopyWineFixtures();
  {
    RegistryStore a(prefix_);
    RegistryStore b(prefix_);
    for (int i = 0; i < 50; ++i) {
      a.SetValue(RootKey::LocalMachine, "Software\\Both", "a" + std::to_string(i), RegValue::DWord(i));
      b.SetValue(RootKey::LocalMachine, "Software\\Both", "b" + std::to_string(i), RegValue::DWord(i));
      if (i == 20) a.Sync();  // a fold by one store in the middle
      if (i == 30) b.Sync();
    }
    // Each sees the other's latest change at once.
    EXPECT_EQ(a.QueryValue(RootKey::LocalMachine, "Software\\Both", "b49")->AsDWord(), 49u);
    EXPECT_EQ(b.QueryValue(RootKey::LocalMachine, "Software\\Both", "a49")->AsDWord(), 49u);
    b.DeleteValue(RootKey::LocalMachine, "Software\\Both", "a0");
    EXPECT_FALSE(a.QueryValue(RootKey::LocalMachine, "Software\\Both", "a0"));
  }
  RegistryStore store(prefix_);
  EXPECT_EQ(store.ValueNames(RootKey::LocalMachine, "Software\\Both").size(), 99u);
}

TEST_F(RegistryStoreTest, ProcessesWritingAtOnceLoseNothing) {
  constexpr int kChildren = 3;
  constexpr int kWrites = 200;
  std::vector<pid_t> pids;
  for (int c = 0; c < kChildren; ++c) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      RegistryStore store(prefix_);
      for (int i = 0; i < kWrites; ++i) {
        store.SetValue(RootKey::CurrentUser, "Software\\Race", std::to_string(c) + "-" + std::to_string(i),
                       RegValue::DWord(static_cast<uint32_t>(i)));
        if (i % 50 == 49) store.Sync();
      }
      _exit(0);
    }
    pids.push_back(pid);
  }
  for (pid_t pid : pids) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  RegistryStore store(prefix_);
  EXPECT_EQ(store.ValueNames(RootKey::CurrentUser, "Software\\Race").size(), size_t{kChildren * kWrites});
}

TEST_F(RegistryStoreTest, AProcessKilledRightAfterAWriteLosesNothing) {
  CopyWineFixtures();
  int pipefd[2];
  ASSERT_EQ(pipe(pipefd), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    close(pipefd[0]);
    RegistryStore store(prefix_);
    store.SetValue(RootKey::LocalMachine, "Software\\Crash", "Before", RegValue::String("kept"));
    char done = 1;
    if (write(pipefd[1], &done, 1) != 1) _exit(1);
    pause();  // killed here, store never destroyed
    _exit(0);
  }
  close(pipefd[1]);
  char done = 0;
  ASSERT_EQ(read(pipefd[0], &done, 1), 1);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  close(pipefd[0]);
  RegistryStore store(prefix_);
  EXPECT_EQ(store.QueryValue(RootKey::LocalMachine, "Software\\Crash", "Before")->AsString(), "kept");
  EXPECT_TRUE(store.QueryValue(RootKey::LocalMachine, "Software\\Classes\\.chm", ""));
}

// A writer killed at arbitrary moments, folds of the journal included:
// every change it was told was made is there, and the files always load.
TEST_F(RegistryStoreTest, AWriterKilledAtAnyMomentLosesNoAcknowledgedChange) {
  const std::string big(6000, 'v');  // 12 KB records: a fold of the journal every ~85 writes
  for (int kill_after : {97, 350, 611}) {
    int pipefd[2];
    ASSERT_EQ(pipe(pipefd), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(pipefd[0]);
      RegistryStore store(prefix_);
      for (uint32_t i = 0;; ++i) {
        store.SetValue(RootKey::LocalMachine, "Software\\Kill\\" + std::to_string(i % 7), "v" + std::to_string(i),
                       RegValue::String(big));
        if (write(pipefd[1], &i, sizeof i) != sizeof i) _exit(1);
      }
    }
    close(pipefd[1]);
    uint32_t acked = 0;
    int count = 0;
    uint32_t i = 0;
    while (count < kill_after && read(pipefd[0], &i, sizeof i) == sizeof i) acked = i, ++count;
    kill(pid, SIGKILL);
    while (read(pipefd[0], &i, sizeof i) == sizeof i) acked = i;  // acknowledged before the kill landed
    waitpid(pid, nullptr, 0);
    close(pipefd[0]);
    ASSERT_GE(count, kill_after);
    RegistryStore store(prefix_);
    for (uint32_t k = 0; k <= acked; ++k) {
      ASSERT_TRUE(store.QueryValue(RootKey::LocalMachine, "Software\\Kill\\" + std::to_string(k % 7), "v" + std::to_string(k)))
          << "value " << k << " of " << acked << " lost (kill after " << kill_after << ")";
    }
    ASSERT_TRUE(store.DeleteTree(RootKey::LocalMachine, "Software\\Kill"));
  }
}

TEST_F(RegistryStoreTest, ALeftoverTemporaryFileIsIgnoredAndReplaced) {
  {
    RegistryStore store(prefix_);
    store.SetValue(RootKey::LocalMachine, "Software\\T", "v", RegValue::DWord(1));
  }
  Spit(prefix_ / "system.reg.tmp", "half a file from a process that died while folding [");
  RegistryStore store(prefix_);
  EXPECT_EQ(store.QueryValue(RootKey::LocalMachine, "Software\\T", "v")->AsDWord(), 1u);
  store.SetValue(RootKey::LocalMachine, "Software\\T", "w", RegValue::DWord(2));
  store.Sync();
  EXPECT_FALSE(fs::exists(prefix_ / "system.reg.tmp"));
  EXPECT_NE(Slurp(prefix_ / "system.reg").find("\"w\"=dword:00000002"), std::string::npos);
}

TEST_F(RegistryStoreTest, ATornJournalRecordIsIgnoredAndCutOff) {
  {
    RegistryStore store(prefix_);
    store.SetValue(RootKey::LocalMachine, "Software\\T", "first", RegValue::DWord(1));
    store.SetValue(RootKey::LocalMachine, "Software\\T", "second", RegValue::DWord(2));
    // Keep the journal: copy it before the destructor folds it.
    fs::copy_file(prefix_ / "system.reg.journal", prefix_ / "saved");
  }
  fs::remove(prefix_ / "system.reg");
  const std::string journal = Slurp(prefix_ / "saved");
  // Every cut inside the second record leaves exactly the first.
  const size_t second_end = journal.size();
  const size_t second_start =
      kJournalMagic.size() + EncodeRecord({JournalRecord::Op::SetValue, 0, "Software\\T", "first",
                                           RegValue::DWord(1)}).size();
  for (size_t cut : {second_start + 1, second_start + 8, second_end - 1}) {
    Spit(prefix_ / "system.reg.journal", journal.substr(0, cut));
    RegistryStore store(prefix_);
    EXPECT_TRUE(store.QueryValue(RootKey::LocalMachine, "Software\\T", "first")) << cut;
    EXPECT_FALSE(store.QueryValue(RootKey::LocalMachine, "Software\\T", "second")) << cut;
    // The next write follows the last whole record and is read back.
    store.SetValue(RootKey::LocalMachine, "Software\\T", "third", RegValue::DWord(3));
    RegistryStore other(prefix_);
    EXPECT_EQ(other.QueryValue(RootKey::LocalMachine, "Software\\T", "third")->AsDWord(), 3u) << cut;
    fs::remove(prefix_ / "system.reg");
  }
  // A flipped bit in the last record is treated the same way.
  std::string flipped = journal;
  flipped.back() ^= 0x40;
  Spit(prefix_ / "system.reg.journal", flipped);
  RegistryStore store(prefix_);
  EXPECT_TRUE(store.QueryValue(RootKey::LocalMachine, "Software\\T", "first"));
  EXPECT_FALSE(store.QueryValue(RootKey::LocalMachine, "Software\\T", "second"));
}

TEST_F(RegistryStoreTest, AJournalReplayedOverTheFoldedHiveChangesNothing) {
  // A process killed between replacing the hive file and emptying the journal.
  {
    RegistryStore store(prefix_);
    store.SetValue(RootKey::LocalMachine, "Software\\R", "v", RegValue::DWord(1));
    store.CreateKey(RootKey::LocalMachine, "Software\\R\\Sub");
    store.DeleteTree(RootKey::LocalMachine, "Software\\R\\Sub");
    store.SetValue(RootKey::LocalMachine, "Software\\R", "v", RegValue::DWord(2));
    store.DeleteValue(RootKey::LocalMachine, "Software\\R", "v");
    store.SetValue(RootKey::LocalMachine, "Software\\R", "w", RegValue::DWord(3));
    fs::copy_file(prefix_ / "system.reg.journal", prefix_ / "saved");
  }
  const std::string folded = Slurp(prefix_ / "system.reg");
  fs::copy_file(prefix_ / "saved", prefix_ / "system.reg.journal", fs::copy_options::overwrite_existing);
  {
    RegistryStore store(prefix_);
    EXPECT_FALSE(store.QueryValue(RootKey::LocalMachine, "Software\\R", "v"));
    EXPECT_EQ(store.QueryValue(RootKey::LocalMachine, "Software\\R", "w")->AsDWord(), 3u);
    EXPECT_FALSE(store.KeyExists(RootKey::LocalMachine, "Software\\R\\Sub"));
  }
  EXPECT_EQ(Slurp(prefix_ / "system.reg"), folded);
}

TEST_F(RegistryStoreTest, ACorruptHiveIsReportedAndNeverOverwritten) {
  const std::string bad = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n[A] 0\n\"v\"=bogus\n";
  Spit(prefix_ / "system.reg", bad);
  {
    RegistryStore store(prefix_);
    for (int attempt = 0; attempt < 2; ++attempt) {
      try {
        store.SetValue(RootKey::LocalMachine, "A", "w", RegValue::DWord(1));
        ADD_FAILURE() << "a write into a corrupt hive succeeded";
      } catch (const RegistryFormatError& e) {
        EXPECT_EQ(e.File(), (prefix_ / "system.reg").string());
        EXPECT_EQ(e.Line(), 5);
      }
    }
    EXPECT_THROW(store.KeyExists(RootKey::ClassesRoot, ".txt"), RegistryFormatError);
    // The other hives still work.
    EXPECT_TRUE(store.SetValue(RootKey::CurrentUser, "Software\\Ok", "v", RegValue::DWord(1)));
    store.Sync();
  }
  EXPECT_EQ(Slurp(prefix_ / "system.reg"), bad);
  EXPECT_FALSE(fs::exists(prefix_ / "system.reg.journal") && fs::file_size(prefix_ / "system.reg.journal") > 0);
  // Once repaired, the hive loads again in the same store.
  RegistryStore store(prefix_);
  EXPECT_THROW(store.KeyExists(RootKey::LocalMachine, "A"), RegistryFormatError);
  Spit(prefix_ / "system.reg", "WINE REGISTRY Version 2\n\n[A] 0\n\"v\"=dword:00000005\n");
  EXPECT_EQ(store.QueryValue(RootKey::LocalMachine, "A", "v")->AsDWord(), 5u);
}

TEST_F(RegistryStoreTest, TheJournalIsFoldedOnceItOutgrowsTheHive) {
  RegistryStore store(prefix_);
  const std::string big(4000, 'x');
  for (int i = 0; i < 400; ++i) {
    store.SetValue(RootKey::LocalMachine, "Software\\Grow", "v" + std::to_string(i % 50), RegValue::String(big));
  }
  // 400 records of ~8 KB went through a journal that never passed the threshold.
  EXPECT_LT(fs::file_size(prefix_ / "system.reg.journal"), (1u << 20) + 10000);
  EXPECT_TRUE(fs::exists(prefix_ / "system.reg"));
  EXPECT_FALSE(fs::exists(prefix_ / "system.reg.tmp"));
  EXPECT_EQ(store.ValueNames(RootKey::LocalMachine, "Software\\Grow").size(), 50u);
}

}  // namespace
}  // namespace wenmoor::platform
