// The process-wide hint settings.
#include "suite/MystdRoutines.h"

constexpr TEnumType TqHintPosType{"TqHintPos", {"hpLeftAbove", "hpLeftUnder", "hpRightAbove", "hpRightUnder", "hpNormal"}};

TqHintSettings* HintSettings = nullptr;

void TqHintSettings::Reset() {
  HintPosition = hpLeftAbove;
  PartOfScreen = 2;
  MoveBeforeOff = 5;
  MultiLine = true;
  Use3D = true;
  OnHintPaint = nullptr;
  OnHintShow = nullptr;
  ShadowColor = clBtnShadow;
  HighLightColor = clBtnHighlight;
  if (!Font) Font = new TFont;
  Font->SetName("MS Sans Serif");
  Font->SetColor(clWindowText);
  Font->SetHeight(-11);
  Font->SetPitch(fpDefault);
  Font->SetStyle(0);
}

namespace {
struct THintSettingsUnit {
  THintSettingsUnit() {
    HintSettings = new TqHintSettings;
    HintSettings->Reset();
  }
  ~THintSettingsUnit() {
    TObject::Free(HintSettings->Font);
    delete HintSettings;
    HintSettings = nullptr;
  }
} HintSettingsUnit;
}  // namespace
