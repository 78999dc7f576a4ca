#include "suite/qPanel2CreditScroll.h"
#include "vcl/Menus.h"

#include <climits>
#include <utility>

TqcCreditScroll::TqcCreditScroll(TComponent* AOwner) : TqcPanel2(AOwner) {
  ExcludeStyle(csSetCaption);
  SetAlignment(taCenter);
  SetColor(clBlack);
  SetBounds(Left(), Top(), 90, 30);
  Font()->SetColor(clFuchsia);
  FTimer = TComponent::Create<TqcTimer>(this);
  FTimer->SetInterval(50);
  FTimer->SetOnTimer(TNotifyEvent::Bind<&TqcCreditScroll::DoTimer>(this));
  FLines = New<TStringList>();
  FLines->SetText("PellhamCollection\r\nBy\r\nPellhamSoft");
  FLines->OnChange = TNotifyEvent::Bind<&TqcCreditScroll::LinesChanged>(this);
}

// The timer goes first: no tick, queued or running, reaches a panel being torn down.
void TqcCreditScroll::BeforeDestruction() {
  TObject::Free(std::exchange(FTimer, nullptr));
  inherited::BeforeDestruction();
}

TqcCreditScroll::~TqcCreditScroll() {
  TObject::Free(FTimer);
  TObject::Free(FLines);
}

void TqcCreditScroll::SetStep(int Value) {
  if (Value < 1) return;
  Change(FStep, Value);
}

void TqcCreditScroll::Reset() {
  FOffset = 0;
  Invalidate();
}

void TqcCreditScroll::LinesChanged(TObject*) { Invalidate(); }

void TqcCreditScroll::DoTimer(TObject*) {
  if (!Enabled() || HasState(csDestroying)) return;
  // Saturates: the next paint finds the text gone past the top and starts it again.
  FOffset = FOffset > INT_MAX - FStep ? INT_MAX : FOffset + FStep;
  Invalidate();
}

void TqcCreditScroll::Paint() {
  const int W = ClientWidth(), H = ClientHeight();
  TCanvas* C = BeginPicture(W, H);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(Rect(0, 0, W, H));
  C->Brush()->SetStyle(bsClear);
  C->SetFont(Font());
  const int64_t LineHeight = C->TextHeight("0");
  if (LineHeight * FLines->Count() + Height() < FOffset) FOffset = 0;
  TRect R(0, Height() - FOffset, Width() - 1, H - 1);
  const AnsiString Text = FLines->Text();
  DrawTextA(C->Handle(), Text.c_str(), Text.Length(), &AsRECT(R), AlignmentFlags() | DT_NOCLIP);
  EndPicture(W, H);
}

static constinit const TPropInfo TqcCreditScroll_Props[] = {
    TControlProps::Anchors(),
    PropEnum<&TqcCreditScroll::Priority, &TqcCreditScroll::SetPriority>("Priority", TThreadPriorityType, tpNormal),
    TControlProps::DragMode(),
    TControlProps::DragCursor(),
    PropObject<&TqcCreditScroll::Lines, &TqcCreditScroll::SetLines>("Lines", AlwaysStored),  // starts with credits
    PropInt<&TqcCreditScroll::Interval, &TqcCreditScroll::SetInterval>("Interval", 50),
    PropEvent<&TqcCreditScroll::OnPaint>("OnPaint"),
    PropInt<&TqcCreditScroll::Step, &TqcCreditScroll::SetStep>("Step", 1),
    PropEnum<&TqcCreditScroll::Alignment, &TqcCreditScroll::SetAlignment>("Alignment", TAlignmentType, taCenter),
    TControlProps::Color(clBlack),
    PropInt<&TControl::Width, &TControl::SetWidth>("Width", 90),
    PropInt<&TControl::Height, &TControl::SetHeight>("Height", 30),
    TControlProps::Align(),
    TControlProps::Enabled(),
    TControlProps::Font(),
    TControlProps::ParentColor(false),
    // The panel's own font colour makes ParentFont false from the start.
    TControlProps::ParentFont(false),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    TControlProps::ShowHint(),
    TControlProps::Visible(),
    PropEvent<&TqcCreditScroll::OnMouseEnter>("OnMouseEnter"),
    PropEvent<&TqcCreditScroll::OnMouseLeave>("OnMouseLeave"),
    TControlProps::OnClick(),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    TControlProps::OnEndDrag(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    TControlProps::OnResize(),
    TControlProps::OnStartDrag(),
};
ORV_IMPLEMENT_COMPONENT(TqcCreditScroll, TCustomPanel, TqcCreditScroll_Props)
