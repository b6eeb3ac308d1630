#pragma once
// The library's dialogs and the captions they share: message boxes (a task
// dialog on Windows 7 and later, the system's message box before), the
// application's exception report and the language choice.
//
// Flags and results follow the Windows message-box conventions (MB_*, ID*);
// the values are repeated here so that the portable half needs no Windows
// header. An empty caption takes the caption of the icon kind ("Warning",
// "Error", "Information", "Confirm").

#include <array>
#include <cstdint>
#include <exception>
#include <vector>

#include "DRX.Strings.h"
#include "DRX.UI.Controls.ImageComboBox.h"

class TDRXIniFile;
class TDRXImageList;

// ---- Dialog strings ----

enum TDRXMsgDlgBtn {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose
};
inline constexpr int kMsgDlgBtnCount = mbClose + 1;

// The kind of a message: its icon and its default caption.
enum TDRXMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
inline constexpr int kMsgDlgTypeCount = mtCustom + 1;

// Captions of every dialog of the process; "&" marks the accelerator of the
// letter after it. Interface thread only.
struct TDRXDialogsStrs {
  UString ApplyCaption = u"Apply";
  UString FolderBrowserTitle = u"Browse Folder";
  // The new-folder button's caption and the name a new folder gets.
  UString NewFolder = u"New folder";
  UString RecursiveOption = u"Include sub-folders";
  std::array<UString, kMsgDlgBtnCount> ButtonCaptions = {
      u"&Yes",   u"&No",  u"OK",         u"Cancel",      u"&Abort", u"&Retry",
      u"&Ignore", u"&All", u"N&o to All", u"Yes to &All", u"&Help",  u"&Close"};
  std::array<UString, kMsgDlgTypeCount> Captions = {u"Warning", u"Error", u"Information", u"Confirm", u""};
};

// The process's strings, set to the defaults on first use. The wizard writes
// its language texts into them before it shows any dialog.
TDRXDialogsStrs& DialogsStrs();

// ---- Message boxes ----

namespace DRXMessageBox {
inline constexpr uint32_t kOK = 0x0, kOKCancel = 0x1, kAbortRetryIgnore = 0x2, kYesNoCancel = 0x3, kYesNo = 0x4,
                          kRetryCancel = 0x5;
inline constexpr uint32_t kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInformation = 0x40;
inline constexpr uint32_t kDefButton2 = 0x100, kDefButton3 = 0x200;
inline constexpr int kIdOK = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7;
}  // namespace DRXMessageBox

// The icon a message box shows; a question shows the information icon.
enum TDRXMessageIcon { miNone, miWarning, miError, miInformation };

struct TDRXMessageButton {
  TDRXMsgDlgBtn Button;
  int Result;  // IDOK ... IDNO
};

// What a message box of some flags shows and answers.
struct TDRXMessageBoxLayout {
  std::vector<TDRXMessageButton> Buttons;  // left to right, never empty
  int DefaultResult = DRXMessageBox::kIdOK;  // result code of the preselected button
  TDRXMsgDlgType Kind = mtCustom;
  TDRXMessageIcon Icon = miNone;
};

TDRXMessageBoxLayout MessageBoxLayout(uint32_t flags);
// The caption a box gets: `caption`, or the kind's caption when it is empty.
UString MessageBoxCaption(const UString& caption, TDRXMsgDlgType kind);
// The caption a box of these flags gets when none is given.
UString DefaultMessageBoxCaption(uint32_t flags);
// The answer of a box that is cancelled (Esc, Alt+F4): its Cancel button's
// code; a box of one button answers with that button; 0 for a box that cannot
// be cancelled (Yes/No, Abort/Retry/Ignore).
int CancelledMessageBoxResult(const TDRXMessageBoxLayout& layout);
// The result of a box whose dialog ended with `pressed`: a button's code as it
// is, IDCANCEL as CancelledMessageBoxResult says, anything else (a dialog that
// could not be shown) 0.
int MessageBoxAnswer(const TDRXMessageBoxLayout& layout, int pressed);

// Shows a modal message box owned by `owner` (the application's main window
// when none; the calling thread's active window when there is no main window
// either) and returns the pressed button's result code: through a task dialog
// on Windows 7 and later (0 when it cannot be shown), otherwise — also in a
// program whose manifest does not select version 6 of the common controls —
// through the system's message box. The application counts it as a modal dialog.
int ShowMessageBox(void* owner, const UString& text, const UString& caption, uint32_t flags);

// The task dialog behind ShowMessageBox: the layout's buttons with the
// process's captions, its icon and default button.
class TDRXMessageTaskDialog {
 public:
  TDRXMessageTaskDialog(TDRXMessageBoxLayout layout, UString caption, UString text);
  // The pressed button's result code; 0 when the dialog cannot be shown.
  int Execute(void* owner) const;

 private:
  TDRXMessageBoxLayout layout_;
  UString caption_, text_;
};

// ---- Language choice ----

// The language list of the language dialog: one item per language file, text
// its "Name", image its "Icon" (none when it cannot be read), tag its
// "LangId", data the caller's value; kept sorted by name ignoring case, a name
// equal to an existing one after it. Returns the item's index.
int AddLanguageItem(TDRXImageComboBoxItems& items, TDRXImageList& images, const TDRXIniFile& lang, intptr_t data);
// The item selected at first: the one whose language id is the user's UI
// language, else the one of 1033 (English, United States), else the first;
// -1 for an empty list.
int DefaultLanguageItem(const TDRXImageComboBoxItems& items, int32_t userLangId);
// The data value of the item at `index`; -1 when no item is selected there.
intptr_t LanguageItemData(const TDRXImageComboBoxItems& items, int index);

#ifdef _WIN32
#include "DRX.UI.Controls.ImageList.h"
#include "DRX.UI.Forms.h"

class TDRXButton;
class TDRXEdit;
class TDRXImageComboBox;
class TDRXLabel;

// A row of buttons along the bottom of a dialog, `height` high (96 DPI), and
// a button in it: as wide as given, aligned to the row's left or right end
// (the first one right is the rightmost), ending the dialog with `result`
// unless that is mrNone. Both are owned by the row's owner.
TDRXCustomControl* AddDialogButtonRow(TDRXCustomControl& parent, int32_t height);
TDRXButton* AddDialogButton(TDRXCustomControl& row, UStringView caption, int32_t width, TAlign side,
                            TModalResult result);

// A dialog in the skin's background colour, light or dark as the
// application is, with the toolkit's default captions.
class TDRXSkinnedDialog : public TDRXForm {
 public:
  explicit TDRXSkinnedDialog(TDRXComponent* owner = nullptr);
  UString ClassName() const override { return u"TDRXSkinnedDialog"; }

 protected:
  void DarkModeChanged() override;
};

// The question for one line of text: the prompt (none when empty) above an
// edit holding the value, OK and Cancel under them; Enter means OK, Esc
// Cancel. Centred on its owner form, or on the screen without one.
class TDRXInputQueryDialog : public TDRXSkinnedDialog {
 public:
  TDRXInputQueryDialog(TDRXComponent* owner, UStringView caption, UStringView prompt, UStringView value);
  UString ClassName() const override { return u"TDRXInputQueryDialog"; }

  UString Value() const;
  TDRXEdit& Edit() const { return *edit_; }
  // Shows the dialog modally; true when it was closed with OK.
  bool Execute();
  // Asks for the text: true on OK, with the text in `value`; `value` stays as
  // it was on Cancel.
  static bool Query(TDRXForm* owner, UStringView caption, UStringView prompt, UString& value);
  // Makes the window and selects the whole value, so that typing replaces it
  // (Execute does so before it shows the dialog).
  void SelectValue();

 private:
  TDRXLabel* prompt_;
  TDRXEdit* edit_;
};

// The language dialog shown before any language is loaded: "Select Language",
// a list of the languages with their 16 × 16 icons and an "OK" button, always
// on top, without a close button in its title bar. A subclass supplies the
// languages (Populate, through AddLanguage); however the dialog is closed
// (OK, Esc, Enter), the item selected then is the answer.
class TDRXCustomLanguageDialog : public TDRXSkinnedDialog {
 public:
  TDRXCustomLanguageDialog();
  ~TDRXCustomLanguageDialog() override;
  UString ClassName() const override { return u"TDRXCustomLanguageDialog"; }

  // The data value of the selected item, -1 when none is selected.
  intptr_t SelectedData() const;
  TDRXImageComboBox& ComboBox() const { return *comboBox_; }
  const TDRXImageList& Images() const { return images_; }

 protected:
  // Fills the list (Populate) and selects the default item for `userLangId`;
  // the subclass's constructor calls it.
  void PopulateAndSelect(int32_t userLangId);
  virtual void Populate() = 0;
  void AddLanguage(const TDRXIniFile& lang, intptr_t data);

  void HandleCreated() override;
  bool FormKey(uint16_t key, TShiftState shift) override;

 private:
  TDRXImageList images_;
  TDRXImageComboBox* comboBox_;
  TDRXButton* okButton_;
};
#endif

// ---- Exception report ----

// The text of an exception for a report: its message (ExceptionMessage)
// followed by the non-empty messages of the exceptions nested in it
// (std::throw_with_nested), innermost last, one per line.
UString ExceptionMessageText(const std::exception_ptr& error);

// The application's report of an exception that escaped an event handler: its
// text (ExceptionMessageText) in a message box with the error icon and
// one OK button, captioned with the application's title and owned by the active
// window, else by the main window. The program goes on.
class TDRXExceptionMessageDialog {
 public:
  static void Show(const std::exception_ptr& error);
  // Makes the report the application's exception handler (done when the unit
  // is initialised); before Windows 7 that handler shows the application's
  // plain report instead.
  static void Install();
};
