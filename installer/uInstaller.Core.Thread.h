#pragma once
// The installer thread: creates the product's actions for this run and runs
// them one after the other, reporting progress to the main thread, stopping at
// the first error (which becomes the installation's error) and between actions
// when asked to terminate; its last act is the inFinished notification.

#include "DRX.Classes.Thread.h"
#include "uInstaller.Core.Actions.h"

class TInstallerThread : public TDRXThread {
 public:
  TInstallerThread();  // suspended: TInstaller::Start lets it run
  ~TInstallerThread() override;

  // Fills Actions from the product's list, each action reporting through ReportProgress.
  void PopulateActions();
  // inProgress with (overall << 16) | current, then inRedraw.
  void ReportProgress();
  void SetCurrentAction(TInstallerAction* action);
  // Also cancels the running action.
  void Terminate() override;

  TInstallerActionList& Actions() { return actions_; }

 protected:
  void Execute() override;

 private:
  TInstallerActionList actions_;
  TInstallerAction* currentAction_ = nullptr;
  TDRXCriticalSection lock_;
};
