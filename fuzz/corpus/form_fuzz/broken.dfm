object Broken: TForm
  Caption = 'open
  Count = 12ab
