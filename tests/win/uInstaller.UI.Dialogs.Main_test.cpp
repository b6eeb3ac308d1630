#include "uInstaller.UI.Dialogs.Main.h"

#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "DRX.Classes.Thread.h"
#include "DRX.UI.Application.h"
#include "DRX.UI.Dialogs.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Controls.Memo.h"
#include "DRX.UI.Controls.ProgressBar.h"
#include "AccessibleTree.h"
#include "TestDialogs.h"
#include "TestInstaller.h"
#include "uInstaller.Core.Summary.h"
#include "TestSupport.h"
#include "uInstaller.UI.Controls.h"
#include "uInstaller.UI.Palette.h"

namespace {

// ---- The run's actions ----

std::atomic<int> gActionsRun{0};
std::atomic<HWND> gFormWindow{nullptr};

class TStepAction : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TStepAction";
  void Execute() override {
    SetStatus(u"Working");
    for (int i = 1; i <= 4; ++i) SetProgress(i * 25);
    ++gActionsRun;
  }
};

// Describes the destination on the ready page.
class TSummaryAction : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TSummaryAction";
  void Execute() override {}
  void BuildSummary(TInstallerSummaryBuilder& builder) override {
    builder.BeginSection(u"Folder:");
    builder.AddItem(Installer->DestPath());
    builder.AddItem(u"PageFake", u"CB1");  // a box's caption
  }
};

class TFailingAction : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TFailingAction";
  void Execute() override { throw Exception(u"Disk full"); }
};

// Reports progress slowly; the first report also asks the wizard to close,
// so that the question comes while the progress page handles that report.
class TSlowAction : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TSlowAction";
  void Execute() override {
    for (int i = 1; i <= 40; ++i) {
      if (i == 1) PostMessageW(gFormWindow, WM_CLOSE, 0, 0);
      SetProgress(i * 2);
      Sleep(10);
    }
    ++gActionsRun;
  }
};

// A question page with nothing of its own.
class TFakeQuestionPage : public TInstallerPage {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageFake";
  UString ClassName() const override { return UString(kClassName); }
};

// A page that cannot be shown.
class TBrokenPage : public TInstallerPage {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageBroken";
  UString ClassName() const override { return UString(kClassName); }
  void Prepare() override { throw Exception(u"Cannot show the page"); }
};

// ---- Packages and texts ----

constexpr char kEnglish[] =
    "[File]\r\nName=English\r\nLangId=1033\r\nFamily=EN\r\n"
    "[Common]\r\nCaption=Test Setup\r\nbBack=< Back\r\nbNext=Next >\r\nbInstall=Install\r\nbUninstall=Uninstall\r\n"
    "bFinish=Finish\r\nlOk=OK\r\nlCancel=Cancel\r\nlBrowse=Pick a folder\r\nlNewFolder=Fresh folder\r\n"
    "QM=Cancel the setup?\r\nE4=Cancelled by user\r\nE5=Stopped unexpectedly\r\n"
    "[PageWelcome]\r\nTitle=Welcome\r\nL1=Welcome heading\r\nL2=Welcome body\r\n"
    "[PageLicense]\r\nTitle=Licence\r\nDescription=Read it\r\nL1=I accept\r\n"
    "[PageFake]\r\nTitle=A question\r\nDescription=Answer it\r\nCB1=Make a &backup && more\r\n"
    "[PageReadyToInstall]\r\nTitle=Ready\r\n"
    "[PageInstall]\r\nTitle=Installing\r\nDescription=Please wait\r\nL1=Preparing\r\n"
    "[PageFinish]\r\nL1=Done\r\nL2=Installed\r\nL3=Home page\r\nE1=Failed\r\nE2=Not complete\r\nCB1=Start the player\r\n";

constexpr char kLicenseRtf[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Terms of use. See www.ovix.example/terms for more.\\par}";

TTestEntries WizardEntries() {
  TTestEntries entries = WizardSetupEntries();
  entries[u"English.lng"] = kEnglish;
  entries[u"License.EN.rtf"] = kLicenseRtf;
  return entries;
}

// ---- Pixels ----

// The form as the screen would show it, painted into 32-bit pixels.
class TCapture {
 public:
  explicit TCapture(TDRXForm& form) : width_(form.ClientWidth()), height_(form.ClientHeight()) {
    BITMAPINFO info{};
    info.bmiHeader = Header();
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    form.PaintTree(dc_);
    GdiFlush();
  }
  ~TCapture() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TColor At(int x, int y) const {
    const uint32_t pixel = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return RGBColor(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel));
  }
  // For review: OVIX_WIZARD_CAPTURES names a folder that receives each capture as a BMP.
  void SaveForReview(const std::string& name) const {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("OVIX_WIZARD_CAPTURES", folder, MAX_PATH)) return;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    const BITMAPINFOHEADER header = Header();
    const DWORD bytes = static_cast<DWORD>(width_) * static_cast<DWORD>(height_) * 4;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + bytes;
    std::string data(reinterpret_cast<const char*>(&file), sizeof(file));
    data.append(reinterpret_cast<const char*>(&header), sizeof(header));
    data.append(reinterpret_cast<const char*>(bits_), bytes);
    WriteFileBytes(Utf8ToUtf16(std::string(folder) + "\\" + name + ".bmp"), data);
  }

 private:
  BITMAPINFOHEADER Header() const {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width_;
    header.biHeight = -height_;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return header;
  }

  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  uint32_t* bits_ = nullptr;
};

// ---- Running the wizard ----

// Delivers messages as the program's message loop does until the condition
// holds (false after the time limit).
bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs = 20000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > limitMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    CheckSynchronize();
  }
  return true;
}

// Answers the thread's next message box by the button of that caption and keeps its texts.
class TBoxAnswer {
 public:
  explicit TBoxAnswer(UStringView button)
      : driver_(u"#32770", [this, button = UString(button)](HWND box) {
          for (HWND child : ChildWindows(box, u"Static")) texts_ += WindowText(child);
          ClickButton(FindChildByText(box, u"Button", button));
        }) {}
  bool Answered() { return driver_.Finish(); }
  const UString& Texts() const { return texts_; }

 private:
  UString texts_;
  TWindowDriver driver_;
};

class Wizard : public ::testing::Test {
 protected:
  Wizard() { gActionsRun = 0; }
  ~Wizard() override {
    TDRXApplication::SetDarkModeReader(nullptr);
    TDRXApplication::UpdateDarkMode();
  }

  // The installer of a run with these parameters, in English.
  void MakeInstaller(const UString& params) {
    installer.reset();  // one installer at a time: it is the process's Installer
    installer = std::make_unique<TInstaller>(params, TestPackages(WizardEntries()));
    installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
  }
  UString AutoParams() const { return u"/AUTO=\"" + destination.Path() + u"\""; }

  std::unique_ptr<TInstallerForm> ShowForm() {
    auto form = std::make_unique<TInstallerForm>();
    form->Show();
    gFormWindow = form->Handle();
    return form;
  }

  TTestProductGuard guard;
  TTempFolder destination;
  std::unique_ptr<TInstaller> installer;
};

UString NextCaption(const TInstallerForm& form) { return form.bNext->Caption(); }

}  // namespace

TEST_F(Wizard, TheFormResourceGivesTheWindowAndItsButtons) {
  TTestProductInfo::ActionClasses = {ActionClass<TStepAction>()};
  MakeInstaller(u"");
  TInstallerForm form;
  EXPECT_EQ(form.ClientWidth(), 640);
  EXPECT_EQ(form.ClientHeight(), 480);
  EXPECT_EQ(form.BorderStyle(), bsSingle);
  EXPECT_EQ(form.BorderIcons(), biSystemMenu);
  EXPECT_EQ(form.Position(), poScreenCenter);
  EXPECT_EQ(form.Color(), clWhite);
  EXPECT_EQ(form.Font().Name, u"Segoe UI");
  EXPECT_EQ(form.Font().Height, -11);
  EXPECT_EQ(form.bBack->BoundsRect(), Bounds(384, 447, 121, 25));
  EXPECT_EQ(form.bNext->BoundsRect(), Bounds(511, 447, 121, 25));
  EXPECT_EQ(form.lbVerInfo->BoundsRect(), Bounds(12, 447, 257, 25));
  EXPECT_EQ(form.bNext->Anchors(), akRight | akBottom);
  EXPECT_EQ(form.lbVerInfo->Anchors(), akLeft | akBottom);
  EXPECT_LT(form.bBack->TabOrder(), form.bNext->TabOrder());
  EXPECT_TRUE(form.bNext->Default());
  EXPECT_EQ(form.Caption(), u"Test Setup");
  EXPECT_EQ(TDRXApplication::Title(), u"Test Setup") << "the caption of the application's reports";
  EXPECT_EQ(form.lbVerInfo->Font().Color, InstallerPalette().ColorVersionText);
  EXPECT_EQ(DialogsStrs().FolderBrowserTitle, u"Pick a folder") << "the process-wide dialog texts";
  EXPECT_EQ(DialogsStrs().NewFolder, u"Fresh folder");
  EXPECT_FALSE(form.lbVerInfo->Caption().empty()) << "the product's full version";
}

TEST_F(Wizard, AnUnattendedRunShowsTheProgressPageAndClosesByItself) {
  TTestProductInfo::ActionClasses = {ActionClass<TStepAction>()};
  TTestProductInfo::PageClasses = {PageClassOf<TFakeQuestionPage>()};
  MakeInstaller(AutoParams());
  auto form = ShowForm();
  ASSERT_EQ(form->Pages().Count(), 2) << "no question pages with /AUTO";
  EXPECT_EQ(form->ActivePage()->ClassName(), u"TInstallerPageInstall");
  EXPECT_EQ(installer->State(), stRunning) << "started as soon as the page was shown";
  EXPECT_FALSE(form->bBack->Visible());
  EXPECT_FALSE(form->bNext->Enabled());
  EXPECT_EQ(NextCaption(*form), u"Next >");
  TCapture(*form).SaveForReview("install");
  ASSERT_TRUE(PumpUntil([&] { return !form->Visible(); }));
  EXPECT_EQ(installer->State(), stFinished);
  EXPECT_FALSE(installer->HasErrors());
  EXPECT_EQ(gActionsRun, 1);
  EXPECT_FALSE(form->Cancelled());
  auto* page = dynamic_cast<TInstallerPageInstall*>(form->Pages().First());
  EXPECT_EQ(page->GetProgress(), 100);
  EXPECT_EQ(page->TotalBar()->Caption(), u"Installing") << "what readers call the bars";
  EXPECT_EQ(page->ActionBar()->Caption(), page->StatusLabel()->Caption());
}

TEST_F(Wizard, TheFullSequenceWithQuestionPagesEndsOnTheFinishPage) {
  TTestProductInfo::ActionClasses = {ActionClass<TStepAction>()};
  TTestProductInfo::PageClasses = {PageClassOf<TInstallerPageWelcome>(), nullptr, PageClassOf<TInstallerPageLicense>(),
                                   PageClassOf<TInstallerPageReadyToInstall>()};
  MakeInstaller(u"");
  installer->SetDestPath(destination.Path());
  auto form = ShowForm();
  ASSERT_EQ(form->Pages().Count(), 5) << "a class without a constructor is skipped";
  EXPECT_EQ(form->ActivePage()->Name(), u"PageWelcome");
  EXPECT_FALSE(form->bBack->Visible());
  form->bNext->Click();

  auto* license = dynamic_cast<TInstallerPageLicense*>(form->ActivePage());
  ASSERT_NE(license, nullptr);
  EXPECT_FALSE(form->bBack->Visible()) << "the licence page refuses to go back";
  EXPECT_FALSE(form->bNext->Enabled());
  TCapture(*form).SaveForReview("license");
  license->AcceptBox()->Click();
  EXPECT_TRUE(form->bNext->Enabled()) << "the box asked the form to refresh";
  EXPECT_EQ(NextCaption(*form), u"Next >");
  form->bNext->Click();

  EXPECT_EQ(form->ActivePage()->Name(), u"PageReadyToInstall");
  EXPECT_TRUE(form->bBack->Visible());
  EXPECT_EQ(NextCaption(*form), u"Install");
  TCapture(*form).SaveForReview("ready");
  form->bBack->Click();
  EXPECT_EQ(form->ActivePage(), license);
  EXPECT_TRUE(license->AcceptBox()->Checked()) << "kept through Back";
  form->bNext->Click();
  form->bNext->Click();

  EXPECT_EQ(form->ActivePage()->Name(), u"PageInstall");
  ASSERT_TRUE(PumpUntil([&] { return form->ActivePage()->Name() == u"PageFinish"; })) << "moved on by itself";
  EXPECT_EQ(NextCaption(*form), u"Finish");
  EXPECT_TRUE(form->bNext->Enabled());
  EXPECT_FALSE(form->bBack->Visible());
  EXPECT_NE(GetMenuState(GetSystemMenu(form->Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_DISABLED, 0u);
  auto* finish = dynamic_cast<TInstallerPageFinish*>(form->ActivePage());
  ASSERT_EQ(finish->ActionBoxes().size(), 1u);
  EXPECT_TRUE(finish->ActionBoxes()[0]->Visible());
  EXPECT_EQ(finish->ActionBoxes()[0]->Caption(), u"Start the player");
  EXPECT_FALSE(finish->ErrorMemo()->Visible());
  EXPECT_TRUE(installer->Settings().ReadBool(u"Actions", u"$DEST\\Ovix.exe", false)) << "saved when shown";
  TCapture(*form).SaveForReview("finish");

  form->bNext->Click();
  EXPECT_FALSE(form->Visible()) << "Finish closes without a question";
  EXPECT_FALSE(form->Cancelled());
}

TEST_F(Wizard, ClosingBeforeInstallingAsksAndCancelKeepsThePage) {
  TTestProductInfo::PageClasses = {PageClassOf<TInstallerPageWelcome>()};
  MakeInstaller(u"");
  auto form = ShowForm();
  {
    TBoxAnswer cancel(u"Cancel");
    form->Close();
    EXPECT_TRUE(cancel.Answered());
    EXPECT_NE(cancel.Texts().find(u"Cancel the setup?"), UString::npos);
  }
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->ActivePage()->Name(), u"PageWelcome");
  TBoxAnswer ok(u"OK");
  form->Close();
  EXPECT_TRUE(ok.Answered());
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(form->Cancelled());
  EXPECT_EQ(installer->State(), stIdle);
}

TEST_F(Wizard, AConfirmedCloseDuringTheProgressPagesReportStopsAfterTheAction) {
  TTestProductInfo::ActionClasses = {ActionClass<TSlowAction>(), ActionClass<TStepAction>()};
  MakeInstaller(AutoParams());
  TBoxAnswer ok(u"OK");
  auto form = ShowForm();
  ASSERT_TRUE(PumpUntil([&] { return !form->Visible(); })) << "no hang";
  EXPECT_TRUE(ok.Answered());
  EXPECT_TRUE(form->Cancelled());
  EXPECT_EQ(installer->State(), stFinished);
  EXPECT_EQ(gActionsRun, 1) << "the running action completed, the next did not start";
  EXPECT_EQ(ListStrings(installer->Errors()), std::vector<UString>{u"Cancelled by user"});
}

TEST_F(Wizard, TheFinishPageShowsTheErrorsInsteadOfTheBoxes) {
  TTestProductInfo::ActionClasses = {ActionClass<TFailingAction>()};
  MakeInstaller(AutoParams());
  auto form = ShowForm();
  ASSERT_TRUE(PumpUntil([&] { return form->ActivePage()->Name() == u"PageFinish"; }))
      << "an unattended run with errors stays open";
  auto* finish = dynamic_cast<TInstallerPageFinish*>(form->ActivePage());
  EXPECT_TRUE(finish->ErrorMemo()->Visible());
  EXPECT_NE(finish->ErrorMemo()->Text().find(u"Disk full"), UString::npos);
  EXPECT_FALSE(finish->ActionBoxes()[0]->Visible());
  const auto* heading = dynamic_cast<TDRXLabel*>(finish->FindComponent(u"L1"));
  EXPECT_EQ(heading->Caption(), u"Failed");
  EXPECT_EQ(heading->Font().Color, RGBColor(0xFF, 0, 0));
  EXPECT_EQ(dynamic_cast<TDRXLabel*>(finish->FindComponent(u"L2"))->Caption(), u"Not complete");
  EXPECT_TRUE(installer->Settings().ReadBool(u"Actions", u"$DEST\\Ovix.exe", false)) << "still written";
  TCapture(*form).SaveForReview("finish-errors");
  form->bNext->Click();
  EXPECT_FALSE(form->Visible());
}

TEST_F(Wizard, HeaderAndStepBarPixelsAt96And144DPILightAndDark) {
  TTestProductInfo::PageClasses = {PageClassOf<TInstallerPageWelcome>(), PageClassOf<TInstallerPageLicense>(),
                                   PageClassOf<TFakeQuestionPage>(), PageClassOf<TFakeQuestionPage>(),
                                   PageClassOf<TInstallerPageReadyToInstall>()};
  static bool dark = false;
  for (const bool darkMode : {false, true}) {
    dark = darkMode;
    TDRXApplication::SetDarkModeReader([] { return dark; });
    TDRXApplication::UpdateDarkMode();
    UpdatePalette();
    MakeInstaller(u"");
    for (const int dpi : {96, 144}) {
      auto form = ShowForm();
      form->ChangeDPI(dpi);
      ASSERT_EQ(form->Pages().Count(), 7);
      form->SetActivePage(form->Pages().Items(2));
      const TInstallerPalette palette = InstallerPaletteFor(darkMode);
      const auto scale = [dpi](int v) { return MulDivRounded(v, dpi, 96); };
      const TCapture capture(*form);
      capture.SaveForReview("question-" + std::to_string(dpi) + (darkMode ? "-dark" : "-light"));
      const std::string where = std::to_string(dpi) + (darkMode ? " dark" : " light");
      EXPECT_EQ(capture.At(10, scale(53) - 1), palette.ColorAccent) << "accent line " << where;
      const int stepWidth = scale(640) / 6;
      const int barMiddle = scale(58);
      EXPECT_EQ(capture.At(stepWidth, barMiddle), palette.ColorProgress) << "band " << where;
      EXPECT_EQ(capture.At(2 * stepWidth, barMiddle), palette.ColorStepMark) << "first dash " << where;
      EXPECT_EQ(capture.At(2 * stepWidth + 4, barMiddle), palette.ColorStepBarBackground) << "gap " << where;
      EXPECT_EQ(capture.At(2 * stepWidth + 6, barMiddle), palette.ColorStepMark) << "second dash " << where;
      EXPECT_EQ(capture.At(4 * stepWidth, barMiddle), palette.ColorStepBarBackground) << "steps ahead " << where;
      EXPECT_EQ(capture.At(10, scale(480) - 2), palette.ColorFooter) << "footer " << where;
      EXPECT_EQ(capture.At(scale(320), scale(200)), palette.ColorBackground) << "page " << where;
      form->SetActivePage(form->Pages().First());
      TCapture(*form).SaveForReview("welcome-" + std::to_string(dpi) + (darkMode ? "-dark" : "-light"));
    }
  }
}

TEST_F(Wizard, TheLicenceLoadsItsRichTextOpensLinksAndZoomsWithTheDPI) {
  TTestProductInfo::PageClasses = {PageClassOf<TInstallerPageLicense>()};
  MakeInstaller(u"");
  auto form = ShowForm();
  auto* license = dynamic_cast<TInstallerPageLicense*>(form->ActivePage());
  ASSERT_NE(license, nullptr);
  TDRXRichInnerViewer* inner = license->Viewer()->RichInner();
  ASSERT_NE(inner, nullptr);
  EXPECT_NE(inner->Text().find(u"Terms of use."), UString::npos);
  EXPECT_EQ(inner->Text().find(u"rtf1"), UString::npos) << "read as rich text";
  const TAccessibleNode tree = ReadAccessibleTree(license->Viewer()->Handle());
  EXPECT_EQ(tree.Role, ROLE_SYSTEM_PANE);
  const TAccessibleNode* terms = FindAccessible(tree, ROLE_SYSTEM_TEXT, u"Licence");
  ASSERT_NE(terms, nullptr) << "readers find the terms under the page's title: " << DumpAccessibleTree(tree);
  EXPECT_EQ(terms->Value, inner->Text());
  EXPECT_TRUE(terms->Has(STATE_SYSTEM_READONLY));

  std::vector<UString> opened;
  SetShellOpenHandler([&](const UString& target) { opened.push_back(target); });
  const UString text = inner->Text();
  const auto at = static_cast<LONG>(text.find(u"www.ovix.example/terms"));
  ENLINK link{};
  link.nmhdr = {inner->Handle(), 1, EN_LINK};
  link.msg = WM_LBUTTONUP;
  link.chrg = {at, at + 22};
  SendMessageW(license->Viewer()->Handle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&link));
  link.chrg = {at, at};
  SendMessageW(license->Viewer()->Handle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&link));
  SetShellOpenHandler(nullptr);
  EXPECT_EQ(opened, std::vector<UString>{u"http://www.ovix.example/terms"}) << "an empty range opens nothing";

  form->ChangeDPI(144);
  int numerator = 0, denominator = 0;
  SendMessageW(inner->Handle(), EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator), reinterpret_cast<LPARAM>(&denominator));
  EXPECT_EQ(inner->Zoom(), 150);
  EXPECT_EQ(numerator, 96);
  EXPECT_EQ(denominator, 64);
}


TEST_F(Wizard, AnErrorInAnEventHandlerIsReportedAndTheWizardStaysOnItsPage) {
  TTestProductInfo::PageClasses = {PageClassOf<TInstallerPageWelcome>(), PageClassOf<TBrokenPage>()};
  MakeInstaller(u"");
  std::vector<UString> reported;
  TDRXApplication::SetExceptionReporter(
      [&](std::exception_ptr exception) { reported.push_back(ExceptionMessage(exception)); });
  auto form = ShowForm();
  TInstallerCustomPage* welcome = form->ActivePage();
  const HWND next = form->bNext->Handle();
  SendMessageW(next, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(next, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  TDRXApplication::SetExceptionReporter(nullptr);
  EXPECT_EQ(reported, std::vector<UString>{u"Cannot show the page"});
  EXPECT_EQ(form->ActivePage(), welcome);
  EXPECT_TRUE(welcome->Visible());
  EXPECT_TRUE(form->bNext->Enabled());
}

TEST_F(Wizard, TheReadyPageSummarisesTheRunsActionsAnewEachTime) {
  TTestProductInfo::ActionClasses = {ActionClass<TSummaryAction>()};
  TTestProductInfo::PageClasses = {PageClassOf<TFakeQuestionPage>(), PageClassOf<TInstallerPageReadyToInstall>()};
  MakeInstaller(u"");
  installer->SetDestPath(destination.File(u"First"));
  auto form = ShowForm();
  form->bNext->Click();
  auto* ready = dynamic_cast<TInstallerPageReadyToInstall*>(form->ActivePage());
  ASSERT_NE(ready, nullptr);
  UString shown = ready->Viewer()->RichInner()->Text();
  std::erase(shown, u'\n');  // line ends as the rich edit gives them back: CR, or CR LF under Wine
  EXPECT_EQ(shown, u"Folder:\r    " + destination.File(u"First\\") + u"\r    Make a backup & more\r")
      << "plain text, not rich text, without the captions' accelerator marks";
  EXPECT_FALSE(ready->Viewer()->Enabled()) << "the user cannot focus or scroll it";
  form->bBack->Click();
  installer->SetDestPath(destination.File(u"Second"));
  form->bNext->Click();
  EXPECT_NE(ready->Viewer()->RichInner()->Text().find(u"Second"), UString::npos);
  EXPECT_EQ(ready->Viewer()->RichInner()->Text().find(u"First"), UString::npos);
}

TEST_F(Wizard, AThemeChangeRecoloursTheOpenWizard) {
  static bool dark = false;
  TDRXApplication::SetDarkModeReader([] { return dark; });
  TDRXApplication::UpdateDarkMode();
  UpdatePalette();
  TTestProductInfo::PageClasses = {PageClassOf<TFakeQuestionPage>()};
  MakeInstaller(u"");
  auto form = ShowForm();
  EXPECT_EQ(TCapture(*form).At(10, 52), InstallerPaletteFor(false).ColorAccent);
  dark = true;
  TDRXApplication::UpdateDarkMode();
  const TCapture capture(*form);
  EXPECT_EQ(capture.At(10, 52), InstallerPaletteFor(true).ColorAccent);
  EXPECT_EQ(capture.At(320, 200), InstallerPaletteFor(true).ColorBackground);
  EXPECT_EQ(form->lbVerInfo->Font().Color, InstallerPaletteFor(true).ColorVersionText);
}

TEST_F(Wizard, AnUnattendedUninstallShowsItsProgressPageAndClosesByItself) {
  TTestProductInfo::ActionClasses = {ActionClass<TStepAction>()};
  installer = std::make_unique<TInstaller>(
      u"/AUTO", TestPackages(WizardEntries(), {{u"Uninstall.ini", "[Uninstall]\r\nCount=0\r\n"}}));
  installer->SetDestPath(destination.Path());
  installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
  ASSERT_EQ(installer->Mode(), imUninstall);
  auto form = ShowForm();
  ASSERT_EQ(form->Pages().Count(), 2);
  EXPECT_EQ(form->ActivePage()->ClassName(), u"TInstallerPageUninstall");
  EXPECT_EQ(form->Pages().Last()->Name(), u"PageUninstallFinish");
  ASSERT_TRUE(PumpUntil([&] { return !form->Visible(); }));
  EXPECT_EQ(gActionsRun, 1);
  EXPECT_FALSE(installer->HasErrors());
}
