// Forms built from form text: every control class with its properties,
// named colours and character sets, the Kind table of bitmap buttons, and
// the round trip through the writer.
#include <gtest/gtest.h>

#include "platform/rtl/form_error.h"
#include "platform/rtl/form_writer.h"
#include "platform/ui/buttons.h"
#include "platform/ui/choices.h"
#include "platform/ui/comctrls.h"
#include "platform/ui/edits.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/translate_controls.h"
#include "ui_fixture.h"

namespace wenmoor {
namespace {

constexpr const char* kPage = R"(object PageForm: TForm
  Left = 10
  Top = 20
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Choose Destination Location'
  ClientHeight = 368
  ClientWidth = 470
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  Font.Style = []
  Position = poScreenCenter
  Scaled = False
  OnCreate = FormCreate
  object ButtonPanel: TPanel
    Left = 0
    Top = 316
    Width = 470
    Height = 52
    Align = alBottom
    BevelOuter = bvNone
    object Bevel1: TBevel
      Left = 0
      Top = 0
      Width = 470
      Height = 2
      Shape = bsTopLine
    end
    object ProceedBtn: TTranslateBitBtn
      Left = 288
      Top = 15
      Width = 75
      Height = 33
      Caption = 'Next >'
      Default = True
      TabOrder = 1
      GLID = 5
    end
    object CancelBtn: TTranslateBitBtn
      Left = 368
      Top = 15
      Width = 89
      Height = 33
      TabOrder = 2
      Kind = bkCancel
      GLID = 6
    end
  end
  object ContentPanel: TPanel
    Left = 0
    Top = 0
    Width = 470
    Height = 316
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 8
    object Label1: TTranslateLabel
      Left = 8
      Top = 8
      Width = 300
      Height = 13
      AutoSize = False
      Caption = 'Which directory do you want to install this program into?'
      WordWrap = True
      GLID = 85
    end
    object edDestDir: TEdit
      Left = 8
      Top = 40
      Width = 241
      Height = 21
      MaxLength = 200
      TabOrder = 0
      Text = 'C:\Program Files\Quarry'
    end
    object Memo1: TMemo
      Left = 8
      Top = 70
      Width = 273
      Height = 100
      Color = clBtnFace
      Lines.Strings = (
        'first'
        'second')
      ReadOnly = True
      ScrollBars = ssVertical
    end
    object RG: TRadioGroup
      Left = 8
      Top = 180
      Width = 300
      Height = 60
      ItemIndex = 1
      Items.Strings = (
        'Yes, I would like to reboot windows'
        'No, I would not like to reboot windows')
    end
    object D4CB: TCheckBox
      Left = 8
      Top = 250
      Width = 97
      Height = 17
      Caption = 'Delphi 4'
      Checked = True
      State = cbChecked
    end
    object ProgressBar1: TProgressBar
      Left = 8
      Top = 270
      Width = 176
      Height = 16
      Position = 40
    end
    object Tabs: TTabControl
      Left = 0
      Top = 0
      Width = 10
      Height = 0
      Visible = False
      Tabs.Strings = (
        'one'
        'two')
      TabIndex = 1
    end
  end
end
)";

// A form class of the kind the dialogs derive: it publishes its handler and
// loads its own description.
class TTestPageForm : public TForm {
  WENMOOR_CLASS(TTestPageForm, TForm)
 public:
  explicit TTestPageForm(TComponent* owner) : TForm(owner) {
    PublishMethod("FormCreate", std::function<void(TObject*)>([this](TObject*) { ++created; }));
  }
  int created = 0;
};

WENMOOR_REGISTER_CLASS(TTestPageForm) {}

class FormTextTest : public UiFixture {};

TEST_F(FormTextTest, AFormReadFromTextHasEveryControlWithItsProperties) {
  auto form = CreateUnowned<TTestPageForm>();
  std::string text = kPage;
  text.replace(text.find("TForm"), 5, "TTestPageForm");
  form->LoadFromText(text, "page.dfm");

  EXPECT_EQ(form->created, 1) << "OnCreate after loading";
  EXPECT_EQ(form->Caption(), "Choose Destination Location");
  EXPECT_EQ(form->ClientWidth(), 470);
  EXPECT_EQ(form->ClientHeight(), 368);
  EXPECT_EQ(form->Width(), 476) << "a dialog frame of 3 pixels and an 18-pixel caption";
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_TRUE(form->BorderIcons().Empty());
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_FALSE(form->Scaled());
  EXPECT_EQ(form->Font()->Name(), "Arial");
  EXPECT_EQ(form->Font()->CharSet(), ANSI_CHARSET);

  auto* proceed = dynamic_cast<TTranslateBitBtn*>(form->FindComponent("ProceedBtn"));
  ASSERT_NE(proceed, nullptr);
  EXPECT_EQ(proceed->Caption(), "Next >");
  EXPECT_TRUE(proceed->Default());
  EXPECT_EQ(proceed->GLID(), 5);
  EXPECT_EQ(proceed->Font()->Name(), "Arial") << "controls follow the form's font";
  auto* cancel = dynamic_cast<TTranslateBitBtn*>(form->FindComponent("CancelBtn"));
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->Caption(), "Cancel") << "the Kind gives the caption";
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_EQ(cancel->ModalResult(), mrCancel);
  EXPECT_EQ(cancel->Parent()->Name(), "ButtonPanel") << "nesting in the text is parenthood";
  EXPECT_EQ(cancel->Owner(), form.get()) << "every object belongs to the form";

  auto* panel = dynamic_cast<TPanel*>(form->FindComponent("ButtonPanel"));
  EXPECT_EQ(panel->BoundsRect(), (TRect{0, 316, 470, 368})) << "aligned to the bottom of the client area";
  auto* content = dynamic_cast<TPanel*>(form->FindComponent("ContentPanel"));
  EXPECT_EQ(content->BoundsRect(), (TRect{0, 0, 470, 316}));
  EXPECT_EQ(content->BorderWidth(), 8);

  auto* label = dynamic_cast<TTranslateLabel*>(form->FindComponent("Label1"));
  EXPECT_EQ(label->GLID(), 85);
  EXPECT_TRUE(label->WordWrap());
  EXPECT_EQ(label->Width(), 300);
  auto* edit = dynamic_cast<TEdit*>(form->FindComponent("edDestDir"));
  EXPECT_EQ(edit->Text(), "C:\\Program Files\\Quarry");
  EXPECT_EQ(edit->MaxLength(), 200);
  auto* memo = dynamic_cast<TMemo*>(form->FindComponent("Memo1"));
  EXPECT_EQ(memo->Lines()->Lines(), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(memo->Text(), "first\r\nsecond");
  EXPECT_TRUE(memo->ReadOnly());
  EXPECT_EQ(memo->ScrollBars(), ssVertical);
  EXPECT_EQ(memo->Color(), clBtnFace);
  auto* rg = dynamic_cast<TRadioGroup*>(form->FindComponent("RG"));
  EXPECT_EQ(rg->ItemIndex(), 1) << "an index stored before its items still holds";
  EXPECT_EQ(rg->Items()->Count(), 2);
  EXPECT_TRUE(dynamic_cast<TCheckBox*>(form->FindComponent("D4CB"))->Checked());
  EXPECT_EQ(dynamic_cast<TProgressBar*>(form->FindComponent("ProgressBar1"))->Position(), 40);
  auto* tabs = dynamic_cast<TTabControl*>(form->FindComponent("Tabs"));
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_FALSE(tabs->Visible());
}

TEST_F(FormTextTest, WritingAndReadingAgainGivesTheSameText) {
  auto form = CreateUnowned<TForm>();
  std::string text = kPage;
  text.erase(text.find("  OnCreate = FormCreate\n"), 24);
  form->LoadFromText(text, "page.dfm");
  const std::string first = WriteComponentToText(*form);
  auto again = CreateUnowned<TForm>();
  again->LoadFromText(first, "written.dfm");
  EXPECT_EQ(WriteComponentToText(*again), first);
  EXPECT_NE(first.find("Color = clBtnFace"), std::string::npos) << "named colours are written by name";
  EXPECT_NE(first.find("Font.Charset = ANSI_CHARSET"), std::string::npos);
  EXPECT_NE(first.find("Kind = bkCancel"), std::string::npos);
  EXPECT_EQ(first.find("Caption = 'Cancel'"), std::string::npos) << "a Kind's own caption is not stored";
}

TEST_F(FormTextTest, UnknownNamedValuesAreRefusedWithTheirPlace) {
  auto form = CreateUnowned<TForm>();
  try {
    form->LoadFromText("object F: TForm\n  Color = clNotAColour\nend\n", "bad.dfm");
    FAIL() << "loaded";
  } catch (const EFormError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_NE(std::string(e.what()).find("clNotAColour"), std::string::npos) << e.what();
  }
  EXPECT_EQ(form->Color(), clBtnFace) << "the form is left as it was";
}

TEST_F(FormTextTest, AControlCannotStandOnSomethingThatIsNoWindowedControl) {
  auto form = CreateUnowned<TForm>();
  EXPECT_THROW(form->LoadFromText("object F: TForm\n  object L: TLabel\n    object B: TButton\n    end\n  end\nend\n",
                                  "nested.dfm"),
               EFormError);
  EXPECT_EQ(form->ComponentCount(), 0);
}

TEST(BitBtnKindTest, EachKindHasItsCaptionModalResultAndRole) {
  struct Row {
    TBitBtnKind kind;
    const char* caption;
    TModalResult result;
    bool is_default;
    bool is_cancel;
  };
  const Row rows[] = {
      {bkOK, "OK", mrOk, true, false},           {bkCancel, "Cancel", mrCancel, false, true},
      {bkYes, "&Yes", mrYes, true, false},       {bkNo, "&No", mrNo, false, true},
      {bkAbort, "Abort", mrAbort, false, false}, {bkRetry, "&Retry", mrRetry, false, false},
      {bkIgnore, "&Ignore", mrIgnore, false, false}, {bkAll, "&All", mrAll, false, false},
      {bkHelp, "&Help", mrNone, false, false},   {bkClose, "&Close", mrNone, false, false},
  };
  auto owner = CreateUnowned<TComponent>();
  for (const Row& r : rows) {
    auto* b = Create<TBitBtn>(owner.get());
    b->SetKind(r.kind);
    const char* name = EnumInfoOf<TBitBtnKind>().Name(r.kind).c_str();
    EXPECT_EQ(b->Caption(), r.caption) << name;
    EXPECT_EQ(b->ModalResult(), r.result) << name;
    EXPECT_EQ(b->Default(), r.is_default) << name;
    EXPECT_EQ(b->Cancel(), r.is_cancel) << name;
  }
}

TEST_F(FormTextTest, StoredValuesOfABitBtnWinOverItsKind) {
  auto form = CreateUnowned<TForm>();
  form->LoadFromText(
      "object F: TForm\n  object B: TBitBtn\n    Cancel = False\n    Caption = 'Stop'\n    ModalResult = 3\n"
      "    Kind = bkCancel\n  end\nend\n",
      "b.dfm");
  auto* b = dynamic_cast<TBitBtn*>(form->FindComponent("B"));
  EXPECT_EQ(b->Caption(), "Stop");
  EXPECT_EQ(b->ModalResult(), mrAbort);
  EXPECT_FALSE(b->Cancel());
  b->SetKind(bkOK);
  EXPECT_EQ(b->Caption(), "OK") << "outside loading the Kind sets everything";
  EXPECT_EQ(b->ModalResult(), mrOk);
}

TEST_F(FormTextTest, ACloseButtonClosesItsFormInsteadOfClicking) {
  auto form = CreateUnowned<TForm>();
  auto* b = Create<TBitBtn>(form.get());
  b->SetParent(form.get());
  b->SetKind(bkClose);
  bool clicked = false;
  b->OnClick.Assign([&](TObject*) { clicked = true; });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_FALSE(clicked);
}

}  // namespace
}  // namespace wenmoor
