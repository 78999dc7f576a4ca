#include "vcl/Mask.h"
#include "vcl/GdiGuards.h"
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// The mask engine.

TMaskFormat::TMaskFormat(const AnsiString& EditMask) {
  // Split off the fields at unescaped ';'.
  const std::string& S = EditMask.str();
  std::vector<size_t> Seps;
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\\') { ++I; continue; }
    if (S[I] == ';') Seps.push_back(I);
  }
  size_t MaskEnd = Seps.empty() ? S.size() : Seps[0];
  if (Seps.size() >= 1) {
    size_t Start = Seps[0] + 1;
    size_t End = Seps.size() >= 2 ? Seps[1] : S.size();
    if (End > Start) FSaveLiterals = S[Start] != '0';
  }
  if (Seps.size() >= 2 && Seps[1] + 1 < S.size()) FBlank = S[Seps[1] + 1];

  TCase Case = caNone;
  for (size_t I = 0; I < MaskEnd; ++I) {
    char C = S[I];
    switch (C) {
      case '\\':
        if (I + 1 < MaskEnd) FPositions.push_back({true, S[++I], Case});
        break;
      case '!': FReverse = true; break;
      case '>': Case = caUpper; break;
      case '<':
        if (I + 1 < MaskEnd && S[I + 1] == '>') { Case = caNone; ++I; }
        else Case = caLower;
        break;
      case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
        FPositions.push_back({false, C, Case});
        break;
      default: FPositions.push_back({true, C, Case}); break;
    }
  }
}

bool TMaskFormat::IsLiteral(int Pos) const {
  return Pos < 0 || Pos >= Length() || FPositions[size_t(Pos)].Literal;
}

char TMaskFormat::LiteralAt(int Pos) const {
  if (Pos < 0 || Pos >= Length() || !FPositions[size_t(Pos)].Literal) return 0;
  return FPositions[size_t(Pos)].Ch;
}

bool TMaskFormat::IsRequired(int Pos) const {
  if (IsLiteral(Pos)) return false;
  char M = FPositions[size_t(Pos)].Ch;
  return M == 'L' || M == 'A' || M == 'C' || M == '0';
}

bool TMaskFormat::Accepts(int Pos, char C) const {
  if (IsLiteral(Pos)) return false;
  unsigned char U = (unsigned char)C;
  if ((C == ' ' || C == FBlank) && !IsRequired(Pos)) return true;
  switch (FPositions[size_t(Pos)].Ch) {
    case 'L': case 'l': return IsCharAlphaA(C) != 0;
    case 'A': case 'a': return IsCharAlphaNumericA(C) != 0;
    case 'C': case 'c': return U >= 32;
    case '0': case '9': return C >= '0' && C <= '9';
    case '#': return (C >= '0' && C <= '9') || C == '+' || C == '-';
    default: return false;
  }
}

char TMaskFormat::Convert(int Pos, char C) const {
  if (Pos < 0 || Pos >= Length()) return C;
  char Buf[2] = {C, 0};
  switch (FPositions[size_t(Pos)].Case) {
    case caUpper: CharUpperBuffA(Buf, 1); break;
    case caLower: CharLowerBuffA(Buf, 1); break;
    case caNone: break;
  }
  return Buf[0];
}

int TMaskFormat::NextInput(int Pos) const {
  if (Pos < 0) Pos = 0;
  while (Pos < Length() && FPositions[size_t(Pos)].Literal) ++Pos;
  return Pos;
}

int TMaskFormat::PrevInput(int Pos) const {
  if (Pos > Length()) Pos = Length();
  --Pos;
  while (Pos >= 0 && FPositions[size_t(Pos)].Literal) --Pos;
  return Pos;
}

AnsiString TMaskFormat::EmptyEditText() const {
  std::string R;
  for (const TPos& P : FPositions) R += P.Literal ? P.Ch : FBlank;
  return R;
}

AnsiString TMaskFormat::RemoveFormat(const AnsiString& EditText) const {
  const std::string& E = EditText.str();
  std::string R;
  for (size_t I = 0; I < E.size(); ++I)
    if (I >= FPositions.size() || !FPositions[I].Literal) R += E[I];
  if (FReverse) {
    size_t N = 0;
    while (N < R.size() && R[N] == FBlank) ++N;
    R.erase(0, N);
  } else {
    while (!R.empty() && R.back() == FBlank) R.pop_back();
  }
  for (char& C : R)
    if (C == FBlank) C = ' ';
  return R;
}

AnsiString TMaskFormat::AddFormat(const AnsiString& Value, char BlankChar) const {
  const std::string& V = Value.str();
  int Inputs = 0;
  for (const TPos& P : FPositions) Inputs += !P.Literal;
  // Index into V of the character for the first input position (negative: leading blanks).
  int J = FReverse ? int(V.size()) - Inputs : 0;
  std::string R;
  for (const TPos& P : FPositions) {
    if (P.Literal) { R += P.Ch; continue; }
    char C = J >= 0 && J < int(V.size()) ? V[size_t(J)] : BlankChar;
    ++J;
    R += C == ' ' ? BlankChar : C;
  }
  return R;
}

AnsiString TMaskFormat::PadLiterals(const AnsiString& Value, char BlankChar) const {
  const std::string& V = Value.str();
  size_t J = 0;
  std::string R;
  for (const TPos& P : FPositions) {
    if (P.Literal) {
      R += P.Ch;
      if (J < V.size() && V[J] == P.Ch) ++J;
      continue;
    }
    char C = J < V.size() ? V[J++] : BlankChar;
    R += C == ' ' ? BlankChar : C;
  }
  return R;
}

AnsiString TMaskFormat::TextFromEditText(const AnsiString& EditText) const {
  if (Empty()) return EditText;
  AnsiString Raw = RemoveFormat(EditText);
  return FSaveLiterals ? AddFormat(Raw, ' ') : Raw;
}

AnsiString TMaskFormat::EditTextFromText(const AnsiString& Text) const {
  if (Empty()) return Text;
  return FSaveLiterals ? PadLiterals(Text, FBlank) : AddFormat(Text, FBlank);
}

int TMaskFormat::FirstMissing(const AnsiString& EditText) const {
  for (int I = 0; I < Length(); ++I) {
    if (!IsRequired(I)) continue;
    char C = I < EditText.Length() ? EditText[I + 1] : FBlank;
    // A typed space fills a required any-character position.
    if (C == FBlank || (C == ' ' && FPositions[size_t(I)].Ch != 'C')) return I;
  }
  return -1;
}

AnsiString FormatMaskText(const AnsiString& EditMask, const AnsiString& Value) {
  TMaskFormat Mask(EditMask);
  return Mask.TextFromEditText(Mask.EditTextFromText(Value));
}

// ---------------------------------------------------------------------------------------------
// TCustomMaskEdit

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case WM_CUT: WMCut(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    case WM_CLEAR: WMClear(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TCustomMaskEdit::SetEditMask(const AnsiString& Value) {
  if (FEditMask == Value) return;
  AnsiString OldText = HasState(csLoading) ? AnsiString() : Text();
  FEditMask = Value;
  FMask = TMaskFormat(Value);
  if (HasState(csLoading)) return;
  if (IsMasked()) TCustomEdit::SetText(FMask.EditTextFromText(OldText));
  else TCustomEdit::SetText(OldText);
  ApplyLimit();
}

void TCustomMaskEdit::SetEditText(const AnsiString& Value) {
  if (GetText() == Value) return;
  TCustomEdit::SetText(Value);
}

AnsiString TCustomMaskEdit::Text() const {
  if (!IsMasked()) return GetText();
  return FMask.TextFromEditText(GetText());
}

void TCustomMaskEdit::SetText(const AnsiString& Value) {
  if (HasState(csLoading)) {
    FLoadedText = Value;
    FHasLoadedText = true;
    TCustomEdit::SetText(Value);
    return;
  }
  if (!IsMasked()) TCustomEdit::SetText(Value);
  else SetEditText(FMask.EditTextFromText(Value));
}

void TCustomMaskEdit::Loaded() {
  TCustomEdit::Loaded();
  if (IsMasked()) {
    if (FHasLoadedText) SetEditText(FMask.EditTextFromText(FLoadedText));
    else if (GetText().IsEmpty()) SetEditText(FMask.EmptyEditText());
  }
  FHasLoadedText = false;
  FLoadedText = AnsiString();
  ApplyLimit();
}

void TCustomMaskEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  ApplyLimit();
}

void TCustomMaskEdit::ApplyLimit() {
  if (!HandleAllocated()) return;
  int Limit = IsMasked() ? FMask.Length() : MaxLength();
  SendMessageA(WindowHandle(), EM_LIMITTEXT, WPARAM(Limit), 0);
}

void TCustomMaskEdit::GetSel(int& Start, int& End) {
  DWORD S = 0, E = 0;
  SendMessageA(Handle(), EM_GETSEL, WPARAM(&S), LPARAM(&E));
  Start = int(S);
  End = int(E);
}

void TCustomMaskEdit::SetSel(int Start, int End) { SendMessageA(Handle(), EM_SETSEL, WPARAM(Start), LPARAM(End)); }

void TCustomMaskEdit::BlankRange(int Start, int End) {
  std::string E = GetText().str();
  if (int(E.size()) < FMask.Length()) E.resize(size_t(FMask.Length()), FMask.Blank());
  for (int I = std::max(Start, 0); I < End && I < FMask.Length(); ++I)
    E[size_t(I)] = FMask.IsLiteral(I) ? FMask.LiteralAt(I) : FMask.Blank();
  SetEditText(E);
  SetModified(true);
}

bool TCustomMaskEdit::InsertChar(char C) {
  int Start, End;
  GetSel(Start, End);
  int Pos = FMask.NextInput(Start);
  if (Pos >= FMask.Length() || !FMask.Accepts(Pos, C)) return false;
  std::string E = GetText().str();
  if (int(E.size()) < FMask.Length()) E.resize(size_t(FMask.Length()), FMask.Blank());
  for (int I = Start; I < End && I < FMask.Length(); ++I)
    if (!FMask.IsLiteral(I)) E[size_t(I)] = FMask.Blank();
  E[size_t(Pos)] = C == ' ' && !FMask.IsRequired(Pos) ? FMask.Blank() : FMask.Convert(Pos, C);
  SetEditText(E);
  SetModified(true);
  int Next = FMask.NextInput(Pos + 1);
  SetSel(Next, Next);
  return true;
}

void TCustomMaskEdit::KeyDown(unsigned short& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0 || ReadOnly()) return;
  if (Key == VK_DELETE && !(Shift & (ShiftOf(ssShift) | ShiftOf(ssCtrl)))) {
    int Start, End;
    GetSel(Start, End);
    BlankRange(Start, End > Start ? End : FMask.NextInput(Start) + 1);
    SetSel(Start, Start);
    Key = 0;
  }
}

void TCustomMaskEdit::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (!IsMasked() || Key == 0) return;
  if (Key == 27) {
    Reset();
    Key = 0;
    return;
  }
  if (ReadOnly()) return;
  if (Key == '\b') {
    int Start, End;
    GetSel(Start, End);
    if (End > Start) {
      BlankRange(Start, End);
      SetSel(Start, Start);
    } else {
      int Prev = FMask.PrevInput(Start);
      if (Prev >= 0) {
        BlankRange(Prev, Prev + 1);
        SetSel(Prev, Prev);
      }
    }
    Key = 0;
    return;
  }
  if ((unsigned char)Key >= 32) {
    if (!InsertChar(Key)) MessageBeep(0);
    Key = 0;
  }
}

void TCustomMaskEdit::Reset() {
  if (!IsMasked() || !Modified()) return;
  SetEditText(FOldValue);
  SetModified(false);
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  int Missing = FMask.FirstMissing(GetText());
  if (Missing < 0) return;
  if (HandleAllocated()) SetSel(Missing, Missing);
  MessageBeep(0);
  throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::CMEnter(TMessage& Message) {
  FOldValue = GetText();
  inherited::Dispatch(Message);
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
  if (IsMasked()) {
    try {
      ValidateEdit();
    } catch (...) {
      SetFocus();
      throw;
    }
  }
  inherited::Dispatch(Message);
}

void TCustomMaskEdit::WMCut(TMessage& Message) {
  if (!IsMasked()) return inherited::Dispatch(Message);
  SendMessageA(WindowHandle(), WM_COPY, 0, 0);
  if (ReadOnly()) return;
  int Start, End;
  GetSel(Start, End);
  BlankRange(Start, End);
  SetSel(Start, Start);
}

void TCustomMaskEdit::WMClear(TMessage& Message) {
  if (!IsMasked()) return inherited::Dispatch(Message);
  if (ReadOnly()) return;
  int Start, End;
  GetSel(Start, End);
  BlankRange(Start, End);
  SetSel(Start, Start);
}

void TCustomMaskEdit::WMPaste(TMessage& Message) {
  if (!IsMasked()) return inherited::Dispatch(Message);
  if (ReadOnly() || !OpenClipboard(WindowHandle())) return;
  AnsiString Pasted;
  if (HANDLE Data = GetClipboardData(CF_TEXT)) {
    if (const char* P = static_cast<const char*>(GlobalLock(Data))) {
      size_t N = strnlen(P, GlobalSize(Data));
      Pasted = AnsiString(P, int(N));
      GlobalUnlock(Data);
    }
  }
  CloseClipboard();
  for (int I = 1; I <= Pasted.Length(); ++I)
    if (!InsertChar(Pasted[I])) break;
}

ORV_IMPLEMENT_CLASS(TCustomMaskEdit, TCustomEdit)

static constinit const TPropInfo TMaskEdit_Props[] = {
    TControlProps::Anchors(),
    PropBool<&TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect>("AutoSelect", true),
    TControlProps::AutoSize(true),
    PropEnum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>("BorderStyle", TBorderStyleType, bsSingle),
    PropEnum<&TCustomEdit::CharCase, &TCustomEdit::SetCharCase>("CharCase", TEditCharCaseType, ecNormal),
    TControlProps::Color(clWindow),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    PropStr<&TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask>("EditMask"),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropInt<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength", 0),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PropChar<&TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar>("PasswordChar", 0),
    PopupMenuProp(),
    PropBool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly", false),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    PropStr<&TCustomMaskEdit::Text, &TCustomMaskEdit::SetText>("Text"),
    TControlProps::Visible(),
    PropEvent<&TCustomEdit::OnChange>("OnChange"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TMaskEdit, TCustomMaskEdit, TMaskEdit_Props)

namespace {
struct TMaskRegistration {
  TMaskRegistration() { RegisterClasses({TMaskEdit::StaticClass()}); }
} MaskRegistration;
}  // namespace
