#include "DRX.Utils.CommandLine.h"

#include "DRX.Platform.h"
#include "DRX.Utils.Parser.h"

using namespace std::literals;

namespace {

using TCommand = TDRXCommandLineProcessor::TCommand;
using TCommands = TDRXCommandLineProcessor::TCommands;

// Turns a parameter text into commands, one token at a time. Plain text is
// collected in a buffer and flushed as a value when a value ends; a switch
// starts with "/" (or "-" where it cannot continue plain text) after a space
// or at the start, and takes values after "=", separated by ";".
class TDRXCommandLineParser {
 public:
  explicit TDRXCommandLineParser(UStringView commandLine) {
    tokenizer_.SkipDelimiters = false;
    tokenizer_.SkipSpaces = false;
    tokenizer_.QuotedTextAsSingleToken = true;
    tokenizer_.SetText(commandLine);
  }

  TCommands Execute() {
    TDRXParserToken token;
    while (tokenizer_.GetToken(token)) {
      Handle(token, tokenizer_.TokenText(token));
      previous_ = tokenizer_.TokenText(token);
    }
    Flush();
    return std::move(commands_);
  }

 private:
  enum TParserState { psArgument, psSeparated, psSwitchPrefix, psSwitchName, psSwitchValue };

  void Handle(const TDRXParserToken& token, UStringView text) {
    switch (state_) {
      case psArgument: HandleArgument(token, text); break;
      case psSeparated: HandleSeparated(token, text); break;
      case psSwitchPrefix: HandleSwitchPrefix(token, text); break;
      case psSwitchName: HandleSwitchName(token, text); break;
      case psSwitchValue: HandleSwitchValue(token, text); break;
    }
  }

  void HandleArgument(const TDRXParserToken& token, UStringView text) {
    switch (token.Kind) {
      case tkSpace:
        state_ = psSeparated;
        break;
      case tkDelimiter:
      case tkQuote:
        if (text[0] == u'\r' || text[0] == u'\n') {
          Flush();
        } else {
          buffer_.push_back(text[0]);
        }
        break;
      case tkQuotedText:
        Flush();
        AddValue(text);
        break;
      case tkWord:
        // A path starts a value of its own: "C:..." or "\\server...".
        if ((text.size() > 1 && text[1] == u':') || StartsWith(text, u"\\\\")) Flush();
        buffer_.append(text);
        break;
    }
  }

  // "-" is a switch prefix unless it continues plain text that no switch precedes ("foo -bar").
  bool IsSwitchPrefix(char16_t c) const { return c == u'/' || (c == u'-' && (!commands_.empty() || buffer_.empty())); }

  void HandleSeparated(const TDRXParserToken& token, UStringView text) {
    if (token.Kind == tkDelimiter && IsSwitchPrefix(text[0])) {
      state_ = psSwitchPrefix;
      return;
    }
    if (token.Kind == tkQuotedText && HandleQuotedSwitch(text)) return;
    state_ = psArgument;
    buffer_.append(previous_);
    HandleArgument(token, text);
  }

  void HandleSwitchPrefix(const TDRXParserToken& token, UStringView text) {
    if (token.Kind == tkWord) {
      StartCommand(text);
      state_ = psSwitchName;
      return;
    }
    state_ = psArgument;
    buffer_.push_back(u' ');
    buffer_.append(previous_);
    HandleArgument(token, text);
  }

  // A switch quoted as a whole, as PowerShell, .NET, Python and Wine quote an
  // argument that holds a space: "/AUTO=C:\Program Files\Ovix" reads as
  // /AUTO="C:\Program Files\Ovix", and "/SILENT" as /SILENT. Anything else in
  // quotes is plain text.
  bool HandleQuotedSwitch(UStringView text) {
    if (text.empty() || !IsSwitchPrefix(text[0])) return false;
    size_t nameEnd = 1;
    while (nameEnd < text.size() && tokenizer_.Delimiters.find(text[nameEnd]) == UString::npos) ++nameEnd;
    const bool hasValue = nameEnd < text.size();
    if (nameEnd == 1 || (hasValue && text[nameEnd] != u'=')) return false;
    StartCommand(text.substr(1, nameEnd - 1));
    if (hasValue) AddValue(text.substr(nameEnd + 1));
    state_ = hasValue ? psSwitchValue : psSwitchName;
    return true;
  }

  void StartCommand(UStringView name) {
    Flush();
    commands_.push_back(std::make_unique<TCommand>());
    current_ = commands_.back().get();
    current_->Name = UString(name);
  }

  void HandleSwitchName(const TDRXParserToken& token, UStringView text) {
    if (token.Kind == tkDelimiter && text[0] == u'=') {
      state_ = psSwitchValue;
      return;
    }
    state_ = psArgument;
    HandleArgument(token, text);
  }

  void HandleSwitchValue(const TDRXParserToken& token, UStringView text) {
    switch (token.Kind) {
      case tkSpace:
        Flush();
        state_ = psSeparated;
        current_ = nullptr;
        break;
      case tkDelimiter:
        if (text[0] == u';') {
          Flush();
        } else {
          buffer_.push_back(text[0]);
        }
        break;
      case tkQuotedText:
      case tkWord:
        HandleArgument(token, text);
        break;
      case tkQuote:
        break;
    }
  }

  void Flush() {
    AddValue(buffer_);
    buffer_.clear();
  }

  void AddValue(UStringView value) {
    const UString trimmed = Trim(value);
    if (trimmed.empty()) return;
    if (!current_) {
      commands_.push_back(std::make_unique<TCommand>());
      current_ = commands_.back().get();
    }
    current_->Add(trimmed);
  }

  TDRXParser tokenizer_{u"-/=; \r\n", u"\"", u" "};
  TCommands commands_;
  TCommand* current_ = nullptr;
  UString buffer_;
  UStringView previous_;
  TParserState state_ = psSeparated;
};

const TCommand* FindSwitch(const TCommands& commands, UStringView name) {
  for (const auto& command : commands)
    if (SameText(command->Name, name)) return command.get();
  return nullptr;
}

}  // namespace

TCommands TDRXCommandLineProcessor::Parse(UStringView commandLine) {
  return TDRXCommandLineParser(commandLine).Execute();
}

UString GetCommandLineParams(UStringView commandLine) {
  const UString text = Trim(commandLine);
  TDRXParser parser(u" \r\n", u"\"'", u" \r\n\t\0"sv);
  parser.SkipDelimiters = false;
  parser.QuotedTextAsSingleToken = true;
  parser.SetText(text);
  TDRXParserToken programPath;
  if (!parser.GetToken(programPath)) return {};
  return Trim(UStringView(text).substr(parser.Position()));
}

bool CommandLineHasSwitch(UStringView commandLine, UStringView name) {
  return FindSwitch(TDRXCommandLineProcessor::Parse(commandLine), name) != nullptr;
}

bool CommandLineGetSwitchValue(UStringView commandLine, UStringView name, UString& value) {
  const TCommands commands = TDRXCommandLineProcessor::Parse(commandLine);
  const TCommand* command = FindSwitch(commands, name);
  value = command ? command->GetDelimitedText(u";", false) : UString();
  return command != nullptr;
}
