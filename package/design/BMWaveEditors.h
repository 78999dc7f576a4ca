// Design-time editors of unit BMWave: the wave data of any TBMWaveData property, and the double
// click on a TBMWave. Both pick a wave file and ask whether its bytes are embedded.
#pragma once

#include "package/BMWave.h"
#include "vcl/DesignIntf.h"

#include <functional>

class TBMWaveDataProperty : public TPropertyEditor {
  ORV_CLASS(TBMWaveDataProperty, TPropertyEditor)
public:
  using TPropertyEditor::TPropertyEditor;
  // The wave-file dialog over the property's wave data; a chosen file becomes the property's
  // wave data (the component's setter assigns it), then Modified.
  void Edit() override;
  // The inherited ones and paDialog.
  TPropertyAttributes GetAttributes() override;
  // "(Silence)" for empty wave data, else its file name.
  AnsiString GetValue() override;
  // The empty text clears the wave's bytes (name and flag stay) and is Modified.
  void SetValue(const AnsiString& Value) override;
};

class TBMWaveEditor : public TComponentEditor {
  ORV_CLASS(TBMWaveEditor, TComponentEditor)
public:
  using TComponentEditor::TComponentEditor;
  // The wave-file dialog over the component's Wave; a chosen file is assigned to it, then the
  // designer's Modified.
  void Edit() override;
};

// The wave-file dialog of both editors: a media open dialog owned by the application, for wave
// files that exist, opening in Current's folder with its name in the box. A chosen file goes
// through ApplyWaveFile; false when the user cancelled. The dialog is freed in every case.
bool ChooseWaveFile(TBMWaveData* Current, const std::function<void(TBMWaveData*)>& Apply);

// What both editors do with a chosen file: new wave data loads it, the question "Option" (Yes
// embeds the bytes, any other answer keeps only the name) sets its flag, Apply takes it over
// (assigning it), and the new data is freed in every case. A load error passes on before the
// question, and Apply is not called.
void ApplyWaveFile(const AnsiString& FileName, const std::function<void(TBMWaveData*)>& Apply);
