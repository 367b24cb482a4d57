// Language text from outside (a language file or a script's lines): any
// bytes either parse or raise one of the format's errors, after which the
// language holds nothing; what parses can be found again by its wording and
// its GLID, and a text never outgrows its limit.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/rtl/ansi_strings.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/sysutils.h"
#include "translation/cmp_TTranslator.h"

using namespace wenmoor;

namespace {

size_t Characters(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

bool IsFormatError(const std::string& message) {
  return (message.starts_with("The ") && message.find(") does not have the proper format of GLID;Text") != std::string::npos) ||
         message.starts_with("Found the end of memo marker # at line ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ComponentPtr<TTranslator> translator = CreateUnowned<TTranslator>();
  TLanguage& language = *translator->Lg<wlGerman>();
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  try {
    language.Strings()->LoadFromStream(stream);
  } catch (const Exception& e) {
    if (!IsFormatError(e.Message())) std::abort();
    if (!language.Elements().empty() || !language.Memos().empty()) std::abort();
    if (!language.AutoParse()) std::abort();
    return 0;
  }
  const int lines = language.Strings()->Count();
  for (const auto& e : language.Elements()) {
    if (e->Line() < 0 || e->Line() >= lines) std::abort();
    if (Characters(e->Text()) > kMaxTextLength || Trim(e->Text()).empty()) std::abort();
    if (e->Text().find(';') != std::string::npos) std::abort();
    const TLanguageString* by_text = language.FindStringByText(e->Text());
    if (!by_text || !AnsiSameText(by_text->Text(), e->Text())) std::abort();
    const TLanguageString* by_glid = language.FindStringByGLID(e->GLID());
    if (!by_glid || by_glid->GLID() != e->GLID()) std::abort();
  }
  for (const auto& m : language.Memos()) {
    if (m->Line() < 0 || m->Line() >= lines) std::abort();
    const TLanguageMemo* found = language.FindMemoByText(*m->Lines());
    if (!found || found->Lines()->Text() != m->Lines()->Text()) std::abort();
  }
  // Parsing the same lines again gives the same elements.
  const size_t elements = language.Elements().size(), memos = language.Memos().size();
  language.Parse();
  if (language.Elements().size() != elements || language.Memos().size() != memos) std::abort();
  return 0;
}
