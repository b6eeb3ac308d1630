#pragma once
// The wizard's pages: the contract between a page and the form (progress,
// Back, Next, availability, preparation each time the page is shown), the
// page base that builds its controls at 96-DPI rectangles and fills every
// caption from its own language section, and the product-independent pages:
// welcome, licence, summary, progress (install and uninstall) and finish.

#include <cstdint>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

// A page's language section (and component name): its class name from the
// 11th character on, "TInstallerPageSetup" → "PageSetup".
UString PageSectionName(UStringView className);

// The finish page's box for the i-th entry (from 1) of the script's Actions.
TRect FinishActionBoxBounds(int index);

#ifdef _WIN32
#include <memory>
#include <vector>

#include "DRX.UI.Controls.Image.h"
#include "DRX.UI.Controls.h"
#include "uInstaller.Core.Classes.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.UI.Navigation.h"

class TDRXLabel;
class TDRXCheckBox;
class TDRXRadioBox;
class TDRXMemo;
class TDRXProgressBar;
class TDRXRichViewer;

// The navigation contract. A page is constructed through its class reference
// (PageClassOf), which runs Initialize once construction has completed.
class TInstallerCustomPage : public TDRXCustomControl {
 public:
  TInstallerCustomPage();
  UString ClassName() const override { return u"TInstallerCustomPage"; }

  // Percent, drawn in the step bar.
  virtual int GetProgress() { return 0; }
  virtual bool CanGoBack() const { return true; }
  virtual bool CanGoNext() const { return true; }
  virtual bool IsAvailable() const { return true; }
  // Runs each time the page is shown, before it becomes visible.
  virtual void Prepare() {}

  // The component name from the class name; the page kinds build their controls and texts.
  virtual void Initialize();
};

using TInstallerPageList = TInstallerPageListOf<TInstallerCustomPage>;

// The class reference of page class T (named by T's ClassName()).
template <class T>
TInstallerPageClass PageClassOf() {
  static const TClassRef<TInstallerCustomPage> ref{
      T::kClassName, []() -> std::unique_ptr<TInstallerCustomPage> {
        auto page = std::make_unique<T>();
        page->Initialize();
        return page;
      }};
  return &ref;
}

class TInstallerPage : public TInstallerCustomPage {
 public:
  static constexpr UStringView kClassName = u"TInstallerPage";
  UString ClassName() const override { return UString(kClassName); }

  // The header texts the form draws for the page on show.
  UString Title;
  UString Description;

  // Name, CreateControls, Localize.
  void Initialize() override;
  virtual void CreateControls() {}
  // Title and Description, then the caption of every owned component that has
  // one (recursively, each one's owned components after it) := the text of its name.
  virtual void Localize();

 protected:
  UString GetText(UStringView key) const;
  // Asks the form to refresh its buttons (notification inStateChanged).
  void Changed();
  // A control of class T owned and parented by the page, at the 96-DPI rectangle scaled.
  template <class T>
  T* CreateControl(const TRect& bounds96, UStringView name) {
    auto* control = new T(this);
    PlaceControl(*control, bounds96, name);
    return control;
  }
  TDRXLabel* CreateLabel(const TRect& bounds96, UStringView name, bool wordWrap);
  // A label in "Segoe UI" 11 pt at the current scale.
  TDRXLabel* CreateHeaderLabel(const TRect& bounds96, UStringView name);
  TDRXCheckBox* CreateCheckBox(const TRect& bounds96, UStringView name, TDRXNotifyEvent onClick);
  TDRXRadioBox* CreateRadioBox(const TRect& bounds96, UStringView name, TDRXNotifyEvent onClick);
  // A font of the control's family at a size in points, at the current scale.
  TFont ScaledFont(const TFont& base, int points) const;
  // The palette's background gradient over the client area.
  void Paint(HDC__* dc) override;

 private:
  void PlaceControl(TDRXCustomControl& control, const TRect& bounds96, UStringView name);
};

// Drawn over header and step bar: the side image and two labels, L1 the heading, L2 the body.
class TInstallerPageFullScreen : public TInstallerPage {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageFullScreen";
  UString ClassName() const override { return UString(kClassName); }
  ~TInstallerPageFullScreen() override;
  void CreateControls() override;

 protected:
  void Paint(HDC__* dc) override;
  std::unique_ptr<TDRXImage> image_;
  TDRXLabel* L1 = nullptr;
  TDRXLabel* L2 = nullptr;
};

class TInstallerPageWelcome : public TInstallerPageFullScreen {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageWelcome";
  UString ClassName() const override { return UString(kClassName); }
};

class TInstallerPageLicense : public TInstallerPage {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageLicense";
  UString ClassName() const override { return UString(kClassName); }
  void CreateControls() override;
  bool CanGoBack() const override { return false; }
  bool CanGoNext() const override;
  void Prepare() override;
  TDRXCheckBox* AcceptBox() const { return acceptBox_; }
  TDRXRichViewer* Viewer() const { return viewer_; }

 protected:
  void VisibleChanged() override;

 private:
  TDRXRichViewer* viewer_ = nullptr;
  TDRXCheckBox* acceptBox_ = nullptr;
};

class TInstallerPageReadyToInstall : public TInstallerPage {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageReadyToInstall";
  UString ClassName() const override { return UString(kClassName); }
  void CreateControls() override;
  void Prepare() override;
  TDRXRichViewer* Viewer() const { return viewer_; }

 private:
  TDRXRichViewer* viewer_ = nullptr;
};

// The progress of the running installer. Registered as the installer's
// listener from construction on, so that on the installer's end it knows
// before the form (listeners hear last registered first).
class TInstallerPageInstall : public TInstallerPage, public IInstallerNotify {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageInstall";
  UString ClassName() const override { return UString(kClassName); }
  TInstallerPageInstall();
  ~TInstallerPageInstall() override;

  void CreateControls() override;
  bool CanGoBack() const override { return false; }
  bool CanGoNext() const override { return finished_; }
  int GetProgress() override;
  // Starts the installer without waiting (nothing unless it is idle).
  void Prepare() override;
  void Notify(int code, intptr_t data) override;

  TDRXLabel* StatusLabel() const { return statusLabel_; }
  TDRXProgressBar* ActionBar() const { return actionBar_; }
  TDRXProgressBar* TotalBar() const { return totalBar_; }

 private:
  TDRXLabel* statusLabel_ = nullptr;
  TDRXProgressBar* actionBar_ = nullptr;
  TDRXProgressBar* totalBar_ = nullptr;
  bool finished_ = false;
};

class TInstallerPageUninstall : public TInstallerPageInstall {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageUninstall";
  UString ClassName() const override { return UString(kClassName); }
};

// The result: the installer's errors in a memo, L1 in red with "E1", L2 with "E2".
class TInstallerPageCustomFinish : public TInstallerPageFullScreen {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageCustomFinish";
  UString ClassName() const override { return UString(kClassName); }
  void CreateControls() override;
  bool CanGoBack() const override { return false; }
  void Prepare() override;
  TDRXMemo* ErrorMemo() const { return errorMemo_; }

 private:
  TDRXMemo* errorMemo_ = nullptr;
};

class TInstallerPageFinish : public TInstallerPageCustomFinish {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageFinish";
  UString ClassName() const override { return UString(kClassName); }
  void CreateControls() override;
  void Prepare() override;
  // Each box's state into the settings, section "Actions", key = the entry's name.
  void SaveActionStates();
  const std::vector<TDRXCheckBox*>& ActionBoxes() const { return actionBoxes_; }
  TDRXLabel* HomePageLink() const { return homePageLink_; }

 private:
  std::vector<TDRXCheckBox*> actionBoxes_;  // owned by the page as components
  TDRXLabel* homePageLink_ = nullptr;
};

class TInstallerPageUninstallFinish : public TInstallerPageCustomFinish {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageUninstallFinish";
  UString ClassName() const override { return UString(kClassName); }
};

// Delivers what waits in the thread's message queue and the synchronised
// calls, then returns. Counted: InsideMessageProcessing tells whether a
// caller is inside it (a stop of the installer must not wait there).
void ProcessPendingMessages();
bool InsideMessageProcessing();
#endif
