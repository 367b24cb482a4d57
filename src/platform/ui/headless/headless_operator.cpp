#include "platform/ui/headless/headless_operator.h"

#include <utility>

#include "platform/rtl/format.h"
#include "platform/ui/application.h"
#include "platform/ui/choices.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/edits.h"
#include "platform/ui/headless/visible_controls.h"

namespace wenmoor {
namespace {

// Runs what a user's action sets off. The program's own exceptions are
// handled as a message loop handles them; the backend's pass.
template <class F>
void AsUserAction(F&& action) {
  try {
    std::forward<F>(action)();
  } catch (const EUiBackendError&) {
    throw;
  } catch (const std::exception& e) {
    TApplication::Instance().HandleException(e);
  }
}

std::string Label(const TControl& c) { return c.Name().empty() ? c.ClassName() : c.Name(); }

std::string FormTitle(const TCustomForm& form) {
  return form.Caption().empty() ? Label(form) : form.Caption();
}

std::vector<std::string> FormKeys(const TCustomForm& form) {
  std::vector<std::string> keys = {form.Caption(), form.Name(), form.ClassName()};
  if (const TCustomForm* page = FrontPage(form)) {
    keys.push_back(page->Caption());
    keys.push_back(page->Name());
    keys.push_back(page->ClassName());
  }
  return keys;
}

// What the user sees of a form, to tell whether a press moved anything.
struct PageState {
  const TCustomForm* page = nullptr;
  std::string caption;
  bool operator==(const PageState&) const = default;
};

PageState StateOf(const TCustomForm& form) { return {FrontPage(form), form.Caption()}; }

// Results of message-box buttons by the names an answer file uses.
constexpr std::pair<const char*, int> kResultNames[] = {
    {"OK", mrOk},       {"Cancel", mrCancel}, {"Abort", mrAbort},       {"Retry", mrRetry},
    {"Ignore", mrIgnore}, {"Yes", mrYes},     {"No", mrNo},             {"All", mrAll},
    {"NoToAll", mrNoToAll}, {"YesToAll", mrYesToAll}, {"Help", mrNone}};

std::string ButtonList(const MessageBoxRequest& r) {
  std::string list;
  for (const MessageBoxButton& b : r.buttons) list += (list.empty() ? "[" : " [") + StripAccelerator(b.caption) + "]";
  return list;
}

// Cuts `text` to at most `n` code points.
std::string CutToChars(const std::string& text, int n) {
  int count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == n) return text.substr(0, i);
  }
  return text;
}

}  // namespace

std::string HeadlessOperator::Source(const AnswerAction& action) const {
  return Format("%s:%d", answers_ ? answers_->FileName() : std::string("answers"), action.line);
}

void HeadlessOperator::Fail(const AnswerAction& action, const std::string& reason) const {
  throw EAnswerFileError(answers_ ? answers_->FileName() : std::string("answers"), action.line, reason);
}

void HeadlessOperator::RunModal(TCustomForm& form) {
  // A press that leaves the same page up, with no answer used up, is a
  // step of no progress; a run of them means the operator is stuck.
  int idle = 0;
  std::optional<PageState> before;
  bool answered = false;
  std::string pressed;
  for (int step = 0; !form.ModalDone(); ++step) {
    if (before) {
      if (answered || StateOf(form) != *before) idle = 0;
      else if (++idle >= kMaxIdlePresses)
        throw EUiBackendError(
            "The headless operator is stuck on the form \"%s\": pressing \"%s\" %d times does not leave it "
            "(answer it in WENMOOR_ANSWERS)",
            FormTitle(form), pressed, idle);
    }
    if (step >= kMaxSteps)
      throw EUiBackendError("The headless operator gave up on the form \"%s\" after %d steps", FormTitle(form), step);
    transcript_.Form(form, "form");
    before = StateOf(form);
    const AnswerSection* section = answers_ ? answers_->Take(AnswerKind::Form, FormKeys(form)) : nullptr;
    answered = section && !section->every;
    TButton* button = nullptr;
    std::string source;
    if (section) {
      for (const AnswerAction& action : section->actions)
        if (action.verb != AnswerAction::Verb::Press) AsUserAction([&] { Apply(form, action); });
      if (const AnswerAction* press = section->Press(); press && !press->press_default) {
        button = ResolvePress(form, *press);
        source = Source(*press);
      }
    }
    if (!button) {
      const DefaultChoice choice = FindDefaultButton(form);
      if (!choice.button)
        throw EUiBackendError("The headless operator finds no button to press on the form \"%s\"", FormTitle(form));
      button = choice.button;
      source = section && section->Press() ? Source(*section->Press()) + ", " + choice.reason : choice.reason;
    }
    pressed = StripAccelerator(button->Caption());
    transcript_.Answer(Format("press %s [%s]", Label(*button), pressed), source);
    AsUserAction([&] { button->Click(); });
  }
}

TControl& HeadlessOperator::UsableControl(TCustomForm& form, const AnswerAction& action, const char* what) {
  TControl* c = FindShownControl(form, action.target);
  if (!c) Fail(action, Format("the form \"%s\" shows no control named %s", FormTitle(form), action.target));
  if (!IsUsableOn(*c, form)) Fail(action, Format("%s %s on the form \"%s\" is disabled", what, action.target, FormTitle(form)));
  return *c;
}

void HeadlessOperator::Apply(TCustomForm& form, const AnswerAction& action) {
  switch (action.verb) {
    case AnswerAction::Verb::Set: {
      TControl& c = UsableControl(form, action, "the edit");
      auto* edit = dynamic_cast<TCustomEdit*>(&c);
      if (!edit) Fail(action, Format("%s is a %s, not an edit or memo", action.target, c.ClassName()));
      if (edit->ReadOnly()) Fail(action, Format("%s is read-only: nobody can type into it", action.target));
      std::string value = action.value;
      if (edit->MaxLength() > 0) value = CutToChars(value, edit->MaxLength());
      transcript_.Answer(Format("set %s = %s", action.target, Transcript::Quote(value)), Source(action));
      edit->SetText(value);
      return;
    }
    case AnswerAction::Verb::Check: {
      TControl& c = UsableControl(form, action, "the check box");
      auto* box = dynamic_cast<TCheckBox*>(&c);
      if (!box) Fail(action, Format("%s is a %s, not a check box", action.target, c.ClassName()));
      transcript_.Answer(Format("check %s = %s", action.target, action.checked ? "true" : "false"), Source(action));
      box->SetChecked(action.checked);
      return;
    }
    case AnswerAction::Verb::Select: {
      TControl& c = UsableControl(form, action, "the choice");
      auto* radio = dynamic_cast<TCustomRadioGroup*>(&c);
      auto* tabs = dynamic_cast<TTabControl*>(&c);
      if (!radio && !tabs) Fail(action, Format("%s is a %s, not a radio group or tab strip", action.target, c.ClassName()));
      const TStrings& items = radio ? *radio->Items() : *tabs->Tabs();
      int index = action.index;
      if (index < 0) {
        for (int i = 0; i < items.Count() && index < 0; ++i)
          if (GlobMatch(action.value, StripAccelerator(items[i]))) index = i;
        if (index < 0) Fail(action, Format("%s has no item that matches \"%s\"", action.target, action.value));
      } else if (index >= items.Count()) {
        Fail(action, Format("%s has %d items: there is no item %d", action.target, items.Count(), index));
      }
      transcript_.Answer(Format("select %s = %d (%s)", action.target, index, StripAccelerator(items[index])),
                         Source(action));
      if (radio) radio->SetItemIndex(index);
      else tabs->SelectTab(index);
      return;
    }
    case AnswerAction::Verb::Press:
      return;  // pressed by RunModal, after the other actions
  }
}

TButton* HeadlessOperator::ResolvePress(TCustomForm& form, const AnswerAction& action) {
  if (action.target_is_pattern) {
    std::vector<TControl*> shown = ShownControls(form);
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
      auto* b = dynamic_cast<TButton*>(*it);
      if (b && IsUsableOn(*b, form) && GlobMatch(action.target, StripAccelerator(b->Caption()))) return b;
    }
    Fail(action, Format("the form \"%s\" shows no usable button captioned \"%s\"", FormTitle(form), action.target));
  }
  TControl& c = UsableControl(form, action, "the button");
  auto* b = dynamic_cast<TButton*>(&c);
  if (!b) Fail(action, Format("%s is a %s, not a button", action.target, c.ClassName()));
  return b;
}

int HeadlessOperator::AnswerMessageBox(const MessageBoxRequest& r) {
  transcript_.MessageBox(r);
  if (r.buttons.empty()) {
    const int result = r.escape_result.value_or(mrOk);
    transcript_.Answer("close", "a box without buttons");
    return result;
  }
  size_t index = r.default_button < r.buttons.size() ? r.default_button : 0;
  std::string source = "default button";
  const AnswerSection* s = answers_ ? answers_->Take(AnswerKind::Message, {r.id, r.text, r.caption}) : nullptr;
  if (const AnswerAction* press = s ? s->Press() : nullptr; press && !press->press_default) {
    std::optional<size_t> found;
    for (size_t i = 0; i < r.buttons.size() && !found; ++i) {
      const std::string caption = StripAccelerator(r.buttons[i].caption);
      if (press->target_is_pattern) {
        if (GlobMatch(press->target, caption)) found = i;
        continue;
      }
      for (const auto& [name, result] : kResultNames)
        if (SameText(press->target, name) && r.buttons[i].result == result) found = i;
      if (!found && SameText(press->target, caption)) found = i;
    }
    if (!found) Fail(*press, Format("the box \"%s\" has no button %s (it has %s)", r.text, press->target, ButtonList(r)));
    index = *found;
    source = Source(*press);
  } else if (s) {
    source = Format("%s:%d, default button", answers_->FileName(), s->line);
  }
  transcript_.Answer("press " + StripAccelerator(r.buttons[index].caption), source);
  return r.buttons[index].result;
}

std::optional<std::string> HeadlessOperator::AnswerInput(const InputQueryRequest& r) {
  transcript_.Input(r);
  std::string value = r.value;
  bool cancel = false;
  std::string source = "default";
  if (const AnswerSection* s = answers_ ? answers_->Take(AnswerKind::Input, {r.id, r.caption, r.prompt}) : nullptr) {
    source = Format("%s:%d", answers_->FileName(), s->line);
    for (const AnswerAction& a : s->actions) {
      if (a.verb == AnswerAction::Verb::Set) value = a.value;
      else if (a.verb == AnswerAction::Verb::Press) cancel = SameText(a.target, "Cancel");
    }
  }
  transcript_.Answer(cancel ? std::string("press Cancel") : "press OK with " + Transcript::Quote(value), source);
  if (cancel) return std::nullopt;
  return value;
}

std::optional<std::string> HeadlessOperator::AnswerFolder(const FolderBrowseRequest& r) {
  transcript_.Folder(r);
  std::string path = r.initial_directory;
  bool cancel = false;
  std::string source = "default";
  if (const AnswerSection* s = answers_ ? answers_->Take(AnswerKind::Folder, {r.id, r.caption}) : nullptr) {
    source = Format("%s:%d", answers_->FileName(), s->line);
    for (const AnswerAction& a : s->actions) {
      if (a.verb == AnswerAction::Verb::Set) path = a.value;
      else if (a.verb == AnswerAction::Verb::Press) cancel = SameText(a.target, "Cancel");
    }
  }
  // A browser with nothing selected cannot be confirmed.
  if (path.empty() && !cancel) {
    transcript_.Answer("press Cancel", source + ", no folder to choose");
    return std::nullopt;
  }
  transcript_.Answer(cancel ? std::string("press Cancel") : "press OK with " + Transcript::Quote(path), source);
  if (cancel) return std::nullopt;
  return path;
}

void HeadlessOperator::ReportUnused() {
  if (!answers_) return;
  for (const AnswerSection* s : answers_->Unused())
    transcript_.Line(Format("answer file %s:%d: the %s section \"%s\" was never used", answers_->FileName(), s->line,
                            AnswerKindName(s->kind), s->pattern));
}

}  // namespace wenmoor
