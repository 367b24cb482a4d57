#include "support/cmp_TVersion.h"

#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <vector>

#include "platform/rtl/sysutils.h"
#include "platform/ui/forms.h"
#include "platform/win/file_stream.h"
#include "platform/win/files.h"
#include "support/pe_version_reader.h"
#include "support/version_compare.h"

namespace wenmoor {

WENMOOR_REGISTER_CLASS(TVersionResource) {
  c.Prop("FileName", &T::FileName, &T::SetFileName);
  c.Prop("Language", &T::Language, &T::SetLanguage).Default(lnUSEnglish);
  c.Prop("CharacterSet", &T::CharacterSet, &T::SetCharacterSet).Default(csMultilingual);
  c.Object("VersionInfo", &T::VersionInfo);
}

namespace {

// Indexed by TLanguage and TCharacterSet.
constexpr uint16_t kLanguageIds[] = {
    1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039,
    1040, 1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054,
    1055, 1056, 1057, 2052, 2055, 2057, 2058, 2060, 2064, 2067, 2068, 2070, 2074, 3084, 4108,
};
static_assert(std::size(kLanguageIds) == lnSwissFrench + 1);

constexpr uint16_t kCodePages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
static_assert(std::size(kCodePages) == csArabic + 1);

// A PE file larger than this is not read: Windows cannot load one either,
// and the whole file is held in memory while it is parsed.
constexpr int64_t kMaxImageSize = int64_t{1} << 30;

}  // namespace

std::optional<PeVersionInfo> ReadVersionInfo(const std::string& path) {
  if (Trim(path).empty()) return std::nullopt;
  try {
    TFileStream in(path, fmOpenRead | fmShareDenyNone);
    const int64_t size = in.Size();
    if (size < 2 || size > kMaxImageSize) return std::nullopt;
    // Most files an installer meets are no programs: look at the "MZ"
    // before reading the rest.
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    in.ReadBuffer(bytes.data(), 2);
    if (bytes[0] != 'M' || bytes[1] != 'Z') return std::nullopt;
    in.ReadBuffer(bytes.data() + 2, size - 2);
    return PeVersionReader::Read(bytes);
  } catch (const Exception&) {
    return std::nullopt;  // unreadable: no version information, as documented
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // too large to hold: the same
  }
}

namespace {

// The file's last-write date at DOS resolution, read while the file is
// open for reading with sharing allowed; nullopt when it cannot be opened.
std::optional<TDateTime> DosFileDate(const std::string& path) {
  try {
    TFileStream open_for_reading(path, fmOpenRead | fmShareDenyNone);
    const auto date = platform::GetFileDate(path);
    if (!date) return std::nullopt;
    const uint32_t dos = platform::DateTimeToDosDateTime(*date);
    if (dos == 0) return std::nullopt;  // outside the range DOS dates hold
    return platform::DosDateTimeToDateTime(dos);
  } catch (const Exception&) {
    return std::nullopt;
  }
}

std::string FileVersionOf(const std::string& path) {
  TVersionResource& reader = TVersionResource::Shared();
  reader.SetFileName(path);
  return reader.VersionInfo()->FileVersion();
}

bool DestExists(const std::string& dest) { return !Trim(dest).empty() && platform::FileExists(dest); }

// The decision table. The candidate's version and date are asked for only
// when the rule needs them.
TFileCompareResult Decide(TOverwriteType overwrite, const std::string& dest,
                          const std::function<std::string()>& candidate_version,
                          const std::function<std::optional<TDateTime>()>& candidate_date) {
  switch (overwrite) {
    case owAlways:
      return fcNewer;
    case owAsk:
      return fcAsk;
    case owNever:
      return DestExists(dest) ? fcOlder : fcNewer;
    case owVersion:
    case owDate:
    case owVersionDate:
      break;
  }
  // With no existing file there is nothing to keep. Without this, a
  // candidate that has no version resource would compare "same" as a
  // missing file under owVersion, and the file would never be installed.
  if (!DestExists(dest)) return fcNewer;

  if (overwrite == owVersion || overwrite == owVersionDate) {
    const std::string dest_version = FileVersionOf(dest);
    switch (CompareVersions(candidate_version(), dest_version)) {
      case 1:
        return fcNewer;
      case 2:
        return fcOlder;
      default:
        if (overwrite == owVersion) return fcSame;
        break;  // owVersionDate: equal versions, so the dates decide
    }
  }

  const std::optional<TDateTime> candidate = candidate_date();
  const std::optional<TDateTime> existing = DosFileDate(dest);
  if (!candidate || !existing) return fcError;
  if (*candidate > *existing) return fcNewer;
  if (*candidate < *existing) return fcOlder;
  return fcSame;
}

ComponentPtr<TVersionResource>& SharedSlot() {
  static ComponentPtr<TVersionResource> shared;
  return shared;
}

}  // namespace

uint16_t LanguageId(TLanguage language) { return kLanguageIds[language]; }
uint16_t CodePage(TCharacterSet character_set) { return kCodePages[character_set]; }

TVersionResource::TVersionResource(TComponent* owner)
    : TComponent(owner),
      file_name_(TApplication::Instance().ExeName()),
      version_info_(std::make_unique<TVersionInfo>()) {
  ReadResource();
}

TVersionResource::~TVersionResource() = default;

void TVersionResource::SetFileName(const std::string& file_name) {
  file_name_ = file_name;
  ReadResource();
}

void TVersionResource::SetLanguage(TLanguage language) {
  language_ = language;
  ReadResource();
}

void TVersionResource::SetCharacterSet(TCharacterSet character_set) {
  character_set_ = character_set;
  ReadResource();
}

void TVersionResource::ReadResource() {
  version_info_->Clear();
  if (const auto info = ReadVersionInfo(file_name_)) {
    version_info_->Fill(*info, PeVersionInfo::TableKey(LanguageId(language_), CodePage(character_set_)));
  }
}

int TVersionResource::CompareVersions(std::string_view a, std::string_view b) {
  return wenmoor::CompareVersions(a, b);
}

TFileCompareResult TVersionResource::IsFileNewerByName(const std::string& source, const std::string& dest,
                                                       TOverwriteType overwrite) {
  return Decide(
      overwrite, dest, [&] { return FileVersionOf(source); }, [&] { return DosFileDate(source); });
}

TFileCompareResult TVersionResource::IsFileNewer(const std::string& source_version, const std::string& dest,
                                                 TOverwriteType overwrite, TDateTime source_date) {
  return Decide(
      overwrite, dest, [&] { return source_version; },
      [&]() -> std::optional<TDateTime> { return source_date; });
}

TVersionResource& TVersionResource::Shared() {
  auto& shared = SharedSlot();
  if (!shared) shared = CreateUnowned<TVersionResource>();
  return *shared;
}

void TVersionResource::FreeShared() { SharedSlot().reset(); }

}  // namespace wenmoor
