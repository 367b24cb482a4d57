object MainForm: TForm
  Caption = 'Setup'
  Left = 10
  Top = -20
  Width = $280
  WindowState = wsMaximized
  Visible = True
  object Module1: TDataModule
  end
  object TComponent
  end
end
