#include "app/frmMain.h"

#include <functional>
#include <vector>

#include "engine/cmp_TInstall.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/registry.h"
#include "registry/cmp_TInstallRegistry.h"
#include "script/cmp_TFileContainer.h"

namespace quarry {

using namespace wenmoor;

namespace {

constexpr const char* kProductName = "Quarry Database Engine";
constexpr const char* kCompanyName = "Fennick Software";
constexpr const char* kProductKey = "\\Software\\Fennick Software\\Quarry";
constexpr const char* kHelpFile = "quarry.hlp";
// The IDEs whose steps the registration brackets with "Pre:" and "Post:" lines.
constexpr bool kBracketedInLog[kIdeCount] = {true, true, false, false, true, true};

const char* IdeName(int ide) { return kIdeVersions[static_cast<size_t>(ide)].name; }

// Sets a published string property by name, for a component whose class
// this unit need not know (the title label).
void SetPublishedString(TComponent* c, const char* property, const std::string& value) {
  if (!c) return;
  const TPropInfo* p = c->ClassType().FindProperty(property);
  if (p && p->kind == TTypeKind::String && p->set_string) p->set_string(*c, value);
}

}  // namespace

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
  using Handler = std::function<void(TObject*)>;
  PublishMethod("FormCreate", Handler([this](TObject* s) { FormCreate(s); }));
  PublishMethod("FormDestroy", Handler([this](TObject* s) { FormDestroy(s); }));
  PublishMethod("Install1AfterInitialized", Handler([this](TObject* s) { Install1AfterInitialized(s); }));
  PublishMethod("Install1BeforeNotifyGoodInstall", Handler([this](TObject* s) { Install1BeforeNotifyGoodInstall(s); }));
}

TMainForm::~TMainForm() = default;

template <class T>
T& TMainForm::Part(std::string_view name) const {
  T* part = dynamic_cast<T*>(FindComponent(name));
  if (!part)
    throw EComponentError("The install script has no %s component named %s", T::StaticClass().Name(),
                          std::string(name));
  return *part;
}

TCustomInstall* TMainForm::Install1() const { return &Part<TCustomInstall>("Install1"); }

TFileContainer* TMainForm::IdeDirectory(int ide) const {
  if (ide < 0 || ide >= kIdeCount) return nullptr;
  return dynamic_cast<TFileContainer*>(FindComponent(kIdeVersions[static_cast<size_t>(ide)].directory));
}

bool TMainForm::HoldsFiles(int ide) const {
  TFileContainer* dir = IdeDirectory(ide);
  return dir && dir->FileCount() > 0;
}

void TMainForm::FormCreate(TObject*) {
  TInstallLog& log = InstallLog();
  log.Add(std::string("Commencing Installation - ") + kProductName);
  log.Save();
  package_installer_ = std::make_unique<TPackageInstaller>(log);
  Part<TCustomInstallRegistry>("InstallRegistry").SetKey(kProductKey);
  TCustomInstall& install = *Install1();
  install.Information()->SetCompanyName(kCompanyName);
  install.Information()->SetProductName(kProductName);
  install.Information()->SetVersion("141");
  install.SetDestDir("\\Quarry");
  SetPublishedString(FindComponent("ProductLabel"), "Caption", kProductName);
  log.Save();
}

void TMainForm::FormDestroy(TObject*) { package_installer_.reset(); }

void TMainForm::Install1AfterInitialized(TObject*) {
  TCustomInstall& install = *Install1();
  std::string previous;
  try {
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (registry.OpenKeyReadOnly(kProductKey)) previous = registry.ReadString("InstallPath");
  } catch (const std::exception&) {
    previous.clear();  // an unreadable value keeps the script's destination
  }
  if (!previous.empty()) {
    // A new installation goes where the previous one went.
    install.SetDestDirType(nullptr);
    install.SetDestDir(previous);
  }
  TInstallLog& log = InstallLog();
  log.Add("Install1AfterInitialized. Moving Dir to: " + install.GetDestinationDir());
  log.Save();
  log.SetLogDir(install.DestDir());
  log.Add("Install1AfterInitialized");
  log.Save();
}

void TMainForm::Install1BeforeNotifyGoodInstall(TObject*) {
  TInstallLog& log = InstallLog();
  const std::vector<std::string> classes = ListEntries("TQryDatabase,TQryTable, TQryQuery", ',');
  TFileContainer* help_dir = dynamic_cast<TFileContainer*>(FindComponent("HelpDir"));
  const bool has_help = help_dir && help_dir->FileCount() > 0;
  for (int ide : kIdeListOrder) {
    const std::string name = IdeName(ide);
    if (kBracketedInLog[ide]) log.Add("Installing product. Pre: " + name);
    TFileContainer* dir = IdeDirectory(ide);
    if (selected_ides_[static_cast<size_t>(ide)] && dir && dir->Include()) {
      const std::string package_name = DesignPackageName(ide);
      const std::vector<std::string> packages =
          ListEntries(std::string(kIdeVersions[static_cast<size_t>(ide)].old_packages) + "," + package_name, ',');
      const std::string package_file = IncludeTrailingBackslash(dir->GetDestinationDir()) + package_name;
      log.Add("Installing product. Product - " + name + " Starting");
      package_installer_->PreparePalette(ide, "Data Access", classes);
      package_installer_->InstallPackage(ide, package_file, packages, kProductName);
      if (has_help) package_installer_->InstallHelp(ide, kHelpFile);
      log.Add("Installing product. Product - " + name + " Done");
    }
    if (kBracketedInLog[ide]) log.Add("Installing product. Post: " + name);
    log.Save();
  }
}

void TMainForm::SelectIDEs(const std::array<bool, kIdeCount>& flags) {
  selected_ides_ = flags;
  for (int ide = 0; ide < kIdeCount; ++ide) {
    if (TFileContainer* dir = IdeDirectory(ide)) dir->SetInclude(dir->FileCount() > 0 && flags[static_cast<size_t>(ide)]);
  }
}

bool TMainForm::CheckComponentSupportVersion(int ide) {
  if (ide < 0 || ide >= kIdeCount) return false;
  const bool result = HoldsFiles(ide);
  InstallLog().Add(std::string("CheckComponentSupportVersion ") + IdeName(ide) + ": " + (result ? "True" : "False"));
  InstallLog().Save();
  return result;
}

int TMainForm::GetComponentInstallationCount() {
  int count = 0;
  for (int ide = 0; ide < kIdeCount; ++ide) count += HoldsFiles(ide) ? 1 : 0;
  InstallLog().Add("GetComponentInstallationCount " + std::to_string(count));
  InstallLog().Save();
  return count;
}

bool TMainForm::AnyProductPresent() {
  for (int ide : kIdeListOrder)
    if (HoldsFiles(ide) && package_installer_ && package_installer_->GetInstallInfo(ide).Found) return true;
  return false;
}

void TMainForm::FillSettingsMemo(TStrings& memo) {
  TCustomInstall& install = *Install1();
  memo.BeginUpdate();
  memo.Clear();
  memo.Add(" ");
  memo.Add(install.Information()->ProductName() + " V" + install.Information()->Version());
  memo.Add(std::string("Demonstration") + " version");
  memo.Add(" ");
  memo.Add("Product Versions to install:");
  for (int ide : kIdeListOrder) {
    TFileContainer* dir = IdeDirectory(ide);
    if (dir && dir->Include()) memo.Add(std::string("     ") + IdeName(ide));
  }
  memo.Add(" ");
  memo.Add("Installation directory:");
  memo.Add(install.GetDestinationDir());
  memo.EndUpdate();

  TInstallLog& log = InstallLog();
  log.SetLogDir(install.DestDir());
  log.Add("Installation Settings");
  for (const std::string& line : memo.Items()) log.Add(line);
  log.Add("  ");
}

TMainForm* MainForm() { return dynamic_cast<TMainForm*>(TApplication::Instance().MainForm()); }

WENMOOR_REGISTER_CLASS(TMainForm) {}

}  // namespace quarry
