#include "app/Unit1.h"
#include "app/About.h"

TForm1* Form1 = nullptr;

void TForm1::Button1Click(TObject*) {
  Form1->EPCTagID->SetText(Form1->FConverter.HexToEpc(Form1->HexTagID->Text()));
}

void TForm1::Button2Click(TObject*) {
  Form1->HexTagID->SetText(Form1->FConverter.EpcToHex(Form1->EPCTagID->Text()));
}

void TForm1::Exit1Click(TObject*) { Form1->Close(); }

void TForm1::About2Click(TObject*) { AboutForm->Show(); }

static constinit const TPublishedField TForm1_Fields[] = {
    PublishedField<&TForm1::Label1>("Label1"),
    PublishedField<&TForm1::Label2>("Label2"),
    PublishedField<&TForm1::Button1>("Button1"),
    PublishedField<&TForm1::Button2>("Button2"),
    PublishedField<&TForm1::HexTagID>("HexTagID"),
    PublishedField<&TForm1::EPCTagID>("EPCTagID"),
    PublishedField<&TForm1::qBackground1>("qBackground1"),
    PublishedField<&TForm1::GTIN64RB>("GTIN64RB"),
    PublishedField<&TForm1::GTIN96RB>("GTIN96RB"),
    PublishedField<&TForm1::MainMenu1>("MainMenu1"),
    PublishedField<&TForm1::File1>("File1"),
    PublishedField<&TForm1::Exit1>("Exit1"),
    PublishedField<&TForm1::About1>("About1"),
    PublishedField<&TForm1::About2>("About2"),
};
static constinit const TPublishedMethod TForm1_Methods[] = {
    PublishedMethod<&TForm1::Button1Click>("Button1Click"),
    PublishedMethod<&TForm1::Button2Click>("Button2Click"),
    PublishedMethod<&TForm1::Exit1Click>("Exit1Click"),
    PublishedMethod<&TForm1::About2Click>("About2Click"),
};
ORV_IMPLEMENT_FORM(TForm1, TForm, nullptr, TForm1_Fields, TForm1_Methods)
