#include "SkinCompiler.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "DRX.UI.Resources.Text.h"
#include "TextureBuilder.h"

namespace {

std::string ReadFile(const std::filesystem::path& file, bool required) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (required) throw std::runtime_error(file.string() + ": cannot be read");
    return {};
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TCompiledSkin CompileSkin(const std::filesystem::path& skinFile) {
  const TTextureSources sources{skinFile.parent_path(), ReadFile(std::filesystem::path(skinFile).replace_extension(".css"), false)};
  const TDRXSkinImageBuilder builder = [&](const TDRXSkinTextImage& image) {
    try {
      return BuildTextureData(image, sources);
    } catch (const std::exception& e) {
      throw Exception(Utf8ToUtf16(e.what()));
    }
  };
  TCompiledSkin skin;
  skin.Name = skinFile.stem().string();
  try {
    TMemoryStream stream;
    WriteComponentStream(stream, ReadSkinText(Utf8ToUtf16(ReadFile(skinFile, true)), builder));
    skin.Stream = std::string(stream.Bytes());
    stream.SetPosition(0);
    skin.Collection = std::make_unique<TDRXCustomResourceCollection>();
    skin.Collection->LoadFromStream(stream);
  } catch (const Exception& e) {
    throw std::runtime_error(skinFile.string() + ": " + Utf16ToUtf8(e.Message()));
  }
  return skin;
}
