// The translator: the texts and fonts of 21 languages, and the translation
// of forms and of the framework's messages.
//
// Every text is translated through a GLID, the number that names one text
// in every language. A label or button that carries a GLID
// (cmp_TTranslateControls.h) is looked up by it; any other text is first
// found by its wording in the language it is written in, which yields the
// GLID, and the GLID is then looked up in the target language. A text that
// is not found stays as it is. A language also has font rules: a character
// set, a face name and a minimum size, or a font of its own (FontOverride).
//
// The first translator created is the main translator (MainTranslator()),
// which dialogs and messages use; while it lives, every message of the
// framework's exceptions passes through it (LocalizeMessage). When it is
// destroyed there is none until another is created.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/rtl/strings.h"
#include "platform/ui/control.h"
#include "platform/ui/font.h"
#include "translation/language_text.h"

namespace wenmoor {

class TStream;

// The languages, one byte, in this order. wlUser is no language of its own:
// it means the language of the user's Windows, resolved each time it is used.
enum TWnmrLanguage : uint8_t {
  wlChineseSimplified,
  wlChineseTraditional,
  wlCzech,
  wlDanish,
  wlDutch,
  wlEnglish,
  wlFrench,
  wlGerman,
  wlGreek,
  wlHebrew,
  wlItalian,
  wlJapanese,
  wlKorean,
  wlNorwegianBokmal,
  wlNorwegianNynorsk,
  wlPolish,
  wlPortugese,
  wlRussian,
  wlSpanish,
  wlSwedish,
  wlUser,
  wlVietnamese,
};
WENMOOR_ENUM(TWnmrLanguage, wlChineseSimplified, wlChineseTraditional, wlCzech, wlDanish, wlDutch, wlEnglish,
             wlFrench, wlGerman, wlGreek, wlHebrew, wlItalian, wlJapanese, wlKorean, wlNorwegianBokmal,
             wlNorwegianNynorsk, wlPolish, wlPortugese, wlRussian, wlSpanish, wlSwedish, wlUser, wlVietnamese)

// The language of a Windows language identifier (primary language: the low
// ten bits; sublanguage: the six above them); wlEnglish for any language
// the translator does not know.
TWnmrLanguage LanguageOfLangID(uint16_t lang_id);

// The font character set of a language. Raises Exception "Unrecognized
// language" for wlUser and any value beyond the table.
TFontCharset CharsetOfLanguage(TWnmrLanguage language);

// The face name and minimum size (points) that a language's texts need.
// Raises "Unrecognized language" as CharsetOfLanguage.
struct LanguageFontRule {
  std::string face;
  int min_size = 8;
};
LanguageFontRule FontRuleOfLanguage(TWnmrLanguage language);

class TLanguage;
class TTranslator;

// One parsed entry of a language: a one-line text or a memo.
class TLanguageElement {
 public:
  TLanguageElement(int32_t glid, TLanguage* language, int line) : glid_(glid), language_(language), line_(line) {}
  virtual ~TLanguageElement() = default;
  int32_t GLID() const { return glid_; }
  TLanguage* Language() const { return language_; }
  // The index of its line in the language's Strings (a memo: its opening line).
  int Line() const { return line_; }

 private:
  int32_t glid_;
  TLanguage* language_;
  int line_;
};

class TLanguageString : public TLanguageElement {
 public:
  TLanguageString(int32_t glid, TLanguage* language, int line, std::string text)
      : TLanguageElement(glid, language, line), text_(std::move(text)) {}
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

class TLanguageMemo : public TLanguageElement {
 public:
  TLanguageMemo(int32_t glid, TLanguage* language, int line, const std::vector<std::string>& lines);
  TStringList* Lines() const { return lines_.get(); }

 private:
  std::unique_ptr<TStringList> lines_;
};

// The text lines of one language. Every change parses the language again
// (while its AutoParse is set), so that its elements always mirror the
// lines; bulk changes (SetText, SetLines, Assign, loading) parse once.
class TLangFormatStrings : public TStringList {
  WENMOOR_CLASS(TLangFormatStrings, TStringList)
 public:
  explicit TLangFormatStrings(TLanguage* language) : language_(language) {}
  TLanguage* Language() const { return language_; }

  void SetText(std::string_view text);
  // Appends the lines of `lines`.
  void AddStrings(const TStrings& lines);
  // Moves the line at `from` to `to` (both checked: EListError).
  void Move(int from, int to);
  void SetLines(const std::vector<std::string>& lines);
  // The lines as the script stores them (read back through SetLines).
  std::vector<std::string> StoredLines() const { return Lines(); }
  void Assign(const TPersistent& source) override;
  // Plain text, one line per line (UTF-8; a byte order mark is skipped).
  void LoadFromStream(TStream& stream);
  // The file of a Windows path; a parse error names the file.
  void LoadFromFile(std::string_view file_name);

 protected:
  void Changed() override;

 private:
  // Runs `work` with AutoParse off, then parses once; when `work` fails,
  // AutoParse is switched on again without parsing.
  template <class F>
  void Bulk(F&& work);

  TLanguage* language_;
};

class TLanguage : public TPersistent {
  WENMOOR_CLASS(TLanguage, TPersistent)
 public:
  TLanguage(TTranslator* translator, TWnmrLanguage ident);
  ~TLanguage() override;

  TTranslator* Translator() const { return translator_; }
  TWnmrLanguage LanguageIdent() const { return ident_; }
  // The names of its text file and of its flag bitmap resource.
  const std::string& ResourceName() const { return resource_name_; }
  const std::string& FileName() const { return file_name_; }

  TFont* Font() const { return font_.get(); }
  bool FontOverride() const { return font_override_; }
  void SetFontOverride(bool v) { font_override_ = v; }
  TLangFormatStrings* Strings() const { return strings_.get(); }
  bool AutoParse() const { return auto_parse_; }
  void SetAutoParse(bool v) { auto_parse_ = v; }

  const std::vector<std::unique_ptr<TLanguageString>>& Elements() const { return elements_; }
  const std::vector<std::unique_ptr<TLanguageMemo>>& Memos() const { return memos_; }

  // Builds the elements and memos anew from Strings (nothing while AutoParse
  // is off). On an error the language is left without elements and memos
  // (its lines stay) and the error passes on.
  void Parse();

  // The first one-line text equal to `text` without regard to case; null
  // when none.
  TLanguageString* FindStringByText(std::string_view text) const;
  TLanguageString* FindStringByGLID(int32_t glid) const;
  // The first memo whose lines equal `lines` exactly; null when none.
  TLanguageMemo* FindMemoByText(const TStrings& lines) const;
  TLanguageMemo* FindMemoByGLID(int32_t glid) const;

 private:
  TTranslator* translator_;
  std::string resource_name_;
  std::string file_name_;
  std::unique_ptr<TFont> font_;
  bool font_override_ = false;
  std::vector<std::unique_ptr<TLanguageMemo>> memos_;
  std::vector<std::unique_ptr<TLanguageString>> elements_;
  TWnmrLanguage ident_;
  std::unique_ptr<TLangFormatStrings> strings_;
  bool auto_parse_ = true;
};

class TTranslator : public TComponent {
  WENMOOR_CLASS(TTranslator, TComponent)
 public:
  explicit TTranslator(TComponent* owner);
  ~TTranslator() override;

  // The 21 languages in the order of TWnmrLanguage (without wlUser).
  const std::vector<std::unique_ptr<TLanguage>>& Languages() const { return languages_; }
  // The published lgXxx properties.
  template <TWnmrLanguage L>
  TLanguage* Lg() const {
    return LanguageByIdent(L);
  }

  TWnmrLanguage TranslateIntoLanguage() const { return translate_into_; }
  // Stores the value, then raises OnLanguageChange.
  void SetTranslateIntoLanguage(TWnmrLanguage language);
  TNotifyEvent OnLanguageChange;

  // The language with that identifier; null for wlUser and any unknown value.
  TLanguage* LanguageByIdent(TWnmrLanguage ident) const;
  // The language of the user's Windows; null when it cannot be told.
  TLanguage* SystemLanguage() const;
  // SystemLanguage for wlUser, else LanguageByIdent(TranslateIntoLanguage).
  TLanguage* TargetLanguage() const;

  // `text` in the target language, found by its wording in `source`;
  // unchanged when it is not found.
  std::string TranslateString(TWnmrLanguage source, std::string_view text) const;
  // The target language's text of `glid`; `text` when it has none.
  std::string TranslateGLID(int32_t glid, std::string_view text) const;
  // `result` becomes `lines`, or the target language's memo that has the
  // GLID of the memo `lines` are in `source`.
  void TranslateLines(TWnmrLanguage source, const TStrings& lines, TStrings& result) const;

  // Translates the texts of `component` and of every component it owns
  // (forms excepted) from `source` into the target language. Answers the
  // language the texts are in afterwards: `source` when the target has no
  // lines, else TranslateIntoLanguage.
  TWnmrLanguage TranslateComponent(TWnmrLanguage source, TComponent* component);
  // The same into `target`, without OnLanguageChange; the translator's own
  // language is restored afterwards, also after an error.
  TWnmrLanguage TranslateComponentInto(TWnmrLanguage source, TWnmrLanguage target, TComponent* component);

  // Gives `control` and the controls on it the font of the target language
  // (of English when the target has no lines, unless `force`).
  void SetControlFont(TControl* control, bool force);
  void SetControlFontIn(TWnmrLanguage language, TControl* control, bool force);

 private:
  // wlUser: the system language; any other: LanguageByIdent.
  TLanguage* Resolve(TWnmrLanguage ident) const;
  void TranslateProperties(TWnmrLanguage source, TComponent& component);

  std::vector<std::unique_ptr<TLanguage>> languages_;
  TWnmrLanguage translate_into_ = wlUser;
};

// Gives `control` (and, for a windowed control, every control on it, down
// the tree) the font rules of `language`: its own font when FontOverride is
// set, else its character set, face name and minimum size.
void ApplyLanguageFont(TControl* control, const TLanguage& language);

// The main translator, or null.
TTranslator* MainTranslator();

// Operations of the main translator on a form; each does nothing without
// one (and answers its input).
void SetFormFont(TControl* form);
void SetFormFontIn(TWnmrLanguage language, TControl* form);
// Translate `form` from the language its texts are in now; the answer is
// the language they are in afterwards (the form's CurrentLanguage).
TWnmrLanguage TranslateForm(TWnmrLanguage current, TComponent* form);
TWnmrLanguage TranslateFormInto(TWnmrLanguage current, TWnmrLanguage target, TComponent* form);

}  // namespace wenmoor
