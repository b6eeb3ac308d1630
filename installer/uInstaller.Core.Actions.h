#pragma once
// The action framework: every step of an installation or uninstallation is an
// action class, created through its class reference, run on the installer
// thread, reporting progress (0 to 100) and status texts, and describing itself
// for the ready page without running.

#include <functional>
#include <memory>
#include <vector>

#include "DRX.Strings.h"
#include "uInstaller.Core.Classes.h"

class TDRXIniFile;
class TInstallerProductInfo;
class TInstallerResources;
class TInstallerScript;
class TInstallerScriptFile;
class TInstallerSummaryBuilder;

// Base of actions and of the product's update tasks.
class TInstallerPersistent {
 public:
  virtual ~TInstallerPersistent() = default;
};

class TInstallerAction : public TInstallerPersistent {
 public:
  TInstallerAction() = default;
  TInstallerAction(const TInstallerAction&) = delete;
  TInstallerAction& operator=(const TInstallerAction&) = delete;

  // The action's work, on the installer thread; failure is an exception.
  virtual void Execute() = 0;
  // Adds what the action will do to the ready page; runs without Execute.
  virtual void BuildSummary(TInstallerSummaryBuilder& builder) {}
  // Called by the thread's Terminate while this action runs.
  virtual void Cancel() {}

  // Execute, then progress 100.
  void Run();
  int Progress() const { return progress_; }
  // Stores a changed value and calls OnProgress.
  void SetProgress(int value);
  std::function<void(TInstallerAction& sender)> OnProgress;

  // Shows a status text on the progress page.
  void SetStatus(const UString& text);
  UString LangString(UStringView section, UStringView key);
  UString CommonString(UStringView key);

  TInstallerProductInfo& ProductInfo();
  TInstallerResources& Resources();
  TDRXIniFile& Settings();
  TInstallerScript& Script();

 private:
  int progress_ = 0;
};

using TInstallerActionClass = const TClassRef<TInstallerAction>*;

template <class T>
TInstallerActionClass ActionClass() {
  return ClassRefOf<T, TInstallerAction>();
}

// The actions of a run, in execution order; owns them.
class TInstallerActionList {
 public:
  void Add(std::unique_ptr<TInstallerAction> action) { items_.push_back(std::move(action)); }
  int Count() const { return static_cast<int>(items_.size()); }
  TInstallerAction& Items(int index) const { return *items_[index]; }
  // The average progress of all actions (integer division); 0 when empty.
  int Progress() const;

 private:
  std::vector<std::unique_ptr<TInstallerAction>> items_;
};
