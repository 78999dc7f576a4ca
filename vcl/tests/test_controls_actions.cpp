// Action lists: the actions they hold and free, their images, the image index the actions pass
// on to their clients, and the list as the actions' parent in form resources.
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "rtl/Streaming.h"
#include "rtl/tests/default_check.h"
#include "vcl/tests/vcltest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A control that counts the changes its action announces.
class TActionClient : public TGraphicControl {
  ORV_CLASS(TActionClient, TGraphicControl)
public:
  explicit TActionClient(TComponent* AOwner) : TGraphicControl(AOwner) {}
  int Changes = 0;
  int LastImage = -2;

protected:
  void ActionChange(TObject* Sender, bool CheckDefaults) override {
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    ++Changes;
    if (auto* A = dynamic_cast<TCustomAction*>(Sender)) LastImage = A->ImageIndex();
  }
};
ORV_IMPLEMENT_CLASS(TActionClient, TGraphicControl)

struct TCounter : TObject {
  int N = 0;
  void Changed(TObject*) { ++N; }
};

TEST(ActionList, HoldsAndFreesItsActionsAndForgetsItsImages) {
  ExpectClassDefaultsMatch(TActionList::StaticClass());
  ExpectClassDefaultsMatch(TAction::StaticClass());
  EXPECT_EQ(GetClass("TActionList"), TActionList::StaticClass());

  auto* Owner = TComponent::Create<TComponent>(nullptr);
  auto* List = TComponent::Create<TActionList>(Owner);
  auto* A = TComponent::Create<TAction>(Owner);
  auto* B = TComponent::Create<TAction>(Owner);
  A->SetActionList(List);
  B->SetActionList(List);
  ASSERT_EQ(List->ActionCount(), 2);
  EXPECT_EQ(List->Actions(1), B);
  EXPECT_EQ(A->GetParentComponent(), List);
  EXPECT_THROW(List->Actions(2), EListError);
  TObject::Free(A);
  ASSERT_EQ(List->ActionCount(), 1) << "a freed action leaves its list";
  EXPECT_EQ(List->Actions(0), B);

  TCounter Changes;
  List->OnChange = TNotifyEvent::Bind<&TCounter::Changed>(&Changes);
  auto* Images = TComponent::Create<TImageList>(Owner);
  List->SetImages(Images);
  EXPECT_EQ(Changes.N, 1);
  Images->AddEmpty();
  EXPECT_EQ(Changes.N, 2) << "a change of the images";
  TObject::Free(Images);
  EXPECT_EQ(List->Images(), nullptr);

  TObject::Free(List);
  EXPECT_EQ(Owner->ComponentCount(), 0) << "the list freed its action";
  TObject::Free(Owner);
}

TEST(ActionList, TheImageIndexReachesTheClients) {
  auto* A = TComponent::Create<TAction>(nullptr);
  auto* C = TComponent::Create<TActionClient>(nullptr);
  C->SetAction(A);
  const int Before = C->Changes;
  A->SetImageIndex(3);
  EXPECT_EQ(C->Changes, Before + 1);
  EXPECT_EQ(C->LastImage, 3);
  A->SetImageIndex(3);
  EXPECT_EQ(C->Changes, Before + 1) << "unchanged";
  TObject::Free(C);
  TObject::Free(A);
}

// Form resources hold the actions inside their list; reading puts them back there.
TEST(ActionList, ActionsStreamInsideTheirList) {
  TForm* Form = TCustomForm::CreateNew<TForm>(nullptr);
  Form->SetName("Form1");
  auto* List = TComponent::Create<TActionList>(Form);
  List->SetName("ActionList1");
  auto* A = TComponent::Create<TAction>(Form);
  A->SetName("Open");
  A->SetCaption("Open");
  A->SetImageIndex(2);
  A->SetActionList(List);
  TMemoryStream Bin, Txt;
  WriteComponentRes(&Bin, Form);
  Bin.SetPosition(0);
  ObjectBinaryToText(&Bin, &Txt);
  const std::string T(static_cast<const char*>(Txt.Memory()), size_t(Txt.Size()));
  const size_t ListAt = T.find("object ActionList1: TActionList"), ActionAt = T.find("object Open: TAction");
  ASSERT_NE(ListAt, std::string::npos) << T;
  ASSERT_NE(ActionAt, std::string::npos) << T;
  EXPECT_LT(ListAt, ActionAt);
  EXPECT_EQ(T.find("end", ListAt) > ActionAt, true) << "the action is inside the list\n" << T;
  EXPECT_NE(T.find("ImageIndex = 2"), std::string::npos) << T;

  TForm* Copy = TCustomForm::CreateNew<TForm>(nullptr);
  Bin.SetPosition(0);
  ReadComponentRes(&Bin, Copy);
  auto* L = dynamic_cast<TActionList*>(Copy->FindComponent("ActionList1"));
  auto* O = dynamic_cast<TAction*>(Copy->FindComponent("Open"));
  ASSERT_TRUE(L && O);
  EXPECT_EQ(O->ActionList(), L);
  ASSERT_EQ(L->ActionCount(), 1);
  EXPECT_EQ(O->ImageIndex(), 2);
  EXPECT_EQ(O->Owner(), Copy);
  TObject::Free(Copy);
  TObject::Free(Form);
}

}  // namespace
