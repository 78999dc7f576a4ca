object FixtureForm: TFixtureForm
  Left = 240
  Top = 160
  Width = 320
  Height = 200
  Caption = 'Show app fixture'
  object ShowApp: TqShowApp
    OnlyOneInstance = True
    UseCmdShow = True
    OnSecondInstance = ShowAppSecondInstance
    OnAnotherInstance = ShowAppAnotherInstance
  end
end
