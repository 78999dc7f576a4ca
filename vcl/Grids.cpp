// Grids: TCustomGrid, its in-place editor, and the string grid.
#include "vcl/Grids.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "rtl/Streaming.h"

#include <algorithm>
#include <utility>

constexpr TEnumType TGridOptionType{
    "TGridOption",
    {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect", "goDrawFocusSelected",
     "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing", "goTabs", "goRowSelect",
     "goAlwaysShowEditor", "goThumbTracking"}};

namespace {
constexpr TGridOptions DefaultGridOptions = GridOption(goFixedVertLine) | GridOption(goFixedHorzLine) |
                                            GridOption(goVertLine) | GridOption(goHorzLine) |
                                            GridOption(goRangeSelect);
// How near a line between two fixed cells the mouse starts sizing.
constexpr int SizingMargin = 2;

[[noreturn]] void IndexError() { throw EInvalidGridOperation("Grid index out of range"); }

// A visible cell of one axis: its index and client position.
struct TVisibleCell {
  int Index, Pos;
};

void FillBrush(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Axes

int TCustomGrid::TAxis::FixedExtent() const {
  int P = 0;
  for (int I = 0; I < Fixed && I < Count(); ++I) P += Size(I) + Line;
  return P;
}

bool TCustomGrid::TAxis::Start(int I, int& Pos) const {
  if (I < 0 || I >= Count()) return false;
  int P = 0;
  if (I < Fixed) {
    for (int K = 0; K < I; ++K) P += Size(K) + Line;
  } else {
    if (I < First) return false;
    P = FixedExtent();
    for (int K = First; K < I && P < Extent; ++K) P += Size(K) + Line;
  }
  Pos = P;
  return P < Extent;
}

int TCustomGrid::TAxis::IndexAt(int Pos) const {
  if (Pos < 0 || Pos >= Extent) return -1;
  int P = 0;
  for (int I = 0; I < Fixed && I < Count(); ++I) {
    P += Size(I) + Line;
    if (Pos < P) return I;
  }
  for (int I = First; I < Count() && P < Extent; ++I) {
    P += Size(I) + Line;
    if (Pos < P) return I;
  }
  return -1;
}

int TCustomGrid::TAxis::LastVisible() const {
  int P = FixedExtent(), I = First;
  while (I < Count() && P < Extent) P += Size(I++) + Line;
  return I - 1;
}

int TCustomGrid::TAxis::FullyVisible() const {
  int P = FixedExtent(), N = 0;
  for (int I = First; I < Count() && P + Size(I) <= Extent; ++I, ++N) P += Size(I) + Line;
  return std::max(N, 1);
}

int TCustomGrid::TAxis::MaxFirst() const {
  const int Avail = Extent - FixedExtent();
  int F = Count() - 1, Used = Size(F);
  while (F - 1 >= Fixed && Used + Line + Size(F - 1) <= Avail) Used += Line + Size(--F);
  return std::max(F, Fixed);
}

TCustomGrid::TAxis TCustomGrid::Horz() const {
  return TAxis{&FColWidths, FFixedCols, FTopLeft.X, FGridLineWidth, ClientWidth()};
}

TCustomGrid::TAxis TCustomGrid::Vert() const {
  return TAxis{&FRowHeights, FFixedRows, FTopLeft.Y, FGridLineWidth, ClientHeight()};
}

// ---------------------------------------------------------------------------------------------
// TInplaceEdit

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetVisible(false);
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    default: inherited::Dispatch(Message);
  }
}

void TInplaceEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
}

void TInplaceEdit::WMGetDlgCode(TMessage& Message) {
  inherited::Dispatch(Message);
  Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (FGrid && (FGrid->Options() & GridOption(goTabs))) Message.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::WMKillFocus(TMessage& Message) {
  inherited::Dispatch(Message);
  HWND To = reinterpret_cast<HWND>(Message.WParam);
  if (FGrid && !FGrid->HasState(csDestroying) && (!FGrid->HandleAllocated() || To != FGrid->WindowHandle()))
    FGrid->HideEdit();
}

void TInplaceEdit::KeyDown(unsigned short& Key, TShiftState Shift) {
  switch (Key) {
    case VK_ESCAPE:
      if (FGrid) {
        FUpdating = true;
        SetText(FStartText);
        FUpdating = false;
        FGrid->SetEditText(FGrid->FEditCell.X, FGrid->FEditCell.Y, FStartText);
        FGrid->HideEditor();
        if (FGrid->CanFocus()) FGrid->SetFocus();
      }
      Key = 0;
      return;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_TAB:
      if (FGrid) FGrid->KeyDown(Key, Shift);
      Key = 0;
      return;
    default: inherited::KeyDown(Key, Shift);
  }
}

void TInplaceEdit::KeyPress(char& Key) {
  if (FGrid) FGrid->KeyPress(Key);
  switch (Key) {
    case '\t':
    case 27: Key = 0; break;
    case '\r':
      SelectAll();
      Key = 0;
      break;
    default:
      if (FGrid && !FGrid->CanEditModify() && (Key == 8 || Key == 22 || Key == 24 || (unsigned char)Key >= 32)) Key = 0;
  }
  if (Key) inherited::KeyPress(Key);
}

void TInplaceEdit::Change() {
  inherited::Change();
  if (!FUpdating && FGrid && FGrid->FEditCell.X >= 0) FGrid->SetEditText(FGrid->FEditCell.X, FGrid->FEditCell.Y, Text());
}

void TInplaceEdit::UpdateContents() {
  if (!FGrid) return;
  FUpdating = true;
  FStartText = FGrid->GetEditText(FGrid->Col(), FGrid->Row());
  SetText(FStartText);
  FUpdating = false;
  SelectAll();
}

void TInplaceEdit::Move(const TRect& R) {
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
  Show();
  HandleNeeded();
  SetWindowPos(WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (FGrid && FGrid->Focused()) ::SetFocus(WindowHandle());
}

ORV_IMPLEMENT_COMPONENT_NOPROPS(TInplaceEdit, TCustomEdit)

// ---------------------------------------------------------------------------------------------
// TCustomGrid

TCustomGrid::TCustomGrid(TComponent* AOwner)
    : TCustomControl(AOwner), FColWidths(5, 64), FRowHeights(5, 24), FOptions(DefaultGridOptions) {
  SetControlStyle(StyleOf(csCaptureMouse) | StyleOf(csOpaque) | StyleOf(csDoubleClicks) | StyleOf(csClickEvents));
  SetBounds(0, 0, 320, 120);
  SetTabStop(true);
  SetParentColor(false);
  TControl::SetColor(clWindow);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    default: inherited::Dispatch(Message);
  }
}

// ----- properties

void TCustomGrid::SetColCount(int Value) {
  Value = std::max(Value, 1);
  if (Value == ColCount()) return;
  if (FFixedCols >= Value) FFixedCols = Value - 1;
  ChangeSize(Value, RowCount());
}

void TCustomGrid::SetRowCount(int Value) {
  Value = std::max(Value, 1);
  if (Value == RowCount()) return;
  if (FFixedRows >= Value) FFixedRows = Value - 1;
  ChangeSize(ColCount(), Value);
}

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount) {
  const int OldCols = ColCount(), OldRows = RowCount();
  HideEdit();
  FColWidths.resize(size_t(NewColCount), FDefaultColWidth);
  FRowHeights.resize(size_t(NewRowCount), FDefaultRowHeight);
  auto Clamp = [&](TGridCoord& C) {
    C.X = std::clamp(C.X, FFixedCols, NewColCount - 1);
    C.Y = std::clamp(C.Y, FFixedRows, NewRowCount - 1);
  };
  Clamp(FCurrent);
  Clamp(FAnchor);
  Clamp(FTopLeft);
  SizeChanged(OldCols, OldRows);
  UpdateScrollRange();
  Invalidate();
  UpdateEdit();
}

void TCustomGrid::SetFixedCols(int Value) {
  if (Value < 0) IndexError();
  if (Value >= ColCount()) throw EInvalidGridOperation("Fixed column count must be less than column count");
  if (Value == FFixedCols) return;
  FFixedCols = Value;
  ChangeSize(ColCount(), RowCount());
}

void TCustomGrid::SetFixedRows(int Value) {
  if (Value < 0) IndexError();
  if (Value >= RowCount()) throw EInvalidGridOperation("Fixed row count must be less than row count");
  if (Value == FFixedRows) return;
  FFixedRows = Value;
  ChangeSize(ColCount(), RowCount());
}

void TCustomGrid::SetDefaultColWidth(int Value) {
  Value = std::max(Value, 0);
  FDefaultColWidth = Value;
  std::fill(FColWidths.begin(), FColWidths.end(), Value);
  ColWidthsChanged();
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  Value = std::max(Value, 0);
  FDefaultRowHeight = Value;
  std::fill(FRowHeights.begin(), FRowHeights.end(), Value);
  RowHeightsChanged();
  UpdateScrollRange();
  Invalidate();
}

int TCustomGrid::ColWidths(int Index) const {
  if (Index < 0 || Index >= ColCount()) IndexError();
  return FColWidths[size_t(Index)];
}

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (Index < 0 || Index >= ColCount()) IndexError();
  Value = std::max(Value, 0);
  if (FColWidths[size_t(Index)] == Value) return;
  FColWidths[size_t(Index)] = Value;
  ColWidthsChanged();
  UpdateScrollRange();
  Invalidate();
  if (FEditCell.X >= 0) UpdateEdit();
}

int TCustomGrid::RowHeights(int Index) const {
  if (Index < 0 || Index >= RowCount()) IndexError();
  return FRowHeights[size_t(Index)];
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (Index < 0 || Index >= RowCount()) IndexError();
  Value = std::max(Value, 0);
  if (FRowHeights[size_t(Index)] == Value) return;
  FRowHeights[size_t(Index)] = Value;
  RowHeightsChanged();
  UpdateScrollRange();
  Invalidate();
  if (FEditCell.X >= 0) UpdateEdit();
}

void TCustomGrid::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  auto Sizes = [&](const char* Name, std::vector<int>& Sizes, int Default, void (TCustomGrid::*Changed)()) {
    const bool HasData = std::any_of(Sizes.begin(), Sizes.end(), [&](int V) { return V != Default; });
    Filer->DefineProperty(
        Name,
        [this, &Sizes, Changed](TReader* R) {
          R->ReadListBegin();
          for (size_t I = 0; !R->EndOfList(); ++I) {
            const int V = R->ReadInteger();
            if (I < Sizes.size()) Sizes[I] = std::max(V, 0);
          }
          R->ReadListEnd();
          (this->*Changed)();
        },
        [&Sizes](TWriter* W) {
          W->WriteListBegin();
          for (int V : Sizes) W->WriteInteger(V);
          W->WriteListEnd();
        },
        HasData);
  };
  Sizes("ColWidths", FColWidths, FDefaultColWidth, &TCustomGrid::ColWidthsChanged);
  Sizes("RowHeights", FRowHeights, FDefaultRowHeight, &TCustomGrid::RowHeightsChanged);
}

void TCustomGrid::SetGridLineWidth(int Value) {
  Value = std::max(Value, 0);
  if (FGridLineWidth == Value) return;
  FGridLineWidth = Value;
  UpdateScrollRange();
  Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
  if (Value & GridOption(goRowSelect)) Value &= ~GridOption(goAlwaysShowEditor);
  if (FOptions == Value) return;
  FOptions = Value;
  if (!FEditorMode && (Value & GridOption(goAlwaysShowEditor))) ShowEditor();
  else if (!CanEditShow()) HideEdit();
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (FFixedColor == Value) return;
  FFixedColor = Value;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (FDefaultDrawing == Value) return;
  FDefaultDrawing = Value;
  Invalidate();
}

TGridRect TCustomGrid::Normalize(TGridCoord A, TGridCoord B) {
  return TGridRect{std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

TGridRect TCustomGrid::Selection() const {
  TGridRect R = Normalize(FAnchor, FCurrent);
  if (FOptions & GridOption(goRowSelect)) {
    R.Left = FFixedCols;
    R.Right = ColCount() - 1;
  }
  return R;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  const TGridRect Old = Selection();
  FAnchor = TGridCoord{Value.Left, Value.Top};
  MoveCurrent(Value.Right, Value.Bottom, false, true);
  InvalidateSelection(Old);
  InvalidateSelection(Selection());
}

int TCustomGrid::VisibleRowCount() const { return Vert().FullyVisible(); }
int TCustomGrid::VisibleColCount() const { return Horz().FullyVisible(); }

// ----- geometry

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  int X = 0, Y = 0;
  if (!Horz().Start(ACol, X) || !Vert().Start(ARow, Y)) return TRect();
  return Rect(X, Y, X + FColWidths[size_t(ACol)], Y + FRowHeights[size_t(ARow)]);
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  TGridCoord C{Horz().IndexAt(X), Vert().IndexAt(Y)};
  if (C.X < 0 || C.Y < 0) C = TGridCoord{-1, -1};
  return C;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  const TGridCoord C = MouseCoord(X, Y);
  ACol = C.X;
  ARow = C.Y;
}

int TCustomGrid::SizingIndexAt(const TAxis& A, int Pos) const {
  const int Last = A.LastVisible();
  for (int I = 0; I <= Last; ++I) {
    int Start = 0;
    if (!A.Start(I, Start)) continue;
    const int End = Start + A.Size(I);
    if (Pos >= End - SizingMargin && Pos < End + A.Line + SizingMargin) return I;
  }
  return -1;
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
  if (!HandleAllocated()) return;
  TRect R = CellRect(ACol, ARow);
  if (R.IsEmpty()) return;
  R.Right += FGridLineWidth;
  R.Bottom += FGridLineWidth;
  InvalidateRect(WindowHandle(), &AsRECT(R), FALSE);
}

void TCustomGrid::InvalidateSelection(const TGridRect& R) {
  if (R.Left == R.Right && R.Top == R.Bottom) InvalidateCell(R.Left, R.Top);
  else Invalidate();
}

// ----- current cell and scrolling

bool TCustomGrid::SelectCell(int ACol, int ARow) {
  bool CanSelect = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, CanSelect);
  return CanSelect;
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) { MoveCurrent(ACol, ARow, MoveAnchor, true); }

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
  if (ACol < FFixedCols || ACol >= ColCount() || ARow < FFixedRows || ARow >= RowCount()) IndexError();
  if (!SelectCell(ACol, ARow)) return;
  const TGridRect OldSel = Selection();
  const bool Moved = FCurrent != TGridCoord{ACol, ARow};
  if (Moved) HideEdit();
  FCurrent = TGridCoord{ACol, ARow};
  if (MoveAnchor || !(FOptions & GridOption(goRangeSelect))) FAnchor = FCurrent;
  if (Show) ClampInView(FCurrent);
  InvalidateSelection(OldSel);
  InvalidateSelection(Selection());
  if (Moved) {
    UpdateEdit();
    Click();
  }
}

void TCustomGrid::ClampInView(TGridCoord Coord) {
  if (!HandleAllocated()) return;
  auto FirstFor = [](const TAxis& A, int I) {
    if (I < A.Fixed) return A.First;
    if (I < A.First) return I;
    int Last = A.First + A.FullyVisible() - 1;
    if (I <= Last) return A.First;
    // The smallest first cell that shows I wholly.
    const int Avail = A.Extent - A.FixedExtent();
    int F = I, Used = A.Size(I);
    while (F - 1 >= A.Fixed && Used + A.Line + A.Size(F - 1) <= Avail) Used += A.Line + A.Size(--F);
    return F;
  };
  MoveTopLeft(FirstFor(Horz(), Coord.X), FirstFor(Vert(), Coord.Y));
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
  if (HandleAllocated()) {
    ALeft = std::clamp(ALeft, FFixedCols, Horz().MaxFirst());
    ATop = std::clamp(ATop, FFixedRows, Vert().MaxFirst());
  } else {
    ALeft = std::clamp(ALeft, FFixedCols, ColCount() - 1);
    ATop = std::clamp(ATop, FFixedRows, RowCount() - 1);
  }
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  FTopLeft = TGridCoord{ALeft, ATop};
  UpdateScrollRange();
  Invalidate();
  TopLeftChanged();
}

void TCustomGrid::TopLeftChanged() {
  if (FEditCell.X >= 0 && FInplaceEdit) {
    const TRect R = CellRect(FEditCell.X, FEditCell.Y);
    if (R.IsEmpty()) FInplaceEdit->Hide();
    else FInplaceEdit->Move(R);
  }
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::UpdateScrollRange() {
  if (!HandleAllocated() || FUpdatingScroll) return;
  FUpdatingScroll = true;
  // Showing or hiding one bar changes the room for the other: settle in a few rounds.
  for (int Round = 0; Round < 3; ++Round) {
    const TRect Before = ClientRect();
    auto Apply = [&](int Bar, const TAxis& A, bool Wanted) {
      if (!Wanted) return;
      SCROLLINFO SI{};
      SI.cbSize = sizeof SI;
      SI.fMask = SIF_ALL;
      const int Page = A.FullyVisible();
      SI.nMin = A.Fixed;
      SI.nMax = A.MaxFirst() + Page - 1;
      SI.nPage = UINT(Page);
      SI.nPos = A.First;
      SetScrollInfo(WindowHandle(), Bar, &SI, TRUE);
    };
    Apply(SB_HORZ, Horz(), FScrollBars == ssHorizontal || FScrollBars == ssBoth);
    Apply(SB_VERT, Vert(), FScrollBars == ssVertical || FScrollBars == ssBoth);
    if (ClientRect() == Before) break;
  }
  FUpdatingScroll = false;
  // The view may now reach past the last cells.
  const int Left = std::min(FTopLeft.X, Horz().MaxFirst()), Top = std::min(FTopLeft.Y, Vert().MaxFirst());
  if (Left != FTopLeft.X || Top != FTopLeft.Y) MoveTopLeft(Left, Top);
}

void TCustomGrid::ScrollBy(int Bar, int Code) {
  const TAxis A = Bar == SB_HORZ ? Horz() : Vert();
  SCROLLINFO SI{};
  SI.cbSize = sizeof SI;
  SI.fMask = SIF_TRACKPOS;
  GetScrollInfo(WindowHandle(), Bar, &SI);
  const int TrackPos = SI.nTrackPos;
  int First = A.First;
  switch (Code) {
    case SB_LINEUP: --First; break;
    case SB_LINEDOWN: ++First; break;
    case SB_PAGEUP: First -= A.FullyVisible(); break;
    case SB_PAGEDOWN: First += A.FullyVisible(); break;
    case SB_THUMBTRACK:
      if (!(FOptions & GridOption(goThumbTracking))) return;
      First = TrackPos;
      break;
    case SB_THUMBPOSITION: First = TrackPos; break;
    case SB_TOP: First = A.Fixed; break;
    case SB_BOTTOM: First = A.MaxFirst(); break;
    default: return;
  }
  if (Bar == SB_HORZ) MoveTopLeft(First, FTopLeft.Y);
  else MoveTopLeft(FTopLeft.X, First);
}

// ----- moving and deleting

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || FromIndex >= ColCount() || ToIndex < 0 || ToIndex >= ColCount()) IndexError();
  if (FromIndex == ToIndex) return;
  HideEdit();
  const int W = FColWidths[size_t(FromIndex)];
  FColWidths.erase(FColWidths.begin() + FromIndex);
  FColWidths.insert(FColWidths.begin() + ToIndex, W);
  FCurrent.X = std::max(MovedIndex(FCurrent.X, FromIndex, ToIndex), FFixedCols);
  FAnchor.X = std::max(MovedIndex(FAnchor.X, FromIndex, ToIndex), FFixedCols);
  ColumnMoved(FromIndex, ToIndex);
  ColWidthsChanged();
  Invalidate();
  UpdateEdit();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || FromIndex >= RowCount() || ToIndex < 0 || ToIndex >= RowCount()) IndexError();
  if (FromIndex == ToIndex) return;
  HideEdit();
  const int H = FRowHeights[size_t(FromIndex)];
  FRowHeights.erase(FRowHeights.begin() + FromIndex);
  FRowHeights.insert(FRowHeights.begin() + ToIndex, H);
  FCurrent.Y = std::max(MovedIndex(FCurrent.Y, FromIndex, ToIndex), FFixedRows);
  FAnchor.Y = std::max(MovedIndex(FAnchor.Y, FromIndex, ToIndex), FFixedRows);
  RowMoved(FromIndex, ToIndex);
  RowHeightsChanged();
  Invalidate();
  UpdateEdit();
}

void TCustomGrid::ColumnMoved(int FromIndex, int ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomGrid::RowMoved(int FromIndex, int ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TCustomGrid::DeleteColumn(int ACol) {
  MoveColumn(ACol, ColCount() - 1);
  SetColCount(ColCount() - 1);
}

void TCustomGrid::DeleteRow(int ARow) {
  MoveRow(ARow, RowCount() - 1);
  SetRowCount(RowCount() - 1);
}

// ----- editing

bool TCustomGrid::CanEditShow() {
  return (FOptions & GridOption(goEditing)) && (FEditorMode || (FOptions & GridOption(goAlwaysShowEditor))) &&
         !(FOptions & GridOption(goRowSelect)) && !HasState(csDesigning) && HandleAllocated();
}

TInplaceEdit* TCustomGrid::CreateEditor() { return TComponent::Create<TInplaceEdit>(this); }

void TCustomGrid::SetEditorMode(bool Value) {
  if (Value) ShowEditor();
  else HideEditor();
}

void TCustomGrid::ShowEditor() {
  FEditorMode = true;
  UpdateEdit();
}

void TCustomGrid::HideEditor() {
  FEditorMode = false;
  HideEdit();
}

void TCustomGrid::UpdateEdit() {
  if (!CanEditShow()) return;
  const TRect R = CellRect(FCurrent.X, FCurrent.Y);
  if (R.IsEmpty()) return;
  if (!FInplaceEdit) {
    FInplaceEdit = CreateEditor();
    FInplaceEdit->FGrid = this;
    FInplaceEdit->SetParent(this);
  }
  if (FEditCell != FCurrent) {
    FEditCell = FCurrent;
    FInplaceEdit->UpdateContents();
  }
  FInplaceEdit->Move(R);
}

void TCustomGrid::HideEdit() {
  if (!FInplaceEdit || FEditCell.X < 0) return;
  const TGridCoord Cell = FEditCell;
  FEditCell = TGridCoord{-1, -1};
  if (FInplaceEdit->HandleAllocated() && GetFocus() == FInplaceEdit->WindowHandle() && HandleAllocated())
    ::SetFocus(WindowHandle());
  SetEditText(Cell.X, Cell.Y, FInplaceEdit->Text());
  FInplaceEdit->Hide();
  InvalidateCell(Cell.X, Cell.Y);
}

// ----- window

void TCustomGrid::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  ApplyBorder(Params, FBorderStyle, Ctl3D());
  Params.WindowClass.style = CS_DBLCLKS;
}

void TCustomGrid::CreateWnd() {
  inherited::CreateWnd();
  UpdateScrollRange();
}

void TCustomGrid::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS;
  if (FOptions & GridOption(goTabs)) Message.Result |= DLGC_WANTTAB;
  if (FOptions & GridOption(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

void TCustomGrid::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  UpdateScrollRange();
  Invalidate();
  if (FEditCell.X >= 0) UpdateEdit();
}

void TCustomGrid::WMHScroll(TMessage& Message) {
  if (Message.LParam) return inherited::Dispatch(Message);
  ScrollBy(SB_HORZ, LOWORD(Message.WParam));
}

void TCustomGrid::WMVScroll(TMessage& Message) {
  if (Message.LParam) return inherited::Dispatch(Message);
  ScrollBy(SB_VERT, LOWORD(Message.WParam));
}

void TCustomGrid::WMMouseWheel(TMessage& Message) {
  // One row per notch, the current cell moving as with the arrow keys.
  const int Notches = short(HIWORD(Message.WParam)) / WHEEL_DELTA;
  if (Notches != 0) {
    const int NewRow = std::clamp(FCurrent.Y - Notches, FFixedRows, RowCount() - 1);
    if (NewRow != FCurrent.Y) MoveCurrent(FCurrent.X, NewRow, true, true);
  }
  Message.Result = 1;
}

void TCustomGrid::WMSetCursor(TMessage& Message) {
  if (short(LOWORD(Message.LParam)) == HTCLIENT && FGridState == gsNormal) {
    POINT P{};
    GetCursorPos(&P);
    ::ScreenToClient(WindowHandle(), &P);
    const TAxis H = Horz(), V = Vert();
    LPCSTR Shape = nullptr;
    if ((FOptions & GridOption(goColSizing)) && P.y < V.FixedExtent() && SizingIndexAt(H, P.x) >= 0) Shape = IDC_SIZEWE;
    else if ((FOptions & GridOption(goRowSizing)) && P.x < H.FixedExtent() && SizingIndexAt(V, P.y) >= 0)
      Shape = IDC_SIZENS;
    if (Shape) {
      ::SetCursor(LoadCursorA(nullptr, Shape));
      Message.Result = 1;
      return;
    }
  }
  inherited::Dispatch(Message);
}

void TCustomGrid::WMSetFocus(TMessage& Message) {
  inherited::Dispatch(Message);
  InvalidateSelection(Selection());
  if (!FInplaceEdit || !FInplaceEdit->HandleAllocated() ||
      reinterpret_cast<HWND>(Message.WParam) != FInplaceEdit->WindowHandle())
    UpdateEdit();
}

void TCustomGrid::WMKillFocus(TMessage& Message) {
  inherited::Dispatch(Message);
  InvalidateSelection(Selection());
  HWND To = reinterpret_cast<HWND>(Message.WParam);
  if (FInplaceEdit && !HasState(csDestroying) && (!FInplaceEdit->HandleAllocated() || To != FInplaceEdit->WindowHandle()))
    HideEdit();
}

void TCustomGrid::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TCustomGrid::CMFontChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

void TCustomGrid::CMColorChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  Invalidate();
}

// ----- keyboard and mouse

void TCustomGrid::KeyDown(unsigned short& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key == 0) return;
  const bool Ctrl = (Shift & ShiftOf(ssCtrl)) != 0;
  const bool Extend = (Shift & ShiftOf(ssShift)) && (FOptions & GridOption(goRangeSelect));
  const bool RowSelect = (FOptions & GridOption(goRowSelect)) != 0;
  int C = FCurrent.X, R = FCurrent.Y;
  switch (Key) {
    case VK_UP: --R; break;
    case VK_DOWN: ++R; break;
    case VK_LEFT:
      if (RowSelect) return SetLeftCol(LeftCol() - 1);
      --C;
      break;
    case VK_RIGHT:
      if (RowSelect) return SetLeftCol(LeftCol() + 1);
      ++C;
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      // The view and the current row move by a page together.
      const int Delta = Key == VK_NEXT ? VisibleRowCount() : -VisibleRowCount();
      R += Delta;
      SetTopRow(TopRow() + Delta);
      break;
    }
    case VK_HOME:
      if (Ctrl) R = FFixedRows;
      else C = FFixedCols;
      break;
    case VK_END:
      if (Ctrl) R = RowCount() - 1;
      else C = ColCount() - 1;
      break;
    case VK_TAB:
      if (!(FOptions & GridOption(goTabs))) return;
      if (Shift & ShiftOf(ssShift)) {
        if (--C < FFixedCols) {
          C = ColCount() - 1;
          if (--R < FFixedRows) R = RowCount() - 1;
        }
      } else if (++C >= ColCount()) {
        C = FFixedCols;
        if (++R >= RowCount()) R = FFixedRows;
      }
      break;
    case VK_F2: ShowEditor(); return;
    default: return;
  }
  C = std::clamp(C, FFixedCols, ColCount() - 1);
  R = std::clamp(R, FFixedRows, RowCount() - 1);
  if (C != FCurrent.X || R != FCurrent.Y) MoveCurrent(C, R, !Extend || Key == VK_TAB, true);
  Key = 0;
}

void TCustomGrid::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  if (!(FOptions & GridOption(goEditing)) || Key == 0) return;
  if (Key == '\r') {
    if (!(FOptions & GridOption(goAlwaysShowEditor))) {
      if (FEditorMode) HideEditor();
      else ShowEditor();
    }
    Key = 0;
  } else if ((unsigned char)Key >= 32 && FEditCell.X < 0) {
    // Typing on the grid starts the editor with that character.
    ShowEditor();
    if (FInplaceEdit && FEditCell.X >= 0) {
      SendMessageA(FInplaceEdit->WindowHandle(), WM_CHAR, WPARAM((unsigned char)Key), 1);
      Key = 0;
    }
  }
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (CanFocus() && !Focused() && !(FInplaceEdit && FInplaceEdit->Focused())) SetFocus();
  if (Button == mbLeft && !(Shift & ShiftOf(ssDouble))) {
    const TAxis H = Horz(), V = Vert();
    if ((FOptions & GridOption(goColSizing)) && Y < V.FixedExtent() && (FSizingIndex = SizingIndexAt(H, X)) >= 0) {
      FGridState = gsColSizing;
      FSizingPos = X - FColWidths[size_t(FSizingIndex)];
    } else if ((FOptions & GridOption(goRowSizing)) && X < H.FixedExtent() &&
               (FSizingIndex = SizingIndexAt(V, Y)) >= 0) {
      FGridState = gsRowSizing;
      FSizingPos = Y - FRowHeights[size_t(FSizingIndex)];
    } else if (const TGridCoord Hit = MouseCoord(X, Y); Hit.X >= 0) {
      if (Hit.Y < FFixedRows && Hit.X >= FFixedCols && (FOptions & GridOption(goColMoving))) {
        FGridState = gsColMoving;
        FMoveIndex = Hit.X;
      } else if (Hit.X < FFixedCols && Hit.Y >= FFixedRows && (FOptions & GridOption(goRowMoving))) {
        FGridState = gsRowMoving;
        FMoveIndex = Hit.Y;
      } else if (Hit.X >= FFixedCols && Hit.Y >= FFixedRows) {
        if (Hit == FCurrent && (FOptions & GridOption(goEditing))) {
          ShowEditor();
        } else {
          MoveCurrent(Hit.X, Hit.Y, !((Shift & ShiftOf(ssShift)) && (FOptions & GridOption(goRangeSelect))), true);
          if (FOptions & GridOption(goRangeSelect)) FGridState = gsSelecting;
        }
      }
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  switch (FGridState) {
    case gsSelecting:
      if (const TGridCoord Hit = MouseCoord(X, Y); Hit.X >= FFixedCols && Hit.Y >= FFixedRows && Hit != FCurrent)
        MoveCurrent(Hit.X, Hit.Y, false, true);
      break;
    case gsColSizing: SetColWidths(FSizingIndex, X - FSizingPos); break;
    case gsRowSizing: SetRowHeights(FSizingIndex, Y - FSizingPos); break;
    default: break;
  }
  inherited::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridState State = std::exchange(FGridState, gsNormal);
  const TGridCoord Hit = MouseCoord(X, Y);
  if (State == gsColMoving && Hit.X >= FFixedCols && Hit.X != FMoveIndex) MoveColumn(FMoveIndex, Hit.X);
  else if (State == gsRowMoving && Hit.Y >= FFixedRows && Hit.Y != FMoveIndex) MoveRow(FMoveIndex, Hit.Y);
  inherited::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::DblClick() {
  if (FOptions & GridOption(goEditing)) ShowEditor();
  inherited::DblClick();
}

// ----- painting

void TCustomGrid::DrawLines(TCanvas* C, const TAxis& H, const TAxis& V, int ColFrom, int ColTo, int RowFrom,
                            int RowTo, bool HorzLines, bool VertLines, TColor LineColor) {
  if (FGridLineWidth <= 0 || ColFrom > ColTo || RowFrom > RowTo) return;
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  if (!H.Start(ColFrom, X0) || !V.Start(RowFrom, Y0)) return;
  H.Start(ColTo, X1);
  V.Start(RowTo, Y1);
  X1 += H.Size(ColTo) + FGridLineWidth;
  Y1 += V.Size(RowTo) + FGridLineWidth;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(LineColor);
  if (VertLines)
    for (int I = ColFrom; I <= ColTo; ++I) {
      int X = 0;
      if (H.Start(I, X)) C->FillRect(Rect(X + H.Size(I), Y0, X + H.Size(I) + FGridLineWidth, Y1));
    }
  if (HorzLines)
    for (int I = RowFrom; I <= RowTo; ++I) {
      int Y = 0;
      if (V.Start(I, Y)) C->FillRect(Rect(X0, Y + V.Size(I), X1, Y + V.Size(I) + FGridLineWidth));
    }
}

void TCustomGrid::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  const TRect Clip = C->ClipRect();
  const TAxis H = Horz(), V = Vert();
  const int LastCol = H.LastVisible(), LastRow = V.LastVisible();
  auto Visible = [](const TAxis& A, int Last) {
    std::vector<TVisibleCell> Cells;
    int Pos = 0;
    for (int I = 0; I < A.Fixed; ++I) {
      Cells.push_back({I, Pos});
      Pos += A.Size(I) + A.Line;
    }
    for (int I = A.First; I <= Last; ++I) {
      Cells.push_back({I, Pos});
      Pos += A.Size(I) + A.Line;
    }
    return std::pair{Cells, Pos};
  };
  const auto [Cols, GridWidth] = Visible(H, LastCol);
  const auto [Rows, GridHeight] = Visible(V, LastRow);

  // Beyond the cells, and the gaps of lines that are off.
  FillBrush(C, Client, Color());
  const int FixedW = H.FixedExtent(), FixedH = V.FixedExtent();
  if (FixedH > 0) FillBrush(C, Rect(0, 0, std::min(GridWidth, Client.Right), FixedH), FFixedColor);
  if (FixedW > 0) FillBrush(C, Rect(0, 0, FixedW, std::min(GridHeight, Client.Bottom)), FFixedColor);

  const bool HasFocus = Focused();
  const TGridRect Sel = Selection();
  const bool Fixed3D = Ctl3D() && (FOptions & GridOption(goFixedVertLine)) && (FOptions & GridOption(goFixedHorzLine));
  for (const TVisibleCell& RowCell : Rows) {
    for (const TVisibleCell& ColCell : Cols) {
      const int ACol = ColCell.Index, ARow = RowCell.Index;
      const TRect R = Bounds(ColCell.Pos, RowCell.Pos, FColWidths[size_t(ACol)], FRowHeights[size_t(ARow)]);
      TRect Hit;
      if (!IntersectRect(Hit, R, Clip)) continue;
      TGridDrawState State = 0;
      if (ACol < FFixedCols || ARow < FFixedRows) State |= GridState(gdFixed);
      else {
        if (Sel.Contains(ACol, ARow)) State |= GridState(gdSelected);
        if (HasFocus && ACol == FCurrent.X && ARow == FCurrent.Y) State |= GridState(gdFocused);
      }
      C->SetFont(Font());
      if (FDefaultDrawing) {
        TColor Back = Color();
        if (State & GridState(gdFixed)) Back = FFixedColor;
        else if ((State & GridState(gdSelected)) &&
                 (!(State & GridState(gdFocused)) ||
                  (FOptions & (GridOption(goDrawFocusSelected) | GridOption(goRowSelect))))) {
          Back = clHighlight;
          C->Font()->SetColor(clHighlightText);
        }
        FillBrush(C, R, Back);
      }
      DrawCell(ACol, ARow, R, State);
      if (FDefaultDrawing && (State & GridState(gdFixed)) && Fixed3D) {
        RECT E = AsRECT(R);
        DrawEdge(C->Handle(), &E, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
        DrawEdge(C->Handle(), &E, BDR_RAISEDINNER, BF_TOPLEFT);
      }
      if (FDefaultDrawing && (State & GridState(gdFocused)) && !(FOptions & GridOption(goRowSelect)) &&
          FEditCell.X < 0) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        SetTextColor(C->Handle(), 0);
        C->DrawFocusRect(R);
      }
    }
  }

  const bool FixedV = FOptions & GridOption(goFixedVertLine), FixedHz = FOptions & GridOption(goFixedHorzLine);
  const bool NormV = FOptions & GridOption(goVertLine), NormH = FOptions & GridOption(goHorzLine);
  DrawLines(C, H, V, 0, FFixedCols - 1, 0, FFixedRows - 1, FixedHz, FixedV, clBlack);
  DrawLines(C, H, V, H.First, LastCol, 0, FFixedRows - 1, FixedHz, FixedV, clBlack);
  DrawLines(C, H, V, 0, FFixedCols - 1, V.First, LastRow, FixedHz, FixedV, clBlack);
  DrawLines(C, H, V, H.First, LastCol, V.First, LastRow, NormH, NormV, clSilver);
}

ORV_IMPLEMENT_CLASS(TCustomGrid, TCustomControl)

// ---------------------------------------------------------------------------------------------
// TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

AnsiString TStringGrid::Cells(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0) IndexError();
  auto It = FCells.find(Key(ACol, ARow));
  return It == FCells.end() ? AnsiString() : It->second;
}

void TStringGrid::SetCells(int ACol, int ARow, const AnsiString& Value) {
  if (ACol < 0 || ARow < 0) IndexError();
  if (Value.IsEmpty()) FCells.erase(Key(ACol, ARow));
  else FCells[Key(ACol, ARow)] = Value;
  if (ACol < ColCount() && ARow < RowCount()) InvalidateCell(ACol, ARow);
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (DefaultDrawing()) {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsClear);
    C->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
  }
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

AnsiString TStringGrid::GetEditText(int ACol, int ARow) {
  AnsiString Value = Cells(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
  return Value;
}

void TStringGrid::SetEditText(int ACol, int ARow, const AnsiString& Value) {
  if (Value != Cells(ACol, ARow)) SetCells(ACol, ARow, Value);
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

template <class F> void TStringGrid::Remap(bool Columns, F Map) {
  std::unordered_map<uint64_t, AnsiString> Moved;
  Moved.reserve(FCells.size());
  for (auto& [K, V] : FCells) {
    const int C = int(uint32_t(K >> 32)), R = int(uint32_t(K));
    Moved.emplace(Columns ? Key(Map(C), R) : Key(C, Map(R)), std::move(V));
  }
  FCells = std::move(Moved);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  Remap(true, [&](int I) { return MovedIndex(I, FromIndex, ToIndex); });
  inherited::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
  Remap(false, [&](int I) { return MovedIndex(I, FromIndex, ToIndex); });
  inherited::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
  inherited::SizeChanged(OldColCount, OldRowCount);
  if (ColCount() >= OldColCount && RowCount() >= OldRowCount) return;
  const int Cols = ColCount(), Rows = RowCount();
  std::erase_if(FCells, [&](const auto& E) {
    const int C = int(uint32_t(E.first >> 32)), R = int(uint32_t(E.first));
    return (C >= Cols && C < OldColCount) || (R >= Rows && R < OldRowCount);
  });
}

static constinit const TPropInfo TStringGrid_Props[] = {
    TControlProps::Align(),
    TControlProps::Anchors(),
    PropEnum<&TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle>("BorderStyle", TBorderStyleType, bsSingle),
    TControlProps::Color(clWindow),
    PropInt<&TCustomGrid::ColCount, &TCustomGrid::SetColCount>("ColCount", 5),
    TControlProps::Constraints(),
    TControlProps::Ctl3D(),
    PropInt<&TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth>("DefaultColWidth", 64),
    PropBool<&TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing>("DefaultDrawing", true),
    PropInt<&TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight>("DefaultRowHeight", 24),
    TControlProps::DragCursor(),
    TControlProps::DragMode(),
    TControlProps::Enabled(),
    PropColor<&TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor>("FixedColor", clBtnFace),
    PropInt<&TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols>("FixedCols", 1),
    TControlProps::Font(),
    PropInt<&TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows>("FixedRows", 1),
    PropInt<&TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth>("GridLineWidth", 1),
    PropSet<&TCustomGrid::Options, &TCustomGrid::SetOptions>("Options", TGridOptionType, DefaultGridOptions),
    TControlProps::ParentColor(false),
    TControlProps::ParentCtl3D(),
    TControlProps::ParentFont(),
    TControlProps::ParentShowHint(),
    PopupMenuProp(),
    PropInt<&TCustomGrid::RowCount, &TCustomGrid::SetRowCount>("RowCount", 5),
    PropEnum<&TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars>("ScrollBars", TScrollStyleType, ssBoth),
    TControlProps::ShowHint(),
    TControlProps::TabOrder(),
    TControlProps::TabStop(true),
    TControlProps::Visible(),
    TControlProps::OnClick(),
    PropEvent<&TCustomGrid::OnColumnMoved>("OnColumnMoved"),
    TControlProps::OnDblClick(),
    TControlProps::OnDragDrop(),
    TControlProps::OnDragOver(),
    PropEvent<&TCustomGrid::OnDrawCell>("OnDrawCell"),
    TControlProps::OnEndDrag(),
    TControlProps::OnEnter(),
    TControlProps::OnExit(),
    PropEvent<&TStringGrid::OnGetEditText>("OnGetEditText"),
    TControlProps::OnKeyDown(),
    TControlProps::OnKeyPress(),
    TControlProps::OnKeyUp(),
    TControlProps::OnMouseDown(),
    TControlProps::OnMouseMove(),
    TControlProps::OnMouseUp(),
    PropEvent<&TCustomGrid::OnRowMoved>("OnRowMoved"),
    PropEvent<&TCustomGrid::OnSelectCell>("OnSelectCell"),
    PropEvent<&TStringGrid::OnSetEditText>("OnSetEditText"),
    TControlProps::OnStartDrag(),
    PropEvent<&TCustomGrid::OnTopLeftChanged>("OnTopLeftChanged"),
};
ORV_IMPLEMENT_COMPONENT(TStringGrid, TCustomGrid, TStringGrid_Props)

namespace {
struct TGridsUnit {
  TGridsUnit() { RegisterClass(TStringGrid::StaticClass()); }
} GridsUnit;
}  // namespace
