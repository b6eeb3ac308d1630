// The XML text reader on any bytes, then both writers on what it built.
#include "XMLFuzzSupport.h"

extern "C" void OvixFuzzSeeds(std::vector<std::string>& seeds) {
  seeds.push_back(
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!DOCTYPE Install>\r\n"
      "<Install Version='2' xml:space=\"preserve\">  lead <Files Dest=\"{app}\\\" Mode=1 Flag>\r\n"
      "\t<File Name=\"a&amp;b.exe\">x&#65;&#x42;\\&lt;&nbsp;</File><Empty/>\r\n"
      "\t<!-- comment --><Data><![CDATA[<raw> &amp; ]]></Data></Files>tail</Install>");
  seeds.push_back("<?xml encoding=\"Windows-1251\"?><a b=\"\xC6\">\xC6<c xml:space='PRESERVE'> t </c>u</x></y>");
  seeds.push_back("<a x=\"1>2\" 'q'=v =>t<b/>u<c/><!-- open <![CDATA[ open </a>");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TDRXXMLDocument document;
  try {
    document.LoadFromString(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EDRXXMLDocument&) {  // a second root; the first one stays
  }
  xmlfuzz::ExpectWritersKeep(document, size % 8);
  return 0;
}
