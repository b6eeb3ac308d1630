#include "DRX.Graphics.Colors.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "DRX.Graphics.Types.h"

namespace {

struct TNamedColor {
  const char16_t* Name;
  TDRXAlphaColor Value;
};

// The extended colour keywords of CSS Color Module Level 3, then claNull.
constexpr TNamedColor kNamedColors[] = {
    {u"claAliceblue", 0xFFF0F8FF}, {u"claAntiquewhite", 0xFFFAEBD7},
    {u"claAqua", 0xFF00FFFF}, {u"claAquamarine", 0xFF7FFFD4},
    {u"claAzure", 0xFFF0FFFF}, {u"claBeige", 0xFFF5F5DC},
    {u"claBisque", 0xFFFFE4C4}, {u"claBlack", 0xFF000000},
    {u"claBlanchedalmond", 0xFFFFEBCD}, {u"claBlue", 0xFF0000FF},
    {u"claBlueviolet", 0xFF8A2BE2}, {u"claBrown", 0xFFA52A2A},
    {u"claBurlywood", 0xFFDEB887}, {u"claCadetblue", 0xFF5F9EA0},
    {u"claChartreuse", 0xFF7FFF00}, {u"claChocolate", 0xFFD2691E},
    {u"claCoral", 0xFFFF7F50}, {u"claCornflowerblue", 0xFF6495ED},
    {u"claCornsilk", 0xFFFFF8DC}, {u"claCrimson", 0xFFDC143C},
    {u"claCyan", 0xFF00FFFF}, {u"claDarkblue", 0xFF00008B},
    {u"claDarkcyan", 0xFF008B8B}, {u"claDarkgoldenrod", 0xFFB8860B},
    {u"claDarkgray", 0xFFA9A9A9}, {u"claDarkgreen", 0xFF006400},
    {u"claDarkgrey", 0xFFA9A9A9}, {u"claDarkkhaki", 0xFFBDB76B},
    {u"claDarkmagenta", 0xFF8B008B}, {u"claDarkolivegreen", 0xFF556B2F},
    {u"claDarkorange", 0xFFFF8C00}, {u"claDarkorchid", 0xFF9932CC},
    {u"claDarkred", 0xFF8B0000}, {u"claDarksalmon", 0xFFE9967A},
    {u"claDarkseagreen", 0xFF8FBC8F}, {u"claDarkslateblue", 0xFF483D8B},
    {u"claDarkslategray", 0xFF2F4F4F}, {u"claDarkslategrey", 0xFF2F4F4F},
    {u"claDarkturquoise", 0xFF00CED1}, {u"claDarkviolet", 0xFF9400D3},
    {u"claDeeppink", 0xFFFF1493}, {u"claDeepskyblue", 0xFF00BFFF},
    {u"claDimgray", 0xFF696969}, {u"claDimgrey", 0xFF696969},
    {u"claDodgerblue", 0xFF1E90FF}, {u"claFirebrick", 0xFFB22222},
    {u"claFloralwhite", 0xFFFFFAF0}, {u"claForestgreen", 0xFF228B22},
    {u"claFuchsia", 0xFFFF00FF}, {u"claGainsboro", 0xFFDCDCDC},
    {u"claGhostwhite", 0xFFF8F8FF}, {u"claGold", 0xFFFFD700},
    {u"claGoldenrod", 0xFFDAA520}, {u"claGray", 0xFF808080},
    {u"claGrey", 0xFF808080}, {u"claGreen", 0xFF008000},
    {u"claGreenyellow", 0xFFADFF2F}, {u"claHoneydew", 0xFFF0FFF0},
    {u"claHotpink", 0xFFFF69B4}, {u"claIndianred", 0xFFCD5C5C},
    {u"claIndigo", 0xFF4B0082}, {u"claIvory", 0xFFFFFFF0},
    {u"claKhaki", 0xFFF0E68C}, {u"claLavender", 0xFFE6E6FA},
    {u"claLavenderblush", 0xFFFFF0F5}, {u"claLawngreen", 0xFF7CFC00},
    {u"claLemonchiffon", 0xFFFFFACD}, {u"claLightblue", 0xFFADD8E6},
    {u"claLightcoral", 0xFFF08080}, {u"claLightcyan", 0xFFE0FFFF},
    {u"claLightgoldenrodyellow", 0xFFFAFAD2}, {u"claLightgray", 0xFFD3D3D3},
    {u"claLightgreen", 0xFF90EE90}, {u"claLightgrey", 0xFFD3D3D3},
    {u"claLightpink", 0xFFFFB6C1}, {u"claLightsalmon", 0xFFFFA07A},
    {u"claLightseagreen", 0xFF20B2AA}, {u"claLightskyblue", 0xFF87CEFA},
    {u"claLightslategray", 0xFF778899}, {u"claLightslategrey", 0xFF778899},
    {u"claLightsteelblue", 0xFFB0C4DE}, {u"claLightyellow", 0xFFFFFFE0},
    {u"claLime", 0xFF00FF00}, {u"claLimegreen", 0xFF32CD32},
    {u"claLinen", 0xFFFAF0E6}, {u"claMagenta", 0xFFFF00FF},
    {u"claMaroon", 0xFF800000}, {u"claMediumaquamarine", 0xFF66CDAA},
    {u"claMediumblue", 0xFF0000CD}, {u"claMediumorchid", 0xFFBA55D3},
    {u"claMediumpurple", 0xFF9370DB}, {u"claMediumseagreen", 0xFF3CB371},
    {u"claMediumslateblue", 0xFF7B68EE}, {u"claMediumspringgreen", 0xFF00FA9A},
    {u"claMediumturquoise", 0xFF48D1CC}, {u"claMediumvioletred", 0xFFC71585},
    {u"claMidnightblue", 0xFF191970}, {u"claMintcream", 0xFFF5FFFA},
    {u"claMistyrose", 0xFFFFE4E1}, {u"claMoccasin", 0xFFFFE4B5},
    {u"claNavajowhite", 0xFFFFDEAD}, {u"claNavy", 0xFF000080},
    {u"claOldlace", 0xFFFDF5E6}, {u"claOlive", 0xFF808000},
    {u"claOlivedrab", 0xFF6B8E23}, {u"claOrange", 0xFFFFA500},
    {u"claOrangered", 0xFFFF4500}, {u"claOrchid", 0xFFDA70D6},
    {u"claPalegoldenrod", 0xFFEEE8AA}, {u"claPalegreen", 0xFF98FB98},
    {u"claPaleturquoise", 0xFFAFEEEE}, {u"claPalevioletred", 0xFFDB7093},
    {u"claPapayawhip", 0xFFFFEFD5}, {u"claPeachpuff", 0xFFFFDAB9},
    {u"claPeru", 0xFFCD853F}, {u"claPink", 0xFFFFC0CB},
    {u"claPlum", 0xFFDDA0DD}, {u"claPowderblue", 0xFFB0E0E6},
    {u"claPurple", 0xFF800080}, {u"claRed", 0xFFFF0000},
    {u"claRosybrown", 0xFFBC8F8F}, {u"claRoyalblue", 0xFF4169E1},
    {u"claSaddlebrown", 0xFF8B4513}, {u"claSalmon", 0xFFFA8072},
    {u"claSandybrown", 0xFFF4A460}, {u"claSeagreen", 0xFF2E8B57},
    {u"claSeashell", 0xFFFFF5EE}, {u"claSienna", 0xFFA0522D},
    {u"claSilver", 0xFFC0C0C0}, {u"claSkyblue", 0xFF87CEEB},
    {u"claSlateblue", 0xFF6A5ACD}, {u"claSlategray", 0xFF708090},
    {u"claSlategrey", 0xFF708090}, {u"claSnow", 0xFFFFFAFA},
    {u"claSpringgreen", 0xFF00FF7F}, {u"claSteelblue", 0xFF4682B4},
    {u"claTan", 0xFFD2B48C}, {u"claTeal", 0xFF008080},
    {u"claThistle", 0xFFD8BFD8}, {u"claTomato", 0xFFFF6347},
    {u"claTurquoise", 0xFF40E0D0}, {u"claViolet", 0xFFEE82EE},
    {u"claWheat", 0xFFF5DEB3}, {u"claWhite", 0xFFFFFFFF},
    {u"claWhitesmoke", 0xFFF5F5F5}, {u"claYellow", 0xFFFFFF00},
    {u"claYellowgreen", 0xFF9ACD32},
    {u"claNull", claNull},
};
static_assert(std::size(kNamedColors) == 148);

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool SameAscii(UStringView a, UStringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

bool FindNamedColor(UStringView ident, TDRXAlphaColor& color) {
  for (const TNamedColor& named : kNamedColors)
    if (SameAscii(ident, named.Name)) {
      color = named.Value;
      return true;
    }
  return false;
}

constexpr size_t kIdentPrefixLength = 3;  // "cla"

// A keyword without prefix: the table's names after "cla", claNull left out.
bool FindKeyword(UStringView keyword, TColor& color) {
  for (const TNamedColor& named : kNamedColors) {
    const UStringView name = UStringView(named.Name).substr(kIdentPrefixLength);
    if (named.Value == claNull || !SameAscii(keyword, name)) continue;
    color = RGBColor(static_cast<uint8_t>(named.Value >> 16), static_cast<uint8_t>(named.Value >> 8),
                     static_cast<uint8_t>(named.Value));
    return true;
  }
  return false;
}

bool StartsWithAscii(UStringView text, UStringView prefix) {
  return text.size() >= prefix.size() && SameAscii(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  c = UpperAscii(c);
  return c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
}

// "x" and eight hexadecimal digits: alpha, red, green, blue.
bool ParseHexColor(UStringView ident, TDRXAlphaColor& color) {
  if (ident.size() != 9 || UpperAscii(ident[0]) != u'X') return false;
  TDRXAlphaColor value = 0;
  for (const char16_t c : ident.substr(1)) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    value = (value << 4) | static_cast<TDRXAlphaColor>(digit);
  }
  color = value;
  return true;
}

}  // namespace

bool IdentToAlphaColor(UStringView ident, TDRXAlphaColor& color) {
  if (FindNamedColor(ident, color) || ParseHexColor(ident, color)) return true;
  if (ident.size() <= 3) return false;
  UString retry(ident);
  retry.insert(retry.begin() + 2, u'a');
  return FindNamedColor(retry, color);
}

UString AlphaColorToIdent(TDRXAlphaColor color) {
  for (const TNamedColor& named : kNamedColors)
    if (named.Value == color) return named.Name;
  UString ident = IntToHex(color, 8);
  ident.insert(ident.begin(), u'x');
  return ident;
}

int NamedColorCount() { return static_cast<int>(std::size(kNamedColors)); }

TDRXAlphaColor ApplyOpacity(TDRXAlphaColor color, uint8_t opacity) {
  if (opacity == 255) return color;
  const auto alpha = static_cast<uint32_t>(MulDivRounded(static_cast<int32_t>(AlphaOf(color)), opacity, 255));
  return (color & 0x00FFFFFF) | (alpha << 24);
}

bool IdentToColor(UStringView name, TColor& color) {
  if (FindKeyword(name, color)) return true;
  if (StartsWithAscii(name, u"cl") && FindKeyword(name.substr(2), color)) return true;
  return StartsWithAscii(name, u"cla") && FindKeyword(name.substr(3), color);
}

bool TryStringToColor(UStringView text, TColor& color) {
  if (IdentToColor(text, color)) return true;
  // "$" and up to eight hexadecimal digits: the value itself, blue in the high byte.
  if (text.size() < 2 || text.size() > 9 || text[0] != u'$') return false;
  uint32_t value = 0;
  for (char16_t c : text.substr(1)) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  color = value & 0xFFFFFF;
  return true;
}

TColor HexDigitsToColor(UStringView text) {
  std::u16string digits;
  for (char16_t c : text) {
    if (HexDigit(c) >= 0) digits += c;
  }
  if (digits.size() % 2 != 0) digits.insert(digits.begin(), u'0');
  if (digits.size() < 6) digits.append(6 - digits.size(), u'0');
  const auto pair = [&](size_t at) { return static_cast<uint8_t>(HexDigit(digits[at]) * 16 + HexDigit(digits[at + 1])); };
  return RGBColor(pair(0), pair(2), pair(4));
}

THLSColor ColorToHLS(TColor color) {
  const int red = RedOf(color), green = GreenOf(color), blue = BlueOf(color);
  const int high = std::max({red, green, blue}), low = std::min({red, green, blue});
  THLSColor result;
  result.Lightness = (high + low + 1) / 2;
  if (high == low) return result;
  const int delta = high - low;
  const int sum = high + low;
  result.Saturation = (delta * 255 + (sum <= 255 ? sum : 510 - sum) / 2) / (sum <= 255 ? sum : 510 - sum);
  double hue;  // in sixths of the circle
  if (high == red)
    hue = static_cast<double>(green - blue) / delta;
  else if (high == green)
    hue = 2.0 + static_cast<double>(blue - red) / delta;
  else
    hue = 4.0 + static_cast<double>(red - green) / delta;
  if (hue < 0) hue += 6.0;
  result.Hue = static_cast<int>(std::lround(hue * 255.0 / 6.0)) % 256;
  return result;
}

TColor HLSToColor(const THLSColor& hls) {
  const double lightness = std::clamp(hls.Lightness, 0, 255) / 255.0;
  const double saturation = std::clamp(hls.Saturation, 0, 255) / 255.0;
  const double hue = std::clamp(hls.Hue, 0, 255) * 6.0 / 255.0;
  const double chroma = (1.0 - std::fabs(2.0 * lightness - 1.0)) * saturation;
  const double second = chroma * (1.0 - std::fabs(std::fmod(hue, 2.0) - 1.0));
  const double base = lightness - chroma / 2.0;
  double red = 0, green = 0, blue = 0;
  switch (static_cast<int>(hue) % 6) {
    case 0: red = chroma; green = second; break;
    case 1: red = second; green = chroma; break;
    case 2: green = chroma; blue = second; break;
    case 3: green = second; blue = chroma; break;
    case 4: red = second; blue = chroma; break;
    default: red = chroma; blue = second; break;
  }
  const auto channel = [&](double value) {
    return static_cast<uint8_t>(std::clamp(std::lround((value + base) * 255.0), 0L, 255L));
  };
  return RGBColor(channel(red), channel(green), channel(blue));
}
