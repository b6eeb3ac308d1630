#include "uInstaller.Core.Script.h"

#include "DRX.FileFormats.XML.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"

UString TInstallerScriptFile::GetSourceName() const { return Source.empty() ? ExtractFileName(Name) : Source; }

bool TInstallerScriptFile::MatchesFamily(UStringView family) const {
  return LangFamily.empty() || SameText(LangFamily, family);
}

void TInstallerScriptGroup::Load(const TDRXXMLNode& node) {
  for (int i = 0; i < node.Count(); ++i) LoadItem(*node.Children(i));
  if (node.Count() == 0 && !node.Text.empty()) AddFile().Name = node.Text;
}

void TInstallerScriptGroup::LoadItem(const TDRXXMLNode& node) {
  if (!SameXMLName(node.Name, "File")) return;
  TInstallerScriptFile& file = AddFile();
  file.Source = node.Text;
  file.Name = node.Attributes.GetValue("name");
  file.LangFamily = node.Attributes.GetValue("lang-family");
}

TInstallerScriptFile& TInstallerScriptGroup::AddFile() {
  files_.push_back(std::make_unique<TInstallerScriptFile>());
  return *files_.back();
}

bool TInstallerScriptGroup::FindByFamily(UStringView family, TInstallerScriptFile*& file) const {
  for (const auto& candidate : files_) {
    if (candidate->MatchesFamily(family)) {
      file = candidate.get();
      return true;
    }
  }
  return false;
}

void TInstallerScript::LoadFromStream(TStream& stream) {
  TDRXXMLDocument document(stream);
  TDRXXMLNode* root = document.Children(0);
  if (!root) return;
  TDRXXMLNode* license = nullptr;
  if (root->FindNode({"setup", "license"}, license)) License.Load(*license);
  const TDRXXMLNode* product = root->FindNode("product");
  if (!product) return;
  for (int i = 0; i < product->Count(); ++i) {
    const TDRXXMLNode& child = *product->Children(i);
    if (SameXMLName(child.Name, "Components")) {
      Components.Load(child);
    } else if (SameXMLName(child.Name, "Actions")) {
      Actions.Load(child);
    } else if (SameXMLName(child.Name, "Shortcuts")) {
      Shortcuts.Load(child);
    } else if (SameXMLName(child.Name, "Settings")) {
      for (int k = 0; k < child.Count(); ++k) {
        const TDRXXMLAttributes& attributes = child.Children(k)->Attributes;
        Settings.Add(attributes.GetValue("name") + u"=" + attributes.GetValue("value"));
      }
    }
  }
}

UString TInstallerScript::GetSetting(UStringView name) const {
  const int index = Settings.IndexOfName(name);
  return index < 0 ? UString() : Settings.ValueFromIndex(index);
}
