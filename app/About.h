// The About dialog, shown modelessly from the main window's menu.
#pragma once
#include "vcl/Forms.h"

class TAboutForm : public TForm {
  ORV_CLASS(TAboutForm, TForm)
public:
  explicit TAboutForm(TComponent* AOwner) : TForm(AOwner) {}
};

extern TAboutForm* AboutForm;
