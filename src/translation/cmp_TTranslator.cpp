#include "translation/cmp_TTranslator.h"

#include <array>
#include <exception>
#include <utility>

#include "platform/rtl/ansi_strings.h"
#include "platform/rtl/cleanup.h"
#include "platform/rtl/localize.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/choices.h"
#include "platform/ui/edits.h"
#include "platform/ui/forms.h"
#include "platform/ui/labels.h"
#include "platform/win/file_stream.h"
#include "platform/win/user_locale.h"
#include "translation/cmp_TTranslateControls.h"

namespace wenmoor {
namespace {

struct LanguageRow {
  TWnmrLanguage ident;
  const char* name;  // file "wnmi<name>.txt", property "lg<name>"
  const char* resource;
  TFontCharset charset;
  const char* face;
  int min_size;
};

// The face names of the far-eastern languages are byte strings in the code
// pages of their languages, used as they are.
constexpr const char* kChineseFace = "\xB7\x73\xB2\xD3\xA9\xFA\xC5";
constexpr const char* kJapaneseFace = "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr const char* kKoreanFace = "\xB9\xD9\xC5\xC1";

// Hebrew has its character set but no face of its own: Arial carries the
// Hebrew letters, at the size of the other Western languages.
constexpr std::array<LanguageRow, 21> kLanguages = {{
    {wlChineseSimplified, "ChineseSimplified", "BM_LANG_SIMPCHINESE", GB2312_CHARSET, kChineseFace, 9},
    {wlChineseTraditional, "ChineseTraditional", "BM_LANG_CHINESE_TRADITIONAL", CHINESEBIG5_CHARSET, kChineseFace, 9},
    {wlCzech, "Czech", "BM_LANG_CZECH", EASTEUROPE_CHARSET, "Arial", 8},
    {wlDanish, "Danish", "BM_LANG_DANISH", ANSI_CHARSET, "Arial", 8},
    {wlDutch, "Dutch", "BM_LANG_DUTCH", ANSI_CHARSET, "Arial", 8},
    {wlEnglish, "English", "BM_LANG_ENGLISH", ANSI_CHARSET, "Arial", 8},
    {wlFrench, "French", "BM_LANG_FRENCH", ANSI_CHARSET, "Arial", 8},
    {wlGerman, "German", "BM_LANG_GERMAN", ANSI_CHARSET, "MS Sans Serif", 8},
    {wlGreek, "Greek", "BM_LANG_GREEK", ANSI_CHARSET, "SGreek", 8},
    {wlHebrew, "Hebrew", "BM_LANG_HEBREW", HEBREW_CHARSET, "Arial", 8},
    {wlItalian, "Italian", "BM_LANG_ITALIAN", ANSI_CHARSET, "Arial", 8},
    {wlJapanese, "Japanese", "BM_LANG_JAPANESE", SHIFTJIS_CHARSET, kJapaneseFace, 9},
    {wlKorean, "Korean", "BM_LANG_KOREAN", HANGEUL_CHARSET, kKoreanFace, 9},
    {wlNorwegianBokmal, "NorwegianBokmal", "BM_LANG_NORWEGIAN_BOKMAL", ANSI_CHARSET, "Arial", 8},
    {wlNorwegianNynorsk, "NorwegianNynorsk", "BM_LANG_NORWEGIAN_NYNORSK", ANSI_CHARSET, "Arial", 8},
    {wlPolish, "Polish", "BM_LANG_POLISH", EASTEUROPE_CHARSET, "Arial", 8},
    {wlPortugese, "Portugese", "BM_LANG_PORTUGESE", EASTEUROPE_CHARSET, "Arial", 8},
    {wlRussian, "Russian", "BM_LANG_RUSSIAN", RUSSIAN_CHARSET, "Arial", 8},
    {wlSpanish, "Spanish", "BM_LANG_SPANISH", ANSI_CHARSET, "Arial", 8},
    {wlSwedish, "Swedish", "BM_LANG_SWEDISH", ANSI_CHARSET, "Arial", 8},
    {wlVietnamese, "Vietnamese", "BM_LANG_VIETNAMESE", VIETNAMESE_CHARSET, "Arial", 8},
}};

const LanguageRow& RowOf(TWnmrLanguage ident) {
  for (const LanguageRow& row : kLanguages)
    if (row.ident == ident) return row;
  throw Exception("Unrecognized language");
}

TTranslator*& MainSlot() {
  static TTranslator* main = nullptr;
  return main;
}

// The localizer that was installed before the main translator took over.
MessageLocalizer& PreviousLocalizer() {
  static MessageLocalizer previous;
  return previous;
}

}  // namespace

// ---------------------------------------------------------------------------
// Tables

TWnmrLanguage LanguageOfLangID(uint16_t lang_id) {
  const unsigned primary = lang_id & 0x3FF;
  const unsigned sub = (lang_id >> 10) & 0x3F;
  switch (primary) {
    case 0x04: return sub == 1 ? wlChineseTraditional : wlChineseSimplified;
    case 0x05: return wlCzech;
    case 0x06: return wlDanish;
    case 0x07: return wlGerman;
    case 0x08: return wlGreek;
    case 0x0A: return wlSpanish;
    case 0x0C: return wlFrench;
    case 0x0D: return wlHebrew;
    case 0x10: return wlItalian;
    case 0x11: return wlJapanese;
    case 0x12: return wlKorean;
    case 0x13: return wlDutch;
    case 0x14: return sub == 1 ? wlNorwegianBokmal : wlNorwegianNynorsk;
    case 0x15: return wlPolish;
    case 0x16: return wlPortugese;
    case 0x19: return wlRussian;
    case 0x1D: return wlSwedish;
    case 0x2A: return wlVietnamese;
    default: return wlEnglish;
  }
}

TFontCharset CharsetOfLanguage(TWnmrLanguage language) { return RowOf(language).charset; }

LanguageFontRule FontRuleOfLanguage(TWnmrLanguage language) {
  const LanguageRow& row = RowOf(language);
  return {row.face, row.min_size};
}

// ---------------------------------------------------------------------------
// Elements

TLanguageMemo::TLanguageMemo(int32_t glid, TLanguage* language, int line, const std::vector<std::string>& lines)
    : TLanguageElement(glid, language, line), lines_(std::make_unique<TStringList>()) {
  lines_->SetLines(lines);
}

// ---------------------------------------------------------------------------
// TLangFormatStrings

template <class F>
void TLangFormatStrings::Bulk(F&& work) {
  language_->SetAutoParse(false);
  try {
    work();
  } catch (...) {
    language_->SetAutoParse(true);
    throw;
  }
  language_->SetAutoParse(true);
  language_->Parse();
}

void TLangFormatStrings::Changed() {
  TStringList::Changed();
  language_->Parse();
}

void TLangFormatStrings::SetText(std::string_view text) {
  Bulk([&] { TStringList::SetText(text); });
}

void TLangFormatStrings::AddStrings(const TStrings& lines) {
  Bulk([&] {
    for (const std::string& line : lines.Items()) Add(line);
  });
}

void TLangFormatStrings::Move(int from, int to) {
  for (int index : {from, to})
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", index);
  if (from == to) return;
  std::string line = std::move(items_[static_cast<size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(line));
  Changed();
}

void TLangFormatStrings::SetLines(const std::vector<std::string>& lines) {
  Bulk([&] { TStringList::SetLines(lines); });
}

void TLangFormatStrings::Assign(const TPersistent& source) {
  Bulk([&] { TStringList::Assign(source); });
}

void TLangFormatStrings::LoadFromStream(TStream& stream) {
  std::string text(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
  text.resize(static_cast<size_t>(stream.Read(text.data(), static_cast<int64_t>(text.size()))));
  std::string_view view(text);
  if (view.starts_with("\xEF\xBB\xBF")) view.remove_prefix(3);
  SetText(view);
}

void TLangFormatStrings::LoadFromFile(std::string_view file_name) {
  TFileStream stream(file_name, fmOpenRead | fmShareDenyWrite);
  try {
    LoadFromStream(stream);
  } catch (const Exception& e) {
    throw Exception("%s: %s", file_name, e.Message());
  }
}

// ---------------------------------------------------------------------------
// TLanguage

TLanguage::TLanguage(TTranslator* translator, TWnmrLanguage ident)
    : translator_(translator),
      resource_name_(RowOf(ident).resource),
      file_name_(std::string("wnmi") + RowOf(ident).name + ".txt"),
      font_(std::make_unique<TFont>()),
      ident_(ident),
      strings_(std::make_unique<TLangFormatStrings>(this)) {}

TLanguage::~TLanguage() = default;

void TLanguage::Parse() {
  if (!auto_parse_) return;
  elements_.clear();
  memos_.clear();
  // Built aside, so that an error leaves the language empty.
  ParsedLanguageText parsed = ParseLanguageText(strings_->Items());
  for (ParsedLanguageString& s : parsed.strings)
    elements_.push_back(std::make_unique<TLanguageString>(s.glid, this, s.line, std::move(s.text)));
  for (const ParsedLanguageMemo& m : parsed.memos)
    memos_.push_back(std::make_unique<TLanguageMemo>(m.glid, this, m.line, m.lines));
}

TLanguageString* TLanguage::FindStringByText(std::string_view text) const {
  for (const auto& e : elements_)
    if (AnsiSameText(e->Text(), text)) return e.get();
  return nullptr;
}

TLanguageString* TLanguage::FindStringByGLID(int32_t glid) const {
  for (const auto& e : elements_)
    if (e->GLID() == glid) return e.get();
  return nullptr;
}

TLanguageMemo* TLanguage::FindMemoByText(const TStrings& lines) const {
  const std::string wanted = lines.Text();
  for (const auto& m : memos_)
    if (m->Lines()->Text() == wanted) return m.get();
  return nullptr;
}

TLanguageMemo* TLanguage::FindMemoByGLID(int32_t glid) const {
  for (const auto& m : memos_)
    if (m->GLID() == glid) return m.get();
  return nullptr;
}

// ---------------------------------------------------------------------------
// TTranslator

TTranslator::TTranslator(TComponent* owner) : TComponent(owner) {
  for (const LanguageRow& row : kLanguages) languages_.push_back(std::make_unique<TLanguage>(this, row.ident));
  if (!MainSlot()) {
    MainSlot() = this;
    PreviousLocalizer() = SetMessageLocalizer([](std::string_view english) {
      TTranslator* main = MainTranslator();
      return main ? main->TranslateString(wlEnglish, english) : std::string(english);
    });
  }
}

TTranslator::~TTranslator() {
  if (MainSlot() == this) {
    MainSlot() = nullptr;
    SetMessageLocalizer(std::move(PreviousLocalizer()));
  }
}

void TTranslator::SetTranslateIntoLanguage(TWnmrLanguage language) {
  translate_into_ = language;
  OnLanguageChange(this);
}

TLanguage* TTranslator::LanguageByIdent(TWnmrLanguage ident) const {
  for (const auto& l : languages_)
    if (l->LanguageIdent() == ident) return l.get();
  return nullptr;
}

TLanguage* TTranslator::SystemLanguage() const {
  try {
    return LanguageByIdent(LanguageOfLangID(platform::GetUserDefaultLangID()));
  } catch (const std::exception&) {
    return nullptr;
  }
}

TLanguage* TTranslator::Resolve(TWnmrLanguage ident) const {
  return ident == wlUser ? SystemLanguage() : LanguageByIdent(ident);
}

TLanguage* TTranslator::TargetLanguage() const { return Resolve(translate_into_); }

std::string TTranslator::TranslateString(TWnmrLanguage source, std::string_view text) const {
  const TLanguage* from = Resolve(source);
  if (!from) return std::string(text);
  const TLanguageString* found = from->FindStringByText(text);
  if (!found) return std::string(text);
  return TranslateGLID(found->GLID(), text);
}

std::string TTranslator::TranslateGLID(int32_t glid, std::string_view text) const {
  const TLanguage* to = TargetLanguage();
  const TLanguageString* found = to ? to->FindStringByGLID(glid) : nullptr;
  return found ? found->Text() : std::string(text);
}

void TTranslator::TranslateLines(TWnmrLanguage source, const TStrings& lines, TStrings& result) const {
  result.Assign(lines);
  const TLanguage* from = Resolve(source);
  const TLanguageMemo* memo = from ? from->FindMemoByText(lines) : nullptr;
  if (!memo) return;
  const TLanguage* to = TargetLanguage();
  if (const TLanguageMemo* translated = to ? to->FindMemoByGLID(memo->GLID()) : nullptr)
    result.Assign(*translated->Lines());
}

void TTranslator::TranslateProperties(TWnmrLanguage source, TComponent& component) {
  for (const TPropInfo* p : component.ClassType().Properties()) {
    if (p->kind != TTypeKind::String || !p->set_string || SameText(p->name, "NAME")) continue;
    const std::string value = p->get_string(component);
    if (Trim(value).empty()) continue;
    // Only a text that changes is set: setters of other string properties
    // (paths, names of files) need not run again for their own value.
    std::string translated = TranslateString(source, value);
    if (translated != value) p->set_string(component, translated);
  }
  if (auto* memo = dynamic_cast<TCustomMemo*>(&component)) {
    TStringList result;
    TranslateLines(source, *memo->Lines(), result);
    if (!(result == *memo->Lines())) memo->Lines()->Assign(result);
  } else if (auto* group = dynamic_cast<TCustomRadioGroup*>(&component)) {
    TStrings* items = group->Items();
    for (int i = 0; i < items->Count(); ++i) {
      std::string translated = TranslateString(source, items->Strings(i));
      if (translated != items->Strings(i)) items->Put(i, std::move(translated));
    }
  }
}

TWnmrLanguage TTranslator::TranslateComponent(TWnmrLanguage source, TComponent* component) {
  if (!component) return source;
  // A label does not size itself to each intermediate text; it takes the
  // size of its final caption when its automatic sizing comes back.
  auto* label = dynamic_cast<TCustomLabel*>(component);
  const bool auto_size = label && label->AutoSize();
  if (label) label->SetAutoSize(false);
  WithCleanup(
      [&] {
        const int32_t glid = GLIDOf(*component);
        if (glid != 0) {
          if (glid > 0) {
            auto& control = static_cast<TControl&>(*component);
            control.SetCaption(TranslateGLID(glid, control.Caption()));
          }
        } else {
          TranslateProperties(source, *component);
        }
        for (int i = 0; i < component->ComponentCount(); ++i) {
          TComponent* child = component->Components(i);
          if (!dynamic_cast<TCustomForm*>(child)) TranslateComponent(source, child);
        }
      },
      [&] {
        if (label) label->SetAutoSize(auto_size);
      });

  const TLanguage* target = TargetLanguage();
  const TWnmrLanguage result = (!target || target->Strings()->Empty()) ? source : translate_into_;
  if (auto* win = dynamic_cast<TWinControl*>(component)) win->Realign();
  return result;
}

TWnmrLanguage TTranslator::TranslateComponentInto(TWnmrLanguage source, TWnmrLanguage target,
                                                  TComponent* component) {
  const TWnmrLanguage previous = std::exchange(translate_into_, target);
  TWnmrLanguage result = source;
  WithCleanup([&] { result = TranslateComponent(source, component); }, [&] { translate_into_ = previous; });
  return result;
}

void TTranslator::SetControlFont(TControl* control, bool force) {
  if (!control) return;
  const TLanguage* language = TargetLanguage();
  if (!language) return;
  if (language->Strings()->Empty() && !force) language = LanguageByIdent(wlEnglish);
  ApplyLanguageFont(control, *language);
}

void TTranslator::SetControlFontIn(TWnmrLanguage language, TControl* control, bool force) {
  const TWnmrLanguage previous = std::exchange(translate_into_, language);
  WithCleanup([&] { SetControlFont(control, force); }, [&] { translate_into_ = previous; });
}

// ---------------------------------------------------------------------------
// Fonts and the main translator

void ApplyLanguageFont(TControl* control, const TLanguage& language) {
  if (!control) return;
  TFont font;
  if (language.FontOverride()) {
    font.Assign(*language.Font());
  } else {
    const LanguageFontRule rule = FontRuleOfLanguage(language.LanguageIdent());
    font.Assign(*control->Font());
    font.SetCharSet(CharsetOfLanguage(language.LanguageIdent()));
    font.SetName(rule.face);
    if (font.Size() < rule.min_size) font.SetSize(rule.min_size);
  }
  control->SetFont(font);
  if (auto* win = dynamic_cast<TWinControl*>(control))
    for (int i = 0; i < win->ControlCount(); ++i) ApplyLanguageFont(win->Controls(i), language);
}

TTranslator* MainTranslator() { return MainSlot(); }

void SetFormFont(TControl* form) {
  if (TTranslator* t = MainTranslator()) t->SetControlFont(form, false);
}

void SetFormFontIn(TWnmrLanguage language, TControl* form) {
  if (TTranslator* t = MainTranslator()) t->SetControlFontIn(language, form, false);
}

TWnmrLanguage TranslateForm(TWnmrLanguage current, TComponent* form) {
  TTranslator* t = MainTranslator();
  return t ? t->TranslateComponent(current, form) : current;
}

TWnmrLanguage TranslateFormInto(TWnmrLanguage current, TWnmrLanguage target, TComponent* form) {
  TTranslator* t = MainTranslator();
  return t ? t->TranslateComponentInto(current, target, form) : current;
}

// ---------------------------------------------------------------------------
// Published properties

WENMOOR_REGISTER_CLASS(TLangFormatStrings) { c.Lines("Strings", &T::StoredLines, &T::SetLines); }

WENMOOR_REGISTER_CLASS(TLanguage) {
  c.Object("Font", &T::Font);
  c.Prop("FontOverride", &T::FontOverride, &T::SetFontOverride).Default(false);
  c.Prop("LanguageIdent", &T::LanguageIdent);
  c.Object("Strings", &T::Strings);
}

WENMOOR_REGISTER_CLASS(TTranslator) {
  c.Object("lgChineseSimplified", &T::template Lg<wlChineseSimplified>);
  c.Object("lgChineseTraditional", &T::template Lg<wlChineseTraditional>);
  c.Object("lgCzech", &T::template Lg<wlCzech>);
  c.Object("lgDanish", &T::template Lg<wlDanish>);
  c.Object("lgDutch", &T::template Lg<wlDutch>);
  c.Object("lgEnglish", &T::template Lg<wlEnglish>);
  c.Object("lgFrench", &T::template Lg<wlFrench>);
  c.Object("lgGerman", &T::template Lg<wlGerman>);
  c.Object("lgGreek", &T::template Lg<wlGreek>);
  c.Object("lgHebrew", &T::template Lg<wlHebrew>);
  c.Object("lgItalian", &T::template Lg<wlItalian>);
  c.Object("lgJapanese", &T::template Lg<wlJapanese>);
  c.Object("lgKorean", &T::template Lg<wlKorean>);
  c.Object("lgNorwegianBokmal", &T::template Lg<wlNorwegianBokmal>);
  c.Object("lgNorwegianNynorsk", &T::template Lg<wlNorwegianNynorsk>);
  c.Object("lgPolish", &T::template Lg<wlPolish>);
  c.Object("lgPortugese", &T::template Lg<wlPortugese>);
  c.Object("lgRussian", &T::template Lg<wlRussian>);
  c.Object("lgSpanish", &T::template Lg<wlSpanish>);
  c.Object("lgSwedish", &T::template Lg<wlSwedish>);
  c.Object("lgVietnamese", &T::template Lg<wlVietnamese>);
  c.Prop("TranslateIntoLanguage", &T::TranslateIntoLanguage, &T::SetTranslateIntoLanguage).Default(wlUser);
}

}  // namespace wenmoor
