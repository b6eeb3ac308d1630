#pragma once
// How the wizard moves between its pages: the page list with its forward and
// backward scans over the pages' own answers (CanGoBack, CanGoNext,
// IsAvailable), the state of the Back and Next buttons, and what a click on
// Next or the end of the installation does. Pure logic over any page type that
// answers those three questions, so that it is tested with fake pages.

#include <cstddef>
#include <memory>
#include <vector>

#include "DRX.Strings.h"
#include "uInstaller.Core.Classes.h"

// All pages of a run in sequence order; owns them. A page that is not
// available stays in the list (it counts in the step bar) but the scans step
// over it. The queries take the page on show; none (null) finds nothing.
template <class TPage>
class TInstallerPageListOf {
 public:
  // Constructs a page through its class and appends it.
  TPage* Add(const TClassRef<TPage>* pageClass) {
    pages_.push_back(pageClass->Create());
    return pages_.back().get();
  }
  // Appends a page made elsewhere.
  TPage* Add(std::unique_ptr<TPage> page) {
    pages_.push_back(std::move(page));
    return pages_.back().get();
  }

  int Count() const { return static_cast<int>(pages_.size()); }
  TPage* Items(int index) const { return pages_[static_cast<size_t>(index)].get(); }
  TPage* First() const { return pages_.empty() ? nullptr : pages_.front().get(); }
  TPage* Last() const { return pages_.empty() ? nullptr : pages_.back().get(); }
  // -1 for a page that is not in the list.
  int IndexOf(const TPage* page) const {
    for (size_t i = 0; i < pages_.size(); ++i)
      if (pages_[i].get() == page) return static_cast<int>(i);
    return -1;
  }

  TPage* GetNextPage(const TPage* page) const { return Scan(page, +1); }
  TPage* GetPrevPage(const TPage* page) const { return Scan(page, -1); }
  bool CanGoNext(const TPage* page) const { return page && page->CanGoNext() && GetNextPage(page); }
  bool CanGoBack(const TPage* page) const { return page && page->CanGoBack() && GetPrevPage(page); }

 private:
  TPage* Scan(const TPage* page, int step) const {
    const int from = IndexOf(page);
    if (from < 0) return nullptr;
    for (int i = from + step; i >= 0 && i < Count(); i += step)
      if (Items(i)->IsAvailable()) return Items(i);
    return nullptr;
  }

  std::vector<std::unique_ptr<TPage>> pages_;
};

// Language keys ("Common", key) of the Next button's captions.
inline constexpr UStringView kCaptionNext = u"bNext";
inline constexpr UStringView kCaptionInstall = u"bInstall";
inline constexpr UStringView kCaptionUninstall = u"bUninstall";
inline constexpr UStringView kCaptionFinish = u"bFinish";

// The caption key of Next from the page Next would show: none → "bFinish",
// an uninstall progress page → "bUninstall", an install progress page →
// "bInstall", anything else → "bNext". The uninstall page is a kind of install
// page, so it is tested first.
template <class TUninstallPage, class TInstallPage, class TPage>
UStringView NextCaptionKey(const TPage* next) {
  if (!next) return kCaptionFinish;
  if (dynamic_cast<const TUninstallPage*>(next)) return kCaptionUninstall;
  if (dynamic_cast<const TInstallPage*>(next)) return kCaptionInstall;
  return kCaptionNext;
}

// What the form shows in its buttons for the page on show. Back is hidden,
// not disabled, when it cannot be used; Next stays enabled on the last page,
// where it closes the wizard.
struct TInstallerButtonStates {
  bool BackVisible = false;
  bool NextEnabled = false;
  UStringView NextCaptionKey;
  bool operator==(const TInstallerButtonStates&) const = default;
};

template <class TUninstallPage, class TInstallPage, class TPage>
TInstallerButtonStates ButtonStatesFor(const TInstallerPageListOf<TPage>& pages, const TPage* active) {
  return {pages.CanGoBack(active), pages.CanGoNext(active) || (active && active == pages.Last()),
          NextCaptionKey<TUninstallPage, TInstallPage>(pages.GetNextPage(active))};
}

// What a click on Next does.
enum TInstallerNextAction { naNothing, naShowNextPage, naCloseForm };

template <class TPage>
TInstallerNextAction NextClickAction(const TInstallerPageListOf<TPage>& pages, const TPage* active) {
  if (pages.CanGoNext(active)) return naShowNextPage;
  if (active && active == pages.Last()) return naCloseForm;
  return naNothing;
}

// The form's answer to the installer's end: an unattended run (ifAuto) without
// errors closes the wizard; any other run goes on as if Next were clicked.
inline bool ClosesOnFinished(bool autoRun, bool hasErrors) { return autoRun && !hasErrors; }
