inherited GradFontForm: TGradFontForm
  Left = 80
  Top = 90
  Caption = 'Stored caption font'
  ClientHeight = 100
  ClientWidth = 300
  CaptionFont.Height = -30
  CaptionFont.Name = 'Courier New'
  UseSystemCaptionFont = False
  object Probe1: TGradLoadProbe
  end
end
