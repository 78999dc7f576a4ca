#include "coolctrls/design/CoolCtrlsReg.h"
#include "coolctrls/CoolCtrls.h"
#include "coolctrls/CoolUtils.h"

void CoolCtrlsReg::Register() {
  RegisterComponents(CoolCtrlsPalettePage,
                     {TCoolImages::StaticClass(), TCoolCheckRadioBox::StaticClass(), TCoolListBox::StaticClass(),
                      TCoolComboBox::StaticClass(), TCoolStringGrid::StaticClass(), TCoolEdit::StaticClass(),
                      TCoolEditBtn::StaticClass(), TCoolMemo::StaticClass(), TCoolBtn::StaticClass(),
                      TCoolCaptionBtn::StaticClass(), TCoolPopupButton::StaticClass(),
                      TCoolPopupButton2::StaticClass(), TCoolPopupBox::StaticClass(), TCoolPopupBox2::StaticClass(),
                      TCoolFormHook::StaticClass(), TMDICoolFormHook::StaticClass(),
                      TCoolScrollingText::StaticClass(), TCoolLabel::StaticClass(), TCoolGroupBox::StaticClass(),
                      TCoolCheckRadioGroup::StaticClass(), TCoolBevel::StaticClass(), TCoolPanel::StaticClass(),
                      TCoolSpeedButton::StaticClass(), TCoolTrackBar::StaticClass(), TCoolThumbTab::StaticClass()});
}

void CoolUtilsReg::Register() { RegisterComponents(CoolCtrlsPalettePage, {TWndHook::StaticClass()}); }

void RegisterCoolCtrls() {
  CoolCtrlsReg::Register();
  CoolUtilsReg::Register();
}
