#include "suite/qEditSpin.h"
#include "vcl/Menus.h"

#include <algorithm>
#include <climits>

namespace {

// The formatting rectangle of a multi-line edit ends ButtonWidth + 3 short of its client's right.
void LeaveRoomFor(TWinControl* Edit, int ButtonWidth) {
  if (!Edit->HandleAllocated()) return;
  RECT R{};
  SendMessageA(Edit->WindowHandle(), EM_GETRECT, 0, LPARAM(&R));
  R = RECT{0, 0, Edit->ClientWidth() - ButtonWidth - 3, Edit->ClientHeight() + 1};
  SendMessageA(Edit->WindowHandle(), EM_SETRECTNP, 0, LPARAM(&R));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TqcButtonEdit

TqcButtonEdit::TqcButtonEdit(TComponent* AOwner) : inherited(AOwner), FButtonGlyph(New<TBitmap>()) {
  ExcludeStyle(csSetCaption);
  const int W = GetSystemMetrics(SM_CXVSCROLL) + 4;
  Button()->SetBounds(Width() - W - 6, 0, W, Height() - 6);
  Button()->SetColor(clBtnFace);
  Button()->SetCursor(crArrow);
  Button()->SetCaption("");
  Button()->SetAutoBackColor(true);
  Button()->OnClick = TNotifyEvent::Bind<&TqcButtonEdit::DoButtonClick>(this);
  Button()->SetParent(this);
}

TqcButtonEdit::~TqcButtonEdit() { TObject::Free(FButtonGlyph); }

void TqcButtonEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcButtonEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TqcButtonEdit::CreateWnd() {
  inherited::CreateWnd();
  Adjust();
}

void TqcButtonEdit::SetGlyph(TBitmap* Value) {
  FButtonGlyph->Assign(Value);
  Button()->SetGlyph(FButtonGlyph);
  Adjust();
}

void TqcButtonEdit::SetButtonNumGlyphs(int Value) {
  if (Button()->NumGlyphs() == qanimate::GlyphCount(Value)) return;
  Button()->SetNumGlyphs(Value);
  Adjust();
}


void TqcButtonEdit::Adjust() {
  if (FAdjusting) return;
  FAdjusting = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } Done{FAdjusting};
  const bool Glyph = !FButtonGlyph->Empty();
  const int Image = Glyph ? FButtonGlyph->Width() / Button()->NumGlyphs() : 0;
  const int W = Glyph ? Image + 8 : GetSystemMetrics(SM_CXVSCROLL) + 4;
  SetHeight(std::max(FontTextHeight(Font()) + 9, Glyph ? FButtonGlyph->Height() + 12 : 0));
  Button()->SetGlyphMargin(unsigned(std::max(0, (W - Image) / 2)));
  LeaveRoomFor(this, W);
  Button()->SetBounds(Width() - W - 6, 0, W, Height() - 6);
  DrawNCArea();
}

void TqcButtonEdit::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  Adjust();
}

void TqcButtonEdit::DoButtonClick(TObject*) {
  if (OnButtonClick) OnButtonClick(this);
}

// ---------------------------------------------------------------------------------------------
// TqcCustomSpinEdit

TqcCustomSpinEdit::TqcCustomSpinEdit(TComponent* AOwner) : inherited(AOwner) {
  ExcludeStyle(csSetCaption);
  const int W = GetSystemMetrics(SM_CXVSCROLL) + 4;
  Button()->SetBounds(Width() - W - 6, 0, W, Height() - 6);
  Button()->SetColor(clBtnFace);
  Button()->SetCursor(crArrow);
  Button()->SetFlat(true);
  Button()->OnUpClick = TNotifyEvent::Bind<&TqcCustomSpinEdit::UpClicked>(this);
  Button()->OnDownClick = TNotifyEvent::Bind<&TqcCustomSpinEdit::DownClicked>(this);
  Button()->SetParent(this);
}

TqcCustomSpinEdit::~TqcCustomSpinEdit() = default;

void TqcCustomSpinEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO: WMEditing(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcCustomSpinEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TqcCustomSpinEdit::CreateWnd() {
  inherited::CreateWnd();
  Adjust();
}


void TqcCustomSpinEdit::Adjust() {
  const int W = GetSystemMetrics(SM_CXVSCROLL);
  SetHeight(FontTextHeight(Font()) + 9);
  LeaveRoomFor(this, W);
  Button()->SetBounds(Width() - W - 6, 0, W, Height() - 6);
}

void TqcCustomSpinEdit::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  Adjust();
}

void TqcCustomSpinEdit::KeyPress(char& Key) {
  if (Key && (!IsValidChar(Key) || EditorRefuses(Key))) {
    Key = 0;
    Beep(0);
  }
  inherited::KeyPress(Key);
}

void TqcCustomSpinEdit::KeyDown(unsigned short& Key, TShiftState Shift) {
  if (Key == VK_UP) UpClick();
  else if (Key == VK_DOWN) DownClick();
  // Delete, and Shift+Insert's paste, change the text too.
  else if (!FEditorEnabled && (Key == VK_DELETE || (Key == VK_INSERT && (Shift & ShiftOf(ssShift))))) {
    Key = 0;
    Beep(0);
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TqcCustomSpinEdit::WMEditing(TMessage& Message) {
  if (FEditorEnabled && !ReadOnly()) inherited::Dispatch(Message);
}

void TqcCustomSpinEdit::CMEnter(TMessage& Message) {
  if (AutoSelect() && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
  inherited::Dispatch(Message);
}

void TqcCustomSpinEdit::CMExit(TMessage& Message) {
  inherited::Dispatch(Message);
  CheckOnExit();
}

ORV_IMPLEMENT_CLASS(TqcCustomSpinEdit, TqcCustomEdit)

// ---------------------------------------------------------------------------------------------
// TqcSpinEdit, TqcFloatSpinEdit

namespace {
// Control characters other than Enter.
bool IsControlChar(char Key) { return (unsigned char)Key < 32 && Key != '\r'; }
}  // namespace

TqcSpinEdit::TqcSpinEdit(TComponent* AOwner) : inherited(AOwner) { SetText("0"); }

bool TqcSpinEdit::IsValidChar(char Key) { return Key == '-' || (Key >= '0' && Key <= '9') || IsControlChar(Key); }

int TqcSpinEdit::Value() const {
  const std::string S = Text().Trim().str();
  size_t I = S.size() > 1 && (S[0] == '-' || S[0] == '+') ? 1 : 0;
  const bool Digits = I < S.size() && std::all_of(S.begin() + I, S.end(), [](char C) { return C >= '0' && C <= '9'; });
  if (Digits) {
    // Saturating: any run of digits is a number, out of range or not.
    int64_t N = 0;
    for (; I < S.size() && N <= INT64_MAX / 100; ++I) N = N * 10 + (S[I] - '0');
    if (I < S.size()) N = INT64_MAX / 10;
    if (S[0] == '-') N = -N;
    return int(std::clamp<int64_t>(N, INT_MIN, INT_MAX));
  }
  int V;
  return TryStrToInt(Text(), V) ? V : MinValue();
}

TqcFloatSpinEdit::TqcFloatSpinEdit(TComponent* AOwner) : inherited(AOwner) { SetText(FloatToStr(0)); }

bool TqcFloatSpinEdit::IsValidChar(char Key) {
  return Key == '-' || Key == 'E' || Key == 'e' || Key == DecimalSeparator || (Key >= '0' && Key <= '9') ||
         IsControlChar(Key);
}

long double TqcFloatSpinEdit::Value() const {
  long double V;
  return TryStrToFloat(Text(), V) ? V : MinValue();
}

// ---------------------------------------------------------------------------------------------
// Published properties: each class's own, after the framed edit's.

static constinit const TPropInfo TqcButtonEdit_Props[] = {
    PropEvent<&TqcButtonEdit::OnButtonClick>("OnButtonClick"),
    PropInt<&TqcButtonEdit::ButtonNumGlyphs, &TqcButtonEdit::SetButtonNumGlyphs>("ButtonNumGlyphs", 1),
    PropObject<&TqcButtonEdit::ButtonGlyph, &TqcButtonEdit::SetGlyph>("ButtonGlyph"),
    TqcButtonHostProps<TqcButtonEdit>::ButtonFrame(),
    TqcButtonHostProps<TqcButtonEdit>::ButtonFlat(),
    TqcButtonHostProps<TqcButtonEdit>::ButtonColor(),
    TqcButtonHostProps<TqcButtonEdit>::ButtonShadowColor(),
    TqcButtonHostProps<TqcButtonEdit>::ButtonHighLightColor(),
};
ORV_IMPLEMENT_COMPONENT(TqcButtonEdit, TqcCustomEdit, TqcButtonEdit_Props)

// The spin button's properties both spin edits publish.
template <class C> struct TSpinProps {
  static constexpr TPropInfo Speed() { return PropInt<&C::SpinSpeed, &C::SetSpinSpeed>("SpinSpeed", 250); }
  static constexpr TPropInfo Wait() { return PropInt<&C::WaitRepeat, &C::SetWaitRepeat>("WaitRepeat", 2); }
  static constexpr TPropInfo Repeat() { return PropBool<&C::UseRepeat, &C::SetUseRepeat>("UseRepeat", true); }
  static constexpr TPropInfo Editor() {
    return PropBool<&C::EditorEnabled, &C::SetEditorEnabled>("EditorEnabled", true);
  }
};
using TCommonSpinProps = TSpinProps<TqcCustomSpinEdit>;
using TSpinHostProps = TqcButtonHostProps<TqcCustomSpinEdit>;

static constinit const TPropInfo TqcSpinEdit_Props[] = {
    TSpinHostProps::ButtonFrame(),
    TSpinHostProps::ButtonFlat(),
    TSpinHostProps::ButtonColor(),
    TSpinHostProps::ButtonShadowColor(),
    TSpinHostProps::ButtonHighLightColor(),
    TCommonSpinProps::Speed(),
    TCommonSpinProps::Wait(),
    TCommonSpinProps::Repeat(),
    TCommonSpinProps::Editor(),
    // The constructor's text is a number, so an empty one is stored too.
    PropStr<&TCustomMaskEdit::EditText, &TCustomMaskEdit::SetEditText>("EditText", AlwaysStored),
    PropStr<&TCustomMaskEdit::Text, &TCustomMaskEdit::SetText>("Text", AlwaysStored),
    PropInt<&TqcSpinEdit::Increment, &TqcSpinEdit::SetIncrement>("Increment", 1),
    PropInt<&TqcSpinEdit::MaxValue, &TqcSpinEdit::SetMaxValue>("MaxValue", 0),
    PropInt<&TqcSpinEdit::MinValue, &TqcSpinEdit::SetMinValue>("MinValue", 0),
    // The text holds it.
    PropInt<&TqcSpinEdit::Value, &TqcSpinEdit::SetValue>("Value", 0, NeverStored),
};
ORV_IMPLEMENT_COMPONENT(TqcSpinEdit, TqcCustomSpinEdit, TqcSpinEdit_Props)

static constinit const TPropInfo TqcFloatSpinEdit_Props[] = {
    TSpinHostProps::ButtonFrame(),
    TSpinHostProps::ButtonFlat(),
    TSpinHostProps::ButtonColor(),
    TSpinHostProps::ButtonShadowColor(),
    TSpinHostProps::ButtonHighLightColor(),
    TCommonSpinProps::Speed(),
    TCommonSpinProps::Wait(),
    TCommonSpinProps::Repeat(),
    TCommonSpinProps::Editor(),
    PropStr<&TCustomMaskEdit::EditText, &TCustomMaskEdit::SetEditText>("EditText", AlwaysStored),
    PropStr<&TCustomMaskEdit::Text, &TCustomMaskEdit::SetText>("Text", AlwaysStored),
    PropFloat<&TqcFloatSpinEdit::Increment, &TqcFloatSpinEdit::SetIncrement>("Increment", AlwaysStored),
    PropFloat<&TqcFloatSpinEdit::MaxValue, &TqcFloatSpinEdit::SetMaxValue>("MaxValue"),
    PropFloat<&TqcFloatSpinEdit::MinValue, &TqcFloatSpinEdit::SetMinValue>("MinValue"),
    PropFloat<&TqcFloatSpinEdit::Value, &TqcFloatSpinEdit::SetValue>("Value", NeverStored),
};
ORV_IMPLEMENT_COMPONENT(TqcFloatSpinEdit, TqcCustomSpinEdit, TqcFloatSpinEdit_Props)

namespace {
struct TqEditSpinRegistration {
  TqEditSpinRegistration() {
    RegisterClasses({TqcButtonEdit::StaticClass(), TqcSpinEdit::StaticClass(), TqcFloatSpinEdit::StaticClass()});
  }
} QEditSpinRegistration;
}  // namespace
