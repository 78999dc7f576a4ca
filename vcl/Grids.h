// Grids: a grid of cells with fixed rows and columns, scrolling, selection, sizing and moving of
// rows and columns and an in-place editor (TCustomGrid, TInplaceEdit), and the grid of texts
// (TStringGrid), which keeps only the cells that hold text.
#pragma once

#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

ORV_EXCEPTION(EInvalidGridOperation, Exception)

enum TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected, goRowSizing,
  goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking,
};
using TGridOptions = unsigned;  // bit n = TGridOption n
constexpr TGridOptions GridOption(TGridOption O) { return 1u << O; }
extern const TEnumType TGridOptionType;

enum TGridDrawStateElement { gdSelected, gdFocused, gdFixed };
using TGridDrawState = unsigned;  // bit n = TGridDrawStateElement n
constexpr TGridDrawState GridState(TGridDrawStateElement E) { return 1u << E; }

struct TGridCoord {
  int X = 0, Y = 0;
  friend constexpr bool operator==(const TGridCoord&, const TGridCoord&) = default;
};
// Columns Left..Right and rows Top..Bottom, both ends included.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr bool Contains(int ACol, int ARow) const {
    return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
  }
  friend constexpr bool operator==(const TGridRect&, const TGridRect&) = default;
};

using TDrawCellEvent = TClosure<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, TRect, TGridDrawState>;
using TSelectCellEvent = TClosure<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, bool& /*CanSelect*/>;
using TGetEditEvent = TClosure<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, AnsiString& /*Value*/>;
using TSetEditEvent = TClosure<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, const AnsiString& /*Value*/>;
using TMovedEvent = TClosure<TObject* /*Sender*/, int /*FromIndex*/, int /*ToIndex*/>;

class TCustomGrid;

// The editor of a grid's cells: a borderless system edit over the current cell, a child of
// the grid. Its text goes to the grid (SetEditText) as it changes; Up, Down, Page Up, Page Down
// and Tab go on to the grid; Escape puts back the text editing began with and closes it.
class TInplaceEdit : public TCustomEdit {
  ORV_CLASS(TInplaceEdit, TCustomEdit)
public:
  explicit TInplaceEdit(TComponent* AOwner);
  TCustomGrid* Grid() const { return FGrid; }
  void Dispatch(TMessage& Message) override;

  // Places the editor over R (grid client coordinates) and shows it with the focus.
  virtual void Move(const TRect& R);
  // Reads the current cell's text from the grid (GetEditText), all of it selected.
  void UpdateContents();

protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Change() override;
  void WMGetDlgCode(TMessage& Message);
  void WMKillFocus(TMessage& Message);

private:
  friend class TCustomGrid;
  TCustomGrid* FGrid = nullptr;
  AnsiString FStartText;
  bool FUpdating = false;
};

// A grid of ColCount columns and RowCount rows; the first FixedCols columns and FixedRows rows
// stay in place while the others scroll. Descendants draw the cells (DrawCell).
class TCustomGrid : public TCustomControl {
  ORV_CLASS(TCustomGrid, TCustomControl)
public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;
  void Dispatch(TMessage& Message) override;

  // EInvalidGridOperation "Fixed column count must be less than column count" and the row form.
  int ColCount() const { return int(FColWidths.size()); }
  void SetColCount(int Value);
  int RowCount() const { return int(FRowHeights.size()); }
  void SetRowCount(int Value);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);
  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int Value);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int Value);
  // EInvalidGridOperation "Grid index out of range" for an index outside the columns or rows.
  int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int RowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);

  // The current cell; setting it selects it (when SelectCell allows) and scrolls it into view.
  int Col() const { return FCurrent.X; }
  void SetCol(int Value) { FocusCell(Value, FCurrent.Y, true); }
  int Row() const { return FCurrent.Y; }
  void SetRow(int Value) { FocusCell(FCurrent.X, Value, true); }
  TGridRect Selection() const;
  void SetSelection(const TGridRect& Value);
  // The first scrolling row and column shown.
  int TopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value) { MoveTopLeft(FTopLeft.X, Value); }
  int LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value) { MoveTopLeft(Value, FTopLeft.Y); }
  // Scrolling rows and columns that fit wholly in the client area.
  int VisibleRowCount() const;
  int VisibleColCount() const;
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

  // A cell's rectangle in client coordinates; empty for a cell not in view.
  TRect CellRect(int ACol, int ARow) const;
  // The cell under a client point; -1 parts outside the cells.
  TGridCoord MouseCoord(int X, int Y) const;
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;

  using TControl::Color;
  using TControl::SetColor;
  using TControl::Font;
  using TControl::SetFont;

  // "ColWidths" and "RowHeights": lists of the sizes, stored when one differs from the default.
  void DefineProperties(TFiler* Filer) override;

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;

  // The cell's picture; Canvas holds the cell's colours and the grid's font.
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
  // Whether the cell may become the current one (OnSelectCell).
  virtual bool SelectCell(int ACol, int ARow);
  // Whether the editor may show now.
  virtual bool CanEditShow();
  virtual bool CanEditModify() { return true; }
  virtual TInplaceEdit* CreateEditor();
  // The text the editor starts with, and the editor's text as it changes.
  virtual AnsiString GetEditText(int ACol, int ARow) { return AnsiString(); }
  virtual void SetEditText(int ACol, int ARow, const AnsiString& Value) {}
  // After the move of a column's or row's place (data of descendants moves here).
  virtual void ColumnMoved(int FromIndex, int ToIndex);
  virtual void RowMoved(int FromIndex, int ToIndex);
  // Before the view moves to a new first row or column.
  virtual void TopLeftChanged();
  // After ColCount or RowCount changed.
  virtual void SizeChanged(int OldColCount, int OldRowCount) {}
  virtual void ColWidthsChanged() {}
  virtual void RowHeightsChanged() {}

  // Moves a column (row) to another place; the others between shift by one.
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);
  // Moves it to the end and drops the last one.
  void DeleteColumn(int ACol);
  void DeleteRow(int ARow);
  void InvalidateCell(int ACol, int ARow);
  void InvalidateGrid() { Invalidate(); }
  void ShowEditor();
  void HideEditor();

  void WMGetDlgCode(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);

private:
  friend class TInplaceEdit;
  enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
  // One direction of the grid: the sizes of its cells and what of them is in view.
  struct TAxis {
    const std::vector<int>* Sizes;
    int Fixed, First, Line, Extent;
    int Size(int I) const { return (*Sizes)[size_t(I)]; }
    int Count() const { return int(Sizes->size()); }
    int FixedExtent() const;
    // Client position of a cell's start; false when it is scrolled out of view.
    bool Start(int I, int& Pos) const;
    int IndexAt(int Pos) const;       // -1 outside the cells
    int LastVisible() const;          // last cell at least partly in view
    int FullyVisible() const;         // scrolling cells wholly in view, at least 1
    int MaxFirst() const;             // first cell that shows the last one wholly
  };
  TAxis Horz() const;
  TAxis Vert() const;

  void FocusCell(int ACol, int ARow, bool MoveAnchor);
  void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
  void MoveTopLeft(int ALeft, int ATop);
  void ClampInView(TGridCoord Coord);
  void InvalidateSelection(const TGridRect& R);
  void UpdateScrollRange();
  void ScrollBy(int Bar, int Code);
  void ChangeSize(int NewColCount, int NewRowCount);
  void UpdateEdit();
  void HideEdit();
  // The sizing line under a client point: index of the column (row) before it, or -1.
  int SizingIndexAt(const TAxis& A, int Pos) const;
  void DrawLines(TCanvas* C, const TAxis& H, const TAxis& V, int ColFrom, int ColTo, int RowFrom, int RowTo,
                 bool HorzLines, bool VertLines, TColor LineColor);
  static TGridRect Normalize(TGridCoord A, TGridCoord B);

  std::vector<int> FColWidths, FRowHeights;
  int FFixedCols = 1, FFixedRows = 1;
  int FDefaultColWidth = 64, FDefaultRowHeight = 24;
  int FGridLineWidth = 1;
  TGridOptions FOptions;
  TColor FFixedColor = clBtnFace;
  TScrollStyle FScrollBars = ssBoth;
  TBorderStyle FBorderStyle = bsSingle;
  bool FDefaultDrawing = true;
  TGridCoord FCurrent{1, 1}, FAnchor{1, 1}, FTopLeft{1, 1};
  TGridState FGridState = gsNormal;
  int FSizingIndex = -1, FSizingPos = 0, FMoveIndex = -1;
  bool FEditorMode = false;
  bool FUpdatingScroll = false;
  TInplaceEdit* FInplaceEdit = nullptr;
  TGridCoord FEditCell{-1, -1};
};

// A grid of texts. Cells holds memory only for cells with text; cells outside the grid are
// kept too (they show once the grid grows) until a smaller count cuts them off.
class TStringGrid : public TCustomGrid {
  ORV_CLASS(TStringGrid, TCustomGrid)
public:
  explicit TStringGrid(TComponent* AOwner);

  // Negative indexes raise EInvalidGridOperation "Grid index out of range".
  AnsiString Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const AnsiString& Value);
  // Cells holding text.
  int CellsWithText() const { return int(FCells.size()); }

  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  AnsiString GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const AnsiString& Value) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;
  // Every text removed.
  void ClearCells() { FCells.clear(); }

private:
  static uint64_t Key(int ACol, int ARow) { return (uint64_t(uint32_t(ACol)) << 32) | uint32_t(ARow); }
  // Rebuilds the store with each cell's column or row index mapped by Map.
  template <class F> void Remap(bool Columns, F Map);
  std::unordered_map<uint64_t, AnsiString> FCells;
};

// The index a column or row at I takes when the one at From moves to To.
constexpr int MovedIndex(int I, int From, int To) {
  if (I == From) return To;
  if (From < To && I > From && I <= To) return I - 1;
  if (To < From && I >= To && I < From) return I + 1;
  return I;
}
