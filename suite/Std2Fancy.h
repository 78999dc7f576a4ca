// Unit Std2, region-shaped windows: TqcFancyForm cuts the form that owns it, TqcFancyControl one
// windowed control, to a stored region (TqcRgn), so the window takes the shape of a bitmap.
#pragma once
#include "suite/Std2Rgn.h"
#include "vcl/Controls.h"

// What both share: the owned region, its setters and the update once loaded.
class TqcFancyRegionBase : public TComponent {
  ORV_CLASS(TqcFancyRegionBase, TComponent)
public:
  explicit TqcFancyRegionBase(TComponent* AOwner);
  ~TqcFancyRegionBase() override;
  void Loaded() override;

  // Takes the region of Bitmap's pixels other than TransparentColor, then updates.
  void SerRgnFromBmp(TBitmap* Bitmap, TColor TransparentColor);
  // Empties the region, then updates.
  virtual void Clear();
  virtual void DoUpdate() = 0;

  TqcRgn* Region() const { return FRegion; }
  void SetRgn(TqcRgn* Value);

protected:
  TqcRgn* FRegion;
  bool FLoaded = false;
};

class TqcFancyForm : public TqcFancyRegionBase {
  ORV_CLASS(TqcFancyForm, TqcFancyRegionBase)
public:
  explicit TqcFancyForm(TComponent* AOwner) : TqcFancyRegionBase(AOwner) {}
  // Outside the designer and once loaded: the form among the owners (EComponentError "NoForm"
  // without one) becomes borderless, sized to the region's bounding box where it stands, and
  // cut to the region; without data, to the rectangle of its client area.
  void DoUpdate() override;
};

class TqcFancyControl : public TqcFancyRegionBase {
  ORV_CLASS(TqcFancyControl, TqcFancyRegionBase)
public:
  explicit TqcFancyControl(TComponent* AOwner) : TqcFancyRegionBase(AOwner) {}
  void Clear() override;
  // With a ControlComponent, once loaded (at once in the designer): the control is sized to the
  // region's bounding box where it stands and its window cut to the region; without data, to
  // its own rectangle.
  void DoUpdate() override;

  TWinControl* ControlComponent() const { return FControl; }
  void SetControlComponent(TWinControl* Value);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TWinControl* FControl = nullptr;
};
