// The item part of the cool list box and combo box.
#include "coolctrls/CoolCtrls.h"

#include "vcl/Dialogs.h"
#include "vcl/GdiGuards.h"
#include "vcl/Printers.h"

#include <shellapi.h>

#include <algorithm>
#include <memory>

constexpr TEnumType TCoolControlStyleType{"TCoolControlStyle",
                                          {"ctCoolControl", "ctColorControl", "ctFontControl", "ctPrinterControl",
                                           "ctCheckControl", "ctFolderControl"}};
constexpr TEnumType TFileAttrType{
    "TFileAttr", {"ftReadOnly", "ftHidden", "ftSystem", "ftVolumeID", "ftDirectory", "ftArchive", "ftNormal"}};

namespace {

constexpr TOwnerDrawState OdSelected = 1u << odSelected, OdFocused = 1u << odFocused;

struct TObjectFree {
  void operator()(TObject* O) const { TObject::Free(O); }
};

// The path's components between backslashes.
std::vector<AnsiString> Components(const AnsiString& Path) {
  std::vector<AnsiString> Parts;
  std::string Part;
  for (char C : Path.str()) {
    if (C == '\\') {
      Parts.push_back(Part);
      Part.clear();
    } else {
      Part += C;
    }
  }
  Parts.push_back(Part);
  return Parts;
}

// S itself when it names a colour, else "cl" + S (the failure is not reported).
AnsiString MakeColorStr(const AnsiString& S) {
  try {
    StringToColor(S);
    return S;
  } catch (const EConvertError&) {
    return "cl" + S;
  }
}

// The colour an item names; false when it names none, even with "cl" in front.
bool ItemColor(const AnsiString& Text, TColor& Color) {
  try {
    Color = StringToColor(MakeColorStr(Text));
    return true;
  } catch (const EConvertError&) {
    return false;
  }
}

// A Size by Size bitmap filled with Back, for an item image.
void StartImage(TBitmap& B, int Size, TColor Back) {
  B.SetPixelFormat(pf24bit);
  B.Canvas()->Brush()->SetColor(Back);
  B.SetSize(Size, Size);
  B.Canvas()->FillRect(Rect(0, 0, Size, Size));
}

// A swatch of Colour on Back; Back is changed in its lowest bit where it would equal Colour,
// so the swatch never turns transparent with it.
void SwatchImage(TBitmap& B, int Size, TColor Colour, TColor Back) {
  TColor Face = ColorToRGB(Back);
  if (Face == ColorToRGB(Colour)) Face ^= 1;
  StartImage(B, Size, Face);
  TCanvas* C = B.Canvas();
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetColor(Colour);
  C->Rectangle(0, 2, Size, Size - 2);
}

// The system's check box for State on olive, the glyphs' transparent colour.
void CheckImage(TBitmap& B, int Size, TCheckBoxState State, bool Flat) {
  StartImage(B, Size, clOlive);
  UINT Flags = DFCS_BUTTONCHECK;
  if (State == cbChecked) Flags |= DFCS_CHECKED;
  else if (State == cbGrayed) Flags |= DFCS_CHECKED | DFCS_BUTTON3STATE;
  if (Flat) Flags |= DFCS_FLAT;
  RECT R{1, 1, Size - 1, Size - 1};
  DrawFrameControl(B.Canvas()->Handle(), &R, DFC_BUTTON, Flags);
  B.SetTransparentColor(clOlive);
}

// The small shell icon of Path on olive; false (nothing drawn) when the shell has none. A
// failed call may leave a stale handle in the record, so only a success counts.
bool ShellIconImage(TBitmap& B, int Size, const AnsiString& Path) {
  if (HasParentStep(Path)) return false;
  SHFILEINFOA Info{};
  if (!SHGetFileInfoA(Path.c_str(), 0, &Info, sizeof Info, SHGFI_ICON | SHGFI_SMALLICON) || !Info.hIcon) return false;
  TIconOwner Icon(Info.hIcon);
  StartImage(B, Size, clOlive);
  DrawIconEx(B.Canvas()->Handle(), 0, 0, Icon, Size, Size, 0, nullptr, DI_NORMAL);
  B.SetTransparentColor(clOlive);
  return true;
}

// Image Index of List as a bitmap of the list's size (what the list leaves transparent shows
// white).
void ImageListImage(TCustomImageList* List, int Index, TBitmap& B) {
  StartImage(B, 1, clWhite);
  B.SetSize(List->Width(), List->Height());
  B.Canvas()->FillRect(Rect(0, 0, List->Width(), List->Height()));
  if (Index >= 0 && Index < List->ImageCount())
    ImageList_Draw(List->Handle(), Index, B.Canvas()->Handle(), 0, 0, ILD_NORMAL);
}

// BeginUpdate..EndUpdate of a fill, also when it throws.
struct TUpdateGuard {
  TStrings* S;
  explicit TUpdateGuard(TStrings* AS) : S(AS) { S->BeginUpdate(); }
  ~TUpdateGuard() {
    if (S) S->EndUpdate();
  }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;
};

}  // namespace

bool HasParentStep(const AnsiString& Path) {
  for (const AnsiString& P : Components(Path))
    if (P == "..") return true;
  return false;
}

AnsiString NormalizeFolderName(const AnsiString& Value) {
  AnsiString S = Value;
  if (!S.IsEmpty() && S[S.Length()] != '\\') S += '\\';
  const std::vector<AnsiString> Parts = Components(S);
  for (size_t K = 0; K < Parts.size(); ++K) {
    if (Parts[K] != "..") continue;
    AnsiString Before;
    for (size_t I = 0; I < K; ++I) Before += Parts[I] + "\\";
    return GetParentFolder(Before);
  }
  return S;
}

// ---------------------------------------------------------------------------------------------
// Construction

template <class TBase>
TCoolItemControl<TBase>::TCoolItemControl(TComponent* AOwner, TCoolOptions DefaultOptions)
    : TBase(AOwner),
      FGlyph(new TGlyph()),
      FImageChangeLink(new TChangeLink()),
      FSelFont(new TFont()),
      FBorderPen(new TPen()),
      FWrappers(new TCollection(TCheckWrapper::StaticClass(),
                                [](TCollection* C) -> TCollectionItem* { return new TCheckWrapper(C); })),
      FFontValue(new TFont()),
      FWallpaper(this, TNotifyEvent::Bind<&TCoolItemControl::WallpaperChanged>(this),
                 TNotifyEvent::Bind<&TCoolItemControl::Redraw>(this)),
      FSelWallpaper(this, TNotifyEvent::Bind<&TCoolItemControl::WallpaperChanged>(this),
                    TNotifyEvent::Bind<&TCoolItemControl::Redraw>(this)),
      FOptions(DefaultOptions) {
  FGlyph->OnChange = TNotifyEvent::Bind<&TCoolItemControl::Redraw>(this);
  FImageChangeLink->OnChange = TNotifyEvent::Bind<&TCoolItemControl::Redraw>(this);
  FSelFont->SetColor(clHighlightText);
  FSelFont->OnChange = TNotifyEvent::Bind<&TCoolItemControl::SelFontChanged>(this);
  FBorderPen->OnChange = TNotifyEvent::Bind<&TCoolItemControl::Redraw>(this);
  FFontValue->OnChange = TNotifyEvent::Bind<&TCoolItemControl::FontValueChanged>(this);
}

template <class TBase> TCoolItemControl<TBase>::~TCoolItemControl() {
  FGlyph->OnChange = nullptr;
  TObject::Free(FGlyph);
  TObject::Free(FImageChangeLink);
  TObject::Free(FSelFont);
  TObject::Free(FBorderPen);
  FWrapperSet.clear();
  TObject::Free(FWrappers);
  TObject::Free(FFontValue);
}

template <class TBase> void TCoolItemControl<TBase>::BeforeDestruction() {
  FFillToken->Alive = false;
  TBase::BeforeDestruction();
}

template <class TBase> void TCoolItemControl<TBase>::Dispatch(TMessage& Message) {
  constexpr bool List = std::is_base_of_v<TCustomListBox, TBase>;
  constexpr unsigned AddMsg = List ? LB_ADDSTRING : CB_ADDSTRING, InsertMsg = List ? LB_INSERTSTRING : CB_INSERTSTRING,
                     DeleteMsg = List ? LB_DELETESTRING : CB_DELETESTRING,
                     ResetMsg = List ? LB_RESETCONTENT : CB_RESETCONTENT;
  switch (Message.Msg) {
    case AddMsg:
    case InsertMsg:
    case DeleteMsg:
    case ResetMsg:
      TBase::Dispatch(Message);
      UpdateExtent(Message.Msg, Message.LParam);
      break;
    case CN_COMMAND:
      // LBN_SELCHANGE and CBN_SELCHANGE: the colour of the item now selected.
      if (HIWORD(Message.WParam) == 1 && FExtendedStyle == ctColorControl) {
        const int I = this->ItemIndex();
        TColor C = -1;
        if (I >= 0 && !ItemColor(this->Items()->Get(I), C)) C = -1;
        if (I >= 0) FColorValue = C;
      }
      TBase::Dispatch(Message);
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: CMMouse(Message); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: WMFocus(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_ENABLEDCHANGED:
      TBase::Dispatch(Message);
      if (this->HasState(csDesigning)) this->Invalidate();
      break;
    case CM_PARENTCOLORCHANGED:
      TBase::Dispatch(Message);
      if (SeeThrough()) this->Invalidate();
      break;
    case WM_MOVE:
      TBase::Dispatch(Message);
      this->Invalidate();
      break;
    default: TBase::Dispatch(Message);
  }
}

template <class TBase> void TCoolItemControl<TBase>::CMMouse(TMessage& Message) {
  TBase::Dispatch(Message);
  CoolMouseEnterLeave(this, Message, FOptions & CoolOption(ocFlatBorder), false, OnMouseEnter, OnMouseLeave);
}

template <class TBase> void TCoolItemControl<TBase>::WMFocus(TMessage& Message) {
  TBase::Dispatch(Message);
  if (!this->HandleAllocated()) return;
  // An empty list shows its focus rectangle where the first item would be.
  if constexpr (std::is_base_of_v<TCustomListBox, TBase>)
    if (this->Items()->Count() == 0) InvalidateRectEx(this->WindowHandle(), this->ItemRect(0), false);
  if (FOptions & CoolOption(ocFlatBorder)) DrawFlatBorder(nullptr, this, Message.Msg == WM_SETFOCUS);
}

template <class TBase> void TCoolItemControl<TBase>::CMParentFontChanged(TMessage& Message) {
  TBase::Dispatch(Message);
  if (!this->ParentFont()) return;
  FSelFont->OnChange = nullptr;
  FSelFont->Assign(Message.WParam ? reinterpret_cast<TFont*>(Message.LParam) : this->Font());
  FSelFont->SetColor(clHighlightText);
  FSelFont->OnChange = TNotifyEvent::Bind<&TCoolItemControl::SelFontChanged>(this);
}

template <class TBase> void TCoolItemControl<TBase>::UpdateExtent(unsigned Msg, intptr_t LParam) {
  constexpr bool List = std::is_base_of_v<TCustomListBox, TBase>;
  constexpr unsigned ExtentMsg = List ? LB_SETHORIZONTALEXTENT : CB_SETHORIZONTALEXTENT;
  if (Msg == (List ? LB_ADDSTRING : CB_ADDSTRING) || Msg == (List ? LB_INSERTSTRING : CB_INSERTSTRING)) {
    if (!LParam) return;
    const int W = RealWidth(reinterpret_cast<const char*>(LParam));
    if (W > FMaxItemWidth && W > ExtentLimit()) {
      FMaxItemWidth = W;
      this->Perform(ExtentMsg, WPARAM(W), 0);
    }
  } else {
    FMaxItemWidth = MaxWidth();
    this->Perform(ExtentMsg, WPARAM(FMaxItemWidth), 0);
  }
}

// ---------------------------------------------------------------------------------------------
// Properties

template <class TBase> void TCoolItemControl<TBase>::Changed() {
  if (!Loading() && !this->HasState(csDestroying)) this->Invalidate();
}

template <class TBase> void TCoolItemControl<TBase>::SetExtendedStyle(TCoolControlStyle Value) {
  if (FExtendedStyle == Value) return;
  FExtendedStyle = Value;
  StopFill();
  // The colour list needs nothing of the system: it is there while the form is still read.
  if (Loading()) {
    if (Value == ctColorControl) FillColors();
    return;
  }
  switch (Value) {
    case ctColorControl: FillColors(); break;
    case ctFontControl: FillFonts(); break;
    case ctPrinterControl: FillPrinters(); break;
    case ctCheckControl: SetExtendedCheck(false); break;
    case ctFolderControl: FillFolder(); break;
    default: break;
  }
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetExtendedCheck(bool Value) {
  Value = Value && FExtendedStyle != ctCheckControl;
  if (FExtendedCheck == Value) return;
  FExtendedCheck = Value;
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetFlatCheckBox(bool Value) {
  if (FFlatCheckBox == Value) return;
  FFlatCheckBox = Value;
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetLightColorControl(bool Value) {
  if (FLightColorControl == Value) return;
  FLightColorControl = Value;
  if (FExtendedStyle == ctColorControl) FillColors();
}

template <class TBase> void TCoolItemControl<TBase>::SetTrueType(bool Value) {
  if (FTrueType == Value) return;
  FTrueType = Value;
  if (!Loading() && FExtendedStyle == ctFontControl) FillFonts();
}

template <class TBase> void TCoolItemControl<TBase>::SetFontAutoUpdate(bool Value) {
  if (FFontAutoUpdate == Value) return;
  FFontAutoUpdate = Value;
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetFolderName(const AnsiString& Value) {
  if (FFolderName == Value) return;
  FFolderName = NormalizeFolderName(Value);
  if (!Loading() && FExtendedStyle == ctFolderControl) FillFolder();
}

template <class TBase> void TCoolItemControl<TBase>::SetFileMask(const AnsiString& Value) {
  if (FFileMask == Value) return;
  FFileMask = Value;
  if (!Loading() && FExtendedStyle == ctFolderControl) FillFolder();
}

template <class TBase> void TCoolItemControl<TBase>::SetFileType(TFileType Value) {
  if (FFileType == Value) return;
  FFileType = Value;
  if (!Loading() && FExtendedStyle == ctFolderControl) FillFolder();
}

template <class TBase> void TCoolItemControl<TBase>::SetGlyph(TBitmap* Value) {
  FGlyph->SetGlyph(Value);
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::min(Value, TNumGlyphs(2));
  if (FGlyph->NumGlyphs() == Value) return;
  FGlyph->SetNumGlyphs(Value);
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageChangeLink);
    FImages->RemoveFreeNotification(this);
  }
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink);
    FImages->FreeNotification(this);
  }
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetSelColor(TColor Value) {
  if (FSelColor == Value) return;
  FSelColor = Value;
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetSelFont(TFont* Value) {
  FSelFont->Assign(Value);
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SelFontChanged(TObject*) { this->SetParentFont(false); }

template <class TBase> void TCoolItemControl<TBase>::SetOptions(TCoolOptions Value) {
  if (FOptions == Value) return;
  FOptions = ExcludeWallpaperOrSeeThrough(FOptions, Value);
  if (Loading()) return;
  OptionsChanged();
  this->Perform(CM_COLORCHANGED, 0, 0);
}

template <class TBase> void TCoolItemControl<TBase>::SetWallpaper(TBitmap* Value) {
  FWallpaper.SetWallpaper(Value);
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetSelWallpaper(TBitmap* Value) {
  FSelWallpaper.SetWallpaper(Value);
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetIdWallpaper(int Value) {
  if (FWallpaper.idWallpaper() == Value) return;
  FWallpaper.SetIdWallpaper(Value);
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetIdSelWallpaper(int Value) {
  if (FSelWallpaper.idWallpaper() == Value) return;
  FSelWallpaper.SetIdWallpaper(Value);
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetCoolImages(TCoolImages* Value) {
  const bool A = FWallpaper.SetCoolImages(Value);
  const bool B = FSelWallpaper.SetCoolImages(Value);
  if (A || B) Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetBevelStyle(TBevelStyleEx Value) {
  if (FBevelStyle == Value) return;
  FBevelStyle = Value;
  Changed();
}

// The shadow setters switch the plain text off (not while loading, so a resource's SimpleView
// wins whatever its order) and repaint at once.
template <class TBase> void TCoolItemControl<TBase>::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  if (Loading()) return;
  FSimpleView = false;
  this->Repaint();
}

template <class TBase> void TCoolItemControl<TBase>::SetShadowSize(uint8_t Value) {
  if (FShadowSize == Value) return;
  FShadowSize = Value;
  if (Loading()) return;
  FSimpleView = false;
  this->Repaint();
}

template <class TBase> void TCoolItemControl<TBase>::SetShadowPos(TShadowPosition Value) {
  if (FShadowPos == Value) return;
  FShadowPos = Value;
  if (Loading()) return;
  FSimpleView = false;
  this->Repaint();
}

template <class TBase> void TCoolItemControl<TBase>::SetSimpleView(bool Value) {
  if (FSimpleView == Value) return;
  FSimpleView = Value;
  if (!Loading()) this->Repaint();
}

template <class TBase> void TCoolItemControl<TBase>::SetTransparencyLevel(uint8_t Value) {
  if (FTransparencyLevel == Value) return;
  FTransparencyLevel = Value;
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::SetEdgeBorders(TEdgeBorders Value) {
  if (FEdgeBorders == Value) return;
  FEdgeBorders = Value;
  Changed();
}

template <class TBase> void TCoolItemControl<TBase>::WallpaperChanged(TObject*) {
  Changed();
  if (!this->HasState(csDestroying)) this->Perform(CM_COLORCHANGED, 0, 0);
}

template <class TBase> void TCoolItemControl<TBase>::Redraw(TObject*) { Changed(); }

template <class TBase>
void TCoolItemControl<TBase>::Notification(TComponent* AComponent, TOperation Operation) {
  TBase::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    Changed();
  }
  if (AComponent == CoolImages()) SetCoolImages(nullptr);
}

template <class TBase> void TCoolItemControl<TBase>::Loaded() {
  TBase::Loaded();
  if (FExtendedStyle != ctColorControl) Refill();
}

// ---------------------------------------------------------------------------------------------
// Colour and font values

template <class TBase> void TCoolItemControl<TBase>::SetColorValue(TColor Value) {
  if (FExtendedStyle != ctColorControl) return;
  const AnsiString Wanted = ColorToString(Value);
  TStrings* Items = this->Items();
  for (int I = 0, N = Items->Count(); I < N; ++I) {
    if (Wanted == MakeColorStr(Items->Get(I))) {
      FColorValue = Value;
      this->SetItemIndex(I);
      return;
    }
    this->SetItemIndex(-1);
    FColorValue = -1;
  }
}

template <class TBase> TFont* TCoolItemControl<TBase>::FontValue() {
  FFontValue->OnChange = nullptr;
  const int I = this->ItemIndex();
  if (I >= 0) FFontValue->SetName(this->Items()->Get(I));
  FFontValue->OnChange = TNotifyEvent::Bind<&TCoolItemControl::FontValueChanged>(this);
  return FFontValue;
}

template <class TBase> void TCoolItemControl<TBase>::SetFontValue(TFont* Value) {
  FFontValue->Assign(Value);
  this->SetItemIndex(this->Items()->IndexOf(FFontValue->Name()));
}

template <class TBase> void TCoolItemControl<TBase>::ShowColorDialog() {
  std::unique_ptr<TColorDialog, TObjectFree> Dialog(TComponent::Create<TColorDialog>(this));
  Dialog->SetColor(FColorValue);
  if (!Dialog->Execute()) return;
  const TColor Chosen = Dialog->Color();
  SetColorValue(Chosen);
  if (this->ItemIndex() == -1) {
    this->Items()->Add(ColorToString(Chosen));
    SetColorValue(Chosen);
  }
}

template <class TBase> void TCoolItemControl<TBase>::ShowFontDialog() {
  std::unique_ptr<TFontDialog, TObjectFree> Dialog(TComponent::Create<TFontDialog>(this));
  Dialog->SetFont(FontValue());
  if (!Dialog->Execute()) return;
  SetFontValue(Dialog->Font());
  FontChosen();
}

template <class TBase> void TCoolItemControl<TBase>::KeyDown(unsigned short& Key, TShiftState Shift) {
  TBase::KeyDown(Key, Shift);
  CheckKeyDown(Key);
  if (Key != VK_RETURN || Shift != ShiftOf(ssCtrl)) return;
  if (FExtendedStyle == ctColorControl) ShowColorDialog();
  else if (FExtendedStyle == ctFontControl) ShowFontDialog();
}

// ---------------------------------------------------------------------------------------------
// Wrappers and item data

template <class TBase> bool TCoolItemControl<TBase>::IsOwnWrapper(intptr_t Data) const {
  return Data && FWrapperSet.count(reinterpret_cast<const TCheckWrapper*>(Data)) != 0;
}

template <class TBase> TCheckWrapper* TCoolItemControl<TBase>::ExtractWrapper(int Index) {
  if (Index < 0 || Index >= this->Items()->Count()) throw Exception("Unable to obtain data");
  const intptr_t Data = TBase::GetItemData(Index);
  return IsOwnWrapper(Data) ? reinterpret_cast<TCheckWrapper*>(Data) : nullptr;
}

template <class TBase> TCheckWrapper* TCoolItemControl<TBase>::CreateWrapper(int Index) {
  const intptr_t Data = TBase::GetItemData(Index);
  auto* W = static_cast<TCheckWrapper*>(FWrappers->Add());
  FWrapperSet.insert(W);
  W->SetData(Data);
  TBase::SetItemData(Index, reinterpret_cast<intptr_t>(W));
  return W;
}

template <class TBase> TCheckWrapper* TCoolItemControl<TBase>::GetWrapper(int Index) {
  if (TCheckWrapper* W = ExtractWrapper(Index)) return W;
  return CreateWrapper(Index);
}

template <class TBase> void TCoolItemControl<TBase>::FreeWrapper(TCheckWrapper* W) {
  FWrapperSet.erase(W);
  TObject::Free(W);
}

template <class TBase> void TCoolItemControl<TBase>::FreeAllWrappers() {
  FWrapperSet.clear();
  FWrappers->Clear();
}

template <class TBase> intptr_t TCoolItemControl<TBase>::GetItemData(int Index) {
  if (TCheckWrapper* W = ExtractWrapper(Index)) return W->Data();
  return TBase::GetItemData(Index);
}

template <class TBase> void TCoolItemControl<TBase>::SetItemData(int Index, intptr_t AData) {
  if (TCheckWrapper* W = ExtractWrapper(Index)) {
    W->SetData(AData);  // State and Locked stay
    return;
  }
  TBase::SetItemData(Index, AData);
  // A wrapper already made for the item (before its window existed) goes back as it is.
  if (!CheckMode() || IsOwnWrapper(AData)) return;
  TCheckWrapper* W = CreateWrapper(Index);
  if (!FSavedStates.empty()) {
    W->SetState(FSavedStates.front());
    FSavedStates.pop_front();
  }
}

template <class TBase> void TCoolItemControl<TBase>::ResetContent() {
  FreeAllWrappers();
  TBase::ResetContent();
}

template <class TBase> void TCoolItemControl<TBase>::DeleteString(int Index) {
  if (Index >= 0 && Index < this->Items()->Count())
    if (TCheckWrapper* W = ExtractWrapper(Index)) FreeWrapper(W);
  TBase::DeleteString(Index);
}

template <class TBase> void TCoolItemControl<TBase>::DestroyWnd() {
  const bool HadWindow = this->HandleAllocated();
  if (HadWindow && CheckMode()) {
    FSavedStates.clear();
    for (int I = 0, N = this->Items()->Count(); I < N; ++I) FSavedStates.push_back(State(I));
  }
  TBase::DestroyWnd();
  // The items now keep their data values; a window-less list may still hold wrappers.
  if (HadWindow) FreeAllWrappers();
}

template <class TBase> void TCoolItemControl<TBase>::CreateWnd() {
  TBase::CreateWnd();
  FSavedStates.clear();
}

template <class TBase> bool TCoolItemControl<TBase>::Checked(int Index) { return State(Index) == cbChecked; }

template <class TBase> void TCoolItemControl<TBase>::SetChecked(int Index, bool Value) {
  if (Checked(Index) == Value) return;
  GetWrapper(Index)->SetChecked(Value);
  CheckChanged(Index);
}

template <class TBase> TCheckBoxState TCoolItemControl<TBase>::State(int Index) {
  return TCheckWrapper::StateOf(ExtractWrapper(Index));
}

template <class TBase> void TCoolItemControl<TBase>::SetState(int Index, TCheckBoxState Value) {
  if (State(Index) == Value) return;
  GetWrapper(Index)->SetState(Value);
  CheckChanged(Index);
}

template <class TBase> bool TCoolItemControl<TBase>::Locked(int Index) {
  TCheckWrapper* W = ExtractWrapper(Index);
  return W && W->Locked();
}

template <class TBase> void TCoolItemControl<TBase>::SetLocked(int Index, bool Value) {
  if (Locked(Index) == Value) return;
  GetWrapper(Index)->SetLocked(Value);
}

// ---------------------------------------------------------------------------------------------
// Fillers

template <class TBase> void TCoolItemControl<TBase>::Refill() {
  switch (FExtendedStyle) {
    case ctColorControl: FillColors(); break;
    case ctFontControl: FillFonts(); break;
    case ctPrinterControl: FillPrinters(); break;
    case ctFolderControl: FillFolder(); break;
    default: break;
  }
}

template <class TBase> void TCoolItemControl<TBase>::FillColors() {
  static constexpr TColor Basic[16] = {clBlack, clMaroon, clGreen,  clOlive, clNavy, clPurple,  clTeal, clGray,
                                       clSilver, clRed,   clLime,   clYellow, clBlue, clFuchsia, clAqua, clWhite};
  StopFill();
  TStrings* Items = this->Items();
  TUpdateGuard Update(Items);
  Items->Clear();
  if (FLightColorControl)
    for (TColor C : Basic) Items->Add(ColorToString(C));
  else
    GetColorValues([Items](const AnsiString& S) { Items->Add(S); });
}

template <class TBase> void TCoolItemControl<TBase>::FillFonts() {
  TStrings* Items = this->Items();
  TStrings* Fonts = Screen->Fonts();
  StopFill();
  TUpdateGuard Update(Items);
  Items->Clear();
  if (!FTrueType) {
    Items->Assign(Fonts);
    return;
  }
  for (int I = 0, N = Fonts->Count(); I < N; ++I)
    if (CheckTTFont(Fonts->Get(I))) Items->Add(Fonts->Get(I));
}

template <class TBase> void TCoolItemControl<TBase>::FillPrinters() {
  TStrings* Items = this->Items();
  TStrings* Printers = Printer()->Printers();
  StopFill();
  TUpdateGuard Update(Items);
  Items->Clear();
  for (int I = 0, N = Printers->Count(); I < N; ++I) Items->Add(Printers->Get(I));
}

template <class TBase> void TCoolItemControl<TBase>::FillFolder() {
  StopFill();
  if (FFolderName.IsEmpty()) return;
  static constexpr int Bits[] = {faReadOnly, faHidden, faSysFile, faVolumeID, faDirectory, faArchive, faAnyFile};
  int Mask = 0;
  for (int I = 0; I < 7; ++I)
    if (FFileType & (1u << I)) Mask |= Bits[I];
  TStringList Folders, Files;
  Folders.SetSorted(true);
  Files.SetSorted(true);
  Folders.SetDuplicates(dupAccept);
  Files.SetDuplicates(dupAccept);
  {
    TSearchRec F;
    for (int R = FindFirst(FFolderName + FFileMask, Mask, F); R == 0; R = FindNext(F)) {
      const bool Within = (F.Attr & ~Mask) == 0;
      const bool Kind = (FFileType & FileAttr(ftNormal)) || (F.Attr & Mask);
      if (Within && Kind && F.Name != ".") ((F.Attr & faDirectory) ? Folders : Files).Add(F.Name);
    }
  }

  // Messages are handled between additions: the control may be freed, its style changed, a
  // newer fill begin or the list be changed meanwhile; the token tells without touching the
  // control, the count tells of a list someone else cleared or filled.
  const std::shared_ptr<TFillToken> Token = FFillToken;
  const unsigned Generation = Token->Generation;
  TStrings* Items = this->Items();
  auto Update = std::make_unique<TUpdateGuard>(Items);
  Items->Clear();
  int Added = 0;
  for (TStringList* List : {&Folders, &Files})
    for (int I = 0, N = List->Count(); I < N; ++I) {
      Items->Add(List->Get(I));
      ++Added;
      if (Application) Application->ProcessMessages();
      if (!Token->Alive) {
        Update->S = nullptr;
        return;
      }
      if (Token->Generation != Generation || Items->Count() != Added || (Application && Application->Terminated()))
        return;
    }
}

// ---------------------------------------------------------------------------------------------
// Widths

template <class TBase> int TCoolItemControl<TBase>::RealWidth(const AnsiString& S) {
  TWindowDC DC(nullptr);
  TCanvas C;
  TCanvasBinding Bind(&C, DC);
  C.SetFont(FSelFont);
  const int Sel = C.TextWidth(S);
  C.SetFont(this->Font());
  return std::max(Sel, C.TextWidth(S)) + FGlyph->Glyph()->Width();
}

template <class TBase> int TCoolItemControl<TBase>::MaxWidth() {
  TStrings* Items = this->Items();
  int Longest = -1, Length = -1;
  for (int I = 0, N = Items->Count(); I < N; ++I)
    if (Items->Get(I).Length() > Length) {
      Length = Items->Get(I).Length();
      Longest = I;
    }
  return Longest < 0 ? 0 : RealWidth(Items->Get(Longest));
}

// ---------------------------------------------------------------------------------------------
// Drawing

template <class TBase>
void TCoolItemControl<TBase>::PaintItemBackground(TCanvas* C, const TRect& Rect, bool Selected) {
  const bool Tile = FOptions & CoolOption(ocTileWallpaper);
  if (Selected) {
    C->SetFont(FSelFont);
    C->Brush()->SetColor(FSelColor);
    TBitmap* B = nullptr;
    if ((FOptions & CoolOption(ocInvertWallpaperAsSelect)) && (B = FWallpaper.Source()))
      DrawWallpaperEx(C->Handle(), B, WallpaperArea(true), Rect, Tile, cmNotSrcCopy);
    else if ((FOptions & CoolOption(ocPaintSelWallpaper)) && (B = FSelWallpaper.Source()))
      DrawWallpaperEx(C->Handle(), B, WallpaperArea(true), Rect, true, cmSrcCopy);
    else
      C->FillRect(Rect);
    return;
  }
  if (TBitmap* B = (FOptions & CoolOption(ocPaintWallpaper)) ? FWallpaper.Source() : nullptr) {
    DrawWallpaperEx(C->Handle(), B, WallpaperArea(false), Rect, Tile, cmSrcCopy);
  } else if (FOptions & CoolOption(ocPaintTransparently)) {
    HDC DC = C->Handle();
    TSaveDC Save(DC);
    IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    PaintBackground(this, DC, FTransparencyLevel);
  } else {
    C->Brush()->SetColor(this->Color());
    C->FillRect(Rect);
  }
}

template <class TBase>
void TCoolItemControl<TBase>::LoadItemImage(TGlyph* G, int Index, const AnsiString& Text, TCanvas* C) {
  const int Size = this->ItemHeight();
  TBitmap B;
  switch (FExtendedStyle) {
    case ctCoolControl:
      if ((FOptions & CoolOption(ocUseImageList)) && FImages) {
        ImageListImage(FImages, Index, B);
        B.SetPixelFormat(pf24bit);
        G->SetGlyph(&B);
      } else {
        G->SetGlyph(FGlyph->Glyph());
        G->SetNumGlyphs(FGlyph->NumGlyphs());
      }
      break;
    case ctColorControl: {
      TColor Colour = 0;
      if (!ItemColor(Text, Colour)) return;  // names no colour: no swatch
      SwatchImage(B, Size, Colour, C->Brush()->Color());
      G->SetGlyph(&B);
      break;
    }
    case ctFontControl:
      B.LoadFromResourceName(GetModuleHandleA(nullptr), CheckTTFont(Text) ? "BITMAP_TT" : "BITMAP_NTT");
      G->SetGlyph(&B);
      if (FFontAutoUpdate) C->Font()->SetName(Text);
      break;
    case ctPrinterControl:
      B.LoadFromResourceName(GetModuleHandleA(nullptr), "BITMAP_PRN");
      G->SetGlyph(&B);
      break;
    case ctCheckControl:
      CheckImage(B, Size, State(Index), FFlatCheckBox);
      G->SetGlyph(&B);
      break;
    case ctFolderControl:
      if (ShellIconImage(B, Size, FFolderName + Text)) G->SetGlyph(&B);
      break;
  }
}

template <class TBase>
void TCoolItemControl<TBase>::DrawItem(int Index, const TRect& ItemRect, TOwnerDrawState State) {
  DrawItemFrame();
  if (this->OnDrawItem) {
    this->OnDrawItem(this, Index, ItemRect, State);
    return;
  }
  TCanvas* C = this->Canvas();
  const COLORREF OldText = GetTextColor(C->Handle()), OldBack = GetBkColor(C->Handle());
  TRect Rect = ItemRect;
  AdjustItemRect(Rect);
  PaintItemBackground(C, Rect, IsSelectedState(State));

  const AnsiString Text = this->Items()->Get(Index);
  const bool Enabled = this->Enabled();
  // DT_RIGHT (the image and check box at the right end) with right-to-left alignment.
  const unsigned BiDi = this->DrawTextBiDiModeFlags(0);
  auto G = std::make_unique<TGlyph>();
  G->SetSingleLineMeasure(true);
  TRect R = Rect;
  if (FExtendedCheck) {
    TBitmap Check;
    CheckImage(Check, this->ItemHeight(), this->State(Index), FFlatCheckBox);
    G->SetGlyph(&Check);
    G->DrawImageEx(C, R, TPoint(0, 0), Text, blGlyphLeft, 4, 4, Enabled, true, clNone, BiDi);
    const int Taken = Check.Width() + 4;
    R.Left += Taken;
    R.Right -= Taken;
    G->SetGlyph(nullptr);
  }
  LoadItemImage(G.get(), Index, Text, C);
  G->Draw(C, R, TPoint(0, 0), Text, blGlyphLeft, 4, 4, Enabled, true, clNone, FSimpleView, FShadowPos, FShadowColor,
          FShadowSize, BiDi);
  if (!FExtendedCheck || FBevelStyle == bsBevelBoth) R = Rect;
  const bool BevelSelected = State == OdSelected || State == (OdSelected | OdFocused);
  if (!(FOptions & CoolOption(ocBevelOnlyIfSel)) || BevelSelected)
    G->DrawBevels(C, R, TPoint(0, 0), Text, blGlyphLeft, 4, 4, FBevelInner, FBevelOuter, FBevelStyle, BiDi);
  G.reset();
  SetTextColor(C->Handle(), OldText);
  SetBkColor(C->Handle(), OldBack);
}

template class TCoolItemControl<TCustomListBox>;
template class TCoolItemControl<TCustomComboBox>;
