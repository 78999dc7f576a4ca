// The About dialog: product name, version, picture, the maker's link and OK, under a gradient
// caption. Created hidden at start; the main window shows it modelessly.
#pragma once
#include "gradform/GradForm.h"
#include "suite/Mystd.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

class TAboutForm : public TgrdGradientForm {
  ORV_CLASS(TAboutForm, TgrdGradientForm)
public:
  explicit TAboutForm(TComponent* AOwner) : TgrdGradientForm(AOwner) {}

  // Published fields, bound by name from the form resource.
  TLabel* Label1 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Version = nullptr;
  TqcURLLabel* qcURLLabel1 = nullptr;
  TImage* Image3 = nullptr;
  TBitBtn* BitBtn1 = nullptr;

  // Published methods.
  void FormShow(TObject* Sender);
  void BitBtn1Click(TObject* Sender);
  void qcURLLabel1Click(TObject* Sender);
};

extern TAboutForm* AboutForm;
