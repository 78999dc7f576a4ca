#include "suite/qEditFrame.h"

constexpr TEnumType TqcEditTypeType{
    "TqcEditType",
    {"qcetNormal", "qcetFlat", "qcetAlwaysFlat", "qcetFlatFocusFrame", "qcetAlwaysFlatFocusFrame",
     "qcetFlatThickFrame", "qcetAlwaysFlatThickFrame", "qcetFlatRaised", "qcetAlwaysFlatRaised",
     "qcetFlatShadow", "qcetAlwaysFlatShadow", "qcetAdvFocusFrame", "qcetAlwaysAdvFocusFrame",
     "qcetAdvThickFrame", "qcetAlwaysAdvThickFrame"}};
constexpr TEnumType TqcEditFrameSideType{"TqcEditFrameSide", {"qcefLeft", "qcefTop", "qcefRight", "qcefBottom"}};

// ---------------------------------------------------------------------------------------------
// Frame painting

namespace {

void Fill(TCanvas* C, TColor Color, std::initializer_list<TRect> Rects) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  for (const TRect& R : Rects) C->FillRect(R);
}

void Border(TCanvas* C, int W, int H, TColor Color) {
  Fill(C, Color, {Rect(0, 0, 3, H), Rect(0, 0, W, 3), Rect(W - 3, 0, W, H), Rect(0, H - 3, W, H)});
}

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

}  // namespace

void DrawQcFrame(TCanvas* C, int W, int H, const TqcFrameLook& L, bool Active) {
  const TqcEditType S = L.Style;
  const bool Sunken = S == qcetNormal || (S == qcetFlat && Active);
  const bool Raised = S == qcetAlwaysFlatRaised || (S == qcetFlatRaised && Active);
  const bool Shadow = S == qcetAlwaysFlatShadow || (S == qcetFlatShadow && Active);

  // Step 1: the border.
  if (Sunken || Raised) {
    C->Pen()->SetColor(clBlack);
    Border(C, W, H, L.Color);
    C->Brush()->SetColor(clBtnFace);
    RECT R{0, 0, W, H};
    DrawEdge(C->Handle(), &R, Sunken ? BDR_SUNKENOUTER : BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
    C->FillRect(Rect(R.left, R.top, R.left + 1, R.bottom - 1));
    C->FillRect(Rect(R.left, R.top, R.right - 1, R.top + 1));
    DrawEdge(C->Handle(), &R, Sunken ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
    if (Sunken) {
      C->Pen()->SetColor(clBlack);
      C->Polyline({Point(R.left, R.bottom - 1), Point(R.left, R.top), Point(R.right, R.top)});
    }
  } else if (Shadow || S == qcetFlatShadow) {
    Border(C, W, H, L.Color);
    Fill(C, L.NonShadowColor,
         {Rect(0, H - 3, 3, H), Rect(W - 3, 0, W, 3), Rect(W - 3, 0, W, H), Rect(0, H - 3, W, H)});
    if (Shadow) Fill(C, L.ShadowColor, {Rect(2, H - 2, W, H), Rect(W - 2, 2, W, H)});
  } else {
    Border(C, W, H, L.Color);
  }

  // Step 2: lines in FrameColor.
  C->Pen()->SetColor(L.FrameColor);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  const bool AdvFocus = S == qcetAlwaysAdvFocusFrame || (S == qcetAdvFocusFrame && Active);
  const bool AdvThick = S == qcetAlwaysAdvThickFrame || (S == qcetAdvThickFrame && Active);
  if (AdvFocus || AdvThick) {
    const int Lines = AdvThick ? 2 : 1;
    for (int K = 0; K < Lines; ++K) {
      if (L.Where & FrameSide(qcefLeft)) Line(C, K, 0, K, H);
      if (L.Where & FrameSide(qcefRight)) Line(C, W - 1 - K, 0, W - 1 - K, H);
      if (L.Where & FrameSide(qcefTop)) Line(C, 0, K, W - 1, K);
      if (L.Where & FrameSide(qcefBottom)) Line(C, 0, H - 1 - K, W, H - 1 - K);
    }
  }
  const bool Focus = S == qcetAlwaysFlatFocusFrame || (S == qcetFlatFocusFrame && Active);
  const bool Thick = S == qcetAlwaysFlatThickFrame || (S == qcetFlatThickFrame && Active);
  if (Focus || Thick)
    C->Polyline({Point(0, 0), Point(0, H - 1), Point(W - 1, H - 1), Point(W - 1, 0), Point(0, 0)});
  if (Thick)
    C->Polyline({Point(1, 1), Point(1, H - 2), Point(W - 2, H - 2), Point(W - 2, 1), Point(1, 1)});
}

void PaintQcWindowFrame(TWinControl* Control, const TqcFrameLook& Look, bool Active,
                        const std::function<void(TCanvas*, int, int)>& First) {
  if (!Control->HandleAllocated()) return;
  const HWND Wnd = Control->WindowHandle();
  RECT WR{};
  GetWindowRect(Wnd, &WR);
  HDC DC = GetWindowDC(Wnd);
  if (!DC) return;
  TCanvas Canvas;
  struct TRelease {
    TCanvas& C;
    HWND Wnd;
    HDC DC;
    ~TRelease() {
      C.SetHandle(nullptr);
      ReleaseDC(Wnd, DC);
    }
  } Release{Canvas, Wnd, DC};
  Canvas.SetHandle(DC);
  const int W = WR.right - WR.left, H = WR.bottom - WR.top;
  if (First) First(&Canvas, W, H);
  DrawQcFrame(&Canvas, W, H, Look, Active);
}

// ---------------------------------------------------------------------------------------------
// TqcCustomEdit

void (*TqcCustomEdit::Beep)(unsigned) = [](unsigned Type) { MessageBeep(Type); };

TqcCustomEdit::TqcCustomEdit(TComponent* AOwner) : inherited(AOwner) {
  SetCtl3D(false);
  SetBorderStyle(bsNone);
  ExcludeStyle(csFramed);
  SetHeight(21);
}

void TqcCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_PASTE: WMPaste(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TqcCustomEdit::Loaded() {
  inherited::Loaded();
  Adjust();
}

void TqcCustomEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FAlignment == taRightJustify) Params.Style |= ES_MULTILINE | ES_RIGHT;
  else if (FAlignment == taCenter) Params.Style |= ES_MULTILINE | ES_CENTER;
}

void TqcCustomEdit::KeyPress(char& Key) {
  // Enter, and Ctrl+Enter (a line feed), would break the line of a multi-line window.
  if (Key == '\r' || Key == '\n') {
    Key = 0;
    Beep(0);
  }
  if (Key) inherited::KeyPress(Key);
}

int FontTextHeight(TFont* Font) {
  TWindowDC DC(nullptr);
  TEXTMETRICA Metrics{};
  TSelectGuard Sel(DC, Font->Handle());
  GetTextMetricsA(DC, &Metrics);
  return Metrics.tmHeight;
}

void TqcCustomEdit::Adjust() { SetHeight(FontTextHeight(Font()) + 8); }

void TqcCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (HasState(csLoading)) return;
  if (HandleAllocated()) RecreateWnd();
}

void TqcCustomEdit::WMNCPaint(TMessage& Message) {
  DrawNCArea();
  Message.Result = 0;
}

void TqcCustomEdit::WMNCCalcSize(TMessage& Message) {
  // WParam TRUE: NCCALCSIZE_PARAMS, whose first rectangle is the proposed client; FALSE: a RECT.
  if (auto* R = reinterpret_cast<RECT*>(Message.LParam)) InflateRect(R, -3, -3);
  Message.Result = 0;
}

void TqcCustomEdit::WMPaste(TMessage& Message) {
  // The box holds one line: pasted line breaks are dropped.
  if (ReadOnly() || !HandleAllocated() || !OpenClipboard(WindowHandle())) return;
  AnsiString Pasted;
  bool HasText = false;
  if (HANDLE Data = GetClipboardData(CF_TEXT)) {
    if (const char* P = static_cast<const char*>(GlobalLock(Data))) {
      size_t N = strnlen(P, GlobalSize(Data));
      std::string S;
      S.reserve(N);
      for (size_t I = 0; I < N; ++I)
        if (P[I] != '\r' && P[I] != '\n') S += P[I];
      Pasted = S;
      HasText = true;
      GlobalUnlock(Data);
    }
  }
  CloseClipboard();
  // Nothing to paste leaves the selection alone.
  if (!HasText) return;
  if (IsMasked()) {
    for (int I = 1; I <= Pasted.Length(); ++I)
      if (!InsertChar(Pasted[I])) break;
  } else {
    SendMessageA(WindowHandle(), EM_REPLACESEL, TRUE, LPARAM(Pasted.c_str()));
  }
}

void TqcCustomEdit::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (!HasState(csLoading)) Adjust();
}

// ---------------------------------------------------------------------------------------------
// Published properties: on the framed edit itself, so the unit's edits with buttons publish
// them too; TqcEdit adds none.

static constinit const TPropInfo TqcCustomEdit_Props[] = {
    PropEnum<&TqcCustomEdit::Alignment, &TqcCustomEdit::SetAlignment>("Alignment", TAlignmentType, taLeftJustify),
    TqcFrameProps<TqcCustomEdit>::FrameWhere(),
    TqcFrameProps<TqcCustomEdit>::OnMouseEnter(),
    TqcFrameProps<TqcCustomEdit>::OnMouseLeave(),
    TqcFrameProps<TqcCustomEdit>::FrameStyle(),
    TqcFrameProps<TqcCustomEdit>::FrameColor(),
    TqcFrameProps<TqcCustomEdit>::ShadowColor(),
    TqcFrameProps<TqcCustomEdit>::NonShadowColor(),
    TControlProps::ParentColor(false),
    PropStr<&TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask>("EditMask"),
    PropStr<&TCustomMaskEdit::EditText, &TCustomMaskEdit::SetEditText>("EditText"),
    PropBool<&TCustomMaskEdit::IsMasked, nullptr>("IsMasked", false, NeverStored),
    TControlProps::Color(clWindow),
    PropStr<&TCustomMaskEdit::Text, &TCustomMaskEdit::SetText>("Text"),
    PropBool<&TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect>("AutoSelect", true),
    PropEnum<&TCustomEdit::CharCase, &TCustomEdit::SetCharCase>("CharCase", TEditCharCaseType, ecNormal),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    PropBool<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>("HideSelection", true),
    TControlProps::ImeMode(),
    TControlProps::ImeName(),
    PropInt<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength", 0),
    PropBool<&TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert>("OEMConvert", false),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PropChar<&TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar>("PasswordChar", 0),
    PopupMenuProp(),
    PropBool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly", false),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
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
ORV_IMPLEMENT_ABSTRACT(TqcCustomEdit, TCustomMaskEdit, TqcCustomEdit_Props)
ORV_IMPLEMENT_COMPONENT_NOPROPS(TqcEdit, TqcCustomEdit)

namespace {
struct TqEditRegistration {
  TqEditRegistration() { RegisterClasses({TqcEdit::StaticClass()}); }
} QEditRegistration;
}  // namespace
