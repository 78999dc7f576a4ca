object PageTestForm: TPageTestForm
  Left = 100
  Top = 100
  Caption = 'Pages'
  ClientHeight = 273
  ClientWidth = 392
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 0
  object Pages: TBMPageControl
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    ActivePage = Second
    HotTrack = True
    TabOrder = 0
    FlashingDelay = 12
    HighlightSound = Chime
    SelectSound = Chime
    Styles = [tabCenterText]
    TabColorization = tcActive
    object First: TBMTabSheet
      Left = 0
      Top = 0
      Caption = 'First'
      Glyph.Data = {
        76000000424D7600000000000000360000002800000004000000040000000100
        2000000000004000000000000000000000000000000000000000FFFFFF000000
        FF000000FF000000FF000000FF000000FF000000FF000000FF000000FF000000
        FF000000FF000000FF000000FF000000FF000000FF000000FF00}
    end
    object Second: TBMTabSheet
      Left = 0
      Top = 0
      Caption = 'Second'
      Color = clYellow
      ParentColor = False
      Transparent = True
      TransparentLevel = 40
    end
    object Third: TBMTabSheet
      Left = 0
      Top = 0
      Caption = 'Third'
      BackgroundStyle = bgsTailed
      HotTrackCloudColor = clLime
      PulseSound = Chime
    end
  end
  object Chime: TBMWave
    Wave.Data = {
      010000000044000000524946463C00000057415645666D742010000000010001
      00401F0000401F0000010008006461746118000000050C131A21282F363D444B
      525960676E757C838A91989FA6}
    Left = 8
    Top = 240
  end
end
