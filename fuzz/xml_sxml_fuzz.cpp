// The "SXML" reader on any bytes after the magic, then both writers on what it built.
#include "XMLFuzzSupport.h"

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  TDRXXMLDocument document;
  TDRXXMLNode* root = document.AddChild("Install");
  root->Attributes.Add("Version", u"2");
  root->Text = u"caf\u00E9";
  TDRXXMLNode* files = root->AddChild("Files");
  files->AddChild("File")->Attributes.Add("Name", u"a.exe");
  files->AddChild("File")->Text = u" padded ";
  root->AddChild("Install");
  seeds.push_back(xmlfuzz::Save(document, {}).substr(kSXMLMagic.size()));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return xmlfuzz::FuzzBinaryReader<TDRXBinaryXMLParser>(data, size);
}
