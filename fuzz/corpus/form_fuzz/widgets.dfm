object Root: TFormFuzzWidget
  Int = -$10
  Short = 300
  Flag = True
  Kind = ffkB
  Kinds = [ffkA, ffkC]
  Real = 1.5E3
  Text = 'it''s'#13#10 + 'x'
  Link = W2
  Lines.Strings = (
    'a'
    '')
  Items = <
    item
      Text = 'one'
      Link = W1
      Items = <
        item
        end>
    end>
  OnClick = Click
  object W1: TFormFuzzWidget
    object W2: TFormFuzzWidget
      Link = Root
    end
  end
end
