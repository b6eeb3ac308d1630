#pragma once
// The text form of component streams, in which forms are authored:
//
//   ; a comment (also after a value)
//   object InstallerForm: TInstallerForm     a component: its name, its class
//     ClientWidth = 640                      a property (dotted names: Font.Name)
//     object bNext: TDRXButton               a child, in stream order
//       OnClick = bNextClick
//     end
//   end
//
// Values, here and in the text form of skins: integers (-11), texts in double
// quotes ("" inside stands for one), identifiers (clWhite, bsSingle; True and
// False are Booleans) and sets ([akLeft, akBottom]). Mistakes raise
// EComponentTextError "line %d: %s".

#include "DRX.Classes.ComponentStream.h"
#include "DRX.Exceptions.h"

class EComponentTextError : public Exception { using Exception::Exception; };

// A name of letters, digits, "_" and ".", not starting with a digit or ".".
bool IsComponentTextIdent(UStringView text);

// The statements of a text: its lines without comments (from a ';' outside a
// text) and surrounding blanks; lines left empty are skipped.
class TComponentTextLines {
 public:
  explicit TComponentTextLines(UStringView text) : text_(text) {}
  bool Next();
  const UString& Statement() const { return statement_; }
  int Line() const { return line_; }

 private:
  UStringView text_;
  size_t position_ = 0;
  int line_ = 0;
  UString statement_;
};

// "name = value" split at the first "=", both trimmed; a statement without
// "=", a name that is no identifier or an empty value raise EComponentTextError.
struct TComponentTextAssignment {
  UString Name;
  UString Value;
};
TComponentTextAssignment SplitComponentTextAssignment(UStringView statement);
// One value as written after "="; its mistakes raise EComponentTextError
// with the bare message ("integer expected"), for the caller to place.
TDRXStreamValue ParseComponentTextValue(UStringView value);

// The whole text: exactly one top-level component.
TDRXStreamComponent ReadComponentText(UStringView text);
