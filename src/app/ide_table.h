// The IDE versions the product serves, always in this index order. The
// main form, the version page and the package installer all index by it.
#pragma once

#include <array>
#include <string>

namespace quarry {

enum TIdeIndex : int { ideDelphi3, ideDelphi4, ideDelphi5, ideDelphi6, ideBuilder6, ideDelphi7 };
inline constexpr int kIdeCount = 6;

struct TIdeVersion {
  const char* name;           // "Delphi 4": in the log, the memo and the version page
  int number;                 // 4
  const char* letter;         // "d" (Delphi) or "b" (C++Builder)
  const char* package_ext;    // ".bpl"
  const char* directory;      // the script's directory component holding its files
  const char* old_packages;   // comma text of earlier packages replaced on registration
  const char* reg_base;       // "\software\Borland\Delphi"
  const char* reg_version;    // "\4.0"
  const char* help_contents;  // the IDE's help contents file, relative to its root
  const char* search_path;    // the value under "\Library" holding the library search path
};

inline constexpr std::array<TIdeVersion, kIdeCount> kIdeVersions{{
    {"Delphi 3", 3, "d", ".dpl", "Delphi3", "dclqry12d3.dpl,dclqry13d3.dpl", "\\software\\Borland\\Delphi", "\\3.0",
     "\\Help\\Delphi3.cfg", "SearchPath"},
    {"Delphi 4", 4, "d", ".bpl", "Delphi4", "dclqry12d4.bpl,dclqry13d4.bpl", "\\software\\Borland\\Delphi", "\\4.0",
     "\\Help\\delphi4.ohl", "Search Path"},
    {"Delphi 5", 5, "d", ".bpl", "Delphi5", "dclqry12d5.bpl,dclqry13d5.bpl", "\\software\\Borland\\Delphi", "\\5.0",
     "\\Help\\delphi5.ohl", "Search Path"},
    {"Delphi 6", 6, "d", ".bpl", "Delphi6", "dclqry12d6.bpl,dclqry13d6.bpl", "\\software\\Borland\\Delphi", "\\6.0",
     "\\Help\\delphi6.ohl", "Search Path"},
    {"Builder 6", 6, "b", ".bpl", "Builder6", "dclqry12b6.bpi", "\\software\\Borland\\C++Builder", "\\6.0",
     "\\Help\\bcb6.ohl", "Search Path"},
    {"Delphi 7", 7, "d", ".bpl", "Delphi7", "dclqry12d7.bpl,dclqry13d7.bpl", "\\software\\Borland\\Delphi", "\\7.0",
     "\\Help\\delphi7.ohl", "Search Path"},
}};

// The order in which the main form walks the IDEs (memo, registration,
// product check): the Delphis by version, then C++Builder.
inline constexpr std::array<TIdeIndex, kIdeCount> kIdeListOrder{ideDelphi3, ideDelphi4, ideDelphi5,
                                                                ideDelphi6, ideDelphi7, ideBuilder6};

inline std::string IdeRegKey(int ide) {
  return std::string(kIdeVersions[static_cast<size_t>(ide)].reg_base) + kIdeVersions[static_cast<size_t>(ide)].reg_version;
}

// "dclqry14d4.bpl": the product's design-time package for the IDE.
inline std::string DesignPackageName(int ide) {
  const TIdeVersion& v = kIdeVersions[static_cast<size_t>(ide)];
  return std::string("dclqry14") + v.letter + std::to_string(v.number) + v.package_ext;
}

}  // namespace quarry
