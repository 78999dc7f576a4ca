object AboutForm: TAboutForm
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'About'
  ClientHeight = 240
  ClientWidth = 320
  Position = poScreenCenter
end
