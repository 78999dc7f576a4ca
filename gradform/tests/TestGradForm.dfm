inherited GradTestForm: TGradTestForm
  Left = 80
  Top = 90
  BorderStyle = bsSingle
  Caption = 'Gradient caption form'
  ClientHeight = 120
  ClientWidth = 420
  Color = clWhite
  OldCreateOrder = True
  CaptionFont.Charset = ANSI_CHARSET
  CaptionFont.Color = clWindowText
  CaptionFont.Height = -11
  CaptionFont.Name = 'Tahoma'
  CaptionFont.Style = [fsBold]
  UseSystemCaptionFont = True
  GradientColors = 255
  GradientStartColor = 6891367
  GradientStopColor = 15703240
  GradientInactiveStartColor = clGray
  GradientInactiveStopColor = clSilver
  CaptionTextColor = clYellow
  UseDithering = False
  object Label1: TLabel
    Left = 16
    Top = 16
    Width = 200
    Height = 16
    Caption = 'A form derived from the gradient form'
  end
end
