#pragma once
// The wizard window (Windows): TInstallerForm with its page sequence, Back and
// Next, the installer's notifications and the close question; and its two
// drawing helpers, TInstallerFormViewInfo (header, footer, page rectangles)
// and TInstallerProgressViewInfo (the step bar). The layout comes from the
// form resource TINSTALLERFORM; rectangles, step bar and palette are the
// portable uInstaller.UI.Geometry and uInstaller.UI.Palette.

#ifdef _WIN32
#include <memory>

#include "DRX.UI.Controls.Image.h"
#include "DRX.UI.Forms.h"
#include "DRX.UI.FormLayout.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.UI.Geometry.h"
#include "uInstaller.UI.Pages.h"

class TDRXButton;
class TDRXLabel;
class TInstallerForm;

// The form resource of the wizard, read from the module (RCDATA TINSTALLERFORM).
TDRXFormLayout LoadInstallerFormLayout();

class TInstallerCustomViewInfo {
 public:
  explicit TInstallerCustomViewInfo(TInstallerForm& form) : form_(form) {}
  virtual ~TInstallerCustomViewInfo() = default;

 protected:
  TInstallerForm& form_;
};

class TInstallerFormViewInfo : public TInstallerCustomViewInfo {
 public:
  // Loads "header.png" and "header_dark.png" from the packages.
  explicit TInstallerFormViewInfo(TInstallerForm& form);

  TInstallerFormRects Rects() const;
  TRect PageRect(bool fullScreen) const;
  // Background, footer and its lines, header image, accent line, the page's title and description.
  void Draw(HDC__* dc, const TInstallerCustomPage* page) const;

 private:
  std::unique_ptr<TDRXImage> headerImage_;
  std::unique_ptr<TDRXImage> headerImageDark_;
};

class TInstallerProgressViewInfo : public TInstallerCustomViewInfo {
 public:
  using TInstallerCustomViewInfo::TInstallerCustomViewInfo;

  void Calculate(const TRect& stepBar);
  // The background, the page's dashes and the band of the steps taken.
  void Draw(HDC__* dc, TInstallerCustomPage* page) const;
  const TInstallerStepBar& StepBar() const { return bar_; }

 private:
  TInstallerStepBar bar_;
};

class TInstallerForm : public TDRXForm, public IInstallerNotify {
 public:
  // Builds the form from its resource, creates every page and shows the first.
  explicit TInstallerForm(const TDRXFormLayout& layout = LoadInstallerFormLayout());
  // Runs the chosen programs (RunPostInstallActions), then releases everything.
  ~TInstallerForm() override;

  UString ClassName() const override { return u"TInstallerForm"; }

  TInstallerPageList& Pages() { return *pages_; }
  TInstallerCustomPage* ActivePage() const { return activePage_; }
  TInstallerFormViewInfo& FormViewInfo() { return *formViewInfo_; }
  TInstallerProgressViewInfo& ProgressViewInfo() { return *progressViewInfo_; }
  TDRXButton* bBack = nullptr;
  TDRXButton* bNext = nullptr;
  TDRXLabel* lbVerInfo = nullptr;

  void CreatePages();
  void Localize();
  void SetActivePage(TInstallerCustomPage* page);
  void AnnouncePage(const TInstallerCustomPage& page);
  void UpdateButtons();
  void UpdateStepBar();

  void bBackClick(TDRXCustomControl& sender);
  void bNextClick(TDRXCustomControl& sender);
  void FormCloseQuery(TDRXForm& sender, bool& canClose);
  void Notify(int code, intptr_t data) override;

  // The user confirmed closing before the installer had finished.
  bool Cancelled() const { return cancelled_; }

  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  void DarkModeChanged() override;
  // The palette is the same for both changes.
  void HighContrastChanged() override;
  void ScaleChanged() override;

 private:
  void ApplyLayout(const TDRXFormLayout& layout);
  void ApplyVersionTextColor();
  void PaintFrame(HDC__* dc);
  // A close confirmed inside a notification handler: the stop waits until the handler has returned.
  void StopDeferred();

  std::unique_ptr<TInstallerPageList> pages_;
  std::unique_ptr<TInstallerProgressViewInfo> progressViewInfo_;
  std::unique_ptr<TInstallerFormViewInfo> formViewInfo_;
  TInstallerCustomPage* activePage_ = nullptr;
  bool listening_ = false;
  bool cancelled_ = false;
  bool stopPending_ = false;
};
#endif
