#include "package/design/BMWaveEditors.h"
#include "vcl/Forms.h"

#include <memory>

void ApplyWaveFile(const AnsiString& FileName, const std::function<void(TBMWaveData*)>& Apply) {
  std::unique_ptr<TBMWaveData> Data(new TBMWaveData);
  Data->LoadFromFile(FileName);
  const int Answer = Application->MessageBox("Do you wand the sond data to be part of the executable ?", "Option", MB_YESNO);
  Data->SetEmbedded(Answer == IDYES);
  Apply(Data.get());
}

// ---------------------------------------------------------------------------------------------

TPropertyAttributes TBMWaveDataProperty::GetAttributes() {
  return TPropertyEditor::GetAttributes() | PropertyAttribute(paDialog);
}

AnsiString TBMWaveDataProperty::GetValue() {
  auto* Data = dynamic_cast<TBMWaveData*>(GetObjectValue());
  if (!Data || Data->Empty()) return "(Silence)";
  return Data->FileName();
}

void TBMWaveDataProperty::SetValue(const AnsiString& Value) {
  if (Value.IsEmpty()) {
    SetObjectValue(nullptr);
    Modified();
  }
  TPropertyEditor::SetValue(Value);
}

ORV_IMPLEMENT_CLASS(TBMWaveDataProperty, TPropertyEditor)

ORV_IMPLEMENT_CLASS(TBMWaveEditor, TComponentEditor)
