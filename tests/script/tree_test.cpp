#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/script_fixture.h"
#include "paths/specifiers_windows.h"
#include "script/cmp_TCustomInstallFile.h"
#include "script/cmp_TFileContainer.h"
#include "script/script_exceptions.h"

namespace wenmoor {

// A broadcast listener of dialog rank that records what it hears.
class TTestListener : public TInstallObject {
  WENMOOR_CLASS(TTestListener, TInstallObject)
 public:
  explicit TTestListener(TComponent* owner) : TInstallObject(owner) {}
  int RegisteredType() const override { return kRankDialog; }
  void ReceiveInformation(TObject*, int code, TObject*) override { heard.push_back(code); }
  std::vector<int> heard;
};
WENMOOR_REGISTER_CLASS(TTestListener) {}

// An object of the groups' rank (groups themselves hang only below the
// install component or another group).
class TTestGroupRank : public TInstallObject {
  WENMOOR_CLASS(TTestGroupRank, TInstallObject)
 public:
  explicit TTestGroupRank(TComponent* owner) : TInstallObject(owner) {}
  int RegisteredType() const override { return kRankGroup; }
};
WENMOOR_REGISTER_CLASS(TTestGroupRank) {}

// An object of a name the tree puts first whatever its rank.
class TInstallBde : public TInstallObject {
  WENMOOR_CLASS(TInstallBde, TInstallObject)
 public:
  explicit TInstallBde(TComponent* owner) : TInstallObject(owner) {}
  int RegisteredType() const override { return kRankRegistry; }
};
WENMOOR_REGISTER_CLASS(TInstallBde) {}

namespace {

using TreeTest = testing::ScriptFixture;

std::vector<std::string> ChildNames(const TInstallContainer& parent) {
  std::vector<std::string> names;
  for (int i = 0; i < parent.HelperCount(); ++i) names.push_back(parent.Helpers(i)->Name());
  return names;
}

template <class T>
T* Named(TComponent* owner, const std::string& name) {
  T* c = Create<T>(owner);
  c->SetName(name);
  return c;
}

TEST_F(TreeTest, ChildrenAreOrderedByRankNewestFirstWithinARank) {
  auto* root = Named<TInstallDirectory>(form(), "Root");
  Named<TInstallDirectory>(form(), "B")->SetContainer(root);
  Named<TInstallDirectory>(form(), "C")->SetContainer(root);
  EXPECT_EQ(ChildNames(*root), (std::vector<std::string>{"C", "B"}));
  Named<TInstallFile>(form(), "F")->SetContainer(root);
  Named<TTestListener>(form(), "L")->SetContainer(root);
  Named<TTestGroupRank>(form(), "G")->SetContainer(root);
  EXPECT_EQ(ChildNames(*root), (std::vector<std::string>{"G", "C", "B", "F", "L"}));
  // TINSTALLBDE goes first whatever its rank, in any letter case.
  Named<TInstallBde>(form(), "Bde")->SetContainer(root);
  EXPECT_EQ(root->Helpers(0)->Name(), "Bde");
}

TEST_F(TreeTest, CircularReferencesAreRefusedAndChangeNothing) {
  auto* a = Named<TInstallDirectory>(form(), "A");
  auto* b = Named<TInstallDirectory>(form(), "B");
  auto* c = Named<TInstallDirectory>(form(), "C");
  b->SetContainer(a);
  c->SetContainer(b);
  EXPECT_THROW(a->SetContainer(c), IEInstallContainer);
  EXPECT_THROW(a->SetContainer(a), IEInstallContainer);
  EXPECT_THROW(a->AddHelper(nullptr), IEInstallContainer);
  EXPECT_EQ(a->Container(), nullptr);
  EXPECT_EQ(ChildNames(*c), std::vector<std::string>{});
  EXPECT_EQ(ChildNames(*a), std::vector<std::string>{"B"});
  try {
    a->AddHelper(nullptr);
  } catch (const IEInstallContainer& e) {
    EXPECT_EQ(e.Message(), "Cannot add a blank base helper component to A");
  }
}

TEST_F(TreeTest, LookupsByIndexAndClass) {
  auto* root = Named<TInstallDirectory>(form(), "Root");
  auto* f1 = Named<TInstallFile>(form(), "F1");
  f1->SetFileName("one.txt");
  f1->SetContainer(root);
  Named<TInstallDirectory>(form(), "D")->SetContainer(root);
  auto* f2 = Named<TInstallFile>(form(), "F2");
  f2->SetFileName("two.txt");
  f2->SetContainer(root);
  EXPECT_EQ(root->CountHelpersOfClass(TCustomInstallFile::StaticClass()), 2);
  EXPECT_EQ(root->CountHelpersOfClass(TInstallObject::StaticClass()), 3);
  EXPECT_EQ(root->Comp(1, TInstallFile::StaticClass())->Name(), "F1");
  EXPECT_EQ(root->GetFileContainerCount(), 1);
  try {
    root->Helpers(3);
    FAIL();
  } catch (const IEInstallContainer& e) {
    EXPECT_EQ(e.Message(),
              "Tried to reference a helper component in the following component: Root. The following index was used: 3");
  }
  EXPECT_THROW(root->Comp(2, TInstallFile::StaticClass()), IEInstallContainer);
  root->FreeHelpersOfClass(TCustomInstallFile::StaticClass());
  EXPECT_EQ(ChildNames(*root), std::vector<std::string>{"D"});
  EXPECT_EQ(form()->FindComponent("F1"), nullptr);
}

TEST_F(TreeTest, DestroyedObjectsLeaveEveryList) {
  auto* root = Named<TInstallDirectory>(form(), "Root");
  auto* sub = Named<TInstallDirectory>(form(), "Sub");
  auto* listener = Named<TTestListener>(form(), "L");
  sub->SetContainer(root);
  listener->SetContainer(root);
  root->Free();
  EXPECT_EQ(sub->Container(), nullptr);
  EXPECT_EQ(listener->Container(), nullptr);
  const auto& all = InstallContainers().All();
  EXPECT_EQ(std::count(all.begin(), all.end(), static_cast<TInstallContainer*>(root)), 0);
  sub->Free();
  EXPECT_EQ(form()->FindComponent("Sub"), nullptr);
}

TEST_F(TreeTest, InstallTypesNeverEmpty) {
  auto* d = Create<TInstallDirectory>(form());
  d->SetInstallTypes({});
  EXPECT_EQ(d->InstallTypes(), TInstallTypeSet{itFull});
}

struct ProcessCase {
  const char* name;
  TInstallType current;
  TInstallTypeSet types;
  OSSet os;
  bool processed;
  std::vector<int> heard;  // broadcasts of the object to its own listener
  bool after_event;
};

TEST_F(TreeTest, ProcessFiltersByInstallTypeAndSystemAndReportsInOrder) {
  const OSSet all_windows{oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP};
  const ProcessCase cases[] = {
      // A directory's own install run adds "installing" (-992) and "ended" (-996).
      {"custom run takes everything", itCustom, {itFull}, all_windows, true, {-990, -999, -992, -996, -989}, true},
      {"type not chosen", itCompact, {itFull}, all_windows, false, {-990, -999}, false},
      {"type chosen", itFull, {itFull}, all_windows, true, {-990, -999, -992, -996, -989}, true},
      {"system not listed", itFull, {itFull}, OSSet{oswin95}, false, {-990}, false},
  };
  for (const auto& c : cases) {
    auto* dir = Create<TInstallDirectory>(form());
    auto* listener = Create<TTestListener>(form());
    listener->SetContainer(dir);
    dir->SetInstallTypes(c.types);
    dir->SetOS(c.os);
    dir->SetCurrentInstallType(c.current);
    std::vector<std::string> events;
    dir->OnBeforeProcess.Assign([&](TInstallContainer*) { events.push_back("before"); });
    dir->OnAfterProcess.Assign([&](TInstallContainer*) { events.push_back("after"); });
    dir->Process();
    EXPECT_EQ(dir->Processed(), c.processed) << c.name;
    // The listener is no file-related object: only the directory's own
    // broadcasts reach it.
    EXPECT_EQ(listener->heard, c.heard) << c.name;
    EXPECT_EQ(events.front(), "before") << c.name;
    EXPECT_EQ(events.size() == 2, c.after_event) << c.name;
    EXPECT_EQ(dir->Include(), c.os.Contains(oswinXP)) << c.name;
    listener->Free();
    dir->Free();
  }
}

TEST_F(TreeTest, SilentAbortSkipsAnObjectOtherErrorsStopTheRun) {
  auto* root = Named<TInstallDirectory>(form(), "Root");
  auto* skipped = Named<TInstallDirectory>(form(), "Skipped");
  auto* next = Named<TInstallDirectory>(form(), "Next");
  skipped->SetContainer(root);
  next->SetContainer(root);
  skipped->OnBeforeProcess.Assign([](TInstallContainer*) { throw EAbort(); });
  root->Process();
  EXPECT_TRUE(root->Processed());
  EXPECT_FALSE(skipped->Processed());
  EXPECT_TRUE(next->Processed());

  auto* failing = Named<TInstallDirectory>(form(), "Failing");
  failing->OnBeforeProcess.Assign([](TInstallContainer*) { throw IEFileContainer("disk on fire"); });
  EXPECT_THROW(failing->Process(), IEFileContainer);
  EXPECT_FALSE(failing->Processed());
}

TEST_F(TreeTest, DestinationDirectoryJoinsSpecifierAndFragment) {
  auto* dir = Create<TInstallDirectory>(form());
  dir->SetDestDirType(nullptr);
  dir->SetDestDir("C:\\Target\\");
  EXPECT_EQ(dir->GetDestinationDir(), "C:\\Target");

  auto* help = Create<TInstallDirectory>(form());
  dir->SetDestDir("C:\\Program Files\\Qry");
  help->SetContainer(dir);
  EXPECT_TRUE(dynamic_cast<TpsContainerDestDir*>(help->DestDirType()));
  help->SetDestDir("\\Help");
  EXPECT_EQ(help->GetDestinationDir(), "C:\\Program Files\\Qry\\Help");
  // Leaving the container drops the container-relative specifier.
  help->SetContainer(nullptr);
  EXPECT_EQ(help->DestDirType(), nullptr);
}

TEST_F(TreeTest, ArchivePathFollowsTheContainer) {
  auto* dir = Create<TInstallDirectory>(form());
  dir->SetArchiveFile("C:\\Build\\files.1\\");
  EXPECT_EQ(dir->GetArchivePath(), "C:\\Build\\files.1");
  auto* file = Create<TInstallFile>(form());
  file->SetContainer(dir);
  EXPECT_TRUE(dynamic_cast<TpsContainerArchiveFile*>(file->ArchiveFileType()));
  EXPECT_EQ(file->GetArchivePath(), "C:\\Build\\files.1");
  file->SetArchiveFile("ignored");  // the container's archive is the whole path
  EXPECT_EQ(file->ArchiveFile(), "");
}

TEST_F(TreeTest, FreedSpecifierIsClearedFromItsUsers) {
  auto* custom = Create<TPathSpecifier>(form());
  auto* dir = Create<TInstallDirectory>(form());
  dir->SetDestDirType(custom);
  dir->SetArchiveFileType(custom);
  custom->Free();
  EXPECT_EQ(dir->DestDirType(), nullptr);
  EXPECT_EQ(dir->ArchiveFileType(), nullptr);
}

TEST_F(TreeTest, GiveUniqueNameTable) {
  struct Case {
    const char* base;
    const char* want;
  };
  Named<TInstallFile>(form(), "IFreadme_txt");
  Named<TInstallFile>(form(), "IFreadme_txt1");
  const Case file_cases[] = {
      {"readme.txt", "IFreadme_txt2"},
      {"C:\\src\\my-file.h", "IFmyfile_h"},
      {"noext", "IFnoext_"},
  };
  for (const auto& c : file_cases) {
    auto* f = Create<TInstallFile>(form());
    GiveUniqueName(f, c.base);
    EXPECT_EQ(f->Name(), c.want) << c.base;
  }
  auto* d1 = Create<TInstallDirectory>(form());
  GiveUniqueName(d1, "Dir");
  auto* d2 = Create<TInstallDirectory>(form());
  GiveUniqueName(d2, "Dir");
  EXPECT_EQ(d1->Name(), "Dir");
  EXPECT_EQ(d2->Name(), "Dir1");
}

TEST_F(TreeTest, GlobalListsRefuseBlankEntries) {
  EXPECT_THROW(InstallContainers().Add(nullptr), IEContainerList);
  EXPECT_THROW(AllInstallFiles().Add(nullptr), IECustomInstallFileList);
  auto* f = Create<TInstallFile>(form());
  EXPECT_EQ(AllInstallFiles().Items(AllInstallFiles().Count() - 1), f);
}

}  // namespace
}  // namespace wenmoor
