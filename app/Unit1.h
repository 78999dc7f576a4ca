// The main window: two boxes for the hexadecimal tag ID and its dotted EPC text, two buttons
// converting between them, and a menu.
#pragma once
#include "app/TagConverter.h"
#include "coolctrls/CoolCtrls.h"
#include "suite/Blend.h"
#include "suite/qEdit.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

class TForm1 : public TForm {
  ORV_CLASS(TForm1, TForm)
public:
  explicit TForm1(TComponent* AOwner) : TForm(AOwner) {}

  // Published fields, bound by name from the form resource.
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TqcEdit* HexTagID = nullptr;
  TqcEdit* EPCTagID = nullptr;
  TqBackground* qBackground1 = nullptr;
  TCoolCheckRadioBox* GTIN64RB = nullptr;
  TCoolCheckRadioBox* GTIN96RB = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* File1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* About1 = nullptr;
  TMenuItem* About2 = nullptr;

  // Published methods.
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Exit1Click(TObject* Sender);
  void About2Click(TObject* Sender);

private:
  TagConverter FConverter;
};

extern TForm1* Form1;
