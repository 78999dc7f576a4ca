object BadRegionTestForm: TBadRegionTestForm
  Left = 160
  Top = 120
  Caption = 'Bad region'
  ClientHeight = 180
  ClientWidth = 240
  object Shape: TqcFancyForm
    Region.Data = {
      30000000200000000100000001000000100000000000000000000000C8000000
      960000001E000000000000000A00000032000000}
  end
end
