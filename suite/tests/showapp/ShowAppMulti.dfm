inherited MultiForm: TMultiForm
  Caption = 'Show app fixture, many instances'
  inherited ShowApp: TqShowApp
    OnlyOneInstance = False
  end
end
