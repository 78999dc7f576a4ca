#include "app/About.h"

TAboutForm* AboutForm = nullptr;

ORV_IMPLEMENT_FORM(TAboutForm, TForm, nullptr, nullptr, nullptr)
