// Header controls over the system header control ("SysHeader32"): a row of sections with texts
// and widths, which the program sets and the user drags.
#pragma once

#include "vcl/Controls.h"

#include <vector>

// What both header classes share: the window mirrors the sections a descendant keeps, and a
// width the user drags goes back to the section.
class TCustomHeaderWnd : public TWinControl {
  ORV_CLASS(TCustomHeaderWnd, TWinControl)
public:
  explicit TCustomHeaderWnd(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnSectionResize;

protected:
  virtual int HeaderCount() const = 0;
  virtual AnsiString HeaderText(int Index) const = 0;
  virtual int HeaderWidth(int Index) const = 0;
  // The user (or the window) changed a section's width.
  virtual void HeaderResized(int Index, int Width) = 0;
  // Gives the window the sections again (after any change to them).
  void SectionsChanged();

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CNNotify(TMessage& Message);

private:
  bool FUpdating = false;
};

class THeaderControl;

// One section of a header control: its text and width; Left and Right are its edges in the
// control's client coordinates.
class THeaderSection : public TCollectionItem {
  ORV_CLASS(THeaderSection, TCollectionItem)
public:
  explicit THeaderSection(TCollection* Collection);
  AnsiString Text() const { return FText; }
  void SetText(const AnsiString& Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Left() const;
  int Right() const { return Left() + FWidth; }
  void Assign(TPersistent* Source) override;

private:
  AnsiString FText;
  int FWidth = 50;
};

class THeaderSections : public TCollection {
  ORV_CLASS(THeaderSections, TCollection)
public:
  explicit THeaderSections(THeaderControl* AHeader);
  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
  THeaderSection* Items(int Index) const { return static_cast<THeaderSection*>(TCollection::Items(Index)); }
  TPersistent* GetOwner() const override;

protected:
  void Update(TCollectionItem* Item) override;
  void Notify(TCollectionItem* Item, bool Added) override;

private:
  THeaderControl* FHeader;
};

class THeaderControl : public TCustomHeaderWnd {
  ORV_CLASS(THeaderControl, TCustomHeaderWnd)
public:
  explicit THeaderControl(TComponent* AOwner);
  ~THeaderControl() override;
  THeaderSections* Sections() const { return FSections; }
  void SetSections(THeaderSections* Value) { FSections->Assign(Value); }

protected:
  int HeaderCount() const override;
  AnsiString HeaderText(int Index) const override;
  int HeaderWidth(int Index) const override;
  void HeaderResized(int Index, int Width) override;

private:
  friend class THeaderSections;
  THeaderSections* FSections;
};

// A header whose sections are the lines of Sections, each with a width of its own (50 for a
// new line).
class THeader : public TCustomHeaderWnd {
  ORV_CLASS(THeader, TCustomHeaderWnd)
public:
  explicit THeader(TComponent* AOwner);
  ~THeader() override;
  TStrings* Sections() const { return FSections; }
  void SetSections(TStrings* Value) { FSections->Assign(Value); }
  // EListError "List index out of bounds (%d)" outside the sections.
  int SectionWidth(int Index) const;
  void SetSectionWidth(int Index, int Value);

protected:
  int HeaderCount() const override;
  AnsiString HeaderText(int Index) const override;
  int HeaderWidth(int Index) const override;
  void HeaderResized(int Index, int Width) override;

private:
  void LinesChanged(TObject* Sender);
  TStringList* FSections;
  std::vector<int> FWidths;
};
