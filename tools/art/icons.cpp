// Loader for the icon collection: pulls one icon's SVG body out of the collection's JSON and lets
// librsvg draw it.
#include "tools/art/icons.h"

#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace spellcrypt::art {

namespace {

std::string g_json;
std::map<std::string, std::string> g_bodies;
std::vector<std::string> g_used;

// Reads the JSON string starting at the opening quote at `pos`.
std::string ReadJsonString(const std::string& s, size_t pos) {
  std::string out;
  for (size_t i = pos + 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') break;
    if (c != '\\') {
      out += c;
      continue;
    }
    const char e = s[++i];
    switch (e) {
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'u': {
        const unsigned code = static_cast<unsigned>(std::stoul(s.substr(i + 1, 4), nullptr, 16));
        out += code < 0x80 ? static_cast<char>(code) : '?';
        i += 4;
        break;
      }
      default:
        out += e;
    }
  }
  return out;
}

const std::string* Body(const std::string& name) {
  auto it = g_bodies.find(name);
  if (it != g_bodies.end()) return &it->second;
  const std::string key = "\"" + name + "\":{";
  const size_t at = g_json.find(key);
  if (at == std::string::npos) return nullptr;
  const size_t body = g_json.find("\"body\":", at);
  if (body == std::string::npos) return nullptr;
  const size_t quote = g_json.find('"', body + 7);
  std::string svg = ReadJsonString(g_json, quote);
  for (size_t p = svg.find("currentColor"); p != std::string::npos; p = svg.find("currentColor", p))
    svg.replace(p, 12, "#000");
  return &(g_bodies[name] = svg);
}

}  // namespace

bool LoadIcons(const std::string& iconsJsonPath) {
  std::ifstream f(iconsJsonPath, std::ios::binary);
  if (!f) {
    std::fprintf(stderr, "art: icon collection not found at %s (run scripts/art_assets.sh)\n",
                 iconsJsonPath.c_str());
    return false;
  }
  std::ostringstream ss;
  ss << f.rdbuf();
  g_json = ss.str();
  // The file is minified or pretty-printed depending on the release; drop the spaces after the
  // key separators so lookups need only one form.
  std::string compact;
  compact.reserve(g_json.size());
  bool inString = false;
  for (size_t i = 0; i < g_json.size(); ++i) {
    const char c = g_json[i];
    if (c == '"' && (i == 0 || g_json[i - 1] != '\\')) inString = !inString;
    if (!inString && (c == ' ' || c == '\n' || c == '\r' || c == '\t')) continue;
    compact += c;
  }
  g_json.swap(compact);
  return g_json.find("\"icons\"") != std::string::npos;
}

Mask IconMask(const std::string& name, int w, int h, const IconPlacement& place) {
  Mask out(w, h);
  const std::string* body = Body(name);
  if (!body) {
    std::fprintf(stderr, "art: unknown icon %s\n", name.c_str());
    return out;
  }
  if (std::find(g_used.begin(), g_used.end(), name) == g_used.end()) g_used.push_back(name);
  const std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"512\" height=\"512\" "
      "viewBox=\"0 0 512 512\">" +
      *body + "</svg>";
  GError* error = nullptr;
  RsvgHandle* handle =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error);
  if (!handle) {
    std::fprintf(stderr, "art: icon %s does not parse\n", name.c_str());
    if (error) g_error_free(error);
    return out;
  }
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_translate(cr, place.x + place.w / 2, place.y + place.h / 2);
  if (place.rotate != 0) cairo_rotate(cr, place.rotate);
  if (place.flip) cairo_scale(cr, -1, 1);
  cairo_translate(cr, -place.w / 2, -place.h / 2);
  RsvgRectangle viewport{0, 0, place.w, place.h};
  rsvg_handle_render_document(handle, cr, &viewport, &error);
  cairo_restore(cr);
  if (error) g_error_free(error);
  g_object_unref(handle);
  return c.Alpha();
}

Mask IconMask(const std::string& name, int w, int h, bool flip) {
  IconPlacement place;
  place.w = w;
  place.h = h;
  place.flip = flip;
  return IconMask(name, w, h, place);
}

// Renders an icon so that its ink fills a w x h box, keeping its proportions, standing on the
// box's bottom edge and centred across it.
Mask FitIcon(const std::string& name, int w, int h, bool flip, double rotate, double grow) {
  const Mask probe = IconMask(name, 256, 256);
  int x0 = 256, y0 = 256, x1 = -1, y1 = -1;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      if (probe.at(x, y) > 0.05f) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) return Mask(w, h);
  const double iw = x1 - x0 + 1, ih = y1 - y0 + 1;
  const double s = std::min((w - 6) / iw, (h - 5) / ih) * grow;
  IconPlacement place;
  place.w = 256 * s;
  place.h = 256 * s;
  place.x = (w - iw * s) / 2 - x0 * s;
  place.y = (h - 3) - (y1 + 1) * s;
  if (flip) place.x = w - place.x - place.w;
  place.flip = flip;
  place.rotate = rotate;
  return IconMask(name, w, h, place);
}

const std::vector<std::string>& UsedIcons() { return g_used; }

}  // namespace spellcrypt::art
