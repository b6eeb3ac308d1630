#include "DRX.UI.Resources.Text.h"

#include <optional>

#include "DRX.Classes.ComponentText.h"
#include "DRX.Format.h"

namespace {

class TSkinTextReader {
 public:
  TSkinTextReader(UStringView text, const TDRXSkinImageBuilder& imageBuilder) : lines_(text), imageBuilder_(imageBuilder) {}

  TDRXStreamComponent Read() {
    while (lines_.Next()) {
      const UString& line = lines_.Statement();
      if (line[0] == u'[')
        StartItem(line);
      else
        ReadProperty(line);
    }
    FinishItem();
    TDRXStreamComponent root;
    root.ClassName = u"TDRXRootResourceCollectionImpl";
    root.Properties.push_back({u"Items", TDRXStreamValue::FromCollection(std::move(items_))});
    return root;
  }

 private:
  [[noreturn]] void Fail(UStringView message, int line = 0) const {
    throw ESkinTextError(Format(u"line %d: %s", {line ? line : lines_.Line(), message}));
  }

  void StartItem(const UString& line) {
    FinishItem();
    const size_t close = line.find(u']');
    if (close == UString::npos) Fail(u"\"]\" expected");
    const UString id = Trim(UStringView(line).substr(1, close - 1));
    const UString className = Trim(UStringView(line).substr(close + 1));
    if (!IsComponentTextIdent(id)) Fail(u"identifier expected between \"[\" and \"]\"");
    if (!IsComponentTextIdent(className)) Fail(u"resource class expected after \"]\"");
    item_ = TDRXStreamCollectionItem();
    item_->Properties.push_back({u"ID", TDRXStreamValue::FromString(id)});
    item_->Properties.push_back({u"ResourceClassName", TDRXStreamValue::FromString(className)});
    image_ = TDRXSkinTextImage{id, lines_.Line(), {}};
  }

  void ReadProperty(const UString& line) {
    if (!item_) Fail(u"a property before the first \"[identifier] class\"");
    TComponentTextAssignment assignment;
    try {
      assignment = SplitComponentTextAssignment(line);
    } catch (const EComponentTextError& e) {
      Fail(e.Message());
    }
    const UString& name = assignment.Name;
    const UString& value = assignment.Value;
    if (name == u"Image" || StartsWith(name, u"Image.")) {
      image_.Settings.push_back({name == u"Image" ? UString() : name.substr(6), value});
      return;
    }
    item_->Properties.push_back({u"Resource." + name, ParseValue(value)});
  }

  TDRXStreamValue ParseValue(const UString& value) const {
    try {
      return ParseComponentTextValue(value);
    } catch (const EComponentTextError& e) {
      Fail(e.Message());
    }
  }

  void FinishItem() {
    if (!item_) return;
    if (!image_.Settings.empty()) {
      if (!imageBuilder_) Fail(u"\"Image\" lines need an image builder", image_.Line);
      std::string data;
      try {
        data = imageBuilder_(image_);
      } catch (const ESkinTextError&) {
        throw;
      } catch (const Exception& e) {
        Fail(Format(u"%s: %s", {image_.ItemID, e.Message()}), image_.Line);
      }
      item_->Properties.push_back({u"Resource.Data", TDRXStreamValue::FromBinary(std::move(data))});
    }
    items_.push_back(std::move(*item_));
    item_.reset();
  }

  TComponentTextLines lines_;
  const TDRXSkinImageBuilder& imageBuilder_;
  std::optional<TDRXStreamCollectionItem> item_;
  TDRXSkinTextImage image_;
  std::vector<TDRXStreamCollectionItem> items_;
};

}  // namespace

UString TDRXSkinTextImage::Get(UStringView name, UStringView fallback) const {
  for (const auto& [setting, value] : Settings)
    if (setting == name) return value;
  return UString(fallback);
}

TDRXStreamComponent ReadSkinText(UStringView text, const TDRXSkinImageBuilder& imageBuilder) {
  return TSkinTextReader(text, imageBuilder).Read();
}
