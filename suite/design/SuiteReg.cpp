#include "suite/design/SuiteReg.h"
#include "suite/Blend.h"
#include "suite/Mystd.h"
#include "suite/Std2.h"
#include "suite/Std2FancyBtn.h"
#include "suite/Std2ShapeBtn.h"
#include "suite/qAnimate.h"
#include "suite/qBtn2.h"
#include "suite/qEdit.h"
#include "suite/qPanel2.h"

void MystdReg::Register() {
  RegisterComponents(SuitePalettePage,
                     {TqBigLabel::StaticClass(), Tq3DLabel::StaticClass(), TqcURLLabel::StaticClass(),
                      TqAngleLabel::StaticClass(), TqMouseSpot::StaticClass(), TqShowApp::StaticClass(),
                      TqCalc::StaticClass(), TqTrayIcon::StaticClass(), TqcTrayMeter::StaticClass(),
                      TqHint::StaticClass(), TqMovePanel::StaticClass(), TqTabListbox::StaticClass(),
                      TqTitleBar::StaticClass()});
  // The hint window is TqHint's class for the application's hints, not for forms.
  RegisterClass(TqHintWindow::StaticClass());
}

void qEditReg::Register() {
  RegisterComponents(SuitePalettePage,
                     {TqcEdit::StaticClass(), TqcMemo::StaticClass(), TqcListBox::StaticClass(),
                      TqcComboBox::StaticClass(), TqcColorComboBox::StaticClass(), TqcColorListBox::StaticClass(),
                      TqcFontComboBox::StaticClass(), TqcFontListBox::StaticClass(), TqcCheckBox::StaticClass(),
                      TqcRadioButton::StaticClass(), TqcButtonEdit::StaticClass(), TqcSpinEdit::StaticClass(),
                      TqcFloatSpinEdit::StaticClass()});
}

void qAnimateReg::Register() {
  RegisterComponents(SuitePalettePage,
                     {TqColorBtn::StaticClass(), TqGradBtn::StaticClass(), TqBitColBtn::StaticClass(),
                      TqIconColBtn::StaticClass(), TqNWColorBtn::StaticClass(), TqNWBitColBtn::StaticClass(),
                      TqNWIconColBtn::StaticClass(), TqBitmap::StaticClass(), TqAnimated::StaticClass(),
                      TqShapeBtn::StaticClass(), TqDivider::StaticClass(), TqFrame::StaticClass()});
}

void Std2Reg::Register() {
  RegisterComponents(SuitePalettePage,
                     {TqcTimer::StaticClass(), TqcMMTimer::StaticClass(), TqcShapeColorBtn::StaticClass(),
                      TqcShapeGradBtn::StaticClass(), TqcShapeBitColBtn::StaticClass(),
                      TqcShapeIconColBtn::StaticClass(), TqcFancyForm::StaticClass(), TqcFancyControl::StaticClass(),
                      TqcFancyCheckBox::StaticClass(), TqcFancyRadioButton::StaticClass(),
                      TqcFancyButton::StaticClass(), TqcRunProg::StaticClass(), TqcVerInfo::StaticClass(),
                      TqSplashForm::StaticClass(), TqMinMax::StaticClass(), TqCompCanvas::StaticClass()});
}

void BlendReg::Register() {
  RegisterComponents(SuitePalettePage,
                     {TqBackground::StaticClass(), TqBlendPaint::StaticClass(), TqNWBlendPaint::StaticClass(),
                      TqTileMap::StaticClass(), TqNWTileMap::StaticClass()});
}

void qBtn2Reg::Register() {
  RegisterComponents(SuitePalettePage, {TqcSpinBtn::StaticClass(), TqcCenterSpinBtn::StaticClass(),
                                        TqcHairLine::StaticClass(), TqcArrowHead::StaticClass()});
}

void qPanel2Reg::Register() {
  RegisterComponents(SuitePalettePage, {TqcCreditScroll::StaticClass(), TqcAnalogClock::StaticClass(),
                                        TqcDinMeter::StaticClass(), TqcSpectrum::StaticClass()});
}

void RegisterSuite() {
  for (void (*Register)() : {&MystdReg::Register, &qEditReg::Register, &qAnimateReg::Register, &Std2Reg::Register,
                             &BlendReg::Register, &qBtn2Reg::Register, &qPanel2Reg::Register})
    Register();
}
