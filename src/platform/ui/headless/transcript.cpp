#include "platform/ui/headless/transcript.h"

#include <ostream>

#include "platform/rtl/format.h"
#include "platform/ui/choices.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/edits.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/headless/visible_controls.h"
#include "platform/ui/labels.h"

namespace wenmoor {
namespace {

std::string NameAndClass(const TComponent& c) {
  return c.Name().empty() ? c.ClassName() : c.Name() + ": " + c.ClassName();
}

std::string Label(const TControl& c) { return c.Name().empty() ? c.ClassName() : c.Name(); }

std::string Flags(const TControl& c, const TCustomForm& form) {
  std::string flags;
  auto add = [&](const char* f) { flags += flags.empty() ? std::string(" (") + f : std::string(", ") + f; };
  if (auto* b = dynamic_cast<const TButton*>(&c)) {
    if (b->Default()) add("default");
    if (b->Cancel()) add("cancel");
  }
  if (form.ActiveControl() == &c) add("focused");
  if (!IsUsableOn(c, form)) add("disabled");
  if (auto* e = dynamic_cast<const TCustomEdit*>(&c); e && e->ReadOnly()) add("read-only");
  return flags.empty() ? flags : flags + ")";
}

const char* IconName(TMessageIcon icon) {
  switch (icon) {
    case TMessageIcon::Information:
      return "information";
    case TMessageIcon::Warning:
      return "warning";
    case TMessageIcon::Error:
      return "error";
    case TMessageIcon::Question:
      return "question";
    case TMessageIcon::None:
      break;
  }
  return "no icon";
}

}  // namespace

std::unique_ptr<Transcript> Transcript::ToFile(const std::string& path) {
  std::unique_ptr<Transcript> t(new Transcript());
  t->file_.open(path, std::ios::out | std::ios::app | std::ios::binary);
  if (!t->file_) throw EUiBackendError("Cannot open the transcript file \"%s\"", path);
  t->out_ = &t->file_;
  return t;
}

std::string Transcript::Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out.push_back(c);
        break;
    }
  }
  out += '"';
  return out;
}

void Transcript::Line(std::string_view text) {
  *out_ << text << '\n';
  out_->flush();
}

void Transcript::Form(const TCustomForm& form, std::string_view kind) {
  std::string head = Format("=== %s %s (%s", kind, Quote(form.Caption()), NameAndClass(form));
  if (const TCustomForm* page = FrontPage(form)) head += ", page " + NameAndClass(*page);
  Line(head + ")");
  for (const TControl* c : ShownControls(form)) {
    const std::string name = Label(*c);
    const std::string flags = Flags(*c, form);
    if (auto* l = dynamic_cast<const TCustomLabel*>(c)) {
      if (!l->DisplayText().empty()) Line(Format("  label %s: %s%s", name, Quote(l->DisplayText()), flags));
    } else if (auto* b = dynamic_cast<const TButton*>(c)) {
      Line(Format("  button %s: [%s]%s", name, StripAccelerator(b->Caption()), flags));
    } else if (auto* m = dynamic_cast<const TCustomMemo*>(c)) {
      Line(Format("  memo %s:%s", name, flags));
      for (const std::string& line : m->Lines()->Items()) Line("    | " + line);
    } else if (auto* e = dynamic_cast<const TCustomEdit*>(c)) {
      Line(Format("  edit %s: %s%s", name, Quote(e->Text()), flags));
    } else if (auto* cb = dynamic_cast<const TCheckBox*>(c)) {
      const char* box = cb->State() == cbChecked ? "[x]" : cb->State() == cbGrayed ? "[-]" : "[ ]";
      Line(Format("  check %s: %s %s%s", name, box, StripAccelerator(cb->Caption()), flags));
    } else if (auto* rg = dynamic_cast<const TCustomRadioGroup*>(c)) {
      Line(Format("  radio %s: %s%s", name, Quote(StripAccelerator(rg->Caption())), flags));
      for (int i = 0; i < rg->Items()->Count(); ++i)
        Line(Format("    %s %d: %s", i == rg->ItemIndex() ? "(*)" : "( )", i, StripAccelerator(rg->Items()->Strings(i))));
    } else if (auto* p = dynamic_cast<const TProgressBar*>(c)) {
      Line(Format("  progress %s: %d%%%s", name, p->Percent(), flags));
    } else if (auto* t = dynamic_cast<const TTabControl*>(c)) {
      if (t->Tabs()->Count() == 0) continue;
      std::string tabs;
      for (int i = 0; i < t->Tabs()->Count(); ++i) {
        const std::string tab = StripAccelerator(t->Tabs()->Strings(i));
        tabs += (i ? " | " : "") + (i == t->TabIndex() ? "[" + tab + "]" : tab);
      }
      Line(Format("  tabs %s: %s%s", name, tabs, flags));
    } else if (auto* g = dynamic_cast<const TCustomGroupBox*>(c)) {
      if (!g->Caption().empty()) Line(Format("  group %s: %s", name, Quote(StripAccelerator(g->Caption()))));
    } else if (auto* pn = dynamic_cast<const TCustomPanel*>(c)) {
      if (!pn->Caption().empty()) Line(Format("  panel %s: %s", name, Quote(pn->Caption())));
    }
  }
}

void Transcript::MessageBox(const MessageBoxRequest& r) {
  Line(Format("=== message %s (%s%s)", Quote(r.caption), IconName(r.icon), r.id.empty() ? "" : ", id " + r.id));
  Line("  " + Quote(r.text));
  std::string buttons;
  for (size_t i = 0; i < r.buttons.size(); ++i)
    buttons += Format("%s[%s]%s", i ? " " : "", StripAccelerator(r.buttons[i].caption), i == r.default_button ? "*" : "");
  Line("  buttons: " + buttons);
}

void Transcript::Input(const InputQueryRequest& r) {
  Line(Format("=== input %s%s", Quote(r.caption), r.id.empty() ? "" : " (id " + r.id + ")"));
  Line("  prompt: " + Quote(r.prompt));
  Line("  value: " + Quote(r.value));
}

void Transcript::Folder(const FolderBrowseRequest& r) {
  Line(Format("=== folder %s%s", Quote(r.caption), r.id.empty() ? "" : " (id " + r.id + ")"));
  Line("  initial: " + Quote(r.initial_directory));
}

void Transcript::Answer(std::string_view what, std::string_view source) { Line(Format("-> %s (%s)", what, source)); }

}  // namespace wenmoor
