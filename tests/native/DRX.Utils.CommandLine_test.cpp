#include "DRX.Utils.CommandLine.h"

#include <gtest/gtest.h>

using namespace std::literals;

namespace {

// "NAME(value|value) (plain)" for every command in order.
UString Render(const TDRXCommandLineProcessor::TCommands& commands) {
  UString text;
  for (const auto& command : commands) {
    if (!text.empty()) text.push_back(u' ');
    text += command->Name + u"(" + command->GetDelimitedText(u"|", false) + u")";
  }
  return text;
}

}  // namespace

TEST(CommandLine, ParamsFollowTheProgramPath) {
  const struct {
    UStringView commandLine, params;
  } cases[] = {
      {u"", u""},
      {u" \t\r\n", u""},
      {u"setup.exe", u""},
      {u"\"C:\\My Files\\setup.exe\"", u""},
      {u"\"C:\\My Files\\setup.exe\" /AUTO", u"/AUTO"},
      {u"'C:\\My Files\\setup.exe' /AUTO", u"/AUTO"},
      {u"C:\\setup.exe   /AUTO  /SILENT \r\n", u"/AUTO  /SILENT"},
      {u"\"C:\\setup.exe\"/AUTO", u"/AUTO"},
      {u"\"\" /AUTO", u"/AUTO"},
      {u"  \"setup.exe\"\t/AUTO=\"a b\"", u"/AUTO=\"a b\""},
      {u"setup.exe \0 /AUTO"sv, u"/AUTO"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetCommandLineParams(c.commandLine), c.params) << Utf16ToUtf8(c.commandLine);
}

TEST(CommandLine, ParsesSwitchesValuesAndPlainText) {
  const struct {
    UStringView commandLine, commands;
  } cases[] = {
      {u"", u""},
      {u"/AUTO", u"AUTO()"},
      {u"-AUTO", u"AUTO()"},
      {u"/AUTO /UPDATE -RUN", u"AUTO() UPDATE() RUN()"},
      {u"/AUTO=C:\\Ovix", u"AUTO(C:\\Ovix)"},
      {u"/AUTO=\"C:\\Program Files\\Ovix\"", u"AUTO(C:\\Program Files\\Ovix)"},
      {u"/PATH=\"C:\\Ovix\\\" /AUTO", u"PATH(C:\\Ovix\\) AUTO()"},
      {u"/AUTO=C:\\Program Files\\Ovix", u"AUTO(C:\\Program) (Files\\Ovix)"},
      {u"/REG=L1;D1", u"REG(L1|D1)"},
      {u"/REG=;;L1;;", u"REG(L1)"},
      {u"/REG=L1; D1", u"REG(L1) (D1)"},
      {u"/AUTO=\"\"", u"AUTO()"},
      {u"/AUTO=\"C:\\Ovix", u"AUTO(C:\\Ovix)"},
      {u"/AUTO=C:\\a\"b", u"AUTO(C:\\a\"b)"},
      {u"/A=x-y=z/w", u"A(x-y=z/w)"},
      {u"/A=1 /B=2 /A=3", u"A(1) B(2) A(3)"},
      {u"/AUTO foo", u"AUTO(foo)"},
      {u"foo -AUTO", u"(foo -AUTO)"},
      {u"foo /AUTO", u"(foo) AUTO()"},
      {u"one  two", u"(one  two)"},
      {u"\"a b\" c", u"(a b|c)"},
      {u"a C:\\x \\\\server\\share", u"(a|C:\\x|\\\\server\\share)"},
      {u"a\r\nb", u"(a|b)"},
      {u"/ AUTO", u"(/ AUTO)"},
      {u"/=x", u"(/=x)"},
      // A switch quoted as a whole, as scripts and Wine quote an argument with a space.
      {u"\"/AUTO=C:\\Program Files\\Ovix\" /SILENT", u"AUTO(C:\\Program Files\\Ovix) SILENT()"},
      {u"\"/AUTO=C:\\Program Files\\Ovix\\\\\"", u"AUTO(C:\\Program Files\\Ovix\\\\)"},
      {u"\"/AUTO\" \"/SILENT\"", u"AUTO() SILENT()"},
      {u"\"-AUTO=C:\\a b\"", u"AUTO(C:\\a b)"},
      {u"\"/REG=L1;D1\"", u"REG(L1;D1)"},
      {u"\"/AUTO=\"", u"AUTO()"},
      {u"\"/AUTO=C:\\x\" foo", u"AUTO(C:\\x) (foo)"},
      {u"\"/SILENT\" foo", u"SILENT(foo)"},
      {u"foo \"/AUTO=a b\"", u"(foo) AUTO(a b)"},
      {u"foo \"-AUTO=x\"", u"(foo|-AUTO=x)"},
      {u"/X=\"/AUTO=y\"", u"X(/AUTO=y)"},
      {u"/X \"/AUTO=a b\"", u"X() AUTO(a b)"},
      {u"\"/AUTO x\"", u"(/AUTO x)"},
      {u"\"/AUTO-X=1\"", u"(/AUTO-X=1)"},
      {u"\"/ AUTO\"", u"(/ AUTO)"},
      {u"\"/=x\"", u"(/=x)"},
      {u"\"/\"", u"(/)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Render(TDRXCommandLineProcessor::Parse(c.commandLine)), c.commands) << Utf16ToUtf8(c.commandLine);
}

TEST(CommandLine, SwitchLookupTakesTheFirstMatchIgnoringCase) {
  const struct {
    UStringView commandLine, name;
    bool found;
    UStringView value;
  } cases[] = {
      {u"/auto", u"AUTO", true, u""},
      {u"/AUTOX", u"AUTO", false, u""},
      {u"/AUTO", u"AUTOX", false, u""},
      {u"/REG=L1;D1", u"reg", true, u"L1;D1"},
      {u"/PATH=\"C:\\A\\\" /PATH=\"C:\\B\\\"", u"PATH", true, u"C:\\A\\"},
      {u"foo -AUTO", u"AUTO", false, u""},
      {u"/SKIPUAC=123 /AUTO=\"D:\\Ovix\" /SILENT", u"Auto", true, u"D:\\Ovix"},
      {u"\"/AUTO=C:\\Program Files\\Ovix\" /SILENT", u"AUTO", true, u"C:\\Program Files\\Ovix"},
      {u"\"/AUTO=C:\\Program Files\\Ovix\" /SILENT", u"SILENT", true, u""},
      {u"/PATH=\"C:\\Ovix\\\" \"/AUTO=C:\\a b\" \"/SILENT\"", u"SILENT", true, u""},
      {u"\"/REG=L1;D1\"", u"REG", true, u"L1;D1"},
      {u"", u"AUTO", false, u""},
  };
  for (const auto& c : cases) {
    UString value = u"stale";
    EXPECT_EQ(CommandLineGetSwitchValue(c.commandLine, c.name, value), c.found) << Utf16ToUtf8(c.commandLine);
    EXPECT_EQ(value, c.value) << Utf16ToUtf8(c.commandLine);
    EXPECT_EQ(CommandLineHasSwitch(c.commandLine, c.name), c.found) << Utf16ToUtf8(c.commandLine);
  }
}
