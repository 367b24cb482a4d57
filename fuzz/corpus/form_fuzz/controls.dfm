object MainForm: TForm
  Left = 10
  Caption = 'Setup'
  object Panel1: TWinControl
    Color = clBtnFace
    Font.Name = 'Tahoma'
    Anchors = [akLeft, akTop]
    TabOrder = 0
    object Label1: TControl
      Hint = 'x'
    end
  end
end
