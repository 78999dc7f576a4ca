// Actions: commands that several clients (controls) share. A client follows its action's
// caption, checked and enabled state, hint and visibility through an action link; the action
// tells each of its links when one of them changes.
#pragma once

#include "vcl/Controls.h"
#include "vcl/ImgList.h"

#include <vector>

class TBasicAction;
class TCustomActionList;

// Connects one client to an action. The action calls Change on each registered link when it
// changes; the link passes that on to OnChange (the client's handler).
class TBasicActionLink : public TObject {
  ORV_CLASS(TBasicActionLink, TObject)
public:
  TBasicActionLink() = default;
  ~TBasicActionLink() override;

  // Stores the client; a client of the wrong class raises EInvalidCast "Invalid class typecast".
  virtual void AssignClient(TObject* AClient) {}
  TBasicAction* Action() const { return FAction; }
  // Unregisters from the old action, registers with the new one.
  virtual void SetAction(TBasicAction* Value);
  // Runs the action for AComponent; false when there is none or it did nothing.
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool IsOnExecuteLinked() { return true; }

  TNotifyEvent OnChange;

protected:
  virtual void Change();

private:
  TBasicAction* FAction = nullptr;
  friend class TBasicAction;
};

class TBasicAction : public TComponent {
  ORV_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;

  // Calls OnExecute; true when it is assigned.
  virtual bool Execute();
  // The client that ran the action last (set by the link around Execute).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value) { FActionComponent = Value; }

  void RegisterChanges(TBasicActionLink* Link);
  void UnRegisterChanges(TBasicActionLink* Link);
  int ClientCount() const { return int(FClients.size()); }
  TBasicActionLink* Clients(int Index) const { return FClients.at(size_t(Index)); }

  TNotifyEvent OnExecute;

protected:
  // Tells every link, in registration order.
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  std::vector<TBasicActionLink*> FClients;
  TComponent* FActionComponent = nullptr;
};

// An action with the properties its clients mirror. In an action list it is the list's child in
// form resources, and ImageIndex names an image of the list's Images.
class TCustomAction : public TBasicAction {
  ORV_CLASS(TCustomAction, TBasicAction)
public:
  explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  // Leaves its list.
  ~TCustomAction() override;

  // Nothing runs while the action is disabled.
  bool Execute() override;

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // -1: no image.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // The list the action belongs to; nullptr: none. Setting it moves the action to the end of the
  // new list.
  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);

  // Form resources hold actions inside their lists.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  // A TCustomActionList becomes the action's list.
  void SetParentComponent(TComponent* Value) override;

private:
  AnsiString FCaption;
  AnsiString FHint;
  TCustomActionList* FActionList = nullptr;
  int FImageIndex = -1;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
};

// A list of actions with the images they show. The actions belong to the list's owner as
// components; the list frees them when it goes.
class TCustomActionList : public TComponent {
  ORV_CLASS(TCustomActionList, TComponent)
public:
  explicit TCustomActionList(TComponent* AOwner);
  ~TCustomActionList() override;

  int ActionCount() const { return int(FActions.size()); }
  // EListError "List index out of bounds (%d)" for a bad index.
  TCustomAction* Actions(int Index) const;
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // The actions whose owner is Root, in list order (what form resources hold inside the list).
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

  // After Images changed or was replaced.
  TNotifyEvent OnChange;

protected:
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TCustomAction;
  void ImagesChanged(TObject*) { Change(); }

  std::vector<TCustomAction*> FActions;
  TCustomImageList* FImages = nullptr;
  TChangeLink* FImageChangeLink;
};

class TActionList : public TCustomActionList {
  ORV_CLASS(TActionList, TCustomActionList)
public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// The action class of form resources: publishes the properties above.
class TAction : public TCustomAction {
  ORV_CLASS(TAction, TCustomAction)
public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// A link to a TCustomAction: which client properties follow the action, and setters that pass
// the action's new values on to the client (only the linked ones).
class TActionLink : public TBasicActionLink {
  ORV_CLASS(TActionLink, TBasicActionLink)
public:
  virtual bool IsCaptionLinked();
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsHintLinked();
  virtual bool IsVisibleLinked();
  virtual void SetCaption(const AnsiString& Value) {}
  virtual void SetChecked(bool Value) {}
  virtual void SetEnabled(bool Value) {}
  virtual void SetHint(const AnsiString& Value) {}
  virtual void SetVisible(bool Value) {}
protected:
  TCustomAction* CustomAction() const;
};

// The link of a control: a property is linked while the control's value equals the action's.
class TControlActionLink : public TActionLink {
  ORV_CLASS(TControlActionLink, TActionLink)
public:
  void AssignClient(TObject* AClient) override;
  TControl* Client() const { return FClient; }

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const AnsiString& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetVisible(bool Value) override;

private:
  TControl* FClient = nullptr;
};

// The published "Action" reference of a control, for the property tables of controls.
constexpr TPropInfo ActionProp() { return PropRef<&TControl::Action, &TControl::SetAction>("Action"); }
