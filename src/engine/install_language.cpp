// The language the user chose survives a restart in the installation
// record, so that the resumed program speaks it too.
#include "engine/cmp_TInstall.h"
#include "registry/routines_Registry.h"
#include "translation/cmp_TTranslator.h"

namespace wenmoor {

void TCustomInstall::SaveLanguage() {
  TTranslator* translator = MainTranslator();
  if (!translator || CurrentRecordKey().empty()) return;
  WriteRegistryInteger(hkLocalMachine, CurrentRecordKey(), "Language", translator->TranslateIntoLanguage());
}

int TCustomInstall::LoadLanguage() {
  TTranslator* translator = MainTranslator();
  const int fallback = translator ? translator->TranslateIntoLanguage() : wlUser;
  if (CurrentRecordKey().empty()) return fallback;
  const int stored = ReadRegistryInteger(hkLocalMachine, CurrentRecordKey(), "Language", fallback);
  // A number beyond the languages is as unreadable as a value of another kind.
  return stored >= 0 && stored <= wlVietnamese ? stored : fallback;
}

void TCustomInstall::LoadLanguageIntoTranslator() {
  if (TTranslator* translator = MainTranslator())
    translator->SetTranslateIntoLanguage(static_cast<TWnmrLanguage>(LoadLanguage()));
}

}  // namespace wenmoor
