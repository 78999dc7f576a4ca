#include "package/design/BMWaveEditors.h"
#include "package/BMMediaDialogs.h"
#include "vcl/Forms.h"

#include <memory>

void ApplyWaveFile(const AnsiString& FileName, const std::function<void(TBMWaveData*)>& Apply) {
  std::unique_ptr<TBMWaveData> Data(new TBMWaveData);
  Data->LoadFromFile(FileName);
  const int Answer = Application->MessageBox("Do you wand the sond data to be part of the executable ?", "Option", MB_YESNO);
  Data->SetEmbedded(Answer == IDYES);
  Apply(Data.get());
}

namespace {
struct TFreeObject {
  void operator()(TObject* O) const { TObject::Free(O); }
};
}  // namespace

bool ChooseWaveFile(TBMWaveData* Current, const std::function<void(TBMWaveData*)>& Apply) {
  std::unique_ptr<TBMOpenMediaDialog, TFreeObject> Dialog(TComponent::Create<TBMOpenMediaDialog>(Application));
  Dialog->SetFilter("Wave files (*.wav)|*.wav|All files (*.*)|*.*");
  Dialog->SetOptions(Dialog->Options() | (1u << ofFileMustExist));
  if (Current && !Current->FileName().IsEmpty()) {
    Dialog->SetInitialDir(ExtractFileDir(Current->FileName()));
    Dialog->SetFileName(ExtractFileName(Current->FileName()));
  }
  if (!Dialog->Execute()) return false;
  ApplyWaveFile(Dialog->FileName(), Apply);
  return true;
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

void TBMWaveDataProperty::Edit() {
  auto* Current = dynamic_cast<TBMWaveData*>(GetObjectValue());
  if (ChooseWaveFile(Current, [this](TBMWaveData* New) { SetObjectValue(New); })) Modified();
}

ORV_IMPLEMENT_CLASS(TBMWaveDataProperty, TPropertyEditor)

// ---------------------------------------------------------------------------------------------

void TBMWaveEditor::Edit() {
  auto* Wave = dynamic_cast<TBMWave*>(Component());
  if (!Wave) return;
  if (ChooseWaveFile(Wave->Wave(), [Wave](TBMWaveData* New) { Wave->Wave()->Assign(New); })) Designer()->Modified();
}

ORV_IMPLEMENT_CLASS(TBMWaveEditor, TComponentEditor)
