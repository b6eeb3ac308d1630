#include "FormCompiler.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "DRX.Classes.ComponentText.h"
#include "DRX.UI.FormLayout.h"

std::string CompileForm(const std::filesystem::path& formFile) {
  std::ifstream in(formFile, std::ios::binary);
  if (!in) throw std::runtime_error(formFile.string() + ": cannot be read");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    TMemoryStream stream;
    WriteComponentStream(stream, ReadComponentText(Utf8ToUtf16(text)));
    stream.SetPosition(0);
    ReadFormLayout(stream);
    return std::string(stream.Bytes());
  } catch (const Exception& e) {
    throw std::runtime_error(formFile.string() + ": " + Utf16ToUtf8(e.Message()));
  }
}
