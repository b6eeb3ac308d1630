#pragma once
// Command lines: splitting the program path off, parsing switches such as
// /NAME, -NAME, /NAME=value, /NAME="quoted value" and /NAME=a;b into commands,
// and looking a switch up by name (ignoring case, first match wins).

#include <memory>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "DRX.Strings.h"

class TDRXCommandLineProcessor {
 public:
  // One switch: its values are the items. An empty Name collects plain
  // arguments that precede any switch (or follow a switch's value).
  class TCommand : public TDRXStringList {
   public:
    UString Name;
  };
  // In the order of appearance.
  using TCommands = std::vector<std::unique_ptr<TCommand>>;

  static TCommands Parse(UStringView commandLine);
};

// The command line without the program path (quoted, in apostrophes or bare), trimmed.
UString GetCommandLineParams(UStringView commandLine);
#ifdef _WIN32
// The parameters of the running process (GetCommandLineW).
UString GetCommandLineParams();
#endif

bool CommandLineHasSwitch(UStringView commandLine, UStringView name);
// The first switch of that name: its values joined by ";". False, and an empty
// value, when there is none.
bool CommandLineGetSwitchValue(UStringView commandLine, UStringView name, UString& value);
