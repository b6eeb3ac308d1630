#pragma once
// Closes the player and its companion programs before their files are
// replaced or removed: every pass asks one window of each known class to
// close and waits, until a pass finds none (that pass ends the action at
// once). A window that stays open ends the action with an error after a
// bounded time; cancelling the run ends the waiting.

#include <cstdint>
#include <memory>

#include "uInstaller.Core.Actions.h"

class TInstallerActionCloseApplications : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionCloseApplications";

  struct TTiming {
    uint32_t PassInterval = 2000;  // ms after a pass that asked windows to close
    uint32_t GiveUpAfter = 60000;  // ms of passes that still find windows before the error
    uint32_t CloseTimeout = 5000;  // ms a window may take over WM_CLOSE before the next one
  };
  // Tests shorten the waits.
  static TTiming Timing;

  TInstallerActionCloseApplications();
  ~TInstallerActionCloseApplications() override;

  void Execute() override;
  void Cancel() override;

 private:
  struct TCancelEvent;
  std::unique_ptr<TCancelEvent> cancelled_;
};

// The program file of the process that owns the window; empty when it cannot be read.
UString ProgramFileOfWindow(void* window);

// The window classes of the player's programs, in the order they are closed.
inline constexpr UStringView OvixWindowClasses[] = {
    u"TOvix2EditorForm",       u"TOvix2MainW",      u"TOvix3MainWindow", u"TOvixQelForm",
    u"TOvixConverterMainForm", u"TOvixLibMainForm", u"TOvixMainForm",
};
