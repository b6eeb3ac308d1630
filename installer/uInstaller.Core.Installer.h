#pragma once
// TInstaller: the one object every part of the program consults. It decides
// the mode, options and destination from the command line and from what the
// product finds in the destination, owns the settings store, the errors, the
// resources and the installer thread, and carries the thread's notifications
// to listeners on the main thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "DRX.Classes.Thread.h"
#include "DRX.FileFormats.INI.h"
#include "DRX.Utils.MessageWindow.h"
#include "uInstaller.Core.Resources.h"

class TInstallerExtractHelper;
class TInstallerProductInfo;
class TInstallerThread;

enum TInstallerMode : uint8_t { imInstall = 0, imUninstall = 1 };

using TInstallerFlags = uint8_t;
enum : TInstallerFlags {
  ifAuto = 1,        // started with AUTO: no language dialog, no product pages
  ifPortable = 2,    // no uninstall registration, integration or shortcuts
  ifUpdate = 4,      // the destination holds an installation that can be updated
  ifSilent = 8,      // no wizard at all
  ifRun = 16,        // with ifAuto and ifUpdate: start the script's Actions by default
  ifNoBackup = 32,   // no backup of the previous installation
};

enum TInstallerState : uint8_t { stIdle = 0, stRunning = 1, stFinished = 2 };

// Notification codes; code 3 is not used.
enum : int { inFinished = 1, inProgress = 2, inStatusText = 4, inStateChanged = 5, inRedraw = 6 };

// A listener; always called on the main thread.
class IInstallerNotify {
 public:
  virtual ~IInstallerNotify() = default;
  virtual void Notify(int code, intptr_t data) = 0;
};

// The text an inStatusText notification carries in its data.
inline const UString& NotifyText(intptr_t data) { return *reinterpret_cast<const UString*>(data); }

class TInstaller {
 public:
  // Opens the packages, reads the script and decides mode, flags and destination.
  explicit TInstaller(const UString& commandLine, const TInstallerPackageSource& packages = LoadModulePackages);
  ~TInstaller();
  TInstaller(const TInstaller&) = delete;
  TInstaller& operator=(const TInstaller&) = delete;

  TDRXIniFile& Settings() { return *settings_; }
  const UString& DestPath() const { return destPath_; }
  TDRXStringList& Errors() { return *errors_; }
  TInstallerExtractHelper& ExtractHelper() { return *extractHelper_; }
  TInstallerMode Mode() const { return mode_; }
  TInstallerFlags Flags() const { return flags_; }
  TInstallerProductInfo& ProductInfo() { return *productInfo_; }
  TInstallerResources& Resources() { return *resources_; }
  TInstallerState State() const { return state_; }
  TInstallerThread* Thread() { return thread_.get(); }

  void ParseCommandLine(const UString& commandLine);
  // Sets the destination (expanded, with a trailing backslash) and re-evaluates
  // ifUpdate and ifPortable; the same text again changes nothing.
  void SetDestPath(const UString& path);
  // Removes ifUpdate and ifPortable where they cannot apply.
  void UpdateFlags();
  bool IsDestPathInProgramFiles() const;
  bool HasFlag(TInstallerFlags flag) const { return (flags_ & flag) != 0; }
  void SetFlag(TInstallerFlags flag, bool value);
  // Raises "Invalid Arguments" when ifAuto or ifSilent would change.
  void SetFlags(TInstallerFlags flags);
  // Starts the installer thread once; with `wait`, returns when it has ended
  // (messages and synchronised calls keep flowing meanwhile). A thread that
  // ends without its inFinished (it died, or something escaped its body) ends
  // the run with ("Common", "E5") in Errors and an inFinished of the
  // installer's own: at once with `wait`, else through the message loop.
  void Start(bool wait);
  // Cancels: the running action completes, no further one starts.
  void StopThread();
  // Starts the chosen programs of the script's Actions group, with the user's rights.
  void RunPostInstallActions();
  bool HasErrors() const { return errors_->Count() > 0; }
  // A silent run started with SUPPRESSMSGBOXES: nobody is there to answer a box.
  bool SuppressesMessageBoxes() const { return suppressMessageBoxes_; }

  void AddListener(IInstallerNotify* listener);
  void RemoveListener(IInstallerNotify* listener);
  // From any thread; return when every listener has been called on the main
  // thread. Without a listener nothing travels: no round trip to the main
  // thread for a silent run, which has nothing to repaint; only inFinished is
  // always delivered, for the state it sets.
  void SendNotify(int code, intptr_t value);
  void SendNotifyText(int code, const UString& text);

 private:
  bool HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
  void DispatchNotify(int code, intptr_t data);
  // The thread's body has ended; whether it said so decides whether the run failed.
  void ThreadEnded();
  void WatchThread();
  void UnwatchThread();
  // The window to send a notification to; none when it would reach nobody.
  void* NotifyWindow(int code);

  std::unique_ptr<TDRXIniFile> settings_;
  UString destPath_;
  std::unique_ptr<TDRXStringList> errors_;
  std::unique_ptr<TInstallerExtractHelper> extractHelper_;
  std::unique_ptr<TDRXMessageWindow> window_;
  std::vector<IInstallerNotify*> listeners_;
  TDRXCriticalSection lock_;
  TInstallerMode mode_ = imInstall;
  TInstallerFlags flags_ = 0;
  bool suppressMessageBoxes_ = false;
  std::unique_ptr<TInstallerProductInfo> productInfo_;
  std::unique_ptr<TInstallerResources> resources_;
  TInstallerState state_ = stIdle;
  std::unique_ptr<TInstallerThread> thread_;
  void* threadWatch_ = nullptr;  // the system's wait for the thread's end, while Start does not wait
};

// The one installer of the process, set while it exists.
extern TInstaller* Installer;

// Appends to Installer.Errors (no lock: the thread and the main thread take turns).
void AddError(const UString& text);
