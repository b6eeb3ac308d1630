#include "uInstaller.Core.Thread.h"

#include "DRX.Exceptions.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"

TInstallerThread::TInstallerThread() = default;

TInstallerThread::~TInstallerThread() { TerminateAndWait(); }

void TInstallerThread::PopulateActions() {
  Installer->ProductInfo().PopulateActions([this](TInstallerActionClass actionClass) {
    std::unique_ptr<TInstallerAction> action = actionClass->Create();
    action->OnProgress = [this](TInstallerAction&) { ReportProgress(); };
    actions_.Add(std::move(action));
  });
}

void TInstallerThread::ReportProgress() {
  const int current = currentAction_ ? currentAction_->Progress() : 0;
  Installer->SendNotify(inProgress, (static_cast<intptr_t>(actions_.Progress()) << 16) | (current & 0xFFFF));
  Installer->SendNotify(inRedraw, 0);
}

void TInstallerThread::SetCurrentAction(TInstallerAction* action) {
  {
    TDRXLock guard(lock_);
    currentAction_ = action;
  }
  // Reported outside the lock: a Terminate from the main thread, which takes the
  // lock, must not wait for a send that the main thread itself has to deliver.
  if (action) ReportProgress();
}

void TInstallerThread::Terminate() {
  TDRXThread::Terminate();
  TDRXLock guard(lock_);
  if (currentAction_) currentAction_->Cancel();
}

void TInstallerThread::Execute() {
  try {
    PopulateActions();
    const int count = actions_.Count();
    for (int i = 0; i < count && !Terminated(); ++i) {
      SetCurrentAction(&actions_.Items(i));
      actions_.Items(i).Run();
    }
  } catch (const Exception& error) {
    AddError(error.Message());
  } catch (const std::exception& error) {
    // Not one of ours (out of memory, say): the run still ends with a message.
    AddError(Utf8ToUtf16(error.what()));
  } catch (...) {
    // Not even a standard exception: the run failed all the same.
    AddError(Installer->Resources().GetLangString(u"Common", u"E5"));
  }
  Installer->SendNotify(inFinished, Terminated() ? 1 : 0);
}
