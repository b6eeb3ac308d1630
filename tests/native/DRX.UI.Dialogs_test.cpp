#include "DRX.UI.Dialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "DRX.Exceptions.h"
#include "DRX.FileFormats.INI.h"
#include "DRX.UI.Controls.ImageList.h"

using namespace DRXMessageBox;

namespace {

std::exception_ptr Raised(const std::function<void()>& raise) {
  try {
    raise();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

std::vector<int> Results(const TDRXMessageBoxLayout& layout) {
  std::vector<int> results;
  for (const TDRXMessageButton& button : layout.Buttons) results.push_back(button.Result);
  return results;
}

std::vector<UString> Captions(const TDRXMessageBoxLayout& layout) {
  std::vector<UString> captions;
  for (const TDRXMessageButton& button : layout.Buttons) captions.push_back(DialogsStrs().ButtonCaptions[button.Button]);
  return captions;
}

}  // namespace

TEST(MessageBoxLayout, ButtonSetsFollowTheLowBitsOfTheFlags) {
  struct {
    uint32_t flags;
    std::vector<UString> captions;
    std::vector<int> results;
  } cases[] = {
      {kOK, {u"OK"}, {kIdOK}},
      {kOKCancel, {u"OK", u"Cancel"}, {kIdOK, kIdCancel}},
      {kAbortRetryIgnore, {u"&Abort", u"&Retry", u"&Ignore"}, {kIdAbort, kIdRetry, kIdIgnore}},
      {kYesNoCancel, {u"&Yes", u"&No", u"Cancel"}, {kIdYes, kIdNo, kIdCancel}},
      {kYesNo, {u"&Yes", u"&No"}, {kIdYes, kIdNo}},
      {kRetryCancel, {u"&Retry", u"Cancel"}, {kIdRetry, kIdCancel}},
      // Outside the six sets the order of the tests decides: 6 has bit 4, 7 all bits of 5.
      {0x6, {u"&Yes", u"&No"}, {kIdYes, kIdNo}},
      {0x7, {u"&Retry", u"Cancel"}, {kIdRetry, kIdCancel}},
      // Other bits (icons, default button, MB_TOPMOST) leave the set alone.
      {kYesNo | kIconError | kDefButton3 | 0x40000, {u"&Yes", u"&No"}, {kIdYes, kIdNo}},
  };
  for (const auto& c : cases) {
    const TDRXMessageBoxLayout layout = MessageBoxLayout(c.flags);
    EXPECT_EQ(Captions(layout), c.captions) << c.flags;
    EXPECT_EQ(Results(layout), c.results) << c.flags;
  }
}

TEST(MessageBoxLayout, IconFlagsGiveKindIconAndCaption) {
  struct {
    uint32_t flags;
    TDRXMsgDlgType kind;
    TDRXMessageIcon icon;
    UString caption;
  } cases[] = {
      {kOK, mtCustom, miNone, u""},
      {kIconWarning, mtWarning, miWarning, u"Warning"},
      {kIconError, mtError, miError, u"Error"},
      {kIconInformation, mtInformation, miInformation, u"Information"},
      {kIconQuestion, mtConfirmation, miInformation, u"Confirm"},
      // 0x70 holds every icon's bits: warning is tested first.
      {0x70, mtWarning, miWarning, u"Warning"},
      {kIconInformation | kIconError, mtError, miError, u"Error"},
  };
  for (const auto& c : cases) {
    const TDRXMessageBoxLayout layout = MessageBoxLayout(c.flags);
    EXPECT_EQ(layout.Kind, c.kind) << c.flags;
    EXPECT_EQ(layout.Icon, c.icon) << c.flags;
    EXPECT_EQ(DefaultMessageBoxCaption(c.flags), c.caption) << c.flags;
  }
  EXPECT_EQ(MessageBoxCaption(u"Setup", mtError), u"Setup");
}

TEST(MessageBoxLayout, DefaultButtonIsTheSecondOrThirdWhenThereIsOne) {
  struct {
    uint32_t flags;
    int defaultResult;
  } cases[] = {
      {kOKCancel | kIconQuestion | kDefButton2, kIdCancel},
      {kAbortRetryIgnore | kIconWarning | kDefButton2, kIdRetry},
      {kYesNoCancel | kDefButton3, kIdCancel},
      {kYesNoCancel, kIdYes},
      {kYesNoCancel | kDefButton2 | kDefButton3, kIdNo},
      {kOK | kDefButton2, kIdOK},
      {kYesNo | kDefButton3, kIdYes},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageBoxLayout(c.flags).DefaultResult, c.defaultResult) << c.flags;
}

TEST(MessageBoxLayout, CancellingAnswersCancelOrTheOnlyButton) {
  EXPECT_EQ(CancelledMessageBoxResult(MessageBoxLayout(kOK)), kIdOK);
  EXPECT_EQ(CancelledMessageBoxResult(MessageBoxLayout(kOKCancel)), kIdCancel);
  EXPECT_EQ(CancelledMessageBoxResult(MessageBoxLayout(kYesNoCancel)), kIdCancel);
  EXPECT_EQ(CancelledMessageBoxResult(MessageBoxLayout(kYesNo)), 0);
  EXPECT_EQ(CancelledMessageBoxResult(MessageBoxLayout(kAbortRetryIgnore)), 0);
}

TEST(MessageBoxLayout, AnAnswerOutsideTheButtonsIsAFailedBox) {
  const TDRXMessageBoxLayout yesNo = MessageBoxLayout(kYesNo), ok = MessageBoxLayout(kOK);
  EXPECT_EQ(MessageBoxAnswer(yesNo, kIdNo), kIdNo);
  EXPECT_EQ(MessageBoxAnswer(yesNo, kIdOK), 0);
  EXPECT_EQ(MessageBoxAnswer(yesNo, -1), 0);
  EXPECT_EQ(MessageBoxAnswer(yesNo, kIdCancel), 0);
  EXPECT_EQ(MessageBoxAnswer(ok, kIdCancel), kIdOK) << "Esc on a box of one button";
  EXPECT_EQ(MessageBoxAnswer(ok, 0), 0);
}

TEST(DialogsStrs, DefaultsAndReplacementsReachEveryLaterBox) {
  const TDRXDialogsStrs defaults;
  EXPECT_EQ(defaults.ApplyCaption, u"Apply");
  EXPECT_EQ(defaults.FolderBrowserTitle, u"Browse Folder");
  EXPECT_EQ(defaults.NewFolder, u"New folder");
  EXPECT_EQ(defaults.RecursiveOption, u"Include sub-folders");
  EXPECT_EQ(defaults.ButtonCaptions[mbNoToAll], u"N&o to All");
  EXPECT_EQ(defaults.ButtonCaptions[mbYesToAll], u"Yes to &All");
  EXPECT_EQ(defaults.ButtonCaptions[mbClose], u"&Close");
  EXPECT_EQ(defaults.Captions[mtCustom], u"");

  const TDRXDialogsStrs saved = DialogsStrs();
  DialogsStrs().ButtonCaptions[mbOK] = u"Ja";
  DialogsStrs().ButtonCaptions[mbCancel] = u"Abbrechen";
  EXPECT_EQ(Captions(MessageBoxLayout(kOKCancel)), (std::vector<UString>{u"Ja", u"Abbrechen"}));
  DialogsStrs() = saved;
}

TEST(ExceptionMessageText, FollowsNestedExceptionsSkippingEmptyMessages) {
  const std::exception_ptr chain = Raised([] {
    try {
      try {
        try {
          throw EOSError(u"innermost", 5);
        } catch (...) {
          std::throw_with_nested(Exception(u""));
        }
      } catch (...) {
        std::throw_with_nested(std::runtime_error("middle"));
      }
    } catch (...) {
      std::throw_with_nested(Exception(u"Cannot install"));
    }
  });
  EXPECT_EQ(ExceptionMessageText(chain), u"Cannot install\r\nmiddle\r\ninnermost");
}

TEST(ExceptionMessageText, PlainEmptyAndUnknownExceptions) {
  EXPECT_EQ(ExceptionMessageText(Raised([] { throw EInvalidOperation(u"Invalid Arguments"); })), u"Invalid Arguments");
  EXPECT_EQ(ExceptionMessageText(Raised([] {
              try {
                throw Exception(u"inner");
              } catch (...) {
                std::throw_with_nested(Exception(u""));
              }
            })),
            u"inner")
      << "an empty outer message adds no line break";
  EXPECT_EQ(ExceptionMessageText(Raised([] { throw 42; })), u"Unknown exception");
  EXPECT_EQ(ExceptionMessageText(nullptr), u"");
}

namespace {

// The language list of files given as "Name|LangId", data = their position.
struct TLanguageList {
  explicit TLanguageList(std::initializer_list<const char16_t*> files) {
    intptr_t data = 0;
    for (UStringView file : files) {
      const size_t bar = file.find(u'|');
      TDRXIniFile lang;
      lang.LoadFromText(u"[File]\r\nName=" + UString(file.substr(0, bar)) + u"\r\nLangId=" +
                        UString(file.substr(bar + 1)) + u"\r\nIcon=not a picture\r\n");
      AddLanguageItem(items, images, lang, data++);
    }
  }
  std::vector<UString> Names() const {
    std::vector<UString> names;
    for (const auto& item : items.Items()) names.push_back(item.Text);
    return names;
  }
  std::vector<intptr_t> Data() const {
    std::vector<intptr_t> data;
    for (const auto& item : items.Items()) data.push_back(item.Data);
    return data;
  }
  TDRXImageComboBoxItems items;
  TDRXImageList images;
};

}  // namespace

TEST(LanguageList, SortedByNameIgnoringCaseWithEqualNamesInEnumerationOrder) {
  const TLanguageList list({u"Русский|1049", u"english|1033", u"Deutsch|1031", u"English|2057", u"ENGLISH|3081"});
  EXPECT_EQ(list.Names(), (std::vector<UString>{u"Deutsch", u"english", u"English", u"ENGLISH", u"Русский"}));
  EXPECT_EQ(list.Data(), (std::vector<intptr_t>{2, 1, 3, 4, 0}));
  EXPECT_EQ(list.items[4].Tag, 1049);
  EXPECT_EQ(list.items[0].ImageIndex, -1) << "an icon that cannot be read gives no image";
  EXPECT_EQ(list.images.Count(), 0);
}

TEST(LanguageList, DefaultIsTheUserLanguageThen1033ThenTheFirst) {
  struct {
    std::initializer_list<const char16_t*> files;
    int32_t userLangId;
    intptr_t data;  // of the default item
  } cases[] = {
      {{u"English|1033", u"Deutsch|1031", u"Русский|1049"}, 1049, 2},
      {{u"English|1033", u"Deutsch|1031", u"Русский|1049"}, 1036, 0},
      // Neither the user's language nor 1033: the first alphabetically.
      {{u"Zulu|1077", u"English (UK)|2057", u"Deutsch|1031"}, 1036, 2},
      // The first of equal ids in list order.
      {{u"B|1031", u"A|1031"}, 1031, 1},
      {{}, 1033, -1},
  };
  for (const auto& c : cases) {
    const TLanguageList list(c.files);
    EXPECT_EQ(LanguageItemData(list.items, DefaultLanguageItem(list.items, c.userLangId)), c.data) << c.userLangId;
  }
}

TEST(LanguageList, NoSelectionHasNoData) {
  const TLanguageList list({u"English|1033"});
  EXPECT_EQ(LanguageItemData(list.items, -1), -1);
  EXPECT_EQ(LanguageItemData(list.items, 1), -1);
  EXPECT_EQ(LanguageItemData(list.items, 0), 0);
}
