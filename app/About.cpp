#include "app/About.h"

TAboutForm* AboutForm = nullptr;

void TAboutForm::FormShow(TObject*) { AboutForm->SetModalResult(mrNone); }

void TAboutForm::BitBtn1Click(TObject*) {
  AboutForm->SetModalResult(mrOk);
  AboutForm->Close();
}

// The link label opens its address after this handler has hidden the dialog.
void TAboutForm::qcURLLabel1Click(TObject* Sender) { BitBtn1Click(Sender); }

static constinit const TPublishedField TAboutForm_Fields[] = {
    PublishedField<&TAboutForm::Label1>("Label1"),
    PublishedField<&TAboutForm::Label4>("Label4"),
    PublishedField<&TAboutForm::Version>("Version"),
    PublishedField<&TAboutForm::qcURLLabel1>("qcURLLabel1"),
    PublishedField<&TAboutForm::Image3>("Image3"),
    PublishedField<&TAboutForm::BitBtn1>("BitBtn1"),
};
static constinit const TPublishedMethod TAboutForm_Methods[] = {
    PublishedMethod<&TAboutForm::FormShow>("FormShow"),
    PublishedMethod<&TAboutForm::BitBtn1Click>("BitBtn1Click"),
    PublishedMethod<&TAboutForm::qcURLLabel1Click>("qcURLLabel1Click"),
};
ORV_IMPLEMENT_FORM(TAboutForm, TgrdGradientForm, nullptr, TAboutForm_Fields, TAboutForm_Methods)
