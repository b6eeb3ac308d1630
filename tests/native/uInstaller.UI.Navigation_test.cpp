#include "uInstaller.UI.Navigation.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// What the pages' answers depend on in a run.
struct TFakeRun {
  bool licenseAccepted = true;
  bool destinationSet = true;
  bool portable = false;
  bool update = false;
  bool finished = false;
};

// The answers of the wizard's pages as the page classes give them.
class TFakePage {
 public:
  virtual ~TFakePage() = default;
  std::string Name;
  std::function<bool()> Back = [] { return true; };
  std::function<bool()> Next = [] { return true; };
  std::function<bool()> Available = [] { return true; };
  bool CanGoBack() const { return Back(); }
  bool CanGoNext() const { return Next(); }
  bool IsAvailable() const { return Available(); }
};
class TFakeInstallPage : public TFakePage {};
class TFakeUninstallPage : public TFakeInstallPage {};

using TFakePageList = TInstallerPageListOf<TFakePage>;

TInstallerButtonStates States(const TFakePageList& pages, const TFakePage* active) {
  return ButtonStatesFor<TFakeUninstallPage, TFakeInstallPage>(pages, active);
}

template <class T = TFakePage>
TFakePage* AddPage(TFakePageList& pages, std::string name) {
  TFakePage* page = pages.Add(std::make_unique<T>());
  page->Name = std::move(name);
  return page;
}

// The product's pages of an install, then the progress and finish pages, with
// the answers of the wizard's page table.
void AddInstallPages(TFakePageList& pages, TFakeRun& run, bool withAddons) {
  AddPage(pages, "Welcome");
  AddPage(pages, "License")->Back = [] { return false; };
  pages.Last()->Next = [&run] { return run.licenseAccepted; };
  AddPage(pages, "Setup")->Next = [&run] { return run.destinationSet; };
  if (withAddons) AddPage(pages, "Addons");
  AddPage(pages, "Integration")->Available = [&run] { return !run.portable && !run.update; };
  AddPage(pages, "ReadyToInstall");
}

void AddProgressAndFinish(TFakePageList& pages, TFakeRun& run, bool uninstall) {
  TFakePage* progress = uninstall ? AddPage<TFakeUninstallPage>(pages, "Uninstall")
                                  : AddPage<TFakeInstallPage>(pages, "Install");
  progress->Back = [] { return false; };
  progress->Next = [&run] { return run.finished; };
  AddPage(pages, uninstall ? "UninstallFinish" : "Finish")->Back = [] { return false; };
}

struct TStep {
  std::string Page;
  bool BackVisible;
  bool NextEnabled;
  UStringView Caption;
  bool operator==(const TStep&) const = default;
};

void PrintTo(const TStep& step, std::ostream* os) {
  *os << step.Page << " back=" << step.BackVisible << " next=" << step.NextEnabled << " "
      << Utf16ToUtf8(step.Caption);
}

TStep StepOf(const TFakePageList& pages, const TFakePage* page) {
  const TInstallerButtonStates states = States(pages, page);
  return {page->Name, states.BackVisible, states.NextEnabled, states.NextCaptionKey};
}

// Clicks Next from the first page until it no longer moves; the progress page
// is shown once while running and once after the installer's end, which moves
// on as a click would.
std::vector<TStep> WalkForward(const TFakePageList& pages, TFakeRun& run) {
  std::vector<TStep> steps;
  const TFakePage* page = pages.First();
  while (page) {
    steps.push_back(StepOf(pages, page));
    if (dynamic_cast<const TFakeInstallPage*>(page) && !run.finished) {
      run.finished = true;
      steps.push_back(StepOf(pages, page));
    }
    if (NextClickAction(pages, page) != naShowNextPage) break;
    page = pages.GetNextPage(page);
  }
  return steps;
}

std::vector<std::string> WalkBack(const TFakePageList& pages, const TFakePage* page) {
  std::vector<std::string> names{page->Name};
  while (pages.CanGoBack(page)) {
    page = pages.GetPrevPage(page);
    names.push_back(page->Name);
  }
  return names;
}

const TFakePage* Find(const TFakePageList& pages, const std::string& name) {
  for (int i = 0; i < pages.Count(); ++i)
    if (pages.Items(i)->Name == name) return pages.Items(i);
  return nullptr;
}

TEST(WizardNavigation, FullInstallRunWithItsButtonsOnEveryPage) {
  TFakeRun run;
  TFakePageList pages;
  AddInstallPages(pages, run, false);
  AddProgressAndFinish(pages, run, false);
  const std::vector<TStep> expected = {
      {"Welcome", false, true, kCaptionNext},       {"License", false, true, kCaptionNext},
      {"Setup", true, true, kCaptionNext},          {"Integration", true, true, kCaptionNext},
      {"ReadyToInstall", true, true, kCaptionInstall}, {"Install", false, false, kCaptionNext},
      {"Install", false, true, kCaptionNext},       {"Finish", false, true, kCaptionFinish},
  };
  EXPECT_EQ(WalkForward(pages, run), expected);
  EXPECT_EQ(NextClickAction(pages, pages.Last()), naCloseForm);
  // Back stops at Setup: the licence page refuses to go back, and nothing leaves the progress page.
  EXPECT_EQ(WalkBack(pages, Find(pages, "ReadyToInstall")),
            (std::vector<std::string>{"ReadyToInstall", "Integration", "Setup", "License"}));
  EXPECT_EQ(WalkBack(pages, Find(pages, "Finish")), std::vector<std::string>{"Finish"});
}

TEST(WizardNavigation, TheAddonPageJoinsTheSequenceWhenOffered) {
  TFakeRun run;
  TFakePageList pages;
  AddInstallPages(pages, run, true);
  AddProgressAndFinish(pages, run, false);
  std::vector<std::string> shown;
  for (const TStep& step : WalkForward(pages, run)) shown.push_back(step.Page);
  EXPECT_EQ(shown, (std::vector<std::string>{"Welcome", "License", "Setup", "Addons", "Integration", "ReadyToInstall",
                                             "Install", "Install", "Finish"}));
}

TEST(WizardNavigation, AnUnavailableIntegrationPageIsSteppedOverBothWays) {
  for (const bool portable : {true, false}) {
    TFakeRun run;
    run.portable = portable;
    run.update = !portable;
    TFakePageList pages;
    AddInstallPages(pages, run, false);
    AddProgressAndFinish(pages, run, false);
    const std::vector<TStep> expected = {
        {"Welcome", false, true, kCaptionNext},          {"License", false, true, kCaptionNext},
        {"Setup", true, true, kCaptionNext},             {"ReadyToInstall", true, true, kCaptionInstall},
        {"Install", false, false, kCaptionNext},         {"Install", false, true, kCaptionNext},
        {"Finish", false, true, kCaptionFinish},
    };
    EXPECT_EQ(WalkForward(pages, run), expected) << portable;
    EXPECT_EQ(WalkBack(pages, Find(pages, "ReadyToInstall")),
              (std::vector<std::string>{"ReadyToInstall", "Setup", "License"}));
    EXPECT_EQ(pages.Count(), 7) << "the page stays in the list";
  }
}

TEST(WizardNavigation, UnansweredQuestionsKeepNextDisabled) {
  TFakeRun run;
  run.licenseAccepted = false;
  run.destinationSet = false;
  TFakePageList pages;
  AddInstallPages(pages, run, false);
  AddProgressAndFinish(pages, run, false);
  for (const std::string name : {"License", "Setup"}) {
    EXPECT_FALSE(States(pages, Find(pages, name)).NextEnabled) << name;
    EXPECT_EQ(NextClickAction(pages, Find(pages, name)), naNothing) << name;
  }
  EXPECT_TRUE(States(pages, Find(pages, "Setup")).BackVisible) << "Back does not depend on Next";
}

TEST(WizardNavigation, AnUnattendedInstallHasOnlyProgressAndFinish) {
  TFakeRun run;
  TFakePageList pages;
  AddProgressAndFinish(pages, run, false);
  const std::vector<TStep> expected = {
      {"Install", false, false, kCaptionNext}, {"Install", false, true, kCaptionNext},
      {"Finish", false, true, kCaptionFinish}};
  EXPECT_EQ(WalkForward(pages, run), expected);
}

TEST(WizardNavigation, UninstallRunsOfferUninstallOnTheirFirstPage) {
  for (const bool withParams : {true, false}) {
    TFakeRun run;
    TFakePageList pages;
    if (withParams) AddPage(pages, "UninstallParams");
    AddProgressAndFinish(pages, run, true);
    std::vector<TStep> expected = {{"Uninstall", false, false, kCaptionNext},
                                   {"Uninstall", false, true, kCaptionNext},
                                   {"UninstallFinish", false, true, kCaptionFinish}};
    if (withParams) expected.insert(expected.begin(), {"UninstallParams", false, true, kCaptionUninstall});
    EXPECT_EQ(WalkForward(pages, run), expected) << withParams;
  }
}

TEST(WizardNavigation, NoPageOrAPageOutsideTheListFindsNothing) {
  TFakeRun run;
  TFakePageList pages;
  EXPECT_EQ(pages.First(), nullptr);
  EXPECT_EQ(pages.Last(), nullptr);
  EXPECT_EQ(States(pages, nullptr), (TInstallerButtonStates{false, false, kCaptionFinish}));
  EXPECT_EQ(NextClickAction(pages, static_cast<const TFakePage*>(nullptr)), naNothing);
  AddProgressAndFinish(pages, run, false);
  const TFakePage stranger;
  EXPECT_EQ(pages.IndexOf(&stranger), -1);
  EXPECT_EQ(pages.GetNextPage(&stranger), nullptr);
  EXPECT_EQ(pages.GetPrevPage(&stranger), nullptr);
  EXPECT_FALSE(pages.CanGoNext(&stranger));
  EXPECT_EQ(NextClickAction(pages, &stranger), naNothing);
}

TEST(WizardNavigation, AllPagesAfterTheActiveOneUnavailableMakeItTheEnd) {
  TFakeRun run;
  TFakePageList pages;
  AddPage(pages, "Welcome");
  AddPage(pages, "Hidden")->Available = [] { return false; };
  EXPECT_EQ(pages.GetNextPage(pages.First()), nullptr);
  EXPECT_EQ(States(pages, pages.First()), (TInstallerButtonStates{false, false, kCaptionFinish}))
      << "not the last page: Next has nowhere to go";
  EXPECT_EQ(pages.GetPrevPage(pages.Last()), pages.First()) << "an unavailable page still scans";
}

TEST(WizardNavigation, OnlyAnUnattendedRunWithoutErrorsClosesAtTheEnd) {
  EXPECT_TRUE(ClosesOnFinished(true, false));
  EXPECT_FALSE(ClosesOnFinished(true, true));
  EXPECT_FALSE(ClosesOnFinished(false, false));
  EXPECT_FALSE(ClosesOnFinished(false, true));
}

}  // namespace
