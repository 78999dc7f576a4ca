// The media dialogs, driven for real from inside their modal loops: files are selected in the
// shell list view, folders changed and files chosen through the name box, and the preview's
// labels, states, temporary copies and paint-panel pixels are read back. TMP points at a folder
// of the test's own, so every copy the preview makes is seen.
#include "package/BMMediaDialogs.h"
#include "package/TcsCheckBox.h"
#include "package/tests/pkgtest.h"
#include "rtl/tests/default_check.h"
#include "vcl/Buttons.h"
#include "vcl/StdCtrls.h"
#include "vcl/tests/dialogtest.h"
#include "vcl/tests/mediafixtures.h"

namespace {

using namespace dialogtest;
namespace mf = mediafixtures;

std::string Str(const AnsiString& S) { return S.c_str(); }
bool Has(const std::vector<std::string>& V, const std::string& S) { return std::find(V.begin(), V.end(), S) != V.end(); }

// The fixtures, and the temporary folder the preview copies into.
struct TMediaFolders {
  TTempFolder Files{"orvmd"};
  TTempFolder Tmp{"orvmdtmp"};
  std::string SavedTmp;
  TMediaFolders() {
    Files.Write("clip.avi", mf::Avi());
    Files.Write("tone.wav", mf::Wave());
    Files.Write("note.mid", mf::Midi());
    Files.Write("junk.wav", mf::Garbage());
    Files.Write("readme.txt", "not media");
    Files.MakeFolder("sub");
    Files.Write("sub\\other.wav", mf::Wave(200));
    char Buf[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", Buf, sizeof Buf);
    SavedTmp = Buf;
    SetEnvironmentVariableA("TMP", Tmp.Path().c_str());
  }
  ~TMediaFolders() { SetEnvironmentVariableA("TMP", SavedTmp.empty() ? nullptr : SavedTmp.c_str()); }
  TMediaFolders(const TMediaFolders&) = delete;
  TMediaFolders& operator=(const TMediaFolders&) = delete;
};

class MediaDialog : public testing::Test {
protected:
  void SetUp() override { ASSERT_SOUND_DEVICE(); }
  TMediaFolders F;

  // Steps that wait for the preview of Name (a file of the fixtures' folder) to be up.
  static bool Previewed(TBMMediaDialogImpl* Impl, const std::string& Path) {
    return Str(Impl->LastFileName()) == Path && Impl->PictureLabel()->Enabled();
  }
  static std::string Label(TBMMediaDialogImpl* Impl) { return Str(Impl->PictureLabel()->Caption()); }
  static TColor PaintPixel(TBMMediaDialogImpl* Impl, int X, int Y) {
    return vcltest::PixelAt(Impl->PaintPanel()->Handle(), X, Y);
  }
  static bool IsFrameColour(TColor C) { return pkgtest::Near(C, 0x0000FF, 8) || pkgtest::Near(C, 0x00FF00, 8); }
};

// The whole dialog window as it is on the screen.
std::unique_ptr<TBitmap> CaptureWindow(HWND Wnd) {
  RECT R;
  GetWindowRect(Wnd, &R);
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(R.right - R.left, R.bottom - R.top);
  HDC Screen = GetDC(nullptr);
  BitBlt(B->Canvas()->Handle(), 0, 0, R.right - R.left, R.bottom - R.top, Screen, R.left, R.top, SRCCOPY);
  ReleaseDC(nullptr, Screen);
  return B;
}

void SaveShot(TBitmap* Shot, const char* Name) {
  const std::string Dir = pkgtest::WinePath(ORVALEN_SHOTS);
  const std::string Part = Dir + "\\" + Name + "-" + std::to_string(GetCurrentProcessId()) + ".part";
  Shot->SaveToFile(Part.c_str());
  ASSERT_TRUE(MoveFileExA(Part.c_str(), (Dir + "\\" + Name + ".bmp").c_str(), MOVEFILE_REPLACE_EXISTING));
}

TEST(MediaDialogDefaults, PublishedDefaultsAndFilter) {
  // Freed both ways: the teardown of Free, and a plain destructor.
  TObject::Free(TComponent::Create<TBMOpenMediaDialog>(nullptr));
  TObject::Free(TComponent::Create<TBMSaveMediaDialog>(nullptr));
  TBMOpenMediaDialog D(nullptr);
  TBMSaveMediaDialog S(nullptr);
  EXPECT_TRUE(D.AutoShow() && D.Loop() && S.AutoShow() && S.Loop());
  EXPECT_TRUE(S.HasOption(ofShareAware));
  EXPECT_TRUE(D.HasOption(ofShareAware));
  EXPECT_TRUE(D.HasOption(ofHideReadOnly));
  EXPECT_EQ(Str(D.Filter()),
            "All media (*.wav;*.mid;*.avi)|*.wav;*.mid;*.avi|Wave File (*.wav)|*.wav|MIDI File (*.mid)|*.mid|"
            "Video (*.avi)|*.avi|All files (*.*)|*.*");
  EXPECT_EQ(D.Impl()->Owner(), &D);
  EXPECT_THROW(TBMMediaDialogImpl(nullptr), EInvalidOperation);
  D.SetLoop(false);
  EXPECT_FALSE(D.Impl()->LoopCheckBox()->Checked());
  D.SetAutoShow(false);
  EXPECT_FALSE(D.AutoShow());
  EXPECT_FALSE(D.Impl()->LoopCheckBox()->Enabled());
}

// The child dialog template as compiled into the module: one placeholder, a static control
// given by its class ordinal, a hidden child of the group.
TEST(MediaDialogTemplate, ThePlaceholderIsAnOrdinalStaticChild) {
  HMODULE M = GetModuleHandleA(nullptr);
  HRSRC R = FindResourceA(M, "DLGTEMPLATE", MAKEINTRESOURCEA(5));  // RT_DIALOG
  ASSERT_NE(R, nullptr);
  const auto* Data = static_cast<const BYTE*>(LockResource(LoadResource(M, R)));
  const DWORD Size = SizeofResource(M, R);
  ASSERT_NE(Data, nullptr);
  size_t At = 0;
  auto Word = [&]() -> WORD {
    EXPECT_LE(At + 2, Size);
    if (At + 2 > Size) return 0;
    WORD W;
    std::memcpy(&W, Data + At, 2);
    At += 2;
    return W;
  };
  auto Dword = [&]() -> DWORD { const DWORD Lo = Word(); return Lo | DWORD(Word()) << 16; };
  auto SkipText = [&]() { while (At < Size && Word() != 0) {} };
  // An item that is 0xFFFF and an ordinal, or a text.
  auto OrdinalOrText = [&](WORD& Ordinal) {
    Ordinal = 0;
    const size_t Start = At;
    if (Word() == 0xFFFF) {
      Ordinal = Word();
      return true;
    }
    At = Start;
    SkipText();
    return false;
  };
  const DWORD Style = Dword();
  EXPECT_TRUE(Style & DS_CONTROL);
  Dword();  // extended style
  ASSERT_EQ(Word(), 1) << "items";
  for (int I = 0; I < 4; ++I) Word();  // x, y, cx, cy
  WORD Ordinal;
  OrdinalOrText(Ordinal);  // menu
  OrdinalOrText(Ordinal);  // class
  SkipText();              // title
  if (Style & DS_SETFONT) {
    Word();  // point size
    SkipText();
  }
  At = (At + 3) & ~size_t(3);
  EXPECT_EQ(Dword(), DWORD(WS_CHILD | WS_GROUP)) << "item style";
  Dword();
  for (int I = 0; I < 4; ++I) Word();
  EXPECT_EQ(Word(), 0x045F) << "item id";
  EXPECT_TRUE(OrdinalOrText(Ordinal)) << "class as text";
  EXPECT_EQ(Ordinal, 0x0082);
}

TEST(MediaDialogTempNames, TakenNamesKeepTheirFilesAndAMissingFolderGivesNone) {
  TMediaFolders F;
  F.Tmp.Write("BMMD0.wav", "keep 0");
  F.Tmp.Write("BMMD1.wav", "keep 1");
  const std::string Name = Str(TBMMediaDialogImpl::NewTempName(".wav"));
  EXPECT_EQ(Name, F.Tmp / "BMMD2.wav");
  EXPECT_EQ(mf::ReadBytes(F.Tmp / "BMMD0.wav"), "keep 0");
  EXPECT_EQ(mf::ReadBytes(F.Tmp / "BMMD1.wav"), "keep 1");
  EXPECT_EQ(mf::ReadBytes(Name), "");  // made empty, to be overwritten by the copy
  EXPECT_EQ(Str(TBMMediaDialogImpl::NewTempName(".avi")), F.Tmp / "BMMD0.avi");
  // A folder that does not exist fails at once (no search for a free name).
  SetEnvironmentVariableA("TMP", (F.Tmp / "gone\\deeper").c_str());
  const DWORD Start = GetTickCount();
  EXPECT_EQ(Str(TBMMediaDialogImpl::NewTempName(".wav")), "");
  EXPECT_LT(GetTickCount() - Start, 2000u);
}

TEST_F(MediaDialog, PreviewsVideoSoundAndGarbageAndCleansUpOnAFolderChange) {
  std::unique_ptr<TBMOpenMediaDialog> D(new TBMOpenMediaDialog(nullptr));
  TBMMediaDialogImpl* I = D->Impl();
  D->SetInitialDir(F.Files.Path().c_str());
  TDriver Drive(20000);
  Drive
      .Then("preview area beside the system's controls",
            [&](HWND Dlg) {
              if (!D->Handle() || !FileList(Dlg) || !I->PicturePanel()->HandleAllocated()) return false;
              HWND Panel = I->PicturePanel()->Handle();
              EXPECT_EQ(GetParent(Panel), D->Handle());
              EXPECT_TRUE(IsWindowVisible(Panel));
              RECT Client;
              GetClientRect(D->Handle(), &Client);
              EXPECT_EQ(I->PicturePanel()->BoundsRect(),
                        Rect(D->GetStaticRect().Right, Client.top + 4, Client.right, Client.bottom));
              // On the screen: right of the file list, inside the dialog.
              RECT List, Pic, Whole;
              GetWindowRect(FileList(Dlg), &List);
              GetWindowRect(Panel, &Pic);
              GetWindowRect(Dlg, &Whole);
              EXPECT_GE(Pic.left, List.right);
              EXPECT_LE(Pic.right, Whole.right);
              EXPECT_GT(Pic.right - Pic.left, 100);
              // The preview button sits at the paint panel's right.
              EXPECT_EQ(I->PreviewButton()->Left(),
                        I->PaintPanel()->Left() + I->PaintPanel()->Width() - I->PreviewButton()->Width() - 2);
              EXPECT_FALSE(I->PreviewButton()->Enabled());
              return SelectItem(FileList(Dlg), "clip.avi");
            })
      .Then("video previewed",
            [&](HWND) {
              if (!Previewed(I, F.Files / "clip.avi")) return false;
              EXPECT_EQ(Label(I), "Movie : 64 : 48");
              EXPECT_TRUE(I->PreviewButton()->Enabled());
              EXPECT_FALSE(I->SoundImage()->Visible());
              // The copy in TMP plays; it holds the file's bytes.
              EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{"BMMD0.avi"});
              EXPECT_EQ(Str(I->TempFileName()), F.Tmp / "BMMD0.avi");
              EXPECT_EQ(Str(I->MediaPlayer()->FileName()), F.Tmp / "BMMD0.avi");
              EXPECT_EQ(mf::ReadBytes(F.Tmp / "BMMD0.avi"), mf::Avi());
              // Fitted into the paint panel less 6 pixels a side at its aspect, anchored at (6, 6).
              const int Fw = I->PaintPanel()->Width() - 18, Fh = I->PaintPanel()->Height() - 18;
              TRect Want = Rect(6, 6, 6 + Fw, 6 + Fh);
              if (Fh * 64 < Fw * 48) Want.Right = 6 + Fh * 64 / 48;
              else Want.Bottom = 6 + Fw * 48 / 64;
              EXPECT_EQ(I->FrameRect(), Want);
              EXPECT_EQ(I->MediaPlayer()->DisplayRect(), Want);
              return true;
            })
      .Then("video frames in the fitted rectangle",
            [&](HWND Dlg) {
              const TRect R = I->FrameRect();
              const int Cx = (R.Left + R.Right) / 2, Cy = (R.Top + R.Bottom) / 2;
              if (!IsFrameColour(PaintPixel(I, Cx, Cy))) return false;
              EXPECT_TRUE(IsFrameColour(PaintPixel(I, R.Left + 1, R.Top + 1)));
              EXPECT_TRUE(IsFrameColour(PaintPixel(I, R.Right - 2, R.Bottom - 2)));
              // Below the fitted rectangle (the video is wider than the panel's room is tall).
              if (R.Bottom + 3 < I->PaintPanel()->Height() - 3) {
                EXPECT_FALSE(IsFrameColour(PaintPixel(I, Cx, R.Bottom + 2)));
              }
              auto Shot = CaptureWindow(Dlg);
              EXPECT_GT(pkgtest::Count(Shot.get(), Rect(0, 0, Shot->Width(), Shot->Height()), 0x0000FF, 8) +
                            pkgtest::Count(Shot.get(), Rect(0, 0, Shot->Width(), Shot->Height()), 0x00FF00, 8),
                        500);
              SaveShot(Shot.get(), "media-dialog");
              return SelectItem(FileList(Dlg), "tone.wav");
            })
      .Then("wave previewed",
            [&](HWND Dlg) {
              if (!Previewed(I, F.Files / "tone.wav")) return false;
              EXPECT_EQ(Label(I), "Sound");
              EXPECT_FALSE(I->PreviewButton()->Enabled());
              EXPECT_TRUE(I->SoundImage()->Visible());
              EXPECT_EQ(I->SoundImage()->Left(), (I->PaintPanel()->Width() - 32) / 2);
              EXPECT_EQ(I->SoundImage()->Top(), (I->PaintPanel()->Height() - 32) / 2);
              // The loudspeaker's black outline is painted in the middle.
              auto Paint = vcltest::CaptureClient(I->PaintPanel()->Handle());
              EXPECT_GT(pkgtest::Count(Paint.get(), I->SoundImage()->BoundsRect(), clBlack), 20);
              // The video's copy went; the wave's took the first free name.
              EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{"BMMD0.wav"});
              return SelectItem(FileList(Dlg), "note.mid");
            })
      .Then("MIDI previewed",
            [&](HWND Dlg) {
              if (!Previewed(I, F.Files / "note.mid")) return false;
              EXPECT_EQ(Label(I), "Sound");
              EXPECT_TRUE(I->SoundImage()->Visible());
              EXPECT_FALSE(I->PreviewButton()->Enabled());
              return SelectItem(FileList(Dlg), "junk.wav");
            })
      .Then("garbage shows nothing",
            [&](HWND Dlg) {
              if (!Previewed(I, F.Files / "junk.wav")) return false;
              EXPECT_EQ(Label(I), "");
              EXPECT_FALSE(I->SoundImage()->Visible());
              EXPECT_FALSE(I->PreviewButton()->Enabled());
              EXPECT_EQ(I->MediaPlayer()->DeviceID(), 0u);
              ChooseName(Dlg, "sub");
              return true;
            })
      .Then("folder change closes and deletes",
            [&](HWND Dlg) {
              if (!Has(ListItems(FileList(Dlg)), "other.wav")) return false;
              EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{});
              EXPECT_EQ(I->MediaPlayer()->DeviceID(), 0u);
              EXPECT_EQ(Str(I->TempFileName()), "");
              EXPECT_EQ(Str(I->LastFileName()), "");
              EXPECT_EQ(Label(I), "");
              return SelectItem(FileList(Dlg), "other.wav");
            })
      .Then("previewed in the new folder, then cancelled",
            [&](HWND Dlg) {
              if (!Previewed(I, F.Files / "sub\\other.wav")) return false;
              EXPECT_EQ(F.Tmp.Names().size(), 1u);
              Cancel(Dlg);
              return true;
            });
  EXPECT_FALSE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{});
  EXPECT_EQ(I->MediaPlayer()->DeviceID(), 0u);
  EXPECT_FALSE(I->PicturePanel()->HandleAllocated());
}

TEST_F(MediaDialog, QuickSelectionsOpenOnlyTheLastAndTheSameFileResumes) {
  std::unique_ptr<TBMOpenMediaDialog> D(new TBMOpenMediaDialog(nullptr));
  TBMMediaDialogImpl* I = D->Impl();
  D->SetInitialDir(F.Files.Path().c_str());
  DWORD LastSelection = 0;
  unsigned Device = 0;
  TMPModes ModeBefore = mpNotReady;
  TDriver Drive(20000);
  Drive.Then("first", [&](HWND Dlg) { return FileList(Dlg) && I->PicturePanel()->HandleAllocated() && SelectItem(FileList(Dlg), "tone.wav"); })
      .Then("second", [&](HWND Dlg) { return SelectItem(FileList(Dlg), "note.mid"); })
      .Then("third",
            [&](HWND Dlg) {
              LastSelection = GetTickCount();
              return SelectItem(FileList(Dlg), "clip.avi");
            })
      .Then("nothing opened before its time",
            [&](HWND) {
              if (GetTickCount() - LastSelection < 1000) return false;
              EXPECT_EQ(Str(I->LastFileName()), "");
              EXPECT_EQ(I->MediaPlayer()->DeviceID(), 0u);
              EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{});
              return true;
            })
      .Then("the last one opened, once",
            [&](HWND) {
              if (!Previewed(I, F.Files / "clip.avi")) return false;
              EXPECT_GE(GetTickCount() - LastSelection, 1400u);
              EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{"BMMD0.avi"});
              Device = I->MediaPlayer()->DeviceID();
              EXPECT_NE(Device, 0u);
              return I->MediaPlayer()->Mode() == mpPlaying;
            })
      .Then("the same file again",
            [&](HWND Dlg) {
              ModeBefore = I->MediaPlayer()->Mode();
              EXPECT_TRUE(SelectItem(FileList(Dlg), "clip.avi"));
              // A playing preview pauses at once.
              if (ModeBefore == mpPlaying) {
                EXPECT_EQ(I->MediaPlayer()->Mode(), mpPaused);
              }
              EXPECT_FALSE(I->PreviewButton()->Enabled());
              return true;
            })
      .Then("resumed, not reopened",
            [&](HWND Dlg) {
              if (!I->PictureLabel()->Enabled()) return false;
              EXPECT_EQ(I->MediaPlayer()->DeviceID(), Device);
              EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{"BMMD0.avi"});
              EXPECT_NE(I->MediaPlayer()->Mode(), mpPaused);
              EXPECT_TRUE(I->PreviewButton()->Enabled());
              ChooseName(Dlg, "clip.avi");
              return true;
            });
  ASSERT_TRUE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  EXPECT_EQ(Str(D->FileName()), F.Files / "clip.avi");
  // No copy outlives OK.
  EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{});
}

// A device that starts failing is closed by the media timer, and the preview forgets it: no
// button to press, no label, and choosing the file again opens it anew.
TEST_F(MediaDialog, ADeviceClosedBehindThePlayerResetsThePreview) {
  std::unique_ptr<TBMOpenMediaDialog> D(new TBMOpenMediaDialog(nullptr));
  TBMMediaDialogImpl* I = D->Impl();
  D->SetInitialDir(F.Files.Path().c_str());
  TDriver Drive(20000);
  Drive.Then("video", [&](HWND Dlg) { return FileList(Dlg) && I->PicturePanel()->HandleAllocated() && SelectItem(FileList(Dlg), "clip.avi"); })
      .Then("previewed, then closed behind the player",
            [&](HWND) {
              if (!Previewed(I, F.Files / "clip.avi") || !I->PreviewButton()->Enabled()) return false;
              MCI_GENERIC_PARMS Parms = {};
              EXPECT_EQ(mciSendCommandA(I->MediaPlayer()->DeviceID(), MCI_CLOSE, MCI_WAIT, DWORD_PTR(&Parms)), 0u);
              return true;
            })
      .Then("the timer's tick resets the preview",
            [&](HWND Dlg) {
              if (I->MediaPlayer()->DeviceID() != 0) return false;
              EXPECT_FALSE(I->PreviewButton()->Enabled());
              EXPECT_EQ(Label(I), "");
              EXPECT_FALSE(I->SoundImage()->Visible());
              EXPECT_EQ(Str(I->LastFileName()), "");
              EXPECT_EQ(Str(I->TempFileName()), "");
              EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{});
              return SelectItem(FileList(Dlg), "clip.avi");
            })
      .Then("the same file opens again",
            [&](HWND Dlg) {
              if (!Previewed(I, F.Files / "clip.avi")) return false;
              EXPECT_NE(I->MediaPlayer()->DeviceID(), 0u);
              EXPECT_TRUE(I->PreviewButton()->Enabled());
              EXPECT_EQ(Label(I), "Movie : 64 : 48");
              Cancel(Dlg);
              return true;
            });
  EXPECT_FALSE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{});
}

TEST_F(MediaDialog, ShowPreviewAndLoopDecideWhatPlays) {
  std::unique_ptr<TBMOpenMediaDialog> D(new TBMOpenMediaDialog(nullptr));
  TBMMediaDialogImpl* I = D->Impl();
  D->SetInitialDir(F.Files.Path().c_str());
  TMediaPlayer* P = I->MediaPlayer();
  DWORD Since = 0;
  int Highest = 0;
  TDriver Drive(20000);
  Drive
      .Then("uncheck show",
            [&](HWND Dlg) {
              if (!FileList(Dlg) || !I->ShowCheckBox()->HandleAllocated()) return false;
              PostMessageA(I->ShowCheckBox()->Handle(), BM_CLICK, 0, 0);
              return true;
            })
      .Then("loop disabled",
            [&](HWND Dlg) {
              if (I->ShowCheckBox()->Checked()) return false;
              EXPECT_FALSE(IsWindowEnabled(I->LoopCheckBox()->Handle()));
              return SelectItem(FileList(Dlg), "clip.avi");
            })
      .Then("opened, not played",
            [&](HWND) {
              if (!Previewed(I, F.Files / "clip.avi")) return false;
              if (Since == 0) Since = GetTickCount();
              EXPECT_NE(P->Mode(), mpPlaying);
              return GetTickCount() - Since > 300;
            })
      .Then("check show: it plays, loop enabled",
            [&](HWND) {
              EXPECT_EQ(P->Mode(), mpStopped);
              EXPECT_EQ(P->Position(), 0);
              PostMessageA(I->ShowCheckBox()->Handle(), BM_CLICK, 0, 0);
              return true;
            })
      .Then("playing",
            [&](HWND) {
              if (!I->ShowCheckBox()->Checked()) return false;
              EXPECT_TRUE(IsWindowEnabled(I->LoopCheckBox()->Handle()));
              EXPECT_EQ(P->Mode(), mpPlaying);
              return true;
            })
      .Then("loops at its end",
            [&](HWND) {
              // Reaching the end and then playing from the start again.
              const int Pos = P->Position();
              Highest = std::max(Highest, Pos);
              return Highest >= 800 && Pos < 500 && P->Mode() == mpPlaying;
            })
      .Then("loop off",
            [&](HWND) {
              PostMessageA(I->LoopCheckBox()->Handle(), BM_CLICK, 0, 0);
              Since = 0;
              return true;
            })
      .Then("stays stopped at its end",
            [&](HWND) {
              if (I->LoopCheckBox()->Checked() || P->Mode() != mpStopped) return false;
              if (Since == 0) Since = GetTickCount();
              EXPECT_EQ(P->Mode(), mpStopped);
              return GetTickCount() - Since > 500;
            })
      .Then("cancel", [&](HWND Dlg) {
        Cancel(Dlg);
        return true;
      });
  EXPECT_FALSE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{});
}

TEST_F(MediaDialog, PreviewWindowShowsTheVideoAndEscapeClosesIt) {
  std::unique_ptr<TBMOpenMediaDialog> D(new TBMOpenMediaDialog(nullptr));
  TBMMediaDialogImpl* I = D->Impl();
  D->SetInitialDir(F.Files.Path().c_str());
  TMediaPlayer* P = I->MediaPlayer();
  TDriver Drive(20000);
  Drive.Then("select", [&](HWND Dlg) { return FileList(Dlg) && I->PicturePanel()->HandleAllocated() && SelectItem(FileList(Dlg), "clip.avi"); })
      .Then("press the preview button",
            [&](HWND) {
              if (!Previewed(I, F.Files / "clip.avi")) return false;
              const TRect B = I->PreviewButton()->BoundsRect();
              const LPARAM At = MAKELPARAM((B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2);
              PostMessageA(I->PicturePanel()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
              PostMessageA(I->PicturePanel()->Handle(), WM_LBUTTONUP, 0, At);
              return true;
            })
      .Then("preview window",
            [&](HWND) {
              TForm* Form = I->PreviewForm();
              if (!Form || !Form->HandleAllocated() || !IsWindowVisible(Form->Handle())) return false;
              EXPECT_EQ(Str(Form->Name()), "PreviewForm");
              EXPECT_EQ(Str(Form->Caption()), "Preview");
              EXPECT_EQ(Form->BorderStyle(), bsSizeToolWin);
              EXPECT_TRUE(GetWindowLongPtrA(Form->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
              // The video's size and 4, unless the system keeps the window wider.
              if (Form->ClientWidth() != 64 + 4) {
                EXPECT_GT(Form->ClientWidth(), 64 + 4);
                EXPECT_EQ(Form->Width(), GetSystemMetrics(SM_CXMINTRACK));
              }
              EXPECT_EQ(Form->ClientHeight(), 48 + P->Height() + 4);
              // The player's bar sits at the bottom, without Record and Eject.
              EXPECT_EQ(P->Parent(), Form);
              EXPECT_TRUE(P->Visible());
              EXPECT_EQ(P->Align(), alBottom);
              EXPECT_EQ(P->ButtonRect(btRecord), Rect(0, 0, 0, 0));
              EXPECT_EQ(P->ButtonRect(btEject), Rect(0, 0, 0, 0));
              EXPECT_GT(P->ButtonRect(btBack).Width(), 0);
              auto* Panel = dynamic_cast<TPanel*>(Form->FindComponent("Panel"));
              EXPECT_NE(Panel, nullptr);
              EXPECT_EQ(P->Display(), Panel);
              EXPECT_EQ(P->Mode(), mpStopped);
              EXPECT_EQ(P->Position(), 0);
              vcltest::SendInputs({vcltest::KeyInput(VK_ESCAPE, true), vcltest::KeyInput(VK_ESCAPE, false)});
              return true;
            })
      .Then("closed by Escape",
            [&](HWND Dlg) {
              // Back in the paint panel, the media timer puts the fitted rectangle back.
              if (I->PreviewForm() || P->DisplayRect() != I->FrameRect()) return false;
              EXPECT_EQ(P->Parent(), nullptr);
              EXPECT_EQ(P->ParentWindow(), D->Handle());
              EXPECT_EQ(P->Display(), I->PaintPanel());
              Cancel(Dlg);
              return true;
            });
  EXPECT_FALSE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  EXPECT_EQ(F.Tmp.Names(), std::vector<std::string>{});
}

TEST_F(MediaDialog, SaveDialogPreviewsTheFileItselfWithoutATemporaryFolder) {
  std::unique_ptr<TBMSaveMediaDialog> D(new TBMSaveMediaDialog(nullptr));
  TBMMediaDialogImpl* I = D->Impl();
  D->SetInitialDir(F.Files.Path().c_str());
  SetEnvironmentVariableA("TMP", (F.Tmp / "gone").c_str());
  TDriver Drive(20000);
  Drive.Then("select", [&](HWND Dlg) { return FileList(Dlg) && I->PicturePanel()->HandleAllocated() && SelectItem(FileList(Dlg), "tone.wav"); })
      .Then("previewed from the file itself",
            [&](HWND Dlg) {
              if (!Previewed(I, F.Files / "tone.wav")) return false;
              EXPECT_EQ(Label(I), "Sound");
              EXPECT_EQ(Str(I->TempFileName()), "");
              EXPECT_EQ(Str(I->MediaPlayer()->FileName()), F.Files / "tone.wav");
              char Ok[32] = {};
              GetDlgItemTextA(Dlg, IDOK, Ok, sizeof Ok);
              EXPECT_STREQ(Ok, "&Save");
              ChooseName(Dlg, "new.wav");
              return true;
            });
  ASSERT_TRUE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  EXPECT_EQ(Str(D->FileName()), F.Files / "new.wav");
  // The selected file is untouched.
  EXPECT_EQ(mf::ReadBytes(F.Files / "tone.wav"), mf::Wave());
}

TEST_F(MediaDialog, OldStyleDialogHasNoPreview) {
  std::unique_ptr<TBMOpenMediaDialog> D(new TBMOpenMediaDialog(nullptr));
  TBMMediaDialogImpl* I = D->Impl();
  D->SetInitialDir(F.Files.Path().c_str());
  D->SetOptions(D->Options() | (1u << ofOldStyleDialog));
  TDriver Drive;
  Drive.Then("shown without the preview", [&](HWND Dlg) {
    if (!D->Handle()) return false;
    EXPECT_EQ(Str(D->Template()), "");
    EXPECT_FALSE(I->PicturePanel()->HandleAllocated());
    EXPECT_EQ(I->PicturePanel()->ParentWindow(), nullptr);
    Cancel(Dlg);
    return true;
  });
  EXPECT_FALSE(D->Execute());
  EXPECT_TRUE(Drive.Finished());
  D->SetOptions(D->Options() & ~(1u << ofOldStyleDialog));
  I->ExecuteEnter();
  EXPECT_EQ(Str(D->Template()), "DLGTEMPLATE");
}

}  // namespace
