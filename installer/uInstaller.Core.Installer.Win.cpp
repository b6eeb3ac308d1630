#include <windows.h>

#include "uInstaller.Core.Installer.h"

#include <algorithm>

#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "DRX.Utils.CommandLine.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Destination.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.Extract.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Spawn.h"
#include "uInstaller.Core.Switches.h"
#include "uInstaller.Core.Thread.h"
#include "uInstaller.Core.UninstallList.h"

TInstaller* Installer = nullptr;

void AddError(const UString& text) { Installer->Errors().Add(text); }

namespace {

constexpr TInstallerFlags kRunActionsByDefault = ifAuto | ifUpdate | ifRun;
// Posted to the installer's window by the system's wait when the thread has ended.
constexpr UINT kThreadEndedMessage = WM_USER + 1;

void CALLBACK PostThreadEnded(void* window, BOOLEAN) { PostMessageW(static_cast<HWND>(window), kThreadEndedMessage, 0, 0); }

// A name "." or ".." between backslashes.
bool HasDotNames(UStringView path) {
  const UString text = UString(u"\\").append(path).append(u"\\");
  return text.find(u"\\.\\") != UString::npos || text.find(u"\\..\\") != UString::npos;
}

}  // namespace

TInstaller::TInstaller(const UString& commandLine, const TInstallerPackageSource& packages) {
  Installer = this;
  try {
    settings_ = std::make_unique<TDRXIniFile>();
    errors_ = std::make_unique<TDRXStringList>();
    if (!ProductInfoClass) throw EInstallerGeneralError(u"ProductInfoClass is nil");
    productInfo_ = ProductInfoClass->Create();
    resources_ = std::make_unique<TInstallerResources>(packages);
    extractHelper_ = std::make_unique<TInstallerExtractHelper>();
    window_ = std::make_unique<TDRXMessageWindow>(
        u"TInstaller", [this](uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
          return HandleMessage(message, wParam, lParam, result);
        });
    ParseCommandLine(commandLine);
    suppressMessageBoxes_ = HasFlag(ifSilent) && CommandLineHasSwitch(commandLine, kSwitchSuppressMsgBoxes);
  } catch (...) {
    Installer = nullptr;
    throw;
  }
}

TInstaller::~TInstaller() {
  UnwatchThread();
  thread_.reset();
  settings_.reset();
  errors_.reset();
  listeners_.clear();
  productInfo_.reset();
  extractHelper_.reset();
  resources_.reset();
  window_.reset();
  Installer = nullptr;
}

void TInstaller::ParseCommandLine(const UString& commandLine) {
  if (resources_->ProductPackage().Contains(u"Uninstall.ini")) {
    mode_ = imUninstall;
    flags_ = 0;
    // A list of installed files that cannot be read stops the uninstaller here,
    // before its actions remove the registration, the shortcuts or any file.
    TDRXIniFile list;
    list.LoadFromStream(*resources_->GetFile(u"Uninstall.ini"));
    ReadUninstallEntries(list);
    if (CommandLineHasSwitch(commandLine, u"AUTO")) {
      flags_ |= ifAuto;
      if (CommandLineHasSwitch(commandLine, u"SILENT")) flags_ |= ifSilent;
    }
    return;
  }
  mode_ = imInstall;
  UString destination;
  if (!CommandLineGetSwitchValue(commandLine, u"AUTO", destination)) {
    flags_ = ifUpdate;
    SetDestPath(productInfo_->GetDefaultPath());
    return;
  }
  flags_ = ifAuto;
  SetDestPath(destination.empty() ? productInfo_->GetDefaultPath() : destination);
  if (CommandLineHasSwitch(commandLine, u"NOBACKUP")) flags_ |= ifNoBackup;
  if (CommandLineHasSwitch(commandLine, u"RUN")) flags_ |= ifRun;
  if (CommandLineHasSwitch(commandLine, u"UPDATE")) {
    if (!productInfo_->CanUpdate()) {
      throw EInstallerUpdateError(Format(u"Cannot install update on v%s", {productInfo_->GetInstalledVersionText()}));
    }
    return;
  }
  if (CommandLineHasSwitch(commandLine, u"PORTABLE")) flags_ |= ifPortable;
  if (CommandLineHasSwitch(commandLine, u"SILENT")) flags_ |= ifSilent;
}

void TInstaller::SetDestPath(const UString& path) {
  if (path == destPath_) return;
  UString expanded = path;
  // A relative name means a folder below the current one now, not below
  // whatever folder is current when files are written; "." and ".." go.
  if (!Trim(expanded).empty() && (!IsFullPath(expanded) || HasDotNames(expanded)))
    expanded = ExpandFileName(expanded);
  if (expanded.find(u'~') != UString::npos) expanded = ExpandLongFileName(expanded);
  // A blank name is no destination (Next stays disabled), not the current drive's root.
  destPath_ = Trim(expanded).empty() ? UString() : IncludeTrailingBackslash(expanded);
  productInfo_->Load();
  if (productInfo_->CanUpdate()) {
    flags_ |= ifUpdate;
  } else {
    flags_ &= ~ifUpdate;
  }
  // An update of a portable installation stays portable.
  if (HasFlag(ifUpdate) && productInfo_->IsPortableInstallation()) flags_ |= ifPortable;
  UpdateFlags();
}

void TInstaller::UpdateFlags() {
  if (!productInfo_->CanUpdate()) flags_ &= ~ifUpdate;
  // A portable installation never goes into a Program Files folder.
  if (IsDestPathInProgramFiles()) flags_ &= ~ifPortable;
}

bool TInstaller::IsDestPathInProgramFiles() const {
  return StartsText(destPath_, resources_->ProgramFilesPath()) ||
         StartsText(destPath_, resources_->ProgramFilesX86Path());
}

void TInstaller::SetFlag(TInstallerFlags flag, bool value) {
  SetFlags(value ? flags_ | flag : flags_ & ~flag);
}

void TInstaller::SetFlags(TInstallerFlags flags) {
  if (flags == flags_) return;
  if ((flags ^ flags_) & (ifAuto | ifSilent)) throw EInstallerMysteryError(u"Invalid Arguments");
  flags_ = flags;
  UpdateFlags();
}

void TInstaller::Start(bool wait) {
  if (state_ != stIdle) return;
  if (destPath_.empty()) throw EInstallerInstallError(u"DestPath is empty");
  if (mode_ == imInstall) ValidateDestination(destPath_);
  UpdateFlags();
  state_ = stRunning;
  thread_ = std::make_unique<TInstallerThread>();
  if (!wait) WatchThread();
  thread_->Start();
  if (!wait) return;
  thread_->WaitFor();
  ThreadEnded();
}

void TInstaller::StopThread() {
  if (!thread_) return;
  UnwatchThread();
  thread_.reset();
  ThreadEnded();
}

void* TInstaller::NotifyWindow(int code) {
  TDRXLock guard(lock_);
  if (listeners_.empty() && code != inFinished) return nullptr;
  return window_->Handle();
}

void TInstaller::WatchThread() {
  HANDLE watch = nullptr;
  if (RegisterWaitForSingleObject(&watch, thread_->Handle(), PostThreadEnded, window_->Handle(), INFINITE,
                                  WT_EXECUTEONLYONCE))
    threadWatch_ = watch;
}

void TInstaller::UnwatchThread() {
  if (threadWatch_) UnregisterWaitEx(threadWatch_, INVALID_HANDLE_VALUE);  // waits for a callback under way
  threadWatch_ = nullptr;
}

void TInstaller::ThreadEnded() {
  if (state_ != stRunning) return;
  AddError(resources_->GetLangString(u"Common", u"E5"));
  DispatchNotify(inFinished, 0);
}

void TInstaller::RunPostInstallActions() {
  if (HasErrors() || mode_ != imInstall) return;
  const TInstallerFlags flags = flags_;
  const bool byDefault = (flags & kRunActionsByDefault) == kRunActionsByDefault;
  TInstallerScriptGroup& actions = resources_->Script().Actions;
  for (int i = 0; i < actions.Count(); ++i) {
    const UString& name = actions.Items(i).Name;
    if (settings_->ReadBool(u"Actions", name, byDefault)) TInstallerSpawnService::Run(resources_->ExpandPath(name));
  }
}

void TInstaller::AddListener(IInstallerNotify* listener) {
  TDRXLock guard(lock_);
  listeners_.push_back(listener);
}

void TInstaller::RemoveListener(IInstallerNotify* listener) {
  TDRXLock guard(lock_);
  std::erase(listeners_, listener);
}

void TInstaller::SendNotify(int code, intptr_t value) {
  if (const HWND window = static_cast<HWND>(NotifyWindow(code)))
    SendMessageW(window, WM_USER, static_cast<WPARAM>(code), value);
}

void TInstaller::SendNotifyText(int code, const UString& text) {
  const HWND window = static_cast<HWND>(NotifyWindow(code));
  if (!window) return;
  COPYDATASTRUCT data{static_cast<ULONG_PTR>(code), static_cast<DWORD>(text.size() * 2),
                      const_cast<char16_t*>(text.data())};
  SendMessageW(window, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&data));
}

bool TInstaller::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  if (message == kThreadEndedMessage) {
    ThreadEnded();
    return true;
  }
  if (message == WM_USER) {
    DispatchNotify(static_cast<int>(wParam), lParam);
    return true;
  }
  if (message == WM_COPYDATA) {
    // Only our own sends carry the window itself as wParam.
    if (lParam == 0 || wParam != reinterpret_cast<uintptr_t>(window_->Handle())) return true;
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const UString text(static_cast<const char16_t*>(data->lpData), data->cbData / 2);
    DispatchNotify(static_cast<int>(data->dwData), reinterpret_cast<intptr_t>(&text));
    result = 1;
    return true;
  }
  return false;
}

void TInstaller::DispatchNotify(int code, intptr_t data) {
  TDRXLock guard(lock_);
  if (code == inFinished) {
    state_ = stFinished;
    if (data != 0) AddError(resources_->GetLangString(u"Common", u"E4"));
  }
  // Last registered first; a copy, so a listener may remove itself.
  const std::vector<IInstallerNotify*> listeners = listeners_;
  for (auto it = listeners.rbegin(); it != listeners.rend(); ++it) (*it)->Notify(code, data);
}
