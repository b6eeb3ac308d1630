// skinc: the skin compiler of the build machine.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "DRX.Graphics.SkinImage.h"
#include "FormCompiler.h"
#include "Review.h"
#include "SkinCompiler.h"

namespace {

constexpr char kUsage[] =
    "usage: skinc SKIN OUT                 compile the skin text SKIN and its SVG textures into the stream OUT\n"
    "       skinc --form FORM OUT          compile the form text FORM into the stream OUT\n"
    "       skinc --png DIR SKIN...        write every texture frame at every DPI as PNG into DIR/<skin>/\n"
    "       skinc --sheet PNG [--zoom N] [--dpi A,B] [--match TEXT] SKIN...\n"
    "                                      write one contact sheet of the skins' textures (96 and 144 DPI),\n"
    "                                      of those whose identifier holds TEXT\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

void WriteFile(const std::string& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out.flush()) throw std::runtime_error(file + ": cannot be written");
}

std::vector<int> ParseDPIs(const std::string& list) {
  std::vector<int> dpis;
  for (size_t start = 0; start <= list.size();) {
    const size_t comma = std::min(list.find(',', start), list.size());
    dpis.push_back(std::stoi(list.substr(start, comma - start)));
    start = comma + 1;
  }
  return dpis;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() == 2 && args[0][0] != '-') {
    WriteFile(args[1], CompileSkin(args[0]).Stream);
    return 0;
  }
  if (args.size() == 3 && args[0] == "--form") {
    WriteFile(args[2], CompileForm(args[1]));
    return 0;
  }
  if (args.size() >= 3 && args[0] == "--png") {
    for (size_t i = 2; i < args.size(); ++i) WriteTexturePngs(CompileSkin(args[i]), args[1]);
    return 0;
  }
  if (args.size() >= 3 && args[0] == "--sheet") {
    int zoom = 1;
    std::vector<int> dpis{96, 144};
    std::string match;
    size_t i = 2;
    for (; i + 1 < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
      if (args[i] == "--zoom") zoom = std::stoi(args[i + 1]);
      else if (args[i] == "--dpi") dpis = ParseDPIs(args[i + 1]);
      else if (args[i] == "--match") match = args[i + 1];
      else return Usage();
    }
    if (i == args.size() || zoom < 1 || zoom > 16) return Usage();
    std::vector<TCompiledSkin> skins;
    for (; i < args.size(); ++i) skins.push_back(CompileSkin(args[i]));
    std::vector<const TCompiledSkin*> sheet;
    for (const TCompiledSkin& skin : skins) sheet.push_back(&skin);
    WriteContactSheet(sheet, args[1], dpis, zoom, Utf8ToUtf16(match));
    return 0;
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  // The skins travel inside the program: the smallest stored form is worth the time here.
  SetSkinImageCompression(icMaximum);
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinc: %s\n", e.what());
    return 1;
  }
}
