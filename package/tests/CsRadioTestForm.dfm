object CsRadioTestForm: TCsRadioTestForm
  Left = 120
  Top = 100
  Caption = 'Choices'
  ClientHeight = 200
  ClientWidth = 320
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 0
  object Choices: TcsRadioGroup
    Left = 10
    Top = 10
    Width = 240
    Height = 130
    Caption = 'Fruit'
    Columns = 2
    ItemIndex = 1
    Items.Strings = (
      'Apple'
      'Pear'
      'Plum')
    TabOrder = 0
    OnClick = ChoicesClick
    OnDblClick = ChoicesDblClick
    OnMouseDown = ChoicesMouseDown
    OnMouseMove = ChoicesMouseMove
    OnMouseUp = ChoicesMouseUp
  end
  object Bits: TBit
    Left = 260
    Top = 10
  end
  object Deadline: TCaseTimer
    Left = 260
    Top = 50
  end
  object Rejects: TRejectsSystem
    Left = 260
    Top = 90
  end
end
