object Form1: TForm1
  Left = 214
  Top = 106
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Orvalen...'
  ClientHeight = 312
  ClientWidth = 467
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  OldCreateOrder = False
  Position = poDesktopCenter
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 203
    Top = 104
    Width = 62
    Height = 13
    Caption = 'Hex TagID'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label2: TLabel
    Left = 200
    Top = 231
    Width = 68
    Height = 13
    Caption = 'EPC Tag ID'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Button1: TButton
    Left = 75
    Top = 177
    Width = 133
    Height = 25
    Caption = 'v   Convert To EPC   v'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 260
    Top = 177
    Width = 133
    Height = 25
    Caption = '^   Convert From EPC   ^'
    TabOrder = 1
    OnClick = Button2Click
  end
  object HexTagID: TqcEdit
    Left = 8
    Top = 120
    Width = 450
    Height = 26
    Alignment = taCenter
    FrameStyle = qcetNormal
    Color = 16711808
    Font.Charset = ANSI_CHARSET
    Font.Color = clWhite
    Font.Height = -16
    Font.Name = 'Courier New'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 2
    Text = '303415E98C0A11800000A3C8'
    EditText = '303415E98C0A11800000A3C8'
  end
  object EPCTagID: TqcEdit
    Left = 8
    Top = 247
    Width = 450
    Height = 26
    Alignment = taCenter
    FrameStyle = qcetNormal
    Color = 16711808
    Font.Charset = ANSI_CHARSET
    Font.Color = clWhite
    Font.Height = -16
    Font.Name = 'Courier New'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 3
  end
  object GTIN64RB: TCoolCheckRadioBox
    Left = 11
    Top = 15
    Width = 200
    Height = 17
    Caption = 'GTIN64 Tag Type'
    CheckRadioType = crRadioBox
    SimpleView = True
    Transparent = True
    Enabled = False
    Color = clWhite
    ParentColor = False
    UseDockManager = False
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 4
  end
  object GTIN96RB: TCoolCheckRadioBox
    Left = 11
    Top = 40
    Width = 200
    Height = 17
    Caption = 'GTIN96 Tag Type'
    CheckRadioType = crRadioBox
    SimpleView = True
    Transparent = True
    Checked = True
    State = cbChecked
    Color = clWhite
    ParentColor = False
    UseDockManager = False
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    TabOrder = 5
  end
  object qBackground1: TqBackground
    BackType = btBlend
    Color = clSilver
    EndColor = 5832793
    Left = 430
    Top = 39
  end
  object MainMenu1: TMainMenu
    Left = 398
    Top = 39
    object File1: TMenuItem
      Caption = 'File'
      object Exit1: TMenuItem
        Caption = 'Exit'
        OnClick = Exit1Click
      end
    end
    object About1: TMenuItem
      Caption = 'Help'
      object About2: TMenuItem
        Caption = 'About'
        OnClick = About2Click
      end
    end
  end
end
