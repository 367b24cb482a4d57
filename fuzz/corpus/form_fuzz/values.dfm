object Form1: TForm
  Caption = 'it''s'#13#10'a'#228#$263A +
    ' joined'
  Height = 1.5E3
  Tag = [itFull, itDefault]
  Items = <
    item
      Value = 1
    end>
  Lines.Strings = (
    'a'
    'b' 12)
  Picture.Data = {
    0A0B0c}
  OnCreate = Form1Create
  Link = Form1.Button1
end
